#include "search/web_lookup.h"

#include "core/text.h"

namespace search {

namespace {

std::string encoded(std::string_view text, std::string_view space) {
    std::string out;
    for (char c : core::trim(text)) {
        switch (c) {
            case ' ':
                out += space;
                break;
            case '&':
                out += "%26";
                break;
            case '#':
                out += "%23";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string http(const std::string& host, std::string_view pathAndQuery) {
    return "http://" + host + std::string(pathAndQuery);
}

}  // namespace

std::string plusEncoded(std::string_view text) { return encoded(text, "+"); }

std::string percentEncoded(std::string_view text) { return encoded(text, "%20"); }

std::string productSearchAddress(std::string_view text, const LookupConfig& config) {
    return http(config.amazonHost, "/gp/search?keywords=" + plusEncoded(text) +
                                       "&ie=UTF8&tag=" + config.amazonPartnerTag +
                                       "&index=blended&linkCode=ur2&camp=1789&creative=9325");
}

std::string lookupAddress(LookupService service, std::string_view text,
                          const LookupConfig& config) {
    switch (service) {
        case LookupService::WorldCat:
            return http(config.worldCatHost, "/search?qt=affiliate&ai=" + config.worldCatPartnerId +
                                                 "&q=" + plusEncoded(text));
        case LookupService::IsbnDb:
            return http(config.isbnDbHost, "/search-all.html?kw=" + plusEncoded(text) + "&x=0&y=0");
        case LookupService::Amazon:
            return productSearchAddress(text, config);
        case LookupService::Dewey:
            return http(config.deweyHost,
                        "/ddcbrowser2/"
                        "SearchServlet?startRec=0&fmt1=all&resultsLang=all&audience=all&query=" +
                            percentEncoded(text));
        case LookupService::Congress:
            return http(config.congressHost,
                        "/cgi-bin/Pwebrecon.cgi?Search_Arg=" + plusEncoded(text) +
                            "&Search_Code=GKEY^*&PID=" + config.congressPid +
                            "&SEQ=20120316024319&CNT=100&HIST=1");
        case LookupService::London:
            return http(config.londonHost, "/iii/encore/search/C__S" + plusEncoded(text) +
                                               "__Orightresult__U1?lang=eng&suite=cobalt");
        case LookupService::Australia:
            return http(config.australiaHost, "/find/books.html");
        case LookupService::Singapore:
            return http(config.singaporeHost, "/index.html");
        case LookupService::Jogja:
            return http(config.jogjaHost,
                        "/index.php?keywords=" + plusEncoded(text) + "&search=Go");
    }
    return {};
}

}  // namespace search
