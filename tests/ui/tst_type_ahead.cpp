// The type-ahead field on real widgets: drop-down by entry text, capture
// with its question, picks and Escape.

#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>
#include <QtTest>

#include "app/data_module.h"
#include "app/environment.h"
#include "store/table.h"
#include "support/fixture.h"
#include "support/scripted.h"
#include "ui/type_ahead.h"

class TypeAheadTest : public QObject {
    Q_OBJECT

    struct Harness {
        testing_support::TempInstallation inst{true};
        app::DataModule data;
        app::Environment env;
        testing_support::ScriptedDialogs dialogs;
        testing_support::RecordingOpener opener;
        core::FixedClock clock{core::DateTime::fromParts(2026, 12, 11)};
        ui::AppContext ctx{data, env, dialogs, opener, clock};
        QWidget window;
        QLineEdit* title = new QLineEdit(&window);
        QLineEdit* author = new QLineEdit(&window);
        ui::TypeAheadField* field = nullptr;

        Harness() {
            data.dbTOVIRAK.setFileName(inst.library());
            data.dbTOVIRAK.open();
            data.openTable("tbTITLE", "iTITLE");
            title->setObjectName("edtTITLE");
            author->setObjectName("edtAuthor");
            auto* layout = new QVBoxLayout(&window);
            layout->addWidget(title);
            layout->addWidget(author);
            layout->addStretch();
            ui::TypeAheadField::Config c;
            c.listQuery = "tqTitle";
            c.listTable = "tTitle";
            c.listColumn = "TITLE";
            c.exactTable = "tbTITLE";
            c.exactIndex = "iTITLE";
            c.captureWording = " a new TITLE?";
            c.captureExtras = {{"JENIS", "1"}};
            c.escapeStays = true;
            field = new ui::TypeAheadField(ctx, title, c, &window);
            field->setNextField(author);
            window.resize(600, 400);
            window.show();
            QApplication::setActiveWindow(&window);
            QTest::qWaitForWindowActive(&window);
        }
        int listRows() { return field->grid()->model()->rowCount(); }
        std::int64_t titles() { return data.table("tbTITLE").recordCount(); }
    };

private slots:
    void dropDownFollowsTheEntryText();
    void leadingBlanksFilterLikeTheTrimmedText();
    void quoteInTypedTextStaysText();
    void existingValueInAnyCaseAddsNothing();
    void captureCancelThenOkAddsExactlyOneRow();
    void pickCopiesTheValueTrimmedAndMovesOn();
    void escapeInGridEmptiesTheField();
};

void TypeAheadTest::dropDownFollowsTheEntryText() {
    Harness h;
    h.title->setFocus();
    QTest::keyClick(h.title, Qt::Key_Space);
    h.title->clear();
    h.field->refresh();
    QVERIFY(!h.field->dropDownVisible());  // empty text: unfiltered, hidden
    QTest::keyClicks(h.title, "the");
    QVERIFY(h.field->dropDownVisible());
    QCOMPARE(h.listRows(), 48);  // "The Secret", "The Little", "The Book", "The Last", 12 endings each
    QTest::keyClick(h.title, Qt::Key_Backspace);
    QTest::keyClick(h.title, Qt::Key_Backspace);
    QTest::keyClick(h.title, Qt::Key_Backspace);
    QVERIFY(!h.field->dropDownVisible());  // back to the text it had on entry
    // Down opens the list and moves into it.
    QTest::keyClick(h.title, Qt::Key_Down);
    QVERIFY(h.field->dropDownVisible());
    QVERIFY(h.field->grid()->hasFocus());
}

void TypeAheadTest::leadingBlanksFilterLikeTheTrimmedText() {
    Harness h;
    h.title->setFocus();
    QTest::keyClicks(h.title, "  tal");
    const int withBlanks = h.listRows();
    h.title->clear();
    QTest::keyClicks(h.title, "tal");
    QCOMPARE(h.listRows(), withBlanks);
    QCOMPARE(withBlanks, 12);
}

