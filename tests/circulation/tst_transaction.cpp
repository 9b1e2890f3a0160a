// Key, focus and visibility flows of the transaction window: choosing the
// member, the choice panel by mode, the borrow and return views, Escape.

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "app/access.h"
#include "app/data_module.h"
#include "app/environment.h"
#include "app/uTOVIRAK.h"
#include "circulation/uKARTU.h"
#include "store/connection.h"
#include "support/fixture.h"
#include "support/scripted.h"
#include "ui/type_ahead.h"
#include "window_harness.h"

namespace {
const char* const kEldestLoan = "1202611020001";
const char* const kAniLoan = "1202611020012";
QString freeCopy(int n) { return QString("120261102%1").arg(n, 4, 10, QChar('0')); }
}  // namespace

class TransactionTest : public QObject {
    Q_OBJECT

    struct Harness : circulation_test::WindowHarness<TfrmKARTU> {
        explicit Harness(const char* mode = "B") {
            env.transactionMode = mode;
            show(QSize(1200, 800));
        }
        QLineEdit* box(const char* name) { return find<QLineEdit>(name); }
        void type(const char* boxName, const QString& text, Qt::Key key = Qt::Key_Return) {
            QLineEdit* b = box(boxName);
            b->setFocus();
            b->clear();
            QTest::keyClicks(b, text);
            QTest::keyClick(b, key);
        }
        void choose(const char* member) { type("edtKDFANGGOTA", member); }
        QWidget* focused() { return QApplication::focusWidget(); }
        long long libraryCount(const std::string& table, const std::string& where) {
            store::Connection c("check");
            c.setFileName(inst.library());
            c.open();
            return std::get<std::int64_t>(
                c.select("SELECT count(*) FROM \"" + table + "\" WHERE " + where)[0][0]);
        }
    };

private slots:
    void memberEnterFocusesTheButtonOfTheMode_data();
    void memberEnterFocusesTheButtonOfTheMode();
    void memberNotFoundAndGo();
    void escapeOnTheChoiceClearsTheMember();
    void memberListPickAndEscape();
    void borrowViewScanFlows();
    void titleSearchFlows();
    void saveClosesTheViewAndUpdatesTheMember();
    void saveWithNothingStagedSaysSo();
    void bottomCancellAsksFirst();
    void returnViewFlows();
    void historyShowsTheMemberAndDeletesOnlyAfterConfirmation();
    void unreadableStagingTableIsReported();
    void insideTheMainWindow();
};

void TransactionTest::memberEnterFocusesTheButtonOfTheMode_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("focused");
    QTest::newRow("borrow") << "B"
                            << "btnBORROW";
    QTest::newRow("return") << "R"
                            << "btnRETURN";
}

void TransactionTest::memberEnterFocusesTheButtonOfTheMode() {
    QFETCH(QString, mode);
    QFETCH(QString, focused);
    Harness h(mode.toLatin1().constData());
    QVERIFY(h.box("edtKDFANGGOTA")->hasFocus());
    QVERIFY(!h.find("pnlChoice")->isVisible());
    QCOMPARE(h.box("edtLibraryan")->text(), QString("Librarian"));
    QCOMPARE(h.box("edtMAXPINJAM")->text(), QString("0"));
    QCOMPARE(h.box("edtDENDA")->text(), QString("0.00"));
    h.choose("  ani.riverside");
    QVERIFY(h.dialogs.shown.empty());
    QVERIFY(h.find("pnlChoice")->isVisible());
    QCOMPARE(h.focused()->objectName(), focused);
    QCOMPARE(h.box("edtKDFANGGOTA")->text(), QString("ANI.RIVERSIDE"));
    QCOMPARE(h.box("edtMember")->text(), QString("ANI.RIVERSIDE"));
    QCOMPARE(h.box("edtFamily")->text(), QString("RIVERSIDE"));
    QCOMPARE(h.box("edtNMANGGOTA")->text(), QString("Ani RIVERSIDE"));
    QCOMPARE(h.box("edtJLHPINJAM")->text(), QString("1"));
    QCOMPARE(h.box("edtMAXPINJAM")->text(), QString("3"));
    QCOMPARE(h.box("edtLAMAPINJAM")->text(), QString("7"));
    QCOMPARE(h.box("edtDENDA")->text(), QString("500.00"));
    // Enter on the focused choice presses it.
    QTest::keyClick(h.focused(), Qt::Key_Return);
    QVERIFY(h.find(mode == "B" ? "pnlBorrow" : "pnlReturn")->isVisible());
}

