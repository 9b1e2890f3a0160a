// The layout a created installation really holds, read back from the files
// through Connection::tableLayout and compared with the documented tables.

#include "store/schema.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/text.h"
#include "store/connection.h"
#include "support/fixture.h"

namespace {

using store::DatabaseFile;

std::string typeText(const store::FieldDef& f) {
    switch (f.type) {
        case store::FieldType::Text:
            return "text(" + std::to_string(f.width) + ")";
        case store::FieldType::Char:
            return "char(" + std::to_string(f.width) + ")";
        case store::FieldType::Integer:
            return "integer";
        case store::FieldType::Float:
            return "float";
        case store::FieldType::Date:
            return "date";
        case store::FieldType::DateTime:
            return "date-time";
        case store::FieldType::Blob:
            return "blob";
    }
    return "?";
}

std::string renderFields(const store::TableDef& t) {
    std::string out;
    for (const auto& f : t.fields) out += (out.empty() ? "" : ", ") + f.name + " " + typeText(f);
    return out;
}

// One line per index, sorted by name: "iDDC(DDC, UDC, AUTHOR) nocase".
std::vector<std::string> renderIndexes(const store::TableDef& t) {
    std::vector<std::string> out;
    for (const auto& idx : t.indexes) {
        std::string line = idx.name + "(";
        for (std::size_t i = 0; i < idx.fields.size(); ++i) line += (i ? ", " : "") + idx.fields[i];
        line += ")";
        if (idx.unique) line += " unique";
        line += idx.caseInsensitive ? " nocase" : " case";
        out.push_back(line);
    }
    std::sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) {
        return core::asciiUpper(a) < core::asciiUpper(b);
    });
    return out;
}

// Shared field lists: the copy record (tBUKU, tHIBAH, tHIBAHt) and the loan
// record (tKARTU, tSEJARAH, tKARTUb, tKARTUr).
const std::string kCopyFields =
    "JENIS text(2), TITLE text(100), AUTHOR text(100), PUBLISHER text(100), OC text(1), "
    "CNKLS text(3), CNRAK text(3), CNBRS text(3), CNTG text(8), CNNUM text(4), UDC text(1), "
    "KELAS text(10), USIA integer, ISBN text(20), GAMBAR blob, STATUS text(1), KONDISI text(6), "
    "TGBELI date, SHARGA text(15), NMTOKO text(50), NMDONATUR text(50), KDANGGOTA text(20), "
    "KDFANGGOTA text(20), PTGSNEW text(20), IO char(1), KEYWORD text(200), KDBARANG text(16), "
    "DDC text(7), BAHASA text(3), SIMPANFILE text(200), TGNEW date-time, TGEDIT date-time, "
    "PTGSEDIT text(20), KDPETUGASB text(20), KDPETUGASR text(20), KDPETUGASH text(20), "
    "TGPINJAM date, TGJANJI date, TGKEMBALI date, TGHAPUS date-time";

const std::string kLoanFields =
    "TGTRAN date-time, KDBARANG text(16), TITLE text(100), AUTHOR text(100), "
    "PUBLISHER text(100), KDFANGGOTA text(30), NMANGGOTA text(40), KDFKELUARGA text(14), "
    "KDPETUGASB text(20), KDPETUGASR text(20), TGPINJAM date-time, TGJANJI date-time, "
    "TGKEMBALI date-time, STATUS text(2), DENDAHARI integer, DENDA float, DENDAPAID float, "
    "INFO text(200), KELAS text(3)";

std::string familyFields() {
    std::string out = "KDFKELUARGA text(20), ALAMAT text(100), TELP text(20)";
    for (const char* p : {"MR", "MS"}) {
        std::string s(p);
        out += ", " + s + "NAMA text(40), " + s + "KANTOR text(80), " + s + "ALAMAT text(100), " +
               s + "TELP text(40), " + s + "HP text(60), " + s + "PINBB text(40), " + s +
               "EMAIL text(80), " + s + "WEB text(100), " + s + "GAMBAR blob";
    }
    return out;
}

struct ExpectedTable {
    DatabaseFile file;
    std::string name;
    std::string fields;
    std::vector<std::string> indexes;  // sorted by name, as renderIndexes gives them
};

