#pragma once
// TfrmOCLC: the Dewey classification browser inside the program, searched for a book's title.

#include <QDialog>

#include "ui/context.h"

class QLineEdit;

namespace ui {
class OnlineView;
}

class TfrmOCLC : public QDialog {
    Q_OBJECT
public:
    TfrmOCLC(ui::AppContext& ctx, const QString& title, QWidget* parent = nullptr);

    // Navigates the browser to the Dewey browser's search for the box's text.
    void startSearch();
    ui::OnlineView* browser() const { return m_browser; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Every activation searches again.
    void changeEvent(QEvent* event) override;

private:
    QLineEdit* m_edtTITLE = nullptr;
    ui::OnlineView* m_browser = nullptr;
};
