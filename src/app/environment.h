#pragma once
// The environment record the main window holds for the whole run, and the
// current user within it.

#include <string>

namespace app {

inline constexpr const char* kGuestName = "GUEST";
inline constexpr int kGuestLevel = 9;
inline constexpr const char* kVersionText = "2.02";

struct CurrentUser {
    // Unset until start-up reaches the anonymous user: empty name, level 0.
    std::string name;
    std::string password;
    int level = 0;

    bool isGuest() const { return name == kGuestName; }
    // Nobody, not even the guest: start-up stopped before setting the user.
    bool isUnset() const { return name.empty(); }
    void becomeGuest() {
        name = kGuestName;
        password.clear();
        level = kGuestLevel;
    }
};

struct Environment {
    std::string systemDirectory;
    std::string libraryPath;
    std::string databaseDirectory;
    std::string language = "INA";
    std::string startPage;
    std::string version = kVersionText;
    CurrentUser user;
    std::string transactionMode;  // "B" borrow, "R" return
    bool libraryFileFound = false;

    bool showsOnlinePage() const { return startPage == "Y"; }
};

}  // namespace app
