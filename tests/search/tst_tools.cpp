// Key, focus and visibility flows of the Tools window and the DDC window.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <optional>

#include "app/access.h"
#include "app/data_module.h"
#include "app/environment.h"
#include "app/uTOVIRAK.h"
#include "search/uOCLC.h"
#include "search/uTool.h"
#include "search/web_lookup.h"
#include "support/scripted.h"
#include "ui/online_view.h"
#include "ui/windows.h"

using search::LookupService;

Q_DECLARE_METATYPE(LookupService)

namespace {

// The seams and an environment; these windows read no table.
struct Harness {
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingOpener opener;
    core::FixedClock clock{core::DateTime::fromParts(2026, 12, 11, 9, 0, 0)};
    app::DataModule data;
    app::Environment env;
    std::unique_ptr<ui::AppContext> ctx;
    int logins = 0;
    std::optional<int> loginLevel;  // who logs in when the login window is shown; none: nobody

    Harness() {
        env.user.becomeGuest();
        ctx = std::make_unique<ui::AppContext>(ui::AppContext{data, env, dialogs, opener, clock});
        ctx->login = [this](QWidget*) {
            ++logins;
            if (loginLevel) {
                env.user.name = "SITI";
                env.user.level = *loginLevel;
            }
        };
    }
};

QString address(LookupService service, const QString& text) {
    return QString::fromStdString(search::lookupAddress(service, text.toStdString()));
}

}  // namespace

class ToolsTest : public QObject {
    Q_OBJECT

private slots:
    void lookupButtonsOpenTheirAddress_data();
    void lookupButtonsOpenTheirAddress();
    void enterSearchesAmazon();
    void escapeAndFooterClose();
    void windowsNotYetAvailableAreDisabled();
    void printingWindowsGiveTheFocusBack();
    void brokenBookGate_data();
    void brokenBookGate();
    void ddcWindowSearchesOnStartEnterAndActivation();
};

void ToolsTest::lookupButtonsOpenTheirAddress_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<LookupService>("service");
    QTest::newRow("WorldCat") << "bbtWorldCat" << LookupService::WorldCat;
    QTest::newRow("ISBNdb") << "bbtISBNdb" << LookupService::IsbnDb;
    QTest::newRow("Amazon") << "bbtAmazon" << LookupService::Amazon;
    QTest::newRow("DDC at OCLC") << "bbtDDC" << LookupService::Dewey;
    QTest::newRow("Library of Congress") << "bbtLOC" << LookupService::Congress;
    QTest::newRow("London") << "bbtLondon" << LookupService::London;
    QTest::newRow("Australia") << "bbtNLA" << LookupService::Australia;
    QTest::newRow("Singapore") << "bbtNLB" << LookupService::Singapore;
    QTest::newRow("JogjaLib") << "bbtJogjaLib" << LookupService::Jogja;
}

void ToolsTest::lookupButtonsOpenTheirAddress() {
    QFETCH(QString, button);
    QFETCH(LookupService, service);
    Harness h;
    TfrmTool w(*h.ctx, {});
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* box = w.findChild<QLineEdit*>("edtCari");
    QCOMPARE(QApplication::focusWidget(), box);
    box->setText("Tom & Jerry");
    auto* b = w.findChild<QPushButton*>(button);
    QVERIFY(b && b->isEnabled());
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(h.opener.urls, QStringList{address(service, "Tom & Jerry")});
    QCOMPARE(QApplication::focusWidget(), box);
    // An empty box still opens the service.
    box->clear();
    b->click();
    QCOMPARE(h.opener.urls.size(), 2);
    QCOMPARE(h.opener.urls.last(), address(service, ""));
    QVERIFY(w.isVisible());
}

void ToolsTest::enterSearchesAmazon() {
    Harness h;
    TfrmTool w(*h.ctx, {});
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* box = w.findChild<QLineEdit*>("edtCari");
    QTest::keyClicks(box, "978-602-03-3295-6");
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(h.opener.urls, QStringList{address(LookupService::Amazon, "978-602-03-3295-6")});
    QCOMPARE(QApplication::focusWidget(), box);
    QVERIFY(w.isVisible());
}

void ToolsTest::escapeAndFooterClose() {
    Harness h;
    {
        TfrmTool w(*h.ctx, {});
        QCOMPARE(w.windowTitle(), QString("Tools"));
        QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(w.findChild<QLineEdit*>("edtCari"), Qt::Key_Escape);
        QVERIFY(!w.isVisible());
    }
    {
        TfrmTool w(*h.ctx, {});
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* footer = w.findChild<QLabel*>("lblFooter");
        QCOMPARE(footer->text(), QString("Press ESC to exit"));
        QTest::mouseClick(footer, Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }
    QVERIFY(h.opener.urls.isEmpty());
}

void ToolsTest::windowsNotYetAvailableAreDisabled() {
    Harness h;
    {
        // A window not given to the Tools window leaves its button disabled.
        TfrmTool w(*h.ctx, {});
        for (const char* name : {"bbtLabel", "bbtCard", "bbtHibah"})
            QVERIFY2(!w.findChild<QPushButton*>(name)->isEnabled(), name);
    }
    // The TOOL command opens the program's Tools window modally.
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<TfrmTool*>(QApplication::activeModalWidget());
        QVERIFY(w);
        seen = true;
        QVERIFY(w->findChild<QPushButton*>("bbtAmazon")->isEnabled());
        w->reject();
    });
    QWidget parent;
    ui::programWindows().tools(*h.ctx, &parent);
    QVERIFY(seen);
}

