// Table objects over a created installation: names, widths, find by key,
// navigation in index order, editing, filters, emptying and transactions.

#include "store/table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/text.h"
#include "store/connection.h"
#include "store/library_fixture.h"

namespace {

using store_test::FieldValues;

class TableTest : public store_test::LibraryTest {};

// The item codes of the records a forward walk visits.
std::vector<std::string> walkCodes(store::Table& t) {
    std::vector<std::string> codes;
    for (t.first(); !t.eof(); t.next()) codes.push_back(t.asString("KDBARANG"));
    return codes;
}

// ---------------------------------------------------------------------------
// Names and widths

TEST_F(TableTest, IndexNamesMatchWhateverTheirCase) {
    addBook({{"KDBARANG", "B-1"}, {"AUTHOR", "Ahmad Tohari"}, {"CNKLS", "K12"}});
    addRow("tAuthor", {{"AUTHOR", "Ahmad Tohari"}});
    struct Case {
        const char* table;
        const char* index;
        const char* key;
        const char* field;
    };
    for (const Case& c : std::vector<Case>{{"tBUKU", "iAuthor", "Ahmad Tohari", "AUTHOR"},
                                           {"tBUKU", "iAUTHOR", "Ahmad Tohari", "AUTHOR"},
                                           {"tAuthor", "iAuthor", "Ahmad Tohari", "AUTHOR"},
                                           {"tAuthor", "iAUTHOR", "Ahmad Tohari", "AUTHOR"},
                                           {"tBUKU", "ilOPNAME", "K12", "CNKLS"},
                                           {"tBUKU", "iLOPNAME", "K12", "CNKLS"},
                                           {"tBUKU", "IKODEBUKU", "B-1", "KDBARANG"}}) {
        SCOPED_TRACE(std::string(c.table) + " " + c.index);
        store::Table t(lib, c.table);
        t.setIndexName(c.index);
        t.open();
        EXPECT_TRUE(t.findKey({c.key}));
        EXPECT_EQ(t.asString(c.field), c.key);
    }
}

TEST_F(TableTest, UnknownIndexIsAnErrorOpenOrClosed) {
    store::Table t(lib, "tBUKU");
    t.setIndexName("iNOSUCH");
    EXPECT_THROW(t.open(), core::Error);
    EXPECT_FALSE(t.isOpen());

    t.setIndexName("iTitle");
    t.open();
    EXPECT_THROW(t.setIndexName("iNOSUCH"), core::Error);
    EXPECT_EQ(t.indexName(), "iTitle");
    EXPECT_TRUE(t.isOpen());
}

TEST_F(TableTest, FieldNamesMatchWhateverTheirCase) {
    store::Table t(lib, "tBUKU");
    t.open();
    t.insert();
    t.setString("KdBarang", "B-7");
    t.setString("title", "Ronggeng");
    t.setInteger("Usia", 12);
    t.post();
    EXPECT_EQ(t.asString("KDBARANG"), "B-7");
    EXPECT_EQ(t.asString("kdbarang"), "B-7");
    EXPECT_EQ(t.asString("KdBarang"), "B-7");
    EXPECT_EQ(t.asString("TITLE"), "Ronggeng");
    EXPECT_EQ(t.asInteger("USIA"), 12);
    EXPECT_THROW(t.asString("NOSUCHFIELD"), core::Error);
    t.edit();
    EXPECT_THROW(t.setString("NOSUCHFIELD", "x"), core::Error);
    t.cancel();
}

TEST_F(TableTest, LongTextIsCutToTheFieldWidthInCharacters) {
    struct Case {
        const char* table;
        const char* field;
        std::string input;
        std::string stored;
    };
    const std::string e150 = [] {
        std::string s;
        for (int i = 0; i < 150; ++i) s += "é";
        return s;
    }();
    int rows = 0;
    for (const Case& c : std::vector<Case>{
             {"tBUKU", "BAHASA", "ENGLISH", "ENG"},
             {"tBUKU", "BAHASA", "ID", "ID"},
             {"tBUKU", "BAHASA", "Ελληνικά", "Ελλ"},
             {"tBUKU", "BAHASA", "😀😀😀😀", "😀😀😀"},
             {"tBUKU", "CNKLS", "日本語テキスト", "日本語"},
             {"tBUKU", "UDC", "123", "1"},
             {"tBUKU", "IO", "XY", "X"},
             {"tBUKU", "KDBARANG", "12012012345678901234", "1201201234567890"},
             {"tBUKU", "TITLE", e150, e150.substr(0, 200)},  // 100 two-byte characters
             {"tUDC", "Keterangan", "Generalities and more", "Generalities a"},
             {"tANGGOTA", "KELAS", "VII-A", "VII"},
         }) {
        SCOPED_TRACE(std::string(c.table) + "." + c.field + " <- " + c.input);
        FieldValues values = {{c.field, c.input}};
        // Copies need an item code of their own: the code index is unique.
        if (std::string(c.table) == "tBUKU" && std::string(c.field) != "KDBARANG")
            values.push_back({"KDBARANG", "W-" + std::to_string(++rows)});
        long long id = addRow(c.table, values);
        EXPECT_EQ(storedText(c.table, c.field, id), c.stored);
    }
}

// ---------------------------------------------------------------------------
// Find by key

class FindTest : public TableTest {
protected:
    FindTest() {
        addBook({{"KDBARANG", "B-0001"},
                 {"TITLE", "Laskar Pelangi"},
                 {"AUTHOR", "Andrea Hirata"},
                 {"DDC", "899"},
                 {"UDC", "8"}});
        addBook({{"KDBARANG", "B-0002"},
                 {"TITLE", "laskar pelangi"},
                 {"AUTHOR", "Hirata"},
                 {"DDC", "899"},
                 {"UDC", "7"}});
        addBook({{"KDBARANG", "B-0003"},
                 {"TITLE", "Bumi Manusia"},
                 {"AUTHOR", "Pramoedya"},
                 {"DDC", "899"},
                 {"UDC", "8"}});
        addBook({{"KDBARANG", "B-0004"},
                 {"TITLE", "Atlas"},
                 {"AUTHOR", "Zed"},
                 {"DDC", "912"},
                 {"UDC", "9"}});
        addBook({{"KDBARANG", "B-0005"},
                 {"TITLE", "ATLAS"},
                 {"AUTHOR", "Abe"},
                 {"DDC", "899"},
                 {"UDC", "1"}});
        books.open();
    }
    store::Table books{lib, "tBUKU", "tbBUKU"};
};

TEST_F(FindTest, FirstMatchInIndexOrderBecomesCurrent) {
    struct Case {
        const char* index;
        std::vector<std::string> values;
        const char* expected;  // nullptr: no match
    };
    for (const Case& c : std::vector<Case>{
             {"iKodeBuku", {"B-0003"}, "B-0003"},
             {"iKodeBuku", {"b-0003"}, "B-0003"},
             {"iKodeBuku", {"B-0009"}, nullptr},
             {"iTitle", {"LASKAR PELANGI"}, "B-0001"},
             {"iTitle", {"atlas"}, "B-0004"},
             {"iTitle", {"Laskar"}, nullptr},
             // Fewer values than key fields match the leading fields only.
             {"iDDC", {"899"}, "B-0005"},
             {"iDDC", {"899", "8"}, "B-0001"},
             {"iDDC", {"899", "8", "Pramoedya"}, "B-0003"},
             {"iDDC", {"899", "8", "PRAMOEDYA"}, "B-0003"},
             {"iDDC", {"912", "8"}, nullptr},
         }) {
        SCOPED_TRACE(std::string(c.index) + " " + c.values.front() + " (" +
                     std::to_string(c.values.size()) + " values)");
        books.setIndexName(c.index);
        bool found = books.findKey(c.values);
        EXPECT_EQ(found, c.expected != nullptr);
        if (found && c.expected) {
            EXPECT_EQ(books.asString("KDBARANG"), c.expected);
        }
    }
}

TEST_F(FindTest, MoreValuesThanKeyFieldsIsAnError) {
    books.setIndexName("iKodeBuku");
    EXPECT_THROW(books.findKey({"B-0001", "x"}), core::Error);
    books.setIndexName("iDDC");
    EXPECT_THROW(books.findKey({"899", "8", "Pramoedya", "x"}), core::Error);
    EXPECT_TRUE(books.findKey({"899", "8", "Pramoedya"}));
}

TEST_F(FindTest, FindNeedsAnOpenTableAndAnIndex) {
    store::Table t(lib, "tBUKU");
    t.setIndexName("iKodeBuku");
    EXPECT_THROW(t.findKey({"B-0001"}), core::Error);
    store::Table unindexed(lib, "tBUKU");
    unindexed.open();
    EXPECT_THROW(unindexed.findKey({"B-0001"}), core::Error);
}

TEST_F(FindTest, NavigationContinuesInIndexOrderFromTheFoundRecord) {
    books.setIndexName("iTitle");
    ASSERT_TRUE(books.findKey({"atlas"}));
    std::vector<std::string> rest;
    for (; !books.eof(); books.next()) rest.push_back(books.asString("KDBARANG"));
    EXPECT_EQ(rest, (std::vector<std::string>{"B-0004", "B-0005", "B-0003", "B-0001", "B-0002"}));
}

TEST_F(FindTest, PendingEditIsPostedBeforeTheLookup) {
    books.setIndexName("iKodeBuku");
    ASSERT_TRUE(books.findKey({"B-0002"}));
    long long id = books.rowId();
    books.edit();
    books.setString("TITLE", "Sang Pemimpi");
    EXPECT_TRUE(books.findKey({"B-0004"}));
    EXPECT_EQ(storedText("tBUKU", "TITLE", id), "Sang Pemimpi");
}

// An insert nobody wrote into is dropped by the lookup, not stored as a blank row.
TEST_F(FindTest, UntouchedInsertIsDroppedBeforeTheLookup) {
    books.setIndexName("iKodeBuku");
    books.insert();
    EXPECT_TRUE(books.findKey({"B-0004"}));
    EXPECT_EQ(countRows("tBUKU"), 5);
    EXPECT_EQ(books.state(), store::Table::State::Browse);

    books.insert();
    books.setString("KDBARANG", "B-0006");
    EXPECT_TRUE(books.findKey({"B-0006"}));
    EXPECT_EQ(countRows("tBUKU"), 6);
}

// Login names and passwords are the one key that compares with regard to case.
TEST(LoginIndex, ComparesWithRegardToCase) {
    testing_support::TempInstallation inst;
    store::Connection users("dbSETSRV");
    users.setFileName(inst.users());
    users.open();
    store::Table user(users, "USER", "tbUSER");
    user.setIndexName("iUsername");
    user.open();
    EXPECT_TRUE(user.findKey({"Admin", "admin"}));
    EXPECT_EQ(user.asInteger("USERLEVEL"), 1);
    EXPECT_TRUE(user.findKey({"Admin"}));
    EXPECT_FALSE(user.findKey({"admin", "admin"}));
    EXPECT_FALSE(user.findKey({"Admin", "ADMIN"}));
}

// ---------------------------------------------------------------------------
// Navigation

// Rows with many equal keys (also equal without regard to case), so that the
// keyset walk has to break ties level by level and finally by row id.
class NavigationTest : public TableTest {
protected:
    NavigationTest() {
        const char* titles[] = {"alpha", "Alpha", "ALPHA", "beta", "Beta", "gamma"};
        const char* authors[] = {"x", "X", "y"};
        const char* ddcs[] = {"100", "200", "100", "300"};
        const char* rooms[] = {"K1", "k1", "K2"};
        const char* dates[] = {"2020-01-01 10:00:00", "2019-12-31 23:59:59", "2020-01-01 10:00:00"};
        lib.begin();
        store::Table t(lib, "tBUKU");
        t.open();
        for (int i = 0; i < 60; ++i) {
            t.insert();
            t.setString("KDBARANG", "N-" + std::to_string(i));
            t.setString("TITLE", titles[(i * 7) % 6]);
            t.setString("AUTHOR", authors[(i * 5) % 3]);
            t.setString("DDC", ddcs[(i * 3) % 4]);
            t.setString("UDC", std::to_string((i * 11) % 2));
            t.setString("CNKLS", rooms[i % 3]);
            t.setString("CNRAK", i % 2 ? "R1" : "r1");
            t.setString("CNBRS", i % 5 ? "001" : "002");
            t.setString("TGNEW", dates[(i * 13) % 3]);
            t.post();
        }
        lib.commit();
    }

