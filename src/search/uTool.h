#pragma once
// TfrmTool: the librarian's Tools window of outside catalogue lookups and printing windows.

#include <QDialog>
#include <functional>

#include "search/web_lookup.h"
#include "ui/context.h"

class QLineEdit;
class QPushButton;

// The windows of other subsystems the Tools window opens, each shown modally
// over the given parent. A window not given leaves its button disabled.
struct ToolWindows {
    std::function<void(QWidget*)> labelPrinting;  // "Book Label Printing"
    std::function<void(QWidget*)> cardPrinting;   // "Card Member Printing"
    std::function<void(QWidget*)> withdrawal;     // "Broken Book(Hibah)"
};

class TfrmTool : public QDialog {
    Q_OBJECT
public:
    TfrmTool(ui::AppContext& ctx, ToolWindows windows, QWidget* parent = nullptr);

    // A lookup button: the service's address for the lookup box's text opened
    // in the browser, then the focus back in the lookup box.
    void lookUp(search::LookupService service);

    // "Broken Book(Hibah)": login on demand, the level gate, then the window.
    void openWithdrawal();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openPrinting(const std::function<void(QWidget*)>& window);

    ui::AppContext& m_ctx;
    ToolWindows m_windows;
    QLineEdit* m_edtCari = nullptr;
    QWidget* m_footer = nullptr;
};
