// Key, focus and visibility flows of the book entry window and the name
// organizer window.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "app/startup.h"
#include "app/uTOVIRAK.h"
#include "catalogue/uBUKU.h"
#include "catalogue/uTitle.h"
#include "printing/barcode_image.h"
#include "store/key_values.h"
#include "support/fixture.h"
#include "support/scripted.h"
#include "ui/type_ahead.h"
#include "ui/windows.h"

using testing_support::ScriptedDialogs;

// Scripted dialogs that can act while a confirmation is open, as another
// workstation would.
class ActingDialogs : public ScriptedDialogs {
public:
    std::function<void()> whileConfirming;
    bool confirm(QWidget* parent, const QString& text) override {
        if (whileConfirming) whileConfirming();
        return ScriptedDialogs::confirm(parent, text);
    }
};

class BookEntryTest : public QObject {
    Q_OBJECT

    struct Harness {
        testing_support::TempInstallation inst{true};
        app::Environment env;
        app::DataModule data;
        ActingDialogs dialogs;
        testing_support::RecordingOpener opener;
        core::FixedClock clock{core::DateTime::fromParts(2026, 12, 11, 9, 0, 0)};
        ui::AppContext ctx{data, env, dialogs, opener, clock};
        std::unique_ptr<TfrmBUKU> window;

        explicit Harness(const std::string& labelOption = "") {
            app::startUp(env, data, inst.dir());
            env.user.name = "Librarian";
            env.user.level = 2;
            if (!labelOption.empty())
                store::writeVariable(data.table("tbSISTEM"), store::kSettingsLayout, "CBBOOK",
                                     labelOption);
            window = std::make_unique<TfrmBUKU>(ctx);
            window->resize(1200, 820);
            window->show();
            QApplication::setActiveWindow(window.get());
            if (!QTest::qWaitForWindowActive(window.get()))
                qWarning("the book window did not become active");
        }
        template <class T = QLineEdit>
        T* find(const char* name) {
            T* w = window->findChild<T*>(name);
            if (!w) qFatal("no control %s", name);
            return w;
        }
        QLineEdit* edit(const char* name) { return find<QLineEdit>(name); }
        QString text(const char* name) { return edit(name)->text(); }
        bool focused(const char* name) { return find<QWidget>(name)->hasFocus(); }
        std::string bookField(const std::string& code, const char* field) {
            store::Table& t = data.openTable("tbBUKU", "iKodeBuku");
            t.setIndexName("iKodeBuku");
            if (!t.findKey({code})) return "<no copy>";
            return t.asString(field);
        }
        // Types into a field that has the focus and presses a key in it.
        void type(const char* name, const QString& text) {
            QLineEdit* e = edit(name);
            e->setFocus();
            QTest::keyClicks(e, text);
        }
        void key(const char* name, Qt::Key k) { QTest::keyClick(find<QWidget>(name), k); }
        // Enters an item code through the date and sequence edits.
        void enterCode(const QString& date, const QString& sequence) {
            QLineEdit* d = edit("edtKodeTanggal");
            QLineEdit* s = edit("edtKodeNomer");
            d->setText(date);
            s->setText(sequence);
            s->setFocus();
            QTest::keyClick(s, Qt::Key_Return);
        }
    };

private slots:
    void enterPathCreatesANewCopy();
    void existingCodeLoadsWithTheGreenSignAndSaveClears();
    void newCopyIsQueuedForItsLabelWhenTicked();
    void cancelAtTheCodeQuestionClearsTheNames();
    void codeTakenMeanwhileEndsEditingAndProposesAgain();
    void pageDownLeadsToSaveOnlyInEditMode();
    void enterInRowOutsideEditMode();
    void udcJumpsToDdcOrDropsTheList();
    void ddcListPicksTheCode();
    void ageFieldRefusesOtherKeys();
    void pastedAgeIsRefusedBeforeAnyWrite();
    void levelVisibility();
    void purchasePanelToggles();
    void searchDdcNeedsATitleAndOpensTheDdcWindow();
    void openedAndClosedInsideTheMainWindow();
    void deleteThisRecordClearsTheForm();
    void titleOrganizerButtonPutsTheRenamedValueIntoTheField();
    void titleOrganizerRenamesAndReportsTheNewValue();
    void titleOrganizerWithAnUnknownValue();
};