    // Row ids in the order of the index: key fields without regard to case, then row id.
    std::vector<long long> expectedOrder(const std::vector<std::string>& keys) {
        std::string cols = "rowid";
        for (const auto& k : keys) cols += ", \"" + k + "\"";
        struct Row {
            long long id;
            std::vector<std::string> key;
        };
        std::vector<Row> rows;
        for (const auto& r : lib.select("SELECT " + cols + " FROM tBUKU")) {
            Row row{std::get<std::int64_t>(r[0]), {}};
            for (std::size_t i = 1; i < r.size(); ++i)
                row.key.push_back(core::asciiLower(std::get<std::string>(r[i])));
            rows.push_back(row);
        }
        std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
            return a.key != b.key ? a.key < b.key : a.id < b.id;
        });
        std::vector<long long> ids;
        for (const auto& r : rows) ids.push_back(r.id);
        return ids;
    }
};

TEST_F(NavigationTest, WalksEveryRecordOnceInIndexOrderBothWays) {
    struct Case {
        const char* index;
        std::vector<std::string> keys;
    };
    for (const Case& c : std::vector<Case>{{"", {}},
                                           {"iTitle", {"TITLE"}},
                                           {"iDDC", {"DDC", "UDC", "AUTHOR"}},
                                           {"ilOPNAME", {"CNKLS", "CNRAK", "CNBRS"}},
                                           {"iTGNEW", {"TGNEW"}}}) {
        SCOPED_TRACE(c.index);
        store::Table t(lib, "tBUKU");
        t.setIndexName(c.index);
        t.open();
        std::vector<long long> expected = expectedOrder(c.keys);
        EXPECT_EQ(t.recordCount(), 60);

        std::vector<long long> forward;
        for (t.first(); !t.eof(); t.next()) forward.push_back(t.rowId());
        EXPECT_EQ(forward, expected);

        std::vector<long long> backward;
        for (t.last(); !t.bof(); t.prior()) backward.push_back(t.rowId());
        std::reverse(expected.begin(), expected.end());
        EXPECT_EQ(backward, expected);
    }
}

