#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/layout_rules.h"
#include "app/paths.h"
#include "app/startup.h"
#include "store/key_values.h"
#include "support/fixture.h"

namespace {

namespace fs = std::filesystem;

void setSetting(const std::string& workstation, const char* name, const std::string& value) {
    store::Connection c("w");
    c.setFileName(workstation);
    c.open();
    store::Table t(c, "SISTEM");
    ASSERT_TRUE(store::writeVariable(t, store::kSettingsLayout, name, value));
}

TEST(DatabaseDirectory, LastElevenCharactersAreCut) {
    EXPECT_EQ(app::databaseDirectoryOf("/data/TOVIRAK.ABS"), "/data/");
    EXPECT_EQ(app::databaseDirectoryOf("  /data/TOVIRAK.ABS "), "/data/");
    EXPECT_EQ(app::userDatabasePath("/data/"), "/data//SETSRV.ABS");
    // Another name length gives a wrong directory, as it always has.
    EXPECT_EQ(app::databaseDirectoryOf("/data/LIB.ABS"), "/d");
    EXPECT_EQ(app::databaseDirectoryOf(""), "");
}

TEST(Startup, DeliveredInstallationOpensEverything) {
    testing_support::TempInstallation inst;
    app::Environment env;
    app::DataModule data;
    auto out = app::startUp(env, data, inst.dir());
    EXPECT_TRUE(out.messages.empty());
    EXPECT_FALSE(out.stoppedEarly);
    EXPECT_TRUE(env.libraryFileFound);
    EXPECT_EQ(env.libraryPath, inst.library());
    EXPECT_EQ(env.databaseDirectory, inst.dir() + "/");
    EXPECT_EQ(env.language, "INA");
    EXPECT_EQ(env.version, "2.02");
    EXPECT_TRUE(env.user.isGuest());
    EXPECT_EQ(env.user.level, 9);
    EXPECT_TRUE(data.dbSETCLT.isOpen() && data.dbSETSRV.isOpen() && data.dbTOVIRAK.isOpen());
    EXPECT_TRUE(data.table("tbSISTEM").isOpen());
    EXPECT_TRUE(data.table("tbUSER").isOpen());
    for (const char* folder : app::kWorkingFolders) EXPECT_TRUE(fs::is_directory(inst.path(folder))) << folder;
    EXPECT_FALSE(env.showsOnlinePage());
}

TEST(Startup, StartPageOnlyForCapitalY) {
    for (auto [value, online] : {std::pair{"Y", true}, std::pair{"y", false}, std::pair{"", false}}) {
        testing_support::TempInstallation inst;
        setSetting(inst.workstation(), "VB", value);
        app::Environment env;
        app::DataModule data;
        app::startUp(env, data, inst.dir());
        EXPECT_EQ(env.showsOnlinePage(), online) << value;
    }
}

TEST(Startup, MissingLibraryFileStopsBeforeTheUserDatabase) {
    testing_support::TempInstallation inst;
    setSetting(inst.workstation(), "SYSDBF", inst.path("elsewhere/TOVIRAK.ABS"));
    app::Environment env;
    app::DataModule data;
    auto out = app::startUp(env, data, inst.dir());
    EXPECT_TRUE(out.stoppedEarly);
    EXPECT_TRUE(out.messages.empty());
    EXPECT_FALSE(env.libraryFileFound);
    EXPECT_FALSE(data.dbSETSRV.isOpen());
    EXPECT_FALSE(data.dbTOVIRAK.isOpen());
    EXPECT_EQ(env.user.name, "");  // no user is set up
}

TEST(Startup, UnreadableWorkstationDatabaseIsReportedAndStops) {
    testing_support::TempInstallation inst;
    { std::ofstream(inst.workstation(), std::ios::trunc) << "this is not a database at all, just text"; }
    app::Environment env;
    app::DataModule data;
    auto out = app::startUp(env, data, inst.dir());
    ASSERT_EQ(out.messages.size(), 1u);
    EXPECT_EQ(out.messages[0].kind, app::Message::Kind::Error);
    EXPECT_NE(out.messages[0].text.find("SETCLT.ABS"), std::string::npos);
    EXPECT_TRUE(out.stoppedEarly);
    EXPECT_FALSE(env.libraryFileFound);  // the settings window opens at the first paint
}

TEST(Startup, UnreadableUserDatabaseIsReportedWithoutSettingsWindow) {
    testing_support::TempInstallation inst;
    fs::remove(inst.users());
    app::Environment env;
    app::DataModule data;
    auto out = app::startUp(env, data, inst.dir());
    ASSERT_EQ(out.messages.size(), 1u);
    EXPECT_NE(out.messages[0].text.find("SETSRV.ABS"), std::string::npos);
    EXPECT_TRUE(env.libraryFileFound);
    EXPECT_FALSE(out.stoppedEarly);
    EXPECT_FALSE(data.dbTOVIRAK.isOpen());
}

TEST(Startup, ExistingFoldersStayAndAFailedFolderIsReported) {
    testing_support::TempInstallation inst;
    { std::ofstream(inst.path("imgbcbook/keep.bmp")) << "x"; }
    fs::remove_all(inst.path("imgbook"));
    { std::ofstream(inst.path("imgbook")) << "a file where the folder belongs"; }
    app::Environment env;
    app::DataModule data;
    auto out = app::startUp(env, data, inst.dir());
    EXPECT_TRUE(fs::exists(inst.path("imgbcbook/keep.bmp")));
    EXPECT_TRUE(out.folderCreationFailed);
    ASSERT_EQ(out.messages.size(), 2u);
    EXPECT_EQ(out.messages[0].text, "Directory creation failed, make sure directory attribute is ReadWrite. error 17");
    EXPECT_EQ(out.messages[1].text, "TOVIRAK may not work properly\rFixed this problem immidiately.");
    // Start-up goes on with the next folders and the library database.
    EXPECT_TRUE(fs::is_directory(inst.path("imgbcmember")));
    EXPECT_TRUE(data.dbTOVIRAK.isOpen());
}

TEST(LayoutRules, ShelfCoversFollowTheWidth) {
    std::array<app::Box, 10> covers;
    for (int i = 0; i < 10; ++i) covers[static_cast<std::size_t>(i)] = {0, i < 5 ? 10 : 200, 50, 170};
    auto out = app::shelfCovers(600, covers);
    // W=600: width 100, gap 16; lefts 16, 132, 248, 364, 480.
    const int lefts[] = {16, 132, 248, 364, 480};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(out[static_cast<std::size_t>(i)].left, lefts[i]);
        EXPECT_EQ(out[static_cast<std::size_t>(i + 5)].left, lefts[i]);
        EXPECT_EQ(out[static_cast<std::size_t>(i)].width, 100);
        EXPECT_EQ(out[static_cast<std::size_t>(i + 5)].top, 200);
        EXPECT_EQ(out[static_cast<std::size_t>(i)].height, 170);
    }
    EXPECT_EQ(app::shelfCovers(605, covers)[1].left, 16 + 100 + 16);
}

TEST(LayoutRules, CentringAndSettingsBoxes) {
    auto b = app::centred(1001, 701, 320, 111);
    EXPECT_EQ(b.left, 500 - 160);
    EXPECT_EQ(b.top, 350 - 55);
    EXPECT_EQ(app::settingsBoxWidth(801), 386);
}

}  // namespace
