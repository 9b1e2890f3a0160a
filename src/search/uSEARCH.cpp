#include "search/uSEARCH.h"

#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>

#include "app/help_files.h"
#include "search/book_detail.h"
#include "search/uDetailBuku.h"
#include "store/query.h"

TfrmSEARCH::TfrmSEARCH(ui::AppContext& ctx, QWidget* parent)
    : SearchWindow(ctx, ctx.data.query("tqBUKU"), "dbgBUKU", parent) {
    setObjectName("frmSEARCH");
    setWindowTitle("BOOK SEARCH");
    setProperty("helpTopic", app::kHelpBookSearch);

    using search::BookSearch;
    auto wire = [this](QPushButton* button, BookSearch search) {
        connect(button, &QPushButton::clicked, this, [this, search] { runSearch(search); });
    };
    wire(addBesideButton("bbtCariBarcode", "Search only in BARCODE"), BookSearch::ItemCode);
    wire(addSearchInButton("bbtCariTitle", "TITLE"), BookSearch::Title);
    wire(addSearchInButton("bbtCariAuthor", "AUTHOR"), BookSearch::Author);
    wire(addSearchInButton("bbtCariPublisher", "PUBLISHER"), BookSearch::Publisher);
    wire(addSearchInButton("bbtCariKeyword", "KEYWORD"), BookSearch::Keyword);
    wire(addSearchInButton("bbtCariTAPK", "Title+Author+Publisher+Keyword"), BookSearch::Combined);
    finishLayout();

    // Double click anywhere in the grid, on an empty result too.
    grid()->viewport()->installEventFilter(this);

    // The search itself reads only the shared query; the book table is
    // opened for the windows that expect it open.
    ui::guarded(ctx, this, [&ctx] {
        ctx.data.ensureLibraryConnected();
        ctx.data.openTable("tbBUKU", "iKodeBuku");
    });
}

void TfrmSEARCH::start(const QString& text) {
    searchBox()->setText(text);
    runSearch(search::BookSearch::Combined);
}

void TfrmSEARCH::runSearch(search::BookSearch search) {
    runStatement(search::bookSearchStatement(search, ui::ss(searchBox()->text())));
}

void TfrmSEARCH::enterPressed(const QString& text) {
    runSearch(search::bookSearchOnEnter(ui::ss(text)));
}

void TfrmSEARCH::openDetail() {
    const QModelIndex current = grid()->currentIndex();
    search::BookDetail shown;
    // Reading the row may reach the engine; a failure is shown and nothing opens.
    if (!ui::guarded(m_ctx, this, [&] {
            if (current.isValid() && m_query.isOpen())
                m_query.moveTo(static_cast<std::size_t>(current.row()));
            shown = search::bookDetailOf(m_query);
        }))
        return;
    TfrmDetailBuku detail(m_ctx, shown, this);
    detail.exec();
}

bool TfrmSEARCH::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid()->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // The row under the pointer becomes current; a click beside the rows
        // shows the current one (or empty boxes on an empty result).
        const QModelIndex at =
            grid()->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (at.isValid()) grid()->setCurrentIndex(at);
        openDetail();
        return true;
    }
    return SearchWindow::eventFilter(watched, event);
}
