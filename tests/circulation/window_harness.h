#pragma once
// A lending-desk window over a fresh demo installation: the workstation and
// library files opened, the librarian logged in, scripted dialogs and a fixed
// clock (2026-12-11 09:00:00). A test adds its own helpers and calls show().

#include <QApplication>
#include <QSize>
#include <QtTest>
#include <memory>

#include "app/data_module.h"
#include "app/environment.h"
#include "core/clock.h"
#include "support/fixture.h"
#include "support/scripted.h"
#include "ui/context.h"

namespace circulation_test {

template <class Window>
struct WindowHarness {
    testing_support::TempInstallation inst{true};
    app::DataModule data;
    app::Environment env;
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingOpener opener;
    core::FixedClock clock{core::DateTime::fromParts(2026, 12, 11, 9, 0, 0)};
    ui::AppContext ctx{data, env, dialogs, opener, clock};
    std::unique_ptr<Window> window;

    WindowHarness() {
        data.dbSETCLT.setFileName(inst.workstation());
        data.dbTOVIRAK.setFileName(inst.library());
        data.dbSETCLT.open();
        data.dbTOVIRAK.open();
        env.user.name = "Librarian";
        env.user.level = 2;
    }

    // Creates the window, shows it (at `size` when given) and waits until it
    // is the active window, so focus can be checked.
    void show(QSize size = {}) {
        window = std::make_unique<Window>(ctx);
        if (size.isValid()) window->resize(size);
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    template <class T = QWidget>
    T* find(const char* name) {
        return window->template findChild<T*>(name);
    }
};

}  // namespace circulation_test
