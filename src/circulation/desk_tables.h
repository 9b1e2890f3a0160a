#pragma once
// Small helpers the circulation rules share: a shared table object made ready
// for a lookup, the member's open loans, and undoing a half-made edit after a
// failed unit of work.

#include <initializer_list>
#include <string>
#include <vector>

#include "circulation/loan_record.h"

namespace app {
class DataModule;
}
namespace store {
class Table;
}

namespace circulation {

// The shared table object, opened under `index` when closed and set to it
// when open: windows never assume a shared object is as they left it.
store::Table& readyTable(app::DataModule& data, const char* objectName, const char* index);

// The open loans in tKARTU of this member (code compared without regard to
// case), in item-code order of the member index's rows.
std::vector<LoanRecord> openLoansOf(app::DataModule& data, const std::string& memberCode);

// Drops a pending edit or insert of each table, so a later move or lookup
// never posts what a failed unit of work left behind.
void cancelPending(std::initializer_list<store::Table*> tables);

// Row ids and records of a loan table, in the order of its current index.
struct LoanRow {
    long long rowId = 0;
    LoanRecord loan;
};
std::vector<LoanRow> loanRows(store::Table& table);

}  // namespace circulation
