// Key, focus and visibility flows of the book search and the book detail
// window, over the demo library (300 copies).

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/uTOVIRAK.h"
#include "search/book_detail.h"
#include "search/search_statements.h"
#include "search/uDetailBuku.h"
#include "search/uSEARCH.h"
#include "search/web_lookup.h"
#include "search_harness.h"
#include "store/query.h"
#include "support/fixture.h"
#include "support/scripted.h"
#include "ui/grid_models.h"
#include "ui/navigator.h"
#include "ui/windows.h"

using search::BookSearch;
using testing_support::ScriptedDialogs;

Q_DECLARE_METATYPE(BookSearch)

namespace {

// The demo library (300 copies).
struct Harness : testing_support::SearchHarness {
    Harness() : SearchHarness(true) {}
    store::Query& query() { return data.query("tqBUKU"); }
};

template <class T>
T* child(QWidget* w, const char* name) {
    T* found = w->findChild<T*>(name);
    if (!found) qWarning("no child %s", name);
    return found;
}

// Runs `inspect` on the modal window that `open` shows, then lets `open` return.
void whileModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inspect) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        seen = modal != nullptr;
        if (modal) {
            inspect(modal);
            if (modal->isVisible()) modal->close();
        }
    });
    open();
    QVERIFY2(seen, "no modal window appeared");
}

QStringList columnsOf(const QAbstractItemModel* m) {
    QStringList out;
    for (int c = 0; c < m->columnCount(); ++c) out << m->headerData(c, Qt::Horizontal).toString();
    return out;
}

}  // namespace

class BookSearchTest : public QObject {
    Q_OBJECT

private slots:
    void quickSearchOpensItAlreadySearched();
    void enterPicksTheSearchByFirstCharacter_data();
    void enterPicksTheSearchByFirstCharacter();
    void buttonsRunTheirSearch_data();
    void buttonsRunTheirSearch();
    void typedWildcardsTakeEffect();
    void downGoesToGridAndActivationBackToTheBox();
    void escapeClosesAndRestoresTheMainWindow();
    void refusedStatementShowsTheErrorAndLeavesTheGridEmpty();
    void gridLoadsLazilyAndShowsPicturesAsAMarker();
    void navigatorBrowsesAndRefreshRunsTheStatementAgain();
    void doubleClickShowsTheDetailOfTheClickedRow();
    void doubleClickOnAnEmptyResultShowsEmptyBoxes();
    void detailIsReadOnly();
    void detailProductButtons_data();
    void detailProductButtons();
    void locationCoverToggles();
};

void BookSearchTest::quickSearchOpensItAlreadySearched() {
    testing_support::TempInstallation inst(true);
    ScriptedDialogs dialogs;
    testing_support::RecordingOpener opener;
    core::FixedClock clock(core::DateTime::fromParts(2026, 12, 11, 9, 0, 0));
    TfrmTOVIRAK main(dialogs, opener, clock, ui::programWindows(),
                     QString::fromStdString(inst.dir()));
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    auto* quick = child<QLineEdit>(&main, "edtSearchMain");
    QVERIFY(quick);

    // Enter with the text "blyton": the window opens already showing the matches.
    quick->setFocus();
    QTest::keyClicks(quick, "blyton");
    whileModal([&] { QTest::keyClick(quick, Qt::Key_Return); },
               [&](QWidget* w) {
                   auto* s = qobject_cast<TfrmSEARCH*>(w);
                   QVERIFY(s);
                   QCOMPARE(s->windowTitle(), QString("BOOK SEARCH"));
                   QCOMPARE(s->parentWidget(), &main);
                   QCOMPARE(s->searchBox()->text(), QString("blyton"));
                   store::Query& q = main.data().query("tqBUKU");
                   QCOMPARE(q.sql(), search::bookSearchStatement(BookSearch::Combined, "blyton"));
                   QCOMPARE(q.recordCount(), 25);  // every twelfth of the 300 copies
                   QCOMPARE(s->model()->rowCount(), 25);
                   QCOMPARE(s->grid()->currentIndex().row(), 0);
               });
    // Closing it ran the menu check: the quick-search box is empty again.
    QCOMPARE(quick->text(), QString());

    // The BOOK button with an empty box lists every copy.
    whileModal([&] { child<QPushButton>(&main, "btnSearchBook")->click(); },
               [&](QWidget* w) {
                   QVERIFY(qobject_cast<TfrmSEARCH*>(w));
                   QCOMPARE(main.data().query("tqBUKU").recordCount(), 300);
               });
}

