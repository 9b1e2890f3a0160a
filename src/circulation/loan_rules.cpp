#include "circulation/loan_rules.h"

#include "core/text.h"
#include "store/table.h"

namespace circulation {

core::DateTime dueDate(const core::DateTime& borrowed, std::int64_t days) {
    return borrowed.addDays(days);
}

std::int64_t daysLate(const core::DateTime& due, const core::DateTime& returned) {
    const std::int64_t seconds = returned.secondsSince(due);
    return seconds > 0 ? seconds / 86400 : 0;
}

Penalty penaltyFor(const core::DateTime& due, const core::DateTime& returned, double ratePerDay) {
    Penalty p;
    if (returned > due) {
        p.days = daysLate(due, returned);
        p.rateText = ratePerDay == 0 ? "0.00" : core::formatPlainNumber(ratePerDay);
        p.amountText = core::formatAmount(ratePerDay * static_cast<double>(p.days));
    } else {
        p.rateText = "0.00";
        p.amountText = "0.00";
    }
    p.daysText = std::to_string(p.days);
    // Stored as the shown texts read back, so the grid and the tables agree.
    p.rate = core::toNumber(core::removeThousandsSeparators(p.rateText));
    p.amount = core::toNumber(core::removeThousandsSeparators(p.amountText));
    return p;
}

std::string onLoanMessage(const std::string& firstLine, const std::string& borrower,
                          const core::DateTime& borrowed, const core::DateTime& due) {
    return firstLine + "\rborrowed by: " + borrower + "\rDate borrow: " + borrowed.toDateText() +
           " date due: " + due.toDateText();
}

bool emptyStaging(store::Table& staging) { return staging.emptyTable(); }

bool isOnLoan(const std::string& status) { return core::trim(status) == "B"; }

}  // namespace circulation
