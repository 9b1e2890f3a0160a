#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/administration.h"
#include "app/installation.h"
#include "app/help_files.h"
#include "core/error.h"
#include "app/startup.h"
#include "store/key_values.h"
#include "support/fixture.h"

namespace {

namespace fs = std::filesystem;

class AdministrationTest : public ::testing::Test {
protected:
    testing_support::TempInstallation inst{true};
    app::Environment env;
    app::DataModule data;
    void SetUp() override { ASSERT_TRUE(app::startUp(env, data, inst.dir()).messages.empty()); }
    std::string setting(const char* name) {
        return store::readVariable(data.table("tbSISTEM"), store::kSettingsLayout, name).value_or("<none>");
    }
};

TEST_F(AdministrationTest, SaveDirectoryRefusesBlankInputAndWritesNothing) {
    struct Case {
        const char* dir;
        const char* location;
        const char* message;
    };
    for (const Case& c : {Case{"", "", "Blank SystemDirectory\rCan Not changed"},
                          Case{"  ", "/x/TOVIRAK.ABS", "Blank SystemDirectory\rCan Not changed"},
                          Case{"/x", " ", "Blank DatabaseLocation\rCan Not changed"}}) {
        auto out = app::saveDirectory(env, data, c.dir, c.location, true);
        ASSERT_TRUE(out.refusal);
        EXPECT_EQ(*out.refusal, c.message);
        EXPECT_EQ(setting("VB"), "");
        EXPECT_EQ(setting("SYSDBF"), inst.library());
    }
}

TEST_F(AdministrationTest, SaveDirectoryWritesAndRereadsTheWorkstationSettings) {
    auto out = app::saveDirectory(env, data, " " + inst.dir() + " ", inst.dir() + "/TOVIRAK.ABS ", true);
    EXPECT_TRUE(out.closeWindow);
    EXPECT_FALSE(out.reopenError);
    EXPECT_EQ(setting("VB"), "Y");
    EXPECT_EQ(env.startPage, "Y");
    EXPECT_EQ(setting("SYSDIR"), inst.dir());
    EXPECT_EQ(env.libraryPath, inst.dir() + "/TOVIRAK.ABS");
    // Without ticking the box the start-page option is cleared.
    app::saveDirectory(env, data, inst.dir(), inst.library(), false);
    EXPECT_EQ(setting("VB"), "");
    EXPECT_EQ(env.startPage, "");
}

TEST_F(AdministrationTest, SaveDirectoryToAFolderWithoutWorkstationDatabase) {
    testing_support::TempDir empty;
    auto out = app::saveDirectory(env, data, empty.dir(), inst.library(), false);
    ASSERT_TRUE(out.reopenError);
    EXPECT_NE(out.reopenError->find("SETCLT.ABS"), std::string::npos);
    EXPECT_FALSE(out.closeWindow);
    EXPECT_FALSE(data.dbSETCLT.isOpen());
}

TEST_F(AdministrationTest, LabelOptionIsWrittenOnlyWhenItsRowExists) {
    EXPECT_TRUE(app::saveLabelOption(data, true));
    EXPECT_TRUE(app::labelOptionTicked(data));
    store::Table& sistem = data.table("tbSISTEM");
    ASSERT_TRUE(sistem.findKey({"CBBOOK"}));
    sistem.remove();
    const auto rows = sistem.recordCount();
    EXPECT_FALSE(app::saveLabelOption(data, true));
    EXPECT_EQ(sistem.recordCount(), rows);
    EXPECT_FALSE(app::labelOptionTicked(data));
}

TEST_F(AdministrationTest, OwnAccountChange) {
    store::Table& users = data.table("tbUSER");
    // Another account's name and password are refused.
    auto taken = app::saveOwnAccount(users, "Librarian", "librarian", "Admin", "admin", "2");
    EXPECT_EQ(taken.message, "UserName and Password, not available.\rTry another Name or Password");
    EXPECT_FALSE(taken.hidePanels);
    auto done = app::saveOwnAccount(users, " Librarian", "librarian ", "Sari", "new-pass", "2");
    EXPECT_TRUE(done.message.empty());
    EXPECT_TRUE(done.hidePanels);
    users.setIndexName("iUsername");
    ASSERT_TRUE(users.findKey({"Sari", "new-pass"}));
    EXPECT_EQ(users.asInteger("USERLEVEL"), 2);
    // A second change in the same run still looks for the old account.
    auto again = app::saveOwnAccount(users, "Librarian", "librarian", "Sari2", "x", "2");
    EXPECT_EQ(again.message, "UserName and Password, not found.");
    EXPECT_THROW(app::saveOwnAccount(users, "Sari", "new-pass", "Sari", "y", "two"), core::Error);
    EXPECT_TRUE(users.findKey({"Sari", "new-pass"}));
}

TEST_F(AdministrationTest, EmptyingFailsWhileAnotherWorkstationHoldsTheTable) {
    store::Connection other("other");
    other.setFileName(inst.library());
    other.open();
    store::Table books(other, "tBUKU");
    books.open();
    auto failures = app::emptyAllData(data);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "Error u can`t empty [tbBUKU] table or any user use the table....");
    EXPECT_EQ(books.recordCount(), 300);
    EXPECT_EQ(data.table("tbANGGOTA").recordCount(), 0);
    EXPECT_EQ(data.table("tbKARTU").recordCount(), 0);
    EXPECT_GT(data.openTable("tbDDC", "iDDC").recordCount(), 0);  // classification is kept
    for (const auto& e : app::emptyAllTables()) EXPECT_TRUE(data.table(e.tableObject).isOpen()) << e.tableObject;
    books.close();
    EXPECT_TRUE(app::emptyTableObject(data, "tbBUKU"));
    EXPECT_EQ(data.table("tbBUKU").recordCount(), 0);
}