void BookSearchTest::enterPicksTheSearchByFirstCharacter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<BookSearch>("search");
    QTest::addColumn<int>("rows");
    QTest::newRow("123: the whole code must be 123") << "123" << BookSearch::ItemCode << 0;
    QTest::newRow("a whole item code") << "1202611020007" << BookSearch::ItemCode << 1;
    QTest::newRow("leading blank") << "  1202611020007" << BookSearch::ItemCode << 1;
    QTest::newRow("a word") << "Harry" << BookSearch::Combined << 0;
    QTest::newRow("a code fragment goes to the combined search")
        << "x02611020007" << BookSearch::Combined << 0;
    QTest::newRow("empty: every copy") << "" << BookSearch::Combined << 300;
}

void BookSearchTest::enterPicksTheSearchByFirstCharacter() {
    QFETCH(QString, typed);
    QFETCH(BookSearch, search);
    QFETCH(int, rows);
    Harness h;
    TfrmSEARCH w(*h.ctx);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.searchBox());
    w.searchBox()->setText(typed);
    QTest::keyClick(w.searchBox(), Qt::Key_Return);
    QCOMPARE(h.query().sql(), search::bookSearchStatement(search, typed.toStdString()));
    QCOMPARE(h.query().recordCount(), rows);
    // Enter moved the focus on to the next control and was not passed on.
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(&w, "bbtCariBarcode"));
    QVERIFY(w.isVisible());
    QVERIFY(h.dialogs.shown.empty());
}

void BookSearchTest::buttonsRunTheirSearch_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<BookSearch>("search");
    QTest::addColumn<int>("rows");
    // "ROWLING" is an author; "1202611160" begins the codes of the second day.
    QTest::newRow("TITLE") << "bbtCariTitle" << BookSearch::Title << 0;
    QTest::newRow("AUTHOR") << "bbtCariAuthor" << BookSearch::Author << 25;
    QTest::newRow("PUBLISHER") << "bbtCariPublisher" << BookSearch::Publisher << 0;
    QTest::newRow("KEYWORD") << "bbtCariKeyword" << BookSearch::Keyword << 0;
    QTest::newRow("Search only in BARCODE") << "bbtCariBarcode" << BookSearch::ItemCode << 0;
    QTest::newRow("Title+Author+Publisher+Keyword") << "bbtCariTAPK" << BookSearch::Combined << 25;
}

void BookSearchTest::buttonsRunTheirSearch() {
    QFETCH(QString, button);
    QFETCH(BookSearch, search);
    QFETCH(int, rows);
    Harness h;
    TfrmSEARCH w(*h.ctx);
    w.searchBox()->setText(" rowling ");
    child<QPushButton>(&w, button.toLatin1().constData())->click();
    QCOMPARE(h.query().sql(), search::bookSearchStatement(search, "rowling"));
    QCOMPARE(h.query().recordCount(), rows);
    QCOMPARE(w.model()->rowCount(), rows);
}

