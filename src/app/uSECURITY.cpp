#include "app/uSECURITY.h"

#include <QApplication>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "app/access.h"
#include "app/help_files.h"

TfrmSECURITY::TfrmSECURITY(ui::AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName("frmSECURITY");
    setWindowTitle("SECURITY");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setProperty("helpTopic", app::kHelpMain);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("PROGRAM SECURITY", this);
    QFont f = title->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto* form = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName("edtUserName");
    m_password = new QLineEdit(this);
    m_password->setObjectName("edtPassword");
    m_password->setEchoMode(QLineEdit::Password);
    m_level = new QLineEdit(this);
    m_level->setObjectName("edtLevel");
    m_level->setReadOnly(true);
    m_level->setFocusPolicy(Qt::NoFocus);
    m_identifier = new QLineEdit(this);
    m_identifier->setObjectName("edtUserID");
    m_identifier->setReadOnly(true);
    m_identifier->setFocusPolicy(Qt::NoFocus);
    form->addRow("User Name", m_name);
    form->addRow("Password", m_password);
    layout->addLayout(form);
    // The level and identifier boxes sit under the panel until a login shows them.
    m_panel = new QLabel("enter your user name and password", this);
    m_panel->setObjectName("pnlInfo");
    m_panel->setAlignment(Qt::AlignCenter);
    m_panel->setAutoFillBackground(true);
    m_panel->setMinimumHeight(40);
    layout->addWidget(m_panel);
    auto* details = new QFormLayout;
    details->addRow("Level", m_level);
    details->addRow("ID", m_identifier);
    layout->addLayout(details);
    m_name->installEventFilter(this);
    m_password->installEventFilter(this);
    m_name->setFocus();

    if (!ctx.data.dbSETSRV.isOpen()) {
        ctx.data.dbSETSRV.setPassword(app::kDefaultPassword);
        ui::guarded(ctx, this, [&] { ctx.data.dbSETSRV.open(); });
    }
    store::Table& users = ctx.data.table("tbUSER");
    if (!users.isOpen() && ctx.data.dbSETSRV.isOpen())
        ui::guarded(ctx, this, [&] {
            users.setIndexName("iUsername");
            users.open();
        });
}

bool TfrmSECURITY::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (watched == m_name)
                m_password->setFocus();
            else if (watched == m_password)
                tryLogin();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmSECURITY::reject() {
    m_ctx.env.user.becomeGuest();
    QDialog::reject();
}

void TfrmSECURITY::tryLogin() {
    app::LoginOutcome outcome;
    if (!ui::guarded(m_ctx, this, [&] {
            outcome = app::attemptLogin(m_ctx.data.table("tbUSER"), m_ctx.env.user,
                                        ui::ss(m_name->text()), ui::ss(m_password->text()));
        }))
        return;
    m_level->setText(ui::qs(outcome.levelText));
    m_identifier->setText(ui::qs(outcome.identifier));
    if (!outcome.conversionError.empty()) {
        m_ctx.dialogs.error(this, ui::qs(outcome.conversionError));
        return;
    }
    if (!outcome.success) {
        m_ctx.userChanged();
        m_ctx.dialogs.information(this, ui::qs(outcome.failure));
        return;
    }
    QPalette p = m_panel->palette();
    p.setColor(QPalette::Window, QColor(0xC0, 0xFF, 0xC0));
    m_panel->setPalette(p);
    m_panel->setText(ui::qs(outcome.panelText));
    m_ctx.userChanged();
    if (m_welcomeDelay <= 0) {
        accept();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QTimer::singleShot(m_welcomeDelay, this, [this] {
        QApplication::restoreOverrideCursor();
        accept();
    });
}
