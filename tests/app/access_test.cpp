#include <gtest/gtest.h>

#include "app/access.h"
#include "app/data_module.h"
#include "store/table.h"
#include "support/fixture.h"

namespace {

app::CurrentUser userAt(int level, const char* name = "Someone") {
    app::CurrentUser u;
    u.name = name;
    u.level = level;
    return u;
}

TEST(Gates, EveryGateAgainstEveryLevel) {
    using C = app::GatedCommand;
    struct Case {
        C command;
        int firstRefusedLevel;
    };
    const Case cases[] = {{C::Settings, 3},    {C::BookEntry, 3},  {C::Members, 3},  {C::DigitalEntry, 3},
                          {C::Withdrawal, 3},  {C::Transaction, 4}, {C::Emptying, 2}, {C::DeleteBookRecord, 3}};
    for (const Case& c : cases)
        for (int level : {0, 1, 2, 3, 4, 5, 9})
            EXPECT_EQ(app::gateAllows(c.command, userAt(level)), level < c.firstRefusedLevel)
                << "command " << static_cast<int>(c.command) << " level " << level;
}

TEST(Gates, TheUnsetUserOfAFailedStartMayNotEmptyTheData) {
    const app::CurrentUser unset;  // empty name, level 0
    EXPECT_TRUE(unset.isUnset());
    EXPECT_FALSE(app::gateAllows(app::GatedCommand::Emptying, unset));
    // The settings themselves stay reachable, so the library can be located.
    EXPECT_TRUE(app::gateAllows(app::GatedCommand::Settings, unset));
}

TEST(Gates, MessagesAndLoginOnDemand) {
    using C = app::GatedCommand;
    EXPECT_EQ(app::gateOf(C::BookEntry).message, "Sorry, only for admin/librarian.");
    EXPECT_EQ(app::gateOf(C::Transaction).message, "Sorry, only for admin/librarian/assistant librarian.");
    EXPECT_EQ(app::gateOf(C::Emptying).message,
              "Sorry,... \rYou have no authority to do this procedure.\rOnly for Admin or user level 1");
    EXPECT_TRUE(app::gateOf(C::Settings).loginOnDemand);
    EXPECT_TRUE(app::gateOf(C::Transaction).loginOnDemand);
    EXPECT_FALSE(app::gateOf(C::Emptying).loginOnDemand);
    EXPECT_TRUE(app::gateOf(C::OpenAdmin).message.empty());
}

TEST(Gates, PasswordChangeAndAdminPanel) {
    app::CurrentUser guest;
    guest.becomeGuest();
    EXPECT_FALSE(app::gateAllows(app::GatedCommand::ChangePassword, guest));
    EXPECT_TRUE(app::gateAllows(app::GatedCommand::ChangePassword, userAt(3)));
    // Level 0 alone is not enough for the diagnostic panel: it is the
    // maintenance account's.
    EXPECT_FALSE(app::gateAllows(app::GatedCommand::OpenAdmin, userAt(0, "Admin")));
    EXPECT_TRUE(app::gateAllows(app::GatedCommand::OpenAdmin, userAt(0, app::kMaintenanceName)));
}

class LoginTest : public ::testing::Test {
protected:
    testing_support::TempInstallation inst;
    app::DataModule data;
    void SetUp() override {
        data.dbSETSRV.setFileName(inst.users());
        data.dbSETSRV.open();
        store::Table& u = data.table("tbUSER");
        u.open();
        u.insert();
        u.setString("USERNAME", "Sari");
        u.setString("USERPSWD", "Secret");
        u.setInteger("USERLEVEL", 2);
        u.setString("USERID", "LIB-7");
        u.post();
    }
};

TEST_F(LoginTest, TrimmedNameAndPasswordMatchTheStoredAccount) {
    app::CurrentUser user;
    user.becomeGuest();
    auto out = app::attemptLogin(data.table("tbUSER"), user, "  Sari ", " Secret  ");
    ASSERT_TRUE(out.success);
    EXPECT_EQ(user.name, "Sari");
    EXPECT_EQ(user.password, "Secret");
    EXPECT_EQ(user.level, 2);
    EXPECT_EQ(out.levelText, "2");
    EXPECT_EQ(out.identifier, "LIB-7");
    EXPECT_EQ(out.panelText, "Wellcome: SARI");
}

TEST_F(LoginTest, PasswordsCompareWithCase) {
    app::CurrentUser user;
    user.becomeGuest();
    EXPECT_FALSE(app::attemptLogin(data.table("tbUSER"), user, "Sari", "secret").success);
}

TEST_F(LoginTest, FailedLoginLogsTheLibrarianOut) {
    app::CurrentUser user;
    app::attemptLogin(data.table("tbUSER"), user, "Sari", "Secret");
    ASSERT_EQ(user.level, 2);
    auto out = app::attemptLogin(data.table("tbUSER"), user, " nobody ", "x");
    EXPECT_FALSE(out.success);
    EXPECT_EQ(out.failure, "NOT-FOUND: nobody");
    EXPECT_TRUE(user.isGuest());
    EXPECT_EQ(user.level, 9);
}

TEST_F(LoginTest, MaintenanceAccountIsExactAndLevelZero) {
    app::CurrentUser user;
    user.becomeGuest();
    auto out = app::attemptLogin(data.table("tbUSER"), user, app::kMaintenanceName, app::kMaintenancePassword);
    EXPECT_TRUE(out.success);
    EXPECT_EQ(user.level, 0);
    EXPECT_EQ(out.identifier, "Programmer");
    EXPECT_FALSE(app::attemptLogin(data.table("tbUSER"), user, "tovirakmaintainer", app::kMaintenancePassword).success);
}

TEST(AboutRoles, LevelNames) {
    EXPECT_EQ(app::aboutRole(0), "Programmer");
    EXPECT_EQ(app::aboutRole(1), "Admin");
    EXPECT_EQ(app::aboutRole(2), "Librarian");
    EXPECT_EQ(app::aboutRole(3), "User");
    EXPECT_EQ(app::aboutRole(9), "GUEST");
}

}  // namespace
