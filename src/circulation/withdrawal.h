#pragma once
// Withdrawal of copies that leave the collection (broken or given away): a
// batch collected in the workstation's tHIBAHt, then posted into the
// withdrawn-copies table tHIBAH with the copy deleted from the catalogue.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/clock.h"

namespace app {
class DataModule;
}

namespace circulation {

// Opens tBUKU, tHIBAHt and tHIBAH under iKodeBuku when closed (reconnecting
// the library database first when it is closed).
void openWithdrawalTables(app::DataModule& data);

// Rows of the catalogue, of the staging table and of the withdrawn copies.
struct WithdrawalCounts {
    std::int64_t catalogue = 0;
    std::int64_t staged = 0;
    std::int64_t withdrawn = 0;
};
WithdrawalCounts withdrawalCounts(app::DataModule& data);

// Staging a copy by the item code box's text. Nothing happens for an empty
// box; a code already staged, a copy on loan and a code not in the catalogue
// are refused with their message; otherwise the catalogue row is copied into
// tHIBAHt (every carried field; dates through their text, an empty date
// becoming the zero date).
enum class WithdrawalStage { Nothing, AlreadyStaged, OnLoan, NotFound, Staged };
struct WithdrawalStageOutcome {
    WithdrawalStage result = WithdrawalStage::Nothing;
    std::string message;
};
WithdrawalStageOutcome stageWithdrawal(app::DataModule& data, const std::string& boxText);

inline constexpr const char* kPostWithdrawalQuestion =
    "Beware!\rAll data in the Temporary Broken Book will be\rsent to the HIBAH container.\r"
    "And, you can not recall again.\rSo, make sure Temporary data is correct.";
inline constexpr const char* kLeftoverMessage =
    "Temporary Broken Book is not empty,\rcause some books still borrowed by someone.\r"
    "And this temporary will be delete immidiately.\r"
    "You may do the same at another time when the books was returned.";

// "POST all Temporary": every staged row, in item-code order, visited once.
// A copy now on loan stays staged. Any other copy is withdrawn as one unit of
// work on the library database: its tHIBAH row (the staged row's carried
// fields, KDPETUGASH the user, TGHAPUS now) and its deletion from tBUKU; the
// staged row is deleted right after. A staged copy no longer in the catalogue
// is dropped from the batch and nothing is deleted in its place: named in
// `vanished`, or silently when tHIBAH already holds it (a run whose staging
// delete failed). After the last row, when copies on loan remain, the staging
// table is emptied (`leftover`; `leftoverKept` when it could not be). An
// engine error stops the batch at that copy, which is left untouched.
struct WithdrawalPost {
    int withdrawn = 0;
    bool leftover = false;
    bool leftoverKept = false;
    std::vector<std::string> vanished;
    std::optional<std::string> error;
    // The messages for the librarian after the batch, in order.
    std::vector<std::string> messages() const;
};
WithdrawalPost postWithdrawals(app::DataModule& data, const core::Clock& clock,
                               const std::string& user);

// "CANCELL all Temporary": the staging table emptied when it has rows; false
// when it could not be (kCannotEmptyMessage).
bool cancelWithdrawals(app::DataModule& data);

// The read-only detail of the staged row with this item code, as (caption,
// text) pairs in the panel's order, dates as yyyy-mm-dd hh:nn:ss; none when
// no staged row has the code.
using Detail = std::vector<std::pair<std::string, std::string>>;
std::optional<Detail> stagedDetail(app::DataModule& data, const std::string& itemCode);

}  // namespace circulation