void BookEntryTest::enterPathCreatesANewCopy() {
    Harness h;
    QVERIFY(h.focused("edtTITLE"));
    QVERIFY(!h.window->editMode());
    h.type("edtTITLE", "Tales of the Sea");
    h.key("edtTITLE", Qt::Key_Return);
    QVERIFY(h.focused("edtAuthor"));
    h.type("edtAuthor", "Enid Blyton");
    h.key("edtAuthor", Qt::Key_Return);
    QVERIFY(h.focused("edtPUBLISHER"));
    QVERIFY(h.dialogs.shown.empty());  // all three are in their lists
    h.type("edtPUBLISHER", "Mizan");
    h.key("edtPUBLISHER", Qt::Key_Return);
    // Entering the date field proposes: the counter is from 16 November.
    QVERIFY(h.focused("edtKodeTanggal"));
    QCOMPARE(h.dialogs.shown.size(), std::size_t(1));
    QCOMPARE(h.dialogs.shown[0].kind, QString("yesNo"));
    QVERIFY(h.dialogs.shown[0].text.startsWith("Last NewRecord is: 1202611160150\r"));
    QCOMPARE(h.text("edtKodeTanggal"), QString("20261211"));
    QCOMPARE(h.text("edtKodeNomer"), QString("0001"));
    h.key("edtKodeTanggal", Qt::Key_Return);
    QVERIFY(h.focused("edtKodeNomer"));
    h.key("edtKodeNomer", Qt::Key_Return);
    QCOMPARE(h.dialogs.last(), QString("Is this: \"1202612110001\" a new CallCode?"));
    QCOMPARE(h.bookField("1202612110001", "TITLE"), std::string("Tales of the Sea"));
    QCOMPARE(h.bookField("1202612110001", "AUTHOR"), std::string("Enid Blyton"));
    QCOMPARE(h.bookField("1202612110001", "PUBLISHER"), std::string("Mizan"));
    QCOMPARE(h.bookField("1202612110001", "CNKLS"), std::string("LIB"));
    QCOMPARE(h.bookField("1202612110001", "OC"), std::string("A"));
    QCOMPARE(h.bookField("1202612110001", "PTGSNEW"), std::string("Librarian"));
    QVERIFY(h.focused("edtUDC"));
    QVERIFY(h.window->editMode());
    QVERIFY(h.find<QWidget>("pnlEdit")->isVisible());
    QVERIFY(!h.window->showsExistingSign());
    QCOMPARE(h.text("edtKodeBarang"), QString("1202612110001"));
    QCOMPARE(h.text("edtLastRec"), QString("1202612110001"));
    QVERIFY(!h.find<QLabel>("BCbook")->pixmap().isNull());
    // Book Label unticked: nothing queued, no picture.
    QCOMPARE(h.find<QLabel>("lblCetakLabel")->text(), QString("0"));
    QVERIFY(!std::filesystem::exists(
        printing::bookBarcodePath(h.env.databaseDirectory, "1202612110001")));
}

void BookEntryTest::existingCodeLoadsWithTheGreenSignAndSaveClears() {
    Harness h;
    h.enterCode("20261102", "5");
    QVERIFY(h.dialogs.shown.empty());
    QCOMPARE(h.text("edtKodeNomer"), QString("0005"));
    QCOMPARE(h.text("edtKodeBarang"), QString("1202611020005"));
    QCOMPARE(h.text("edtTITLE"), QString("Stories in the Library"));
    QCOMPARE(h.text("edtAuthor"), QString("Roald Dahl"));
    QCOMPARE(h.text("edtUDC"), QString("5"));
    QCOMPARE(h.text("edtUsia"), QString("12"));
    QVERIFY(h.window->showsExistingSign());
    QCOMPARE(h.edit("edtTITLE")->palette().color(QPalette::Base), QColor(192, 220, 192));
    QVERIFY(h.focused("edtUDC"));
    QVERIFY(h.window->editMode());

    h.edit("edtCNRAK")->setText("R11");
    h.key("edtUDC", Qt::Key_PageDown);
    QVERIFY(h.focused("bbtSAVE"));
    h.key("bbtSAVE", Qt::Key_Return);
    QCOMPARE(h.dialogs.last(),
             QString("This: \"1202611020005\"\rtitle:\"Stories in the Library\"\rwill be save?"));
    QCOMPARE(h.bookField("1202611020005", "CNRAK"), std::string("R11"));
    QCOMPARE(h.bookField("1202611020005", "PTGSEDIT"), std::string("Librarian"));
    QCOMPARE(h.bookField("1202611020005", "PTGSNEW"), std::string("Admin"));
    // SAVE queues the copy for its label whatever the box says.
    QCOMPARE(h.find<QLabel>("lblCetakLabel")->text(), QString("1"));
    QVERIFY(!h.window->editMode());
    QVERIFY(!h.window->showsExistingSign());
    QVERIFY(h.text("edtTITLE").isEmpty());
    QVERIFY(h.text("edtKodeBarang").isEmpty());
    QVERIFY(h.text("edtKodeTanggal").isEmpty());
    QCOMPARE(h.text("edtCNKLS"), QString("LIB"));
    QCOMPARE(h.text("edtUsia"), QString("0"));
    QVERIFY(h.focused("edtTITLE"));
}

