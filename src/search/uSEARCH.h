#pragma once
// TfrmSEARCH: the book search, finding copies by title, author, publisher, keyword or code.

#include "search/search_statements.h"
#include "search/uSearchWindow.h"

class TfrmSEARCH : public SearchWindow {
    Q_OBJECT
public:
    explicit TfrmSEARCH(ui::AppContext& ctx, QWidget* parent = nullptr);

    // How the main window opens it: the quick-search text in the search box
    // and the combined search already run.
    void start(const QString& text);

    // One search on the search box's text, as its button runs it.
    void runSearch(search::BookSearch search);

    // The detail window of the current row, shown modally.
    void openDetail();

protected:
    void enterPressed(const QString& text) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
