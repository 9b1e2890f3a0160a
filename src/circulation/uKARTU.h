#pragma once
// TfrmKARTU: the transaction window at the lending desk: choose a member, then
// lend copies (borrow view) or take them back (return view), with the
// member's loan history beside.

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "circulation/borrowing.h"
#include "ui/context.h"

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMdiSubWindow;
class QPushButton;
class QTableView;
class QToolButton;

namespace store {
class Query;
}
namespace ui {
class Navigator;
class QueryModel;
class TableModel;
class TypeAheadField;
}  // namespace ui

class TfrmKARTU : public QWidget {
    Q_OBJECT
public:
    explicit TfrmKARTU(ui::AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmKARTU() override;

    // The window's steps, as keys and clicks run them.
    // Becoming the active window: no member, no view, focus in the member box.
    void activateWindowState();
    void memberEnter();
    void goClicked();
    void memberPicked(const QString& code);
    void borrowClicked();
    void returnClicked();
    void choiceCancelClicked();
    // Borrow view
    void itemCodeEnter();
    void titlePicked();
    void saveClicked();
    void closeBorrowClicked();
    void cancelBorrowClicked();
    void toggleBorrowHistory();
    // Return view
    void returnCodeEnter();
    void takeBackRow(int row);
    void putBackRow(int row);
    void cancelAllClicked();
    void postClicked();
    void closeReturnClicked();
    void deleteHistoryClicked();

    const std::optional<circulation::Member>& member() const { return m_member; }
    ui::TypeAheadField* memberField() const { return m_memberField; }
    ui::TypeAheadField* titleField() const { return m_titleField; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool loadStaging(const std::function<circulation::StagingLoad()>& load);
    QWidget* buildMemberArea();
    QWidget* buildChoicePanel();
    QWidget* buildBorrowView();
    QWidget* buildReturnView();
    QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                        void (TfrmKARTU::*slot)());
    QLineEdit* readOnlyBox(QWidget* parent, const char* name);
    QHBoxLayout* entryRow(QWidget* view, const char* suffix, QLineEdit*& code, QLineEdit*& title,
                          QLineEdit*& author, QLineEdit*& publisher);

    void chooseMember(const std::string& text, bool keepTypedText);
    void fillMemberPanel(const circulation::Member& m, bool keepTypedText);
    void refreshMemberPanel();
    void clearMember();
    void showChoice();
    void focusChoiceByMode();
    void hideViews();
    void setDisplay(const std::optional<circulation::Copy>& copy);
    void clearDisplay();
    void handleCopy(const circulation::CopyOutcome& outcome, circulation::CopySource source);
    void stage(const circulation::Copy& copy);
    void backToItemCode();
    bool emptyStagingTable(const char* objectName);
    void reloadStaging();
    void loadHistory(const std::string& statement);
    void showCounts();
    void subWindowActivated(QMdiSubWindow* window);
    void closeWindow();

    ui::AppContext& m_ctx;
    std::optional<circulation::Member> m_member;
    QMdiSubWindow* m_lastActive = nullptr;
    bool m_activationConnected = false;

    // Member search and panel
    QWidget* m_searchRow = nullptr;
    QLineEdit* m_edtKDFANGGOTA = nullptr;
    ui::TypeAheadField* m_memberField = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_address = nullptr;
    QLineEdit* m_phone = nullptr;
    QLineEdit* m_mobile = nullptr;
    QLineEdit* m_email = nullptr;
    QLineEdit* m_web = nullptr;
    QLineEdit* m_onLoan = nullptr;
    QLineEdit* m_class = nullptr;
    QLineEdit* m_maxBorrow = nullptr;
    QLineEdit* m_limitDays = nullptr;
    QLineEdit* m_penalty = nullptr;
    QLineEdit* m_librarian = nullptr;
    QLineEdit* m_memberCode = nullptr;
    QLineEdit* m_familyCode = nullptr;

    // Choice panel
    QWidget* m_pnlChoice = nullptr;
    QPushButton* m_btnBORROW = nullptr;
    QPushButton* m_btnRETURN = nullptr;

    // Borrow view
    QWidget* m_pnlBorrow = nullptr;
    QLineEdit* m_edtKDBARANG = nullptr;
    QLineEdit* m_edtTITLE = nullptr;
    QLineEdit* m_edtAUTHOR = nullptr;
    QLineEdit* m_edtPUBLISHER = nullptr;
    QLineEdit* m_edtTITLEsearchBorrow = nullptr;
    ui::TypeAheadField* m_titleField = nullptr;
    QLabel* m_borrowCount = nullptr;
    QTableView* m_dbgKARTUb = nullptr;
    ui::Navigator* m_borrowNavigator = nullptr;
    QPushButton* m_btnSAVE = nullptr;
    QTableView* m_dbgHistoryBorrow = nullptr;

    // Return view
    QWidget* m_pnlReturn = nullptr;
    QLineEdit* m_edtKDBARANGr = nullptr;
    QLineEdit* m_edtTITLEr = nullptr;
    QLineEdit* m_edtAUTHORr = nullptr;
    QLineEdit* m_edtPUBLISHERr = nullptr;
    QLabel* m_openCount = nullptr;
    QLabel* m_returnCount = nullptr;
    QLabel* m_totalPenalty = nullptr;
    QTableView* m_dbgOpenLoans = nullptr;
    QTableView* m_dbgKARTUr = nullptr;
    QTableView* m_dbgHistoryReturn = nullptr;

    // Data shown
    ui::TableModel* m_stagingModel = nullptr;  // tKARTUb, in both views
    ui::TableModel* m_returnModel = nullptr;   // tKARTUr
    // The member's history: a query of this window's own, so no other window
    // can change the statement under the grids.
    std::unique_ptr<store::Query> m_history;
    ui::QueryModel* m_historyModel = nullptr;
};
