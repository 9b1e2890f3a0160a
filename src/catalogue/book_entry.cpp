#include "catalogue/book_entry.h"

#include "catalogue/item_codes.h"
#include "core/error.h"
#include "core/text.h"
#include "printing/barcode_image.h"
#include "store/table.h"

namespace catalogue {

namespace {

constexpr const char* kQueueIndex = "iKDBARANG";

std::string field(const store::Table& books, const char* name) {
    return core::trim(books.asString(name));
}

// The catalogue fields every write of a copy sets, trimmed.
void writeCatalogueFields(store::Table& books, const BookForm& f) {
    const auto set = [&](const char* name, const std::string& value) {
        books.setString(name, core::trim(value));
    };
    set("JENIS", kBookKind);
    set("TITLE", f.title);
    set("AUTHOR", f.author);
    set("PUBLISHER", f.publisher);
    set("UDC", f.udc);
    set("DDC", f.ddc);
    set("BAHASA", f.language);  // cut to the column's three characters
    set("KEYWORD", f.keywords);
    set("ISBN", f.isbn);
    set("OC", f.originalOrCopy);
    set("KONDISI", f.condition);
    set("KELAS", f.classGroup);
    const std::string age = core::trim(f.age);
    books.setInteger("USIA", age.empty() ? 0 : core::toInteger(age));
    set("CNKLS", f.room);
    set("CNRAK", f.rack);
    set("CNBRS", f.row);
    set("SHARGA", f.price);
    set("NMTOKO", f.shop);
    set("NMDONATUR", f.donor);
    const std::string bought = core::trim(f.buyDate);
    set("TGBELI", bought.empty() ? std::string() : core::DateTime::fromText(bought).toDateText());
}

void requireValid(const BookForm& form) {
    if (auto problem = checkBookForm(form)) throw core::Error(problem->message);
}

void openQueue(store::Table& queue) {
    queue.setIndexName(kQueueIndex);
    if (!queue.isOpen()) queue.open();
}

// Writes the code's barcode picture; returns why it failed, or empty.
std::string writePicture(const std::string& databaseDirectory, const std::string& code) {
    std::string why;
    if (printing::writeBarcodeBitmap(printing::bookBarcodePath(databaseDirectory, code), code,
                                     printing::CodeSet::C, &why))
        return {};
    return "The barcode picture of " + core::trim(code) + " could not be written:\r" + why;
}

bool onLoan(const store::Table& books) { return core::asciiUpper(field(books, "STATUS")) == "B"; }

}  // namespace

BookForm readBookForm(const store::Table& books) {
    BookForm f;
    f.title = field(books, "TITLE");
    f.author = field(books, "AUTHOR");
    f.publisher = field(books, "PUBLISHER");
    f.udc = field(books, "UDC");
    f.ddc = field(books, "DDC");
    f.language = field(books, "BAHASA");
    f.keywords = field(books, "KEYWORD");
    f.isbn = field(books, "ISBN");
    f.originalOrCopy = field(books, "OC");
    f.condition = field(books, "KONDISI");
    f.classGroup = field(books, "KELAS");
    f.age = field(books, "USIA");
    f.room = field(books, "CNKLS");
    f.rack = field(books, "CNRAK");
    f.row = field(books, "CNBRS");
    f.price = field(books, "SHARGA");
    f.shop = field(books, "NMTOKO");
    f.donor = field(books, "NMDONATUR");
    // The zero date is the empty date.
    f.buyDate = field(books, "TGBELI");
    if (f.buyDate == core::DateTime().toDateText()) f.buyDate.clear();
    return f;
}

BookCirculation readBookCirculation(const store::Table& books) {
    return {field(books, "STATUS"), field(books, "KDANGGOTA"), field(books, "TGPINJAM")};
}

std::string invalidAgeMessage(std::string_view typed) {
    return "\"" + core::trim(typed) +
           "\" is not a valid age.\rAges takes a whole number of years, "
           "such as 0 or 14.";
}

std::string invalidBuyDateMessage(std::string_view typed) {
    return "\"" + core::trim(typed) +
           "\" is not a valid buy date.\rWrite it as yyyy-mm-dd, such "
           "as 2026-12-11, or leave it empty.";
}

std::optional<FormProblem> checkBookForm(const BookForm& form) {
    const std::string age = core::trim(form.age);
    if (!age.empty()) {
        const auto n = core::parseInteger(age);
        if (!n || *n < 0 || age.find_first_not_of("0123456789") != std::string::npos)
            return FormProblem{FormProblem::Field::Age, invalidAgeMessage(form.age)};
    }
    const std::string bought = core::trim(form.buyDate);
    if (!bought.empty()) {
        const auto when = core::DateTime::parse(bought);
        if (!when || bought.size() != 10)
            return FormProblem{FormProblem::Field::BuyDate, invalidBuyDateMessage(form.buyDate)};
    }
    return std::nullopt;
}

void insertBook(store::Table& books, const BookForm& form, const std::string& code,
                const std::string& user, const core::DateTime& now) {
    requireValid(form);
    books.insert();
    try {
        writeCatalogueFields(books, form);
        books.setString("KDBARANG", core::trim(code));
        books.setString("PTGSNEW", user);
        books.setDateTime("TGNEW", now);
    } catch (...) {
        books.cancel();
        throw;
    }
    books.post();
}

std::string queueNewCopy(store::Table& queue, const std::string& databaseDirectory,
                         const std::string& code, const std::string& title) {
    openQueue(queue);
    if (std::string error = writePicture(databaseDirectory, code); !error.empty()) return error;
    // An entry left behind by a deleted copy of the same code is reused.
    if (queue.findKey({codeKey(code)})) {
        queue.edit();
        for (const char* name : {"CNKLS", "CNRAK", "CNBRS", "UDC", "DDC", "AUT"})
            queue.setString(name, "");
    } else {
        queue.insert();
        queue.setString("KDBARANG", core::trim(code));
    }
    queue.setString("TITLE", core::trim(title));
    queue.post();
    return {};
}

std::string refreshQueueEntry(store::Table& queue, const std::string& databaseDirectory,
                              const std::string& code, const BookForm& form) {
    openQueue(queue);
    if (queue.findKey({codeKey(code)})) {
        queue.edit();
    } else {
        if (std::string error = writePicture(databaseDirectory, code); !error.empty()) return error;
        queue.insert();
        queue.setString("KDBARANG", core::trim(code));
    }
    queue.setString("TITLE", core::trim(form.title));
    queue.setString("CNKLS", core::trim(form.room));
    queue.setString("CNRAK", core::trim(form.rack));
    queue.setString("CNBRS", core::trim(form.row));
    queue.setString("UDC", core::trim(form.udc));
    queue.setString("DDC", core::trim(form.ddc));
    queue.setString("AUT", core::trim(form.author));
    queue.post();
    return {};
}

std::string saveQuestion(std::string_view code, std::string_view title) {
    return "This: \"" + std::string(code) + "\"\rtitle:\"" + core::trim(title) +
           "\"\rwill be save?";
}

std::string notFoundRegisterAgainMessage(std::string_view code) {
    return codeKey(code) + ", tidak ketemu. Daftarkan lagi.";
}

std::string notPostedMessage(std::string_view code) { return codeKey(code) + ", tidak diposting."; }

SaveOutcome saveBook(store::Table& books, store::Table& queue, const std::string& databaseDirectory,
                     const std::string& code, const BookForm& form, const std::string& user,
                     const core::DateTime& now,
                     const std::function<bool(const std::string&)>& confirm) {
    SaveOutcome out;
    if ((out.problem = checkBookForm(form))) return out;
    if (!confirm(saveQuestion(code, form.title))) {
        out.message = notPostedMessage(code);
        return out;
    }
    if (!findItem(books, kBookCodes, code)) {
        out.message = notFoundRegisterAgainMessage(code);
        return out;
    }
    books.edit();
    try {
        writeCatalogueFields(books, form);
        books.setString("PTGSEDIT", user);
        books.setDateTime("TGEDIT", now);
    } catch (...) {
        books.cancel();
        throw;
    }
    books.post();
    out.saved = true;
    out.labelError = refreshQueueEntry(queue, databaseDirectory, code, form);
    return out;
}

std::string deleteQuestion(std::string_view code, std::string_view title) {
    return "Is this: \"" + std::string(code) + "\"\r\"" + core::trim(title) + "\" will be delete?";
}

std::string deleteNotFoundMessage(std::string_view code) { return codeKey(code) + ", not found."; }

std::string notDeletedMessage(std::string_view code) { return codeKey(code) + ", not deleted."; }

std::string onLoanMessage(std::string_view code) {
    return codeKey(code) +
           ", is on loan and can not be deleted.\rReturn the copy first, then "
           "delete it.";
}

DeleteOutcome deleteBook(store::Table& books, const std::string& code, const std::string& title,
                         const std::function<bool(const std::string&)>& confirm) {
    DeleteOutcome out;
    if (!findItem(books, kBookCodes, code)) {
        out.message = deleteNotFoundMessage(code);
        return out;
    }
    if (onLoan(books)) {
        out.message = onLoanMessage(code);
        return out;
    }
    out.asked = true;
    if (!confirm(deleteQuestion(code, title))) {
        out.message = notDeletedMessage(code);
        return out;
    }
    // Looked up again: another workstation may have deleted or lent it meanwhile.
    if (!findItem(books, kBookCodes, code)) return out;
    if (onLoan(books)) {
        out.message = onLoanMessage(code);
        return out;
    }
    books.remove();
    out.deleted = true;
    return out;
}

bool isUdcClass(store::Table& udcList, std::string_view typed) {
    const std::string t = core::trim(typed);
    if (t.empty()) return false;
    udcList.setIndexName("iUDC");
    if (!udcList.isOpen()) udcList.open();
    // The key is cut to the column's width, so compare the whole text too.
    return udcList.findKey({t}) && core::equalsIgnoreCase(core::trim(udcList.asString("UDC")), t);
}

LevelVisibility visibilityForLevel(int level) {
    if (level >= 0 && level <= 2) return {true, true};
    if (level == 3) return {true, false};
    return {};
}

bool ageCharacterAccepted(char32_t character) {
    if (character >= U'0' && character <= U'9') return true;
    // Backspace and the other control characters type nothing themselves
    // (Ctrl+V among them: a paste is checked before anything is written).
    return character < 0x20 || character == 0x7f;
}

}  // namespace catalogue
