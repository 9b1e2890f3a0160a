#pragma once
// Login, user levels and the gates that test them. A lower level means more
// rights; every gate compares the level as a number.

#include <optional>
#include <string>

#include "app/environment.h"

namespace store {
class Table;
}

namespace app {

// The built-in maintenance account: logs in at level 0 whatever the
// accounts table holds, and alone may open the diagnostic panel.
inline constexpr const char* kMaintenanceName = "TovirakMaintainer";
inline constexpr const char* kMaintenancePassword = "Shelf&Spine-2026!key";
inline constexpr const char* kMaintenanceIdentifier = "Programmer";

enum class GatedCommand {
    Settings,
    BookEntry,
    Members,
    DigitalEntry,
    Transaction,
    Withdrawal,
    Emptying,
    ChangePassword,
    OpenAdmin,
    DeleteBookRecord,
};

struct Gate {
    bool loginOnDemand;
    std::string message;  // empty: refused silently
};

inline constexpr const char* kOnlyAdminLibrarian = "Sorry, only for admin/librarian.";
inline constexpr const char* kOnlyWithAssistant = "Sorry, only for admin/librarian/assistant librarian.";
inline constexpr const char* kOnlyLevelOne =
    "Sorry,... \rYou have no authority to do this procedure.\rOnly for Admin or user level 1";
inline constexpr const char* kGuestNeedsNoPassword = "GUEST doesn`t need a password.";

Gate gateOf(GatedCommand command);

// Whether the gate lets this user through (after any login on demand).
bool gateAllows(GatedCommand command, const CurrentUser& user);

bool isMaintenanceAccount(const CurrentUser& user);

// The role names of the About window and of the settings legend.
std::string aboutRole(int level);
inline constexpr const char* kLevelLegend = "1=Admin 2=Librarian 3=Asst.Librarian 9=GUEST";

struct LoginOutcome {
    bool success = false;
    std::string levelText;   // for the level box
    std::string identifier;  // for the identifier box
    std::string panelText;   // "Wellcome: NAME" on success
    std::string failure;     // "NOT-FOUND: name" when no account matched
    std::string conversionError;  // a stored level that is not a number
};

// Enter in the password box: trims both texts, tries the maintenance account
// (exact, case-sensitive), then the accounts (tbUSER under iUsername, opened
// when closed). On success the user becomes the account; on no match the
// user becomes GUEST; a stored level that is no number keeps the account's
// name and password with the previous level and reports the conversion error.
LoginOutcome attemptLogin(store::Table& accounts, CurrentUser& user, const std::string& typedName,
                          const std::string& typedPassword);

inline constexpr const char* kLogoutQuestion = "Make sure, you want to LogOut? ";

}  // namespace app