void TypeAheadTest::quoteInTypedTextStaysText() {
    Harness h;
    h.title->setFocus();
    QTest::keyClicks(h.title, "\" OR \"1\"=\"1");
    QVERIFY(h.dialogs.shown.empty());
    QCOMPARE(h.listRows(), 0);
}

void TypeAheadTest::existingValueInAnyCaseAddsNothing() {
    Harness h;
    const auto before = h.titles();
    h.title->setFocus();
    QTest::keyClicks(h.title, "tales OF THE SEA");
    QTest::keyClick(h.title, Qt::Key_Return);
    QVERIFY(h.dialogs.shown.empty());
    QCOMPARE(h.titles(), before);
    QVERIFY(h.author->hasFocus());
    QVERIFY(!h.field->dropDownVisible());
}

void TypeAheadTest::captureCancelThenOkAddsExactlyOneRow() {
    Harness h;
    const auto before = h.titles();
    h.title->setFocus();
    QTest::keyClicks(h.title, "Ronggeng Dukuh Paruk ");
    h.dialogs.confirmAnswers = {false, true};
    QTest::keyClick(h.title, Qt::Key_Return);
    QCOMPARE(h.dialogs.last(), QString("Is: \"Ronggeng Dukuh Paruk\" a new TITLE?"));
    QCOMPARE(h.titles(), before);
    QVERIFY(h.title->hasFocus());
    QTest::keyClick(h.title, Qt::Key_Return);
    QCOMPARE(h.titles(), before + 1);
    QVERIFY(h.author->hasFocus());
    store::Table& t = h.data.table("tbTITLE");
    QVERIFY(t.findKey({"RONGGENG DUKUH PARUK"}));
    QCOMPARE(t.asString("TITLE"), std::string("Ronggeng Dukuh Paruk"));
    QCOMPARE(t.asString("JENIS"), std::string("1"));
    // Enter again on the same value now finds it.
    h.title->setFocus();
    QTest::keyClick(h.title, Qt::Key_Return);
    QCOMPARE(h.titles(), before + 1);
}

void TypeAheadTest::pickCopiesTheValueTrimmedAndMovesOn() {
    Harness h;
    store::Table& t = h.data.table("tbTITLE");
    t.insert();
    t.setString("TITLE", "  Zebra Stories  ");
    t.post();
    h.title->setFocus();
    QTest::keyClicks(h.title, "zeb");
    QCOMPARE(h.listRows(), 0);  // a stored leading blank does not begin with Z
    h.title->clear();
    QTest::keyClicks(h.title, "  ");
    h.title->clear();
    h.title->setText("Tales of the R");
    h.field->refresh();
    QTest::keyClick(h.title, Qt::Key_Down);
    QTest::keyClick(h.field->grid(), Qt::Key_Return);
    QCOMPARE(h.title->text(), QString("Tales of the River"));
    QVERIFY(!h.field->dropDownVisible());
    QVERIFY(h.author->hasFocus());
}

void TypeAheadTest::escapeInGridEmptiesTheField() {
    Harness h;
    h.title->setFocus();
    QTest::keyClicks(h.title, "son");
    QTest::keyClick(h.title, Qt::Key_Down);
    QTest::keyClick(h.field->grid(), Qt::Key_Escape);
    QCOMPARE(h.title->text(), QString());
    QVERIFY(!h.field->dropDownVisible());
    QVERIFY(h.title->hasFocus());
    // Escape in the title field keeps its text and the focus.
    QTest::keyClicks(h.title, "son");
    QTest::keyClick(h.title, Qt::Key_Escape);
    QCOMPARE(h.title->text(), QString("son"));
    QVERIFY(h.title->hasFocus());
    QVERIFY(!h.field->dropDownVisible());
}

QTEST_MAIN(TypeAheadTest)
#include "tst_type_ahead.moc"