TEST_F(TableTest, EmptyTableHasNoRecordWhateverTheMove) {
    store::Table t(lib, "tKARTU");
    t.open();
    EXPECT_TRUE(t.eof());
    EXPECT_TRUE(t.bof());
    EXPECT_FALSE(t.hasRecord());
    EXPECT_EQ(t.recordCount(), 0);
    t.setIndexName("iKDBARANG");
    EXPECT_TRUE(t.eof());
    for (auto move :
         {&store::Table::first, &store::Table::next, &store::Table::last, &store::Table::prior}) {
        (t.*move)();
        EXPECT_TRUE(t.eof());
        EXPECT_FALSE(t.hasRecord());
    }
    EXPECT_EQ(t.asString("KDBARANG"), "");
    EXPECT_THROW(t.edit(), core::Error);
    EXPECT_THROW(t.remove(), core::Error);
}

// ---------------------------------------------------------------------------
// Editing

class EditTest : public TableTest {
protected:
    EditTest() {
        for (const char* code : {"E-1", "E-2", "E-3"})
            addBook({{"KDBARANG", code}, {"TITLE", std::string("Title ") + code}});
        books.setIndexName("iKodeBuku");
        books.open();
    }
    store::Table books{lib, "tBUKU", "tbBUKU"};
};

