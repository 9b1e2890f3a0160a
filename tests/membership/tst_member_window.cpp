// Key, focus and visibility flows of the member window: choosing or creating
// a family, then a member of it, editing and saving both, the Escape rules,
// Page Down and Page Up, the age, "CLOSE" and deleting.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "app/data_module.h"
#include "app/environment.h"
#include "membership/uMEMBER.h"
#include "store/table.h"
#include "support/fixture.h"
#include "support/scripted.h"
#include "ui/navigator.h"
#include "ui/type_ahead.h"

class MemberWindowTest : public QObject {
    Q_OBJECT

    struct Harness {
        explicit Harness(bool demo) : inst(demo) {
            data.dbTOVIRAK.setFileName(inst.library());
            data.dbTOVIRAK.open();
            window = std::make_unique<TfrmMEMBER>(ctx);
            window->show();
            QApplication::setActiveWindow(window.get());
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
        }
        testing_support::TempInstallation inst;
        app::DataModule data;
        app::Environment env;
        testing_support::ScriptedDialogs dialogs;
        testing_support::RecordingOpener opener;
        core::FixedClock clock{core::DateTime::fromParts(2020, 5, 9, 10, 0, 0)};
        ui::AppContext ctx{data, env, dialogs, opener, clock};
        std::unique_ptr<TfrmMEMBER> window;

        QLineEdit* box(const char* name) { return window->findChild<QLineEdit*>(name); }
        QPushButton* button(const char* name) { return window->findChild<QPushButton*>(name); }
        QLineEdit* familySearch() { return box("edtKDFKELUARGAcari"); }
        QLineEdit* memberSearch() { return box("edtKDFANGGOTAcari"); }
        QWidget* focus() { return QApplication::focusWidget(); }
        void typeInto(QLineEdit* b, const char* text) {
            b->setFocus();
            QTest::keyClicks(b, text);
        }
        void enter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }
        // As a keyboard does it: the release goes to where the press moved the focus.
        void enterByKeyboard(QWidget* w) {
            QTest::keyPress(w, Qt::Key_Return);
            QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Return);
        }
        void openFamily(const char* code) {
            typeInto(familySearch(), code);
            enter(familySearch());
        }
        std::int64_t rows(const char* tableObject) { return data.table(tableObject).recordCount(); }
        std::string memberField(const std::string& code, const char* field) {
            store::Table& t = data.table("tbANGGOTA");
            t.setIndexName("iKDFANGGOTA");
            if (!t.findKey({code})) return "<no row>";
            return t.asString(field);
        }
    };

private slots:
    void enterOnFamilyOpensItAndMovesToTheMemberBox();
    void memberCodeWithoutAFamilyIsRefused();
    void newFamilyIsEditedAndSavedWithPageDown();
    void newMemberShowsItsRowAndSavesWithPageDown_thenCloseEmptiesTheWindow();
    void existingCallNameEndsInDoubleRecord();
    void pickFromTheMemberListOpensItWithThePreview();
    void familyPickAndFamilyEditOverAnOpenMember();
    void escapeRules();
    void escapeDoesNotCloseTheWindowOverAnEdit();
    void pageUpPressesCopyAddress();
    void badNumberKeepsTheEditAndWritesNothing();
    void closeAwayFromTheSearchBoxAsksToSaveFirst();
    void deletingFamiliesAndMembers();
    void doubleClickOnTheDateHintTellsTheAge();
    void bottomGridCannotMakeOrBreakMembers();
};

void MemberWindowTest::enterOnFamilyOpensItAndMovesToTheMemberBox() {
    Harness h(true);
    QVERIFY(h.focus() == h.familySearch());
    h.typeInto(h.familySearch(), "riv");
    QCOMPARE(h.familySearch()->text(), QString("RIV"));  // typed in upper case
    QVERIFY(h.window->familyLookup()->dropDownVisible());
    QTest::keyClicks(h.familySearch(), "erside");
    h.enter(h.familySearch());
    QVERIFY(h.dialogs.shown.empty());
    QVERIFY(!h.window->familyLookup()->dropDownVisible());
    QCOMPARE(h.box("edtKDFKELUARGA")->text(), QString("RIVERSIDE"));
    QCOMPARE(h.box("edtALAMATkeluarga")->text(), QString("Jl. Melati No. 10"));
    QCOMPARE(h.box("edtMRNAMA")->text(), QString("Bapak RIVERSIDE"));
    QVERIFY(!h.familySearch()->isEnabled());
    QVERIFY(!h.box("edtALAMATkeluarga")->isEnabled());
    QVERIFY(!h.box("edtNMANGGOTA")->isEnabled());
    QVERIFY(h.button("bbtEditFamily")->isVisible());
    QVERIFY(h.button("bbtDeleteFamily")->isVisible());
    QVERIFY(!h.button("bbtEditMember")->isVisible());
    QVERIFY(h.focus() == h.memberSearch());
}

