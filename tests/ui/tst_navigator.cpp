// The navigator's post and cancel act on the cell being edited.

#include <QLineEdit>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "store/connection.h"
#include "store/table.h"
#include "support/fixture.h"
#include "support/scripted.h"
#include "ui/grid_models.h"
#include "ui/navigator.h"

class NavigatorTest : public QObject {
    Q_OBJECT
private slots:
    void postCommitsAndCancelDropsTheCellEdit();
};

void NavigatorTest::postCommitsAndCancelDropsTheCellEdit() {
    testing_support::TempInstallation inst;
    testing_support::ScriptedDialogs dialogs;
    store::Connection db("dbSETCLT");
    db.setFileName(inst.workstation());
    db.open();
    store::Table sistem(db, "SISTEM");
    sistem.setIndexName("iVAR");
    sistem.open();
    QWidget window;
    auto* view = new QTableView(&window);
    auto* model = new ui::TableModel(sistem, view);
    model->setEditable(true);
    view->setModel(model);
    ui::Navigator nav(view, dialogs, &window);
    window.resize(600, 300);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QModelIndex cell = model->index(0, 1);  // ISI of the first variable
    const QString before = model->data(cell, Qt::DisplayRole).toString();

    auto typeInto = [&](const QString& text) {
        view->setCurrentIndex(cell);
        view->edit(cell);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
    };
    typeInto("dropped");
    nav.button(ui::Navigator::Cancel)->click();
    QCOMPARE(model->data(cell, Qt::DisplayRole).toString(), before);
    typeInto("kept");
    nav.button(ui::Navigator::Post)->click();
    QCOMPARE(model->data(cell, Qt::DisplayRole).toString(), QString("kept"));
    QVERIFY(sistem.gotoRowId(model->rowIdAt(0)));
    QCOMPARE(sistem.asString("ISI"), std::string("kept"));
}

QTEST_MAIN(NavigatorTest)
#include "tst_navigator.moc"
