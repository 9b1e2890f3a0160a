#include "catalogue/organizers.h"

#include <gtest/gtest.h>

#include "catalogue_fixture.h"
#include "core/error.h"

namespace {

using catalogue::kAuthorList;
using catalogue::kTitleList;

class OrganizerTest : public catalogue_test::CatalogueTest {
protected:
    // Copies whose field is exactly this value, counted through the other workstation.
    long long copiesWith(const char* field, const std::string& value) {
        auto rows = other.select(std::string("SELECT count(*) FROM tBUKU WHERE ") + field + " = ?",
                                 {value});
        return std::get<std::int64_t>(rows[0][0]);
    }
    long long listRowsWith(const char* table, const char* field, const std::string& value) {
        auto rows = other.select(
            std::string("SELECT count(*) FROM ") + table + " WHERE " + field + " = ?", {value});
        return std::get<std::int64_t>(rows[0][0]);
    }
    store::Table& titles() { return data.openTable("tbTITLE", "iTITLE"); }
    store::Table& authors() { return data.openTable("tbAuthor", "iAUTHOR"); }
};

TEST(RenameStatement, ThreeLinesWithBothValuesAsLiterals) {
    EXPECT_EQ(catalogue::renameStatement(kTitleList, " Abc ", " Abd "),
              "Update tBUKU\nSET TITLE=\"Abd\"\nWHERE TITLE=\"Abc\"");
    EXPECT_EQ(catalogue::renameStatement(catalogue::kPublisherList, "Say \"Hi\"", "x"),
              "Update tBUKU\nSET PUBLISHER=\"x\"\nWHERE PUBLISHER=\"Say \"\"Hi\"\"\"");
}

TEST(OrganizerTexts, MessagesFollowTheMember) {
    EXPECT_EQ(catalogue::renameQuestion(kTitleList), "Are you sure to save this TITLE?");
    EXPECT_EQ(catalogue::renameQuestion(catalogue::kPublisherList),
              "Are you sure to save this PUBLISHER?");
    EXPECT_EQ(
        catalogue::renamedMessage(" Abc", "Abd "),
        "Congratulation, You just replace the data with successfully.\rfrom: Abc\rinto : Abd");
    EXPECT_EQ(catalogue::listValueNotFoundMessage(kAuthorList, " Nobody "),
              "Nobody not found in the AUTHOR-data.");
    EXPECT_EQ(catalogue::stillUsedMessage(" Enid Blyton"),
              "ENID BLYTON still used and found in BOOK-data.\rYou can not delete this record, but "
              "edit it is "
              "possible.");
    EXPECT_EQ(catalogue::deletedMessage("Mizan"), "MIZAN was deleted successfully.");
    EXPECT_EQ(
        catalogue::tableEditorNote(catalogue::kUdcTable),
        "In this form, you may delete the record. That is mean only in this \"UDC table\"\rand not "
        "delete the record in \"BOOK table\". The same rule when we edit the record.");
    EXPECT_EQ(catalogue::tableEditorNote(catalogue::kLanguageTable),
              "In this form, you may delete the record. That is mean only in this \"LANGUAGE "
              "table\"\rand not "
              "delete the record in \"BOOK table\". The same rule when we edit the record.");
}

TEST_F(OrganizerTest, RenameChangesTheListRowAndEveryCopyCarryingTheValue) {
    const long long carrying = copiesWith("TITLE", "Tales of the Sea");
    ASSERT_GT(carrying, 0);
    const long long others = copiesWith("TITLE", "Tales of Stars");
    auto out = catalogue::renameEverywhere(titles(), kTitleList, " Tales of the Sea ",
                                           " Tales of the Ocean ");
    EXPECT_TRUE(out.renamed);
    EXPECT_EQ(out.newValue, "Tales of the Ocean");
    EXPECT_EQ(out.message,
              "Congratulation, You just replace the data with successfully.\rfrom: Tales of the "
              "Sea\rinto : Tales of "
              "the Ocean");
    EXPECT_EQ(out.copiesChanged, carrying);
    EXPECT_EQ(listRowsWith("tTitle", "TITLE", "Tales of the Ocean"), 1);
    EXPECT_EQ(listRowsWith("tTitle", "TITLE", "Tales of the Sea"), 0);
    EXPECT_EQ(copiesWith("TITLE", "Tales of the Ocean"), carrying);
    EXPECT_EQ(copiesWith("TITLE", "Tales of the Sea"), 0);
    EXPECT_EQ(copiesWith("TITLE", "Tales of Stars"), others);
}

TEST_F(OrganizerTest, ListRowIsFoundInAnyCaseButCopiesMatchTheOldValueAsShown) {
    const long long carrying = copiesWith("TITLE", "Tales of the Sea");
    auto out =
        catalogue::renameEverywhere(titles(), kTitleList, "tales OF the sea", "Tales of the Ocean");
    EXPECT_TRUE(out.renamed);
    EXPECT_EQ(listRowsWith("tTitle", "TITLE", "Tales of the Ocean"), 1);
    EXPECT_EQ(out.copiesChanged, 0);
    EXPECT_EQ(copiesWith("TITLE", "Tales of the Sea"), carrying);
}

TEST_F(OrganizerTest, DoubleQuotesInValuesStayText) {
    const long long carrying = copiesWith("AUTHOR", "Roald Dahl");
    const long long total = books().recordCount();
    const std::string quoted = "Roald \"The BFG\" Dahl";
    auto out = catalogue::renameEverywhere(authors(), kAuthorList, "Roald Dahl", quoted);
    ASSERT_TRUE(out.renamed);
    EXPECT_EQ(copiesWith("AUTHOR", quoted), carrying);
    EXPECT_EQ(listRowsWith("tAuthor", "AUTHOR", quoted), 1);

    // A value written to end the literal and widen the condition changes only its own rows.
    const std::string hostile = "x\" OR AUTHOR<>\"";
    out = catalogue::renameEverywhere(authors(), kAuthorList, quoted, hostile);
    ASSERT_TRUE(out.renamed);
    EXPECT_EQ(out.copiesChanged, carrying);
    EXPECT_EQ(copiesWith("AUTHOR", hostile), carrying);
    EXPECT_EQ(copiesWith("AUTHOR", "Enid Blyton"), total / 12);
    out = catalogue::renameEverywhere(authors(), kAuthorList, hostile, "Roald Dahl");
    EXPECT_EQ(out.copiesChanged, carrying);
    EXPECT_EQ(copiesWith("AUTHOR", "Roald Dahl"), carrying);
}

TEST_F(OrganizerTest, RenameOfAValueNotInTheListOrToABlankChangesNothing) {
    auto missing = catalogue::renameEverywhere(titles(), kTitleList, " Nothing Like It ", "New");
    EXPECT_FALSE(missing.renamed);
    EXPECT_EQ(missing.message, "Nothing Like It not found in the TITLE-data.");
    EXPECT_EQ(listRowsWith("tTitle", "TITLE", "New"), 0);

    const long long carrying = copiesWith("TITLE", "Tales of the Sea");
    auto blank = catalogue::renameEverywhere(titles(), kTitleList, "Tales of the Sea", "   ");
    EXPECT_FALSE(blank.renamed);
    EXPECT_EQ(blank.message, "The new TITLE may not be blank.\rNothing was changed.");
    EXPECT_EQ(listRowsWith("tTitle", "TITLE", "Tales of the Sea"), 1);
    EXPECT_EQ(copiesWith("TITLE", "Tales of the Sea"), carrying);
}

TEST_F(OrganizerTest, FailedCopyUpdateLeavesTheListRowUnchanged) {
    const long long carrying = copiesWith("TITLE", "Tales of the Sea");
    // The copy table refuses every change, as a locked or broken file would.
    other.execute(
        "CREATE TRIGGER refuseCopies BEFORE UPDATE ON tBUKU BEGIN SELECT RAISE(ABORT, 'refused'); "
        "END");
    EXPECT_THROW(
        catalogue::renameEverywhere(titles(), kTitleList, "Tales of the Sea", "Tales of the Ocean"),
        core::Error);
    EXPECT_EQ(listRowsWith("tTitle", "TITLE", "Tales of the Sea"), 1);
    EXPECT_EQ(listRowsWith("tTitle", "TITLE", "Tales of the Ocean"), 0);
    EXPECT_EQ(copiesWith("TITLE", "Tales of the Sea"), carrying);
    EXPECT_FALSE(data.dbTOVIRAK.inTransaction());
    // The table object shows the row as stored, and a later rename works.
    EXPECT_EQ(titles().asString("TITLE"), "Tales of the Sea");
    other.execute("DROP TRIGGER refuseCopies");
    EXPECT_TRUE(
        catalogue::renameEverywhere(titles(), kTitleList, "Tales of the Sea", "Tales of the Ocean")
            .renamed);
    EXPECT_EQ(copiesWith("TITLE", "Tales of the Ocean"), carrying);
}

TEST_F(OrganizerTest, DeleteIsRefusedWhileACopyUsesTheValueAndSucceedsOnceUnused) {
    const long long authorsBefore = authors().recordCount();
    auto refused = catalogue::deleteUnusedValue(authors(), books(), kAuthorList, " enid blyton ");
    EXPECT_FALSE(refused.deleted);
    EXPECT_EQ(refused.message,
              "ENID BLYTON still used and found in BOOK-data.\rYou can not delete this record, but "
              "edit it is "
              "possible.");
    EXPECT_EQ(authors().recordCount(), authorsBefore);
    EXPECT_EQ(books().indexName(), "iKodeBuku");

    // Every copy moves to another author.
    other.execute("UPDATE tBUKU SET AUTHOR = 'Tere Liye' WHERE AUTHOR = 'Enid Blyton'");
    auto done = catalogue::deleteUnusedValue(authors(), books(), kAuthorList, " enid blyton ");
    EXPECT_TRUE(done.deleted);
    EXPECT_EQ(done.message, "ENID BLYTON was deleted successfully.");
    EXPECT_EQ(authors().recordCount(), authorsBefore - 1);
    EXPECT_EQ(listRowsWith("tAuthor", "AUTHOR", "Enid Blyton"), 0);
    EXPECT_EQ(books().indexName(), "iKodeBuku");

    // Gone from the list: nothing more to delete.
    auto again = catalogue::deleteUnusedValue(authors(), books(), kAuthorList, "Enid Blyton");
    EXPECT_FALSE(again.deleted);
    EXPECT_EQ(again.message, "Enid Blyton not found in the AUTHOR-data.");
    EXPECT_EQ(authors().recordCount(), authorsBefore - 1);
}

TEST_F(OrganizerTest, FindListValueIgnoresCaseAndBlanks) {
    EXPECT_TRUE(catalogue::findListValue(titles(), kTitleList, "  TALES of the sea "));
    EXPECT_EQ(titles().asString("TITLE"), "Tales of the Sea");
    EXPECT_FALSE(catalogue::findListValue(titles(), kTitleList, "Tales"));
}

}  // namespace
