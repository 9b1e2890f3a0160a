#pragma once
// A named connection to one database file. The password is kept for backends
// that use one; the SQLite files are not encrypted. Multi-user access makes
// the connection wait longer for locks held by other workstations.

#include <memory>
#include <string>
#include <vector>

#include "store/schema.h"
#include "store/value.h"

struct sqlite3;

namespace store {

class TableLocks;

class Connection {
public:
    Connection();
    explicit Connection(std::string name);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Settings, allowed only while closed.
    void setFileName(const std::string& path);
    void setName(const std::string& name) { m_name = name; }
    void setPassword(const std::string& password) { m_password = password; }
    void setMultiUser(bool on) { m_multiUser = on; }

    const std::string& fileName() const { return m_fileName; }
    const std::string& name() const { return m_name; }
    const std::string& password() const { return m_password; }
    bool multiUser() const { return m_multiUser; }

    // Opens the file. A missing file, a file that is not a database or one
    // that cannot be read throws core::Error with a message naming the file.
    void open();
    void close();
    bool isOpen() const { return m_db != nullptr; }

    // Creates an empty database file (for the installation creator only; the
    // program never creates one). Fails when the file exists.
    static void createFile(const std::string& path);

    // Rewrites the file without free space. The connection must be closed;
    // fails (core::Error) while another connection holds the file busy.
    void compact();

    // Runs backend SQL with bound values; returns the rows (each a vector of
    // values in column order). Throws core::Error on any engine failure.
    std::vector<std::vector<Value>> select(const std::string& sql,
                                           const std::vector<Value>& params = {}) const;
    // Runs a statement that returns no rows; returns the number of rows changed.
    int execute(const std::string& sql, const std::vector<Value>& params = {}) const;
    long long lastInsertRowId() const;

    // Layout of a table as stored in the file; nullptr when the file has no such table.
    const TableDef* tableLayout(const std::string& tableName) const;

    // Shared/exclusive use of tables across connections and processes.
    TableLocks& locks() const;

    // Transactions. A begin() inside another opens a nested level: its
    // rollback() undoes only the work since that begin() and the enclosing
    // transaction goes on; its commit() hands the work to the enclosing one.
    // The outermost commit() writes everything, and throws core::Error
    // (transaction still open, to be rolled back) when the engine refuses.
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_transactionDepth > 0; }

    sqlite3* handle() const { return m_db; }
    // Counts the opens of this connection; table objects notice a reopen.
    long generation() const { return m_generation; }

private:
    void requireOpen() const;
    std::string describe(const std::string& what) const;

    std::string m_name;
    std::string m_fileName;
    std::string m_password;
    bool m_multiUser = false;
    sqlite3* m_db = nullptr;
    int m_transactionDepth = 0;
    long m_generation = 0;
    mutable std::vector<std::unique_ptr<TableDef>> m_layouts;
    mutable std::unique_ptr<TableLocks> m_locks;
};

// Commits on commit(), rolls back when left without it (an exception passing).
class Transaction {
public:
    explicit Transaction(Connection& connection) : m_connection(connection) {
        m_connection.begin();
    }
    ~Transaction() {
        if (!m_done) {
            try {
                m_connection.rollback();
            } catch (...) {
            }
        }
    }
    void commit() {
        m_connection.commit();
        m_done = true;
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Connection& m_connection;
    bool m_done = false;
};

}  // namespace store
