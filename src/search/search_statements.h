#pragma once
// The statements of the book and member searches. Each search takes one typed
// text, trims it and upper-cases it (a-z only) and puts it into a LIKE
// pattern of the program's SQL dialect; the statement then replaces the one
// of a shared query object. An empty text lists every row, whatever the
// search. The text is placed as a literal (quotes doubled), so it can change
// only the pattern; the LIKE wildcards "%" and "_" typed in it take effect.

#include <string>
#include <string_view>
#include <vector>

namespace search {

enum class Match {
    Contains,  // "%X%": the text anywhere in the field
    Whole,     // "X": the whole field, unless the user typed wildcards
};

// SELECT * FROM table WHERE UPPER(f1) like "..." or UPPER(f2) like "..." ...
// with every field matched the same way; "SELECT * FROM table" when the
// trimmed text is empty.
std::string textSearchStatement(std::string_view table, const std::vector<std::string>& fields,
                                Match match, std::string_view typed);

// Book search over tBUKU, one value per button of the search window.
enum class BookSearch {
    Title,      // "TITLE"
    Author,     // "AUTHOR"
    Publisher,  // "PUBLISHER"
    Keyword,    // "KEYWORD"
    ItemCode,   // "Search only in BARCODE": the whole item code
    Combined,   // "Title+Author+Publisher+Keyword": also matches the item code
};
std::string bookSearchStatement(BookSearch search, std::string_view typed);

// Enter in the book search box: the item-code search when the trimmed text
// begins with "1" (the kind digit of a copy, as a barcode reader types it),
// otherwise the combined search.
BookSearch bookSearchOnEnter(std::string_view typed);

// Member search over tANGGOTA.
enum class MemberSearch {
    FamilyName,    // "FAMILY NAME": KDFKELUARGA
    FamiliarName,  // "FAMILIAR NAME": KDFANGGOTA containing the text
    FullName,      // "FULL NAME": NMANGGOTA
    Address,       // "ADDRESS": ALAMAT
    MemberCode,    // "Search only in BARCODE": the whole member code
    Combined,      // "Family+Familiar+Full+Address"
};
std::string memberSearchStatement(MemberSearch search, std::string_view typed);

// Enter in the member search box always looks for the exact member code.
MemberSearch memberSearchOnEnter(std::string_view typed);

}  // namespace search
