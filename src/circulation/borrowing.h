#pragma once
// The lending desk: choosing the member, the borrow staging table tKARTUb of
// the workstation with its checks (already staged, not found, on loan, limit),
// and saving the staged loans into the library database.
//
// Every function works on the data module's shared table objects by name and
// sets the index it needs before each lookup. Database failures that are not
// handled here travel as core::Error.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/date_time.h"

namespace app {
class DataModule;
}

namespace circulation {

// Opens what the transaction window works on, each under its index when it
// is closed: members, copies, open loans, history and both staging tables.
// Reconnects the library database first when it is closed.
void openDeskTables(app::DataModule& data);

// A member as the desk's member panel shows it, with the loan rules.
struct Member {
    std::string code;    // KDFANGGOTA as stored
    std::string family;  // KDFKELUARGA
    std::string name;
    std::string address;
    std::string phone;
    std::string mobile;
    std::string email;
    std::string web;
    std::string memberClass;     // KELAS
    std::int64_t onLoan = 0;     // JLHPINJAM, "Amt. borrow"
    std::int64_t maxBorrow = 0;  // MAXPINJAM, "Max. borrow"
    std::int64_t limitDays = 0;  // LAMAPINJAM, "Limit days"
    double penaltyRate = 0;      // DENDA, "Penalty" per day

    std::string penaltyText() const;  // "500.00"
};

// The member whose code is the trimmed, upper-cased text; none when no member
// has it (or the text is empty).
std::optional<Member> findMember(app::DataModule& data, const std::string& typed);

// "[" text "] not found, please.. select from the Grid."
std::string memberNotFoundMessage(const std::string& trimmedText);
inline constexpr const char* kEmptyMemberBoxMessage =
    "Enter data in the Search template first, please.";

// A catalogue copy as the borrow view holds it for staging.
struct Copy {
    std::string code;  // KDBARANG as stored
    std::string title;
    std::string author;
    std::string publisher;
    std::string status;
    std::string borrower;  // KDFANGGOTA of its latest loan
    core::DateTime borrowed;
    core::DateTime due;
};

// The copy with this item code (trimmed; the index ignores case), if any.
std::optional<Copy> findCopy(app::DataModule& data, const std::string& code);

// Rows of the borrow staging table: the member's open loans plus the loans
// staged now. This is the count the limit test compares with "Max. borrow".
std::int64_t borrowStagingCount(app::DataModule& data);

// Whether the item code is in the borrow staging table.
bool isStagedForBorrow(app::DataModule& data, const std::string& code);

// "BORROW": the staging table emptied, then filled with the member's open
// loans (STATUS "B", each with its penalty rate). `emptied` false: the table
// could not be emptied (kCannotEmptyMessage) and nothing was added, so rows
// of an earlier member never mix with this one's.
struct StagingLoad {
    bool emptied = true;
    std::int64_t rows = 0;
};
StagingLoad loadBorrowStaging(app::DataModule& data, const Member& member);

// Fills the open-loan view tKARTUb, emptied by the caller, with the member's
// open loans as one write on the workstation, and returns its row count.
// Each row keeps the loan's dates, lender, status, penalty rate and note and
// takes the member's code and family; its class is the member panel's (the
// borrow view) or the one the loan was lent with (the return view).
enum class ViewClass { Member, Loan };
std::int64_t fillOpenLoanView(app::DataModule& data, const Member& member, ViewClass viewClass);

// How a copy was entered: scanned or typed into the item code box, or
// picked from the title list. They differ in the not-found case and in the
// wording of the limit question.
enum class CopySource { ItemCode, TitleList };

// The checks before a copy is staged, in order: already staged, not in the
// catalogue, on loan, limit. `Ready` and `OverLimit` carry the copy; the
// window stages a `Ready` copy, and an `OverLimit` one when the librarian
// answers Cancel to the question in `message`.
enum class CopyCheck { Empty, AlreadyStaged, NotFound, OnLoan, OverLimit, Ready };
struct CopyOutcome {
    CopyCheck check = CopyCheck::Empty;
    std::string message;       // what to show or ask; empty for Ready and a vanished pick
    std::optional<Copy> copy;  // for the display boxes, when the copy exists
};
CopyOutcome checkCopyForBorrow(app::DataModule& data, const std::string& typedCode,
                               std::int64_t maxBorrow, CopySource source);

inline constexpr const char* kAlreadyStagedMessage =
    "This book was allready in the temporary table.";
// C " not found. select [Cancell] button if you want to try search by TITLE ?"
std::string copyNotFoundQuestion(const std::string& code);
// The limit question with the current count and the maximum.
std::string limitQuestion(std::int64_t count, std::int64_t maxBorrow, CopySource source);

// Stages one loan in tKARTUb (STATUS "O"): borrowed now, due now plus the
// member's limit days at the same time of day, the member's penalty rate, the
// current user as lender.
void stageLoan(app::DataModule& data, const core::Clock& clock, const std::string& user,
               const Member& member, const Copy& copy);

// "SAVE && PrintReceipt": every staged loan (STATUS "O", in item-code order)
// is written as one unit on the library database: the open loan in tKARTU,
// the copy marked "B" in tBUKU, the member's JLHPINJAM raised by one. The
// copy's status is tested again first: a copy another workstation lent in
// the meantime, or one no longer in the catalogue, is not saved and is named
// in `notSaved`. A saved row becomes "B" in the staging table (one of the
// member's open loans), so saving again never lends it twice. An engine error
// stops the batch at that copy, which is left untouched; copies done before
// stay done.
struct SaveOutcome {
    bool nothingStaged = false;  // "NoRecord in the temporary table."
    int saved = 0;
    std::vector<std::string> notSaved;  // one line per copy, with the reason
    std::optional<std::string> error;   // the engine's message
    // The message for the librarian after the batch, empty when none.
    std::string message() const;
};
SaveOutcome saveLoans(app::DataModule& data);

inline constexpr const char* kNothingStagedMessage = "NoRecord in the temporary table.";

}  // namespace circulation
