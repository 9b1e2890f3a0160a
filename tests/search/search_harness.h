#pragma once
// What the search window tests build their windows over: a fresh
// installation with its library connection open, the scripted seams, a guest
// as the current user, and a count of the main window's menu checks.

#include <memory>
#include <string>

#include "app/data_module.h"
#include "app/environment.h"
#include "core/clock.h"
#include "store/connection.h"
#include "support/fixture.h"
#include "support/scripted.h"
#include "ui/context.h"

namespace testing_support {

struct SearchHarness {
    TempInstallation inst;
    ScriptedDialogs dialogs;
    RecordingOpener opener;
    core::FixedClock clock{core::DateTime::fromParts(2026, 12, 11, 9, 0, 0)};
    app::DataModule data;
    app::Environment env;
    std::unique_ptr<ui::AppContext> ctx;
    int menuChecks = 0;

    // `demo`: the installation with the demo library (300 copies, 18 families).
    explicit SearchHarness(bool demo) : inst(demo) {
        data.dbTOVIRAK.setFileName(inst.library());
        data.dbTOVIRAK.setMultiUser(true);
        data.dbTOVIRAK.open();
        env.user.becomeGuest();
        ctx = std::make_unique<ui::AppContext>(ui::AppContext{data, env, dialogs, opener, clock});
        ctx->menuCheck = [this] { ++menuChecks; };
    }

    // A second connection to the library file: another workstation.
    void elsewhere(const std::string& sql) {
        store::Connection other("other");
        other.setFileName(inst.library());
        other.open();
        other.execute(sql);
    }
};

}  // namespace testing_support
