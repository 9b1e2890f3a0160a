#pragma once
// The rules of a loan that need no table: the due time, lateness and penalty,
// the texts the desk shows for them, and emptying a staging table.

#include <cstdint>
#include <string>

#include "core/date_time.h"

namespace store {
class Table;
}

namespace circulation {

// The due time: the borrow time plus whole days, so it keeps the time of day
// (2020-03-01 14:05:09 + 7 days is 2020-03-08 14:05:09).
core::DateTime dueDate(const core::DateTime& borrowed, std::int64_t days);

// Whole 24-hour periods from the due time to the return time; 0 when the copy
// came back at or before the due time, and 0 for less than a day late.
std::int64_t daysLate(const core::DateTime& due, const core::DateTime& returned);

// The lateness and penalty of one return, as shown and as stored. A copy
// that is late takes the loan's rate per day; one that is not late shows and
// stores no rate at all ("0.00").
struct Penalty {
    std::int64_t days = 0;   // DENDAHARI
    double rate = 0;         // DENDA as stored
    double amount = 0;       // DENDAPAID as stored: rate x days, to the cent
    std::string daysText;    // "2"
    std::string rateText;    // plain: "1500", or "0.00" when zero
    std::string amountText;  // "3,000.00"
};
Penalty penaltyFor(const core::DateTime& due, const core::DateTime& returned, double ratePerDay);

// The copy-on-loan message: the first line (a title or an item code), then
// "borrowed by: " with the borrower and "Date borrow: ... date due: ..." with
// the dates as yyyy-mm-dd.
std::string onLoanMessage(const std::string& firstLine, const std::string& borrower,
                          const core::DateTime& borrowed, const core::DateTime& due);

// Shown when a staging table cannot be emptied.
inline constexpr const char* kCannotEmptyMessage =
    "Error u can not empty the table, or maybe used by another user....";

// Empties a staging table under exclusive use and opens it again. False (rows
// kept) when another connection holds it; the caller shows kCannotEmptyMessage.
bool emptyStaging(store::Table& staging);

// The trimmed STATUS of a copy or loan row says "on loan".
bool isOnLoan(const std::string& status);

}  // namespace circulation