void BookSearchTest::typedWildcardsTakeEffect() {
    Harness h;
    TfrmSEARCH w(*h.ctx);
    // Titles with a "J" and later a "V", such as "... from Java".
    w.searchBox()->setText("j%v");
    child<QPushButton>(&w, "bbtCariTitle")->click();
    QVERIFY(w.model()->rowCount() > 0);
    QVERIFY(w.model()->rowCount() < 256);
    const int title = columnsOf(w.model()).indexOf("TITLE");
    const QRegularExpression jThenV("J.*V", QRegularExpression::CaseInsensitiveOption);
    for (int r = 0; r < w.model()->rowCount(); ++r)
        QVERIFY(jThenV.match(w.model()->index(r, title).data().toString()).hasMatch());
    // A code with any last digit: the ten copies 1202611020010 to ...019.
    w.searchBox()->setText("120261102001_");
    child<QPushButton>(&w, "bbtCariBarcode")->click();
    QCOMPARE(w.model()->rowCount(), 10);
}

void BookSearchTest::downGoesToGridAndActivationBackToTheBox() {
    Harness h;
    TfrmSEARCH w(*h.ctx);
    w.start("");
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.searchBox(), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), w.grid());

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.searchBox());
}

void BookSearchTest::escapeClosesAndRestoresTheMainWindow() {
    Harness h;
    TfrmSEARCH w(*h.ctx);
    w.start("");
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(h.menuChecks, 0);
    QTest::keyClick(w.searchBox(), Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(h.menuChecks, 1);
    // The shared query keeps the last statement and result.
    QVERIFY(h.query().isOpen());
    QCOMPARE(h.query().sql(), std::string("SELECT * FROM tBUKU"));
}

void BookSearchTest::refusedStatementShowsTheErrorAndLeavesTheGridEmpty() {
    Harness h;
    TfrmSEARCH w(*h.ctx);
    w.start("");
    QCOMPARE(w.model()->rowCount(), 256);
    // Another workstation takes the table away; the engine refuses the statement.
    h.elsewhere("ALTER TABLE tBUKU RENAME TO tBUKU_gone");
    w.searchBox()->setText("sea");
    child<QPushButton>(&w, "bbtCariTitle")->click();
    QCOMPARE(h.dialogs.shown.size(), size_t(1));
    QCOMPARE(h.dialogs.shown[0].kind, QString("error"));
    QVERIFY(!h.query().isOpen());
    QCOMPARE(w.model()->rowCount(), 0);
    // Refresh on the closed query reports again and keeps the grid empty.
    w.navigator()->run(ui::Navigator::Refresh);
    QCOMPARE(w.model()->rowCount(), 0);
    // The detail of no row is a window of empty boxes.
    whileModal([&] { w.openDetail(); },
               [&](QWidget* d) { QCOMPARE(child<QLineEdit>(d, "edtTITLE")->text(), QString()); });
}

void BookSearchTest::gridLoadsLazilyAndShowsPicturesAsAMarker() {
    Harness h;
    h.elsewhere("UPDATE tBUKU SET GAMBAR = x'89504E470D0A1A0A00' WHERE KDBARANG = '1202611020001'");
    TfrmSEARCH w(*h.ctx);
    w.start("");
    // One page is read at opening; the rest as the grid scrolls.
    QCOMPARE(w.model()->rowCount(), 256);
    QVERIFY(w.model()->canFetchMore({}));
    const QStringList expected =
        QString(
            "JENIS TITLE AUTHOR PUBLISHER OC CNKLS CNRAK CNBRS CNTG CNNUM UDC KELAS USIA ISBN "
            "GAMBAR STATUS "
            "KONDISI TGBELI SHARGA NMTOKO NMDONATUR KDANGGOTA KDFANGGOTA PTGSNEW IO KEYWORD "
            "KDBARANG DDC BAHASA "
            "SIMPANFILE TGNEW TGEDIT PTGSEDIT KDPETUGASB KDPETUGASR TGPINJAM TGJANJI TGKEMBALI")
            .split(' ');
    QCOMPARE(columnsOf(w.model()), expected);
    QVERIFY(w.grid()->editTriggers() == QAbstractItemView::NoEditTriggers);

    w.searchBox()->setText("1202611020001");
    QTest::keyClick(w.searchBox(), Qt::Key_Return);
    QCOMPARE(w.model()->rowCount(), 1);
    QCOMPARE(w.model()->index(0, expected.indexOf("GAMBAR")).data().toString(),
             QString("(picture)"));
    QCOMPARE(w.model()->index(0, expected.indexOf("KDBARANG")).data().toString(),
             QString("1202611020001"));
}

void BookSearchTest::navigatorBrowsesAndRefreshRunsTheStatementAgain() {
    Harness h;
    TfrmSEARCH w(*h.ctx);
    w.start("");
    ui::Navigator* nav = w.navigator();
    for (auto b : {ui::Navigator::First, ui::Navigator::Prior, ui::Navigator::Next,
                   ui::Navigator::Last, ui::Navigator::Refresh})
        QVERIFY(!nav->button(b)->isHidden());
    for (auto b : {ui::Navigator::Insert, ui::Navigator::Delete, ui::Navigator::Edit,
                   ui::Navigator::Post, ui::Navigator::Cancel})
        QVERIFY(nav->button(b)->isHidden());

    nav->button(ui::Navigator::Next)->click();
    QCOMPARE(w.grid()->currentIndex().row(), 1);
    QCOMPARE(h.query().recNo(), size_t(1));
    nav->button(ui::Navigator::Last)->click();
    QCOMPARE(w.grid()->currentIndex().row(), 299);
    QCOMPARE(h.query().asString("KDBARANG"), std::string("1202611160150"));

    h.elsewhere(
        "INSERT INTO tBUKU (JENIS, KDBARANG, TITLE) VALUES ('1', '1202612110001', 'New Arrival')");
    nav->button(ui::Navigator::Refresh)->click();
    QCOMPARE(h.query().recordCount(), 301);
    nav->button(ui::Navigator::Last)->click();
    QCOMPARE(w.grid()->currentIndex().row(), 300);
    QCOMPARE(h.query().asString("TITLE"), std::string("New Arrival"));
}

void BookSearchTest::doubleClickShowsTheDetailOfTheClickedRow() {
    Harness h;
    TfrmSEARCH w(*h.ctx);
    w.start("");
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const int code = columnsOf(w.model()).indexOf("KDBARANG");
    const QString expected = w.model()->index(3, code).data().toString();
    const QPoint at = w.grid()->visualRect(w.model()->index(3, 1)).center();
    whileModal([&] { QTest::mouseDClick(w.grid()->viewport(), Qt::LeftButton, {}, at); },
               [&](QWidget* d) {
                   QVERIFY(qobject_cast<TfrmDetailBuku*>(d));
                   QCOMPARE(d->windowTitle(), QString("Detail Book"));
                   QCOMPARE(child<QLineEdit>(d, "edtKDBARANG")->text(), expected);
                   QCOMPARE(child<QLineEdit>(d, "edtTITLE")->text(),
                            QString::fromStdString(h.query().asString("TITLE")).trimmed());
                   QCOMPARE(child<QLineEdit>(d, "edtAUTHOR2")->text(),
                            child<QLineEdit>(d, "edtAUTHOR")->text());
               });
    // Back in the search with the same result and current row.
    QCOMPARE(w.grid()->currentIndex().row(), 3);
    QCOMPARE(w.model()->rowCount(), 256);
    QVERIFY(w.isVisible());
}

void BookSearchTest::doubleClickOnAnEmptyResultShowsEmptyBoxes() {
    Harness h;
    TfrmSEARCH w(*h.ctx);
    w.start("no such book at all");
    QCOMPARE(w.model()->rowCount(), 0);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    whileModal(
        [&] { QTest::mouseDClick(w.grid()->viewport(), Qt::LeftButton, {}, QPoint(20, 20)); },
        [&](QWidget* d) {
            for (auto* box : d->findChildren<QLineEdit*>()) QCOMPARE(box->text(), QString());
        });
}

namespace {
search::BookDetail sampleDetail() {
    search::BookDetail d;
    d.title = "The Old Man";
    d.author = "Hemingway";
    d.publisher = "";
    d.itemCode = "1202611020002";
    d.room = "LIB";
    d.rack = "R01";
    d.row = "002";
    d.isbn = "978-0-684-80122-3";
    d.age = "12";
    return d;
}
}  // namespace

void BookSearchTest::detailIsReadOnly() {
    Harness h;
    TfrmDetailBuku d(*h.ctx, sampleDetail());
    auto* panel = child<QFrame>(&d, "pnlDetail");
    QVERIFY(!panel->isEnabled());
    const auto boxes = d.findChildren<QLineEdit*>();
    QCOMPARE(boxes.size(), 20);
    for (auto* box : boxes) QVERIFY2(!box->isEnabled(), qPrintable(box->objectName()));
    QCOMPARE(child<QLineEdit>(&d, "edtUSIA")->text(), QString("12"));
    QCOMPARE(child<QLineEdit>(&d, "edtCNRAK")->text(), QString("R01"));
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QTest::keyClick(&d, Qt::Key_Escape);
    QVERIFY(!d.isVisible());
}

void BookSearchTest::detailProductButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("opened");   // the text looked up, empty when nothing opens
    QTest::addColumn<QString>("message");  // the message shown instead
    QTest::newRow("TITLE") << "bbtWebTitle"
                           << "The Old Man"
                           << "";
    QTest::newRow("AUTHOR") << "bbtWebAuthor"
                            << "Hemingway"
                            << "";
    QTest::newRow("PUBLISHER blank") << "bbtWebPublisher"
                                     << ""
                                     << "PUBLISHER blank";
    QTest::newRow("ISBN") << "bbtWebISBN"
                          << "978-0-684-80122-3"
                          << "";
}