void TransactionTest::memberNotFoundAndGo() {
    Harness h;
    h.choose("NOBODY");
    QCOMPARE(h.dialogs.last(), QString("[NOBODY] not found, please.. select from the Grid."));
    QVERIFY(h.box("edtKDFANGGOTA")->hasFocus());
    QVERIFY(!h.find("pnlChoice")->isVisible());

    h.box("edtKDFANGGOTA")->clear();
    h.find<QPushButton>("btnGO")->click();
    QCOMPARE(h.dialogs.last(), QString("Enter data in the Search template first, please."));

    // GO keeps the typed text; a code that names nobody clears the member.
    h.box("edtKDFANGGOTA")->setText(" ani.riverside ");
    h.find<QPushButton>("btnGO")->click();
    QVERIFY(h.find("pnlChoice")->isVisible());
    QCOMPARE(h.box("edtKDFANGGOTA")->text(), QString(" ani.riverside "));
    QCOMPARE(h.box("edtMember")->text(), QString("ANI.RIVERSIDE"));
    h.box("edtKDFANGGOTA")->setText("NOBODY");
    h.find<QPushButton>("btnGO")->click();
    QCOMPARE(h.dialogs.last(), QString("[NOBODY] not found, please.. select from the Grid."));
    QVERIFY(!h.find("pnlChoice")->isVisible());
    QCOMPARE(h.box("edtKDFANGGOTA")->text(), QString());
    QCOMPARE(h.box("edtMember")->text(), QString());
    QCOMPARE(h.box("edtMAXPINJAM")->text(), QString("0"));
}

void TransactionTest::escapeOnTheChoiceClearsTheMember() {
    Harness h;
    h.choose("ELDEST.RIVERSIDE");
    QVERIFY(h.find<QPushButton>("btnBORROW")->hasFocus());
    QTest::keyClick(h.find("btnBORROW"), Qt::Key_Escape);
    QVERIFY(!h.find("pnlChoice")->isVisible());
    QCOMPARE(h.box("edtKDFANGGOTA")->text(), QString());
    QCOMPARE(h.box("edtNMANGGOTA")->text(), QString());
    QVERIFY(h.box("edtKDFANGGOTA")->hasFocus());
    QVERIFY(!h.find("pnlBorrow")->isVisible());
    QVERIFY(!h.find("pnlReturn")->isVisible());
}

void TransactionTest::memberListPickAndEscape() {
    Harness h;
    QLineEdit* member = h.box("edtKDFANGGOTA");
    member->setFocus();
    QTest::keyClicks(member, "ani.ri");
    QVERIFY(h.window->memberField()->dropDownVisible());
    QCOMPARE(h.window->memberField()->grid()->model()->rowCount(), 1);
    QTest::keyClick(member, Qt::Key_Down);
    QVERIFY(h.window->memberField()->grid()->hasFocus());
    QTest::keyClick(h.window->memberField()->grid(), Qt::Key_Return);
    QVERIFY(h.find("pnlChoice")->isVisible());
    QCOMPARE(h.box("edtMember")->text(), QString("ANI.RIVERSIDE"));
    QVERIFY(!h.window->memberField()->dropDownVisible());

    // Escape in the list empties the box and returns to it.
    h.find<QPushButton>("btnCANCELLchoice")->click();
    QTest::keyClicks(member, "eld");
    QTest::keyClick(member, Qt::Key_Down);
    QTest::keyClick(h.window->memberField()->grid(), Qt::Key_Escape);
    QCOMPARE(member->text(), QString());
    QVERIFY(member->hasFocus());
    QVERIFY(!h.window->memberField()->dropDownVisible());
}

