#pragma once
// A demo installation with the data module of one workstation opened on it,
// a fixed clock, and helpers that read what the library file really holds.
// A second workstation (its own workstation file, its own connections to the
// same library file) can be started for races.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/data_module.h"
#include "core/clock.h"
#include "store/connection.h"
#include "support/fixture.h"

namespace circulation_test {

// Demo facts: ELDEST.RIVERSIDE (max 2) holds 1202611020001; ANI.RIVERSIDE
// (max 3) holds 1202611020012; every member pays 500 a day and borrows for
// 7 days. 1202611020002..0011 are free copies never lent.
inline constexpr const char* kEldest = "ELDEST.RIVERSIDE";
inline constexpr const char* kAni = "ANI.RIVERSIDE";
inline constexpr const char* kEldestLoan = "1202611020001";
inline constexpr const char* kAniLoan = "1202611020012";

inline std::string freeCopy(int n) {  // n from 2 to 11
    char code[20];
    std::snprintf(code, sizeof code, "120261102%04d", n);
    return code;
}

struct Workstation {
    app::DataModule data;
    Workstation(const std::string& workstationFile, const std::string& libraryFile) {
        data.dbSETCLT.setFileName(workstationFile);
        data.dbTOVIRAK.setFileName(libraryFile);
        data.dbTOVIRAK.setMultiUser(true);
        data.dbSETCLT.open();
        data.dbTOVIRAK.open();
    }
};

class DeskTest : public ::testing::Test {
protected:
    DeskTest() : desk(inst.workstation(), inst.library()) {
        lib.setFileName(inst.library());
        lib.setMultiUser(true);
        lib.open();
    }

    app::DataModule& data() { return desk.data; }

    // A second workstation on the same library file.
    std::unique_ptr<Workstation> otherWorkstation() {
        const std::string file = inst.path("SETCLT2.ABS");
        std::filesystem::copy_file(inst.workstation(), file,
                                   std::filesystem::copy_options::overwrite_existing);
        return std::make_unique<Workstation>(file, inst.library());
    }

    // Straight from the library file, past every table object.
    long long count(const std::string& table, const std::string& where = "1=1",
                    const std::vector<store::Value>& params = {}) {
        auto rows = lib.select("SELECT count(*) FROM \"" + table + "\" WHERE " + where, params);
        return std::get<std::int64_t>(rows[0][0]);
    }
    std::string field(const std::string& table, const std::string& column, const std::string& where,
                      const std::vector<store::Value>& params = {}) {
        auto rows =
            lib.select("SELECT \"" + column + "\" FROM \"" + table + "\" WHERE " + where, params);
        if (rows.empty()) return "<no row>";
        const store::Value& v = rows[0][0];
        if (auto s = std::get_if<std::string>(&v)) return *s;
        if (auto n = std::get_if<std::int64_t>(&v)) return std::to_string(*n);
        if (auto d = std::get_if<double>(&v)) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%g", *d);
            return buf;
        }
        return "<null>";
    }
    std::string copyField(const std::string& code, const std::string& column) {
        return field("tBUKU", column, "KDBARANG = ?", {code});
    }
    std::string memberField(const std::string& code, const std::string& column) {
        return field("tANGGOTA", column, "KDFANGGOTA = ?", {code});
    }
    long long loansOf(const std::string& code) { return count("tKARTU", "KDBARANG = ?", {code}); }
    long long historyOf(const std::string& code) {
        return count("tSEJARAH", "KDBARANG = ?", {code});
    }

    testing_support::TempInstallation inst{true};
    Workstation desk;
    store::Connection lib{"check"};
    core::FixedClock clock{core::DateTime::fromParts(2020, 3, 1, 14, 5, 9)};
};

}  // namespace circulation_test
