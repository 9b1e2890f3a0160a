// Due time, lateness and penalty: the numbers the desk shows and stores.

#include "circulation/loan_rules.h"

#include <gtest/gtest.h>

namespace {

using core::DateTime;

TEST(LoanRules, DueDateKeepsTheTimeOfDay) {
    const DateTime borrowed = DateTime::fromParts(2020, 3, 1, 14, 5, 9);
    EXPECT_EQ(circulation::dueDate(borrowed, 7).toDateTimeText(), "2020-03-08 14:05:09");
    EXPECT_EQ(circulation::dueDate(borrowed, 0), borrowed);
    // Across a month end and a leap day.
    EXPECT_EQ(circulation::dueDate(DateTime::fromParts(2020, 2, 27, 8, 0, 1), 3).toDateTimeText(),
              "2020-03-01 08:00:01");
}

struct LatenessCase {
    const char* returned;
    double rate;
    std::int64_t days;
    const char* rateText;
    const char* amountText;
    double storedRate;
    double storedAmount;
};

class LatenessTable : public ::testing::TestWithParam<LatenessCase> {};

TEST_P(LatenessTable, DaysRateAndAmount) {
    const LatenessCase& c = GetParam();
    const DateTime due = DateTime::fromParts(2020, 3, 8, 14, 5, 9);
    const auto p = circulation::penaltyFor(due, DateTime::fromText(c.returned), c.rate);
    EXPECT_EQ(p.days, c.days);
    EXPECT_EQ(p.daysText, std::to_string(c.days));
    EXPECT_EQ(p.rateText, c.rateText);
    EXPECT_EQ(p.amountText, c.amountText);
    EXPECT_DOUBLE_EQ(p.rate, c.storedRate);
    EXPECT_DOUBLE_EQ(p.amount, c.storedAmount);
    EXPECT_EQ(circulation::daysLate(due, DateTime::fromText(c.returned)), c.days);
}

INSTANTIATE_TEST_SUITE_P(
    DueAt20200308140509, LatenessTable,
    ::testing::Values(
        // Less than 24 hours after the due time on the next-but-one day: one whole day.
        LatenessCase{"2020-03-10 09:00:00", 1500, 1, "1500", "1,500.00", 1500, 1500},
        // One second past two whole days.
        LatenessCase{"2020-03-10 14:05:10", 1500, 2, "1500", "3,000.00", 1500, 3000},
        // Late by hours only: no whole day, nothing to pay, the rate still shown.
        LatenessCase{"2020-03-08 20:00:00", 1500, 0, "1500", "0.00", 1500, 0},
        // Exactly on time and early: not late at all.
        LatenessCase{"2020-03-08 14:05:09", 1500, 0, "0.00", "0.00", 0, 0},
        LatenessCase{"2020-03-02 10:00:00", 1500, 0, "0.00", "0.00", 0, 0},
        // A loan without a rate costs nothing however late.
        LatenessCase{"2020-04-08 14:05:09", 0, 31, "0.00", "0.00", 0, 0},
        // Large amounts keep their separators; cents survive.
        LatenessCase{"2020-06-16 14:05:09", 12500.5, 100, "12500.5", "1,250,050.00", 12500.5,
                     1250050}));

TEST(LoanRules, OnLoanMessageNamesBorrowerAndDatesWithoutTimes) {
    EXPECT_EQ(circulation::onLoanMessage("Tales of the Sea", "ANI.RIVERSIDE",
                                         DateTime::fromParts(2020, 3, 1, 14, 5, 9),
                                         DateTime::fromParts(2020, 3, 8, 14, 5, 9)),
              "Tales of the Sea\rborrowed by: ANI.RIVERSIDE\rDate borrow: 2020-03-01 date due: "
              "2020-03-08");
}

TEST(LoanRules, OnlyStatusBIsOnLoan) {
    for (const char* s : {"B", " B ", "B\t"}) EXPECT_TRUE(circulation::isOnLoan(s)) << s;
    for (const char* s : {"", "A", "b", "R", "O", "X"}) EXPECT_FALSE(circulation::isOnLoan(s)) << s;
}

}  // namespace
