#include "store/table.h"

#include <cmath>

#include "core/error.h"
#include "core/text.h"
#include "store/connection.h"
#include "store/sql_dialect.h"
#include "store/table_locks.h"

namespace store {

namespace {
Value defaultValue(const FieldDef& f) {
    switch (f.type) {
        case FieldType::Integer: return std::int64_t{0};
        case FieldType::Float: return 0.0;
        case FieldType::Blob: return std::monostate{};
        default: return std::string();
    }
}
}  // namespace

Table::Table(Connection& connection, std::string tableName, std::string objectName)
    : m_connection(connection), m_tableName(std::move(tableName)), m_objectName(std::move(objectName)) {
    if (m_objectName.empty()) m_objectName = "tb" + m_tableName;
}

Table::~Table() { releaseSharedLock(); }

// The shared mark belongs to the opening of the connection it was taken in:
// closing the connection drops every mark it held, so a mark from an earlier
// opening must not be released again (it would release another object's).
void Table::releaseSharedLock() {
    if (m_holdsShared && m_lockGeneration == m_connection.generation() && m_connection.isOpen())
        m_connection.locks().releaseShared(m_tableName);
    m_holdsShared = false;
}

bool Table::isOpen() const {
    return m_state != State::Inactive && m_connection.isOpen() &&
           m_generation == m_connection.generation();
}

void Table::setIndexName(const std::string& name) {
    if (isOpen()) {
        postPendingIfAny();
        std::string previous = m_indexName;
        m_indexName = name;
        try {
            currentIndex();
        } catch (...) {
            m_indexName = previous;
            throw;
        }
        // Keep the current record; only the order changes. Without one (an
        // empty table) there is still nothing to read.
        m_eof = m_bof = !m_rowId.has_value();
    } else {
        m_indexName = name;
    }
}

void Table::open() {
    if (isOpen()) return;
    if (!m_connection.isOpen())
        throw core::Error("Cannot open " + m_objectName + ": the database " + m_connection.name() +
                          " is not connected");
    const TableDef* layout = m_connection.tableLayout(m_tableName);
    if (!layout)
        throw core::Error("Table '" + m_tableName + "' does not exist in " + m_connection.fileName());
    releaseSharedLock();
    if (!m_connection.locks().acquireShared(m_tableName))
        throw core::Error("Table " + m_tableName + " is in exclusive use by another user");
    m_holdsShared = true;
    m_lockGeneration = m_connection.generation();
    m_layout = *layout;
    m_generation = m_connection.generation();
    m_state = State::Browse;
    try {
        currentIndex();
        first();
    } catch (...) {
        close();
        throw;
    }
}

void Table::close() {
    releaseSharedLock();
    m_state = State::Inactive;
    clearCurrent();
}

const TableDef& Table::layout() const {
    requireOpen();
    return m_layout;
}

bool Table::hasField(const std::string& name) const {
    for (const auto& f : m_layout.fields)
        if (core::equalsIgnoreCase(f.name, name)) return true;
    return false;
}

void Table::requireOpen() const {
    if (!isOpen()) throw core::Error("Cannot perform this operation on a closed dataset (" + m_objectName + ")");
}

const IndexDef* Table::currentIndex() const {
    if (m_indexName.empty()) return nullptr;
    for (const auto& idx : m_layout.indexes)
        if (core::equalsIgnoreCase(idx.name, m_indexName)) return &idx;
    throw core::Error("Index '" + m_indexName + "' not found in table " + m_tableName);
}

std::string Table::keyExpression(const IndexDef& index, std::size_t i) const {
    std::string e = quoteIdentifier(index.fields[i]);
    if (index.caseInsensitive) e += " COLLATE NOCASE";
    return e;
}

std::size_t Table::fieldIndex(const std::string& name) const {
    for (std::size_t i = 0; i < m_layout.fields.size(); ++i)
        if (core::equalsIgnoreCase(m_layout.fields[i].name, name)) return i;
    throw core::Error(m_objectName + ": Field '" + name + "' not found");
}

std::string Table::selectColumns() const {
    std::string cols = "rowid";
    for (const auto& f : m_layout.fields) cols += ", " + quoteIdentifier(f.name);
    return cols;
}

std::string Table::filterSql(std::vector<Value>& params) const {
    if (!m_filtered || core::trim(m_filter).empty()) return {};
    CompiledCondition c = compileCondition(m_filter, m_layout);
    params.insert(params.end(), c.params.begin(), c.params.end());
    return "(" + c.sql + ")";
}

std::string Table::orderBy(bool descending) const {
    std::string dir = descending ? " DESC" : "";
    std::string order;
    if (const IndexDef* idx = currentIndex())
        for (std::size_t i = 0; i < idx->fields.size(); ++i) order += keyExpression(*idx, i) + dir + ", ";
    return order + "rowid" + dir;
}

bool Table::loadWhere(const std::string& where, std::vector<Value> params, const std::string& order) {
    std::vector<Value> all = params;
    std::string filter = filterSql(all);
    std::string cond = where;
    if (!filter.empty()) cond = cond.empty() ? filter : cond + " AND " + filter;
    std::string sql = "SELECT " + selectColumns() + " FROM " + quoteIdentifier(m_layout.name) +
                      (cond.empty() ? "" : " WHERE " + cond) + " ORDER BY " + order + " LIMIT 1";
    auto rows = m_connection.select(sql, all);
    if (rows.empty()) return false;
    loadRow(rows.front());
    return true;
}

void Table::loadRow(const std::vector<Value>& row) {
    m_rowId = std::get<std::int64_t>(row[0]);
    m_values.assign(row.begin() + 1, row.end());
    m_changed.assign(m_values.size(), false);
}

void Table::clearCurrent() {
    m_rowId.reset();
    m_values.clear();
    m_changed.clear();
    m_eof = m_bof = true;
}

// Before a move or a lookup: a pending edit or insert is posted when a field
// was written, and dropped when nothing in it changed (an insert nobody wrote
// into would otherwise become a blank row).
void Table::postPendingIfAny() {
    if (m_state == State::Edit || m_state == State::Insert) {
        bool anyChange = false;
        for (bool c : m_changed) anyChange = anyChange || c;
        if (anyChange)
            post();
        else
            cancel();
    }
}

bool Table::findKey(const std::vector<std::string>& values) {
    requireOpen();
    postPendingIfAny();
    const IndexDef* idx = currentIndex();
    if (!idx) throw core::Error(m_objectName + ": no index is set for a key lookup");
    if (values.size() > idx->fields.size())
        throw core::Error(m_objectName + ": more key values (" + std::to_string(values.size()) +
                          ") than fields in index " + idx->name + " (" +
                          std::to_string(idx->fields.size()) + ")");
    std::string where;
    std::vector<Value> params;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) where += " AND ";
        where += keyExpression(*idx, i) + " = ?";
        params.push_back(convertText(m_layout.fields[fieldIndex(idx->fields[i])], values[i]));
    }
    if (loadWhere(where, params, orderBy(false))) {
        m_eof = m_bof = false;
        return true;
    }
    clearCurrent();
    return false;
}

