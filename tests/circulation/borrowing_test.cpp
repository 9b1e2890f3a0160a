// Lending: the member, the staging checks, and saving loans into the library
// so that open loans, copies and members agree, one copy at a time.

#include "circulation/borrowing.h"

#include <gtest/gtest.h>

#include "circulation/desk_tables.h"
#include "circulation/loan_record.h"
#include "circulation/loan_rules.h"
#include "desk_fixture.h"
#include "store/table.h"

namespace {

using circulation::CopyCheck;
using circulation::CopySource;
using core::DateTime;
using namespace circulation_test;

class BorrowTest : public DeskTest {
protected:
    BorrowTest() { circulation::openDeskTables(data()); }

    circulation::Member member(const char* code) {
        auto m = circulation::findMember(data(), code);
        EXPECT_TRUE(m.has_value()) << code;
        return m.value_or(circulation::Member{});
    }

    // The scanner path: check, then stage what the desk would stage
    // (an over-limit copy as if the librarian chose to continue).
    CopyCheck scan(const circulation::Member& m, const std::string& code,
                   CopySource source = CopySource::ItemCode) {
        auto out = circulation::checkCopyForBorrow(data(), code, m.maxBorrow, source);
        if (out.check == CopyCheck::Ready || out.check == CopyCheck::OverLimit)
            circulation::stageLoan(data(), clock, "Librarian", m, *out.copy);
        return out.check;
    }

    std::vector<circulation::LoanRecord> staged() {
        std::vector<circulation::LoanRecord> out;
        for (auto& r :
             circulation::loanRows(circulation::readyTable(data(), "tbKARTUb", "iKDBARANG")))
            out.push_back(r.loan);
        return out;
    }
};

TEST_F(BorrowTest, MemberFoundByTrimmedCodeInAnyCase) {
    auto m = circulation::findMember(data(), "  ani.riverside ");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->code, kAni);
    EXPECT_EQ(m->family, "RIVERSIDE");
    EXPECT_EQ(m->name, "Ani RIVERSIDE");
    EXPECT_EQ(m->onLoan, 1);
    EXPECT_EQ(m->maxBorrow, 3);
    EXPECT_EQ(m->limitDays, 7);
    EXPECT_EQ(m->penaltyText(), "500.00");
    EXPECT_FALSE(circulation::findMember(data(), "NOBODY.RIVERSIDE"));
    EXPECT_FALSE(circulation::findMember(data(), "   "));
    EXPECT_EQ(circulation::memberNotFoundMessage("NOBODY"),
              "[NOBODY] not found, please.. select from the Grid.");
}

TEST_F(BorrowTest, OpeningTheBorrowViewShowsTheMembersOpenLoans) {
    // Leftovers of an earlier member never survive the opening.
    auto ani = member(kAni);
    scan(ani, freeCopy(5));
    auto eldest = member(kEldest);
    auto load = circulation::loadBorrowStaging(data(), eldest);
    EXPECT_TRUE(load.emptied);
    EXPECT_EQ(load.rows, 1);
    auto rows = staged();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].itemCode, kEldestLoan);
    EXPECT_EQ(rows[0].status, "B");
    EXPECT_EQ(rows[0].memberCode, kEldest);
    EXPECT_EQ(rows[0].familyCode, "RIVERSIDE");
    EXPECT_EQ(rows[0].memberClass, eldest.memberClass);
    EXPECT_DOUBLE_EQ(rows[0].rate, 500);
}

