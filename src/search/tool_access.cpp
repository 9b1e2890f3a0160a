#include "search/tool_access.h"

#include "app/access.h"

namespace search {

WithdrawalEntry withdrawalEntry(const app::CurrentUser& user, const std::function<void()>& login) {
    if (user.isGuest()) {
        if (login) login();
        if (user.isGuest()) return WithdrawalEntry::Stopped;
    }
    return app::gateAllows(app::GatedCommand::Withdrawal, user) ? WithdrawalEntry::Open
                                                                : WithdrawalEntry::Refused;
}

}  // namespace search
