#pragma once
// The type-ahead lookup field: while the user types, a grid drops down under
// the field with the list rows that begin with the typed text; Down moves into
// the grid; Enter or a double click there copies the value back; Enter in the
// field checks the value against its list and offers to add a new one.
//
// One component serves every instance; the owning window supplies the
// parameters (list query and statements, exact-lookup table, capture wording,
// next field) and reacts to the few hooks.

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "ui/context.h"

class QLineEdit;
class QTableView;
class QWidget;

namespace store {
class Query;
class Table;
}  // namespace store

namespace ui {

class QueryModel;

// The statement of the prefix form: "SELECT * FROM <table> WHERE
// SUBSTRING(UPPER(<column>) FROM 1 FOR n)=<upper-cased text as a literal>",
// with optional leading conditions ("KDFKELUARGA = "F" and ") and trailing
// ones (" AND STATUS <> "B"").
std::string prefixStatement(const std::string& table, const std::string& column, const std::string& trimmedText,
                            const std::string& leading = {}, const std::string& trailing = {});

class TypeAheadField : public QObject {
    Q_OBJECT
public:
    struct Config {
        std::string listQuery;   // shared query object, e.g. "tqTitle"
        std::string listTable;   // as written in the statements, e.g. "tTitle"
        std::string listColumn;  // e.g. "TITLE"
        // Statements; the defaults are the prefix form and "SELECT * FROM <table>".
        std::function<std::string(const std::string& trimmed)> prefixStatement;
        std::function<std::string()> unfilteredStatement;
        // Exact lookup and capture (empty table: no capture).
        std::string exactTable;   // shared table object, e.g. "tbTITLE"
        std::string exactIndex;   // e.g. "iTITLE"
        std::string captureWording;  // e.g. " a new TITLE?"
        // Values written besides the list column when a value is captured.
        std::map<std::string, std::string> captureExtras;
        // Whether the drop-down shows after every key release, whatever the entry text.
        bool alwaysShow = false;
        // Escape in the field: clear it and hide (author, publisher) or keep
        // it and stay (title).
        bool escapeClears = true;
        bool escapeStays = false;
    };

    TypeAheadField(AppContext& ctx, QLineEdit* field, Config config, QWidget* gridParent);

    QLineEdit* field() const { return m_field; }
    QTableView* grid() const { return m_grid; }
    bool dropDownVisible() const;
    void setNextField(QWidget* next) { m_next = next; }
    QWidget* nextField() const { return m_next; }

    // Hooks for the owning window.
    // Enter in the field for instances without capture (default: focus on).
    std::function<void()> onEnter;
    // After Enter found the value, or after a capture (publisher: item code).
    std::function<void()> onFound;
    std::function<void()> onCaptured;
    // After a pick from the grid (default: focus the next field).
    std::function<void(const QString& value)> onPicked;
    // After Escape in the field (default: focus the next control).
    std::function<void()> onEscape;

    // The steps, callable by the window and by tests.
    void refresh();
    void enterPressed();
    void escapePressed();
    void downPressed();
    void pick();
    void escapeInGrid();
    void showDropDown();
    void hideDropDown();
    // The entry text: the field's trimmed text when it last received focus.
    const QString& entryText() const { return m_entryText; }
    void rememberEntryText();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    store::Query& query() const;
    void reopen(const std::string& statement);
    void focusNext();

    AppContext& m_ctx;
    QLineEdit* m_field;
    Config m_config;
    QWidget* m_next = nullptr;
    QTableView* m_grid;
    QueryModel* m_model;
    QString m_entryText;
};

}  // namespace ui