TEST_F(EditTest, InsertPostMakesTheNewRecordCurrent) {
    books.insert();
    EXPECT_EQ(books.state(), store::Table::State::Insert);
    books.setString("KDBARANG", "E-0");
    books.setString("TITLE", "Inserted");
    books.setString("TGNEW", "2021-04-05 06:07:08");
    books.post();
    EXPECT_EQ(books.state(), store::Table::State::Browse);
    EXPECT_EQ(countRows("tBUKU"), 4);
    EXPECT_EQ(books.asString("KDBARANG"), "E-0");
    EXPECT_EQ(books.asDateTime("TGNEW"), core::DateTime::fromParts(2021, 4, 5, 6, 7, 8));
    EXPECT_EQ(storedText("tBUKU", "TITLE", books.rowId()), "Inserted");
    EXPECT_EQ(walkCodes(books), (std::vector<std::string>{"E-0", "E-1", "E-2", "E-3"}));
}

TEST_F(EditTest, CancelKeepsTheStoredRecordAndPostWritesIt) {
    ASSERT_TRUE(books.findKey({"E-2"}));
    long long id = books.rowId();
    books.edit();
    books.setString("TITLE", "Changed");
    books.cancel();
    EXPECT_EQ(books.state(), store::Table::State::Browse);
    EXPECT_EQ(books.asString("TITLE"), "Title E-2");
    EXPECT_EQ(storedText("tBUKU", "TITLE", id), "Title E-2");

    books.edit();
    books.setString("TITLE", "Changed");
    books.post();
    EXPECT_EQ(books.asString("TITLE"), "Changed");
    EXPECT_EQ(storedText("tBUKU", "TITLE", id), "Changed");
    EXPECT_EQ(countRows("tBUKU"), 3);
}

