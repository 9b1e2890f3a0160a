#pragma once
// A fresh installation with its library database open, and small helpers to
// put copies into tBUKU and read what the file really holds.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "store/connection.h"
#include "store/table.h"
#include "support/fixture.h"

namespace store_test {

using FieldValues = std::vector<std::pair<std::string, std::string>>;

class LibraryTest : public ::testing::Test {
protected:
    LibraryTest() {
        lib.setFileName(inst.library());
        lib.setMultiUser(true);
        lib.open();
    }

    // Inserts one row through a table object of its own and returns its row id.
    long long addRow(const std::string& table, const FieldValues& values) {
        store::Table t(lib, table);
        t.open();
        t.insert();
        for (const auto& [field, value] : values) t.setString(field, value);
        t.post();
        return t.rowId();
    }

    long long addBook(const FieldValues& values) { return addRow("tBUKU", values); }

    // Row count as the file holds it, bypassing the table objects.
    long long countRows(const std::string& table) {
        auto rows = lib.select("SELECT count(*) FROM \"" + table + "\"");
        return std::get<std::int64_t>(rows[0][0]);
    }

    // The text of one field of the row with this row id, read straight from the file.
    std::string storedText(const std::string& table, const std::string& field, long long rowId) {
        auto rows = lib.select("SELECT \"" + field + "\" FROM \"" + table + "\" WHERE rowid = ?",
                               {static_cast<std::int64_t>(rowId)});
        if (rows.empty()) return "<no row>";
        if (auto s = std::get_if<std::string>(&rows[0][0])) return *s;
        return "<not text>";
    }

    std::vector<std::string> tableNamesInFile() {
        std::vector<std::string> names;
        for (const auto& r :
             lib.select("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"))
            names.push_back(std::get<std::string>(r[0]));
        return names;
    }

    testing_support::TempInstallation inst;
    store::Connection lib{"dbTOVIRAK"};
};

}  // namespace store_test
