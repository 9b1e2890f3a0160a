// Taking copies back: staging with lateness and penalty, putting back, and
// posting so that open loans, history, copies and members agree.

#include "circulation/returning.h"

#include <gtest/gtest.h>

#include "circulation/desk_tables.h"
#include "circulation/loan_record.h"
#include "desk_fixture.h"
#include "store/table.h"

namespace {

using core::DateTime;
using namespace circulation_test;

class ReturnTest : public DeskTest {
protected:
    ReturnTest() {
        circulation::openDeskTables(data());
        ani = circulation::findMember(data(), kAni).value();
    }

    // Lends the copies to ANI at the fixture's clock (2020-03-01 14:05:09,
    // due 2020-03-08 14:05:09).
    void lendToAni(std::initializer_list<int> copies) {
        circulation::loadBorrowStaging(data(), ani);
        for (int n : copies) {
            auto c = circulation::checkCopyForBorrow(data(), freeCopy(n), 99,
                                                     circulation::CopySource::ItemCode);
            ASSERT_EQ(c.check, circulation::CopyCheck::Ready);
            circulation::stageLoan(data(), clock, "Librarian", ani, *c.copy);
        }
        ASSERT_EQ(circulation::saveLoans(data()).saved, static_cast<int>(copies.size()));
    }

    circulation::LoanRecord openLoanRow(const std::string& code) {
        auto& t = circulation::readyTable(data(), "tbKARTUb", "iKDBARANG");
        EXPECT_TRUE(t.findKey({code})) << code;
        return circulation::readLoan(t);
    }

