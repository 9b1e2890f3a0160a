// Key, focus and visibility flows of the main window, the login window and
// the settings window.

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "app/access.h"
#include "app/administration.h"
#include "app/uSECURITY.h"
#include "app/uSETTOV.h"
#include "app/uTOVIRAK.h"
#include "store/key_values.h"
#include "support/fixture.h"
#include "support/scripted.h"

using testing_support::ScriptedDialogs;

class MainWindowTest : public QObject {
    Q_OBJECT

    struct Harness {
        testing_support::TempInstallation inst{true};
        ScriptedDialogs dialogs;
        testing_support::RecordingOpener opener;
        core::FixedClock clock{core::DateTime::fromParts(2026, 12, 11, 9, 0, 0)};
        std::unique_ptr<TfrmTOVIRAK> window;
        int ended = 0;
        int searches = 0;
        QString searchedText;

        void start(bool withDocuments = true) {
            WindowFactories f;
            if (withDocuments) {
                f.bookEntry = [](ui::AppContext&) {
                    auto* w = new QWidget;
                    w->setObjectName("fakeBookEntry");
                    return w;
                };
                f.transaction = [](ui::AppContext&) {
                    auto* w = new QWidget;
                    w->setObjectName("fakeTransaction");
                    return w;
                };
                f.bookSearch = [this](ui::AppContext& ctx, QWidget*, const QString& text) {
                    ++searches;
                    searchedText = text;
                    ctx.menuCheck();
                };
            }
            window = std::make_unique<TfrmTOVIRAK>(dialogs, opener, clock, f, QString::fromStdString(inst.dir()));
            window->endProgram = [this] { ++ended; };
            window->resize(1200, 800);
        }
        template <class T>
        T* find(const char* name) {
            return window->findChild<T*>(name);
        }
        QWidget* panel(const char* name) { return find<QWidget>(name); }
        void login(const char* name, const char* password) {
            app::CurrentUser& u = window->environment().user;
            app::attemptLogin(window->data().table("tbUSER"), u, name, password);
        }
        void setSetting(const char* name, const std::string& value) {
            store::Connection c("w");
            c.setFileName(inst.workstation());
            c.open();
            store::Table t(c, "SISTEM");
            store::writeVariable(t, store::kSettingsLayout, name, value);
        }
    };

private slots:
    void startAreaByStartPageOption_data();
    void startAreaByStartPageOption();
    void documentWindowRule();
    void gatedCommandLoginEscapeDoesNothing();
    void gateRefusalShowsItsMessage();
    void assistantMayLendButNotCatalogue();
    void missingLibraryOpensSettingsOnceAndLimitsCommands();
    void folderFailureShowsSettingsAndEnds();
    void unreadableUserDatabaseLimitsCommands();
    void commandsWithoutTheirWindowAreDisabled();
    void quickSearchEnterOpensBookSearch();
    void exitAsksAndCancelHidesPanels();
    void logoutAsksFirst();
    void helpLanguageMessageWithoutFiles();
    void loginWindowFlow();
    void settingsSaveDirectoryMessages();
    void settingsChangePasswordByLevel();
    void settingsEmptyingMessages();
    void settingsEmptyingRefusedWhileAnotherWorkstationHoldsTheTable();
    void settingsOpenAdminOnlyForMaintenance();
};

void MainWindowTest::startAreaByStartPageOption_data() {
    QTest::addColumn<QString>("vb");
    QTest::addColumn<bool>("online");
    QTest::newRow("Y") << "Y" << true;
    QTest::newRow("y") << "y" << false;
    QTest::newRow("empty") << "" << false;
}

void MainWindowTest::startAreaByStartPageOption() {
    QFETCH(QString, vb);
    QFETCH(bool, online);
    Harness h;
    h.setSetting("VB", vb.toStdString());
    h.start();
    h.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
    QCOMPARE(h.panel("pnlOnline")->isVisible(), online);
    QCOMPARE(h.panel("pnlOffline")->isVisible(), !online);
    QVERIFY(h.panel("pnlTOP")->isVisible());
    QVERIFY(!h.panel("pnlVAR")->isVisible());
    QCOMPARE(h.find<QLabel>("lblUSER")->text(), QString("GUEST"));
    QVERIFY(h.dialogs.shown.empty());
}

