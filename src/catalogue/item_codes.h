#pragma once
// Item codes: kind digit, entry date yyyymmdd and a four-digit sequence, 13
// characters in all. The entry windows propose the next code from a shared
// last-code counter, assemble and check what the user accepted, and advance
// the counter after every confirmed creation attempt. Book and digital entry
// share these rules; an ItemCodeKind says which table and counter to use.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/date_time.h"

namespace store {
class Table;
}

namespace catalogue {

struct ItemCodeKind {
    const char* kindDigit;     // "1" book copy, "2" digital item; also the row's JENIS
    const char* itemTable;     // shared table object holding the items
    const char* itemIndex;     // its unique index on the code
    const char* counterName;   // umum row holding the last code issued
    const char* builtInStart;  // the last code assumed when there is no counter row
};

inline constexpr ItemCodeKind kBookCodes{"1", "tbBUKU", "iKodeBuku", "LastRec", "1201205140001"};
inline constexpr ItemCodeKind kDigitalCodes{"2", "tbDIGITAL", "KDDIGITAL", "LastRecDig",
                                            "2201205140001"};

// The last four digits of the whole number in `numberText` (trimmed), padded
// with zeros: "1" -> "0001", "123" -> "0123", "12345" -> "2345". Text that is
// not a whole number, or a negative number, throws core::Error.
std::string fourDigitSequence(std::string_view numberText);

struct CodeParts {
    std::string datePart;
    std::string sequencePart;
};

// What entering the date-part edit proposes.
struct Proposal {
    // The "Last NewRecord:" line: the counter's value trimmed, or empty
    // without a counter row.
    std::string lastRecordLine;
    // Asked with Yes and No when the last code is from an earlier date; empty
    // when the proposal is taken without asking.
    std::string question;
    CodeParts parts;      // taken without a question, or on Yes
    CodeParts partsIfNo;  // on No: the last date with the next sequence
};

// The proposal from a counter value (nullopt: no counter row) and the current
// date. A counter whose characters 10 to 13 are not a number throws
// core::Error.
Proposal proposeFrom(const ItemCodeKind& kind, const std::optional<std::string>& counterValue,
                     const core::DateTime& now);
// The same, reading the counter row from `counters` (umum, opened under
// iKasus when closed).
Proposal proposeCode(store::Table& counters, const ItemCodeKind& kind, const core::DateTime& now);

enum class ProposalAnswer { Yes, No, Closed };
// The parts for the edits; nullopt when the question was closed without an
// answer (the edits keep what they hold).
std::optional<CodeParts> chooseProposal(const Proposal& proposal, ProposalAnswer answer);

struct AssembledCode {
    std::string sequencePart;  // the sequence edit's new text
    std::string code;          // kind digit + trimmed date part + sequence part
};
// Throws core::Error (nothing assembled) when the sequence is not a whole number.
AssembledCode assembleCode(const ItemCodeKind& kind, std::string_view datePart,
                           std::string_view sequenceText);

// Codes are looked up trimmed and upper-cased.
std::string codeKey(std::string_view code);
// Positions `items` (opened under the kind's code index when closed) on the
// item with this code; false when there is none.
bool findItem(store::Table& items, const ItemCodeKind& kind, std::string_view code);

std::string newCodeQuestion(std::string_view code);
std::string codeTakenMessage(std::string_view code);
std::string codeCancelledMessage(std::string_view code);

// Counter update: writes the trimmed code into the counter row when it exists
// and returns the value now stored; without the row nothing is written and
// the result is nullopt.
std::optional<std::string> advanceCounter(store::Table& counters, const ItemCodeKind& kind,
                                          std::string_view code);

enum class CodeOutcome {
    Existing,   // the code belongs to an item: `items` is positioned on it
    Created,    // confirmed, and the window's insert ran
    Taken,      // confirmed, but another workstation created it meanwhile
    Cancelled,  // the user cancelled the question
    Refused,    // the window refused a new item before asking (its message)
};

struct CodeCheck {
    CodeOutcome outcome = CodeOutcome::Cancelled;
    std::string message;  // to show as information; empty for Existing and Created
    // After a confirmation (Created, Taken): the counter value now stored, or
    // nullopt when there is no counter row.
    std::optional<std::string> counterValue;
};

struct CodeCheckSteps {
    // OK and Cancel; true for OK.
    std::function<bool(const std::string& question)> confirm;
    // Before the question for a new code: a message refusing it, or empty.
    std::function<std::string()> refuseNew;
    // Inserts the new item with this code (trimmed).
    std::function<void(const std::string& code)> insertNew;
};

// Assemble-and-check after the code was assembled: an existing item is
// reported for loading; a new one is confirmed, looked up once more, inserted
// through the window's step, and the counter advanced (also when the code
// was found taken). Engine failures throw core::Error and stop the check
// where they happen.
CodeCheck checkCode(store::Table& items, store::Table& counters, const ItemCodeKind& kind,
                    const std::string& code, const CodeCheckSteps& steps);

}  // namespace catalogue
