#pragma once
// The loan record shared by the open loans (tKARTU), the history (tSEJARAH)
// and the two staging tables of the workstation (tKARTUb, tKARTUr), read from
// and written to any of them field by field.

#include <cstdint>
#include <string>

#include "core/date_time.h"

namespace store {
class Table;
}

namespace circulation {

// STATUS values of the loan tables.
inline constexpr const char* kLoanOpen = "B";  // open loan, or an existing loan shown for counting
inline constexpr const char* kLoanStaged = "O";     // a new loan staged, not yet saved
inline constexpr const char* kLoanReturned = "R";   // finished, or a return staged
inline constexpr const char* kCopyAvailable = "A";  // a copy that has come back

struct LoanRecord {
    core::DateTime written;  // TGTRAN
    std::string itemCode;    // KDBARANG
    std::string title;
    std::string author;
    std::string publisher;
    std::string memberCode;   // KDFANGGOTA
    std::string memberName;   // NMANGGOTA
    std::string familyCode;   // KDFKELUARGA
    std::string memberClass;  // KELAS
    std::string lentBy;       // KDPETUGASB
    std::string takenBackBy;  // KDPETUGASR
    core::DateTime borrowed;  // TGPINJAM
    core::DateTime due;       // TGJANJI
    core::DateTime returned;  // TGKEMBALI
    std::string status;
    std::int64_t daysLate = 0;  // DENDAHARI
    double rate = 0;            // DENDA, penalty per day
    double amount = 0;          // DENDAPAID
    std::string info;
};

// The current record of a loan table.
LoanRecord readLoan(const store::Table& table);

// Writes every field of the record into the current record of a loan table
// in edit or insert state (the caller posts). Text is written trimmed.
void writeLoan(store::Table& table, const LoanRecord& loan);

}  // namespace circulation
