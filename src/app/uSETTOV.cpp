#include "app/uSETTOV.h"

#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableView>
#include <QVBoxLayout>

#include "app/access.h"
#include "app/administration.h"
#include "app/help_files.h"
#include "app/layout_rules.h"
#include "ui/grid_models.h"
#include "ui/navigator.h"

namespace {
QLineEdit* readOnlyBox(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    return e;
}
}  // namespace

TfrmSETTOV::TfrmSETTOV(ui::AppContext& ctx, std::function<void()> openAdmin, std::function<void()> endProgram,
                       QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_openAdmin(std::move(openAdmin)), m_endProgram(std::move(endProgram)) {
    setObjectName("frmSETTOV");
    setWindowTitle("frmSETTOV");
    setProperty("helpTopic", app::kHelpSettings);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("TOVIRAK environment setting", this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    layout->addWidget(title);

    auto button = [this](QWidget* parent, const char* name, const char* caption, void (TfrmSETTOV::*slot)()) {
        auto* b = new QPushButton(caption, parent);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, [this, slot] { (this->*slot)(); });
        return b;
    };

    // Directories
    auto* dirs = new QHBoxLayout;
    layout->addLayout(dirs);
    m_current = new QGroupBox("Current Setting", this);
    auto* currentForm = new QFormLayout(m_current);
    m_currentDirectory = readOnlyBox(m_current, "edtCurrentDirectory");
    m_currentDatabase = readOnlyBox(m_current, "edtCurrentDBF");
    currentForm->addRow("System Directory", m_currentDirectory);
    currentForm->addRow("DataBase location", m_currentDatabase);
    dirs->addWidget(m_current);
    m_buttonColumn = new QWidget(this);
    auto* column = new QVBoxLayout(m_buttonColumn);
    column->addWidget(button(m_buttonColumn, "btnSystemDirectory", "System Directory", &TfrmSETTOV::systemDirectoryClicked));
    column->addWidget(button(m_buttonColumn, "btnDatabaseLocation", "DataBase location", &TfrmSETTOV::databaseLocationClicked));
    column->addWidget(button(m_buttonColumn, "btnSaveDirectory", "Save Directory", &TfrmSETTOV::saveDirectoryClicked));
    dirs->addWidget(m_buttonColumn);
    m_desire = new QGroupBox("Desire Setting", this);
    auto* desireForm = new QFormLayout(m_desire);
    m_edtDirectory = new QLineEdit(m_desire);
    m_edtDirectory->setObjectName("edtDirectory");
    m_edtDBF = new QLineEdit(m_desire);
    m_edtDBF->setObjectName("edtDBF");
    desireForm->addRow("System Directory", m_edtDirectory);
    desireForm->addRow("DataBase location", m_edtDBF);
    dirs->addWidget(m_desire);

    // Users
    auto* users = new QHBoxLayout;
    layout->addLayout(users);
    auto* currentUser = new QGroupBox("Current User", this);
    auto* userForm = new QFormLayout(currentUser);
    m_userName = readOnlyBox(currentUser, "edtUserName");
    m_userLevel = readOnlyBox(currentUser, "edtUserLevel");
    m_userPassword = readOnlyBox(currentUser, "edtUserPassword");
    userForm->addRow("User Name", m_userName);
    userForm->addRow("User Level", m_userLevel);
    userForm->addRow("Password", m_userPassword);
    userForm->addRow(button(currentUser, "btnChangePassword", "Change Password", &TfrmSETTOV::changePasswordClicked));
    users->addWidget(currentUser);

    m_pnlPswd = new QGroupBox("My account", this);
    m_pnlPswd->setObjectName("pnlPswd");
    auto* own = new QFormLayout(m_pnlPswd);
    m_newName = new QLineEdit(m_pnlPswd);
    m_newName->setObjectName("edtNewUserName");
    m_newLevel = readOnlyBox(m_pnlPswd, "edtNewUserLevel");
    m_newPassword = new QLineEdit(m_pnlPswd);
    m_newPassword->setObjectName("edtNewPassword");
    own->addRow("User Name", m_newName);
    own->addRow("User Level", m_newLevel);
    own->addRow("Password", m_newPassword);
    own->addRow(new QLabel(app::kLevelLegend, m_pnlPswd));
    own->addRow(button(m_pnlPswd, "btnSaveChange", "Save Change", &TfrmSETTOV::saveChangeClicked));
    m_pnlPswd->hide();
    users->addWidget(m_pnlPswd);

    m_pnlPswdAdmin = new QGroupBox("Accounts", this);
    m_pnlPswdAdmin->setObjectName("pnlPswdAdmin");
    auto* admin = new QVBoxLayout(m_pnlPswdAdmin);
    auto* adminButtons = new QHBoxLayout;
    adminButtons->addWidget(button(m_pnlPswdAdmin, "btnCloseAdmin", "CLOSE", &TfrmSETTOV::closeAccountsClicked));
    adminButtons->addWidget(button(m_pnlPswdAdmin, "btnOpenAdmin", "Open ADMIN", &TfrmSETTOV::openAdminClicked));
    adminButtons->addStretch();
    admin->addLayout(adminButtons);
    m_pnlPswdAdmin->hide();
    users->addWidget(m_pnlPswdAdmin, 1);

    // Emptying
    auto* emptying = new QGroupBox("Emptying Data", this);
    auto* emptyLayout = new QVBoxLayout(emptying);
    auto* warning = new QLabel(
        "Be carefull to do this job, all data will be lost and canot recovery. So, make sure to make BACKUP fist.",
        emptying);
    warning->setWordWrap(true);
    emptyLayout->addWidget(warning);
    auto* emptyButtons = new QHBoxLayout;
    emptyButtons->addWidget(button(emptying, "btnEmptyAll", "Emptying ALL Data", &TfrmSETTOV::emptyAllClicked));
    emptyButtons->addWidget(button(emptying, "btnEmptyBroken", "Emptying BookBroken Table", &TfrmSETTOV::emptyBookBrokenClicked));
    emptyButtons->addWidget(button(emptying, "btnEmptyHistory", "Emptying History Table", &TfrmSETTOV::emptyHistoryClicked));
    emptyLayout->addLayout(emptyButtons);
    layout->addWidget(emptying);

    // Options
    auto* options = new QGroupBox(this);
    auto* grid = new QGridLayout(options);
    m_language = readOnlyBox(options, "edtLanguage");
    m_startPage = new QCheckBox("Ya", options);
    m_startPage->setObjectName("cbYa");
    m_version = readOnlyBox(options, "edtVersion");
    m_labelOption = new QCheckBox("Blank=NO else YES", options);
    m_labelOption->setObjectName("cbBookLabel");
    grid->addWidget(new QLabel("Language", options), 0, 0);
    grid->addWidget(m_language, 0, 1);
    grid->addWidget(new QLabel("New Version", options), 0, 2);
    grid->addWidget(m_startPage, 0, 3);
    grid->addWidget(new QLabel("Version", options), 1, 0);
    grid->addWidget(m_version, 1, 1);
    grid->addWidget(new QLabel("Auto Insert BookLabel list to print", options), 1, 2);
    grid->addWidget(m_labelOption, 1, 3);
    grid->addWidget(button(options, "btnSave", "Save", &TfrmSETTOV::saveClicked), 1, 4);
    layout->addWidget(options);
    layout->addStretch();
}

void TfrmSETTOV::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fill();
}