void Table::first() {
    requireOpen();
    postPendingIfAny();
    if (loadWhere("", {}, orderBy(false))) {
        m_bof = true;
        m_eof = false;
    } else {
        clearCurrent();
    }
}

void Table::last() {
    requireOpen();
    postPendingIfAny();
    if (loadWhere("", {}, orderBy(true))) {
        m_eof = true;
        m_bof = false;
    } else {
        clearCurrent();
    }
}

// Moves to the neighbour of the current record in index order: first among
// records with equal keys and a larger (smaller) row id, then level by level
// among records whose leading keys are equal and the next key larger.
bool Table::stepFrom(bool forward) {
    if (!m_rowId) return false;
    const IndexDef* idx = currentIndex();
    std::size_t k = idx ? idx->fields.size() : 0;
    std::string cmp = forward ? " > ?" : " < ?";
    std::string order = orderBy(!forward);
    std::vector<Value> keys;
    for (std::size_t i = 0; i < k; ++i) keys.push_back(m_values[fieldIndex(idx->fields[i])]);
    for (std::size_t level = k + 1; level-- > 0;) {
        std::string where;
        std::vector<Value> params;
        std::size_t equal = level == k ? k : level;
        for (std::size_t i = 0; i < equal; ++i) {
            if (!where.empty()) where += " AND ";
            where += keyExpression(*idx, i) + " = ?";
            params.push_back(keys[i]);
        }
        if (!where.empty()) where += " AND ";
        if (level == k) {
            where += "rowid" + cmp;
            params.push_back(*m_rowId);
        } else {
            where += keyExpression(*idx, level) + cmp;
            params.push_back(keys[level]);
        }
        if (loadWhere(where, params, order)) return true;
    }
    return false;
}

void Table::next() {
    requireOpen();
    postPendingIfAny();
    if (m_eof && !m_rowId) return;
    if (stepFrom(true)) {
        m_bof = m_eof = false;
    } else {
        m_eof = true;
    }
}

void Table::prior() {
    requireOpen();
    postPendingIfAny();
    if (m_bof && !m_rowId) return;
    if (stepFrom(false)) {
        m_bof = m_eof = false;
    } else {
        m_bof = true;
    }
}

std::int64_t Table::rowId() const {
    if (!m_rowId) throw core::Error(m_objectName + ": no current record");
    return *m_rowId;
}

