#include "store/table_locks.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>

#include "core/text.h"

namespace store {

namespace {
// A stable byte position for a table name (FNV-1a over the upper-cased name).
off_t lockByteOf(const std::string& table) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : core::asciiUpper(table)) {
        h ^= c;
        h *= 16777619u;
    }
    return static_cast<off_t>(h & 0x3fffffff);
}
}  // namespace

TableLocks::TableLocks(const std::string& databasePath) {
    m_fd = ::open((databasePath + "-tables").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
}

TableLocks::~TableLocks() {
    if (m_fd >= 0) ::close(m_fd);
}

bool TableLocks::setLock(const std::string& table, short type) {
    if (m_fd < 0) return type != F_WRLCK;  // no lock file: nobody can be proven absent
    struct flock fl{};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = lockByteOf(table);
    fl.l_len = 1;
    fl.l_pid = 0;
    return ::fcntl(m_fd, F_OFD_SETLK, &fl) == 0;
}

bool TableLocks::acquireShared(const std::string& table) {
    std::string key = core::asciiUpper(table);
    int& count = m_shared[key];
    if (count == 0 && !setLock(table, F_RDLCK)) {
        m_shared.erase(key);
        return false;
    }
    ++count;
    return true;
}

void TableLocks::releaseShared(const std::string& table) {
    auto it = m_shared.find(core::asciiUpper(table));
    if (it == m_shared.end()) return;
    if (--it->second == 0) {
        setLock(table, F_UNLCK);
        m_shared.erase(it);
    }
}

bool TableLocks::acquireExclusive(const std::string& table) { return setLock(table, F_WRLCK); }

void TableLocks::releaseExclusive(const std::string& table) {
    // Go back to what this connection holds: shared while other objects of
    // this connection still have the table open, nothing otherwise.
    auto it = m_shared.find(core::asciiUpper(table));
    setLock(table, it != m_shared.end() ? F_RDLCK : F_UNLCK);
}

}  // namespace store
