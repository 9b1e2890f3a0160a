// Key, focus and visibility flows of the withdrawal window: the Escape rule,
// staging by code, by title and from the book grid, posting, the detail panel.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "app/data_module.h"
#include "app/environment.h"
#include "app/uTOVIRAK.h"
#include "circulation/uHibah.h"
#include "store/connection.h"
#include "support/fixture.h"
#include "support/scripted.h"
#include "ui/type_ahead.h"
#include "ui/windows.h"
#include "window_harness.h"

namespace {
QString freeCopy(int n) { return QString("120261102%1").arg(n, 4, 10, QChar('0')); }
}  // namespace

class WithdrawalWindowTest : public QObject {
    Q_OBJECT

    struct Harness : circulation_test::WindowHarness<TfrmHibah> {
        Harness() { show(); }
        QLineEdit* code() { return find<QLineEdit>("edtKDBARANG"); }
        QLineEdit* title() { return find<QLineEdit>("edtTITLEsearch"); }
        QString count(const char* label) { return find<QLabel>(label)->text(); }
        void stage(const QString& text) {
            code()->setFocus();
            QTest::keyClicks(code(), text);
            QTest::keyClick(code(), Qt::Key_Return);
        }
    };

private slots:
    void escapeClosesOnlyWhileNothingIsStaged();
    void stagingByCodeShowsCountsAndMessages();
    void stagingFromTheTitleListAndTheBookGrid();
    void postAsksAndWithdraws();
    void detailPanelShowsAndHides();
    void unreadableTablesAreReportedAndKeepTheWindowOpen();
    void opensFromTheToolsWindow();
};

void WithdrawalWindowTest::escapeClosesOnlyWhileNothingIsStaged() {
    Harness h;
    QCOMPARE(h.window->windowTitle(), QString("Hibah / Broken Book"));
    QCOMPARE(h.window->property("helpTopic").toInt(), 230);
    h.stage(freeCopy(2));
    QCOMPARE(h.count("lblCountHIBAHt"), QString("1"));
    QTest::keyClick(h.code(), Qt::Key_Escape);
    QVERIFY(h.window->isVisible());
    h.title()->setFocus();
    QTest::keyClicks(h.title(), "tales");
    QVERIFY(h.window->titleField()->dropDownVisible());
    QTest::keyClick(h.title(), Qt::Key_Escape);
    QVERIFY(h.window->isVisible());
    QVERIFY(!h.window->titleField()->dropDownVisible());
    QTest::keyClick(h.find("dbgBUKU"), Qt::Key_Escape);
    QVERIFY(h.window->isVisible());

    h.find<QPushButton>("btnCANCELL")->click();
    QCOMPARE(h.count("lblCountHIBAHt"), QString("0"));
    QTest::keyClick(h.code(), Qt::Key_Escape);
    QVERIFY(!h.window->isVisible());
    QCOMPARE(h.window->result(), int(QDialog::Rejected));
}

void WithdrawalWindowTest::stagingByCodeShowsCountsAndMessages() {
    Harness h;
    QCOMPARE(h.count("lblCountBUKU"), QString("300"));
    QCOMPARE(h.count("lblCountHIBAH"), QString("0"));
    h.title()->setText("left over");
    h.stage(freeCopy(2));
    QVERIFY(h.dialogs.shown.empty());
    QCOMPARE(h.code()->text(), QString());
    QCOMPARE(h.title()->text(), QString());
    QVERIFY(h.code()->hasFocus());
    h.stage(freeCopy(2));
    QCOMPARE(h.dialogs.last(),
             freeCopy(2) + " is in the Temporary file, and\rready to sent to the hibah container");
    h.stage("1202611020012");
    QVERIFY(h.dialogs.last().startsWith("1202611020012\rborrowed by: ANI.RIVERSIDE\r"));
    h.stage("1999");
    QCOMPARE(h.dialogs.last(), QString("1999 not found."));
    QCOMPARE(h.count("lblCountHIBAHt"), QString("1"));
    QCOMPARE(h.find<QTableView>("dbgHIBAHt")->model()->rowCount(), 1);
}

void WithdrawalWindowTest::stagingFromTheTitleListAndTheBookGrid() {
    Harness h;
    h.title()->setFocus();
    QTest::keyClick(h.title(), Qt::Key_Return);  // empty: stays
    QVERIFY(h.title()->hasFocus());
    QVERIFY(!h.window->titleField()->dropDownVisible());
    QTest::keyClicks(h.title(), "songs of the s");
    QTest::keyClick(h.title(), Qt::Key_Return);
    QVERIFY(h.window->titleField()->grid()->hasFocus());
    QTest::keyClick(h.window->titleField()->grid(), Qt::Key_Return);
    QCOMPARE(h.count("lblCountHIBAHt"), QString("1"));
    QCOMPARE(h.title()->text(), QString());
    QCOMPARE(h.code()->text(), QString());
    QVERIFY(h.title()->hasFocus());
    // Escape in the list empties the title box and returns to it.
    QTest::keyClicks(h.title(), "songs");
    QTest::keyClick(h.title(), Qt::Key_Down);
    QTest::keyClick(h.window->titleField()->grid(), Qt::Key_Escape);
    QCOMPARE(h.title()->text(), QString());
    QVERIFY(h.title()->hasFocus());

    h.window->stageBookRow(5);
    QCOMPARE(h.count("lblCountHIBAHt"), QString("2"));
}