bool Table::gotoRowId(std::int64_t rowId) {
    requireOpen();
    postPendingIfAny();
    if (loadWhere("rowid = ?", {rowId}, "rowid")) {
        m_eof = m_bof = false;
        return true;
    }
    return false;
}

std::int64_t Table::recordCount() const {
    requireOpen();
    std::vector<Value> params;
    std::string filter = filterSql(params);
    auto rows = m_connection.select("SELECT count(*) FROM " + quoteIdentifier(m_layout.name) +
                                        (filter.empty() ? "" : " WHERE " + filter),
                                    params);
    return std::get<std::int64_t>(rows[0][0]);
}

void Table::edit() {
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert) return;
    if (!m_rowId) throw core::Error(m_objectName + ": there is no record to edit");
    // Read the record again, so the edit starts from what is stored now.
    auto rows = m_connection.select("SELECT " + selectColumns() + " FROM " +
                                        quoteIdentifier(m_layout.name) + " WHERE rowid = ?",
                                    {*m_rowId});
    if (rows.empty())
        throw core::Error(m_objectName + ": the record was deleted by another user");
    loadRow(rows.front());
    m_state = State::Edit;
}

void Table::insert() {
    requireOpen();
    postPendingIfAny();
    m_values.clear();
    for (const auto& f : m_layout.fields) m_values.push_back(defaultValue(f));
    m_changed.assign(m_values.size(), false);
    m_state = State::Insert;
}

void Table::post() {
    requireOpen();
    if (m_state != State::Edit && m_state != State::Insert) return;
    State was = m_state;
    try {
        if (was == State::Insert) {
            std::string cols, marks;
            std::vector<Value> params;
            for (std::size_t i = 0; i < m_values.size(); ++i) {
                if (!m_changed[i]) continue;
                if (!cols.empty()) {
                    cols += ", ";
                    marks += ", ";
                }
                cols += quoteIdentifier(m_layout.fields[i].name);
                marks += "?";
                params.push_back(m_values[i]);
            }
            std::string sql = "INSERT INTO " + quoteIdentifier(m_layout.name) +
                              (cols.empty() ? " DEFAULT VALUES" : " (" + cols + ") VALUES (" + marks + ")");
            m_connection.execute(sql, params);
            m_rowId = m_connection.lastInsertRowId();
        } else {
            std::string sets;
            std::vector<Value> params;
            for (std::size_t i = 0; i < m_values.size(); ++i) {
                if (!m_changed[i]) continue;
                if (!sets.empty()) sets += ", ";
                sets += quoteIdentifier(m_layout.fields[i].name) + " = ?";
                params.push_back(m_values[i]);
            }
            if (!sets.empty()) {
                params.push_back(*m_rowId);
                if (m_connection.execute("UPDATE " + quoteIdentifier(m_layout.name) + " SET " + sets +
                                             " WHERE rowid = ?",
                                         params) == 0)
                    throw core::Error(m_objectName + ": the record was deleted by another user");
            }
        }
    } catch (...) {
        // A refused post leaves nothing pending: the record is as stored.
        m_state = State::Browse;
        if (was == State::Insert) {
            if (!m_rowId || !gotoRowId(*m_rowId)) first();
        } else if (m_rowId && !gotoRowId(*m_rowId)) {
            first();
        }
        throw;
    }
    m_state = State::Browse;
    if (!gotoRowId(*m_rowId)) clearCurrent();
}

void Table::cancel() {
    if (m_state != State::Edit && m_state != State::Insert) return;
    m_state = State::Browse;
    if (m_rowId && isOpen() && gotoRowId(*m_rowId)) return;
    if (isOpen()) first();
}

void Table::remove() {
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    m_state = State::Browse;
    if (!m_rowId) throw core::Error(m_objectName + ": there is no record to delete");
    std::int64_t gone = *m_rowId;
    m_connection.execute("DELETE FROM " + quoteIdentifier(m_layout.name) + " WHERE rowid = ?", {gone});
    // The neighbour in index order becomes current, found from the deleted
    // record's keys, which are still in m_values.
    if (stepFrom(true)) {
        m_eof = m_bof = false;
    } else if (stepFrom(false)) {
        m_eof = true;
        m_bof = false;
    } else {
        clearCurrent();
    }
}

void Table::refresh() {
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert) return;
    if (!(m_rowId && gotoRowId(*m_rowId))) first();
}

const Value& Table::value(const std::string& field) const {
    requireOpen();
    std::size_t i = fieldIndex(field);
    if (!m_rowId && m_state != State::Insert) {
        static const Value empty;
        return empty;
    }
    return m_values[i];
}

bool Table::isNull(const std::string& field) const {
    return std::holds_alternative<std::monostate>(value(field));
}

