#include "store/connection.h"

#include <sqlite3.h>

#include <filesystem>

#include "core/error.h"
#include "core/text.h"
#include "store/table_locks.h"

namespace store {

namespace {

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &m_stmt, nullptr) !=
            SQLITE_OK)
            throw core::Error(sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

void bindAll(sqlite3* db, sqlite3_stmt* stmt, const std::vector<Value>& params) {
    for (std::size_t i = 0; i < params.size(); ++i) {
        int at = static_cast<int>(i + 1), rc = SQLITE_OK;
        const Value& v = params[i];
        if (std::holds_alternative<std::monostate>(v)) {
            rc = sqlite3_bind_null(stmt, at);
        } else if (auto n = std::get_if<std::int64_t>(&v)) {
            rc = sqlite3_bind_int64(stmt, at, *n);
        } else if (auto d = std::get_if<double>(&v)) {
            rc = sqlite3_bind_double(stmt, at, *d);
        } else if (auto s = std::get_if<std::string>(&v)) {
            rc = sqlite3_bind_text(stmt, at, s->data(), static_cast<int>(s->size()),
                                   SQLITE_TRANSIENT);
        } else if (auto b = std::get_if<Blob>(&v)) {
            rc = sqlite3_bind_blob(stmt, at, b->bytes.data(), static_cast<int>(b->bytes.size()),
                                   SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK) throw core::Error(sqlite3_errmsg(db));
    }
}

Value columnValue(sqlite3_stmt* stmt, int col) {
    switch (sqlite3_column_type(stmt, col)) {
        case SQLITE_INTEGER: return static_cast<std::int64_t>(sqlite3_column_int64(stmt, col));
        case SQLITE_FLOAT: return sqlite3_column_double(stmt, col);
        case SQLITE_TEXT: {
            auto p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
            return std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt, col)));
        }
        case SQLITE_BLOB: {
            auto p = static_cast<const unsigned char*>(sqlite3_column_blob(stmt, col));
            Blob b;
            b.bytes.assign(p, p + sqlite3_column_bytes(stmt, col));
            return b;
        }
        default: return std::monostate{};
    }
}

std::string quotedName(const std::string& identifier) {
    return "\"" + core::replaceAll(identifier, "\"", "\"\"") + "\"";
}

// Engine messages made readable for the standard error box.
std::string engineMessage(sqlite3* db) {
    int code = sqlite3_extended_errcode(db);
    std::string msg = sqlite3_errmsg(db);
    if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY)
        return "Key violation: " + msg;
    if ((code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED)
        return "The database is locked by another user: " + msg;
    return msg;
}

}  // namespace

Connection::Connection() = default;
Connection::Connection(std::string name) : m_name(std::move(name)) {}
Connection::~Connection() { close(); }

void Connection::setFileName(const std::string& path) {
    if (isOpen()) throw core::Error("Cannot change the file of the open connection " + m_name);
    m_fileName = path;
    m_layouts.clear();
    m_locks.reset();
}

std::string Connection::describe(const std::string& what) const {
    return "Cannot open database file \"" + m_fileName + "\"" +
           (m_name.empty() ? "" : " (" + m_name + ")") + ": " + what;
}

void Connection::open() {
    if (isOpen()) return;
    std::error_code ec;
    if (m_fileName.empty()) throw core::Error(describe("no file name is set"));
    if (!std::filesystem::is_regular_file(m_fileName, ec))
        throw core::Error(describe("the file does not exist"));
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(m_fileName.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        throw core::Error(describe(msg));
    }
    sqlite3_busy_timeout(db, m_multiUser ? 5000 : 1500);
    sqlite3_extended_result_codes(db, 1);
    // Touch the schema so that a file that is not a database fails here.
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
        std::string msg = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw core::Error(describe(msg));
    }
    m_db = db;
    ++m_generation;
    m_transactionDepth = 0;
    m_layouts.clear();
}

void Connection::close() {
    if (!m_db) return;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_transactionDepth = 0;
    m_layouts.clear();
    // Its table objects count as closed now; dropping the lock file handle
    // releases every table mark this connection held, so other workstations
    // may empty those tables.
    m_locks.reset();
}

void Connection::createFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) throw core::Error("The file \"" + path + "\" exists already");
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "PRAGMA user_version = 202", nullptr, nullptr, nullptr);
    std::string msg = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw core::Error("Cannot create \"" + path + "\": " + msg);
}

void Connection::compact() {
    if (isOpen()) throw core::Error("Close the connection " + m_name + " before compacting it");
    open();
    try {
        execute("VACUUM");
    } catch (const core::Error& e) {
        close();
        throw core::Error("Cannot compact \"" + m_fileName + "\": " + e.what());
    }
    close();
}

