// What the book detail window shows of the shared query's current row.

#include "search/book_detail.h"

#include <gtest/gtest.h>

#include "search/search_statements.h"
#include "store/connection.h"
#include "store/query.h"
#include "store/table.h"
#include "support/fixture.h"

namespace {

class BookDetailTest : public ::testing::Test {
protected:
    BookDetailTest() {
        lib.setFileName(inst.library());
        lib.open();
        store::Table t(lib, "tBUKU");
        t.open();
        for (const char* code : {"1202611020001", "1202611020002"}) {
            t.insert();
            t.setString("KDBARANG", code);
            t.setString("TITLE", "  Padded Title  ");
            t.setString("AUTHOR", "Author " + std::string(code).substr(12));
            t.setString("PUBLISHER", "Pub");
            t.setString("CNKLS", "LIB");
            t.setString("CNRAK", "R01");
            t.setString("CNBRS", "002");
            t.setString("DDC", "813");
            t.setString("UDC", "8");
            t.setString("BAHASA", "ENG");
            t.setString("KEYWORD", "sea");
            t.setString("ISBN", "978-0");
            t.setString("OC", "O");
            t.setString("KONDISI", "100%");
            t.setString("KELAS", "5");
            t.setString("USIA", "12");
            t.setString("STATUS", "B");
            t.setString("KDANGGOTA", "ANI.WATI");
            t.setString("TGPINJAM", "2026-12-01");
            t.post();
        }
    }
    testing_support::TempInstallation inst;
    store::Connection lib{"dbTOVIRAK"};
};

TEST_F(BookDetailTest, CurrentRowTrimmedFieldByField) {
    store::Query q(lib, "tqBUKU", "SELECT * FROM tBUKU");
    q.open();
    q.next();
    const search::BookDetail d = search::bookDetailOf(q);
    EXPECT_EQ(d.title, "Padded Title");
    EXPECT_EQ(d.author, "Author 2");
    EXPECT_EQ(d.itemCode, "1202611020002");
    EXPECT_EQ(d.room + "|" + d.rack + "|" + d.row, "LIB|R01|002");
    EXPECT_EQ(d.ddc + "|" + d.udc + "|" + d.language + "|" + d.keyword + "|" + d.isbn,
              "813|8|ENG|sea|978-0");
    EXPECT_EQ(
        d.originalOrCopy + "|" + d.condition + "|" + d.schoolClass + "|" + d.age + "|" + d.status,
        "O|100%|5|12|B");
    EXPECT_EQ(d.borrower + "|" + d.borrowDate, "ANI.WATI|2026-12-01");
}

TEST_F(BookDetailTest, EmptyOrClosedResultGivesEmptyBoxes) {
    store::Query q(lib, "tqBUKU",
                   search::bookSearchStatement(search::BookSearch::ItemCode, "none"));
    q.open();
    ASSERT_TRUE(q.isEmpty());
    EXPECT_EQ(search::bookDetailOf(q).title, "");
    q.close();
    const search::BookDetail d = search::bookDetailOf(q);
    EXPECT_EQ(d.title + d.itemCode + d.borrowDate, "");
}

}  // namespace
