#pragma once
// The data module: the three connections and the shared table and query
// objects, by their names. The main window owns one for the whole run and
// hands it to every window by reference.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/connection.h"
#include "store/query.h"
#include "store/table.h"

namespace app {

// The fixed password start-up, settings and reports open the files with, and
// the connections' own default (used when a window reopens a closed one).
// SQLite does not encrypt; the values travel with the connection for a
// backend that does.
inline constexpr const char* kFilePassword = "lbrms202";
inline constexpr const char* kDefaultPassword = "lbrms";

class DataModule {
public:
    DataModule();
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;

    store::Connection dbSETCLT{"dbSETCLT"};
    store::Connection dbSETSRV{"dbSETSRV"};
    store::Connection dbTOVIRAK{"dbTOVIRAK"};

    // The shared objects by name ("tbBUKU", "tqBUKU"); an unknown name is a
    // programming error and throws core::Error.
    store::Table& table(std::string_view objectName);
    store::Query& query(std::string_view objectName);
    bool hasTable(std::string_view objectName) const;
    std::vector<std::string> tableObjectNames() const;
    std::vector<std::string> queryObjectNames() const;

    // The object a data source shows: dst<stem> the table object tb<stem>,
    // dsq<stem> the query object tq<stem>, with the documented exceptions.
    static std::string dataSourceTarget(std::string_view dataSourceName);

    // A window that finds the library connection closed reopens it: same
    // file, the connection's default password, multi-user on.
    void ensureLibraryConnected();

    // Table object that opens itself under an index when closed.
    store::Table& openTable(std::string_view objectName, const std::string& indexName);

private:
    std::map<std::string, std::unique_ptr<store::Table>, std::less<>> m_tables;
    std::map<std::string, std::unique_ptr<store::Query>, std::less<>> m_queries;
};

}  // namespace app
