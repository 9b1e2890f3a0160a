#pragma once
// TfrmSECURITY: the login window, asking for a user name and password.

#include <QDialog>

#include "ui/context.h"

class QLineEdit;
class QLabel;

class TfrmSECURITY : public QDialog {
    Q_OBJECT
public:
    TfrmSECURITY(ui::AppContext& ctx, QWidget* parent = nullptr);
    // How long the welcome shows before the window closes (one second).
    void setWelcomeDelay(int milliseconds) { m_welcomeDelay = milliseconds; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void tryLogin();

    ui::AppContext& m_ctx;
    QLineEdit* m_name;
    QLineEdit* m_password;
    QLineEdit* m_level;
    QLineEdit* m_identifier;
    QLabel* m_panel;
    int m_welcomeDelay = 1000;
};
