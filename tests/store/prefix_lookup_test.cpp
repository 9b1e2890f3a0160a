// The prefix look-up of the type-ahead fields answered from the
// case-insensitive index must return exactly the rows the plain condition
// does, in the indexed field's order, across pages.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/text.h"
#include "store/connection.h"
#include "store/query.h"
#include "store/sql_dialect.h"
#include "support/fixture.h"

namespace {

class PrefixLookup : public ::testing::Test {
protected:
    testing_support::TempInstallation inst;
    store::Connection db{"dbTOVIRAK"};
    std::vector<std::string> titles;

    void SetUp() override {
        db.setFileName(inst.library());
        db.open();
        const char* base[] = {"Harry", "harry", "HARRY", "Hari", "Haz", "Ha{", "Hb", "Hazel", "Ha", "H",
                              "Ziarah", "zz", "Élan", "Hä", "Ha%", "Ha_x", "Hz", "", " Harry"};
        db.begin();
        for (int copy = 0; copy < 40; ++copy)
            for (const char* b : base) {
                std::string t = std::string(b) + (copy % 2 ? " " + std::to_string(copy) : "");
                db.execute("INSERT INTO tTitle (JENIS, TITLE) VALUES ('1', ?)", {t});
                titles.push_back(t);
            }
        db.commit();
    }

    // The condition's meaning, computed here: the first n characters of the
    // ASCII-upper-cased title equal the literal.
    std::multiset<std::string> expected(const std::string& literal, std::size_t n) {
        std::multiset<std::string> out;
        for (const auto& t : titles)
            if (core::leftChars(core::asciiUpper(t), n) == literal) out.insert(t);
        return out;
    }
};

TEST_F(PrefixLookup, SameRowsAsThePlainConditionInFieldOrder) {
    struct Case {
        std::string literal;
        std::size_t n;
    };
    const Case cases[] = {{"HA", 2}, {"HAZ", 3}, {"HARRY", 5}, {"HARRY 1", 7}, {"H", 1},   {"Z", 1},
                          {"ZZ", 2}, {"ÉLAN", 4}, {"HA%", 3},  {"HA_", 3},     {"HAR", 5}, {"har", 3},
                          {"HARRY", 3}, {" HARRY", 6}};
    for (const Case& c : cases) {
        store::Query q(db, "tqTitle", "", {"TITLE"});
        q.setSql("SELECT * FROM tTitle WHERE SUBSTRING(UPPER(TITLE) FROM 1 FOR " + std::to_string(c.n) +
                 ")=" + store::sqlLiteral(c.literal));
        q.open();
        std::multiset<std::string> got;
        std::vector<std::string> order;
        for (q.first(); !q.eof(); q.next()) {
            got.insert(q.asString("TITLE"));
            order.push_back(core::asciiLower(q.asString("TITLE")));
            if (q.recNo() + 1 == q.fetchedCount() && !q.canFetchMore()) break;
        }
        EXPECT_EQ(got, expected(c.literal, c.n)) << c.literal << " FOR " << c.n;
        EXPECT_TRUE(std::is_sorted(order.begin(), order.end())) << c.literal;
        EXPECT_EQ(q.recordCount(), static_cast<std::int64_t>(got.size())) << c.literal;
    }
}

TEST_F(PrefixLookup, PagesDoNotLoseOrRepeatRowsWithEqualKeys) {
    // 40 equal-looking "Harry" rows and more: several pages of one key.
    store::Query q(db, "tqTitle", "", {"TITLE"});
    q.setSql("SELECT * FROM tTitle WHERE SUBSTRING(UPPER(TITLE) FROM 1 FOR 1)=\"H\"");
    q.open();
    while (q.canFetchMore()) q.fetchMore(7);
    std::set<std::int64_t> ids;
    for (std::size_t i = 0; i < q.fetchedCount(); ++i) ids.insert(q.rowIdAt(i));
    EXPECT_EQ(ids.size(), q.fetchedCount());
    EXPECT_EQ(static_cast<std::int64_t>(ids.size()), q.recordCount());
}

TEST_F(PrefixLookup, AnOrKeepsThePlainMeaning) {
    store::Query q(db, "tqTitle", "", {"TITLE"});
    q.setSql("SELECT * FROM tTitle WHERE SUBSTRING(UPPER(TITLE) FROM 1 FOR 2)=\"ZZ\" OR TITLE = \"Hb\"");
    q.open();
    EXPECT_EQ(q.recordCount(), 40 + 20);  // every "zz..." row and the even copies of "Hb"
}

}  // namespace

namespace {

TEST_F(PrefixLookup, LikeWithoutWildcardsOnAnIndexedFieldMatchesIgnoringCase) {
    struct Case {
        const char* pattern;
        std::int64_t rows;
    };
    // 40 copies: even ones plain ("Hb"), odd ones with a number ("Hb 1").
    for (const Case& c : {Case{"HB", 20}, Case{"hb", 20}, Case{"HB 1", 1}, Case{"HB%", 40}, Case{"H_", 80},
                          Case{"HARRY", 60}}) {
        store::Query q(db, "tqTitle", "", {"TITLE"});
        q.setSql(std::string("SELECT * FROM tTitle WHERE UPPER(TITLE) like ") + store::sqlLiteral(c.pattern));
        q.open();
        EXPECT_EQ(q.recordCount(), c.rows) << c.pattern;
    }
}

}  // namespace