TEST_F(AdministrationTest, FolderCleanupAndPlaceholders) {
    const std::string dir = env.databaseDirectory;
    { std::ofstream(dir + "imgbcbook/1201.bmp") << "x"; }
    { std::ofstream(dir + "imgbook/note.txt") << "x"; }
    { std::ofstream(dir + "digital/file.pdf") << "x"; }
    app::deleteBitmaps(dir);
    EXPECT_FALSE(fs::exists(dir + "imgbcbook/1201.bmp"));
    EXPECT_FALSE(fs::exists(dir + "imgmember/NoPhoto.bmp"));
    EXPECT_TRUE(fs::exists(dir + "imgbook/note.txt"));
    app::restorePlaceholderPhoto(dir);
    EXPECT_TRUE(fs::exists(dir + "imgmember/NoPhoto.bmp"));
    EXPECT_TRUE(fs::exists(dir + "imgbcmember/NoBarcode.bmp"));
    EXPECT_EQ(app::digitalFilesQuestion("/lib/"),
              "Are you sure, all data in this directory will be remove:\r/lib/digital/*.*\ris allowed to delete "
              "all file and Process anyway?");
    app::deleteDigitalFiles(dir);
    EXPECT_FALSE(fs::exists(dir + "digital/file.pdf"));
    EXPECT_TRUE(fs::is_directory(dir + "digital"));
}

TEST_F(AdministrationTest, CompactingLeavesTheLibraryReadable) {
    app::compactLibrary(data);
    EXPECT_FALSE(data.dbTOVIRAK.isOpen());
    data.ensureLibraryConnected();
    EXPECT_EQ(data.openTable("tbBUKU", "iKodeBuku").recordCount(), 300);
}

TEST(HelpFiles, LanguageSwitchCopiesOnlyExistingFiles) {
    testing_support::TempInstallation inst;
    auto msg = app::switchHelpLanguage(inst.dir(), app::HelpLanguage::Indonesian);
    EXPECT_EQ(msg, "HELP Language is in BAHASA INDONESIA\rChoose specific window to get specific help, by pressing F1 button.");
    EXPECT_EQ(app::readHelpTopic(inst.path("HELPTOV.HLP"), 160).title, "Transaksi");
    testing_support::TempDir empty;
    msg = app::switchHelpLanguage(empty.dir(), app::HelpLanguage::English);
    EXPECT_EQ(msg, "HELP Language is in ENGLISH\rChoose specific window to get specific help, by pressing F1 button.");
    EXPECT_FALSE(fs::exists(empty.path("HELP.DOC")));
}

TEST(HelpFiles, EveryWindowTopicIsDelivered) {
    testing_support::TempInstallation inst;
    for (const char* file : {"HELPTOV_EN.HLP", "HELPTOV_ID.HLP"})
        for (int topic : {90, 100, 140, 150, 160, 180, 190, 200, 220, 230, 250, 280})
            EXPECT_TRUE(app::readHelpTopic(inst.path(file), topic).found) << file << " " << topic;
    EXPECT_FALSE(app::readHelpTopic(inst.path("HELPTOV.HLP"), 999).found);
}

}  // namespace

namespace {

TEST(Installation, ShipsTemplatesHelpAndPicturesAndRefusesASecondTime) {
    testing_support::TempInstallation inst;
    for (const char* file : {"dot/LabelBukuPlusBarcode.dot", "dot/membercardBolakBalikLandscape.dot",
                             "dot/membercardBolakBalikPortrait.dot", "dot/stockopname.dot", "laporan/htm/header.txt",
                             "laporan/htm/isi.txt", "laporan/htm/footer.txt", "HELP.DOC", "HELPTOV.HLP",
                             "NoPhoto.bmp", "imgmember/NoPhoto.bmp", "imgbcmember/NoBarcode.bmp"})
        EXPECT_TRUE(fs::is_regular_file(inst.path(file))) << file;
    for (const char* folder : {"doc", "digital"}) EXPECT_TRUE(fs::is_directory(inst.path(folder))) << folder;
    EXPECT_THROW(app::createInstallation(inst.dir(), {}), core::Error);
}

TEST(Installation, DeliversTheRowsTheProgramOnlyUpdates) {
    testing_support::TempInstallation inst;
    app::Environment env;
    app::DataModule data;
    app::startUp(env, data, inst.dir());
    store::Table& sistem = data.table("tbSISTEM");
    for (const char* name : {"SYSDBF", "SYSDIR", "LANG", "VB", "CBBOOK"})
        EXPECT_TRUE(store::readVariable(sistem, store::kSettingsLayout, name)) << name;
    EXPECT_EQ(store::readVariable(sistem, store::kSettingsLayout, "LANG"), "INA");
    store::Table& umum = data.openTable("tbUMUM", "iKasus");
    EXPECT_EQ(store::readVariable(umum, store::kCountersLayout, "LastRec"), "1201205140001");
    EXPECT_EQ(store::readVariable(umum, store::kCountersLayout, "LastRecDig"), "2201205140001");
    EXPECT_EQ(data.openTable("tbUDC", "iUDC").recordCount(), 10);
    EXPECT_EQ(data.openTable("tbDDC", "iDDC").recordCount(), 100);
    EXPECT_GT(data.openTable("tbBAHASA", "iBAHASA").recordCount(), 5);
    EXPECT_EQ(data.table("tbUSER").recordCount(), 1);
}

}  // namespace
