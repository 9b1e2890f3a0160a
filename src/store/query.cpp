#include "store/query.h"

#include <cmath>

#include "core/error.h"
#include "core/text.h"
#include "store/connection.h"
#include "store/sql_dialect.h"

namespace store {

Query::Query(Connection& connection, std::string objectName, std::string sql,
             std::vector<std::string> exposedFields)
    : m_connection(connection),
      m_objectName(std::move(objectName)),
      m_sql(std::move(sql)),
      m_exposed(std::move(exposedFields)) {}

void Query::setSql(const std::string& sql) {
    close();
    m_sql = sql;
}

void Query::open() {
    close();
    CompiledStatement c = compileStatement(m_sql, m_connection);
    if (c.kind != CompiledStatement::Kind::Select)
        throw core::Error(m_objectName + ": this statement returns no rows; execute it instead");
    std::vector<FieldDef> fields;
    std::string cols = "rowid";
    for (const auto& f : c.table->fields) {
        bool exposed = m_exposed.empty();
        for (const auto& e : m_exposed) exposed = exposed || core::equalsIgnoreCase(e, f.name);
        if (!exposed) continue;
        fields.push_back(f);
        cols += ", " + quoteIdentifier(f.name);
    }
    m_selectSql = "SELECT " + cols + " FROM " + quoteIdentifier(c.table->name) +
                  (c.where.sql.empty() ? "" : " WHERE " + c.where.sql);
    m_pageSql = "SELECT " + cols + " FROM " + quoteIdentifier(c.table->name) + " WHERE " +
                (c.where.sql.empty() ? "" : "(" + c.where.sql + ") AND ") + "rowid > ?";
    m_orderField = c.orderField;
    if (!m_orderField.empty()) {
        // The order key travels as a last, unexposed column.
        m_from = "SELECT " + cols + ", " + quoteIdentifier(m_orderField) + " FROM " +
                 quoteIdentifier(c.table->name) + " WHERE (" + c.where.sql + ")";
    }
    m_params = c.where.params;
    m_fields = std::move(fields);
    m_rows.clear();
    m_complete = false;
    m_count.reset();
    m_open = true;
    try {
        fetchMore();
    } catch (...) {
        close();
        throw;
    }
    first();
}

void Query::close() {
    m_open = false;
    m_rows.clear();
    m_fields.clear();
    m_complete = false;
    m_count.reset();
    m_current = 0;
    m_eof = m_bof = true;
}

void Query::refresh() {
    std::size_t at = m_current;
    open();
    while (at >= m_rows.size() && canFetchMore()) fetchMore();
    moveTo(at < m_rows.size() ? at : 0);
}

int Query::execute() {
    CompiledStatement c = compileStatement(m_sql, m_connection);
    if (c.kind != CompiledStatement::Kind::Update)
        throw core::Error(m_objectName + ": only UPDATE statements can be executed");
    std::vector<Value> params = {c.setValue};
    params.insert(params.end(), c.where.params.begin(), c.where.params.end());
    return m_connection.execute("UPDATE " + quoteIdentifier(c.table->name) + " SET " +
                                    quoteIdentifier(c.setField) + " = ? WHERE " + c.where.sql,
                                params);
}

// Pages follow the row id: each one starts after the last row fetched, so a
// row deleted or added elsewhere between two pages neither hides a row that
// is still there nor shows one twice (as counting an offset would).
std::size_t Query::fetchMore(std::size_t rows) {
    requireOpen();
    if (m_complete) return 0;
    if (!m_orderField.empty()) return fetchOrdered(rows);
    std::vector<Value> params = m_params;
    std::string sql = m_selectSql;
    if (!m_rows.empty()) {
        sql = m_pageSql;
        params.push_back(m_rows.back().front());
    }
    params.emplace_back(static_cast<std::int64_t>(rows));
    auto page = m_connection.select(sql + " ORDER BY rowid LIMIT ?", params);
    if (page.size() < rows) {
        m_complete = true;
        m_count = static_cast<std::int64_t>(m_rows.size() + page.size());
    }
    for (auto& r : page) m_rows.push_back(std::move(r));
    return page.size();
}

// A prefix look-up pages in the order of its indexed field, then row id:
// first the rest of the rows with the last key, then the rows after it, each
// step a walk of the index from where the last page ended.
std::size_t Query::fetchOrdered(std::size_t rows) {
    const std::string f = quoteIdentifier(m_orderField);
    std::vector<std::vector<Value>> page;
    if (m_rows.empty()) {
        std::vector<Value> params = m_params;
        params.emplace_back(static_cast<std::int64_t>(rows));
        page = m_connection.select(m_from + " ORDER BY " + f + " COLLATE NOCASE, rowid LIMIT ?", params);
    } else {
        const Value lastKey = m_rows.back().back();
        const Value lastRow = m_rows.back().front();
        std::vector<Value> params = m_params;
        params.push_back(lastKey);
        params.push_back(lastRow);
        params.emplace_back(static_cast<std::int64_t>(rows));
        page = m_connection.select(m_from + " AND " + f + " = ? COLLATE NOCASE AND rowid > ? ORDER BY rowid LIMIT ?",
                                   params);
        if (page.size() < rows) {
            params = m_params;
            params.push_back(lastKey);
            params.emplace_back(static_cast<std::int64_t>(rows - page.size()));
            auto after = m_connection.select(
                m_from + " AND " + f + " > ? COLLATE NOCASE ORDER BY " + f + " COLLATE NOCASE, rowid LIMIT ?", params);
            for (auto& r : after) page.push_back(std::move(r));
        }
    }
    if (page.size() < rows) {
        m_complete = true;
        m_count = static_cast<std::int64_t>(m_rows.size() + page.size());
    }
    for (auto& r : page) m_rows.push_back(std::move(r));
    return page.size();
}

std::int64_t Query::recordCount() const {
    requireOpen();
    if (!m_count) {
        auto rows = m_connection.select("SELECT count(*) FROM (" + m_selectSql + ")", m_params);
        m_count = std::get<std::int64_t>(rows[0][0]);
    }
    return *m_count;
}

std::optional<std::size_t> Query::columnOf(const std::string& field) const {
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (core::equalsIgnoreCase(m_fields[i].name, field)) return i;
    return std::nullopt;
}

void Query::requireOpen() const {
    if (!m_open) throw core::Error(m_objectName + ": Cannot perform this operation on a closed dataset");
}

bool Query::isEmpty() const { return m_rows.empty(); }

void Query::first() {
    requireOpen();
    m_current = 0;
    m_bof = true;
    m_eof = m_rows.empty();
}

void Query::next() {
    requireOpen();
    if (m_current + 1 >= m_rows.size() && canFetchMore()) fetchMore();
    if (m_current + 1 < m_rows.size()) {
        ++m_current;
        m_bof = false;
        m_eof = false;
    } else {
        m_eof = true;
    }
}

void Query::prior() {
    requireOpen();
    if (m_current > 0) {
        --m_current;
        m_eof = false;
        m_bof = false;
    } else {
        m_bof = true;
    }
}

void Query::last() {
    requireOpen();
    while (canFetchMore()) fetchMore(4096);
    m_current = m_rows.empty() ? 0 : m_rows.size() - 1;
    m_eof = true;
    m_bof = m_rows.empty();
}

bool Query::moveTo(std::size_t row) {
    requireOpen();
    while (row >= m_rows.size() && canFetchMore()) fetchMore();
    if (row >= m_rows.size()) return false;
    m_current = row;
    m_bof = m_eof = false;
    return true;
}

std::size_t Query::exposedColumn(const std::string& field) const {
    auto c = columnOf(field);
    if (!c) throw core::Error(m_objectName + ": Field '" + field + "' not found");
    return *c;
}

const Value& Query::valueAt(std::size_t row, std::size_t column) const {
    return m_rows.at(row).at(column + 1);
}

std::int64_t Query::rowIdAt(std::size_t row) const { return std::get<std::int64_t>(m_rows.at(row).at(0)); }

const Value& Query::value(const std::string& field) const {
    requireOpen();
    std::size_t col = exposedColumn(field);
    if (m_rows.empty()) {
        static const Value empty;
        return empty;
    }
    return valueAt(m_current, col);
}

std::string Query::displayText(const FieldDef&, const Value& v) {
    if (auto s = std::get_if<std::string>(&v)) return *s;
    if (auto n = std::get_if<std::int64_t>(&v)) return std::to_string(*n);
    if (auto d = std::get_if<double>(&v)) return core::formatPlainNumber(*d);
    return {};
}

std::string Query::asString(const std::string& field) const {
    const Value& v = value(field);
    return displayText(m_fields[exposedColumn(field)], v);
}

std::int64_t Query::asInteger(const std::string& field) const {
    const Value& v = value(field);
    if (auto n = std::get_if<std::int64_t>(&v)) return *n;
    if (auto d = std::get_if<double>(&v)) return std::llround(*d);
    if (auto s = std::get_if<std::string>(&v)) return core::trim(*s).empty() ? 0 : core::toInteger(*s);
    return 0;
}

double Query::asFloat(const std::string& field) const {
    const Value& v = value(field);
    if (auto n = std::get_if<std::int64_t>(&v)) return static_cast<double>(*n);
    if (auto d = std::get_if<double>(&v)) return *d;
    if (auto s = std::get_if<std::string>(&v)) return core::trim(*s).empty() ? 0.0 : core::toNumber(*s);
    return 0.0;
}

core::DateTime Query::asDateTime(const std::string& field) const {
    return core::DateTime::fromText(asString(field));
}

}  // namespace store