TEST_F(EditTest, RemoveMakesTheNeighbourCurrent) {
    ASSERT_TRUE(books.findKey({"E-2"}));
    books.remove();
    EXPECT_EQ(books.asString("KDBARANG"), "E-3");
    EXPECT_FALSE(books.eof());
    books.remove();  // the last in index order: the previous one becomes current
    EXPECT_EQ(books.asString("KDBARANG"), "E-1");
    books.remove();
    EXPECT_FALSE(books.hasRecord());
    EXPECT_TRUE(books.eof());
    EXPECT_EQ(countRows("tBUKU"), 0);
}

TEST_F(EditTest, RefusedInsertLeavesNothingPending) {
    ASSERT_TRUE(books.findKey({"E-2"}));
    books.insert();
    books.setString("KDBARANG", "e-3");  // the code index ignores case
    try {
        books.post();
        FAIL() << "a duplicate item code was posted";
    } catch (const core::Error& e) {
        EXPECT_NE(std::string(e.what()).find("Key violation"), std::string::npos) << e.what();
    }
    EXPECT_EQ(books.state(), store::Table::State::Browse);
    EXPECT_EQ(countRows("tBUKU"), 3);
    EXPECT_EQ(books.asString("KDBARANG"), "E-2");
    // Nothing is left to be posted by the next move or lookup.
    EXPECT_EQ(walkCodes(books), (std::vector<std::string>{"E-1", "E-2", "E-3"}));
    EXPECT_TRUE(books.findKey({"E-1"}));
    EXPECT_EQ(countRows("tBUKU"), 3);
}

TEST_F(EditTest, RefusedEditLeavesTheStoredRecord) {
    ASSERT_TRUE(books.findKey({"E-1"}));
    long long id = books.rowId();
    books.edit();
    books.setString("TITLE", "Lost");
    books.setString("KDBARANG", "E-2");
    EXPECT_THROW(books.post(), core::Error);
    EXPECT_EQ(books.state(), store::Table::State::Browse);
    EXPECT_EQ(books.asString("KDBARANG"), "E-1");
    EXPECT_EQ(books.asString("TITLE"), "Title E-1");
    EXPECT_EQ(storedText("tBUKU", "TITLE", id), "Title E-1");
    books.next();
    EXPECT_EQ(storedText("tBUKU", "KDBARANG", id), "E-1");
}

TEST_F(EditTest, TextThatIsNotANumberOrDateIsRefusedAndNothingChanges) {
    ASSERT_TRUE(books.findKey({"E-1"}));
    books.edit();
    books.setString("USIA", "12");
    EXPECT_THROW(books.setString("USIA", "twelve"), core::Error);
    EXPECT_THROW(books.setString("TGBELI", "2021-02-30"), core::Error);
    EXPECT_THROW(books.setString("DENDA", "1"), core::Error);  // tBUKU has no such field
    EXPECT_EQ(books.asInteger("USIA"), 12);
    books.post();
    EXPECT_EQ(books.asInteger("USIA"), 12);
    EXPECT_EQ(books.asString("TGBELI"), "");
}

TEST_F(EditTest, WritingNeedsEditOrInsert) {
    ASSERT_TRUE(books.findKey({"E-1"}));
    EXPECT_THROW(books.setString("TITLE", "x"), core::Error);
}

// ---------------------------------------------------------------------------
// Filters

