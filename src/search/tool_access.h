#pragma once
// Who may open the withdrawal window from the Tools window's
// "Broken Book(Hibah)" button.

#include <functional>

#include "app/environment.h"

namespace search {

enum class WithdrawalEntry {
    Open,     // open the withdrawal window
    Stopped,  // nobody logged in: stop without a message
    Refused,  // level 3 or above: show app::kOnlyAdminLibrarian
};

// A GUEST is first offered the login (`login` shows it and may change
// `user`); still GUEST afterwards stops silently. Then the withdrawal gate:
// admin and librarian (level below 3) pass, everyone else is refused.
WithdrawalEntry withdrawalEntry(const app::CurrentUser& user, const std::function<void()>& login);

}  // namespace search