TEST_F(BorrowTest, LimitCountsTheLoansAlreadyHeld) {
    auto eldest = member(kEldest);  // max 2, one loan
    ASSERT_EQ(circulation::loadBorrowStaging(data(), eldest).rows, 1);
    auto first = circulation::checkCopyForBorrow(data(), freeCopy(2), eldest.maxBorrow,
                                                 CopySource::ItemCode);
    EXPECT_EQ(first.check, CopyCheck::Ready);
    circulation::stageLoan(data(), clock, "Librarian", eldest, *first.copy);
    auto second = circulation::checkCopyForBorrow(data(), freeCopy(3), eldest.maxBorrow,
                                                  CopySource::ItemCode);
    EXPECT_EQ(second.check, CopyCheck::OverLimit);
    EXPECT_EQ(
        second.message,
        "This member was get the limit to borrow. Order borrow for now: 2, Max. allowed: 2"
        "\rCancel this operation ?\r               (Select [cancell] button to continue anyway)");
    ASSERT_TRUE(second.copy);
    EXPECT_EQ(second.copy->code, freeCopy(3));
    auto picked = circulation::checkCopyForBorrow(data(), freeCopy(3), eldest.maxBorrow,
                                                  CopySource::TitleList);
    EXPECT_EQ(picked.message,
              "This member was get the limit to borrow. Amount to borrowed now: 2, Max. allowed: 2"
              "\rCancel this operation ?\r(Select [cancell] button to continue anyway)");
    // With no allowance at all even the first copy asks.
    ASSERT_TRUE(
        circulation::emptyStaging(circulation::readyTable(data(), "tbKARTUb", "iKDBARANG")));
    EXPECT_EQ(circulation::checkCopyForBorrow(data(), freeCopy(4), 0, CopySource::ItemCode).check,
              CopyCheck::OverLimit);
}

TEST_F(BorrowTest, RefusalsAndTheirMessages) {
    auto eldest = member(kEldest);
    circulation::loadBorrowStaging(data(), eldest);
    ASSERT_EQ(scan(eldest, freeCopy(2)), CopyCheck::Ready);

    struct Case {
        std::string typed;
        CopySource source;
        CopyCheck check;
        std::string message;
    };
    const Case cases[] = {
        // Staged a moment ago, typed in lower case with blanks.
        {" " + freeCopy(2) + " ", CopySource::ItemCode, CopyCheck::AlreadyStaged,
         "This book was allready in the temporary table."},
        // The member's own loan counts as already staged.
        {kEldestLoan, CopySource::ItemCode, CopyCheck::AlreadyStaged,
         "This book was allready in the temporary table."},
        {kEldestLoan, CopySource::TitleList, CopyCheck::AlreadyStaged,
         "This book was allready in the temporary table."},
        // Another member's copy.
        {kAniLoan, CopySource::ItemCode, CopyCheck::OnLoan,
         "Tales of Stars\rborrowed by: ANI.RIVERSIDE\rDate borrow: 2026-12-01 date due: "
         "2026-12-08"},
        {"1999", CopySource::ItemCode, CopyCheck::NotFound,
         "1999 not found. select [Cancell] button if you want to try search by TITLE ?"},
        // A picked copy that has gone: nothing to say.
        {"1999", CopySource::TitleList, CopyCheck::NotFound, ""},
        {"   ", CopySource::ItemCode, CopyCheck::Empty, ""},
    };
    for (const Case& c : cases) {
        auto out = circulation::checkCopyForBorrow(data(), c.typed, eldest.maxBorrow, c.source);
        EXPECT_EQ(out.check, c.check) << c.typed;
        EXPECT_EQ(out.message, c.message) << c.typed;
    }
    EXPECT_EQ(circulation::borrowStagingCount(data()), 2);
}

TEST_F(BorrowTest, StagedLoanIsDueAfterTheLimitDaysAtTheSameTime) {
    auto ani = member(kAni);
    circulation::loadBorrowStaging(data(), ani);
    ASSERT_EQ(scan(ani, freeCopy(7)), CopyCheck::Ready);
    auto rows = staged();
    ASSERT_EQ(rows.size(), 2u);
    const auto& row = rows[1].itemCode == freeCopy(7) ? rows[1] : rows[0];
    EXPECT_EQ(row.status, "O");
    EXPECT_EQ(row.borrowed.toDateTimeText(), "2020-03-01 14:05:09");
    EXPECT_EQ(row.due.toDateTimeText(), "2020-03-08 14:05:09");
    EXPECT_EQ(row.lentBy, "Librarian");
    EXPECT_EQ(row.memberName, "Ani RIVERSIDE");
    EXPECT_DOUBLE_EQ(row.rate, 500);
}

