#pragma once
// Web addresses of the outside catalogues and bookshops a title, an ISBN or
// a class number is looked up in. Every builder trims the text first and
// takes its hosts and partner values from the lookup configuration.

#include <string>
#include <string_view>

#include "search/lookup_config.h"

namespace search {

// Plus encoding of a search term: every space becomes "+", every "&" "%26".
// "#" becomes "%23" as well, since it would end the address there and drop
// the rest of the query. Every other character is kept as typed.
std::string plusEncoded(std::string_view text);

// Percent encoding: every space becomes "%20", every "&" "%26", every "#" "%23".
std::string percentEncoded(std::string_view text);

// The Amazon product search of the detail windows' buttons and of "Search at
// Amazon": keywords (spaces as "+"), then the fixed pairs with the partner tag.
// An "&" in the text is sent as "%26" so that it stays part of the keywords
// rather than splitting the query.
std::string productSearchAddress(std::string_view text,
                                 const LookupConfig& config = lookupConfig());

// The buttons of the Tools window, one per outside service.
enum class LookupService {
    WorldCat,   // "Search ISBN at WorldCat / OCLC"
    IsbnDb,     // "Search ISBN number at ISBNdb"
    Amazon,     // "Search at Amazon"
    Dewey,      // "Search DDC at OCLC", and the DDC window's browser
    Congress,   // "Library of Congress USA"
    London,     // "London Public Library"
    Australia,  // "National Library of Australia" (does not use the text)
    Singapore,  // "National Library Board Singapore" (does not use the text)
    Jogja,      // "JogjaLib, Indonesia"
};

// The address a lookup button opens for this text; an empty text is sent as
// an empty search term.
std::string lookupAddress(LookupService service, std::string_view text,
                          const LookupConfig& config = lookupConfig());

}  // namespace search