void TransactionTest::borrowViewScanFlows() {
    Harness h;
    h.choose("ELDEST.RIVERSIDE");  // max 2, one loan
    QTest::keyClick(h.find("btnBORROW"), Qt::Key_Return);
    QVERIFY(h.find("pnlBorrow")->isVisible());
    QVERIFY(!h.find("pnlChoice")->isVisible());
    QCOMPARE(h.find<QLabel>("lblCountBorrow")->text(), QString("1 items"));
    QVERIFY(h.box("edtKDBARANG")->hasFocus());

    // Below the limit: staged without a question.
    h.type("edtKDBARANG", freeCopy(2));
    QVERIFY(h.dialogs.shown.empty());
    QCOMPARE(h.find<QLabel>("lblCountBorrow")->text(), QString("2 items"));
    QCOMPARE(h.box("edtKDBARANG")->text(), QString());
    QVERIFY(h.box("edtKDBARANG")->hasFocus());
    QCOMPARE(h.box("edtTITLE")->text(), QString());

    // At the limit: asked with the count; Cancel lends anyway.
    h.dialogs.confirmAnswers = {false};
    h.type("edtKDBARANG", freeCopy(3));
    QCOMPARE(
        h.dialogs.last(),
        QString(
            "This member was get the limit to borrow. Order borrow for now: 2, Max. allowed: 2\r"
            "Cancel this operation ?\r               (Select [cancell] button to continue "
            "anyway)"));
    QCOMPARE(h.find<QLabel>("lblCountBorrow")->text(), QString("3 items"));
    // OK cancels.
    h.dialogs.confirmAnswers = {true};
    h.type("edtKDBARANG", freeCopy(4));
    QCOMPARE(h.find<QLabel>("lblCountBorrow")->text(), QString("3 items"));
    QVERIFY(h.box("edtKDBARANG")->hasFocus());

    h.dialogs.clear();
    h.type("edtKDBARANG", kEldestLoan);
    QCOMPARE(h.dialogs.last(), QString("This book was allready in the temporary table."));
    h.type("edtKDBARANG", kAniLoan);
    QVERIFY(h.dialogs.last().startsWith("Tales of Stars\rborrowed by: ANI.RIVERSIDE\r"));
    QCOMPARE(h.box("edtTITLE")->text(), QString("Tales of Stars"));
    QCOMPARE(h.box("edtKDBARANG")->text(), QString());

    // Not found: Cancel moves the text to the title search.
    h.dialogs.confirmAnswers = {false};
    h.type("edtKDBARANG", "tales");
    QCOMPARE(
        h.dialogs.last(),
        QString("tales not found. select [Cancell] button if you want to try search by TITLE ?"));
    QCOMPARE(h.box("edtTITLEsearchBorrow")->text(), QString("tales"));
    QCOMPARE(h.box("edtKDBARANG")->text(), QString());
    QVERIFY(h.box("edtTITLEsearchBorrow")->hasFocus());
    // Escape in the title box empties it and the display, back to the code box.
    QTest::keyClick(h.box("edtTITLEsearchBorrow"), Qt::Key_Escape);
    QCOMPARE(h.box("edtTITLEsearchBorrow")->text(), QString());
    QCOMPARE(h.box("edtTITLE")->text(), QString());
    QVERIFY(h.box("edtKDBARANG")->hasFocus());
    QVERIFY(!h.window->titleField()->dropDownVisible());

    // Escape in the code box is CLOSE: the staged rows go, the choice returns.
    QTest::keyClick(h.box("edtKDBARANG"), Qt::Key_Escape);
    QVERIFY(!h.find("pnlBorrow")->isVisible());
    QVERIFY(h.find("pnlChoice")->isVisible());
    QVERIFY(h.find<QPushButton>("btnBORROW")->hasFocus());
    QCOMPARE(h.data.table("tbKARTUb").recordCount(), 0);
    QCOMPARE(h.libraryCount("tKARTU", "KDFANGGOTA = 'ELDEST.RIVERSIDE'"), 1LL);
}