class FilterTest : public TableTest {
protected:
    FilterTest() {
        addBook({{"KDBARANG", "F-1"},
                 {"KDFANGGOTA", "ANI.SANTOSO"},
                 {"KELAS", "7A"},
                 {"TGNEW", "2020-03-01 08:15:00"}});
        addBook({{"KDBARANG", "F-2"},
                 {"KDFANGGOTA", "BUDI.SANTOSO"},
                 {"KELAS", "7A"},
                 {"TGNEW", "2020-03-01 23:59:59"}});
        addBook({{"KDBARANG", "F-3"},
                 {"KDFANGGOTA", "ANI.SANTOSO"},
                 {"KELAS", "8B"},
                 {"TGNEW", "2020-03-02 00:00:00"}});
        addBook({{"KDBARANG", "F-4"},
                 {"KDFANGGOTA", ""},
                 {"KELAS", "9C"},
                 {"TGNEW", "2020-02-29 12:00:00"}});
        books.setIndexName("iKodeBuku");
        books.open();
    }
    store::Table books{lib, "tBUKU", "tbBUKU"};
};

TEST_F(FilterTest, FilterLimitsNavigationAndCount) {
    struct Case {
        const char* expression;
        std::vector<std::string> codes;
    };
    for (const Case& c : std::vector<Case>{
             {R"(KDFANGGOTA="ANI.SANTOSO")", {"F-1", "F-3"}},
             {R"(KELAS="7A")", {"F-1", "F-2"}},
             // A date-time field compared with a date compares the date part.
             {"TGNEW = '2020-03-01'", {"F-1", "F-2"}},
             {R"(TGNEW = "2020-02-29")", {"F-4"}},
             {R"(KELAS="7A" and KDFANGGOTA="BUDI.SANTOSO")", {"F-2"}},
             {R"(KELAS = "8B" OR TGNEW = '2020-02-29')", {"F-3", "F-4"}},
             {R"(KDFANGGOTA="NOBODY")", {}},
         }) {
        SCOPED_TRACE(c.expression);
        books.setFilter(c.expression);
        books.setFiltered(true);
        EXPECT_EQ(walkCodes(books), c.codes);
        EXPECT_EQ(books.recordCount(), static_cast<std::int64_t>(c.codes.size()));
        books.setFiltered(false);
        EXPECT_EQ(books.recordCount(), 4);
    }
}

TEST_F(FilterTest, BadFilterIsRefusedAndTheTableStaysUnfiltered) {
    books.setFilter("KELAS = ");
    EXPECT_THROW(books.setFiltered(true), core::Error);
    EXPECT_FALSE(books.filtered());
    EXPECT_TRUE(books.isOpen());
    EXPECT_EQ(books.recordCount(), 4);
    books.setFilter("NOSUCHFIELD = \"x\"");
    EXPECT_THROW(books.setFiltered(true), core::Error);
    EXPECT_EQ(walkCodes(books).size(), 4u);
}

// ---------------------------------------------------------------------------
// Emptying a table

class EmptyingTest : public TableTest {
protected:
    EmptyingTest() {
        other.setFileName(inst.library());
        other.setMultiUser(true);
        other.open();
        fill();
        mine.setIndexName("iKodeBuku");
        mine.open();
    }
    void fill() {
        for (const char* code : {"X-1", "X-2", "X-3"}) addBook({{"KDBARANG", code}});
    }
    // Another workstation on the same library file.
    store::Connection other{"dbTOVIRAK"};
    store::Table mine{lib, "tBUKU", "tbBUKU"};
};

TEST_F(EmptyingTest, UnsharedTableIsEmptiedAndEndsOpen) {
    EXPECT_TRUE(mine.emptyTable());
    EXPECT_EQ(countRows("tBUKU"), 0);
    EXPECT_TRUE(mine.isOpen());
    EXPECT_EQ(mine.indexName(), "iKodeBuku");
    EXPECT_EQ(mine.recordCount(), 0);
}