    circulation::Member ani;
};

TEST_F(ReturnTest, PostingOneOfThreeLoansLeavesEveryTableConsistent) {
    lendToAni({2, 3});
    ASSERT_EQ(memberField(kAni, "JLHPINJAM"), "3");
    clock.set(DateTime::fromParts(2020, 3, 10, 14, 5, 10));
    auto load = circulation::loadReturnView(data(), ani);
    ASSERT_TRUE(load.emptied);
    EXPECT_EQ(load.rows, 3);

    auto taken = circulation::takeBack(data(), clock, "Assistant", ani, freeCopy(2));
    ASSERT_TRUE(taken.staged);
    EXPECT_EQ(taken.penalty.days, 2);
    EXPECT_EQ(taken.penalty.rateText, "500");
    EXPECT_EQ(taken.penalty.amountText, "1,000.00");
    EXPECT_EQ(circulation::openLoanCount(data()), 2);
    EXPECT_EQ(circulation::stagedReturnCount(data()), 1);
    EXPECT_DOUBLE_EQ(circulation::stagedPenaltyTotal(data()), 1000);
    // Staging alone writes nothing to the library.
    EXPECT_EQ(loansOf(freeCopy(2)), 1);
    EXPECT_EQ(copyField(freeCopy(2), "STATUS"), "B");

    clock.set(DateTime::fromParts(2020, 3, 10, 15, 0, 0));
    auto out = circulation::postReturns(data(), clock, "Librarian", kAni);
    EXPECT_EQ(out.posted, 1);
    EXPECT_FALSE(out.error);
    EXPECT_EQ(out.message(), "");

    EXPECT_EQ(count("tKARTU", "KDFANGGOTA = ?", {kAni}), 2);
    EXPECT_EQ(loansOf(freeCopy(2)), 0);
    ASSERT_EQ(historyOf(freeCopy(2)), 1);
    auto history = [&](const char* column) {
        return field("tSEJARAH", column, "KDBARANG = ?", {freeCopy(2)});
    };
    EXPECT_EQ(history("STATUS"), "R");
    EXPECT_EQ(history("KDFANGGOTA"), kAni);
    EXPECT_EQ(history("KDPETUGASB"), "Librarian");
    EXPECT_EQ(history("KDPETUGASR"), "Assistant");  // who took it back at the desk
    EXPECT_EQ(history("TGPINJAM"), "2020-03-01 14:05:09");
    EXPECT_EQ(history("TGJANJI"), "2020-03-08 14:05:09");
    EXPECT_EQ(history("TGKEMBALI"), "2020-03-10 14:05:10");
    EXPECT_EQ(history("TGTRAN"), "2020-03-10 15:00:00");
    EXPECT_EQ(history("DENDAHARI"), "2");
    EXPECT_EQ(history("DENDA"), "500");
    EXPECT_EQ(history("DENDAPAID"), "1000");
    EXPECT_EQ(copyField(freeCopy(2), "STATUS"), "A");
    EXPECT_EQ(copyField(freeCopy(2), "TGKEMBALI"), "2020-03-10");
    EXPECT_EQ(copyField(freeCopy(2), "KDPETUGASR"), "Assistant");
    EXPECT_EQ(copyField(freeCopy(2), "KDFANGGOTA"), kAni);  // the last borrower stays
    EXPECT_EQ(copyField(freeCopy(2), "TGPINJAM"), "2020-03-01");
    EXPECT_EQ(memberField(kAni, "JLHPINJAM"), "2");
    EXPECT_EQ(circulation::stagedReturnCount(data()), 0);
}

// A member moved up a class after borrowing: the borrow view shows the
// member's class now, the return view the class the loan was lent with.
TEST_F(ReturnTest, EachViewShowsItsOwnClassOfTheOpenLoans) {
    lendToAni({2});
    const std::string lentWith = ani.memberClass;
    circulation::Member movedUp = ani;
    movedUp.memberClass = lentWith + "X";

    ASSERT_TRUE(circulation::loadBorrowStaging(data(), movedUp).emptied);
    EXPECT_EQ(openLoanRow(freeCopy(2)).memberClass, movedUp.memberClass);
    ASSERT_TRUE(circulation::loadReturnView(data(), movedUp).emptied);
    EXPECT_EQ(openLoanRow(freeCopy(2)).memberClass, lentWith);
    EXPECT_EQ(openLoanRow(freeCopy(2)).status, "B");
    EXPECT_DOUBLE_EQ(openLoanRow(freeCopy(2)).rate, 500);
}

TEST_F(ReturnTest, OnlyTheMembersOpenLoansCanBeTakenBack) {
    circulation::loadReturnView(data(), ani);
    const std::string notHers =
        "ANI.RIVERSIDE seem not borrow\r1202611020001\rplease double check!\rPerhaps allready in "
        "the temporary to return.";
    auto other = circulation::takeBack(data(), clock, "Librarian", ani, kEldestLoan);
    EXPECT_FALSE(other.staged);
    EXPECT_EQ(other.message, notHers);
    EXPECT_TRUE(circulation::takeBack(data(), clock, "Librarian", ani, kAniLoan).staged);
    auto twice = circulation::takeBack(data(), clock, "Librarian", ani, kAniLoan);
    EXPECT_FALSE(twice.staged);
    EXPECT_EQ(twice.message, circulation::notBorrowedMessage(kAni, kAniLoan));
    auto empty = circulation::takeBack(data(), clock, "Librarian", ani, "  ");
    EXPECT_FALSE(empty.staged);
    EXPECT_EQ(empty.message, "");
    EXPECT_EQ(circulation::stagedReturnCount(data()), 1);
}

TEST_F(ReturnTest, PuttingBackRestoresTheOpenLoanWithItsRate) {
    lendToAni({2, 3});
    circulation::loadReturnView(data(), ani);
    // On time: the staged row carries no rate.
    auto taken = circulation::takeBack(data(), clock, "Librarian", ani, kAniLoan);
    ASSERT_TRUE(taken.staged);
    EXPECT_EQ(taken.penalty.rateText, "0.00");
    auto& staged = circulation::readyTable(data(), "tbKARTUr", "iKDBARANG");
    ASSERT_TRUE(staged.findKey({kAniLoan}));
    ASSERT_TRUE(circulation::putBack(data(), clock, staged.rowId()));
    auto row = openLoanRow(kAniLoan);
    EXPECT_EQ(row.status, "B");
    EXPECT_EQ(row.daysLate, 0);
    EXPECT_DOUBLE_EQ(row.amount, 0);
    EXPECT_DOUBLE_EQ(row.rate, 500);  // so a later, late return still pays
    EXPECT_TRUE(row.returned.isZero());
    EXPECT_EQ(row.takenBackBy, "");

    clock.set(DateTime::fromParts(2020, 3, 12, 14, 5, 9));
    for (int n : {2, 3})
        ASSERT_TRUE(circulation::takeBack(data(), clock, "L", ani, freeCopy(n)).staged);
    ASSERT_TRUE(circulation::takeBack(data(), clock, "L", ani, kAniLoan).staged);
    EXPECT_EQ(circulation::stagedReturnCount(data()), 3);
    circulation::putBackAll(data(), clock);
    EXPECT_EQ(circulation::stagedReturnCount(data()), 0);
    EXPECT_EQ(circulation::openLoanCount(data()), 3);
    EXPECT_DOUBLE_EQ(openLoanRow(freeCopy(2)).rate, 500);
}

TEST_F(ReturnTest, LeavingWithoutPostingLeavesLoansOpen) {
    lendToAni({2, 3});
    circulation::loadReturnView(data(), ani);
    for (int n : {2, 3})
        ASSERT_TRUE(circulation::takeBack(data(), clock, "L", ani, freeCopy(n)).staged);
    // "CLOSE" then "RETURN" again: both staging tables start over.
    auto again = circulation::loadReturnView(data(), ani);
    EXPECT_EQ(again.rows, 3);
    EXPECT_EQ(circulation::stagedReturnCount(data()), 0);
    for (int n : {2, 3}) {
        EXPECT_EQ(loansOf(freeCopy(n)), 1);
        EXPECT_EQ(copyField(freeCopy(n), "STATUS"), "B");
    }
}

TEST_F(ReturnTest, FailureInTheMiddleOfOneReturnLeavesThatLoanOpen) {
    lendToAni({2, 3});
    clock.set(DateTime::fromParts(2020, 3, 9, 10, 0, 0));
    circulation::loadReturnView(data(), ani);
    for (int n : {2, 3})
        ASSERT_TRUE(circulation::takeBack(data(), clock, "L", ani, freeCopy(n)).staged);
    // The copy row of the second return refuses, after its loan was marked
    // and its history row written inside the same unit.
    lib.execute("CREATE TRIGGER refuse BEFORE UPDATE ON tBUKU WHEN NEW.KDBARANG = '" + freeCopy(3) +
                "' BEGIN SELECT RAISE(ABORT, 'copy row locked'); END");
    auto out = circulation::postReturns(data(), clock, "L", kAni);
    ASSERT_TRUE(out.error);
    EXPECT_NE(out.error->find("copy row locked"), std::string::npos);
    EXPECT_EQ(out.posted, 1);
    EXPECT_EQ(loansOf(freeCopy(3)), 1);
    EXPECT_EQ(field("tKARTU", "STATUS", "KDBARANG = ?", {freeCopy(3)}), "B");
    EXPECT_EQ(historyOf(freeCopy(3)), 0);
    EXPECT_EQ(copyField(freeCopy(3), "STATUS"), "B");
    EXPECT_EQ(memberField(kAni, "JLHPINJAM"), "2");
    EXPECT_EQ(circulation::stagedReturnCount(data()), 1);

    lib.execute("DROP TRIGGER refuse");
    auto again = circulation::postReturns(data(), clock, "L", kAni);
    EXPECT_FALSE(again.error);
    EXPECT_EQ(again.posted, 1);
    EXPECT_EQ(historyOf(freeCopy(2)), 1);
    EXPECT_EQ(historyOf(freeCopy(3)), 1);
    EXPECT_EQ(memberField(kAni, "JLHPINJAM"), "1");
}

TEST_F(ReturnTest, ReturnNoLongerOpenIsDroppedNotPostedTwice) {
    lendToAni({2});
    circulation::loadReturnView(data(), ani);
    ASSERT_TRUE(circulation::takeBack(data(), clock, "L", ani, freeCopy(2)).staged);
    auto& staged = circulation::readyTable(data(), "tbKARTUr", "iKDBARANG");
    ASSERT_TRUE(staged.findKey({freeCopy(2)}));
    const circulation::LoanRecord copy = circulation::readLoan(staged);
    ASSERT_EQ(circulation::postReturns(data(), clock, "L", kAni).posted, 1);
    // The staged row survived the posting (its delete was lost).
    staged.insert();
    circulation::writeLoan(staged, copy);
    staged.post();
    auto again = circulation::postReturns(data(), clock, "L", kAni);
    EXPECT_EQ(again.posted, 0);
    EXPECT_EQ(again.message(),
              "These books were not taken back, they are no longer on loan to this member:\r" +
                  freeCopy(2) + " The Secret of the River");
    EXPECT_EQ(historyOf(freeCopy(2)), 1);
    EXPECT_EQ(memberField(kAni, "JLHPINJAM"), "1");
    EXPECT_EQ(circulation::stagedReturnCount(data()), 0);
}

TEST(ReturnHistory, StatementsOfTheTwoViews) {
    EXPECT_EQ(circulation::borrowHistoryStatement(" ani.riverside "),
              "SELECT * FROM tSEJARAH WHERE KDFANGGOTA = \"ani.riverside\"");
    EXPECT_EQ(circulation::returnHistoryStatement(" ani.riverside "),
              "SELECT * FROM tSEJARAH WHERE KDFANGGOTA=\"ANI.RIVERSIDE\"");
    EXPECT_EQ(circulation::returnHistoryStatement("A\"B"),
              "SELECT * FROM tSEJARAH WHERE KDFANGGOTA=\"A\"\"B\"");
}

}  // namespace