void WithdrawalWindowTest::postAsksAndWithdraws() {
    Harness h;
    h.stage(freeCopy(2));
    h.stage(freeCopy(3));
    h.dialogs.confirmAnswers = {false};
    h.find<QPushButton>("btnPOST")->click();
    QVERIFY(
        h.dialogs.last().startsWith("Beware!\rAll data in the Temporary Broken Book will be\r"));
    QCOMPARE(h.count("lblCountHIBAHt"), QString("2"));
    QVERIFY(h.code()->hasFocus());
    h.find<QPushButton>("btnPOST")->click();
    QCOMPARE(h.count("lblCountHIBAHt"), QString("0"));
    QCOMPARE(h.count("lblCountBUKU"), QString("298"));
    QCOMPARE(h.count("lblCountHIBAH"), QString("2"));
    QCOMPARE(h.find<QTableView>("dbgHIBAH")->model()->rowCount(), 2);
    // Nothing staged any more: Escape closes.
    QTest::keyClick(h.code(), Qt::Key_Escape);
    QVERIFY(!h.window->isVisible());
}

void WithdrawalWindowTest::detailPanelShowsAndHides() {
    Harness h;
    h.stage("1202611160051");
    QVERIFY(!h.find("pnlDetail")->isVisible());
    h.code()->setText("typed");
    h.window->showDetail(0);
    QVERIFY(h.find("pnlDetail")->isVisible());
    QVERIFY(h.find("btnCloseDetail")->hasFocus());
    QCOMPARE(h.code()->text(), QString());
    QTest::keyClick(h.find("btnCloseDetail"), Qt::Key_Escape);
    QVERIFY(!h.find("pnlDetail")->isVisible());
    QVERIFY(h.window->isVisible());  // Escape on the panel only hides it
    h.window->showDetail(0);
    h.find<QPushButton>("btnCloseDetail")->click();
    QVERIFY(!h.find("pnlDetail")->isVisible());
}

// The withdrawn-copies table gone from the library file: every read of it
// fails. The failures are shown in the error box; the window neither closes
// over a staged copy nor lets an exception out of a key or a click.
void WithdrawalWindowTest::unreadableTablesAreReportedAndKeepTheWindowOpen() {
    Harness h;
    h.stage(freeCopy(2));
    store::Connection other("other");
    other.setFileName(h.inst.library());
    other.open();
    other.execute("DROP TABLE \"tHIBAH\"");

    QTest::keyClick(h.code(), Qt::Key_Escape);
    QVERIFY(h.window->isVisible());
    QCOMPARE(h.dialogs.shown.back().kind, QString("error"));

    h.dialogs.clear();
    h.find<QPushButton>("btnPOST")->click();
    QVERIFY(h.window->isVisible());
    QVERIFY(!h.dialogs.shown.empty());
    QCOMPARE(h.dialogs.shown.back().kind, QString("error"));
    // Nothing was withdrawn: the copy is still in the catalogue and staged.
    QCOMPARE(
        std::get<std::int64_t>(other.select("SELECT count(*) FROM \"tBUKU\" WHERE KDBARANG = ?",
                                            {freeCopy(2).toStdString()})[0][0]),
        std::int64_t(1));
    QCOMPARE(h.window->findChild<QTableView*>("dbgHIBAHt")->model()->rowCount(), 1);
}

void WithdrawalWindowTest::opensFromTheToolsWindow() {
    Harness h;
    h.window->close();
    const WindowFactories f = ui::programWindows();
    QVERIFY(f.transaction);
    bool opened = false;
    QTimer::singleShot(0, [&] {
        QWidget* tools = QApplication::activeModalWidget();
        QVERIFY(tools);
        auto* hibah = tools->findChild<QPushButton*>("bbtHibah");
        QVERIFY(hibah && hibah->isEnabled());
        QTimer::singleShot(0, [&, tools] {
            auto* withdrawal = qobject_cast<TfrmHibah*>(QApplication::activeModalWidget());
            opened = withdrawal != nullptr;
            if (withdrawal) withdrawal->reject();
            QTimer::singleShot(0, [tools] { QTest::keyClick(tools, Qt::Key_Escape); });
        });
        hibah->click();
    });
    f.tools(h.ctx, nullptr);
    QVERIFY(opened);
}

QTEST_MAIN(WithdrawalWindowTest)
#include "tst_withdrawal.moc"