void TfrmSETTOV::fill() {
    const app::Environment& env = m_ctx.env;
    m_currentDirectory->setText(ui::qs(env.systemDirectory));
    m_currentDatabase->setText(ui::qs(env.libraryPath));
    m_version->setText(ui::qs(env.version));
    m_language->setText(ui::qs(env.language));
    m_startPage->setChecked(env.startPage == "Y");
    m_userName->setText(ui::qs(env.user.name));
    m_userLevel->setText(QString::number(env.user.level));
    m_userPassword->setText(ui::qs(env.user.password));
    bool ticked = false;
    if (m_ctx.data.dbSETCLT.isOpen()) {
        try {
            ticked = app::labelOptionTicked(m_ctx.data);
        } catch (const std::exception&) {
        }
    }
    m_labelOption->setChecked(ticked);
}

void TfrmSETTOV::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int beside = event->size().width() - m_buttonColumn->sizeHint().width();
    const int w = app::settingsBoxWidth(beside);
    if (w > 0) {
        m_current->setFixedWidth(w);
        m_desire->setFixedWidth(w);
    }
}

void TfrmSETTOV::closeWindow() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void TfrmSETTOV::systemDirectoryClicked() { m_edtDirectory->setText(QDir::currentPath()); }

void TfrmSETTOV::databaseLocationClicked() {
    const QString file =
        m_ctx.dialogs.openFile(this, "DataBase location", QDir::currentPath(), "TOVIRAK files (tovirak.abs TOVIRAK.ABS)");
    if (file.isEmpty()) {
        m_ctx.dialogs.information(this, "Open file was cancelled");
        return;
    }
    m_edtDBF->setText(file);
}

void TfrmSETTOV::saveDirectoryClicked() {
    app::SaveDirectoryOutcome outcome;
    if (!ui::guarded(m_ctx, this, [&] {
            outcome = app::saveDirectory(m_ctx.env, m_ctx.data, ui::ss(m_edtDirectory->text()),
                                         ui::ss(m_edtDBF->text()), m_startPage->isChecked());
        }))
        return;
    if (outcome.refusal) {
        m_ctx.dialogs.information(this, ui::qs(*outcome.refusal));
        return;
    }
    if (outcome.reopenError) {
        m_ctx.dialogs.error(this, ui::qs(*outcome.reopenError));
        return;
    }
    if (outcome.closeWindow) closeWindow();
}

void TfrmSETTOV::saveClicked() {
    ui::guarded(m_ctx, this, [&] { app::saveLabelOption(m_ctx.data, m_labelOption->isChecked()); });
}