void ToolsTest::printingWindowsGiveTheFocusBack() {
    Harness h;
    QStringList opened;
    ToolWindows windows;
    windows.labelPrinting = [&](QWidget* parent) {
        opened << "label";
        parent->window()->findChild<QPushButton*>("bbtAmazon")->setFocus();
    };
    windows.cardPrinting = [&](QWidget*) { opened << "card"; };
    TfrmTool w(*h.ctx, windows);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* box = w.findChild<QLineEdit*>("edtCari");
    for (const char* name : {"bbtLabel", "bbtCard"}) {
        auto* b = w.findChild<QPushButton*>(name);
        QVERIFY(b->isEnabled());
        b->setFocus();
        b->click();
        QCOMPARE(QApplication::focusWidget(), box);
    }
    QCOMPARE(opened, (QStringList{"label", "card"}));
    // No withdrawal window given: its button stays disabled.
    QVERIFY(!w.findChild<QPushButton*>("bbtHibah")->isEnabled());
}

void ToolsTest::brokenBookGate_data() {
    QTest::addColumn<int>("level");       // -1: GUEST
    QTest::addColumn<int>("loginLevel");  // who logs in when asked; -1: nobody
    QTest::addColumn<int>("logins");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("message");
    QTest::newRow("librarian") << 2 << -1 << 0 << true << "";
    QTest::newRow("admin") << 1 << -1 << 0 << true << "";
    QTest::newRow("assistant librarian") << 3 << -1 << 0 << false << app::kOnlyAdminLibrarian;
    QTest::newRow("guest, nobody logs in") << -1 << -1 << 1 << false << "";
    QTest::newRow("guest, a librarian logs in") << -1 << 2 << 1 << true << "";
    QTest::newRow("guest, an assistant logs in")
        << -1 << 3 << 1 << false << app::kOnlyAdminLibrarian;
}

void ToolsTest::brokenBookGate() {
    QFETCH(int, level);
    QFETCH(int, loginLevel);
    QFETCH(int, logins);
    QFETCH(bool, opens);
    QFETCH(QString, message);
    Harness h;
    if (level >= 0) {
        h.env.user.name = "USER";
        h.env.user.level = level;
    }
    if (loginLevel >= 0) h.loginLevel = loginLevel;
    int withdrawals = 0;
    ToolWindows windows;
    windows.withdrawal = [&](QWidget* parent) {
        QVERIFY(parent);
        ++withdrawals;
    };
    TfrmTool w(*h.ctx, windows);
    auto* hibah = w.findChild<QPushButton*>("bbtHibah");
    QCOMPARE(hibah->text(), QString("Broken Book(Hibah)"));
    QVERIFY(hibah->isEnabled());
    hibah->click();
    QCOMPARE(h.logins, logins);
    QCOMPARE(withdrawals, opens ? 1 : 0);
    QCOMPARE(h.dialogs.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
}

void ToolsTest::ddcWindowSearchesOnStartEnterAndActivation() {
    Harness h;
    TfrmOCLC w(*h.ctx, "The Secret of the Sea");
    QCOMPARE(w.windowTitle(), QString("DDC search engine"));
    QVERIFY(w.browser()->address().isEmpty());
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // Activation searches for the title it was opened with.
    QCOMPARE(w.browser()->address(), address(LookupService::Dewey, "The Secret of the Sea"));

    auto* box = w.findChild<QLineEdit*>("edtTITLE");
    box->setText("Tom & Jerry");
    w.findChild<QPushButton*>("bbtStartSearch")->click();
    QCOMPARE(w.browser()->address(),
             QString::fromStdString("http://" + search::lookupConfig().deweyHost +
                                    "/ddcbrowser2/"
                                    "SearchServlet?startRec=0&fmt1=all&resultsLang=all&audience="
                                    "all&query=Tom%20%26%20Jerry"));

    box->setText("Stories of Stars");
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(w.browser()->address(), address(LookupService::Dewey, "Stories of Stars"));
    QVERIFY(w.isVisible());

    // Coming back to the window searches again, with what the box holds then.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    box->setText("Letters");
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(w.browser()->address(), address(LookupService::Dewey, "Letters"));
    // Nothing went to the system browser: the page shows inside the window.
    QVERIFY(h.opener.urls.isEmpty());

    w.findChild<QPushButton*>("bbtClose")->click();
    QVERIFY(!w.isVisible());
}

QTEST_MAIN(ToolsTest)
#include "tst_tools.moc"
