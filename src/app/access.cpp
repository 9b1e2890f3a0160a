#include "app/access.h"

#include "core/error.h"
#include "core/text.h"
#include "store/table.h"

namespace app {

Gate gateOf(GatedCommand command) {
    switch (command) {
        case GatedCommand::Settings:
        case GatedCommand::BookEntry:
        case GatedCommand::Members:
        case GatedCommand::DigitalEntry:
        case GatedCommand::Withdrawal: return {true, kOnlyAdminLibrarian};
        case GatedCommand::Transaction: return {true, kOnlyWithAssistant};
        case GatedCommand::Emptying: return {false, kOnlyLevelOne};
        case GatedCommand::ChangePassword: return {false, kGuestNeedsNoPassword};
        case GatedCommand::OpenAdmin:
        case GatedCommand::DeleteBookRecord: return {false, ""};
    }
    return {false, ""};
}

bool isMaintenanceAccount(const CurrentUser& user) {
    return user.name == kMaintenanceName && user.level == 0;
}

bool gateAllows(GatedCommand command, const CurrentUser& user) {
    switch (command) {
        case GatedCommand::Settings:
        case GatedCommand::BookEntry:
        case GatedCommand::Members:
        case GatedCommand::DigitalEntry:
        case GatedCommand::Withdrawal:
        case GatedCommand::DeleteBookRecord: return user.level < 3;
        case GatedCommand::Transaction: return user.level < 4;
        // The unset user's level 0 is no authority: after a failed start the
        // tables cannot be emptied, and the pictures must not go without them.
        case GatedCommand::Emptying: return !user.isUnset() && user.level < 2;
        case GatedCommand::ChangePassword: return !user.isGuest();
        case GatedCommand::OpenAdmin: return isMaintenanceAccount(user);
    }
    return false;
}

std::string aboutRole(int level) {
    switch (level) {
        case 0: return "Programmer";
        case 1: return "Admin";
        case 2: return "Librarian";
        case 3: return "User";
        case 9: return "GUEST";
        default: return std::to_string(level);
    }
}

LoginOutcome attemptLogin(store::Table& accounts, CurrentUser& user, const std::string& typedName,
                          const std::string& typedPassword) {
    LoginOutcome out;
    const std::string name = core::trim(typedName);
    const std::string password = core::trim(typedPassword);
    if (name == kMaintenanceName && password == kMaintenancePassword) {
        user.name = kMaintenanceName;
        user.password = kMaintenancePassword;
        user.level = 0;
        out.levelText = "0";
        out.identifier = kMaintenanceIdentifier;
    } else {
        if (!accounts.isOpen()) {
            accounts.setIndexName("iUsername");
            accounts.open();
        } else {
            accounts.setIndexName("iUsername");
        }
        if (!accounts.findKey({name, password})) {
            user.becomeGuest();
            out.failure = "NOT-FOUND: " + name;
            return out;
        }
        user.name = accounts.asString("USERNAME");
        user.password = accounts.asString("USERPSWD");
        out.levelText = accounts.asString("USERLEVEL");
        out.identifier = accounts.asString("USERID");
        auto level = core::parseInteger(core::trim(out.levelText));
        if (!level) {
            out.conversionError = core::notAnIntegerMessage(core::trim(out.levelText));
            return out;
        }
        user.level = static_cast<int>(*level);
    }
    out.success = true;
    out.panelText = "Wellcome: " + core::asciiUpper(name);
    return out;
}

}  // namespace app