void TfrmSETTOV::changePasswordClicked() {
    const app::CurrentUser& user = m_ctx.env.user;
    if (!app::gateAllows(app::GatedCommand::ChangePassword, user)) {
        m_ctx.dialogs.information(this, app::kGuestNeedsNoPassword);
        return;
    }
    if (user.level <= 1) {
        m_pnlPswd->hide();
        if (!m_accounts) {
            store::Table& accounts = m_ctx.data.table("tbUSER");
            if (!accounts.isOpen() && !ui::guarded(m_ctx, this, [&] {
                    accounts.setIndexName("iUsername");
                    accounts.open();
                }))
                return;
            m_accounts = new QTableView(m_pnlPswdAdmin);
            m_accounts->setObjectName("dbgUSER");
            auto* model = new ui::TableModel(accounts, m_accounts);
            model->setEditable(true);
            connect(model, &ui::TableModel::editRefused, this, [this](const QString& m) { m_ctx.dialogs.error(this, m); });
            m_accounts->setModel(model);
            auto* nav = new ui::Navigator(m_accounts, m_ctx.dialogs, m_pnlPswdAdmin);
            // A new account starts with the rights of a guest until its level is set.
            nav->setInsertDefaults({{"USERLEVEL", "9"}});
            m_pnlPswdAdmin->layout()->addWidget(nav);
            m_pnlPswdAdmin->layout()->addWidget(m_accounts);
        } else if (auto* model = qobject_cast<ui::TableModel*>(m_accounts->model())) {
            model->reload();
        }
        m_pnlPswdAdmin->show();
    } else if (user.level != 9) {
        m_newName->setText(ui::qs(user.name));
        m_newPassword->setText(ui::qs(user.password));
        m_newLevel->setText(QString::number(user.level));
        m_pnlPswdAdmin->hide();
        m_pnlPswd->show();
    }
}

void TfrmSETTOV::saveChangeClicked() {
    app::SaveChangeOutcome outcome;
    if (!ui::guarded(m_ctx, this, [&] {
            outcome = app::saveOwnAccount(m_ctx.data.table("tbUSER"), ui::ss(m_userName->text()),
                                          ui::ss(m_userPassword->text()), ui::ss(m_newName->text()),
                                          ui::ss(m_newPassword->text()), ui::ss(m_newLevel->text()));
        }))
        return;
    if (!outcome.message.empty()) m_ctx.dialogs.information(this, ui::qs(outcome.message));
    if (outcome.hidePanels) {
        m_pnlPswd->hide();
        m_pnlPswdAdmin->hide();
    }
}

void TfrmSETTOV::closeAccountsClicked() {
    m_pnlPswd->hide();
    m_pnlPswdAdmin->hide();
}

void TfrmSETTOV::openAdminClicked() {
    if (app::gateAllows(app::GatedCommand::OpenAdmin, m_ctx.env.user)) m_openAdmin();
}

void TfrmSETTOV::emptyOne(const char* tableObject, const char* confirmation, const char* success, const char* failure) {
    if (!app::gateAllows(app::GatedCommand::Emptying, m_ctx.env.user)) {
        m_ctx.dialogs.information(this, app::kOnlyLevelOne);
        return;
    }
    if (!m_ctx.dialogs.confirm(this, confirmation)) return;
    bool emptied = false;
    ui::guarded(m_ctx, this, [&] { emptied = app::emptyTableObject(m_ctx.data, tableObject); });
    m_ctx.dialogs.error(this, emptied ? success : failure);
}

void TfrmSETTOV::emptyBookBrokenClicked() {
    const auto& c = app::kEmptyBookBroken;
    emptyOne(c.tableObject, c.confirmation, c.success, c.failure);
}

void TfrmSETTOV::emptyHistoryClicked() {
    const auto& c = app::kEmptyHistory;
    emptyOne(c.tableObject, c.confirmation, c.success, c.failure);
}

void TfrmSETTOV::emptyAllClicked() {
    if (!app::gateAllows(app::GatedCommand::Emptying, m_ctx.env.user)) {
        m_ctx.dialogs.information(this, app::kOnlyLevelOne);
        return;
    }
    if (!m_ctx.dialogs.confirm(this, app::kEmptyAllQuestion)) return;
    for (const auto& entry : app::emptyAllTables()) {
        bool emptied = false;
        try {
            emptied = app::emptyTableObject(m_ctx.data, entry.tableObject);
        } catch (const std::exception&) {
            emptied = false;
        }
        if (!emptied) m_ctx.dialogs.error(this, entry.failure);
    }
    const std::string dir = m_ctx.env.databaseDirectory;
    app::deleteBitmaps(dir);
    if (m_ctx.dialogs.confirm(this, ui::qs(app::digitalFilesQuestion(dir)))) app::deleteDigitalFiles(dir);
    app::restorePlaceholderPhoto(dir);
    m_ctx.dialogs.information(this, app::kEmptyAllDone);
    ui::guarded(m_ctx, this, [&] { app::compactLibrary(m_ctx.data); });
    m_endProgram();
}