void TransactionTest::titleSearchFlows() {
    Harness h;
    h.choose("ANI.RIVERSIDE");
    h.find<QPushButton>("btnBORROW")->click();
    QLineEdit* title = h.box("edtTITLEsearchBorrow");
    title->setFocus();
    QTest::keyClicks(title, "tales of s");
    ui::TypeAheadField* field = h.window->titleField();
    QVERIFY(field->dropDownVisible());
    // "Tales of Stars" and "Tales of the Sea" copies, never the one on loan.
    const int rows = field->grid()->model()->rowCount();
    QVERIFY(rows > 0);
    for (int r = 0; r < rows; ++r) {
        auto* m = field->grid()->model();
        for (int c = 0; c < m->columnCount(); ++c)
            if (m->headerData(c, Qt::Horizontal, Qt::DisplayRole) == "KDBARANG")
                QVERIFY(m->index(r, c).data().toString() != kAniLoan);
    }
    QTest::keyClick(title, Qt::Key_Return);
    QVERIFY(field->grid()->hasFocus());
    QTest::keyClick(field->grid(), Qt::Key_Return);
    QVERIFY(h.dialogs.shown.empty());
    QCOMPARE(h.find<QLabel>("lblCountBorrow")->text(), QString("2 items"));
    QCOMPARE(title->text(), QString());
    QVERIFY(h.box("edtKDBARANG")->hasFocus());
    // Escape in the list empties the title box.
    title->setFocus();
    QTest::keyClicks(title, "tales");
    QTest::keyClick(title, Qt::Key_Down);
    QTest::keyClick(field->grid(), Qt::Key_Escape);
    QCOMPARE(title->text(), QString());
    QVERIFY(!field->dropDownVisible());
}

void TransactionTest::saveClosesTheViewAndUpdatesTheMember() {
    Harness h;
    h.choose("ANI.RIVERSIDE");
    h.find<QPushButton>("btnBORROW")->click();
    h.type("edtKDBARANG", freeCopy(2));
    h.find<QPushButton>("btnSAVE")->click();
    QVERIFY(h.dialogs.shown.empty());
    QVERIFY(!h.find("pnlBorrow")->isVisible());
    QVERIFY(h.find("pnlChoice")->isVisible());
    QCOMPARE(h.box("edtJLHPINJAM")->text(), QString("2"));
    QCOMPARE(h.libraryCount("tKARTU", "KDFANGGOTA = 'ANI.RIVERSIDE'"), 2LL);
    QCOMPARE(h.data.table("tbKARTUb").recordCount(), 0);
    QCOMPARE(h.find<QPushButton>("btnSAVE")->text(), QString("SAVE && PrintReceipt"));
}

void TransactionTest::saveWithNothingStagedSaysSo() {
    Harness h;
    h.choose("ANI.HALIM");  // no loans
    h.find<QPushButton>("btnBORROW")->click();
    QCOMPARE(h.find<QLabel>("lblCountBorrow")->text(), QString("0 items"));
    h.find<QPushButton>("btnSAVE")->click();
    QCOMPARE(h.dialogs.last(), QString("NoRecord in the temporary table."));
    QVERIFY(h.find("pnlBorrow")->isVisible());
}

void TransactionTest::bottomCancellAsksFirst() {
    Harness h;
    h.choose("ANI.RIVERSIDE");
    h.find<QPushButton>("btnBORROW")->click();
    h.type("edtKDBARANG", freeCopy(2));
    h.dialogs.confirmAnswers = {false};
    h.find<QPushButton>("btnCANCELLborrow")->click();
    QCOMPARE(h.dialogs.last(), QString("Cancell all data in this temporary table?"));
    QVERIFY(h.find("pnlBorrow")->isVisible());
    QVERIFY(h.find<QPushButton>("btnSAVE")->hasFocus());
    QCOMPARE(h.data.table("tbKARTUb").recordCount(), 2);
    h.find<QPushButton>("btnCANCELLborrow")->click();
    QVERIFY(!h.find("pnlBorrow")->isVisible());
    QVERIFY(h.find("pnlChoice")->isVisible());
    QCOMPARE(h.data.table("tbKARTUb").recordCount(), 0);
    QCOMPARE(h.libraryCount("tKARTU", "KDBARANG = '" + freeCopy(2).toStdString() + "'"), 0LL);
}

