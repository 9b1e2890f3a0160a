#pragma once
// A demo installation started as the program starts it, for the catalogue
// rules: the shared tables of the data module, the environment, and a second
// connection on the library file that plays another workstation.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <string>

#include "app/data_module.h"
#include "app/environment.h"
#include "app/startup.h"
#include "store/connection.h"
#include "store/table.h"
#include "support/fixture.h"

namespace catalogue_test {

// Barcode pictures draw their text, which needs a QGuiApplication; it is
// made once, offscreen, and lives until the program ends.
inline void ensureGuiApplication() {
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "core_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

class CatalogueTest : public ::testing::Test {
protected:
    testing_support::TempInstallation inst{true};
    app::Environment env;
    app::DataModule data;
    store::Connection other{"otherWorkstation"};

    void SetUp() override {
        ensureGuiApplication();
        ASSERT_TRUE(app::startUp(env, data, inst.dir()).messages.empty());
        other.setFileName(inst.library());
        other.setMultiUser(true);
        other.open();
    }

    store::Table& books() { return data.openTable("tbBUKU", "iKodeBuku"); }
    store::Table& counters() { return data.openTable("tbUMUM", "iKasus"); }
    store::Table& queue() { return data.openTable("tbCetakLabel", "iKDBARANG"); }

    // One field of the copy with this code, read through the other workstation.
    std::string bookField(const std::string& code, const std::string& field) {
        store::Table t(other, "tBUKU");
        t.setIndexName("iKodeBuku");
        t.open();
        if (!t.findKey({code})) return "<no copy>";
        return t.asString(field);
    }
    bool bookExists(const std::string& code) { return bookField(code, "KDBARANG") != "<no copy>"; }
    void setBookField(const std::string& code, const std::string& field, const std::string& value) {
        store::Table t(other, "tBUKU");
        t.setIndexName("iKodeBuku");
        t.open();
        ASSERT_TRUE(t.findKey({code}));
        t.edit();
        t.setString(field, value);
        t.post();
    }
    // Every field of the copy, rendered "NAME=value" one per line.
    std::string renderedBook(const std::string& code) {
        store::Table t(other, "tBUKU");
        t.setIndexName("iKodeBuku");
        t.open();
        if (!t.findKey({code})) return "<no copy>";
        std::string out;
        for (const auto& f : t.layout().fields)
            if (f.type != store::FieldType::Blob) out += f.name + "=" + t.asString(f.name) + "\n";
        return out;
    }
};

}  // namespace catalogue_test