void MemberWindowTest::memberCodeWithoutAFamilyIsRefused() {
    Harness h(true);
    h.typeInto(h.memberSearch(), "E");
    QCOMPARE(h.dialogs.texts(), QStringList{"You must select Family, before edit Member ID"});
    QCOMPARE(h.memberSearch()->text(), QString());
    QVERIFY(h.familySearch()->isEnabled());
    QVERIFY(h.focus() == h.familySearch());
}

void MemberWindowTest::newFamilyIsEditedAndSavedWithPageDown() {
    Harness h(false);
    h.openFamily("riverside");
    QCOMPARE(h.dialogs.texts(),
             (QStringList{"Is: \"RIVERSIDE\" a new FAMILY?",
                          "Congratulation, FAMILY: RIVERSIDE sucessfully insert to the system."}));
    QCOMPARE(h.rows("tbKELUARGA"), 1);
    // Family editing: only the family's SAVE/CANCELL, the member panel off.
    QVERIFY(h.button("bbtSaveFamily")->isVisible());
    QVERIFY(h.button("bbtCancelFamily")->isVisible());
    QVERIFY(!h.button("bbtEditFamily")->isVisible());
    QVERIFY(!h.window->findChild<QWidget*>("pnlMEMBER")->isEnabled());
    QVERIFY(!h.familySearch()->isEnabled());
    QVERIFY(h.focus() == h.box("edtALAMATkeluarga"));
    QTest::keyClicks(h.box("edtALAMATkeluarga"), "Jl. Kenanga 5");
    h.enter(h.box("edtALAMATkeluarga"));
    QVERIFY(h.focus() == h.box("edtTELPkeluarga"));
    QTest::keyClicks(h.box("edtTELPkeluarga"), "0274-1");
    QTest::keyClick(h.box("edtTELPkeluarga"), Qt::Key_PageDown);
    QVERIFY(h.focus() == h.button("bbtSaveFamily"));
    h.dialogs.clear();
    h.enterByKeyboard(h.button("bbtSaveFamily"));
    QCOMPARE(h.dialogs.texts(), QStringList{"RIVERSIDE Sucsessfully to save"});
    QVERIFY(h.focus() == h.familySearch());
    QVERIFY(h.button("bbtEditFamily")->isVisible());
    QVERIFY(!h.button("bbtSaveFamily")->isVisible());
    QVERIFY(!h.box("edtALAMATkeluarga")->isEnabled());
    // Saved by keyboard, the family is still open.
    QCOMPARE(h.box("edtKDFKELUARGA")->text(), QString("RIVERSIDE"));
    store::Table& t = h.data.table("tbKELUARGA");
    QVERIFY(t.findKey({"RIVERSIDE"}));
    QCOMPARE(t.asString("ALAMAT"), std::string("Jl. Kenanga 5"));
    QCOMPARE(t.asString("TELP"), std::string("0274-1"));

    // Cancelled edits write nothing and keep the boxes.
    h.button("bbtEditFamily")->click();
    QTest::keyClicks(h.box("edtMRNAMA"), "Budi");
    h.dialogs.clear();
    h.button("bbtCancelFamily")->click();
    QCOMPARE(h.dialogs.texts(), QStringList{"RIVERSIDE Cancell/Not saved"});
    QVERIFY(t.findKey({"RIVERSIDE"}));
    QCOMPARE(t.asString("MRNAMA"), std::string());
    QCOMPARE(h.box("edtMRNAMA")->text(), QString("Budi"));
}

