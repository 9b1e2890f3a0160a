// Key, focus and visibility flows of the member search.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <tuple>

#include "app/uTOVIRAK.h"
#include "search/search_statements.h"
#include "search/uSEARCHM.h"
#include "search_harness.h"
#include "store/query.h"
#include "store/table.h"
#include "ui/grid_models.h"
#include "ui/navigator.h"
#include "ui/windows.h"

using search::MemberSearch;

Q_DECLARE_METATYPE(MemberSearch)

namespace {

// An empty library with four members whose codes tell the searches apart.
struct Harness : testing_support::SearchHarness {
    Harness() : SearchHarness(false) {
        store::Table t(data.dbTOVIRAK, "tANGGOTA");
        t.open();
        for (auto [code, family, name, phone] :
             {std::tuple{"ANI", "ANI", "Ani Wijaya", "0274-1"},
              std::tuple{"DANI.SANTOSO", "SANTOSO", "Dani", "0274-2"},
              std::tuple{"BUDI.SANTOSO", "SANTOSO", "Budi", "ANI-PHONE"},
              std::tuple{"RINA.WATI", "WATI", "Rina", ""}}) {
            t.insert();
            t.setString("KDFANGGOTA", code);
            t.setString("KDFKELUARGA", family);
            t.setString("NMANGGOTA", name);
            t.setString("TELP", phone);
            t.post();
        }
        t.close();
    }
    store::Query& query() { return data.query("tqANGGOTA"); }

    QStringList codesShown(TfrmSEARCHM& w) {
        QStringList out;
        for (int r = 0; r < w.model()->rowCount(); ++r)
            out << w.model()->index(r, 0).data().toString();
        out.sort();
        return out;
    }
};

}  // namespace

class MemberSearchTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithTheCombinedSearch();
    void enterAlwaysLooksForTheWholeMemberCode_data();
    void enterAlwaysLooksForTheWholeMemberCode();
    void buttonsRunTheirSearch_data();
    void buttonsRunTheirSearch();
    void gridAndNavigatorAreReadOnly();
    void keysAndCloseRule();
};

void MemberSearchTest::opensWithTheCombinedSearch() {
    Harness h;
    // The library connection was closed; the window reopens it.
    h.data.dbTOVIRAK.close();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<TfrmSEARCHM*>(QApplication::activeModalWidget());
        QVERIFY(w);
        seen = true;
        QCOMPARE(w->windowTitle(), QString("MEMBER SEARCH"));
        QCOMPARE(w->searchBox()->text(), QString("santoso"));
        QCOMPARE(h.query().sql(), search::memberSearchStatement(MemberSearch::Combined, "santoso"));
        QCOMPARE(h.codesShown(*w), (QStringList{"BUDI.SANTOSO", "DANI.SANTOSO"}));
        // The columns in the documented order, headed by the field names.
        QStringList headers;
        for (int c = 0; c < w->model()->columnCount(); ++c)
            headers << w->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        QCOMPARE(headers,
                 QString("KDFANGGOTA KDFKELUARGA NMANGGOTA ALAMAT TELP HP EMAIL GAMBAR KELAS WEB "
                         "DENDA MAXPINJAM LAMAPINJAM JLHPINJAM DOB")
                     .split(' '));
        w->reject();
    });
    QWidget parent;
    ui::programWindows().memberSearch(*h.ctx, &parent, "santoso");
    QVERIFY(seen);
    QCOMPARE(h.menuChecks, 1);
    QVERIFY(h.data.dbTOVIRAK.isOpen());
    QVERIFY(h.dialogs.shown.empty());
}

void MemberSearchTest::enterAlwaysLooksForTheWholeMemberCode_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("ani: only ANI") << "ani" << QStringList{"ANI"};
    QTest::newRow("a whole code") << " dani.santoso " << QStringList{"DANI.SANTOSO"};
    QTest::newRow("digits too") << "123" << QStringList{};
    QTest::newRow("typed wildcard") << "%.santoso" << QStringList{"BUDI.SANTOSO", "DANI.SANTOSO"};
    QTest::newRow("empty: every member")
        << "" << QStringList{"ANI", "BUDI.SANTOSO", "DANI.SANTOSO", "RINA.WATI"};
}

