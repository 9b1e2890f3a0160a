// Query objects and the SQL dialect: what the windows write is accepted, what
// lies outside is refused with a clear message, typed text can never become
// SQL, and long results are walked in pages without losing a row.

#include "store/query.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/text.h"
#include "store/connection.h"
#include "store/library_fixture.h"
#include "store/sql_dialect.h"
#include "store/table.h"

namespace {

using store::sqlLiteral;

class QueryTest : public store_test::LibraryTest {
protected:
    QueryTest() {
        addBook({{"KDBARANG", "Q-1"},
                 {"TITLE", "Laskar Pelangi"},
                 {"AUTHOR", "Andrea Hirata"},
                 {"STATUS", "B"},
                 {"KELAS", "7A"}});
        addBook({{"KDBARANG", "Q-2"},
                 {"TITLE", "Laskar Pelangi 2"},
                 {"AUTHOR", "Andrea Hirata"},
                 {"STATUS", "A"},
                 {"KELAS", "8B"}});
        addBook({{"KDBARANG", "Q-3"},
                 {"TITLE", "Bumi Manusia"},
                 {"AUTHOR", "Pramoedya"},
                 {"KELAS", "7A"}});
        addBook({{"KDBARANG", "Q-4"},
                 {"TITLE", "Atlas"},
                 {"AUTHOR", "Zed"},
                 {"STATUS", "B"},
                 {"KELAS", "9C"}});
        addBook({{"KDBARANG", "Q-5"},
                 {"TITLE", "Atlas Dunia"},
                 {"AUTHOR", "abe"},
                 {"STATUS", "A"},
                 {"KELAS", "7A"}});
    }

    // The item codes a statement returns, sorted.
    std::vector<std::string> codesOf(const std::string& sql) {
        store::Query q(lib, "tqBUKU", sql);
        q.open();
        std::vector<std::string> codes;
        for (q.first(); !q.eof(); q.next()) codes.push_back(q.asString("KDBARANG"));
        std::sort(codes.begin(), codes.end());
        return codes;
    }

    // Everything a statement could have changed: every table's rows.
    std::string snapshot() {
        std::string out;
        for (const auto& name : tableNamesInFile()) {
            out += name + ":" + std::to_string(countRows(name)) + "\n";
        }
        for (const auto& r :
             lib.select("SELECT rowid, KDBARANG, TITLE, AUTHOR FROM tBUKU ORDER BY rowid"))
            out += std::get<std::string>(r[1]) + "|" + std::get<std::string>(r[2]) + "|" +
                   std::get<std::string>(r[3]) + "\n";
        return out;
    }
};

using Codes = std::vector<std::string>;

TEST_F(QueryTest, StatementsOfTheDialectReturnTheirRows) {
    struct Case {
        std::string sql;
        Codes codes;
    };
    for (const Case& c : std::vector<Case>{
             {"SELECT * FROM tBUKU", {"Q-1", "Q-2", "Q-3", "Q-4", "Q-5"}},
             {R"(SELECT * FROM tBUKU WHERE STATUS = "B")", {"Q-1", "Q-4"}},
             {R"(select * from tbuku where status <> "B")", {"Q-2", "Q-3", "Q-5"}},
             {R"(SELECT * FROM tBUKU WHERE STATUS = "Z")", {}},
             {R"(SELECT * FROM tBUKU WHERE SUBSTRING(UPPER(TITLE) FROM 1 FOR 6) = "LASKAR")",
              {"Q-1", "Q-2"}},
             {R"(SELECT * FROM tBUKU WHERE UPPER(TITLE) LIKE "%PELANGI%")", {"Q-1", "Q-2"}},
             {R"(SELECT * FROM tBUKU WHERE UPPER(TITLE) LIKE "ATLA_")", {"Q-4"}},
             {R"(SELECT * FROM tBUKU WHERE UPPER(AUTHOR) = "ABE")", {"Q-5"}},
             {R"(SELECT * FROM tBUKU WHERE STATUS = "B" AND KELAS = "7A")", {"Q-1"}},
             // AND binds closer than OR, in either case.
             {R"(SELECT * FROM tBUKU WHERE STATUS = "B" and KELAS = "7A" or AUTHOR = "abe")",
              {"Q-1", "Q-5"}},
             {R"(SELECT * FROM tBUKU WHERE KELAS = "9C" Or (STATUS = "A" AnD KELAS = "7A"))",
              {"Q-4", "Q-5"}},
             {R"(SELECT * FROM tBUKU WHERE KELAS = "7A" AND STATUS <> "B")", {"Q-3", "Q-5"}},
             {"SELECT * FROM tBUKU WHERE USIA = 0", {"Q-1", "Q-2", "Q-3", "Q-4", "Q-5"}},
             {R"(SELECT * FROM tBUKU WHERE STATUS = "B";)", {"Q-1", "Q-4"}},
         }) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(codesOf(c.sql), c.codes);
    }
}

