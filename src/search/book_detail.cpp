#include "search/book_detail.h"

#include "core/text.h"
#include "search/web_lookup.h"
#include "store/query.h"

namespace search {

BookDetail bookDetailOf(const store::Query& query) {
    BookDetail d;
    if (!query.isOpen() || query.isEmpty()) return d;
    auto text = [&](const char* field) { return core::trim(query.asString(field)); };
    d.title = text("TITLE");
    d.author = text("AUTHOR");
    d.publisher = text("PUBLISHER");
    d.itemCode = text("KDBARANG");
    d.room = text("CNKLS");
    d.rack = text("CNRAK");
    d.row = text("CNBRS");
    d.ddc = text("DDC");
    d.udc = text("UDC");
    d.language = text("BAHASA");
    d.keyword = text("KEYWORD");
    d.isbn = text("ISBN");
    d.originalOrCopy = text("OC");
    d.condition = text("KONDISI");
    d.schoolClass = text("KELAS");
    d.age = text("USIA");
    d.status = text("STATUS");
    d.borrower = text("KDANGGOTA");
    // Dates are stored as yyyy-mm-dd, the program's short date format.
    d.borrowDate = core::leftChars(text("TGPINJAM"), 10);
    return d;
}

ProductLookup productLookup(ProductField field, std::string_view text) {
    const std::string trimmed = core::trim(text);
    if (trimmed.empty()) {
        switch (field) {
            case ProductField::Title:
                return {{}, "TITLE blank"};
            case ProductField::Author:
                return {{}, "AUTHOR blank"};
            case ProductField::Publisher:
                return {{}, "PUBLISHER blank"};
            case ProductField::Isbn:
                return {{}, "ISBN blank"};
        }
    }
    return {productSearchAddress(trimmed), {}};
}

}  // namespace search
