#include "search/uSEARCHM.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/help_files.h"

TfrmSEARCHM::TfrmSEARCHM(ui::AppContext& ctx, QWidget* parent)
    : SearchWindow(ctx, ctx.data.query("tqANGGOTA"), "dbgANGGOTA", parent) {
    setObjectName("frmSEARCHM");
    setWindowTitle("MEMBER SEARCH");
    setProperty("helpTopic", app::kHelpMemberSearch);

    using search::MemberSearch;
    auto wire = [this](QPushButton* button, MemberSearch search) {
        connect(button, &QPushButton::clicked, this, [this, search] { runSearch(search); });
    };
    wire(addBesideButton("bbtCariBarcode", "Search only in BARCODE"), MemberSearch::MemberCode);
    wire(addSearchInButton("bbtCariFamily", "FAMILY NAME"), MemberSearch::FamilyName);
    wire(addSearchInButton("bbtCariFamiliar", "FAMILIAR NAME"), MemberSearch::FamiliarName);
    wire(addSearchInButton("bbtCariFull", "FULL NAME"), MemberSearch::FullName);
    wire(addSearchInButton("bbtCariAddress", "ADDRESS"), MemberSearch::Address);
    wire(addSearchInButton("bbtCariFFFA", "Family+Familiar+Full+Address"), MemberSearch::Combined);
    finishLayout();

    ui::guarded(ctx, this, [&ctx] { ctx.data.ensureLibraryConnected(); });
}

void TfrmSEARCHM::start(const QString& text) {
    searchBox()->setText(text);
    runSearch(search::MemberSearch::Combined);
}

void TfrmSEARCHM::runSearch(search::MemberSearch search) {
    runStatement(search::memberSearchStatement(search, ui::ss(searchBox()->text())));
}

void TfrmSEARCHM::enterPressed(const QString& text) {
    runSearch(search::memberSearchOnEnter(ui::ss(text)));
}
