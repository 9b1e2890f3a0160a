#pragma once
// Taking copies back: the member's open loans held in the workstation's
// tKARTUb (the open-loan view), the returns staged in tKARTUr with their
// lateness and penalty, posting them into the library database, and the
// member's loan history.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "circulation/borrowing.h"
#include "circulation/loan_rules.h"
#include "core/clock.h"

namespace app {
class DataModule;
}

namespace circulation {

// "RETURN": both staging tables emptied, then the member's open loans copied
// into the open-loan view (class and penalty rate from each loan). `emptied`
// false: a table could not be emptied (kCannotEmptyMessage) and nothing was
// added.
StagingLoad loadReturnView(app::DataModule& data, const Member& member);

// Rows of the open-loan view and of the return staging table.
std::int64_t openLoanCount(app::DataModule& data);
std::int64_t stagedReturnCount(app::DataModule& data);

// Taking a copy back (Enter in the item code box, or a double-click on an open
// loan). With C the trimmed code: when C is not among the open-loan view's
// rows, `message` is the " seem not borrow" text and nothing is staged.
// Otherwise the return is staged in tKARTUr (STATUS "R", returned now, days
// late and penalty worked out from the loan's due time and rate, the current
// user as the one taking it back, the member panel's class) and the loan
// leaves the open-loan view, both in one step.
struct TakeBackOutcome {
    bool staged = false;
    std::string message;
    Penalty penalty;  // when staged
};
TakeBackOutcome takeBack(app::DataModule& data, const core::Clock& clock, const std::string& user,
                         const Member& member, const std::string& typedCode);

// C " seem not borrow" message, with the member box text first.
std::string notBorrowedMessage(const std::string& memberBox, const std::string& code);

// A staged return put back among the open loans (STATUS "B", no return time,
// no lateness), in one step; the loan's penalty rate comes back from its
// open loan. False when the staged row is gone.
bool putBack(app::DataModule& data, const core::Clock& clock, long long stagedRowId);
// "CANCELL ALL": every staged return put back.
void putBackAll(app::DataModule& data, const core::Clock& clock);

// Sum of the staged amounts (DENDAPAID), for "Total Penalty".
double stagedPenaltyTotal(app::DataModule& data);

// "POST selected": every staged return, in item-code order, closed as one unit
// of work on the library database: the open loan marked returned and then
// removed from tKARTU, a history row in tSEJARAH, the copy "A" in tBUKU, and
// the member's JLHPINJAM rewritten as the number of loans the member still
// has open. Its staged row is deleted right after. A staged return whose loan
// is no longer open for this member (returned elsewhere, or already posted by
// a run whose staging delete failed) is dropped, never posted twice, and named
// in `dropped`. An engine error stops the batch at that copy, which is left
// untouched; the returns posted before stay posted.
struct PostOutcome {
    int posted = 0;
    std::vector<std::string> dropped;
    std::optional<std::string> error;
    std::string message() const;  // empty when there is nothing to tell
};
PostOutcome postReturns(app::DataModule& data, const core::Clock& clock, const std::string& user,
                        const std::string& memberCode);

// The history statements of the borrow view (member box trimmed, blanks
// around "=") and of the return view (trimmed and upper-cased).
std::string borrowHistoryStatement(const std::string& memberBox);
std::string returnHistoryStatement(const std::string& memberBox);

// Deletes one history row by its row id; false when it is already gone.
bool deleteHistoryRow(app::DataModule& data, long long rowId);

}  // namespace circulation