TEST_F(EmptyingTest, TableOpenAtAnotherWorkstationKeepsItsRecords) {
    store::Table theirs(other, "tBUKU");
    theirs.open();

    EXPECT_FALSE(mine.emptyTable());
    EXPECT_EQ(countRows("tBUKU"), 3);
    EXPECT_TRUE(mine.isOpen());
    EXPECT_EQ(walkCodes(mine), (std::vector<std::string>{"X-1", "X-2", "X-3"}));
    EXPECT_TRUE(theirs.isOpen());
    EXPECT_EQ(theirs.recordCount(), 3);

    theirs.close();
    EXPECT_TRUE(mine.emptyTable());
    EXPECT_EQ(countRows("tBUKU"), 0);
    EXPECT_TRUE(mine.isOpen());
}

// Each table has its own mark: every other library table open at the other
// workstation leaves the one being emptied free.
TEST_F(EmptyingTest, OtherTablesOpenElsewhereDoNotBlock) {
    const std::vector<std::string> names = tableNamesInFile();
    ASSERT_EQ(names.size(), 16u);
    for (const auto& target : names) {
        SCOPED_TRACE(target);
        std::vector<std::unique_ptr<store::Table>> theirs;
        for (const auto& name : names) {
            if (core::equalsIgnoreCase(name, target)) continue;
            theirs.push_back(std::make_unique<store::Table>(other, name));
            theirs.back()->open();
        }
        store::Table t(lib, target);
        t.open();
        EXPECT_TRUE(t.emptyTable());
    }
    EXPECT_EQ(countRows("tBUKU"), 0);
}

// A workstation that closed its connection has no table open any more.
TEST_F(EmptyingTest, ClosedConnectionElsewhereDoesNotBlock) {
    store::Table theirs(other, "tBUKU");
    theirs.open();
    other.close();
    EXPECT_FALSE(theirs.isOpen());
    EXPECT_TRUE(mine.emptyTable());
    EXPECT_EQ(countRows("tBUKU"), 0);

    other.open();
    fill();
    theirs.open();
    EXPECT_FALSE(mine.emptyTable());
    EXPECT_EQ(countRows("tBUKU"), 3);
}

// ---------------------------------------------------------------------------
// Transactions

TEST_F(TableTest, RollbackUndoesPostsMadeThroughTableObjects) {
    long long kept = addBook({{"KDBARANG", "T-1"}, {"TITLE", "Kept"}});
    store::Table books(lib, "tBUKU");
    books.setIndexName("iKodeBuku");
    books.open();
    {
        store::Transaction tx(lib);
        books.insert();
        books.setString("KDBARANG", "T-2");
        books.post();
        ASSERT_TRUE(books.findKey({"T-1"}));
        books.edit();
        books.setString("TITLE", "Changed");
        books.post();
        EXPECT_EQ(countRows("tBUKU"), 2);
    }  // left without commit
    EXPECT_EQ(countRows("tBUKU"), 1);
    EXPECT_EQ(storedText("tBUKU", "TITLE", kept), "Kept");
    books.refresh();
    EXPECT_EQ(books.asString("TITLE"), "Kept");
    EXPECT_FALSE(books.findKey({"T-2"}));
    EXPECT_FALSE(lib.inTransaction());

    {
        store::Transaction tx(lib);
        books.insert();
        books.setString("KDBARANG", "T-3");
        books.post();
        tx.commit();
    }
    EXPECT_EQ(countRows("tBUKU"), 2);
}

// An inner transaction that is rolled back undoes its own posts only; the
// outer one still commits what it posted before and after.
TEST_F(TableTest, NestedRollbackUndoesOnlyTheInnerPosts) {
    store::Table books(lib, "tBUKU");
    books.open();
    auto post = [&](const char* code) {
        books.insert();
        books.setString("KDBARANG", code);
        books.post();
    };
    {
        store::Transaction outer(lib);
        post("O-1");
        try {
            store::Transaction inner(lib);
            post("I-1");
            throw std::runtime_error("inner step failed");
        } catch (const std::runtime_error&) {
        }
        EXPECT_TRUE(lib.inTransaction());
        post("O-2");
        outer.commit();
    }
    EXPECT_FALSE(lib.inTransaction());
    std::vector<std::string> codes;
    for (const auto& r : lib.select("SELECT KDBARANG FROM tBUKU ORDER BY KDBARANG"))
        codes.push_back(std::get<std::string>(r[0]));
    EXPECT_EQ(codes, (std::vector<std::string>{"O-1", "O-2"}));
}

}  // namespace