void BookEntryTest::newCopyIsQueuedForItsLabelWhenTicked() {
    Harness h("Y");
    QVERIFY(h.find<QCheckBox>("cbCetakLabel")->isChecked());
    h.edit("edtTITLE")->setText("Tales of the Sea");
    h.enterCode("20261211", "1");
    QCOMPARE(h.find<QLabel>("lblCetakLabel")->text(), QString("1"));
    QVERIFY(std::filesystem::exists(
        printing::bookBarcodePath(h.env.databaseDirectory, "1202612110001")));
    // CANCELL keeps the created row.
    h.find<QPushButton>("bbtCANCELL")->click();
    QCOMPARE(h.bookField("1202612110001", "TITLE"), std::string("Tales of the Sea"));
    QVERIFY(!h.window->editMode());
    QVERIFY(h.text("edtKodeBarang").isEmpty());
}

void BookEntryTest::cancelAtTheCodeQuestionClearsTheNames() {
    Harness h;
    h.edit("edtTITLE")->setText("Tales of the Sea");
    h.edit("edtAuthor")->setText("Enid Blyton");
    h.dialogs.confirmAnswers = {false};
    h.enterCode("20261211", "1");
    QCOMPARE(h.dialogs.last(), QString("1202612110001, batal / tidak diposting."));
    QCOMPARE(h.bookField("1202612110001", "TITLE"), std::string("<no copy>"));
    QVERIFY(h.text("edtTITLE").isEmpty());
    QVERIFY(h.text("edtAuthor").isEmpty());
    QVERIFY(h.text("edtKodeTanggal").isEmpty());
    QVERIFY(h.focused("edtTITLE"));
    QVERIFY(!h.window->editMode());
}

void BookEntryTest::codeTakenMeanwhileEndsEditingAndProposesAgain() {
    Harness h;
    h.enterCode("20261102", "5");  // editing a loaded copy
    QVERIFY(h.window->editMode());
    store::Connection other("otherWorkstation");
    other.setFileName(h.inst.library());
    other.open();
    h.dialogs.whileConfirming = [&] {
        store::Table t(other, "tBUKU");
        t.open();
        t.insert();
        t.setString("KDBARANG", "1202612110001");
        t.setString("TITLE", "Theirs");
        t.post();
    };
    h.enterCode("20261211", "1");
    h.dialogs.whileConfirming = nullptr;
    QVERIFY(h.dialogs.texts().contains(
        "Some one was input this 1202612110001 So, this number Not Save yet, try again please."));
    QVERIFY(!h.window->editMode());
    QVERIFY(!h.find<QWidget>("pnlEdit")->isVisible());
    QVERIFY(!h.window->showsExistingSign());
    QCOMPARE(h.bookField("1202612110001", "TITLE"), std::string("Theirs"));
    // Back in the date field, the proposal follows the code found taken.
    QVERIFY(h.focused("edtKodeTanggal"));
    QCOMPARE(h.text("edtLastRec"), QString("1202612110001"));
    QCOMPARE(h.text("edtKodeNomer"), QString("0002"));
}

void BookEntryTest::pageDownLeadsToSaveOnlyInEditMode() {
    Harness h;
    h.edit("edtDDC")->setFocus();
    h.key("edtDDC", Qt::Key_PageDown);
    QVERIFY(h.focused("edtDDC"));  // not in edit mode: stays

    h.enterCode("20261102", "5");
    h.window->togglePurchasePanel();
    for (const char* name :
         {"edtUDC", "edtDDC", "edtCNKLS", "edtCNRAK", "edtCNBRS", "edtBAHASA", "edtKEYWORD",
          "edtISBN", "rdbAsli", "edtKONDISI", "edtKelas", "edtUsia", "edtSHARGA", "edtTGBELI"}) {
        QWidget* w = h.find<QWidget>(name);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_PageDown);
        QVERIFY2(h.focused("bbtSAVE"), name);
    }
}

