#pragma once
// The authority lists behind the book entry window. Titles, authors and
// publishers are renamed everywhere (the list row and every copy carrying the
// value) or deleted from their list while no copy uses them; the UDC, DDC and
// language lists are edited as plain tables with a note saying so.

#include <string>
#include <string_view>

namespace store {
class Table;
}

namespace catalogue {

// One member of the name organizers, as data.
struct NameListKind {
    enum class Grid {
        Pick,         // read-only; Enter or double click copies the row's value
        PickAndEdit,  // as Pick, and a value may be edited in place (the list row only)
        ShowOnly,     // read-only, no pick: EDIT and DELETE act on the value passed in
    };
    const char* caption;     // window caption
    const char* word;        // the list's word in the messages
    const char* listObject;  // shared table object of the list
    const char* listIndex;
    const char* column;     // the list's value column, also the copies' column
    const char* copyIndex;  // index of tBUKU used for the in-use check
    Grid grid;
};

inline constexpr NameListKind kTitleList{
    "TITLE", "TITLE", "tbTITLE", "iTITLE", "TITLE", "iTitle", NameListKind::Grid::Pick};
inline constexpr NameListKind kAuthorList{"AUTHOR",
                                          "AUTHOR",
                                          "tbAuthor",
                                          "iAUTHOR",
                                          "AUTHOR",
                                          "iAUTHOR",
                                          NameListKind::Grid::PickAndEdit};
inline constexpr NameListKind kPublisherList{"Publisher",
                                             "PUBLISHER",
                                             "tbPublisher",
                                             "iPUBLISHER",
                                             "PUBLISHER",
                                             "iPUBLISHER",
                                             NameListKind::Grid::ShowOnly};

inline constexpr const char* kNotFound = "NOT-Found";

// Positions the list (opened under its index when closed) on the trimmed
// value; false when the list does not hold it.
bool findListValue(store::Table& list, const NameListKind& kind, std::string_view value);

std::string renameQuestion(const NameListKind& kind);
// The statement that renames the value in every copy, three lines:
//   Update tBUKU / SET TITLE="new" / WHERE TITLE="old"
// with both values trimmed and written as literals of the SQL dialect, so a
// double quote inside them stays text.
std::string renameStatement(const NameListKind& kind, std::string_view oldValue,
                            std::string_view newValue);
std::string renamedMessage(std::string_view oldValue, std::string_view newValue);
std::string listValueNotFoundMessage(const NameListKind& kind, std::string_view value);
std::string blankNewValueMessage(const NameListKind& kind);

struct RenameOutcome {
    bool renamed = false;
    std::string message;   // information to show
    std::string newValue;  // trimmed, for the opener's field
    int copiesChanged = 0;
};

// SAVE in a name organizer, after the question was answered OK: finds the old
// value (trimmed, any letter case) in the list, sets the list row to the new
// value and renames it in every copy whose value is exactly the old one. The
// two writes are one transaction on the library connection: a failure leaves
// neither behind (core::Error). A blank new value is refused and nothing is
// written.
RenameOutcome renameEverywhere(store::Table& list, const NameListKind& kind,
                               std::string_view oldValue, std::string_view newValue);

std::string stillUsedMessage(std::string_view value);
std::string deletedMessage(std::string_view value);

struct ListDeleteOutcome {
    bool deleted = false;
    std::string message;
};

// DELETE in a name organizer: refused while a copy in `copies` (tBUKU)
// carries the value; otherwise the list row holding it is deleted. Copies are
// set back to their code index iKodeBuku in every case.
ListDeleteOutcome deleteUnusedValue(store::Table& list, store::Table& copies,
                                    const NameListKind& kind, std::string_view value);

// The class and language lists.
struct ListTableKind {
    const char* caption;
    const char* listObject;
    const char* listIndex;
    const char* noteName;  // the list's name in the note
};

inline constexpr ListTableKind kUdcTable{"UDC (Universal Decimal Clasification)", "tbUDC", "iUDC",
                                         "UDC table"};
inline constexpr ListTableKind kDdcTable{"DDC (Dewey Decimal Code)", "tbDDC", "iDDC", "DDC table"};
inline constexpr ListTableKind kLanguageTable{"Language", "tbBAHASA", "iBAHASA", "LANGUAGE table"};

// The grey two-line note of a list table editor.
std::string tableEditorNote(const ListTableKind& kind);

}  // namespace catalogue