// Widths and case rules the documentation leaves open are the installation's
// choices: every index compares text without regard to case except the login
// index; open widths follow the fields the values are copied from.
std::vector<ExpectedTable> expectedTables() {
    const std::vector<std::string> copyIndexes = {
        "iAuthor(AUTHOR) nocase",
        "iDDC(DDC, UDC, AUTHOR) nocase",
        "iKodeBuku(KDBARANG) unique nocase",
        "ilOPNAME(CNKLS, CNRAK, CNBRS) nocase",
        "iPublisher(PUBLISHER) nocase",
        "iSTATUS(STATUS) nocase",
        "iTGJANJI(TGJANJI) nocase",
        "iTGNEW(TGNEW) nocase",
        "iTGPINJAM(TGPINJAM) nocase",
        "iTitle(TITLE) nocase",
    };
    return {
        // Workstation database
        {DatabaseFile::Workstation, "SISTEM", "VAR text(20), ISI text(255)", {"iVAR(VAR) nocase"}},
        {DatabaseFile::Workstation,
         "tCetakLabel",
         "KDBARANG text(16), TITLE text(100), CNKLS text(3), CNRAK text(3), CNBRS text(3), "
         "UDC text(1), DDC text(7), AUT text(100)",
         {"iKDBARANG(KDBARANG) nocase"}},
        {DatabaseFile::Workstation,
         "tCetakMember",
         "KDFANGGOTA text(20), KDFKELUARGA text(20), NMANGGOTA text(40)",
         {"iKDFANGGOTA(KDFANGGOTA) nocase"}},
        {DatabaseFile::Workstation, "tKARTUb", kLoanFields, {"iKDBARANG(KDBARANG) nocase"}},
        {DatabaseFile::Workstation, "tKARTUr", kLoanFields, {"iKDBARANG(KDBARANG) nocase"}},
        {DatabaseFile::Workstation, "tHIBAHt", kCopyFields, {"iKodeBuku(KDBARANG) nocase"}},
        // User database
        {DatabaseFile::Users,
         "USER",
         "USERNAME text(20), USERPSWD text(20), USERLEVEL integer, USERID text(20)",
         {"iUsername(USERNAME, USERPSWD) case"}},
        {DatabaseFile::Users, "umum", "KASUS text(20), KATA text(30)", {"iKasus(KASUS) nocase"}},
        // Library database
        {DatabaseFile::Library, "tBUKU", kCopyFields, copyIndexes},
        {DatabaseFile::Library,
         "tTitle",
         "JENIS text(2), TITLE text(100)",
         {"iTITLE(TITLE) nocase"}},
        {DatabaseFile::Library, "tAuthor", "AUTHOR text(100)", {"iAUTHOR(AUTHOR) nocase"}},
        {DatabaseFile::Library,
         "tPublisher",
         "PUBLISHER text(100)",
         {"iPUBLISHER(PUBLISHER) nocase"}},
        {DatabaseFile::Library, "tUDC", "UDC text(1), Keterangan text(14)", {"iUDC(UDC) nocase"}},
        {DatabaseFile::Library, "tDDC", "DDC text(3), Keterangan text(120)", {"iDDC(DDC) nocase"}},
        {DatabaseFile::Library, "tBAHASA", "BAHASA text(14)", {"iBAHASA(BAHASA) nocase"}},
        {DatabaseFile::Library,
         "tANGGOTA",
         "KDFANGGOTA text(20), KDFKELUARGA text(20), NMANGGOTA text(40), ALAMAT text(100), "
         "TELP text(20), HP text(40), EMAIL text(40), GAMBAR blob, KELAS text(3), WEB text(40), "
         "DENDA float, MAXPINJAM integer, LAMAPINJAM integer, JLHPINJAM integer, DOB date",
         {"iKDFANGGOTA(KDFANGGOTA) unique nocase", "iKDFKELUARGA(KDFKELUARGA) nocase"}},
        {DatabaseFile::Library,
         "tKELUARGA",
         familyFields(),
         {"iKDFKELUARGA(KDFKELUARGA) unique nocase"}},
        {DatabaseFile::Library,
         "tKARTU",
         kLoanFields,
         {"iKDBARANG(KDBARANG) nocase", "iKDFANGGOTA(KDFANGGOTA) nocase",
          "iTGJANJI(TGJANJI) nocase", "iTGPINJAM(TGPINJAM) nocase"}},
        {DatabaseFile::Library,
         "tSEJARAH",
         kLoanFields,
         {"iKDBARANG(KDBARANG) nocase", "iKDFANGGOTA(KDFANGGOTA) nocase",
          "iTGKEMBALI(TGKEMBALI) nocase", "iTGPINJAM(TGPINJAM) nocase"}},
        {DatabaseFile::Library,
         "tHIBAH",
         kCopyFields,
         {"iKodeBuku(KDBARANG) nocase", "iTGHAPUS(TGHAPUS) nocase"}},
        {DatabaseFile::Library,
         "eDIGITAL",
         "JENIS text(2), LI text(6), SIMPANFILE text(200), KDDIGITAL text(16), EA text(1), "
         "TITLE text(100), AUTHOR text(100), PUBLISHER text(100), KEYWORD text(200), "
         "USIA integer, GAMBAR blob, BAHASA text(20), KELAS text(10), PTGSNEW text(20), "
         "TGNEW date-time, PTGSEDIT text(20), TGEDIT date-time",
         {"iTitle(TITLE) nocase", "KDDIGITAL(KDDIGITAL) unique nocase"}},
        {DatabaseFile::Library,
         "eTITLE",
         "JENIS text(2), TITLE text(100)",
         {"iTITLE(TITLE) nocase"}},
        {DatabaseFile::Library, "eAUTHOR", "AUTHOR text(100)", {"iAUTHOR(AUTHOR) nocase"}},
        {DatabaseFile::Library,
         "ePUBLISHER",
         "PUBLISHER text(100)",
         {"iPUBLISHER(PUBLISHER) nocase"}},
    };
}

