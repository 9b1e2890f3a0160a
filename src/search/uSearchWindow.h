#pragma once
// SearchWindow: the search box, buttons, result grid and close rule both searches share.

#include <QDialog>
#include <string>

#include "ui/context.h"

class QGridLayout;
class QLineEdit;
class QPushButton;
class QTableView;

namespace store {
class Query;
}

namespace ui {
class Navigator;
class QueryModel;
}  // namespace ui

class SearchWindow : public QDialog {
    Q_OBJECT
public:
    QLineEdit* searchBox() const { return m_edtCariJudul; }
    QTableView* grid() const { return m_grid; }
    ui::QueryModel* model() const { return m_model; }
    ui::Navigator* navigator() const { return m_navigator; }

    // Closing runs the main window's menu check, which empties its
    // quick-search box and brings its start panels back when no document
    // window is open.
    void done(int result) override;

protected:
    SearchWindow(ui::AppContext& ctx, store::Query& query, const char* gridName, QWidget* parent);

    // The button beside the search box, then the buttons under "SEARCH IN:",
    // in tab order after the box; the grid comes last.
    QPushButton* addBesideButton(const char* objectName, const QString& caption);
    QPushButton* addSearchInButton(const char* objectName, const QString& caption);
    void finishLayout();

    // Replaces the shared query's statement and opens it. The query is
    // closed before the new statement is set, so a statement the engine
    // refuses leaves the grid empty; the refusal is shown in the error box.
    void runStatement(const std::string& statement);

    // Enter in the search box, after the focus has moved on.
    virtual void enterPressed(const QString& text) = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

    ui::AppContext& m_ctx;
    store::Query& m_query;

private:
    QLineEdit* m_edtCariJudul = nullptr;
    QWidget* m_beside = nullptr;
    QWidget* m_searchIn = nullptr;
    QTableView* m_grid = nullptr;
    ui::QueryModel* m_model = nullptr;
    ui::Navigator* m_navigator = nullptr;
};