void MemberWindowTest::newMemberShowsItsRowAndSavesWithPageDown_thenCloseEmptiesTheWindow() {
    Harness h(true);
    h.openFamily("SANTOSO");
    h.typeInto(h.memberSearch(), "dewi");
    QVERIFY(h.box("edtKDFANGGOTAbaru")->isVisible());
    QCOMPARE(h.box("edtKDFANGGOTAbaru")->text(), QString("DEWI.SANTOSO"));
    h.enter(h.memberSearch());
    QCOMPARE(h.dialogs.texts(),
             (QStringList{"Is: \"DEWI.SANTOSO\" a new MEMBER ?",
                          "Congratulation, MEMBER: DEWI sucessfully insert to the system."}));
    QVERIFY(!h.box("edtKDFANGGOTAbaru")->isVisible());
    QCOMPARE(h.box("edtKDFANGGOTA")->text(), QString("DEWI.SANTOSO"));
    QCOMPARE(h.memberSearch()->text(), QString("DEWI.SANTOSO"));
    // Member editing, with what the row holds in the boxes.
    QVERIFY(h.focus() == h.box("edtNMANGGOTA"));
    QVERIFY(h.button("bbtCopyAddress")->isVisible());
    QVERIFY(h.button("bbtSaveMember")->isVisible());
    QVERIFY(!h.button("bbtEditMember")->isVisible());
    QCOMPARE(h.box("edtALAMAT")->text(), QString("Jl. Melati No. 11"));
    QCOMPARE(h.box("edtTELP")->text(), QString("0274-551001"));
    QCOMPARE(h.box("edtMAXPINJAM")->text(), QString("2"));
    QCOMPARE(h.box("edtLAMAPINJAM")->text(), QString("7"));
    QCOMPARE(h.box("edtDENDA")->text(), QString("0"));
    QCOMPARE(h.box("edtJLHPINJAM")->text(), QString("0"));
    QCOMPARE(h.memberField("DEWI.SANTOSO", "ALAMAT"), std::string("Jl. Melati No. 11"));

    QTest::keyClicks(h.box("edtNMANGGOTA"), "Dewi Santoso");
    QTest::keyClick(h.box("edtNMANGGOTA"), Qt::Key_PageDown);
    QVERIFY(h.focus() == h.button("bbtSaveMember"));
    h.dialogs.clear();
    h.enterByKeyboard(h.button("bbtSaveMember"));
    QVERIFY(h.dialogs.shown.empty());
    QCOMPARE(h.memberField("DEWI.SANTOSO", "NMANGGOTA"), std::string("Dewi Santoso"));
    QCOMPARE(h.memberField("DEWI.SANTOSO", "DOB"), std::string("1899-12-30"));
    QVERIFY(h.focus() == h.memberSearch());
    QVERIFY(h.button("bbtCLOSE")->isVisible());
    QVERIFY(h.button("bbtEditMember")->isVisible());
    QVERIFY(!h.button("bbtSaveMember")->isVisible());
    QVERIFY(!h.button("bbtCopyAddress")->isVisible());
    QCOMPARE(h.box("edtNMANGGOTA")->text(), QString("Dewi Santoso"));

    h.button("bbtCLOSE")->click();
    QVERIFY(h.dialogs.shown.empty());
    QCOMPARE(h.familySearch()->text(), QString());
    QCOMPARE(h.memberSearch()->text(), QString());
    QCOMPARE(h.box("edtKDFKELUARGA")->text(), QString());
    QCOMPARE(h.box("edtKDFANGGOTA")->text(), QString());
    QVERIFY(h.familySearch()->isEnabled());
    QVERIFY(h.focus() == h.familySearch());
    QVERIFY(!h.button("bbtCLOSE")->isVisible());
    QVERIFY(!h.button("bbtEditFamily")->isVisible());
    QVERIFY(!h.button("bbtEditMember")->isVisible());
}

