// Who gets from the Tools window into the withdrawal window.

#include "search/tool_access.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/environment.h"

namespace {

using search::WithdrawalEntry;

app::CurrentUser userAt(const char* name, int level) {
    app::CurrentUser u;
    u.name = name;
    u.level = level;
    return u;
}

app::CurrentUser guest() {
    app::CurrentUser u;
    u.becomeGuest();
    return u;
}

TEST(WithdrawalEntry, LevelGateForLoggedInUsers) {
    struct Case {
        int level;
        WithdrawalEntry expected;
    };
    for (const Case& c : std::vector<Case>{{0, WithdrawalEntry::Open},
                                           {1, WithdrawalEntry::Open},
                                           {2, WithdrawalEntry::Open},
                                           {3, WithdrawalEntry::Refused},
                                           {4, WithdrawalEntry::Refused}}) {
        app::CurrentUser user = userAt("SITI", c.level);
        int logins = 0;
        EXPECT_EQ(search::withdrawalEntry(user, [&] { ++logins; }), c.expected)
            << "level " << c.level;
        EXPECT_EQ(logins, 0) << "a logged-in user is not asked to log in";
    }
}

TEST(WithdrawalEntry, GuestIsOfferedTheLoginAndJudgedByWhoLoggedIn) {
    struct Case {
        std::optional<int> loginLevel;  // none: the login window was left as GUEST
        WithdrawalEntry expected;
    };
    for (const Case& c : std::vector<Case>{{std::nullopt, WithdrawalEntry::Stopped},
                                           {2, WithdrawalEntry::Open},
                                           {3, WithdrawalEntry::Refused}}) {
        app::CurrentUser user = guest();
        int logins = 0;
        auto login = [&] {
            ++logins;
            if (c.loginLevel) user = userAt("SITI", *c.loginLevel);
        };
        EXPECT_EQ(search::withdrawalEntry(user, login), c.expected);
        EXPECT_EQ(logins, 1);
    }
}

}  // namespace
