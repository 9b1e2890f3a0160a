// Lookup addresses of the outside catalogues: both encodings and every
// service's address, with a configuration whose hosts show where each part
// comes from.

#include "search/web_lookup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/book_detail.h"

namespace {

using search::LookupService;

TEST(LookupEncoding, PlusAndPercentEncodings) {
    struct Case {
        std::string text, plus, percent;
    };
    const std::vector<Case> cases = {
        {"Tom & Jerry", "Tom+%26+Jerry", "Tom%20%26%20Jerry"},
        {"  The Old Man  ", "The+Old+Man", "The%20Old%20Man"},
        {"", "", ""},
        {"978-0-14-044913-6", "978-0-14-044913-6", "978-0-14-044913-6"},
        // Every other character is passed as typed...
        {"a+b/c?d=é", "a+b/c?d=é", "a+b/c?d=é"},
        // ...but "#" would end the address and drop the rest of the query.
        {"C# in Depth", "C%23+in+Depth", "C%23%20in%20Depth"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(search::plusEncoded(c.text), c.plus) << c.text;
        EXPECT_EQ(search::percentEncoded(c.text), c.percent) << c.text;
    }
}

search::LookupConfig testConfig() {
    search::LookupConfig c;
    c.amazonHost = "shop.test";
    c.amazonPartnerTag = "TAG";
    c.worldCatHost = "worldcat.test";
    c.worldCatPartnerId = "AI";
    c.isbnDbHost = "isbndb.test";
    c.deweyHost = "dewey.test";
    c.congressHost = "loc.test";
    c.congressPid = "PID1";
    c.londonHost = "london.test";
    c.australiaHost = "nla.test";
    c.singaporeHost = "nlb.test";
    c.jogjaHost = "jogja.test";
    return c;
}

TEST(LookupAddress, EveryServiceForTomAndJerry) {
    const std::vector<std::pair<LookupService, std::string>> cases = {
        {LookupService::WorldCat, "http://worldcat.test/search?qt=affiliate&ai=AI&q=Tom+%26+Jerry"},
        {LookupService::IsbnDb, "http://isbndb.test/search-all.html?kw=Tom+%26+Jerry&x=0&y=0"},
        {LookupService::Amazon,
         "http://shop.test/gp/search?keywords=Tom+%26+Jerry&ie=UTF8&tag=TAG&index=blended"
         "&linkCode=ur2&camp=1789&creative=9325"},
        {LookupService::Dewey,
         "http://dewey.test/ddcbrowser2/SearchServlet?startRec=0&fmt1=all&resultsLang=all"
         "&audience=all&query=Tom%20%26%20Jerry"},
        {LookupService::Congress,
         "http://loc.test/cgi-bin/Pwebrecon.cgi?Search_Arg=Tom+%26+Jerry&Search_Code=GKEY^*"
         "&PID=PID1&SEQ=20120316024319&CNT=100&HIST=1"},
        {LookupService::London,
         "http://london.test/iii/encore/search/"
         "C__STom+%26+Jerry__Orightresult__U1?lang=eng&suite=cobalt"},
        {LookupService::Australia, "http://nla.test/find/books.html"},
        {LookupService::Singapore, "http://nlb.test/index.html"},
        {LookupService::Jogja, "http://jogja.test/index.php?keywords=Tom+%26+Jerry&search=Go"},
    };
    for (const auto& [service, expected] : cases)
        EXPECT_EQ(search::lookupAddress(service, " Tom & Jerry ", testConfig()), expected);
}

TEST(LookupAddress, EmptyTextIsSentAsAnEmptyTerm) {
    const auto c = testConfig();
    EXPECT_EQ(search::lookupAddress(LookupService::WorldCat, "", c),
              "http://worldcat.test/search?qt=affiliate&ai=AI&q=");
    EXPECT_EQ(search::lookupAddress(LookupService::Dewey, "  ", c),
              "http://dewey.test/ddcbrowser2/SearchServlet?startRec=0&fmt1=all&resultsLang=all"
              "&audience=all&query=");
    EXPECT_EQ(search::lookupAddress(LookupService::London, "", c),
              "http://london.test/iii/encore/search/C__S__Orightresult__U1?lang=eng&suite=cobalt");
}

TEST(LookupAddress, AustraliaAndSingaporeIgnoreTheText) {
    const auto c = testConfig();
    for (const char* text : {"", "Tom & Jerry", "anything at all"}) {
        EXPECT_EQ(search::lookupAddress(LookupService::Australia, text, c),
                  "http://nla.test/find/books.html");
        EXPECT_EQ(search::lookupAddress(LookupService::Singapore, text, c),
                  "http://nlb.test/index.html");
    }
}

TEST(LookupAddress, DefaultConfigurationNamesRealPublicHosts) {
    EXPECT_EQ(search::lookupAddress(LookupService::Australia, ""),
              "http://www.nla.gov.au/find/books.html");
    EXPECT_EQ(search::lookupAddress(LookupService::Singapore, ""),
              "http://www.nlb.gov.sg/index.html");
    EXPECT_EQ(
        search::productSearchAddress("x").rfind("http://www.amazon.com/gp/search?keywords=x&", 0),
        0u);
}

TEST(ProductLookup, DetailButtonsOpenTheProductSearchOfTheTrimmedText) {
    EXPECT_EQ(search::productLookup(search::ProductField::Title, " The Old Man ").address,
              search::productSearchAddress("The Old Man"));
    EXPECT_NE(search::productSearchAddress("The Old Man").find("keywords=The+Old+Man&ie=UTF8&"),
              std::string::npos);
    EXPECT_TRUE(search::productLookup(search::ProductField::Isbn, "979-3").blankMessage.empty());
}

TEST(ProductLookup, BlankBoxGivesItsMessageAndNoAddress) {
    const std::vector<std::pair<search::ProductField, std::string>> cases = {
        {search::ProductField::Title, "TITLE blank"},
        {search::ProductField::Author, "AUTHOR blank"},
        {search::ProductField::Publisher, "PUBLISHER blank"},
        {search::ProductField::Isbn, "ISBN blank"},
    };
    for (const auto& [field, message] : cases) {
        const auto lookup = search::productLookup(field, "   ");
        EXPECT_EQ(lookup.blankMessage, message);
        EXPECT_TRUE(lookup.address.empty());
    }
}

}  // namespace