void MemberWindowTest::existingCallNameEndsInDoubleRecord() {
    Harness h(true);
    const auto before = h.rows("tbANGGOTA");
    h.openFamily("RIVERSIDE");
    h.typeInto(h.memberSearch(), "ELDEST");
    h.enter(h.memberSearch());
    QCOMPARE(h.dialogs.texts(),
             (QStringList{"Is: \"ELDEST.RIVERSIDE\" a new MEMBER ?",
                          "Sorry, MEMBER ELDEST just enter by another user.\r"
                          "DoubleRecord not allowed. Not saved yet and try again please."}));
    QCOMPARE(h.rows("tbANGGOTA"), before);
    QVERIFY(h.focus() == h.memberSearch());
    QVERIFY(!h.button("bbtSaveMember")->isVisible());

    // Cancel on the question asks nothing more and writes nothing.
    h.dialogs.clear();
    h.dialogs.confirmAnswers = {false};
    h.enter(h.memberSearch());
    QCOMPARE(h.dialogs.texts(), QStringList{"Is: \"ELDEST.RIVERSIDE\" a new MEMBER ?"});
    QCOMPARE(h.rows("tbANGGOTA"), before);
}

void MemberWindowTest::pickFromTheMemberListOpensItWithThePreview() {
    Harness h(true);
    h.openFamily("RIVERSIDE");
    // A quote typed into the search box stays text.
    QTest::keyClicks(h.memberSearch(), "\" or \"1\"=\"1");
    QVERIFY(h.dialogs.shown.empty());
    QCOMPARE(h.window->memberLookup()->grid()->model()->rowCount(), 0);
    h.memberSearch()->selectAll();
    QTest::keyClick(h.memberSearch(), Qt::Key_Backspace);
    QVERIFY(!h.window->memberLookup()->dropDownVisible());
    QTest::keyClick(h.memberSearch(), Qt::Key_Down);
    QVERIFY(h.window->memberLookup()->dropDownVisible());
    QVERIFY(h.box("edtKDFANGGOTAbaru")->isVisible());
    QTableView* list = h.window->memberLookup()->grid();
    QCOMPARE(list->model()->rowCount(), 2);  // only RIVERSIDE's members
    QVERIFY(h.focus() == list);
    h.enter(list);
    QVERIFY(!h.window->memberLookup()->dropDownVisible());
    QVERIFY(!h.box("edtKDFANGGOTAbaru")->isVisible());
    QCOMPARE(h.box("edtKDFANGGOTA")->text(), QString("ELDEST.RIVERSIDE"));
    QCOMPARE(h.memberSearch()->text(), QString("ELDEST.RIVERSIDE"));
    QCOMPARE(h.box("edtNMANGGOTA")->text(), QString("Eldest RIVERSIDE"));
    QCOMPARE(h.box("edtDENDA")->text(), QString("500"));
    QCOMPARE(h.box("edtDOB")->text(), QString("1899-12-30"));
    QVERIFY(h.focus() == h.button("bbtEditMember"));
    QVERIFY(h.button("bbtDeleteMember")->isVisible());
    QVERIFY(!h.box("edtNMANGGOTA")->isEnabled());
    QVERIFY(h.box("edtEMAIL")->isEnabled());  // not switched by viewing
    h.enter(h.button("bbtEditMember"));
    QVERIFY(h.focus() == h.box("edtNMANGGOTA"));
    QVERIFY(h.button("bbtSaveMember")->isVisible());
}

void MemberWindowTest::familyPickAndFamilyEditOverAnOpenMember() {
    Harness h(true);
    h.typeInto(h.familySearch(), "HAL");
    QTest::keyClick(h.familySearch(), Qt::Key_Down);
    QTableView* list = h.window->familyLookup()->grid();
    QVERIFY(h.focus() == list);
    QCOMPARE(list->model()->rowCount(), 1);
    h.enter(list);
    QCOMPARE(h.familySearch()->text(), QString("HALIM"));
    QCOMPARE(h.box("edtKDFKELUARGA")->text(), QString("HALIM"));
    QVERIFY(!h.familySearch()->isEnabled());
    QVERIFY(h.focus() == h.memberSearch());

    h.typeInto(h.memberSearch(), "ANI.HALIM");
    h.enter(h.memberSearch());
    h.dialogs.confirmAnswers = {false, true};
    h.button("bbtEditFamily")->click();
    QCOMPARE(
        h.dialogs.texts(),
        QStringList{
            "You are still open a member record, close now and continue to edit family record?"});
    QCOMPARE(h.box("edtKDFANGGOTA")->text(), QString("ANI.HALIM"));  // Cancel: nothing changes
    QVERIFY(!h.button("bbtSaveFamily")->isVisible());
    h.button("bbtEditFamily")->click();
    QCOMPARE(h.box("edtKDFANGGOTA")->text(), QString());
    QCOMPARE(h.memberSearch()->text(), QString());
    QVERIFY(!h.button("bbtEditMember")->isVisible());
    QVERIFY(h.button("bbtSaveFamily")->isVisible());
    QVERIFY(!h.window->findChild<QWidget*>("pnlMEMBER")->isEnabled());
    QVERIFY(h.focus() == h.box("edtALAMATkeluarga"));
}

