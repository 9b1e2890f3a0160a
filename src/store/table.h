#pragma once
// A table object: one table of a connection, browsed record by record in the
// order of its current index, with the current record's fields read and
// written by name (without regard to case).
//
// A record is identified by its row id; navigation is keyset order over the
// current index (key fields, then row id), so moving never scans the table.
// Text written to a field is cut to the field's width in characters.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/date_time.h"
#include "store/schema.h"
#include "store/value.h"

namespace store {

class Connection;

class Table {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    Table(Connection& connection, std::string tableName, std::string objectName = {});
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Constant after construction
    const std::string& tableName() const { return m_tableName; }
    const std::string& objectName() const { return m_objectName; }
    Connection& connection() const { return m_connection; }

    // Current index, by name without regard to case; allowed open or closed.
    // An empty name means stored (row id) order. An unknown name fails when
    // the table is (or becomes) open.
    void setIndexName(const std::string& name);
    const std::string& indexName() const { return m_indexName; }

    // Opening fails when the file has no such table, the connection is
    // closed, or another connection uses the table exclusively.
    void open();
    void close();
    bool isOpen() const;
    State state() const { return isOpen() ? m_state : State::Inactive; }

    // Layout as stored in the file (valid while open).
    const TableDef& layout() const;
    bool hasField(const std::string& name) const;

    // Find by key: values are compared with the leading key fields of the
    // current index (case-insensitively on a case-insensitive index). More
    // values than key fields is an error. Returns whether a record matched;
    // the first match in index order becomes current. A pending edit or
    // insert is posted first, or dropped when nothing in it was written.
    bool findKey(const std::vector<std::string>& values);

    // Navigation in index order, honouring an active filter.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    // Whether there is a current record at all (false on an empty table).
    bool hasRecord() const { return m_rowId.has_value(); }
    std::int64_t rowId() const;
    // Makes the record with this row id current; false when it is gone.
    bool gotoRowId(std::int64_t rowId);

    std::int64_t recordCount() const;

    // Editing the current record.
    void edit();
    void insert();
    void post();
    void cancel();
    // Deletes the current record; the next one (or the previous at the end)
    // becomes current.
    void remove();
    // Reads the current record again from the file.
    void refresh();

    // Fields of the current record.
    std::string asString(const std::string& field) const;
    std::int64_t asInteger(const std::string& field) const;
    double asFloat(const std::string& field) const;
    core::DateTime asDateTime(const std::string& field) const;
    const Value& value(const std::string& field) const;
    bool isNull(const std::string& field) const;

    // Writing needs edit or insert state. Text is converted to the field's
    // type: a number field refuses text that is not a number, a date field
    // text that is not a date (core::Error, nothing changed).
    void setString(const std::string& field, const std::string& text);
    void setInteger(const std::string& field, std::int64_t number);
    void setFloat(const std::string& field, double number);
    void setDateTime(const std::string& field, const core::DateTime& when);
    void setValue(const std::string& field, const Value& value);

    // Filter: a condition of the program's SQL dialect (KELAS="7A",
    // TGNEW = '2020-03-01'). It is compiled when filtering is switched on.
    void setFilter(const std::string& expression);
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    // Empties the whole table: close, exclusive use, delete every record,
    // shared use, open again. Returns false (records kept) when another
    // connection has the table open or the engine refuses; the table ends
    // open and shared either way.
    bool emptyTable();

private:
    const IndexDef* currentIndex() const;
    std::string keyExpression(const IndexDef& index, std::size_t i) const;
    std::size_t fieldIndex(const std::string& name) const;
    void requireOpen() const;
    void requireEditing(const std::string& field) const;
    std::string selectColumns() const;
    std::string filterSql(std::vector<Value>& params) const;
    bool loadWhere(const std::string& where, std::vector<Value> params, const std::string& order);
    void loadRow(const std::vector<Value>& row);
    void clearCurrent();
    Value convertText(const FieldDef& f, const std::string& text) const;
    std::string orderBy(bool descending) const;
    bool stepFrom(bool forward);
    void postPendingIfAny();
    void releaseSharedLock();

    Connection& m_connection;
    std::string m_tableName;
    std::string m_objectName;
    std::string m_indexName;
    State m_state = State::Inactive;
    TableDef m_layout;
    long m_generation = -1;  // the connection opening this table was made in
    bool m_holdsShared = false;
    long m_lockGeneration = -1;  // the connection opening the shared mark was taken in

    // Current record
    std::optional<std::int64_t> m_rowId;
    std::vector<Value> m_values;
    std::vector<bool> m_changed;
    bool m_eof = true;
    bool m_bof = true;

    // Filter
    std::string m_filter;
    bool m_filtered = false;
};

}  // namespace store
