// The shared table and query objects of the data module over a created
// installation: each bound to its documented table, each query exposing only
// its documented fields.

#include "app/data_module.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/error.h"
#include "support/fixture.h"

namespace {

class DataModuleTest : public ::testing::Test {
protected:
    DataModuleTest() {
        dm.dbSETCLT.setFileName(inst.workstation());
        dm.dbSETSRV.setFileName(inst.users());
        dm.dbTOVIRAK.setFileName(inst.library());
        dm.dbSETCLT.open();
        dm.dbSETSRV.open();
        dm.dbTOVIRAK.open();
    }
    testing_support::TempInstallation inst;
    app::DataModule dm;
};

std::string joinNames(const std::vector<store::FieldDef>& fields) {
    std::string out;
    for (const auto& f : fields) out += (out.empty() ? "" : ", ") + f.name;
    return out;
}

TEST_F(DataModuleTest, EveryTableObjectOpensOnItsTableInItsFile) {
    struct Binding {
        const char* table;
        store::Connection* db;
    };
    const std::map<std::string, Binding> expected = {
        {"tbSISTEM", {"SISTEM", &dm.dbSETCLT}},
        {"tbCetakLabel", {"tCetakLabel", &dm.dbSETCLT}},
        {"tbCetakAnggota", {"tCetakMember", &dm.dbSETCLT}},
        {"tbKARTUb", {"tKARTUb", &dm.dbSETCLT}},
        {"tbKARTUr", {"tKARTUr", &dm.dbSETCLT}},
        {"tbHIBAHt", {"tHIBAHt", &dm.dbSETCLT}},
        {"tbUSER", {"USER", &dm.dbSETSRV}},
        {"tbUMUM", {"umum", &dm.dbSETSRV}},
        {"tbBUKU", {"tBUKU", &dm.dbTOVIRAK}},
        {"tbTITLE", {"tTitle", &dm.dbTOVIRAK}},
        {"tbAuthor", {"tAuthor", &dm.dbTOVIRAK}},
        {"tbPublisher", {"tPublisher", &dm.dbTOVIRAK}},
        {"tbUDC", {"tUDC", &dm.dbTOVIRAK}},
        {"tbDDC", {"tDDC", &dm.dbTOVIRAK}},
        {"tbBAHASA", {"tBAHASA", &dm.dbTOVIRAK}},
        {"tbANGGOTA", {"tANGGOTA", &dm.dbTOVIRAK}},
        {"tbKELUARGA", {"tKELUARGA", &dm.dbTOVIRAK}},
        {"tbKARTU", {"tKARTU", &dm.dbTOVIRAK}},
        {"tbSEJARAH", {"tSEJARAH", &dm.dbTOVIRAK}},
        {"tbHIBAH", {"tHIBAH", &dm.dbTOVIRAK}},
        {"tbDIGITAL", {"eDIGITAL", &dm.dbTOVIRAK}},
        {"tbeTITLE", {"eTITLE", &dm.dbTOVIRAK}},
        {"tbeAuthor", {"eAUTHOR", &dm.dbTOVIRAK}},
        {"tbePublisher", {"ePUBLISHER", &dm.dbTOVIRAK}},
    };
    std::vector<std::string> names;
    for (const auto& [name, _] : expected) names.push_back(name);
    EXPECT_EQ(dm.tableObjectNames(), names);
    for (const auto& [name, binding] : expected) {
        SCOPED_TRACE(name);
        store::Table& t = dm.table(name);
        EXPECT_EQ(&t.connection(), binding.db);
        t.open();
        EXPECT_EQ(t.layout().name, binding.table);
    }
    EXPECT_THROW(dm.table("tbNOSUCH"), core::Error);
    EXPECT_THROW(dm.query("tqNOSUCH"), core::Error);
}

TEST_F(DataModuleTest, EveryQueryExposesOnlyItsDocumentedFields) {
    const std::string loan =
        "TGTRAN, KDBARANG, TITLE, AUTHOR, PUBLISHER, KDFANGGOTA, NMANGGOTA, KDFKELUARGA, "
        "KDPETUGASB, KDPETUGASR, TGPINJAM, TGJANJI, TGKEMBALI, STATUS, DENDAHARI, DENDA, "
        "DENDAPAID, INFO, KELAS";
    struct Case {
        const char* sql;
        std::string fields;
    };
    const std::map<std::string, Case> expected = {
        {"tqBUKU",
         {"SELECT * FROM tBUKU",
          "JENIS, TITLE, AUTHOR, PUBLISHER, OC, CNKLS, CNRAK, CNBRS, CNTG, CNNUM, UDC, KELAS, "
          "USIA, "
          "ISBN, GAMBAR, STATUS, KONDISI, TGBELI, SHARGA, NMTOKO, NMDONATUR, KDANGGOTA, "
          "KDFANGGOTA, "
          "PTGSNEW, IO, KEYWORD, KDBARANG, DDC, BAHASA, SIMPANFILE, TGNEW, TGEDIT, PTGSEDIT, "
          "KDPETUGASB, KDPETUGASR, TGPINJAM, TGJANJI, TGKEMBALI"}},
        {"tqTitle", {"SELECT * FROM tTitle", "TITLE"}},
        {"tqAuthor", {"SELECT * FROM tAuthor", "AUTHOR"}},
        {"tqPublisher", {"SELECT * FROM tPublisher", "PUBLISHER"}},
        {"tqUDC", {"SELECT * FROM tUDC", "UDC, Keterangan"}},
        {"tqDDC", {"SELECT * FROM tDDC", "DDC, Keterangan"}},
        {"tqBAHASA", {"SELECT * FROM tBAHASA", "BAHASA"}},
        {"tqANGGOTA",
         {"SELECT * FROM tANGGOTA",
          "KDFANGGOTA, KDFKELUARGA, NMANGGOTA, ALAMAT, TELP, HP, EMAIL, GAMBAR, KELAS, WEB, DENDA, "
          "MAXPINJAM, LAMAPINJAM, JLHPINJAM, DOB"}},
        {"tqKELUARGA",
         {"SELECT * FROM tKELUARGA",
          "KDFKELUARGA, ALAMAT, TELP, MRNAMA, MRKANTOR, MRALAMAT, MRTELP, MRHP, MRPINBB, MREMAIL, "
          "MRWEB, MRGAMBAR, MSNAMA, MSKANTOR, MSALAMAT, MSTELP, MSHP, MSPINBB, MSEMAIL, MSWEB, "
          "MSGAMBAR"}},
        {"tqKARTU", {"SELECT * FROM tKARTU", loan}},
        {"tqSEJARAH", {"SELECT * FROM tKARTU", loan}},
        {"tqDIGITAL",
         {"SELECT * FROM eDIGITAL",
          "JENIS, LI, SIMPANFILE, KDDIGITAL, EA, TITLE, AUTHOR, PUBLISHER, KEYWORD, USIA, GAMBAR, "
          "BAHASA"}},
        {"tqeTitle", {"SELECT * FROM tTitle", "TITLE"}},
        {"tqeAuthor", {"SELECT * FROM tAuthor", "AUTHOR"}},
        {"tqePublisher", {"SELECT * FROM tPublisher", "PUBLISHER"}},
    };
    std::vector<std::string> names;
    for (const auto& [name, _] : expected) names.push_back(name);
    EXPECT_EQ(dm.queryObjectNames(), names);
    for (const auto& [name, c] : expected) {
        SCOPED_TRACE(name);
        store::Query& q = dm.query(name);
        EXPECT_EQ(q.sql(), c.sql);
        q.open();
        EXPECT_EQ(joinNames(q.fields()), c.fields);
    }
    // The history query is pointed at the history table by the windows.
    store::Query& history = dm.query("tqSEJARAH");
    history.setSql("SELECT * FROM tSEJARAH");
    history.open();
    EXPECT_EQ(joinNames(history.fields()), loan);
}

TEST_F(DataModuleTest, WithdrawalFieldsAreReadOnlyThroughTheTable) {
    store::Table& tb = dm.openTable("tbBUKU", "iKodeBuku");
    tb.insert();
    tb.setString("KDBARANG", "1202001010001");
    tb.setString("KDPETUGASH", "Admin");
    tb.setString("TGHAPUS", "2020-01-02 03:04:05");
    tb.setString("TGNEW", "2020-01-01 08:00:00");
    tb.setString("TGBELI", "2019-12-01");
    tb.post();
    EXPECT_EQ(tb.asString("KDPETUGASH"), "Admin");
    EXPECT_EQ(tb.asString("TGHAPUS"), "2020-01-02 03:04:05");

    store::Query& tq = dm.query("tqBUKU");
    tq.open();
    ASSERT_FALSE(tq.eof());
    EXPECT_EQ(tq.asString("KdBarang"), "1202001010001");
    EXPECT_EQ(tq.asDateTime("TGNEW"), core::DateTime::fromParts(2020, 1, 1, 8));
    EXPECT_EQ(tq.asDateTime("TGBELI"), core::DateTime::fromParts(2019, 12, 1));
    for (const char* hidden : {"TGHAPUS", "KDPETUGASH", "tghapus"}) {
        SCOPED_TRACE(hidden);
        EXPECT_THROW(tq.asString(hidden), core::Error);
        EXPECT_THROW(tq.value(hidden), core::Error);
        EXPECT_FALSE(tq.columnOf(hidden).has_value());
    }
    // A condition may still name them; only reading is closed.
    tq.setSql(R"(SELECT * FROM tBUKU WHERE KDPETUGASH = "Admin")");
    tq.open();
    EXPECT_EQ(tq.recordCount(), 1);
    EXPECT_THROW(tq.asString("KDPETUGASH"), core::Error);
}

TEST(DataSources, EachShowsItsDocumentedObject) {
    const std::map<std::string, std::string> expected = {
        {"dstTITLE", "tbTITLE"},
        {"dsqTitle", "tqTitle"},
        {"dstAuthor", "tbAuthor"},
        {"dsqAuthor", "tqAuthor"},
        {"dstPublisher", "tbPublisher"},
        {"dsqPublisher", "tqPublisher"},
        {"dstUDC", "tbUDC"},
        {"dsqUDC", "tqUDC"},
        {"dstDDC", "tbDDC"},
        {"dsqDDC", "tqDDC"},
        {"dstBAHASA", "tbBAHASA"},
        {"dsqBAHASA", "tqBAHASA"},
        {"dstANGGOTA", "tbANGGOTA"},
        {"dsqANGGOTA", "tqANGGOTA"},
        {"dstKELUARGA", "tbKELUARGA"},
        {"dsqKELUARGA", "tqKELUARGA"},
        {"dstKARTU", "tbKARTU"},
        {"dsqKARTU", "tqKARTU"},
        {"dstKARTUb", "tbKARTUb"},
        {"dstKARTUr", "tbKARTUr"},
        {"dstHIBAH", "tbHIBAH"},
        {"dstHIBAHt", "tbHIBAHt"},
        {"dstCetakLabel", "tbCetakLabel"},
        {"dstCetakAnggota", "tbCetakAnggota"},
        {"dstDIGITAL", "tbDIGITAL"},
        {"dsqDIGITAL", "tqDIGITAL"},
        {"dsteTITLE", "tbeTITLE"},
        {"dsqeTitle", "tqeTitle"},
        {"dsteAuthor", "tbeAuthor"},
        {"dsqeAuthor", "tqeAuthor"},
        {"dstePublisher", "tbePublisher"},
        {"dsqePublisher", "tqePublisher"},
        {"dsqBUKU", "tqBUKU"},
        // The exceptions to the naming rule.
        {"dstBUKU", "tbDIGITAL"},
        {"dsqSEJARAH", "tbSEJARAH"},
        {"dsSETCLT", "tbSISTEM"},
        {"dsSETSRV", "tbUSER"},
        {"dsUMUM", "tbUMUM"},
    };
    app::DataModule dm;
    for (const auto& [source, target] : expected) {
        SCOPED_TRACE(source);
        std::string got = app::DataModule::dataSourceTarget(source);
        EXPECT_EQ(got, target);
        bool exists = dm.hasTable(got);
        if (!exists) {
            try {
                dm.query(got);
                exists = true;
            } catch (const core::Error&) {
            }
        }
        EXPECT_TRUE(exists) << got;
    }
}

}  // namespace