void BookEntryTest::enterInRowOutsideEditMode() {
    Harness h;
    h.edit("edtCNBRS")->setFocus();
    h.key("edtCNBRS", Qt::Key_Return);
    QCOMPARE(h.dialogs.last(), QString("You are not in edit mode"));
    QVERIFY(h.focused("edtTITLE"));

    h.enterCode("20261102", "5");
    h.dialogs.clear();
    h.edit("edtCNKLS")->setFocus();
    h.key("edtCNKLS", Qt::Key_Return);
    QVERIFY(h.focused("edtCNRAK"));
    h.key("edtCNRAK", Qt::Key_Return);
    QVERIFY(h.focused("edtCNBRS"));
    h.key("edtCNBRS", Qt::Key_Return);
    QVERIFY(h.focused("edtBAHASA"));
    QVERIFY(h.dialogs.shown.empty());
}

void BookEntryTest::udcJumpsToDdcOrDropsTheList() {
    Harness h;
    // A class of the list jumps at once, without Enter.
    h.type("edtUDC", "5");
    QVERIFY(h.focused("edtDDC"));
    QVERIFY(!h.find<QWidget>("pnlUDC")->isVisible());

    // Anything else drops the whole list down, which takes the focus.
    h.edit("edtUDC")->clear();
    h.type("edtUDC", "x");
    QCOMPARE(h.text("edtUDC"), QString("X"));
    QVERIFY(h.find<QWidget>("pnlUDC")->isVisible());
    QVERIFY(h.focused("dbgUDC"));
    QCOMPARE(h.find<QTableView>("dbgUDC")->model()->rowCount(), 10);
    QTest::keyClick(h.find<QTableView>("dbgUDC"), Qt::Key_Down);
    h.key("dbgUDC", Qt::Key_Return);
    QCOMPARE(h.text("edtUDC"), QString("1"));
    QVERIFY(h.focused("edtDDC"));
    QVERIFY(!h.find<QWidget>("pnlUDC")->isVisible());

    // Escape in the list empties the field.
    h.edit("edtUDC")->setFocus();
    h.key("edtUDC", Qt::Key_Down);
    QVERIFY(h.focused("dbgUDC"));
    h.key("dbgUDC", Qt::Key_Escape);
    QVERIFY(h.text("edtUDC").isEmpty());
    QVERIFY(h.focused("edtUDC"));
    // Enter with an empty field moves to DDC.
    h.key("edtUDC", Qt::Key_Return);
    QVERIFY(h.focused("edtDDC"));
}

void BookEntryTest::ddcListPicksTheCode() {
    Harness h;
    h.edit("edtDDC")->setFocus();
    h.key("edtDDC", Qt::Key_Down);
    QVERIFY(h.find<QWidget>("pnlDDC")->isVisible());
    QVERIFY(h.focused("dbgDDC"));
    QTest::keyClick(h.find<QTableView>("dbgDDC"), Qt::Key_Down);
    h.key("dbgDDC", Qt::Key_Return);
    QCOMPARE(h.text("edtDDC"), QString("010"));
    QVERIFY(h.focused("edtCNKLS"));
    QVERIFY(!h.find<QWidget>("pnlDDC")->isVisible());
}

void BookEntryTest::ageFieldRefusesOtherKeys() {
    Harness h;
    QLineEdit* age = h.edit("edtUsia");
    age->setFocus();
    age->end(false);
    QTest::keyClick(age, Qt::Key_A);
    QCOMPARE(h.dialogs.last(), QString("Invalid key"));
    QCOMPARE(age->text(), QString("0"));
    QTest::keyClick(age, Qt::Key_Backspace);
    QVERIFY(age->text().isEmpty());
    QTest::keyClick(age, Qt::Key_Minus);
    QCOMPARE(age->text(), QString("0"));  // an empty field is set back to 0
    age->clear();
    QTest::keyClicks(age, "14");
    QCOMPARE(age->text(), QString("14"));
    QCOMPARE(h.dialogs.shown.size(), std::size_t(2));
    // Leaving it empty sets 0.
    age->clear();
    h.edit("edtKelas")->setFocus();
    QCOMPARE(age->text(), QString("0"));
}