void TransactionTest::returnViewFlows() {
    Harness h("R");
    h.choose("ANI.RIVERSIDE");  // one loan, due 2026-12-08 10:30
    QTest::keyClick(h.find("btnRETURN"), Qt::Key_Return);
    QVERIFY(h.find("pnlReturn")->isVisible());
    QVERIFY(h.box("edtKDBARANGr")->hasFocus());
    QCOMPARE(h.find<QLabel>("lblCountOpen")->text(), QString("1"));
    QCOMPARE(h.find<QLabel>("lblCountReturn")->text(), QString("0"));

    h.type("edtKDBARANGr", kEldestLoan);
    QCOMPARE(h.dialogs.last(),
             QString("ANI.RIVERSIDE seem not borrow\r1202611020001\rplease double check!\r"
                     "Perhaps allready in the temporary to return."));
    QVERIFY(h.box("edtKDBARANGr")->hasFocus());
    QCOMPARE(h.box("edtKDBARANGr")->selectedText(), QString(kEldestLoan));

    h.dialogs.clear();
    h.type("edtKDBARANGr", kAniLoan);
    QVERIFY(h.dialogs.shown.empty());
    QCOMPARE(h.find<QLabel>("lblCountOpen")->text(), QString("0"));
    QCOMPARE(h.find<QLabel>("lblCountReturn")->text(), QString("1"));
    QCOMPARE(h.find<QLabel>("lblTotalPenalty")->text(), QString("1,000.00"));

    // Double-clicks move the loan between the two grids.
    h.window->putBackRow(0);
    QCOMPARE(h.find<QLabel>("lblCountOpen")->text(), QString("1"));
    QCOMPARE(h.find<QLabel>("lblTotalPenalty")->text(), QString("0.00"));
    h.window->takeBackRow(0);
    QCOMPARE(h.find<QLabel>("lblCountReturn")->text(), QString("1"));
    h.find<QPushButton>("btnCANCELLALL")->click();
    QCOMPARE(h.find<QLabel>("lblCountReturn")->text(), QString("0"));
    h.type("edtKDBARANGr", kAniLoan);

    h.find<QPushButton>("btnPOST")->click();
    QVERIFY(h.dialogs.shown.empty());
    QCOMPARE(h.libraryCount("tKARTU", "KDFANGGOTA = 'ANI.RIVERSIDE'"), 0LL);
    QCOMPARE(h.libraryCount("tSEJARAH", "KDFANGGOTA = 'ANI.RIVERSIDE' AND DENDAPAID = 1000"), 1LL);
    QCOMPARE(h.box("edtJLHPINJAM")->text(), QString("0"));
    QCOMPARE(h.find<QLabel>("lblCountReturn")->text(), QString("0"));
    QCOMPARE(h.find<QTableView>("dbgSEJARAH")->model()->rowCount(), 1);

    QTest::keyClick(h.box("edtKDBARANGr"), Qt::Key_Escape);
    QVERIFY(!h.find("pnlReturn")->isVisible());
    QVERIFY(h.find("pnlChoice")->isVisible());
    QVERIFY(h.find<QPushButton>("btnRETURN")->hasFocus());
}