void MainWindowTest::documentWindowRule() {
    Harness h;
    h.start();
    h.window->show();
    h.login("Admin", "admin");
    auto* inputData = h.find<QAction>("mnINPUTDATA");
    auto* transaction = h.find<QAction>("mnTRANSACTION");
    h.window->commandBookEntry();
    QVERIFY(h.window->documentOpen(TfrmTOVIRAK::Document::BookEntry));
    QVERIFY(!inputData->isEnabled());
    QVERIFY(!h.panel("pnlTOP")->isVisible());
    QVERIFY(!h.panel("pnlOffline")->isVisible());
    // A second command while it is open does not make a second copy.
    h.window->commandBookEntry();
    QCOMPARE(h.window->findChildren<QMdiSubWindow*>().size(), 1);

    h.window->commandBorrow();
    QVERIFY(h.window->documentOpen(TfrmTOVIRAK::Document::Transaction));
    QCOMPARE(h.window->environment().transactionMode, std::string("B"));
    QVERIFY(!transaction->isEnabled());

    h.window->documentWidget(TfrmTOVIRAK::Document::Transaction)->parentWidget()->close();
    QTRY_VERIFY(!h.window->documentOpen(TfrmTOVIRAK::Document::Transaction));
    QVERIFY(transaction->isEnabled());
    QVERIFY(!h.panel("pnlTOP")->isVisible());
    QVERIFY(h.window->documentWidget(TfrmTOVIRAK::Document::BookEntry)->isVisible());

    h.window->documentWidget(TfrmTOVIRAK::Document::BookEntry)->parentWidget()->close();
    QTRY_VERIFY(!h.window->documentOpen(TfrmTOVIRAK::Document::BookEntry));
    QVERIFY(inputData->isEnabled());
    QVERIFY(h.panel("pnlTOP")->isVisible());
    QVERIFY(h.panel("pnlOffline")->isVisible());
    QVERIFY(!h.panel("pnlOnline")->isVisible());

    h.window->commandReturn();
    QCOMPARE(h.window->environment().transactionMode, std::string("R"));
}

void MainWindowTest::gatedCommandLoginEscapeDoesNothing() {
    Harness h;
    h.start();
    h.window->show();
    QTimer::singleShot(0, [&] {
        auto* login = qobject_cast<TfrmSECURITY*>(QApplication::activeModalWidget());
        QVERIFY(login);
        QTest::keyClick(login->findChild<QLineEdit*>("edtUserName"), Qt::Key_Escape);
    });
    h.window->commandBookEntry();
    QVERIFY(!h.window->documentOpen(TfrmTOVIRAK::Document::BookEntry));
    QVERIFY(h.dialogs.shown.empty());
    QVERIFY(h.window->environment().user.isGuest());
}

void MainWindowTest::gateRefusalShowsItsMessage() {
    Harness h;
    h.start();
    app::CurrentUser& u = h.window->environment().user;
    u.name = "Reader";
    u.level = 5;
    h.window->commandBookEntry();
    QCOMPARE(h.dialogs.last(), QString("Sorry, only for admin/librarian."));
    h.window->commandBorrow();
    QCOMPARE(h.dialogs.last(), QString("Sorry, only for admin/librarian/assistant librarian."));
    QVERIFY(!h.window->documentOpen(TfrmTOVIRAK::Document::Transaction));
}

void MainWindowTest::assistantMayLendButNotCatalogue() {
    Harness h;
    h.start();
    h.login("Assistant", "assistant");
    QCOMPARE(h.window->environment().user.level, 3);
    h.window->commandSettings();
    QCOMPARE(h.dialogs.last(), QString("Sorry, only for admin/librarian."));
    h.window->commandBorrow();
    QVERIFY(h.window->documentOpen(TfrmTOVIRAK::Document::Transaction));
}

