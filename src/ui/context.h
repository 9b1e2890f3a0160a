#pragma once
// What every window gets from the main window: the shared data objects, the
// environment record and the seams.

#include <QString>
#include <functional>
#include <string>

#include "app/data_module.h"
#include "app/environment.h"
#include "core/clock.h"
#include "ui/dialogs.h"
#include "ui/opener.h"

class QWidget;

namespace ui {

struct AppContext {
    app::DataModule& data;
    app::Environment& env;
    Dialogs& dialogs;
    Opener& opener;
    const core::Clock& clock;
    // The main window's menu check and start-area restore, for windows that
    // close (empties the quick-search box; shows the start panels when no
    // document window is open).
    std::function<void()> menuCheck = [] {};
    // Login on demand: shows the login window; afterwards the user may still be GUEST.
    std::function<void(QWidget*)> login = [](QWidget*) {};
    // The main window's user label, rewritten after login and logout.
    std::function<void()> userChanged = [] {};
};

QString qs(const std::string& text);
std::string ss(const QString& text);

// Runs `action`; an engine or conversion failure (core::Error) is shown in the
// standard error box and stops the action there. Returns false when it did.
bool guarded(AppContext& ctx, QWidget* parent, const std::function<void()>& action);

}  // namespace ui