void BookSearchTest::detailProductButtons() {
    QFETCH(QString, button);
    QFETCH(QString, opened);
    QFETCH(QString, message);
    Harness h;
    TfrmDetailBuku d(*h.ctx, sampleDetail());
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    auto* pressed = child<QPushButton>(&d, button.toLatin1().constData());
    pressed->setFocus();
    QTest::keyClick(pressed, Qt::Key_Space);
    if (message.isEmpty()) {
        QCOMPARE(h.opener.urls, QStringList{QString::fromStdString(
                                    search::productSearchAddress(opened.toStdString()))});
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(&d, "bbtWebISBN"));
        QVERIFY(h.dialogs.shown.empty());
    } else {
        QVERIFY(h.opener.urls.isEmpty());
        QCOMPARE(h.dialogs.texts(), QStringList{message});
        QCOMPARE(QApplication::focusWidget(), pressed);
    }
}

void BookSearchTest::locationCoverToggles() {
    Harness h;
    TfrmDetailBuku d(*h.ctx, sampleDetail());
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    auto* cover = child<QFrame>(&d, "pnlCover");
    auto rectIn = [&](const char* name) {
        QWidget* box = child<QWidget>(&d, name);
        return QRect(box->mapTo(&d, QPoint(0, 0)), box->size());
    };
    auto covered = [&](const char* name) { return cover->geometry().contains(rectIn(name)); };
    QCOMPARE(cover->width(), 50);
    QVERIFY(!covered("edtCNKLS") && !covered("edtCNRAK") && !covered("edtCNBRS"));
    // The narrow area lies at the left end of the location row, left of the boxes.
    QVERIFY(cover->geometry().right() < rectIn("edtCNKLS").left());

    QTest::mouseClick(cover, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(cover->width(), 250);
    QVERIFY(covered("edtCNKLS") && covered("edtCNRAK") && covered("edtCNBRS"));
    QVERIFY(!covered("edtKDBARANG"));

    QTest::mouseClick(cover, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(cover->width(), 50);
    QVERIFY(!covered("edtCNKLS"));
}

QTEST_MAIN(BookSearchTest)
#include "tst_book_search.moc"
