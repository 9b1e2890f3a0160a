// The book and member search statements: their text per button, the Enter
// rules, and what they find when run against a library file.

#include "search/search_statements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "store/connection.h"
#include "store/query.h"
#include "store/table.h"
#include "support/fixture.h"

namespace {

using search::BookSearch;
using search::MemberSearch;

TEST(BookSearchStatement, EachButtonBuildsItsStatement) {
    const std::vector<std::pair<BookSearch, std::string>> cases = {
        {BookSearch::Title, R"(SELECT * FROM tBUKU WHERE UPPER(TITLE) like "%HARRY%")"},
        {BookSearch::Author, R"(SELECT * FROM tBUKU WHERE UPPER(AUTHOR) like "%HARRY%")"},
        {BookSearch::Publisher, R"(SELECT * FROM tBUKU WHERE UPPER(PUBLISHER) like "%HARRY%")"},
        {BookSearch::Keyword, R"(SELECT * FROM tBUKU WHERE UPPER(KEYWORD) like "%HARRY%")"},
        {BookSearch::ItemCode, R"(SELECT * FROM tBUKU WHERE UPPER(KDBARANG) like "HARRY")"},
        {BookSearch::Combined,
         R"(SELECT * FROM tBUKU WHERE UPPER(TITLE) like "%HARRY%" or UPPER(AUTHOR) like "%HARRY%")"
         R"( or UPPER(PUBLISHER) like "%HARRY%" or UPPER(KDBARANG) like "%HARRY%")"
         R"( or UPPER(KEYWORD) like "%HARRY%")"},
    };
    for (const auto& [button, expected] : cases)
        EXPECT_EQ(search::bookSearchStatement(button, "  harry\t"), expected);
}

TEST(MemberSearchStatement, EachButtonBuildsItsStatement) {
    const std::vector<std::pair<MemberSearch, std::string>> cases = {
        {MemberSearch::FamilyName,
         R"(SELECT * FROM tANGGOTA WHERE UPPER(KDFKELUARGA) like "%ANI%")"},
        {MemberSearch::FamiliarName,
         R"(SELECT * FROM tANGGOTA WHERE UPPER(KDFANGGOTA) like "%ANI%")"},
        {MemberSearch::FullName, R"(SELECT * FROM tANGGOTA WHERE UPPER(NMANGGOTA) like "%ANI%")"},
        {MemberSearch::Address, R"(SELECT * FROM tANGGOTA WHERE UPPER(ALAMAT) like "%ANI%")"},
        {MemberSearch::MemberCode, R"(SELECT * FROM tANGGOTA WHERE UPPER(KDFANGGOTA) like "ANI")"},
        {MemberSearch::Combined,
         R"(SELECT * FROM tANGGOTA WHERE UPPER(KDFKELUARGA) like "%ANI%" or UPPER(KDFANGGOTA) like "%ANI%")"
         R"( or UPPER(NMANGGOTA) like "%ANI%" or UPPER(ALAMAT) like "%ANI%")"},
    };
    for (const auto& [button, expected] : cases)
        EXPECT_EQ(search::memberSearchStatement(button, " Ani "), expected);
}

TEST(SearchStatement, EmptyTextListsEveryRowWhateverTheButton) {
    for (const char* typed : {"", "   ", "\t \t"}) {
        for (auto b : {BookSearch::Title, BookSearch::Author, BookSearch::Publisher,
                       BookSearch::Keyword, BookSearch::ItemCode, BookSearch::Combined})
            EXPECT_EQ(search::bookSearchStatement(b, typed), "SELECT * FROM tBUKU");
        for (auto m : {MemberSearch::FamilyName, MemberSearch::FamiliarName, MemberSearch::FullName,
                       MemberSearch::Address, MemberSearch::MemberCode, MemberSearch::Combined})
            EXPECT_EQ(search::memberSearchStatement(m, typed), "SELECT * FROM tANGGOTA");
    }
}

TEST(SearchStatement, DoubleQuoteIsDoubledInsideTheLiteral) {
    EXPECT_EQ(search::bookSearchStatement(BookSearch::Title, R"(say "hi")"),
              R"(SELECT * FROM tBUKU WHERE UPPER(TITLE) like "%SAY ""HI""%")");
    EXPECT_EQ(search::memberSearchStatement(MemberSearch::MemberCode, R"(a"b)"),
              R"(SELECT * FROM tANGGOTA WHERE UPPER(KDFANGGOTA) like "A""B")");
}

TEST(SearchStatement, UpperCasesOnlyAsciiLetters) {
    EXPECT_EQ(search::bookSearchStatement(BookSearch::Title, "café ß"),
              "SELECT * FROM tBUKU WHERE UPPER(TITLE) like \"%CAFé ß%\"");
}

TEST(EnterRule, BookSearchTakesTheItemCodeSearchForTextBeginningWithOne) {
    const std::vector<std::pair<std::string, BookSearch>> cases = {
        {"123", BookSearch::ItemCode},
        {"  1201211020001 ", BookSearch::ItemCode},
        {"1", BookSearch::ItemCode},
        {"Harry", BookSearch::Combined},
        {"", BookSearch::Combined},
        {"   ", BookSearch::Combined},
        {"2201205140001", BookSearch::Combined},
        {"x1", BookSearch::Combined},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(search::bookSearchOnEnter(typed), expected) << '"' << typed << '"';
}

TEST(EnterRule, MemberSearchAlwaysTakesTheMemberCodeSearch) {
    for (const char* typed : {"ani", "", "123", "  Budi.SANTOSO "})
        EXPECT_EQ(search::memberSearchOnEnter(typed), MemberSearch::MemberCode) << typed;
}

// A library with a handful of copies and members whose fields tell the
// searches apart.
class SearchOverLibrary : public ::testing::Test {
protected:
    SearchOverLibrary() {
        lib.setFileName(inst.library());
        lib.setMultiUser(true);
        lib.open();
        addBook("1202611020001", "Harry Potter", "Rowling", "Bloomsbury", "magic school");
        addBook("1202611020002", "The Old Man and the Sea", "Hemingway", "Scribner", "sea");
        addBook("1202611020003", "Atlas of Birds", "Harrison", "Collins", "nature");
        addBook("1202611029999", "Cooking", "Chef", "Gramedia", "food");
        addBook("1202611030001", "Say \"Hello\"", "Quote", "Q", "");
        addBook("1202611030002", "ab", "Short", "S", "");
        addMember("ANI", "ANI", "Ani Wijaya", "Jl. Mawar 1", "0274-1", "ani@mail.id", "1A");
        addMember("DANI.SANTOSO", "SANTOSO", "Dani Santoso", "Jl. Melati 2", "0274-2", "", "2B");
        addMember("BUDI.SANTOSO", "SANTOSO", "Budi Santoso", "Jl. Anggrek 3", "0274-3", "", "3C");
        addMember("RINA.WATI", "WATI", "Rina Wati", "Jl. Kenanga 4", "ZZZ777", "zzz777@mail.id",
                  "ZZ7");
    }

    void addBook(const char* code, const char* title, const char* author, const char* publisher,
                 const char* keyword) {
        store::Table t(lib, "tBUKU");
        t.open();
        t.insert();
        t.setString("JENIS", "1");
        t.setString("KDBARANG", code);
        t.setString("TITLE", title);
        t.setString("AUTHOR", author);
        t.setString("PUBLISHER", publisher);
        t.setString("KEYWORD", keyword);
        t.post();
    }

    void addMember(const char* code, const char* family, const char* name, const char* address,
                   const char* phone, const char* email, const char* schoolClass) {
        store::Table t(lib, "tANGGOTA");
        t.open();
        t.insert();
        t.setString("KDFANGGOTA", code);
        t.setString("KDFKELUARGA", family);
        t.setString("NMANGGOTA", name);
        t.setString("ALAMAT", address);
        t.setString("TELP", phone);
        t.setString("EMAIL", email);
        t.setString("KELAS", schoolClass);
        t.post();
    }

    // The key field of every row the statement returns, sorted.
    std::vector<std::string> found(const std::string& statement, const char* keyField) {
        store::Query q(lib, "tq", statement);
        q.open();
        std::vector<std::string> out;
        for (q.first(); !q.eof(); q.next()) out.push_back(q.asString(keyField));
        std::sort(out.begin(), out.end());
        return out;
    }
    std::vector<std::string> books(BookSearch b, const std::string& typed) {
        return found(search::bookSearchStatement(b, typed), "KDBARANG");
    }
    std::vector<std::string> members(MemberSearch m, const std::string& typed) {
        return found(search::memberSearchStatement(m, typed), "KDFANGGOTA");
    }

    testing_support::TempInstallation inst;
    store::Connection lib{"dbTOVIRAK"};
};

using Codes = std::vector<std::string>;

TEST_F(SearchOverLibrary, EmptyTextFindsEveryCopyAndMember) {
    EXPECT_EQ(books(BookSearch::ItemCode, "").size(), 6u);
    EXPECT_EQ(members(MemberSearch::Address, " ").size(), 4u);
}

TEST_F(SearchOverLibrary, FieldSearchesIgnoreLetterCase) {
    EXPECT_EQ(books(BookSearch::Title, "old man"), Codes{"1202611020002"});
    EXPECT_EQ(books(BookSearch::Author, "HARR"), Codes{"1202611020003"});
    EXPECT_EQ(books(BookSearch::Publisher, "bloom"), Codes{"1202611020001"});
    EXPECT_EQ(books(BookSearch::Keyword, "Magic"), Codes{"1202611020001"});
}

TEST_F(SearchOverLibrary, CombinedSearchAlsoMatchesTheItemCode) {
    EXPECT_EQ(books(BookSearch::Combined, "harr"), (Codes{"1202611020001", "1202611020003"}));
    // No title, author, publisher or keyword holds 9999; the item code does.
    EXPECT_EQ(books(BookSearch::Combined, "9999"), Codes{"1202611029999"});
}

TEST_F(SearchOverLibrary, ItemCodeSearchNeedsTheWholeCodeUnlessWildcardsAreTyped) {
    EXPECT_EQ(books(BookSearch::ItemCode, "123"), Codes{});
    EXPECT_EQ(books(BookSearch::ItemCode, "120261102000"), Codes{});
    EXPECT_EQ(books(BookSearch::ItemCode, " 1202611020002 "), Codes{"1202611020002"});
    EXPECT_EQ(books(BookSearch::ItemCode, "12026110300%"),
              (Codes{"1202611030001", "1202611030002"}));
    EXPECT_EQ(books(BookSearch::ItemCode, "120261102000_"),
              (Codes{"1202611020001", "1202611020002", "1202611020003"}));
}

TEST_F(SearchOverLibrary, TypedWildcardsTakeEffectInContainsSearches) {
    // A, then anything, then B: "Atlas of Birds" and "ab", not "Harry Potter".
    EXPECT_EQ(books(BookSearch::Title, "a%b"), (Codes{"1202611020003", "1202611030002"}));
    EXPECT_EQ(books(BookSearch::Title, "h_rry"), Codes{"1202611020001"});
}

TEST_F(SearchOverLibrary, DoubleQuoteCannotBreakOutOfThePattern) {
    // Were the quote to end the literal, the "or" would match every copy.
    EXPECT_EQ(books(BookSearch::Title, R"(x" or UPPER(TITLE) like "%)"), Codes{});
    EXPECT_EQ(books(BookSearch::Combined, R"(" or "1"="1)"), Codes{});
    EXPECT_EQ(members(MemberSearch::MemberCode, R"(" or KDFANGGOTA like "%)"), Codes{});
    // A quote is searched for like any other character.
    EXPECT_EQ(books(BookSearch::Title, R"("hello")"), Codes{"1202611030001"});
}

TEST_F(SearchOverLibrary, MemberCodeSearchIsExactAndFamiliarNameSearchContains) {
    EXPECT_EQ(members(search::memberSearchOnEnter("ani"), "ani"), Codes{"ANI"});
    EXPECT_EQ(members(MemberSearch::FamiliarName, "ani"), (Codes{"ANI", "DANI.SANTOSO"}));
}

TEST_F(SearchOverLibrary, MemberFieldSearches) {
    EXPECT_EQ(members(MemberSearch::FamilyName, "santoso"),
              (Codes{"BUDI.SANTOSO", "DANI.SANTOSO"}));
    EXPECT_EQ(members(MemberSearch::FullName, "wijaya"), Codes{"ANI"});
    EXPECT_EQ(members(MemberSearch::Address, "anggrek"), Codes{"BUDI.SANTOSO"});
}

TEST_F(SearchOverLibrary, CombinedMemberSearchSkipsPhoneEmailAndClass) {
    EXPECT_EQ(members(MemberSearch::Combined, "zzz777"), Codes{});
    EXPECT_EQ(members(MemberSearch::Combined, "zz7"), Codes{});
    EXPECT_EQ(members(MemberSearch::Combined, "kenanga"), Codes{"RINA.WATI"});
    EXPECT_EQ(members(MemberSearch::Combined, "wati"), Codes{"RINA.WATI"});
}

}  // namespace