void MemberWindowTest::escapeRules() {
    Harness h(true);
    // Family search box: emptied with the family code, stays focused.
    h.typeInto(h.familySearch(), "RIV");
    QTest::keyClick(h.familySearch(), Qt::Key_Escape);
    QCOMPARE(h.familySearch()->text(), QString());
    QVERIFY(h.familySearch()->isEnabled());
    QVERIFY(h.focus() == h.familySearch());
    QVERIFY(!h.window->familyLookup()->dropDownVisible());
    QVERIFY(h.window->isVisible());

    // Member search box: emptied, back to the family search box.
    h.openFamily("RIVERSIDE");
    QTest::keyClicks(h.memberSearch(), "AN");
    QVERIFY(h.window->memberLookup()->dropDownVisible());
    QTest::keyClick(h.memberSearch(), Qt::Key_Escape);
    QCOMPARE(h.memberSearch()->text(), QString());
    QVERIFY(!h.window->memberLookup()->dropDownVisible());
    QVERIFY(h.familySearch()->isEnabled());
    QVERIFY(h.focus() == h.familySearch());
    QCOMPARE(h.box("edtKDFKELUARGA")->text(), QString());
    QCOMPARE(h.familySearch()->text(), QString("RIVERSIDE"));  // Enter opens it again
    h.enter(h.familySearch());
    QCOMPARE(h.box("edtKDFKELUARGA")->text(), QString("RIVERSIDE"));

    // Member list: the member code box is emptied, focus back to the search box.
    h.typeInto(h.memberSearch(), "ANI.RIVERSIDE");
    h.enter(h.memberSearch());
    QCOMPARE(h.box("edtKDFANGGOTA")->text(), QString("ANI.RIVERSIDE"));
    QTest::keyClick(h.memberSearch(), Qt::Key_Down);
    QTest::keyClick(h.window->memberLookup()->grid(), Qt::Key_Escape);
    QCOMPARE(h.box("edtKDFANGGOTA")->text(), QString());
    QVERIFY(!h.window->memberLookup()->dropDownVisible());
    QVERIFY(h.focus() == h.memberSearch());

    // Member "Edit" button: search box emptied, family panel cleared.
    h.memberSearch()->clear();
    QTest::keyClicks(h.memberSearch(), "ANI.RIVERSIDE");
    h.enter(h.memberSearch());
    h.button("bbtEditMember")->setFocus();
    QTest::keyClick(h.button("bbtEditMember"), Qt::Key_Escape);
    QCOMPARE(h.memberSearch()->text(), QString());
    QCOMPARE(h.box("edtKDFKELUARGA")->text(), QString());
    QCOMPARE(h.box("edtALAMATkeluarga")->text(), QString());
    QVERIFY(h.familySearch()->isEnabled());
    QVERIFY(h.focus() == h.familySearch());
    QVERIFY(h.window->isVisible());
    QVERIFY(h.dialogs.shown.empty());
}

void MemberWindowTest::escapeDoesNotCloseTheWindowOverAnEdit() {
    Harness h(true);
    h.openFamily("RIVERSIDE");
    h.button("bbtEditFamily")->click();
    QTest::keyClick(h.box("edtMRHP"), Qt::Key_Escape);
    QVERIFY(h.window->isVisible());
    h.button("bbtCancelFamily")->click();
    // Out of editing, Escape outside the search boxes leaves the window.
    h.box("edtEMAIL")->setFocus();
    QTest::keyClick(h.box("edtEMAIL"), Qt::Key_Escape);
    QVERIFY(!h.window->isVisible());
    QCOMPARE(h.window->result(), int(QDialog::Rejected));
}