void MainWindowTest::missingLibraryOpensSettingsOnceAndLimitsCommands() {
    Harness h;
    h.setSetting("SYSDBF", h.inst.path("gone/TOVIRAK.ABS"));
    h.start();
    h.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
    QTRY_VERIFY(h.window->documentOpen(TfrmTOVIRAK::Document::Settings));
    // Nobody is logged in: emptying is refused, and the member photos stay.
    std::filesystem::create_directories(h.inst.path("gone/imgmember"));
    const std::string photo = h.inst.path("gone/imgmember/ANI.bmp");
    std::ofstream(photo) << "BM";
    auto* settings = qobject_cast<TfrmSETTOV*>(h.window->documentWidget(TfrmTOVIRAK::Document::Settings));
    QVERIFY(settings);
    h.dialogs.clear();
    settings->emptyAllClicked();
    QCOMPARE(h.dialogs.texts(),
             QStringList{"Sorry,... \rYou have no authority to do this procedure.\rOnly for Admin or user level 1"});
    QVERIFY(std::filesystem::exists(photo));
    QCOMPARE(h.ended, 0);
    h.window->documentWidget(TfrmTOVIRAK::Document::Settings)->parentWidget()->close();
    QTRY_VERIFY(!h.window->documentOpen(TfrmTOVIRAK::Document::Settings));
    h.window->repaint();
    QTest::qWait(50);
    QVERIFY(!h.window->documentOpen(TfrmTOVIRAK::Document::Settings));
    QVERIFY(!h.find<QAction>("mnBorrow")->isEnabled());
    QVERIFY(!h.find<QPushButton>("btnInputBook")->isEnabled());
    QVERIFY(h.find<QAction>("mnSet")->isEnabled());
    QVERIFY(h.find<QAction>("mnABOUT")->isEnabled());
    QVERIFY(h.find<QAction>("mnHELP")->isEnabled());
    QVERIFY(h.find<QAction>("mnExit")->isEnabled());
}

void MainWindowTest::folderFailureShowsSettingsAndEnds() {
    Harness h;
    std::filesystem::remove_all(h.inst.path("imgmember"));
    { std::ofstream(h.inst.path("imgmember")) << "x"; }
    h.start();
    QStringList texts = h.dialogs.texts();
    QVERIFY(texts.size() >= 2);
    QVERIFY(texts[0].startsWith("Directory creation failed, make sure directory attribute is ReadWrite. error "));
    QCOMPARE(texts[1], QString("TOVIRAK may not work properly\rFixed this problem immidiately."));
    QVERIFY(h.window->documentOpen(TfrmTOVIRAK::Document::Settings));
    QTRY_COMPARE(h.ended, 1);
}

void MainWindowTest::unreadableUserDatabaseLimitsCommands() {
    Harness h;
    std::filesystem::remove(h.inst.users());
    h.start();
    QCOMPARE(h.dialogs.shown.size(), size_t(1));
    QVERIFY(h.dialogs.last().contains("SETSRV.ABS"));
    QVERIFY(!h.find<QAction>("mnInputBook")->isEnabled());
    QVERIFY(!h.find<QPushButton>("btnBorrow")->isEnabled());
    QVERIFY(h.find<QAction>("mnSet")->isEnabled());
    h.window->commandBookEntry();
    QVERIFY(!h.window->documentOpen(TfrmTOVIRAK::Document::BookEntry));
}

void MainWindowTest::commandsWithoutTheirWindowAreDisabled() {
    Harness h;
    h.start(false);
    for (const char* name : {"mnBorrow", "mnInputBook", "mnInputMember", "mnSearchBook", "mnGeneralReport", "mnTOOL"})
        QVERIFY2(!h.find<QAction>(name)->isEnabled(), name);
    for (const char* name : {"btnBorrow", "btnInputBook", "btnSearchBook", "btnReport"})
        QVERIFY2(!h.find<QPushButton>(name)->isEnabled(), name);
    QVERIFY(h.find<QAction>("mnSet")->isEnabled());
}

void MainWindowTest::quickSearchEnterOpensBookSearch() {
    Harness h;
    h.start();
    h.window->show();
    auto* box = h.find<QLineEdit>("edtSearchMain");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(h.searches, 1);
    QCOMPARE(h.searchedText, QString(""));
    box->setText("harry");
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(h.searchedText, QString("harry"));
    // The search window's close runs the menu check, which empties the box.
    QCOMPARE(box->text(), QString());
}

void MainWindowTest::exitAsksAndCancelHidesPanels() {
    Harness h;
    h.start();
    h.window->show();
    h.dialogs.confirmAnswers = {false};
    h.window->commandExit();
    QCOMPARE(h.dialogs.last(), QString("Are you sure, you want to close/exit?"));
    QVERIFY(!h.panel("pnlWait")->isVisible());
    QCOMPARE(h.ended, 0);
    h.window->commandExit();
    QCOMPARE(h.ended, 1);
}

void MainWindowTest::logoutAsksFirst() {
    Harness h;
    h.start();
    h.login("Admin", "admin");
    h.dialogs.confirmAnswers = {false, true};
    h.window->commandLogOut();
    QCOMPARE(h.dialogs.last(), QString("Make sure, you want to LogOut? "));
    QCOMPARE(h.window->environment().user.name, std::string("Admin"));
    h.window->commandLogOut();
    QVERIFY(h.window->environment().user.isGuest());
    QCOMPARE(h.find<QLabel>("lblUSER")->text(), QString("Hi, GUEST"));
}

