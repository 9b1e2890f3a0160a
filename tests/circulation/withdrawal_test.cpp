// Withdrawal of copies: staging with its refusals, posting the batch as one
// unit per copy, copies lent or removed meanwhile.

#include "circulation/withdrawal.h"

#include <gtest/gtest.h>

#include "circulation/desk_tables.h"
#include "desk_fixture.h"
#include "store/table.h"

namespace {

using circulation::WithdrawalStage;
using core::DateTime;
using namespace circulation_test;

// A copy with a finished loan in the demo (status "A", loan fields filled).
const std::string kReturnedCopy = "1202611160051";

class WithdrawalTest : public DeskTest {
protected:
    WithdrawalTest() {
        circulation::openWithdrawalTables(data());
        clock.set(DateTime::fromParts(2026, 12, 11, 10, 30, 45));
    }
    void stage(const std::string& code) {
        ASSERT_EQ(circulation::stageWithdrawal(data(), code).result, WithdrawalStage::Staged)
            << code;
    }
    std::int64_t staged() { return circulation::withdrawalCounts(data()).staged; }
    std::string withdrawn(const std::string& code, const char* column) {
        return field("tHIBAH", column, "KDBARANG = ?", {code});
    }
};

TEST_F(WithdrawalTest, StagingAndItsRefusals) {
    struct Case {
        std::string typed;
        WithdrawalStage result;
        std::string message;
    };
    const Case cases[] = {
        {" " + freeCopy(2), WithdrawalStage::Staged, ""},
        {freeCopy(2), WithdrawalStage::AlreadyStaged,
         freeCopy(2) + " is in the Temporary file, and\rready to sent to the hibah container"},
        {kAniLoan, WithdrawalStage::OnLoan,
         std::string(kAniLoan) +
             "\rborrowed by: ANI.RIVERSIDE\rDate borrow: 2026-12-01 date due: 2026-12-08"},
        {"1999", WithdrawalStage::NotFound, "1999 not found."},
        {"  ", WithdrawalStage::Nothing, ""},
    };
    for (const Case& c : cases) {
        auto out = circulation::stageWithdrawal(data(), c.typed);
        EXPECT_EQ(out.result, c.result) << c.typed;
        EXPECT_EQ(out.message, c.message) << c.typed;
    }
    EXPECT_EQ(staged(), 1);
    EXPECT_EQ(circulation::withdrawalCounts(data()).catalogue, 300);
}

TEST_F(WithdrawalTest, BatchOfFreeCopiesIsWithdrawnWithStampsAndCarriedFields) {
    for (int n : {2, 3, 4, 5}) stage(freeCopy(n));
    stage(kReturnedCopy);
    auto out = circulation::postWithdrawals(data(), clock, "Librarian");
    EXPECT_FALSE(out.error);
    EXPECT_EQ(out.withdrawn, 5);
    EXPECT_TRUE(out.messages().empty());
    auto counts = circulation::withdrawalCounts(data());
    EXPECT_EQ(counts.catalogue, 295);
    EXPECT_EQ(counts.staged, 0);
    EXPECT_EQ(counts.withdrawn, 5);
    EXPECT_EQ(copyField(kReturnedCopy, "KDBARANG"), "<no row>");

    EXPECT_EQ(withdrawn(kReturnedCopy, "KDPETUGASH"), "Librarian");
    EXPECT_EQ(withdrawn(kReturnedCopy, "TGHAPUS"), "2026-12-11 10:30:45");
    EXPECT_EQ(withdrawn(kReturnedCopy, "STATUS"), "A");
    EXPECT_EQ(withdrawn(kReturnedCopy, "KDFANGGOTA"), "ANI.KUSUMA");
    EXPECT_EQ(withdrawn(kReturnedCopy, "TGPINJAM"), "2026-11-20");
    EXPECT_EQ(withdrawn(kReturnedCopy, "TGKEMBALI"), "2026-11-27");
    EXPECT_EQ(withdrawn(kReturnedCopy, "KDPETUGASR"), "Admin");
    EXPECT_EQ(withdrawn(kReturnedCopy, "TGNEW"), "2026-11-16 12:20:00");
    EXPECT_EQ(withdrawn(kReturnedCopy, "USIA"), "8");
    EXPECT_EQ(withdrawn(kReturnedCopy, "CNRAK"), "R09");
    // An empty date travels as the zero date.
    EXPECT_EQ(withdrawn(freeCopy(2), "TGPINJAM"), "1899-12-30");
}

TEST_F(WithdrawalTest, CopyLentMeanwhileStaysAndTheRestGoes) {
    for (int n : {2, 3, 4}) stage(freeCopy(n));
    // Another workstation lends one of them after it was staged.
    lib.execute("UPDATE tBUKU SET STATUS = 'B', KDFANGGOTA = 'ANI.RIVERSIDE' WHERE KDBARANG = ?",
                {freeCopy(3)});
    auto out = circulation::postWithdrawals(data(), clock, "Librarian");
    EXPECT_EQ(out.withdrawn, 2);
    EXPECT_TRUE(out.leftover);
    EXPECT_FALSE(out.leftoverKept);
    EXPECT_EQ(
        out.messages(),
        std::vector<std::string>{
            "Temporary Broken Book is not empty,\rcause some books still borrowed by someone.\r"
            "And this temporary will be delete immidiately.\rYou may do the same at another "
            "time when the books was returned."});
    EXPECT_EQ(staged(), 0);
    EXPECT_EQ(copyField(freeCopy(3), "STATUS"), "B");
    EXPECT_EQ(count("tHIBAH", "KDBARANG = ?", {freeCopy(3)}), 0);
    EXPECT_EQ(count("tHIBAH"), 2);
}

TEST_F(WithdrawalTest, VanishedCopyIsDroppedAndNothingElseDeleted) {
    for (int n : {2, 3}) stage(freeCopy(n));
    lib.execute("DELETE FROM tBUKU WHERE KDBARANG = ?", {freeCopy(2)});
    auto out = circulation::postWithdrawals(data(), clock, "Librarian");
    EXPECT_EQ(out.withdrawn, 1);
    EXPECT_EQ(out.messages(),
              std::vector<std::string>{
                  "These books are not in the Book Table any more,\rthey were taken out of the "
                  "Temporary file:\r" +
                  freeCopy(2) + " The Secret of the River"});
    EXPECT_EQ(count("tBUKU"), 298);
    EXPECT_EQ(count("tHIBAH"), 1);
    EXPECT_EQ(count("tHIBAH", "KDBARANG = ?", {freeCopy(2)}), 0);
    EXPECT_EQ(staged(), 0);
}

TEST_F(WithdrawalTest, StagedRowOfACopyAlreadyWithdrawnIsDroppedSilently) {
    stage(freeCopy(2));
    auto& staging = circulation::readyTable(data(), "tbHIBAHt", "iKodeBuku");
    ASSERT_EQ(circulation::postWithdrawals(data(), clock, "Librarian").withdrawn, 1);
    // The staged row survived (its delete was lost).
    staging.insert();
    staging.setString("KDBARANG", freeCopy(2));
    staging.post();
    auto again = circulation::postWithdrawals(data(), clock, "Librarian");
    EXPECT_EQ(again.withdrawn, 0);
    EXPECT_TRUE(again.messages().empty());
    EXPECT_EQ(count("tHIBAH"), 1);
    EXPECT_EQ(count("tBUKU"), 299);
    EXPECT_EQ(staged(), 0);
}

TEST_F(WithdrawalTest, FailureInTheMiddleOfOneCopyLeavesItInTheCatalogue) {
    for (int n : {2, 3}) stage(freeCopy(n));
    // The second copy's catalogue deletion is refused after its tHIBAH row
    // was written inside the same unit.
    lib.execute("CREATE TRIGGER refuse BEFORE DELETE ON tBUKU WHEN OLD.KDBARANG = '" + freeCopy(3) +
                "' BEGIN SELECT RAISE(ABORT, 'catalogue row locked'); END");
    auto out = circulation::postWithdrawals(data(), clock, "Librarian");
    ASSERT_TRUE(out.error);
    EXPECT_EQ(out.withdrawn, 1);
    EXPECT_FALSE(out.leftover);
    EXPECT_EQ(count("tHIBAH", "KDBARANG = ?", {freeCopy(2)}), 1);
    EXPECT_EQ(count("tHIBAH", "KDBARANG = ?", {freeCopy(3)}), 0);
    EXPECT_EQ(copyField(freeCopy(3), "KDBARANG"), freeCopy(3));
    EXPECT_EQ(staged(), 1);
}

TEST_F(WithdrawalTest, CancellingEmptiesTheBatchAndDetailShowsAStagedRow) {
    stage(kReturnedCopy);
    auto detail = circulation::stagedDetail(data(), kReturnedCopy);
    ASSERT_TRUE(detail);
    std::map<std::string, std::string> shown(detail->begin(), detail->end());
    EXPECT_EQ(shown["Book/Call Code"], kReturnedCopy);
    EXPECT_EQ(shown["Peminjam"], "ANI.KUSUMA");
    EXPECT_EQ(shown["Tgl Pinjam"], "2026-11-20 00:00:00");
    EXPECT_EQ(shown["Room"], "LIB");
    EXPECT_FALSE(circulation::stagedDetail(data(), "1999"));
    EXPECT_TRUE(circulation::cancelWithdrawals(data()));
    EXPECT_EQ(staged(), 0);
    EXPECT_EQ(count("tBUKU"), 300);
}

}  // namespace
