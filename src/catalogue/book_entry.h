#pragma once
// Book copy records as the book entry window writes them: what a new copy's
// row holds, what SAVE rewrites, the label queue entry kept up to date with
// it, deleting a copy, and the window's fixed texts and level rules.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/date_time.h"

namespace store {
class Table;
}

namespace catalogue {

inline constexpr const char* kBookKind = "1";

inline constexpr const char* kNotInEditMode = "You are not in edit mode";
inline constexpr const char* kInvalidKey = "Invalid key";
inline constexpr const char* kSearchDdcNeedsTitle =
    "What TITLE do you wont to search?\rTITLE may not Blank.";
inline constexpr const char* kBookLabelCaption =
    "CheckMark mean automatic insert into BookLabel list to print.";
inline constexpr const char* kDefaultRoom = "LIB";
inline constexpr const char* kDefaultAge = "0";

// The catalogue fields of the form, as typed (each is trimmed when written).
struct BookForm {
    std::string title;
    std::string author;
    std::string publisher;
    std::string udc;
    std::string ddc;
    std::string language;
    std::string keywords;
    std::string isbn;
    std::string originalOrCopy;  // OC: "A" original, "C" copy
    std::string condition;
    std::string classGroup;  // KELAS
    std::string age;         // USIA, a whole number of years
    std::string room;
    std::string rack;
    std::string row;
    std::string price;  // SHARGA, kept as text
    std::string shop;
    std::string donor;
    std::string buyDate;  // TGBELI as yyyy-mm-dd, or empty

    bool operator==(const BookForm&) const = default;
};

// Circulation fields, only shown by the window and never written by it.
struct BookCirculation {
    std::string status;
    std::string borrower;
    std::string dateBorrowed;
};

// The form and circulation fields of the copy `books` is positioned on.
BookForm readBookForm(const store::Table& books);
BookCirculation readBookCirculation(const store::Table& books);

// Which field refused the form's values, and why.
struct FormProblem {
    enum class Field { Age, BuyDate };
    Field field;
    std::string message;
};
std::string invalidAgeMessage(std::string_view typed);
std::string invalidBuyDateMessage(std::string_view typed);
// Checked before anything is written: the age must be a whole number of
// years (empty counts as 0), the buy date empty or a date yyyy-mm-dd.
std::optional<FormProblem> checkBookForm(const BookForm& form);

// Inserts and posts a new copy: JENIS "1", the code, every catalogue field of
// the form, PTGSNEW and TGNEW. Throws core::Error (nothing inserted) when the
// form does not pass checkBookForm.
void insertBook(store::Table& books, const BookForm& form, const std::string& code,
                const std::string& user, const core::DateTime& now);

// The label queue (tCetakLabel under iKDBARANG, opened when closed). An item
// code is queued at most once.
// A copy just created: writes the barcode picture and queues code and title.
// Returns why the picture could not be written (nothing queued then, so the
// next SAVE tries again), or empty.
std::string queueNewCopy(store::Table& queue, const std::string& databaseDirectory,
                         const std::string& code, const std::string& title);
// A copy saved: an existing entry gets the form's title, call number,
// classes and author; otherwise the picture is written and a full entry
// added. Returns why the picture could not be written (no entry added), or
// empty.
std::string refreshQueueEntry(store::Table& queue, const std::string& databaseDirectory,
                              const std::string& code, const BookForm& form);

std::string saveQuestion(std::string_view code, std::string_view title);
std::string notFoundRegisterAgainMessage(std::string_view code);
std::string notPostedMessage(std::string_view code);

struct SaveOutcome {
    bool saved = false;
    std::string message;                 // information to show when not saved (empty: nothing)
    std::optional<FormProblem> problem;  // the form was refused before asking
    std::string labelError;              // the copy was saved; its picture failed
};

// SAVE: checks the form, asks, and on OK rewrites the copy with this code
// (JENIS, every catalogue field, PTGSEDIT and TGEDIT; never the circulation
// fields or the creation stamps), then brings its label queue entry up to
// date.
SaveOutcome saveBook(store::Table& books, store::Table& queue, const std::string& databaseDirectory,
                     const std::string& code, const BookForm& form, const std::string& user,
                     const core::DateTime& now,
                     const std::function<bool(const std::string&)>& confirm);

std::string deleteQuestion(std::string_view code, std::string_view title);
std::string deleteNotFoundMessage(std::string_view code);
std::string notDeletedMessage(std::string_view code);
std::string onLoanMessage(std::string_view code);

struct DeleteOutcome {
    bool asked = false;    // the question was shown
    bool deleted = false;  // the row is gone
    std::string message;   // information to show (empty: nothing)
};

// "Delete this Record": refuses a code that is not there or a copy on loan
// (STATUS "B": its loan would point at nothing), asks, and on OK deletes the
// copy if it is still there and still not on loan. The label queue entry and
// the barcode picture are left in place.
DeleteOutcome deleteBook(store::Table& books, const std::string& code, const std::string& title,
                         const std::function<bool(const std::string&)>& confirm);

// The UDC field's jump: whether the trimmed text is exactly a class of the
// UDC list (tUDC under iUDC, opened when closed), in any letter case. Text
// longer than the one-character column never matches.
bool isUdcClass(store::Table& udcList, std::string_view typed);

// Levels 0 to 2 see the organizer buttons and "Delete this Record", level 3
// the organizer buttons only, every other level neither.
struct LevelVisibility {
    bool organizers = false;
    bool deleteButton = false;
};
LevelVisibility visibilityForLevel(int level);

// The age field takes the digits 0 to 9 and Backspace; any other character
// typed is refused with kInvalidKey. Keys that type nothing (arrows, Enter)
// are not characters and pass.
bool ageCharacterAccepted(char32_t character);

}  // namespace catalogue