void MainWindowTest::helpLanguageMessageWithoutFiles() {
    Harness h;
    h.start();
    testing_support::TempDir empty;
    const QString before = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(empty.dir()));
    h.window->commandHelpLanguage(true);
    QDir::setCurrent(before);
    QCOMPARE(h.dialogs.last(),
             QString("HELP Language is in ENGLISH\rChoose specific window to get specific help, by pressing F1 button."));
    QVERIFY(!QFile::exists(QString::fromStdString(empty.path("HELP.DOC"))));
    h.window->commandHelp();
    QCOMPARE(h.opener.documents.last(), QString::fromStdString(h.inst.dir()) + "/HELP.DOC");
}

void MainWindowTest::loginWindowFlow() {
    Harness h;
    h.start();
    TfrmSECURITY login(h.window->context(), h.window.get());
    login.setWelcomeDelay(0);
    login.show();
    QApplication::setActiveWindow(&login);
    QVERIFY(QTest::qWaitForWindowActive(&login));
    auto* name = login.findChild<QLineEdit*>("edtUserName");
    auto* password = login.findChild<QLineEdit*>("edtPassword");
    name->setFocus();
    QTest::keyClicks(name, "nobody");
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), password);
    QTest::keyClicks(password, "x");
    QTest::keyClick(password, Qt::Key_Return);
    QCOMPARE(h.dialogs.last(), QString("NOT-FOUND: nobody"));
    QVERIFY(login.isVisible());
    QCOMPARE(h.find<QLabel>("lblUSER")->text(), QString("Hi, GUEST"));
    name->setText("  Librarian ");
    password->setText("librarian ");
    QTest::keyClick(password, Qt::Key_Return);
    QCOMPARE(login.result(), int(QDialog::Accepted));
    QCOMPARE(login.findChild<QLineEdit*>("edtLevel")->text(), QString("2"));
    QCOMPARE(login.findChild<QLineEdit*>("edtUserID")->text(), QString("LIB-01"));
    QCOMPARE(login.findChild<QLabel*>("pnlInfo")->text(), QString("Wellcome: LIBRARIAN"));
    QCOMPARE(h.find<QLabel>("lblUSER")->text(), QString("Hi, Librarian"));
}

void MainWindowTest::settingsSaveDirectoryMessages() {
    Harness h;
    h.start();
    h.login("Admin", "admin");
    h.window->commandSettings();
    auto* settings = h.window->findChild<TfrmSETTOV*>();
    QVERIFY(settings);
    QVERIFY(!h.find<QAction>("mnSet")->isEnabled());
    settings->saveDirectoryClicked();
    QCOMPARE(h.dialogs.last(), QString("Blank SystemDirectory\rCan Not changed"));
    settings->findChild<QLineEdit*>("edtDirectory")->setText(QString::fromStdString(h.inst.dir()));
    settings->saveDirectoryClicked();
    QCOMPARE(h.dialogs.last(), QString("Blank DatabaseLocation\rCan Not changed"));
    h.dialogs.files = {};
    settings->databaseLocationClicked();
    QCOMPARE(h.dialogs.last(), QString("Open file was cancelled"));
    h.dialogs.files = {QString::fromStdString(h.inst.library())};
    settings->databaseLocationClicked();
    QCOMPARE(settings->findChild<QLineEdit*>("edtDBF")->text(), QString::fromStdString(h.inst.library()));
    settings->findChild<QCheckBox*>("cbYa")->setChecked(true);
    settings->saveDirectoryClicked();
    QTRY_VERIFY(!h.window->documentOpen(TfrmTOVIRAK::Document::Settings));
    QCOMPARE(h.window->environment().startPage, std::string("Y"));
    QVERIFY(h.find<QAction>("mnSet")->isEnabled());
    // After a document window closed, the start area is the offline shelf.
    QVERIFY(h.panel("pnlOffline")->isVisibleTo(h.window.get()));
}