class SchemaTest : public ::testing::Test {
protected:
    SchemaTest() {
        for (auto file : {DatabaseFile::Workstation, DatabaseFile::Users, DatabaseFile::Library}) {
            auto& c = connection(file);
            c.setFileName(inst.path(store::fileNameOf(file)));
            c.open();
        }
    }
    store::Connection& connection(DatabaseFile file) {
        switch (file) {
            case DatabaseFile::Workstation:
                return workstation;
            case DatabaseFile::Users:
                return users;
            case DatabaseFile::Library:
                break;
        }
        return library;
    }

    testing_support::TempInstallation inst;
    store::Connection workstation{"dbSETCLT"}, users{"dbSETSRV"}, library{"dbTOVIRAK"};
};

TEST_F(SchemaTest, EveryTableHoldsItsFieldsInStoredOrderAndItsIndexes) {
    for (const auto& expected : expectedTables()) {
        SCOPED_TRACE(expected.name);
        const store::TableDef* t = connection(expected.file).tableLayout(expected.name);
        ASSERT_NE(t, nullptr) << "missing from " << store::fileNameOf(expected.file);
        EXPECT_EQ(t->name, expected.name);
        EXPECT_EQ(renderFields(*t), expected.fields);
        EXPECT_EQ(renderIndexes(*t), expected.indexes);
    }
}

TEST_F(SchemaTest, EachFileHoldsExactlyItsTables) {
    std::vector<std::string> expectedNames[3];
    for (const auto& e : expectedTables())
        expectedNames[static_cast<int>(e.file)].push_back(e.name);
    for (auto file : {DatabaseFile::Workstation, DatabaseFile::Users, DatabaseFile::Library}) {
        SCOPED_TRACE(store::fileNameOf(file));
        std::vector<std::string> names;
        for (const auto& r : connection(file).select(
                 "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"))
            names.push_back(std::get<std::string>(r[0]));
        auto expected = expectedNames[static_cast<int>(file)];
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected);
    }
}

TEST_F(SchemaTest, LayoutIsFoundWhateverTheCaseOfTheTableName) {
    const store::TableDef* t = library.tableLayout("TBUKU");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->name, "tBUKU");
    EXPECT_EQ(library.tableLayout("tNOSUCHTABLE"), nullptr);
}

}  // namespace