void MemberSearchTest::enterAlwaysLooksForTheWholeMemberCode() {
    QFETCH(QString, typed);
    QFETCH(QStringList, codes);
    Harness h;
    TfrmSEARCHM w(*h.ctx);
    w.start("");
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.searchBox());
    w.searchBox()->setText(typed);
    QTest::keyClick(w.searchBox(), Qt::Key_Return);
    QCOMPARE(h.query().sql(),
             search::memberSearchStatement(MemberSearch::MemberCode, typed.toStdString()));
    QCOMPARE(h.codesShown(w), codes);
    QCOMPARE(QApplication::focusWidget(), w.findChild<QWidget*>("bbtCariBarcode"));
    QVERIFY(w.isVisible());
}

void MemberSearchTest::buttonsRunTheirSearch_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<MemberSearch>("search");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("FAMILY NAME") << "bbtCariFamily" << MemberSearch::FamilyName
                                 << QStringList{"ANI"};
    QTest::newRow("FAMILIAR NAME")
        << "bbtCariFamiliar" << MemberSearch::FamiliarName << QStringList{"ANI", "DANI.SANTOSO"};
    QTest::newRow("FULL NAME") << "bbtCariFull" << MemberSearch::FullName
                               << QStringList{"ANI", "DANI.SANTOSO"};
    QTest::newRow("ADDRESS") << "bbtCariAddress" << MemberSearch::Address << QStringList{};
    QTest::newRow("Search only in BARCODE")
        << "bbtCariBarcode" << MemberSearch::MemberCode << QStringList{"ANI"};
    // Not BUDI.SANTOSO, whose telephone holds ANI: the phone is not searched.
    QTest::newRow("Family+Familiar+Full+Address")
        << "bbtCariFFFA" << MemberSearch::Combined << QStringList{"ANI", "DANI.SANTOSO"};
}

void MemberSearchTest::buttonsRunTheirSearch() {
    QFETCH(QString, button);
    QFETCH(MemberSearch, search);
    QFETCH(QStringList, codes);
    Harness h;
    TfrmSEARCHM w(*h.ctx);
    w.searchBox()->setText("Ani");
    w.findChild<QPushButton*>(button)->click();
    QCOMPARE(h.query().sql(), search::memberSearchStatement(search, "Ani"));
    QCOMPARE(h.codesShown(w), codes);
}

void MemberSearchTest::gridAndNavigatorAreReadOnly() {
    Harness h;
    TfrmSEARCHM w(*h.ctx);
    w.start("");
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    for (auto b : {ui::Navigator::First, ui::Navigator::Prior, ui::Navigator::Next,
                   ui::Navigator::Last, ui::Navigator::Refresh})
        QVERIFY(!w.navigator()->button(b)->isHidden());
    for (auto b : {ui::Navigator::Insert, ui::Navigator::Delete, ui::Navigator::Edit,
                   ui::Navigator::Post, ui::Navigator::Cancel})
        QVERIFY(w.navigator()->button(b)->isHidden());
    QVERIFY(w.grid()->editTriggers() == QAbstractItemView::NoEditTriggers);

    // Double click opens nothing.
    bool modal = false;
    QTimer::singleShot(0, [&] {
        if (auto* m = QApplication::activeModalWidget(); m && m != &w) {
            modal = true;
            m->close();
        }
    });
    QTest::mouseDClick(w.grid()->viewport(), Qt::LeftButton, {},
                       w.grid()->visualRect(w.model()->index(1, 0)).center());
    QCoreApplication::processEvents();
    QVERIFY(!modal);
    QVERIFY(h.dialogs.shown.empty());

    // Refresh picks up a member added at another workstation.
    h.elsewhere("INSERT INTO tANGGOTA (KDFANGGOTA, KDFKELUARGA) VALUES ('EKO.WATI', 'WATI')");
    w.navigator()->button(ui::Navigator::Refresh)->click();
    QCOMPARE(w.model()->rowCount(), 5);
}

void MemberSearchTest::keysAndCloseRule() {
    Harness h;
    TfrmSEARCHM w(*h.ctx);
    w.start("");
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.searchBox(), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), w.grid());
    w.searchBox()->setFocus();
    QCOMPARE(h.menuChecks, 0);
    QTest::keyClick(w.searchBox(), Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(h.menuChecks, 1);
}

QTEST_MAIN(MemberSearchTest)
#include "tst_member_search.moc"
