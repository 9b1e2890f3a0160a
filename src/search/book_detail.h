#pragma once
// What the book detail window shows of one copy, and what its "More info on
// the website" buttons do with a box's text.

#include <string>
#include <string_view>

namespace store {
class Query;
}

namespace search {

// The fields of the query's current row, each read as text and trimmed. The
// borrow date is its date part (yyyy-mm-dd). Every field is empty when the
// query is closed or its result is empty.
struct BookDetail {
    std::string title, author, publisher, itemCode;
    std::string room, rack, row;  // CNKLS, CNRAK, CNBRS
    std::string ddc, udc, language, keyword, isbn;
    std::string originalOrCopy, condition, schoolClass, age, status;
    std::string borrower, borrowDate;  // KDANGGOTA, TGPINJAM
};
BookDetail bookDetailOf(const store::Query& query);

// The box a product-search button reads.
enum class ProductField { Title, Author, Publisher, Isbn };

// A product-search button: the Amazon product search for the trimmed text,
// or, when the text is empty, the message to show instead ("TITLE blank",
// "AUTHOR blank", "PUBLISHER blank", "ISBN blank") and no address.
struct ProductLookup {
    std::string address;
    std::string blankMessage;
};
ProductLookup productLookup(ProductField field, std::string_view text);

}  // namespace search
