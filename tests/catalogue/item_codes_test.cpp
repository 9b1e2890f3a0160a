#include "catalogue/item_codes.h"

#include <gtest/gtest.h>

#include <deque>

#include "catalogue/book_entry.h"
#include "catalogue_fixture.h"
#include "core/clock.h"
#include "core/error.h"
#include "core/text.h"
#include "store/key_values.h"

namespace {

using catalogue::CodeOutcome;
using catalogue::kBookCodes;
using catalogue::kDigitalCodes;
using catalogue::ProposalAnswer;

TEST(FourDigitSequence, LastFourDigitsPaddedWithZeros) {
    const std::pair<const char*, const char*> cases[] = {
        {"1", "0001"},   {"12", "0012"},   {"123", "0123"}, {"1234", "1234"},  {"12345", "2345"},
        {" 7 ", "0007"}, {"0007", "0007"}, {"0", "0000"},   {"10000", "0000"}, {"9999", "9999"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(catalogue::fourDigitSequence(in), out) << in;
}

TEST(FourDigitSequence, TextThatIsNoWholeNumberIsRefused) {
    for (const char* bad : {"", "  ", "7a", "abc", "1.5", "-5", "99999999999999999999"})
        EXPECT_THROW(catalogue::fourDigitSequence(bad), core::Error) << bad;
    try {
        catalogue::fourDigitSequence("x7");
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "'x7' is not a valid integer value");
    }
}

// The proposal from the counter and the clock, and what each answer puts
// into the date and sequence edits ("-" : the edits stay as they are).
TEST(Proposal, FromCounterAndClock) {
    core::FixedClock clock(core::DateTime::fromParts(2026, 12, 11, 9, 30, 0));
    struct Case {
        const char* name;
        std::optional<std::string> counter;
        bool asks;
        const char* yes;     // date/sequence without a question or on Yes
        const char* no;      // on No
        const char* closed;  // when the question is closed
    };
    const Case cases[] = {
        {"counter dated today", "1202612110007", false, "20261211/0008", "20261211/0008",
         "20261211/0008"},
        {"earlier date", "1202611160150", true, "20261211/0001", "20261116/0151", "-"},
        {"later date (clock set back)", "1202612200042", false, "20261211/0043", "20261211/0043",
         "20261211/0043"},
        {"sequence 9999 + 1", "1202612119999", false, "20261211/0000", "20261211/0000",
         "20261211/0000"},
        {"blanks around the counter", "  1202612110007 ", false, "20261211/0008", "20261211/0008",
         "20261211/0008"},
        {"no counter row", std::nullopt, true, "20261211/0001", "20120514/0002", "-"},
    };
    auto render = [](const std::optional<catalogue::CodeParts>& p) {
        return p ? p->datePart + "/" + p->sequencePart : std::string("-");
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const catalogue::Proposal p = catalogue::proposeFrom(kBookCodes, c.counter, clock.now());
        EXPECT_EQ(!p.question.empty(), c.asks);
        EXPECT_EQ(p.lastRecordLine, c.counter ? core::trim(*c.counter) : "");
        EXPECT_EQ(render(catalogue::chooseProposal(p, ProposalAnswer::Yes)), c.yes);
        EXPECT_EQ(render(catalogue::chooseProposal(p, ProposalAnswer::No)), c.no);
        EXPECT_EQ(render(catalogue::chooseProposal(p, ProposalAnswer::Closed)), c.closed);
    }
}

TEST(Proposal, QuestionText) {
    const auto now = core::DateTime::fromParts(2026, 12, 11);
    EXPECT_EQ(catalogue::proposeFrom(kBookCodes, std::string("1202611160150"), now).question,
              "Last NewRecord is: 1202611160150\rLast Record date is : 20261116 but,\r"
              "Today/system date is: 20261211\rCreate NewRecord using 20261211 date?");
    // Without a counter row the line is empty and the built-in value is the last code.
    EXPECT_EQ(catalogue::proposeFrom(kDigitalCodes, std::nullopt, now).question,
              "Last NewRecord is: \rLast Record date is : 20120514 but,\r"
              "Today/system date is: 20261211\rCreate NewRecord using 20261211 date?");
}

TEST(Proposal, CounterWithoutDigitsInTheSequenceFails) {
    const auto now = core::DateTime::fromParts(2026, 12, 11);
    EXPECT_THROW(catalogue::proposeFrom(kBookCodes, std::string("120261211ABCD"), now),
                 core::Error);
    EXPECT_THROW(catalogue::proposeFrom(kBookCodes, std::string("120261211"), now), core::Error);
}

TEST(AssembleCode, KindDigitTrimmedDateAndFourDigitSequence) {
    auto a = catalogue::assembleCode(kBookCodes, " 20261211 ", "7");
    EXPECT_EQ(a.sequencePart, "0007");
    EXPECT_EQ(a.code, "1202612110007");
    EXPECT_EQ(catalogue::assembleCode(kDigitalCodes, "20261211", "12345").code, "2202612112345");
    // The date part is not checked: it goes into the code as typed.
    EXPECT_EQ(catalogue::assembleCode(kBookCodes, "x", "1").code, "1x0001");
    EXPECT_THROW(catalogue::assembleCode(kBookCodes, "20261211", ""), core::Error);
}

TEST(CodeMessages, Texts) {
    EXPECT_EQ(catalogue::newCodeQuestion("1202612110001"),
              "Is this: \"1202612110001\" a new CallCode?");
    EXPECT_EQ(catalogue::codeTakenMessage(" 1x0001 "),
              "Some one was input this 1X0001 So, this number Not Save yet, try again please.");
    EXPECT_EQ(catalogue::codeCancelledMessage("1x0001"), "1X0001, batal / tidak diposting.");
}

class ItemCodeTest : public catalogue_test::CatalogueTest {
protected:
    std::optional<std::string> counter() {
        return store::readVariable(counters(), store::kCountersLayout, "LastRec");
    }
    void removeCounterRow() {
        ASSERT_TRUE(counters().findKey({"LastRec"}));
        counters().remove();
    }

    // A check whose insert step records the codes it was given and inserts a bare copy.
    catalogue::CodeCheck check(const std::string& code, std::deque<bool> answers,
                               std::function<void()> whileAsking = {}) {
        catalogue::CodeCheckSteps steps;
        steps.confirm = [&, answers](const std::string& question) mutable {
            questions.push_back(question);
            if (whileAsking) whileAsking();
            bool a = answers.front();
            answers.pop_front();
            return a;
        };
        steps.insertNew = [&](const std::string& c) {
            inserted.push_back(c);
            catalogue::BookForm form;
            form.title = "New Book";
            catalogue::insertBook(books(), form, c, "Librarian",
                                  core::DateTime::fromParts(2026, 12, 11));
        };
        return catalogue::checkCode(books(), counters(), kBookCodes, code, steps);
    }
    std::vector<std::string> questions;
    std::vector<std::string> inserted;
};

TEST_F(ItemCodeTest, ProposalReadsTheCounterRow) {
    // The demo's last code is the 150th copy of 16 November.
    auto p =
        catalogue::proposeCode(counters(), kBookCodes, core::DateTime::fromParts(2026, 12, 11));
    EXPECT_EQ(p.lastRecordLine, "1202611160150");
    EXPECT_EQ(p.partsIfNo.sequencePart, "0151");
    removeCounterRow();
    p = catalogue::proposeCode(counters(), kBookCodes, core::DateTime::fromParts(2026, 12, 11));
    EXPECT_EQ(p.lastRecordLine, "");
    EXPECT_EQ(p.partsIfNo.datePart, "20120514");
}

TEST_F(ItemCodeTest, ExistingCodeIsReportedForLoadingAndTouchesNothing) {
    const auto before = counter();
    auto c = check(" 1202611020005 ", {});
    EXPECT_EQ(c.outcome, CodeOutcome::Existing);
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(c.message, "");
    EXPECT_FALSE(c.counterValue);
    EXPECT_EQ(books().asString("KDBARANG"), "1202611020005");
    EXPECT_EQ(counter(), before);
}

TEST_F(ItemCodeTest, NewCodeConfirmedIsInsertedAndAdvancesTheCounter) {
    auto c = check("1202612110001", {true});
    EXPECT_EQ(c.outcome, CodeOutcome::Created);
    EXPECT_EQ(questions, std::vector<std::string>{"Is this: \"1202612110001\" a new CallCode?"});
    EXPECT_EQ(inserted, std::vector<std::string>{"1202612110001"});
    EXPECT_EQ(c.counterValue, "1202612110001");
    EXPECT_EQ(counter(), "1202612110001");
    EXPECT_TRUE(bookExists("1202612110001"));
}

TEST_F(ItemCodeTest, CancelLeavesTablesAndCounterUnchanged) {
    const auto before = counter();
    const auto copies = books().recordCount();
    auto c = check("1202612110001", {false});
    EXPECT_EQ(c.outcome, CodeOutcome::Cancelled);
    EXPECT_EQ(c.message, "1202612110001, batal / tidak diposting.");
    EXPECT_TRUE(inserted.empty());
    EXPECT_EQ(books().recordCount(), copies);
    EXPECT_EQ(counter(), before);
}

TEST_F(ItemCodeTest, CodeTakenWhileAskingIsNotInsertedButTheCounterMovesPast) {
    // Another workstation creates the code while the question is open.
    auto c = check("1202612110001", {true}, [&] {
        store::Table t(other, "tBUKU");
        t.open();
        t.insert();
        t.setString("KDBARANG", "1202612110001");
        t.setString("TITLE", "Theirs");
        t.post();
    });
    EXPECT_EQ(c.outcome, CodeOutcome::Taken);
    EXPECT_EQ(
        c.message,
        "Some one was input this 1202612110001 So, this number Not Save yet, try again please.");
    EXPECT_TRUE(inserted.empty());
    EXPECT_EQ(bookField("1202612110001", "TITLE"), "Theirs");
    EXPECT_EQ(counter(), "1202612110001");
    // The next proposal offers the following number.
    auto p =
        catalogue::proposeCode(counters(), kBookCodes, core::DateTime::fromParts(2026, 12, 11));
    EXPECT_EQ(p.parts.sequencePart, "0002");
}

TEST_F(ItemCodeTest, WithoutCounterRowNothingIsWrittenAndTheNextSameDayCodeIsTaken) {
    removeCounterRow();
    auto c = check("1202612110001", {true});
    EXPECT_EQ(c.outcome, CodeOutcome::Created);
    EXPECT_FALSE(c.counterValue);
    EXPECT_FALSE(counter());
    // Yes proposes 0001 again, which now belongs to the copy just made.
    auto p =
        catalogue::proposeCode(counters(), kBookCodes, core::DateTime::fromParts(2026, 12, 11));
    EXPECT_EQ(catalogue::chooseProposal(p, ProposalAnswer::Yes)->sequencePart, "0001");
    EXPECT_EQ(check("1202612110001", {}).outcome, CodeOutcome::Existing);
}

TEST_F(ItemCodeTest, RefusedNewCodeAsksNothingAndWritesNothing) {
    const auto before = counter();
    catalogue::CodeCheckSteps steps;
    steps.confirm = [&](const std::string& q) {
        questions.push_back(q);
        return true;
    };
    steps.refuseNew = [] { return std::string("bad age"); };
    steps.insertNew = [&](const std::string& c) { inserted.push_back(c); };
    auto c = catalogue::checkCode(books(), counters(), kBookCodes, "1202612110001", steps);
    EXPECT_EQ(c.outcome, CodeOutcome::Refused);
    EXPECT_EQ(c.message, "bad age");
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(inserted.empty());
    EXPECT_EQ(counter(), before);
}

}  // namespace