void BookEntryTest::pastedAgeIsRefusedBeforeAnyWrite() {
    Harness h;
    h.enterCode("20261102", "5");
    h.edit("edtUsia")->setText("1O");  // pasted: letter O
    h.edit("edtCNRAK")->setText("R11");
    h.dialogs.clear();
    h.window->saveClicked();
    QCOMPARE(h.dialogs.shown.size(), std::size_t(1));
    QVERIFY(h.dialogs.last().startsWith("\"1O\" is not a valid age."));
    QCOMPARE(h.bookField("1202611020005", "CNRAK"), std::string("R05"));
    QVERIFY(h.focused("edtUsia"));
    QVERIFY(h.window->editMode());
}

void BookEntryTest::levelVisibility() {
    Harness h;
    auto organizersShown = [&] {
        for (const char* name : {"bbtTitleOrganizer", "bbtAuthorOrganizer", "bbtPublOrganizer",
                                 "bbtUDCOrganizer", "bbtDDCOrganizer", "bbtBahasaOrganizer"})
            if (h.find<QWidget>(name)->isHidden()) return false;
        return true;
    };
    QVERIFY(organizersShown());
    QVERIFY(!h.find<QWidget>("bbtDelete")->isHidden());
    h.env.user.level = 3;
    h.window->clearForm();
    QVERIFY(organizersShown());
    QVERIFY(h.find<QWidget>("bbtDelete")->isHidden());
    h.env.user.level = 9;
    h.window->clearForm();
    QVERIFY(h.find<QWidget>("bbtTitleOrganizer")->isHidden());
    QVERIFY(h.find<QWidget>("bbtBahasaOrganizer")->isHidden());
    QVERIFY(h.find<QWidget>("bbtDelete")->isHidden());
}

void BookEntryTest::purchasePanelToggles() {
    Harness h;
    QWidget* panel = h.find<QWidget>("pnlBeli");
    QVERIFY(!panel->isVisible());
    QTest::mouseDClick(h.find<QLabel>("lblKONDISI"), Qt::LeftButton);
    QVERIFY(panel->isVisible());
    QTest::mouseDClick(h.find<QLabel>("lblKONDISI"), Qt::LeftButton);
    QVERIFY(!panel->isVisible());
}

void BookEntryTest::titleOrganizerRenamesAndReportsTheNewValue() {
    Harness h;
    TfrmTITLE organizer(h.ctx, "1", "Tales of the Sea", h.window.get());
    organizer.show();
    QVERIFY(h.dialogs.shown.empty());  // found
    auto* grid = organizer.findChild<QTableView*>("dbgTITLE");
    QCOMPARE(grid->currentIndex().data().toString(), QString("Tales of the Sea"));
    organizer.editClicked();
    QVERIFY(organizer.editing());
    QVERIFY(!grid->isVisible());
    auto* edit = organizer.findChild<QLineEdit*>("edtTITLEedit");
    QCOMPARE(edit->text(), QString("Tales of the Sea"));
    edit->setText("Tales of the Ocean");
    organizer.saveClicked();
    QCOMPARE(h.dialogs.shown[0].text, QString("Are you sure to save this TITLE?"));
    QVERIFY(h.dialogs.last().startsWith("Congratulation"));
    QCOMPARE(organizer.result(), int(QDialog::Accepted));
    QCOMPARE(organizer.renamedValue(), QString("Tales of the Ocean"));
}

void BookEntryTest::titleOrganizerWithAnUnknownValue() {
    Harness h;
    TfrmTITLE organizer(h.ctx, "1", "No Such Title", h.window.get());
    organizer.show();
    QCOMPARE(h.dialogs.last(), QString("NOT-Found"));
    const auto titles = h.data.table("tbTITLE").recordCount();
    organizer.deleteClicked();
    QCOMPARE(h.dialogs.last(), QString("No Such Title not found in the TITLE-data."));
    QCOMPARE(h.data.table("tbTITLE").recordCount(), titles);
    // Cancel at the rename question changes nothing and returns to viewing.
    organizer.editClicked();
    h.dialogs.confirmAnswers = {false};
    organizer.saveClicked();
    QVERIFY(!organizer.editing());
    QVERIFY(organizer.findChild<QTableView*>("dbgTITLE")->isVisible());
    QCOMPARE(organizer.result(), int(QDialog::Rejected));
}

