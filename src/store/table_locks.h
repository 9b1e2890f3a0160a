#pragma once
// Which tables of a database file are open, visible to every connection on
// the file, in this process or another workstation. SQLite has no notion of a
// table being open, so each connection marks the tables it has open with a
// shared lock on one byte of a lock file beside the database; emptying a table
// needs the exclusive lock of that byte, which fails while any other
// connection holds the shared one. Open-file-description locks are used, so
// two connections inside one process exclude each other as well.

#include <map>
#include <string>

namespace store {

class TableLocks {
public:
    explicit TableLocks(const std::string& databasePath);
    ~TableLocks();
    TableLocks(const TableLocks&) = delete;
    TableLocks& operator=(const TableLocks&) = delete;

    // Marks the table open for this connection (counted). Returns false when
    // another connection holds the table exclusively.
    bool acquireShared(const std::string& table);
    void releaseShared(const std::string& table);

    // Takes exclusive use; false while any other connection has it open.
    bool acquireExclusive(const std::string& table);
    void releaseExclusive(const std::string& table);

private:
    bool setLock(const std::string& table, short type);
    int m_fd = -1;
    std::map<std::string, int> m_shared;  // upper-cased table name -> open count
};

}  // namespace store
