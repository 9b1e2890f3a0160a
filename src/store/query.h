#pragma once
// A read-only query object: a statement of the program's SQL dialect, set at
// creation and replaced by windows before each use, and the rows it returns.
// Only the exposed fields can be read; reading another fails like a field the
// table lacks. Rows come in stored order (row id) and are fetched in pages as
// they are needed, so a result over a million rows opens at once; the full
// count is asked for separately.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/date_time.h"
#include "store/schema.h"
#include "store/value.h"

namespace store {

class Connection;

class Query {
public:
    static constexpr std::size_t kPageSize = 256;

    // exposedFields empty: every field of the statement's table.
    Query(Connection& connection, std::string objectName, std::string sql,
          std::vector<std::string> exposedFields = {});

    const std::string& objectName() const { return m_objectName; }
    Connection& connection() const { return m_connection; }

    // Replacing the text closes the query.
    void setSql(const std::string& sql);
    const std::string& sql() const { return m_sql; }

    // Compiles and runs the statement; a statement outside the dialect, an
    // unknown table or field fails with core::Error and leaves it closed.
    void open();
    void close();
    bool isOpen() const { return m_open; }
    // Runs the statement again, keeping the position where possible.
    void refresh();

    // Runs an UPDATE statement of the dialect; returns the rows changed.
    int execute();

    // Result layout: the exposed fields present in the result, in stored order.
    const std::vector<FieldDef>& fields() const { return m_fields; }
    std::optional<std::size_t> columnOf(const std::string& field) const;

    // Navigation over the result.
    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const;
    std::size_t recNo() const { return m_current; }  // 0-based
    bool moveTo(std::size_t row);

    // Rows fetched so far, and fetching more of them.
    std::size_t fetchedCount() const { return m_rows.size(); }
    bool canFetchMore() const { return m_open && !m_complete; }
    std::size_t fetchMore(std::size_t rows = kPageSize);
    // Every row of the result (counted by the engine, not fetched).
    std::int64_t recordCount() const;

    // Fields of the current row.
    std::string asString(const std::string& field) const;
    std::int64_t asInteger(const std::string& field) const;
    double asFloat(const std::string& field) const;
    core::DateTime asDateTime(const std::string& field) const;
    const Value& value(const std::string& field) const;
    // Field of any fetched row, for grid models.
    const Value& valueAt(std::size_t row, std::size_t column) const;
    std::int64_t rowIdAt(std::size_t row) const;
    static std::string displayText(const FieldDef& field, const Value& value);

private:
    void requireOpen() const;
    std::size_t fetchOrdered(std::size_t rows);
    std::size_t exposedColumn(const std::string& field) const;

    Connection& m_connection;
    std::string m_objectName;
    std::string m_sql;
    std::vector<std::string> m_exposed;

    // Result
    bool m_open = false;
    std::string m_selectSql;  // backend statement without paging
    std::string m_pageSql;    // the same, for the rows after a given row id
    std::string m_orderField; // rows follow this field's order (prefix look-ups)
    std::string m_from;       // FROM and WHERE of the statement
    std::vector<Value> m_params;
    std::vector<FieldDef> m_fields;
    std::vector<std::vector<Value>> m_rows;  // row id first, then m_fields
    bool m_complete = false;
    mutable std::optional<std::int64_t> m_count;
    std::size_t m_current = 0;
    bool m_eof = true;
    bool m_bof = true;
};

}  // namespace store