TEST_F(QueryTest, WildcardsAreWildcardsOnlyInLike) {
    addBook({{"KDBARANG", "W-1"}, {"TITLE", "100% pure"}});
    addBook({{"KDBARANG", "W-2"}, {"TITLE", "100 percent pure"}});
    addBook({{"KDBARANG", "W-3"}, {"TITLE", "a_b"}});
    addBook({{"KDBARANG", "W-4"}, {"TITLE", "axb"}});
    struct Case {
        std::string sql;
        Codes codes;
    };
    for (const Case& c : std::vector<Case>{
             {R"(SELECT * FROM tBUKU WHERE UPPER(TITLE) LIKE "100%")", {"W-1", "W-2"}},
             {R"(SELECT * FROM tBUKU WHERE TITLE = "100% pure")", {"W-1"}},
             {R"(SELECT * FROM tBUKU WHERE UPPER(TITLE) LIKE "A_B")", {"W-3", "W-4"}},
             {R"(SELECT * FROM tBUKU WHERE TITLE = "a_b")", {"W-3"}},
         }) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(codesOf(c.sql), c.codes);
    }
}

TEST_F(QueryTest, UpdateChangesOneFieldWhereItHasTheOldValue) {
    store::Query q(lib, "tqAuthor",
                   R"(UPDATE tBUKU SET AUTHOR = "Andrea H." WHERE AUTHOR = "Andrea Hirata")");
    EXPECT_EQ(q.execute(), 2);
    EXPECT_EQ(codesOf(R"(SELECT * FROM tBUKU WHERE AUTHOR = "Andrea H.")"), (Codes{"Q-1", "Q-2"}));

    // Keywords in either case; the new value is cut to the field's width.
    q.setSql(R"(update tbuku set kelas = "10ABCDEFGHIJK" where KELAS = "9C")");
    EXPECT_EQ(q.execute(), 1);
    EXPECT_EQ(codesOf(R"(SELECT * FROM tBUKU WHERE KELAS = "10ABCDEFGH")"), (Codes{"Q-4"}));
    EXPECT_EQ(countRows("tBUKU"), 5);
}

// Number and date fields get a value of their type, or nothing at all: a row
// holding "abc" in USIA could no longer be read by anyone.
TEST_F(QueryTest, UpdateStoresTheFieldsTypeOrRefuses) {
    const std::string before = snapshot();
    for (const char* sql : {R"(UPDATE tBUKU SET USIA = "abc" WHERE USIA = "0")",
                            R"(UPDATE tBUKU SET TGBELI = "2020-02-30" WHERE TGBELI = "")",
                            R"(UPDATE tBUKU SET TGNEW = "soon" WHERE TGNEW = "")",
                            R"(UPDATE tBUKU SET GAMBAR = "x" WHERE GAMBAR = "y")"}) {
        SCOPED_TRACE(sql);
        store::Query q(lib, "tqBUKU", sql);
        EXPECT_THROW(q.execute(), core::Error);
    }
    EXPECT_EQ(snapshot(), before);
    auto typed = [&] {
        return lib.select("SELECT DISTINCT typeof(USIA), USIA, TGBELI FROM tBUKU");
    };
    store::Query q(lib, "tqBUKU", R"(UPDATE tBUKU SET USIA = " 12" WHERE USIA = "0")");
    EXPECT_EQ(q.execute(), 5);
    q.setSql(R"(UPDATE tBUKU SET TGBELI = "2020-02-29 10:11:12" WHERE TGBELI = "")");
    EXPECT_EQ(q.execute(), 5);
    auto rows = typed();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(std::get<std::string>(rows[0][0]), "integer");
    EXPECT_EQ(std::get<std::int64_t>(rows[0][1]), 12);
    EXPECT_EQ(std::get<std::string>(rows[0][2]), "2020-02-29");
}