void MemberWindowTest::pageUpPressesCopyAddress() {
    Harness h(true);
    h.openFamily("HALIM");
    h.typeInto(h.memberSearch(), "ANI.HALIM");
    h.enter(h.memberSearch());
    h.button("bbtEditMember")->click();
    h.box("edtALAMAT")->clear();
    h.box("edtTELP")->setText("old");
    // Page Up only in the address and phone boxes.
    QTest::keyClick(h.box("edtNMANGGOTA"), Qt::Key_PageUp);
    QCOMPARE(h.box("edtTELP")->text(), QString("old"));
    h.box("edtTELP")->setFocus();
    QTest::keyClick(h.box("edtTELP"), Qt::Key_PageUp);
    QCOMPARE(h.box("edtALAMAT")->text(), h.box("edtALAMATkeluarga")->text());
    QCOMPARE(h.box("edtTELP")->text(), h.box("edtTELPkeluarga")->text());
    QCOMPARE(h.box("edtTELP")->text(), QString("0274-551003"));
}

void MemberWindowTest::badNumberKeepsTheEditAndWritesNothing() {
    Harness h(true);
    h.openFamily("RIVERSIDE");
    h.typeInto(h.memberSearch(), "ELDEST.RIVERSIDE");
    h.enter(h.memberSearch());
    h.button("bbtEditMember")->click();
    h.box("edtNMANGGOTA")->setText("Renamed");
    h.box("edtDENDA")->setText("1,000");
    h.button("bbtSaveMember")->click();
    QCOMPARE(h.dialogs.shown.size(), size_t(1));
    QCOMPARE(h.dialogs.shown[0].kind, QString("error"));
    QCOMPARE(h.dialogs.last(),
             QString("Denda/penalty: '1,000' is not a valid floating point value\r"
                     "Nothing was saved."));
    QVERIFY(h.focus() == h.box("edtDENDA"));
    QVERIFY(h.button("bbtSaveMember")->isVisible());
    QVERIFY(!h.button("bbtCLOSE")->isVisible());
    QCOMPARE(h.memberField("ELDEST.RIVERSIDE", "NMANGGOTA"), std::string("Eldest RIVERSIDE"));
    QCOMPARE(h.memberField("ELDEST.RIVERSIDE", "DENDA"), std::string("500"));
}

void MemberWindowTest::closeAwayFromTheSearchBoxAsksToSaveFirst() {
    Harness h(true);
    h.openFamily("RIVERSIDE");
    h.typeInto(h.memberSearch(), "ANI.RIVERSIDE");
    h.enter(h.memberSearch());
    h.button("bbtEditMember")->click();
    h.button("bbtSaveMember")->click();
    QVERIFY(h.button("bbtCLOSE")->isVisible());
    h.button("bbtEditMember")->click();
    h.button("bbtCLOSE")->click();
    QCOMPARE(h.dialogs.texts(), QStringList{"save yours editing first please."});
    QCOMPARE(h.box("edtKDFANGGOTA")->text(), QString("ANI.RIVERSIDE"));
    QVERIFY(h.button("bbtSaveMember")->isVisible());

    // CANCELL reopens the member from the search box.
    h.box("edtNMANGGOTA")->setText("Changed");
    h.dialogs.clear();
    h.button("bbtCancelMember")->click();
    QCOMPARE(h.dialogs.texts(), QStringList{"Sorry, ANI.RIVERSIDE not recorded."});
    QCOMPARE(h.box("edtNMANGGOTA")->text(), QString("Ani RIVERSIDE"));
    QCOMPARE(h.memberField("ANI.RIVERSIDE", "NMANGGOTA"), std::string("Ani RIVERSIDE"));
    QVERIFY(h.button("bbtEditMember")->isVisible());
    QVERIFY(h.focus() == h.memberSearch());
}

