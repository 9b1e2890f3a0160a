#include "catalogue/book_entry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/item_codes.h"
#include "catalogue_fixture.h"
#include "core/error.h"
#include "core/text.h"
#include "printing/barcode_image.h"

namespace {

namespace fs = std::filesystem;
using catalogue::BookForm;

// Functions, not constants: a DateTime built during static initialisation
// could see the date module's epoch before it is set.
core::DateTime created() { return core::DateTime::fromParts(2026, 12, 11, 9, 15, 0); }
core::DateTime saved() { return core::DateTime::fromParts(2026, 12, 12, 14, 0, 30); }
constexpr const char* kNewCode = "1202612110001";
constexpr const char* kDemoCode = "1202611020005";

BookForm sampleForm() {
    BookForm f;
    f.title = " Laskar Pelangi ";
    f.author = "Andrea Hirata";
    f.publisher = "Bentang Pustaka";
    f.udc = "8";
    f.ddc = "899.221";
    f.language = "INDONESIA";
    f.keywords = "novel school";
    f.isbn = "979-3062-79-7";
    f.originalOrCopy = "C";
    f.condition = "90%";
    f.classGroup = "K7";
    f.age = " 12 ";
    f.room = "LIB";
    f.rack = "R02";
    f.row = "003";
    f.price = "75,000";
    f.shop = "Toko Buku Jaya";
    f.donor = "Ibu Santoso";
    f.buyDate = "2026-11-30";
    return f;
}

class BookEntryTest : public catalogue_test::CatalogueTest {
protected:
    bool ok(const std::string& q) {
        questions.push_back(q);
        return true;
    }
    std::function<bool(const std::string&)> answer(bool a) {
        return [this, a](const std::string& q) {
            questions.push_back(q);
            return a;
        };
    }
    catalogue::SaveOutcome save(const std::string& code, const BookForm& form,
                                bool answerOk = true) {
        return catalogue::saveBook(books(), queue(), env.databaseDirectory, code, form, "Assistant",
                                   saved(), answer(answerOk));
    }
    std::string picture(const std::string& code) {
        return printing::bookBarcodePath(env.databaseDirectory, code);
    }
    // The queue entry of a code, "TITLE|CNKLS|CNRAK|CNBRS|UDC|DDC|AUT", or "<none>".
    std::string queued(const std::string& code) {
        store::Table& q = queue();
        if (!q.findKey({code})) return "<none>";
        std::string out = q.asString("TITLE");
        for (const char* f : {"CNKLS", "CNRAK", "CNBRS", "UDC", "DDC", "AUT"})
            out += "|" + q.asString(f);
        return out;
    }
    std::vector<std::string> questions;
};

TEST_F(BookEntryTest, NewCopyRowHoldsTheFormValuesTrimmed) {
    catalogue::insertBook(books(), sampleForm(), kNewCode, "Librarian", created());
    EXPECT_EQ(
        renderedBook(kNewCode),
        "JENIS=1\nTITLE=Laskar Pelangi\nAUTHOR=Andrea Hirata\nPUBLISHER=Bentang Pustaka\nOC=C\n"
        "CNKLS=LIB\nCNRAK=R02\nCNBRS=003\nCNTG=\nCNNUM=\nUDC=8\nKELAS=K7\nUSIA=12\n"
        "ISBN=979-3062-79-7\nSTATUS=\nKONDISI=90%\nTGBELI=2026-11-30\nSHARGA=75,000\n"
        "NMTOKO=Toko Buku Jaya\nNMDONATUR=Ibu Santoso\nKDANGGOTA=\nKDFANGGOTA=\n"
        "PTGSNEW=Librarian\nIO=\nKEYWORD=novel school\nKDBARANG=1202612110001\nDDC=899.221\n"
        "BAHASA=IND\nSIMPANFILE=\nTGNEW=2026-12-11 09:15:00\nTGEDIT=\nPTGSEDIT=\nKDPETUGASB=\n"
        "KDPETUGASR=\nKDPETUGASH=\nTGPINJAM=\nTGJANJI=\nTGKEMBALI=\nTGHAPUS=\n");
    // What the window shows again when the code is entered once more.
    ASSERT_TRUE(catalogue::findItem(books(), catalogue::kBookCodes, kNewCode));
    BookForm expected = sampleForm();
    expected.title = "Laskar Pelangi";
    expected.age = "12";
    expected.language = "IND";
    EXPECT_EQ(catalogue::readBookForm(books()), expected);
}

TEST_F(BookEntryTest, ExistingCopySavedUnchangedGetsOnlyNewEditStamps) {
    ASSERT_TRUE(catalogue::findItem(books(), catalogue::kBookCodes, kDemoCode));
    const BookForm loaded = catalogue::readBookForm(books());
    const std::string before = renderedBook(kDemoCode);
    auto out = save(kDemoCode, loaded);
    ASSERT_TRUE(out.saved);
    std::string expected = before;
    expected = core::replaceAll(expected, "TGEDIT=\n", "TGEDIT=2026-12-12 14:00:30\n");
    expected = core::replaceAll(expected, "PTGSEDIT=\n", "PTGSEDIT=Assistant\n");
    EXPECT_EQ(renderedBook(kDemoCode), expected);
    EXPECT_EQ(questions, std::vector<std::string>{"This: \"1202611020005\"\rtitle:\"" +
                                                  loaded.title + "\"\rwill be save?"});
}

TEST_F(BookEntryTest, SaveRewritesCatalogueFieldsButNeverTheCirculationFields) {
    // A loan made on another workstation while the copy was open.
    setBookField(kDemoCode, "STATUS", "B");
    setBookField(kDemoCode, "KDANGGOTA", "ANI.RIVERSIDE");
    setBookField(kDemoCode, "TGPINJAM", "2026-12-10");
    ASSERT_TRUE(save(kDemoCode, sampleForm()).saved);
    EXPECT_EQ(bookField(kDemoCode, "TITLE"), "Laskar Pelangi");
    EXPECT_EQ(bookField(kDemoCode, "CNRAK"), "R02");
    EXPECT_EQ(bookField(kDemoCode, "STATUS"), "B");
    EXPECT_EQ(bookField(kDemoCode, "KDANGGOTA"), "ANI.RIVERSIDE");
    EXPECT_EQ(bookField(kDemoCode, "TGPINJAM"), "2026-12-10");
    EXPECT_EQ(bookField(kDemoCode, "PTGSNEW"), "Admin");
}

TEST_F(BookEntryTest, SaveCancelledOrCopyGoneWritesNothing) {
    const std::string before = renderedBook(kDemoCode);
    auto cancelled = save(" 1202611020005", sampleForm(), false);
    EXPECT_FALSE(cancelled.saved);
    EXPECT_EQ(cancelled.message, "1202611020005, tidak diposting.");
    EXPECT_EQ(renderedBook(kDemoCode), before);
    EXPECT_EQ(queued(kDemoCode), "<none>");

    auto gone = save("1x0001", sampleForm());
    EXPECT_FALSE(gone.saved);
    EXPECT_EQ(gone.message, "1X0001, tidak ketemu. Daftarkan lagi.");
    EXPECT_EQ(queued("1X0001"), "<none>");
}

// The label queue through the two stages of a new copy: ticked or not at
// creation, then SAVE.
TEST_F(BookEntryTest, LabelQueueFollowsCreationAndSave) {
    struct Case {
        const char* name;
        bool ticked;
        const char* afterCreation;
    };
    const Case cases[] = {
        {"Book Label ticked", true, "Laskar Pelangi||||||"},
        {"Book Label not ticked", false, "<none>"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string code = "12026121100" + std::to_string(10 + n++);
        catalogue::insertBook(books(), sampleForm(), code, "Librarian", created());
        if (c.ticked) {
            EXPECT_EQ(
                catalogue::queueNewCopy(queue(), env.databaseDirectory, code, " Laskar Pelangi "),
                "");
        }
        EXPECT_EQ(queued(code), c.afterCreation);
        EXPECT_EQ(fs::exists(picture(code)), c.ticked);

        BookForm f = sampleForm();
        f.rack = "R09";
        ASSERT_TRUE(save(code, f).saved);
        EXPECT_EQ(queued(code), "Laskar Pelangi|LIB|R09|003|8|899.221|Andrea Hirata");
        EXPECT_TRUE(fs::exists(picture(code)));
        EXPECT_GT(fs::file_size(picture(code)), 0u);
        // Queued once, however often it is saved.
        ASSERT_TRUE(save(code, f).saved);
        queue().setFilter("KDBARANG=\"" + code + "\"");
        queue().setFiltered(true);
        EXPECT_EQ(queue().recordCount(), 1);
        queue().setFiltered(false);
    }
}

TEST_F(BookEntryTest, QueueEntryLeftByADeletedCopyIsReusedForANewOneWithItsCode) {
    catalogue::BookForm old = sampleForm();
    ASSERT_TRUE(save(kDemoCode, old).saved);  // queue entry with everything
    auto del =
        catalogue::deleteBook(books(), kDemoCode, "x", [](const std::string&) { return true; });
    ASSERT_TRUE(del.deleted);
    catalogue::insertBook(books(), sampleForm(), kDemoCode, "Librarian", created());
    EXPECT_EQ(catalogue::queueNewCopy(queue(), env.databaseDirectory, kDemoCode, "Another Title"),
              "");
    EXPECT_EQ(queued(kDemoCode), "Another Title||||||");
    queue().setFilter("KDBARANG=\"" + std::string(kDemoCode) + "\"");
    queue().setFiltered(true);
    EXPECT_EQ(queue().recordCount(), 1);
}

TEST_F(BookEntryTest, PictureThatCannotBeWrittenIsReportedAndNothingIsQueued) {
    env.databaseDirectory = inst.path("no-such-folder/");
    const std::string error =
        catalogue::queueNewCopy(queue(), env.databaseDirectory, kNewCode, "T");
    EXPECT_TRUE(
        core::startsWith(error, "The barcode picture of 1202612110001 could not be written:\r"))
        << error;
    EXPECT_EQ(queued(kNewCode), "<none>");
    // SAVE still saves the copy and reports the picture; the next SAVE tries again.
    auto out = save(kDemoCode, sampleForm());
    EXPECT_TRUE(out.saved);
    EXPECT_FALSE(out.labelError.empty());
    EXPECT_EQ(queued(kDemoCode), "<none>");
}

// A pasted age or a mistyped buy date is refused before anything is written.
TEST_F(BookEntryTest, BadAgeOrBuyDateIsRefusedBeforeAnyWrite) {
    struct Case {
        const char* age;
        const char* buyDate;
        const char* message;  // empty: accepted
    };
    const Case cases[] = {
        {"12a", "",
         "\"12a\" is not a valid age.\rAges takes a whole number of years, such as 0 or 14."},
        {"-3", "",
         "\"-3\" is not a valid age.\rAges takes a whole number of years, such as 0 or 14."},
        {"+3", "",
         "\"+3\" is not a valid age.\rAges takes a whole number of years, such as 0 or 14."},
        {"12", "2026-13-01",
         "\"2026-13-01\" is not a valid buy date.\rWrite it as yyyy-mm-dd, such as 2026-12-11, or "
         "leave it empty."},
        {"12", "30/11/2026",
         "\"30/11/2026\" is not a valid buy date.\rWrite it as yyyy-mm-dd, such as 2026-12-11, or "
         "leave it empty."},
        {"", "", ""},
        {" 7 ", " 2026-02-28 ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.age) + " / " + c.buyDate);
        BookForm f = sampleForm();
        f.age = c.age;
        f.buyDate = c.buyDate;
        auto problem = catalogue::checkBookForm(f);
        EXPECT_EQ(problem ? problem->message : "", c.message);
        if (!problem) continue;

        const auto copies = books().recordCount();
        EXPECT_THROW(catalogue::insertBook(books(), f, kNewCode, "Librarian", created()),
                     core::Error);
        EXPECT_EQ(books().recordCount(), copies);
        EXPECT_EQ(books().state(), store::Table::State::Browse);

        const std::string before = renderedBook(kDemoCode);
        questions.clear();
        auto out = save(kDemoCode, f);
        EXPECT_FALSE(out.saved);
        ASSERT_TRUE(out.problem);
        EXPECT_TRUE(questions.empty());
        EXPECT_EQ(renderedBook(kDemoCode), before);
    }
}

TEST_F(BookEntryTest, EmptyAgeIsStoredAsZeroAndEmptyBuyDateAsTheEmptyDate) {
    BookForm f = sampleForm();
    f.age = "";
    f.buyDate = "";
    catalogue::insertBook(books(), f, kNewCode, "Librarian", created());
    EXPECT_EQ(bookField(kNewCode, "USIA"), "0");
    EXPECT_EQ(bookField(kNewCode, "TGBELI"), "");
    ASSERT_TRUE(catalogue::findItem(books(), catalogue::kBookCodes, kNewCode));
    EXPECT_EQ(catalogue::readBookForm(books()).buyDate, "");
}

TEST_F(BookEntryTest, DeleteAsksThenDeletesAndLeavesQueueAndPicture) {
    ASSERT_TRUE(save(kDemoCode, sampleForm()).saved);
    questions.clear();
    auto cancelled = catalogue::deleteBook(books(), kDemoCode, " Laskar Pelangi", answer(false));
    EXPECT_FALSE(cancelled.deleted);
    EXPECT_EQ(cancelled.message, "1202611020005, not deleted.");
    EXPECT_TRUE(bookExists(kDemoCode));

    auto out = catalogue::deleteBook(books(), kDemoCode, " Laskar Pelangi", answer(true));
    EXPECT_TRUE(out.deleted);
    EXPECT_EQ(out.message, "");
    EXPECT_EQ(questions.back(), "Is this: \"1202611020005\"\r\"Laskar Pelangi\" will be delete?");
    EXPECT_FALSE(bookExists(kDemoCode));
    EXPECT_NE(queued(kDemoCode), "<none>");
    EXPECT_TRUE(fs::exists(picture(kDemoCode)));
}

TEST_F(BookEntryTest, DeleteRefusals) {
    // Not there.
    auto missing = catalogue::deleteBook(books(), "1x0001", "T", answer(true));
    EXPECT_FALSE(missing.asked);
    EXPECT_EQ(missing.message, "1X0001, not found.");

    // On loan: the loan would point at nothing.
    setBookField(kDemoCode, "STATUS", "B");
    auto lent = catalogue::deleteBook(books(), kDemoCode, "T", answer(true));
    EXPECT_FALSE(lent.asked);
    EXPECT_FALSE(lent.deleted);
    EXPECT_EQ(lent.message,
              "1202611020005, is on loan and can not be deleted.\rReturn the copy first, then "
              "delete it.");
    EXPECT_TRUE(bookExists(kDemoCode));
    EXPECT_TRUE(questions.empty());

    // Lent on another workstation while the question was open.
    setBookField(kDemoCode, "STATUS", "A");
    auto lentMeanwhile = catalogue::deleteBook(books(), kDemoCode, "T", [&](const std::string&) {
        setBookField(kDemoCode, "STATUS", "B");
        return true;
    });
    EXPECT_TRUE(lentMeanwhile.asked);
    EXPECT_FALSE(lentMeanwhile.deleted);
    EXPECT_TRUE(bookExists(kDemoCode));

    // Deleted on another workstation while the question was open: nothing to do.
    setBookField(kDemoCode, "STATUS", "A");
    auto goneMeanwhile = catalogue::deleteBook(books(), kDemoCode, "T", [&](const std::string&) {
        store::Table t(other, "tBUKU");
        t.setIndexName("iKodeBuku");
        t.open();
        if (t.findKey({kDemoCode})) t.remove();
        return true;
    });
    EXPECT_TRUE(goneMeanwhile.asked);
    EXPECT_FALSE(goneMeanwhile.deleted);
    EXPECT_EQ(goneMeanwhile.message, "");
}

TEST_F(BookEntryTest, UdcJumpNeedsTheWholeClass) {
    store::Table& udc = data.table("tbUDC");
    EXPECT_TRUE(catalogue::isUdcClass(udc, "5"));
    EXPECT_TRUE(catalogue::isUdcClass(udc, " 5 "));
    EXPECT_FALSE(catalogue::isUdcClass(udc, "55"));  // the column holds one character
    EXPECT_FALSE(catalogue::isUdcClass(udc, "X"));
    EXPECT_FALSE(catalogue::isUdcClass(udc, ""));
}

TEST(BookEntryRules, VisibilityByLevel) {
    const std::pair<int, catalogue::LevelVisibility> cases[] = {
        {0, {true, true}},   {1, {true, true}},   {2, {true, true}},    {3, {true, false}},
        {4, {false, false}}, {9, {false, false}}, {-1, {false, false}},
    };
    for (const auto& [level, v] : cases) {
        auto got = catalogue::visibilityForLevel(level);
        EXPECT_EQ(got.organizers, v.organizers) << level;
        EXPECT_EQ(got.deleteButton, v.deleteButton) << level;
    }
}

TEST(BookEntryRules, AgeFieldCharacters) {
    for (char32_t c : {U'0', U'5', U'9', U'\b', char32_t(0x16) /* Ctrl+V */})
        EXPECT_TRUE(catalogue::ageCharacterAccepted(c)) << static_cast<int>(c);
    for (char32_t c : {U'a', U'-', U'+', U' ', U'.', U',', U'\u0661' /* Arabic-Indic one */})
        EXPECT_FALSE(catalogue::ageCharacterAccepted(c)) << static_cast<int>(c);
}

}  // namespace
