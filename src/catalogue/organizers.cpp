#include "catalogue/organizers.h"

#include "core/text.h"
#include "store/connection.h"
#include "store/query.h"
#include "store/sql_dialect.h"
#include "store/table.h"

namespace catalogue {

namespace {
constexpr const char* kCopiesIndex = "iKodeBuku";
}

bool findListValue(store::Table& list, const NameListKind& kind, std::string_view value) {
    list.setIndexName(kind.listIndex);
    if (!list.isOpen()) list.open();
    return list.findKey({core::asciiUpper(core::trim(value))});
}

std::string renameQuestion(const NameListKind& kind) {
    return std::string("Are you sure to save this ") + kind.word + "?";
}

std::string renameStatement(const NameListKind& kind, std::string_view oldValue,
                            std::string_view newValue) {
    const std::string column = kind.column;
    return "Update tBUKU\nSET " + column + "=" + store::sqlLiteral(core::trim(newValue)) +
           "\nWHERE " + column + "=" + store::sqlLiteral(core::trim(oldValue));
}

std::string renamedMessage(std::string_view oldValue, std::string_view newValue) {
    return "Congratulation, You just replace the data with successfully.\rfrom: " +
           core::trim(oldValue) + "\rinto : " + core::trim(newValue);
}

std::string listValueNotFoundMessage(const NameListKind& kind, std::string_view value) {
    return core::trim(value) + " not found in the " + kind.word + "-data.";
}

std::string blankNewValueMessage(const NameListKind& kind) {
    return std::string("The new ") + kind.word + " may not be blank.\rNothing was changed.";
}

RenameOutcome renameEverywhere(store::Table& list, const NameListKind& kind,
                               std::string_view oldValue, std::string_view newValue) {
    RenameOutcome out;
    out.newValue = core::trim(newValue);
    if (out.newValue.empty()) {
        out.message = blankNewValueMessage(kind);
        return out;
    }
    if (!findListValue(list, kind, oldValue)) {
        out.message = listValueNotFoundMessage(kind, oldValue);
        return out;
    }
    store::Connection& library = list.connection();
    try {
        store::Transaction transaction(library);
        list.edit();
        list.setString(kind.column, out.newValue);
        list.post();
        store::Query rename(library, "qRename", renameStatement(kind, oldValue, out.newValue));
        out.copiesChanged = rename.execute();
        transaction.commit();
    } catch (...) {
        // The list row was rolled back; the table object shows the file again.
        try {
            list.cancel();
            if (list.hasRecord()) list.refresh();
        } catch (...) {
        }
        throw;
    }
    out.renamed = true;
    out.message = renamedMessage(oldValue, out.newValue);
    return out;
}

std::string stillUsedMessage(std::string_view value) {
    return core::asciiUpper(core::trim(value)) +
           " still used and found in BOOK-data.\rYou can not delete this record, but edit it is "
           "possible.";
}

std::string deletedMessage(std::string_view value) {
    return core::asciiUpper(core::trim(value)) + " was deleted successfully.";
}

ListDeleteOutcome deleteUnusedValue(store::Table& list, store::Table& copies,
                                    const NameListKind& kind, std::string_view value) {
    ListDeleteOutcome out;
    const std::string key = core::asciiUpper(core::trim(value));
    struct RestoreIndex {
        store::Table& t;
        ~RestoreIndex() {
            try {
                t.setIndexName(kCopiesIndex);
            } catch (...) {
            }
        }
    } restore{copies};
    // The check and the delete hold the library file together, so no copy
    // can take up the value in between.
    store::Transaction transaction(list.connection());
    copies.setIndexName(kind.copyIndex);
    if (!copies.isOpen()) copies.open();
    if (copies.findKey({key})) {
        out.message = stillUsedMessage(value);
        return out;
    }
    if (!findListValue(list, kind, value)) {
        out.message = listValueNotFoundMessage(kind, value);
        return out;
    }
    list.remove();
    transaction.commit();
    out.deleted = true;
    out.message = deletedMessage(value);
    return out;
}

std::string tableEditorNote(const ListTableKind& kind) {
    return std::string("In this form, you may delete the record. That is mean only in this \"") +
           kind.noteName +
           "\"\rand not delete the record in \"BOOK table\". The same rule when we edit the "
           "record.";
}

}  // namespace catalogue