void Connection::requireOpen() const {
    if (!m_db) throw core::Error("The database connection " + m_name + " is not open");
}

std::vector<std::vector<Value>> Connection::select(const std::string& sql,
                                                   const std::vector<Value>& params) const {
    requireOpen();
    Statement stmt(m_db, sql);
    bindAll(m_db, stmt.get(), params);
    std::vector<std::vector<Value>> rows;
    int cols = sqlite3_column_count(stmt.get());
    for (;;) {
        int rc = sqlite3_step(stmt.get());
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) throw core::Error(engineMessage(m_db));
        std::vector<Value> row;
        row.reserve(static_cast<std::size_t>(cols));
        for (int c = 0; c < cols; ++c) row.push_back(columnValue(stmt.get(), c));
        rows.push_back(std::move(row));
    }
    return rows;
}

int Connection::execute(const std::string& sql, const std::vector<Value>& params) const {
    requireOpen();
    Statement stmt(m_db, sql);
    bindAll(m_db, stmt.get(), params);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) throw core::Error(engineMessage(m_db));
    return sqlite3_changes(m_db);
}

long long Connection::lastInsertRowId() const {
    requireOpen();
    return sqlite3_last_insert_rowid(m_db);
}

const TableDef* Connection::tableLayout(const std::string& tableName) const {
    requireOpen();
    for (const auto& l : m_layouts)
        if (core::equalsIgnoreCase(l->name, tableName)) return l.get();
    auto names = select("SELECT name FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE",
                        {tableName});
    if (names.empty()) return nullptr;
    auto layout = std::make_unique<TableDef>();
    layout->name = std::get<std::string>(names[0][0]);
    for (const auto& col : select("PRAGMA table_info(" + quotedName(layout->name) + ")")) {
        std::string name = std::get<std::string>(col[1]);
        std::string type = std::holds_alternative<std::string>(col[2]) ? std::get<std::string>(col[2]) : "";
        auto field = fieldFromDeclared(name, type);
        layout->fields.push_back(field ? *field : FieldDef{name, FieldType::Text, 0});
    }
    std::string prefix = core::asciiUpper(layout->name) + ".";
    for (const auto& idx : select("PRAGMA index_list(" + quotedName(layout->name) + ")")) {
        IndexDef def;
        std::string stored = std::get<std::string>(idx[1]);
        def.name = core::startsWith(core::asciiUpper(stored), prefix) ? stored.substr(prefix.size())
                                                                      : stored;
        def.unique = std::get<std::int64_t>(idx[2]) != 0;
        bool allNoCase = true;
        for (const auto& col : select("PRAGMA index_xinfo(" + quotedName(stored) + ")")) {
            if (std::get<std::int64_t>(col[5]) == 0) continue;  // not a key column
            def.fields.push_back(std::get<std::string>(col[2]));
            if (!core::equalsIgnoreCase(std::get<std::string>(col[4]), "NOCASE")) allNoCase = false;
        }
        def.caseInsensitive = allNoCase && !def.fields.empty();
        layout->indexes.push_back(std::move(def));
    }
    m_layouts.push_back(std::move(layout));
    return m_layouts.back().get();
}

TableLocks& Connection::locks() const {
    if (!m_locks) m_locks = std::make_unique<TableLocks>(m_fileName);
    return *m_locks;
}

namespace {
std::string savepointName(int depth) { return "nested" + std::to_string(depth); }
}  // namespace

// The outermost level is the engine transaction; each level inside it is a
// savepoint, so that rolling one back undoes its own work only and leaves the
// enclosing transaction open. The depth changes only once the engine has done
// the step, so a refused COMMIT leaves the transaction to be rolled back.
void Connection::begin() {
    requireOpen();
    execute(m_transactionDepth == 0 ? std::string("BEGIN IMMEDIATE")
                                    : "SAVEPOINT " + savepointName(m_transactionDepth));
    ++m_transactionDepth;
}

void Connection::commit() {
    if (m_transactionDepth == 0) return;
    if (m_transactionDepth == 1) {
        execute("COMMIT");
        m_transactionDepth = 0;
        return;
    }
    execute("RELEASE " + savepointName(m_transactionDepth - 1));
    --m_transactionDepth;
}

void Connection::rollback() {
    if (m_transactionDepth == 0) return;
    if (!m_db || sqlite3_get_autocommit(m_db)) {
        // The engine has already rolled the whole transaction back.
        m_transactionDepth = 0;
        return;
    }
    if (m_transactionDepth == 1) {
        m_transactionDepth = 0;
        execute("ROLLBACK");
        return;
    }
    --m_transactionDepth;
    execute("ROLLBACK TO " + savepointName(m_transactionDepth));
    execute("RELEASE " + savepointName(m_transactionDepth));
}

}  // namespace store