void BookEntryTest::searchDdcNeedsATitleAndOpensTheDdcWindow() {
    Harness h;
    h.edit("edtTITLE")->setText("   ");
    h.find<QPushButton>("bbtSearchDDC")->click();
    QCOMPARE(h.dialogs.last(), QString("What TITLE do you wont to search?\rTITLE may not Blank."));
    QVERIFY(!h.window->findChild<QDialog*>("frmOCLC"));

    h.edit("edtTITLE")->setText("  Tales of the Sea ");
    QString searched;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            if (dialog->objectName() == "frmOCLC")
                searched = dialog->findChild<QLineEdit*>("edtTITLE")->text();
            dialog->reject();
        }
    });
    h.find<QPushButton>("bbtSearchDDC")->click();
    QCOMPARE(searched, QString("Tales of the Sea"));
}

void BookEntryTest::openedAndClosedInsideTheMainWindow() {
    testing_support::TempInstallation inst{true};
    ScriptedDialogs dialogs;
    testing_support::RecordingOpener opener;
    core::FixedClock clock{core::DateTime::fromParts(2026, 12, 11, 9, 0, 0)};
    TfrmTOVIRAK main(dialogs, opener, clock, ui::programWindows(),
                     QString::fromStdString(inst.dir()));
    main.endProgram = [] {};
    main.environment().user.name = "Librarian";
    main.environment().user.level = 2;
    main.resize(1300, 900);
    main.show();
    QApplication::setActiveWindow(&main);
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QAction* input = main.findChild<QAction*>("mnINPUTDATA");
    main.commandBookEntry();
    auto* book = qobject_cast<TfrmBUKU*>(main.documentWidget(TfrmTOVIRAK::Document::BookEntry));
    QVERIFY(book);
    QCOMPARE(book->property("helpTopic").toInt(), 180);
    QVERIFY(book->findChild<QLineEdit*>("edtTITLE")->hasFocus());
    QVERIFY(!input->isEnabled());
    QVERIFY(!main.findChild<QWidget*>("pnlTOP")->isVisible());
    qobject_cast<QMdiSubWindow*>(book->parentWidget())->close();
    QTRY_VERIFY(!main.documentOpen(TfrmTOVIRAK::Document::BookEntry));
    QVERIFY(input->isEnabled());
    QVERIFY(main.findChild<QWidget*>("pnlTOP")->isVisible());
}

void BookEntryTest::deleteThisRecordClearsTheForm() {
    Harness h;
    h.enterCode("20261102", "5");
    h.find<QPushButton>("bbtDelete")->click();
    QCOMPARE(h.dialogs.last(),
             QString("Is this: \"1202611020005\"\r\"Stories in the Library\" will be delete?"));
    QCOMPARE(h.bookField("1202611020005", "TITLE"), std::string("<no copy>"));
    QVERIFY(!h.window->editMode());
    QVERIFY(!h.window->showsExistingSign());
    QVERIFY(h.text("edtTITLE").isEmpty());
    QVERIFY(h.text("edtKodeBarang").isEmpty());
}

void BookEntryTest::titleOrganizerButtonPutsTheRenamedValueIntoTheField() {
    Harness h;
    h.edit("edtTITLE")->setText("The Secret of the Sea");
    QString kindShown;
    QTimer::singleShot(0, [&] {
        auto* organizer = qobject_cast<NameOrganizer*>(QApplication::activeModalWidget());
        if (!organizer) return;
        kindShown = organizer->findChild<QLineEdit*>("edtJENIS")->text();
        organizer->editClicked();
        organizer->findChild<QLineEdit*>("edtTITLEedit")->setText("The Secret of the Ocean");
        organizer->saveClicked();
    });
    h.find<QPushButton>("bbtTitleOrganizer")->click();
    QCOMPARE(kindShown, QString("1"));
    QCOMPARE(h.text("edtTITLE"), QString("The Secret of the Ocean"));
    store::Table& t = h.data.openTable("tbBUKU", "iKodeBuku");
    QVERIFY(t.findKey({"1202611020001"}));  // the demo's first copy carries the renamed title
    QCOMPARE(t.asString("TITLE"), std::string("The Secret of the Ocean"));
}

QTEST_MAIN(BookEntryTest)
#include "tst_book_entry.moc"
