#pragma once
// TfrmSETTOV: the settings window: where the program and the library
// database are, the start-page and label options, passwords and accounts,
// and emptying the library's tables.

#include <QWidget>
#include <functional>

#include "ui/context.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableView;

class TfrmSETTOV : public QWidget {
    Q_OBJECT
public:
    TfrmSETTOV(ui::AppContext& ctx, std::function<void()> openAdmin, std::function<void()> endProgram,
               QWidget* parent = nullptr);

    void systemDirectoryClicked();
    void databaseLocationClicked();
    void saveDirectoryClicked();
    void saveClicked();
    void changePasswordClicked();
    void saveChangeClicked();
    void closeAccountsClicked();
    void openAdminClicked();
    void emptyAllClicked();
    void emptyBookBrokenClicked();
    void emptyHistoryClicked();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fill();
    void emptyOne(const char* tableObject, const char* confirmation, const char* success, const char* failure);
    void closeWindow();

    ui::AppContext& m_ctx;
    std::function<void()> m_openAdmin;
    std::function<void()> m_endProgram;

    QGroupBox* m_current;
    QGroupBox* m_desire;
    QLineEdit* m_currentDirectory;
    QLineEdit* m_currentDatabase;
    QLineEdit* m_edtDirectory;
    QLineEdit* m_edtDBF;
    QLineEdit* m_userName;
    QLineEdit* m_userLevel;
    QLineEdit* m_userPassword;
    QWidget* m_pnlPswd;
    QLineEdit* m_newName;
    QLineEdit* m_newLevel;
    QLineEdit* m_newPassword;
    QWidget* m_pnlPswdAdmin;
    QTableView* m_accounts = nullptr;
    QLineEdit* m_language;
    QLineEdit* m_version;
    QCheckBox* m_startPage;
    QCheckBox* m_labelOption;
    QWidget* m_buttonColumn;
};