void TransactionTest::historyShowsTheMemberAndDeletesOnlyAfterConfirmation() {
    Harness h("R");
    h.choose("ANI.KUSUMA");  // one finished loan among eight in the history
    h.find<QPushButton>("btnRETURN")->click();
    auto* history = h.find<QTableView>("dbgSEJARAH");
    QCOMPARE(history->model()->rowCount(), 1);
    history->setCurrentIndex(history->model()->index(0, 0));
    h.dialogs.confirmAnswers = {false, true};
    h.find<QToolButton>("nbDeleteHistory")->click();
    QCOMPARE(h.dialogs.last(), QString("Delete record?"));
    QCOMPARE(h.libraryCount("tSEJARAH", "1=1"), 8LL);
    h.find<QToolButton>("nbDeleteHistory")->click();
    QCOMPARE(h.libraryCount("tSEJARAH", "1=1"), 7LL);
    QCOMPARE(history->model()->rowCount(), 0);

    // The borrow view shows the same member's history behind its strip.
    QTest::keyClick(h.box("edtKDBARANGr"), Qt::Key_Escape);
    h.choose("ELDEST.KUSUMA");
    h.find<QPushButton>("btnBORROW")->click();
    auto* borrowHistory = h.find<QTableView>("dbgSEJARAHborrow");
    QVERIFY(!borrowHistory->isVisible());
    h.find<QToolButton>("btnHistoryStrip")->click();
    QVERIFY(borrowHistory->isVisible());
    QCOMPARE(borrowHistory->model()->rowCount(), 0);
}

// The return staging table gone from the workstation file: the grids that
// show it fail to read. The failure is shown in the error box and the view
// still closes; no exception leaves the key press.
void TransactionTest::unreadableStagingTableIsReported() {
    Harness h;
    h.choose("ANI.RIVERSIDE");
    h.find<QPushButton>("btnBORROW")->click();
    store::Connection other("other");
    other.setFileName(h.inst.workstation());
    other.open();
    other.execute("DROP TABLE \"tKARTUr\"");

    QTest::keyClick(h.box("edtKDBARANG"), Qt::Key_Escape);
    QVERIFY(!h.dialogs.shown.empty());
    QCOMPARE(h.dialogs.shown.back().kind, QString("error"));
    QVERIFY(!h.find("pnlBorrow")->isVisible());
    QVERIFY(h.find("pnlChoice")->isVisible());
}

void TransactionTest::insideTheMainWindow() {
    testing_support::TempInstallation inst{true};
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingOpener opener;
    core::FixedClock clock{core::DateTime::fromParts(2026, 12, 11, 9, 0, 0)};
    WindowFactories f;
    f.transaction = [](ui::AppContext& ctx) -> QWidget* { return new TfrmKARTU(ctx); };
    f.bookEntry = [](ui::AppContext&) -> QWidget* { return new QWidget; };
    TfrmTOVIRAK main(dialogs, opener, clock, f, QString::fromStdString(inst.dir()));
    main.resize(1200, 800);
    main.show();
    QApplication::setActiveWindow(&main);
    QVERIFY(QTest::qWaitForWindowActive(&main));
    app::attemptLogin(main.data().table("tbUSER"), main.environment().user, "Librarian",
                      "librarian");

    main.commandReturn();
    auto* kartu = qobject_cast<TfrmKARTU*>(main.documentWidget(TfrmTOVIRAK::Document::Transaction));
    QVERIFY(kartu);
    auto* member = kartu->findChild<QLineEdit*>("edtKDFANGGOTA");
    QTRY_VERIFY(member->hasFocus());
    QTest::keyClicks(member, "ANI.RIVERSIDE");
    QTest::keyClick(member, Qt::Key_Return);
    QVERIFY(kartu->findChild<QPushButton*>("btnRETURN")->hasFocus());
    kartu->findChild<QPushButton*>("btnRETURN")->click();
    QVERIFY(kartu->findChild<QWidget*>("pnlReturn")->isVisible());

    // Going to another document window and back starts over without a member.
    main.commandBookEntry();
    QVERIFY(main.documentOpen(TfrmTOVIRAK::Document::BookEntry));
    auto* area = main.findChild<QMdiArea*>();
    area->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(kartu->parentWidget()));
    QVERIFY(!kartu->findChild<QWidget*>("pnlReturn")->isVisible());
    QVERIFY(!kartu->member());
    QCOMPARE(member->text(), QString());

    // Escape in the member box closes the window.
    member->setFocus();
    QTest::keyClick(member, Qt::Key_Escape);
    QTRY_VERIFY(!main.documentOpen(TfrmTOVIRAK::Document::Transaction));
}

QTEST_MAIN(TransactionTest)
#include "tst_transaction.moc"