TEST_F(BorrowTest, SaveWritesLoanCopyAndMemberTogether) {
    auto ani = member(kAni);
    circulation::loadBorrowStaging(data(), ani);
    scan(ani, freeCopy(3));
    scan(ani, freeCopy(2));
    auto out = circulation::saveLoans(data());
    EXPECT_EQ(out.saved, 2);
    EXPECT_FALSE(out.error);
    EXPECT_EQ(out.message(), "");
    for (int n : {2, 3}) {
        const std::string code = freeCopy(n);
        EXPECT_EQ(count("tKARTU", "KDBARANG = ? AND STATUS = 'B' AND KDFANGGOTA = ?", {code, kAni}),
                  1);
        EXPECT_EQ(field("tKARTU", "DENDA", "KDBARANG = ?", {code}), "500");
        EXPECT_EQ(field("tKARTU", "TGJANJI", "KDBARANG = ?", {code}), "2020-03-08 14:05:09");
        EXPECT_EQ(copyField(code, "STATUS"), "B");
        EXPECT_EQ(copyField(code, "KDFANGGOTA"), kAni);
        EXPECT_EQ(copyField(code, "TGPINJAM"), "2020-03-01");
        EXPECT_EQ(copyField(code, "TGJANJI"), "2020-03-08");
        EXPECT_EQ(copyField(code, "TGKEMBALI"), "1899-12-30");
        EXPECT_EQ(copyField(code, "KDPETUGASR"), "");
        EXPECT_EQ(copyField(code, "KDPETUGASB"), "Librarian");
    }
    EXPECT_EQ(memberField(kAni, "JLHPINJAM"), "3");
    // Saved rows are now the member's open loans on the workstation.
    for (const auto& row : staged()) EXPECT_EQ(row.status, "B") << row.itemCode;
}

TEST_F(BorrowTest, SavingNothingNewWritesNothing) {
    auto eldest = member(kEldest);
    circulation::emptyStaging(circulation::readyTable(data(), "tbKARTUb", "iKDBARANG"));
    auto empty = circulation::saveLoans(data());
    EXPECT_TRUE(empty.nothingStaged);
    EXPECT_EQ(empty.message(), "NoRecord in the temporary table.");

    circulation::loadBorrowStaging(data(), eldest);
    const long long loans = count("tKARTU");
    auto out = circulation::saveLoans(data());
    EXPECT_FALSE(out.nothingStaged);
    EXPECT_EQ(out.saved, 0);
    EXPECT_EQ(count("tKARTU"), loans);
    EXPECT_EQ(memberField(kEldest, "JLHPINJAM"), "1");
}

TEST_F(BorrowTest, FailureInTheMiddleOfOneCopyLeavesThatCopyUntouched) {
    auto ani = member(kAni);  // one loan, JLHPINJAM 1
    circulation::loadBorrowStaging(data(), ani);
    scan(ani, freeCopy(2));
    scan(ani, freeCopy(3));
    // The member row refuses the second raise: the loan row and the copy of
    // the second copy were already written inside its unit when it fails.
    lib.execute(
        "CREATE TRIGGER refuse BEFORE UPDATE OF JLHPINJAM ON tANGGOTA WHEN NEW.JLHPINJAM >= 3 "
        "BEGIN SELECT RAISE(ABORT, 'member row locked'); END");
    auto out = circulation::saveLoans(data());
    ASSERT_TRUE(out.error);
    EXPECT_NE(out.error->find("member row locked"), std::string::npos);
    EXPECT_EQ(out.saved, 1);
    EXPECT_EQ(loansOf(freeCopy(2)), 1);
    EXPECT_EQ(copyField(freeCopy(2), "STATUS"), "B");
    EXPECT_EQ(loansOf(freeCopy(3)), 0);
    EXPECT_EQ(copyField(freeCopy(3), "STATUS"), "");
    EXPECT_EQ(copyField(freeCopy(3), "KDFANGGOTA"), "");
    EXPECT_EQ(memberField(kAni, "JLHPINJAM"), "2");

    // Once the cause is gone, saving again lends only what is left.
    lib.execute("DROP TRIGGER refuse");
    auto again = circulation::saveLoans(data());
    EXPECT_FALSE(again.error);
    EXPECT_EQ(again.saved, 1);
    EXPECT_EQ(loansOf(freeCopy(2)), 1);
    EXPECT_EQ(loansOf(freeCopy(3)), 1);
    EXPECT_EQ(memberField(kAni, "JLHPINJAM"), "3");
}

