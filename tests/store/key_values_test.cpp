// Workstation settings (SISTEM) and shared counters (umum): read when the row
// exists, written only when it exists, never inserted.

#include "store/key_values.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "store/connection.h"
#include "store/table.h"
#include "support/fixture.h"

namespace {

using store::kCountersLayout;
using store::kSettingsLayout;

class KeyValuesTest : public ::testing::Test {
protected:
    KeyValuesTest() {
        workstation.setFileName(inst.workstation());
        workstation.open();
        users.setFileName(inst.users());
        users.open();
    }
    // The value as a fresh connection finds it in the file.
    std::optional<std::string> reread(const std::string& file, const std::string& table,
                                      const store::KeyValueLayout& layout,
                                      const std::string& name) {
        store::Connection c("check");
        c.setFileName(file);
        c.open();
        store::Table t(c, table);
        return store::readVariable(t, layout, name);
    }
    std::int64_t rows(store::Connection& c, const char* table) {
        return std::get<std::int64_t>(c.select(std::string("SELECT count(*) FROM ") + table)[0][0]);
    }

    testing_support::TempInstallation inst;
    store::Connection workstation{"dbSETCLT"}, users{"dbSETSRV"};
    store::Table sistem{workstation, "SISTEM", "tbSISTEM"};
    store::Table umum{users, "umum", "tbUMUM"};
};

TEST_F(KeyValuesTest, DeliveredRowsAreRead) {
    EXPECT_EQ(store::readVariable(sistem, kSettingsLayout, "SYSDBF"), inst.library());
    EXPECT_EQ(store::readVariable(sistem, kSettingsLayout, "SYSDIR"), inst.dir());
    EXPECT_EQ(store::readVariable(sistem, kSettingsLayout, "LANG"), "INA");
    EXPECT_EQ(store::readVariable(sistem, kSettingsLayout, "VB"), "");
    EXPECT_EQ(store::readVariable(sistem, kSettingsLayout, "CBBOOK"), "");
    EXPECT_EQ(store::readVariable(umum, kCountersLayout, "LastRec"), "1201205140001");
    EXPECT_EQ(store::readVariable(umum, kCountersLayout, "LastRecDig"), "2201205140001");
    EXPECT_EQ(store::readVariable(sistem, kSettingsLayout, "NOSUCH"), std::nullopt);
    EXPECT_EQ(store::readVariable(umum, kCountersLayout, "LastRe"), std::nullopt);
}

TEST_F(KeyValuesTest, WriteReplacesTheValueOfAnExistingRow) {
    EXPECT_TRUE(store::writeVariable(sistem, kSettingsLayout, "VB", "Y"));
    EXPECT_TRUE(store::writeVariable(umum, kCountersLayout, "LastRec", "1202001010042"));
    EXPECT_EQ(reread(inst.workstation(), "SISTEM", kSettingsLayout, "VB"), "Y");
    EXPECT_EQ(reread(inst.users(), "umum", kCountersLayout, "LastRec"), "1202001010042");
    EXPECT_EQ(reread(inst.users(), "umum", kCountersLayout, "LastRecDig"), "2201205140001");
    EXPECT_EQ(rows(workstation, "SISTEM"), 5);
    EXPECT_EQ(rows(users, "umum"), 2);
}

TEST_F(KeyValuesTest, WriteToAMissingRowInsertsNothing) {
    workstation.execute("DELETE FROM SISTEM WHERE VAR = 'CBBOOK'");
    EXPECT_FALSE(store::writeVariable(sistem, kSettingsLayout, "CBBOOK", "Y"));
    EXPECT_FALSE(store::writeVariable(umum, kCountersLayout, "LastRecX", "1"));
    EXPECT_EQ(rows(workstation, "SISTEM"), 4);
    EXPECT_EQ(rows(users, "umum"), 2);
    EXPECT_EQ(store::readVariable(sistem, kSettingsLayout, "CBBOOK"), std::nullopt);
    EXPECT_EQ(reread(inst.workstation(), "SISTEM", kSettingsLayout, "CBBOOK"), std::nullopt);
}

// The shared table object may be left open under another index, or in the
// middle of an edit, by the window that used it last.
TEST_F(KeyValuesTest, SharedTableLeftElsewhereIsReused) {
    sistem.setIndexName("");
    sistem.open();
    sistem.last();
    EXPECT_EQ(store::readVariable(sistem, kSettingsLayout, "LANG"), "INA");
    EXPECT_EQ(sistem.indexName(), "iVAR");

    sistem.edit();
    EXPECT_TRUE(store::writeVariable(sistem, kSettingsLayout, "VB", "y"));
    EXPECT_EQ(store::readVariable(sistem, kSettingsLayout, "VB"), "y");
    EXPECT_EQ(rows(workstation, "SISTEM"), 5);
}

}  // namespace
