#pragma once
// TfrmSEARCHM: the member search, finding members by name, address or member code.

#include "search/search_statements.h"
#include "search/uSearchWindow.h"

class TfrmSEARCHM : public SearchWindow {
    Q_OBJECT
public:
    explicit TfrmSEARCHM(ui::AppContext& ctx, QWidget* parent = nullptr);

    // How the main window opens it: the quick-search text in the search box
    // and the combined search already run.
    void start(const QString& text);

    // One search on the search box's text, as its button runs it.
    void runSearch(search::MemberSearch search);

protected:
    void enterPressed(const QString& text) override;
};