TEST_F(QueryTest, StatementsOutsideTheDialectAreRefusedClearly) {
    struct Case {
        std::string sql;
        const char* message;  // part of the error text
    };
    const std::string before = snapshot();
    for (const Case& c : std::vector<Case>{
             {"DELETE FROM tBUKU", "Invalid SQL statement"},
             {"SELECT TITLE FROM tBUKU", "Invalid SQL statement"},
             {"SELECT TITLE, AUTHOR FROM tBUKU", "Invalid SQL statement"},
             {"SELECT * FROM tBUKU ORDER BY TITLE", "Invalid SQL statement"},
             {R"(SELECT * FROM tBUKU WHERE STATUS = "B" ORDER BY TITLE)", "Invalid SQL statement"},
             {"SELECT * FROM tBUKU UNION SELECT * FROM tHIBAH", "Invalid SQL statement"},
             {"SELECT * FROM tBUKU; DELETE FROM tBUKU", "Invalid SQL statement"},
             {"SELECT * FROM tBUKU; SELECT * FROM tHIBAH", "Invalid SQL statement"},
             {R"(INSERT INTO tBUKU (TITLE) VALUES ("x"))", "Invalid SQL statement"},
             {"DROP TABLE tBUKU", "Invalid SQL statement"},
             {R"(UPDATE tBUKU SET AUTHOR = "x" WHERE TITLE = "Atlas")", "Invalid SQL statement"},
             {R"(UPDATE tBUKU SET AUTHOR = "x")", "Invalid SQL statement"},
             {R"(UPDATE tBUKU SET AUTHOR = "x", TITLE = "y" WHERE AUTHOR = "Zed")",
              "Invalid SQL statement"},
             {R"(SELECT * FROM tBUKU WHERE TITLE = "Atlas" -- note)", "Invalid SQL statement"},
             {R"(SELECT * FROM tBUKU WHERE TITLE = "Atlas" /* note */)", "Invalid SQL statement"},
             {R"(SELECT * FROM tBUKU WHERE TITLE = "unterminated)", "unterminated"},
             {R"(SELECT * FROM tBUKU WHERE TITLE IN ("Atlas"))", "Invalid SQL statement"},
             {R"(SELECT * FROM tBUKU WHERE TITLE = "Atlas" COLLATE NOCASE)",
              "Invalid SQL statement"},
             {R"(SELECT * FROM tBUKU WHERE (TITLE = "Atlas")", "Invalid SQL statement"},
             {R"(SELECT * FROM tBUKU WHERE TITLE = [Atlas])", "Invalid SQL statement"},
             {"SELECT * FROM tBUKU WHERE", "Invalid SQL statement"},
             {"SELECT * FROM tBUKU WHERE USIA = 99999999999999999999999", "Invalid SQL statement"},
             {R"(SELECT * FROM tBUKU WHERE SUBSTRING(UPPER(TITLE) FROM 1 FOR 99999999999) = "A")",
              "Invalid SQL statement"},
             {"", "Invalid SQL statement"},
             {"SELECT * FROM tNOSUCH", "tNOSUCH"},
             {"SELECT * FROM sqlite_master", "sqlite_master"},
             {R"(SELECT * FROM tBUKU WHERE NOSUCH = "x")", "NOSUCH"},
             {R"(SELECT * FROM tBUKU WHERE LOWER(TITLE) = "x")", "LOWER"},
             {R"(UPDATE tNOSUCH SET A = "x" WHERE A = "y")", "tNOSUCH"},
         }) {
        SCOPED_TRACE(c.sql);
        store::Query q(lib, "tqBUKU", c.sql);
        for (bool run : {false, true}) {
            try {
                run ? void(q.execute()) : q.open();
                ADD_FAILURE() << "accepted";
            } catch (const core::Error& e) {
                EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            }
            EXPECT_FALSE(q.isOpen());
        }
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(QueryTest, OpenRunsOnlySelectAndExecuteOnlyUpdate) {
    store::Query select(lib, "tqBUKU", "SELECT * FROM tBUKU");
    EXPECT_THROW(select.execute(), core::Error);
    store::Query update(lib, "tqBUKU", R"(UPDATE tBUKU SET AUTHOR = "x" WHERE AUTHOR = "Zed")");
    EXPECT_THROW(update.open(), core::Error);
    EXPECT_FALSE(update.isOpen());
    EXPECT_EQ(codesOf(R"(SELECT * FROM tBUKU WHERE AUTHOR = "Zed")"), (Codes{"Q-4"}));
}

// Typed text that tries to be SQL, in every shape the windows may receive it.
const std::vector<std::string> kHostile = {
    R"(O'Brien "quoted")",
    R"(" OR "1"="1)",
    R"("; DROP TABLE tBUKU; --)",
    R"(x" UNION SELECT * FROM tHIBAH WHERE TITLE=")",
    R"(x'); DELETE FROM tBUKU; --)",
    R"(100% _under_)",
    R"(back\slash\)",
    R"(\"; DROP TABLE tBUKU; --)",
    "Ünïcödé ☃ 日本語",
    "'",
    "\"\"",
    "tab\there\nnewline",
};

TEST_F(QueryTest, LiteralsBuiltWithSqlLiteralMatchExactlyTheirText) {
    for (std::size_t i = 0; i < kHostile.size(); ++i)
        addBook({{"KDBARANG", "H-" + std::to_string(i)}, {"TITLE", kHostile[i]}});
    const std::string before = snapshot();
    for (std::size_t i = 0; i < kHostile.size(); ++i) {
        const std::string& text = kHostile[i];
        SCOPED_TRACE(text);
        const Codes one = {"H-" + std::to_string(i)};
        EXPECT_EQ(codesOf("SELECT * FROM tBUKU WHERE TITLE = " + sqlLiteral(text)), one);
        EXPECT_EQ(codesOf("SELECT * FROM tBUKU WHERE UPPER(TITLE) = " +
                          sqlLiteral(core::asciiUpper(text))),
                  one);
        EXPECT_EQ(codesOf("select * from tBUKU where TITLE <> " + sqlLiteral(text) +
                          " and KDBARANG = " + sqlLiteral(one[0])),
                  Codes{});
    }
    EXPECT_EQ(snapshot(), before);

    // An UPDATE with such literals changes exactly the one row, to exactly the text.
    for (std::size_t i = 0; i < kHostile.size(); ++i) {
        const std::string& text = kHostile[i];
        SCOPED_TRACE(text);
        store::Query q(lib, "tqTitle",
                       "UPDATE tBUKU SET TITLE = " + sqlLiteral(text + "!") +
                           " WHERE TITLE = " + sqlLiteral(text));
        EXPECT_EQ(q.execute(), 1);
        EXPECT_EQ(codesOf("SELECT * FROM tBUKU WHERE TITLE = " + sqlLiteral(text + "!")),
                  Codes{"H-" + std::to_string(i)});
    }
    EXPECT_EQ(countRows("tBUKU"), static_cast<long long>(5 + kHostile.size()));
    EXPECT_EQ(tableNamesInFile().size(), 16u);
}

// The backend SQL a statement compiles to is made of field names, the
// dialect's operators and functions, and parameter marks: nothing from inside
// a literal. Returns the first piece that is something else, or "".
std::string foreignPieceOf(const std::string& backendSql, const store::TableDef& table) {
    static const std::regex piece(
        R"(^\s*("(?:[^"]|"")*"|\?|=|<>|LIKE|AND|OR|upper|substr|\(|\)|,|[0-9]+))");
    std::string rest = backendSql;
    std::smatch m;
    while (!core::trim(rest).empty()) {
        if (!std::regex_search(rest, m, piece)) return rest;
        std::string p = m[1];
        if (p.front() == '"') {
            std::string name = p.substr(1, p.size() - 2);
            bool known = false;
            for (const auto& f : table.fields) known = known || f.name == name;
            if (!known) return p;
        }
        rest = m.suffix();
    }
    return "";
}

TEST_F(QueryTest, TextPastedRawBetweenQuotesNeverBecomesSql) {
    const std::string before = snapshot();
    const store::TableDef& books = *lib.tableLayout("tBUKU");
    int withinGrammar = 0;
    for (const std::string& text : kHostile) {
        for (const std::string& sql : {
                 "SELECT * FROM tBUKU WHERE TITLE = \"" + text + "\"",
                 "SELECT * FROM tBUKU WHERE UPPER(TITLE) LIKE \"%" + text + "%\"",
                 "UPDATE tBUKU SET TITLE = \"" + text + "\" WHERE TITLE = \"nothing\"",
                 "UPDATE tBUKU SET TITLE = \"new\" WHERE TITLE = \"" + text + "\"",
             }) {
            SCOPED_TRACE(sql);
            store::CompiledStatement compiled;
            try {
                compiled = store::compileStatement(sql, lib);
            } catch (const core::Error&) {
                continue;  // refused by the dialect: nothing reached the engine
            }
            ++withinGrammar;
            EXPECT_EQ(foreignPieceOf(compiled.where.sql, books), "");
            // Within the grammar it runs as the dialect reads it, and nothing but
            // rows titled "nothing" may be touched by the UPDATEs.
            store::Query q(lib, "tqBUKU", sql);
            if (compiled.kind == store::CompiledStatement::Kind::Update)
                q.execute();
            else
                q.open();
        }
    }
    EXPECT_GT(withinGrammar, 0);  // " OR "1"="1 and its kind stay statements of the dialect
    EXPECT_EQ(snapshot(), before);
}

// ---------------------------------------------------------------------------
// Paging

class PagingTest : public store_test::LibraryTest {
protected:
    static constexpr int kRows = 3 * static_cast<int>(store::Query::kPageSize) + 7;
    PagingTest() {
        lib.begin();
        store::Table t(lib, "tBUKU");
        t.open();
        for (int i = 0; i < kRows; ++i) {
            t.insert();
            t.setString("KDBARANG", code(i));
            t.setString("JENIS", "1");
            t.post();
        }
        lib.commit();
    }
    static std::string code(int i) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "P-%04d", i);
        return buf;
    }
    std::set<std::string> allCodes() {
        std::set<std::string> all;
        for (int i = 0; i < kRows; ++i) all.insert(code(i));
        return all;
    }
};