void MainWindowTest::settingsChangePasswordByLevel() {
    Harness h;
    h.start();
    h.window->environment().user.becomeGuest();
    TfrmSETTOV settings(h.window->context(), [] {}, [] {});
    settings.show();
    settings.changePasswordClicked();
    QCOMPARE(h.dialogs.last(), QString("GUEST doesn`t need a password."));
    h.login("Librarian", "librarian");
    settings.hide();
    settings.show();
    settings.changePasswordClicked();
    QVERIFY(settings.findChild<QWidget*>("pnlPswd")->isVisible());
    QVERIFY(!settings.findChild<QWidget*>("pnlPswdAdmin")->isVisible());
    QVERIFY(settings.findChild<QLineEdit*>("edtNewUserLevel")->isReadOnly());
    h.login("Admin", "admin");
    settings.changePasswordClicked();
    QVERIFY(!settings.findChild<QWidget*>("pnlPswd")->isVisible());
    QVERIFY(settings.findChild<QWidget*>("pnlPswdAdmin")->isVisible());
    QCOMPARE(settings.findChild<QTableView*>("dbgUSER")->model()->rowCount(), 3);
}

void MainWindowTest::settingsEmptyingMessages() {
    Harness h;
    h.start();
    h.login("Librarian", "librarian");
    TfrmSETTOV settings(h.window->context(), [] {}, [&] { ++h.ended; });
    settings.emptyHistoryClicked();
    QCOMPARE(h.dialogs.last(),
             QString("Sorry,... \rYou have no authority to do this procedure.\rOnly for Admin or user level 1"));
    h.login("Admin", "admin");
    h.dialogs.clear();
    h.dialogs.confirmAnswers = {false};
    settings.emptyHistoryClicked();
    QCOMPARE(h.dialogs.shown.size(), size_t(1));
    QVERIFY(h.dialogs.last().startsWith("BEWARE !!!\rThis procedure will be emptying \"History table\" only"));
    QVERIFY(h.window->data().openTable("tbSEJARAH", "iKDBARANG").recordCount() > 0);
    settings.emptyHistoryClicked();
    QCOMPARE(h.dialogs.shown.back().kind, QString("error"));
    QCOMPARE(h.dialogs.last(), QString("Emptying table[tbSEJARAH] sucessfully."));
    QCOMPARE(h.window->data().table("tbSEJARAH").recordCount(), 0);

    // All data: every table, the pictures, the digital question, then the end.
    h.dialogs.clear();
    h.dialogs.confirmAnswers = {true, false};
    { std::ofstream(h.inst.path("digital/keep.pdf")) << "x"; }
    settings.emptyAllClicked();
    QStringList texts = h.dialogs.texts();
    QVERIFY(texts.first().startsWith("*** BEWARE !!! ***"));
    QVERIFY(texts.contains(QString::fromStdString(app::digitalFilesQuestion(h.window->environment().databaseDirectory))));
    QVERIFY(texts.last().startsWith("You just finished to emptying database,"));
    QVERIFY(std::filesystem::exists(h.inst.path("digital/keep.pdf")));
    QCOMPARE(h.ended, 1);
    QVERIFY(!h.window->data().dbTOVIRAK.isOpen());
    h.window->data().ensureLibraryConnected();
    QCOMPARE(h.window->data().openTable("tbBUKU", "iKodeBuku").recordCount(), 0);
}

void MainWindowTest::settingsEmptyingRefusedWhileAnotherWorkstationHoldsTheTable() {
    Harness h;
    h.start();
    h.login("Admin", "admin");
    store::Connection other("another workstation");
    other.setFileName(h.inst.library());
    other.open();
    store::Table withdrawn(other, "tHIBAH");
    withdrawn.open();
    TfrmSETTOV settings(h.window->context(), [] {}, [] {});
    settings.emptyBookBrokenClicked();
    QCOMPARE(h.dialogs.last(), QString("Error u can`t empty [tbHIBAH] table or any user use the table...."));
    QVERIFY(h.window->data().table("tbHIBAH").isOpen());
}

void MainWindowTest::settingsOpenAdminOnlyForMaintenance() {
    Harness h;
    h.start();
    h.window->show();
    h.login("Admin", "admin");
    h.window->commandSettings();
    auto* settings = h.window->findChild<TfrmSETTOV*>();
    settings->openAdminClicked();
    QVERIFY(!h.panel("pnlVAR")->isVisible());
    h.login(app::kMaintenanceName, app::kMaintenancePassword);
    settings->openAdminClicked();
    QVERIFY(h.panel("pnlVAR")->isVisibleTo(h.window.get()));
    QVERIFY(h.window->findChild<QTableView*>("dbgSISTEM"));
    QCOMPARE(h.window->findChild<QTableView*>("dbgSISTEM")->model()->rowCount(), 5);
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