std::string Table::asString(const std::string& field) const {
    const Value& v = value(field);
    if (auto s = std::get_if<std::string>(&v)) return *s;
    if (auto n = std::get_if<std::int64_t>(&v)) return std::to_string(*n);
    if (auto d = std::get_if<double>(&v)) return core::formatPlainNumber(*d);
    return {};
}

std::int64_t Table::asInteger(const std::string& field) const {
    const Value& v = value(field);
    if (auto n = std::get_if<std::int64_t>(&v)) return *n;
    if (auto d = std::get_if<double>(&v)) return std::llround(*d);
    if (auto s = std::get_if<std::string>(&v)) return core::toInteger(*s);
    return 0;
}

double Table::asFloat(const std::string& field) const {
    const Value& v = value(field);
    if (auto n = std::get_if<std::int64_t>(&v)) return static_cast<double>(*n);
    if (auto d = std::get_if<double>(&v)) return *d;
    if (auto s = std::get_if<std::string>(&v)) return core::trim(*s).empty() ? 0.0 : core::toNumber(*s);
    return 0.0;
}

core::DateTime Table::asDateTime(const std::string& field) const {
    return core::DateTime::fromText(asString(field));
}

void Table::requireEditing(const std::string& field) const {
    requireOpen();
    if (m_state != State::Edit && m_state != State::Insert)
        throw core::Error(m_objectName + " is not in edit or insert mode (field " + field + ")");
}

Value Table::convertText(const FieldDef& f, const std::string& text) const {
    switch (f.type) {
        case FieldType::Integer: return core::toInteger(text);
        case FieldType::Float: return core::toNumber(text);
        case FieldType::Date:
            if (core::trim(text).empty()) return std::string();
            return core::DateTime::fromText(text).toDateText();
        case FieldType::DateTime:
            if (core::trim(text).empty()) return std::string();
            return core::DateTime::fromText(text).toDateTimeText();
        case FieldType::Blob: {
            Blob b;
            b.bytes.assign(text.begin(), text.end());
            return b;
        }
        default:
            return f.width > 0 ? core::cutToWidth(text, static_cast<std::size_t>(f.width)) : text;
    }
}

void Table::setValue(const std::string& field, const Value& v) {
    requireEditing(field);
    std::size_t i = fieldIndex(field);
    const FieldDef& f = m_layout.fields[i];
    Value stored = v;
    if (auto s = std::get_if<std::string>(&v)) {
        stored = convertText(f, *s);
    } else if (auto n = std::get_if<std::int64_t>(&v)) {
        if (f.type == FieldType::Float) stored = static_cast<double>(*n);
        else if (f.type != FieldType::Integer) stored = convertText(f, std::to_string(*n));
    } else if (auto d = std::get_if<double>(&v)) {
        if (f.type == FieldType::Integer) stored = static_cast<std::int64_t>(std::llround(*d));
        else if (f.type != FieldType::Float) stored = convertText(f, core::formatPlainNumber(*d));
    } else if (std::holds_alternative<std::monostate>(v) && f.type != FieldType::Blob) {
        stored = defaultValue(f);
    }
    m_values[i] = std::move(stored);
    m_changed[i] = true;
}

void Table::setString(const std::string& field, const std::string& text) { setValue(field, text); }
void Table::setInteger(const std::string& field, std::int64_t number) { setValue(field, number); }
void Table::setFloat(const std::string& field, double number) { setValue(field, number); }

void Table::setDateTime(const std::string& field, const core::DateTime& when) {
    requireEditing(field);
    const FieldDef& f = m_layout.fields[fieldIndex(field)];
    setValue(field, f.type == FieldType::Date ? when.toDateText() : when.toDateTimeText());
}

void Table::setFilter(const std::string& expression) {
    m_filter = expression;
    if (m_filtered && isOpen()) {
        std::vector<Value> params;
        filterSql(params);  // compile now: bad text is refused at once
        first();
    }
}

void Table::setFiltered(bool on) {
    bool was = m_filtered;
    m_filtered = on;
    if (on && isOpen()) {
        try {
            std::vector<Value> params;
            filterSql(params);
        } catch (...) {
            m_filtered = was;
            throw;
        }
    }
    if (isOpen()) first();
}

bool Table::emptyTable() {
    close();
    bool emptied = false;
    TableLocks& locks = m_connection.locks();
    if (m_connection.isOpen() && locks.acquireExclusive(m_tableName)) {
        try {
            const TableDef* layout = m_connection.tableLayout(m_tableName);
            if (layout) {
                m_connection.execute("DELETE FROM " + quoteIdentifier(layout->name));
                emptied = true;
            }
        } catch (const core::Error&) {
            emptied = false;
        }
        locks.releaseExclusive(m_tableName);
    }
    try {
        open();
    } catch (const core::Error&) {
        return false;
    }
    return emptied;
}

}  // namespace store