void MemberWindowTest::deletingFamiliesAndMembers() {
    Harness h(true);
    // A family with members stays.
    h.openFamily("RIVERSIDE");
    h.button("bbtDeleteFamily")->click();
    QCOMPARE(h.dialogs.texts(),
             QStringList{"RIVERSIDE used by Member, may not delete till unused"});
    QCOMPARE(h.rows("tbKELUARGA"), 18);

    // Not while a member is open.
    h.dialogs.clear();
    h.typeInto(h.memberSearch(), "ELDEST.RIVERSIDE");
    h.enter(h.memberSearch());
    h.button("bbtDeleteFamily")->click();
    QCOMPARE(h.dialogs.texts(), QStringList{"Close member first"});

    // Deleting the member: asked without a blank, back to the family choice.
    h.dialogs.clear();
    h.button("bbtDeleteMember")->click();
    QCOMPARE(h.dialogs.texts(), (QStringList{"ELDEST.RIVERSIDEwill delete, are you sure?",
                                             "ELDEST.RIVERSIDE was deleted."}));
    QCOMPARE(h.memberField("ELDEST.RIVERSIDE", "KDFANGGOTA"), std::string("<no row>"));
    QCOMPARE(h.box("edtKDFKELUARGA")->text(), QString());
    QCOMPARE(h.memberSearch()->text(), QString());
    QVERIFY(h.focus() == h.familySearch());
    QVERIFY(!h.button("bbtEditMember")->isVisible());
    QVERIFY(!h.button("bbtEditFamily")->isVisible());

    // A new family without members goes, with both messages.
    h.dialogs.clear();
    h.familySearch()->clear();
    h.openFamily("NEWFAM");
    h.button("bbtSaveFamily")->click();
    h.dialogs.clear();
    h.familySearch()->clear();
    h.openFamily("NEWFAM");
    h.button("bbtDeleteFamily")->click();
    QCOMPARE(h.dialogs.texts(), (QStringList{"NEWFAM unused. And, will be continue to delete",
                                             "NEWFAM was deleted."}));
    QCOMPARE(h.rows("tbKELUARGA"), 18);
    QCOMPARE(h.familySearch()->text(), QString());
    QVERIFY(h.familySearch()->isEnabled());
    QVERIFY(h.focus() == h.familySearch());
}

void MemberWindowTest::doubleClickOnTheDateHintTellsTheAge() {
    Harness h(true);
    h.openFamily("RIVERSIDE");
    h.typeInto(h.memberSearch(), "ANI.RIVERSIDE");
    h.enter(h.memberSearch());
    auto* hint = h.window->findChild<QLabel*>("lblDOB");
    QCOMPARE(hint->text(), QString("(yyyy-mm-dd =i.e: 1899-12-30)"));
    QTest::mouseDClick(hint, Qt::LeftButton);
    QVERIFY(h.dialogs.shown.empty());  // the zero date has no age
    h.box("edtDOB")->setText("2000-05-10");
    QTest::mouseDClick(hint, Qt::LeftButton);
    QCOMPARE(h.dialogs.last(), QString("19 years old"));
    h.clock.set(core::DateTime::fromParts(2020, 5, 10));
    QTest::mouseDClick(hint, Qt::LeftButton);
    QCOMPARE(h.dialogs.last(), QString("20 years old"));
}

void MemberWindowTest::bottomGridCannotMakeOrBreakMembers() {
    Harness h(true);
    auto* grid = h.window->findChild<QTableView*>("dbgANGGOTA");
    auto* nav = h.window->findChild<ui::Navigator*>("nvANGGOTA");
    QVERIFY(grid && nav);
    QCOMPARE(grid->model()->rowCount(), h.rows("tbANGGOTA"));
    QVERIFY(nav->button(ui::Navigator::Next)->isVisible());
    QVERIFY(!nav->button(ui::Navigator::Insert)->isVisible());
    QVERIFY(!nav->button(ui::Navigator::Delete)->isVisible());
    auto* model = grid->model();
    for (int c = 0; c < model->columnCount(); ++c) {
        const QString field = model->headerData(c, Qt::Horizontal).toString();
        const bool editable = model->flags(model->index(0, c)) & Qt::ItemIsEditable;
        QCOMPARE(editable, field != "KDFANGGOTA" && field != "KDFKELUARGA");
    }
    // Other cells are written through the table object, types kept.
    int maxColumn = -1;
    for (int c = 0; c < model->columnCount(); ++c)
        if (model->headerData(c, Qt::Horizontal).toString() == "MAXPINJAM") maxColumn = c;
    QVERIFY(!model->setData(model->index(0, maxColumn), "many", Qt::EditRole));
    QCOMPARE(h.dialogs.shown.size(), size_t(1));
    QCOMPARE(h.dialogs.shown[0].kind, QString("error"));
}

QTEST_MAIN(MemberWindowTest)
#include "tst_member_window.moc"
