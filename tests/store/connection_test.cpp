// Opening connections and tables that cannot be opened.

#include "store/connection.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/error.h"
#include "store/table.h"
#include "support/fixture.h"

namespace {

// The message of the core::Error that `open` throws, or "<no error>".
template <typename Open>
std::string openFailure(Open open) {
    try {
        open();
    } catch (const core::Error& e) {
        return e.what();
    }
    return "<no error>";
}

TEST(ConnectionOpen, FailuresNameTheFile) {
    testing_support::TempDir dir;
    {
        std::ofstream text(dir.path("NOTADB.ABS"));
        text << "This is a shopping list, not a database.\n"
                "Eggs, flour, sugar and a great deal more text than a header needs.\n";
    }
    std::ofstream(dir.path("EMPTY.ABS")).close();
    struct Case {
        const char* name;
        std::string path;
    };
    for (const Case& c :
         {Case{"missing file", dir.path("MISSING.ABS")}, Case{"text file", dir.path("NOTADB.ABS")},
          Case{"directory", dir.dir()}}) {
        SCOPED_TRACE(c.name);
        store::Connection connection("dbTOVIRAK");
        connection.setFileName(c.path);
        std::string message = openFailure([&] { connection.open(); });
        EXPECT_NE(message.find(c.path), std::string::npos) << message;
        EXPECT_FALSE(connection.isOpen());
    }
    store::Connection unnamed("dbTOVIRAK");
    EXPECT_THROW(unnamed.open(), core::Error);
}

TEST(ConnectionOpen, TableTheFileLacksIsAnError) {
    testing_support::TempDir dir;
    store::Connection::createFile(dir.path("BARE.ABS"));
    store::Connection connection("dbTOVIRAK");
    connection.setFileName(dir.path("BARE.ABS"));
    connection.open();
    store::Table books(connection, "tBUKU");
    std::string message = openFailure([&] { books.open(); });
    EXPECT_NE(message.find("tBUKU"), std::string::npos) << message;
    EXPECT_FALSE(books.isOpen());
}

TEST(ConnectionOpen, TablesOfAClosedConnectionAreClosed) {
    testing_support::TempInstallation inst;
    store::Connection lib("dbTOVIRAK");
    lib.setFileName(inst.library());
    store::Table books(lib, "tBUKU");
    EXPECT_THROW(books.open(), core::Error);
    EXPECT_THROW(books.recordCount(), core::Error);

    lib.open();
    books.open();
    EXPECT_TRUE(books.isOpen());
    lib.close();
    EXPECT_FALSE(books.isOpen());
    EXPECT_THROW(books.first(), core::Error);
    lib.open();
    EXPECT_FALSE(books.isOpen());  // a window reopens it after the connection
    books.open();
    EXPECT_EQ(books.recordCount(), 0);
}

}  // namespace