TEST_F(BorrowTest, LostStagingMarkNeverLendsTwice) {
    auto ani = member(kAni);
    circulation::loadBorrowStaging(data(), ani);
    scan(ani, freeCopy(2));
    ASSERT_EQ(circulation::saveLoans(data()).saved, 1);
    // The workstation write after the library commit did not happen.
    auto& staging = circulation::readyTable(data(), "tbKARTUb", "iKDBARANG");
    ASSERT_TRUE(staging.findKey({freeCopy(2)}));
    staging.edit();
    staging.setString("STATUS", "O");
    staging.post();
    auto again = circulation::saveLoans(data());
    EXPECT_EQ(again.saved, 0);
    EXPECT_TRUE(again.notSaved.empty());
    EXPECT_EQ(loansOf(freeCopy(2)), 1);
    EXPECT_EQ(memberField(kAni, "JLHPINJAM"), "2");
}

TEST_F(BorrowTest, TwoWorkstationsLendingTheSameCopyMakeOneLoan) {
    auto other = otherWorkstation();
    circulation::openDeskTables(other->data);
    auto ani = member(kAni);
    auto eldest = circulation::findMember(other->data, kEldest).value();
    circulation::loadBorrowStaging(data(), ani);
    circulation::loadBorrowStaging(other->data, eldest);
    const std::string code = freeCopy(9);
    // Both desks see the copy free when they scan it.
    auto here = circulation::checkCopyForBorrow(data(), code, ani.maxBorrow, CopySource::ItemCode);
    auto there =
        circulation::checkCopyForBorrow(other->data, code, eldest.maxBorrow, CopySource::ItemCode);
    ASSERT_EQ(here.check, CopyCheck::Ready);
    ASSERT_EQ(there.check, CopyCheck::Ready);
    circulation::stageLoan(data(), clock, "Librarian", ani, *here.copy);
    circulation::stageLoan(other->data, clock, "Assistant", eldest, *there.copy);

    EXPECT_EQ(circulation::saveLoans(other->data).saved, 1);
    auto late = circulation::saveLoans(data());
    EXPECT_EQ(late.saved, 0);
    EXPECT_EQ(late.message(),
              "These books were not saved, they changed after they were entered:\r" + code +
                  " Adventures for Young Readers - borrowed by: ELDEST.RIVERSIDE");
    EXPECT_EQ(loansOf(code), 1);
    EXPECT_EQ(copyField(code, "KDFANGGOTA"), kEldest);
    EXPECT_EQ(memberField(kAni, "JLHPINJAM"), "1");
    EXPECT_EQ(memberField(kEldest, "JLHPINJAM"), "2");
}

TEST_F(BorrowTest, CopyRemovedFromTheCatalogueIsNotLent) {
    auto ani = member(kAni);
    circulation::loadBorrowStaging(data(), ani);
    scan(ani, freeCopy(4));
    lib.execute("DELETE FROM tBUKU WHERE KDBARANG = ?", {freeCopy(4)});
    auto out = circulation::saveLoans(data());
    EXPECT_EQ(out.saved, 0);
    ASSERT_EQ(out.notSaved.size(), 1u);
    EXPECT_NE(out.notSaved[0].find("not in the Book Table any more"), std::string::npos);
    EXPECT_EQ(loansOf(freeCopy(4)), 0);
    EXPECT_EQ(memberField(kAni, "JLHPINJAM"), "1");
}

}  // namespace