TEST_F(PagingTest, WalkVisitsEveryRowOfALongResultOnce) {
    store::Query q(lib, "tqBUKU", R"(SELECT * FROM tBUKU WHERE JENIS = "1")");
    q.open();
    EXPECT_EQ(q.fetchedCount(), store::Query::kPageSize);  // the rest is fetched as needed
    EXPECT_EQ(q.recordCount(), kRows);
    std::vector<std::string> seen;
    for (q.first(); !q.eof(); q.next()) seen.push_back(q.asString("KDBARANG"));
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kRows));
    EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()), allCodes());
    EXPECT_EQ(q.recordCount(), kRows);
}

// Another workstation deletes rows while this one walks a long result: every
// row that is still there is visited, none twice.
TEST_F(PagingTest, RowsDeletedElsewhereDuringTheWalkDoNotHideOthers) {
    store::Connection other("dbTOVIRAK");
    other.setFileName(inst.library());
    other.open();

    store::Query q(lib, "tqBUKU", "SELECT * FROM tBUKU");
    q.open();
    std::vector<std::string> seen;
    q.first();
    for (int i = 0; i < 200; ++i, q.next()) seen.push_back(q.asString("KDBARANG"));
    other.execute("DELETE FROM tBUKU WHERE KDBARANG IN (?, ?)", {code(10), code(600)});
    for (; !q.eof(); q.next()) seen.push_back(q.asString("KDBARANG"));

    std::set<std::string> expected = allCodes();
    expected.erase(code(600));  // gone before the walk reached it
    EXPECT_EQ(seen.size(), expected.size());
    EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()), expected);
}

}  // namespace
