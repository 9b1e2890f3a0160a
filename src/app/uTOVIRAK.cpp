#include "app/uTOVIRAK.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/diagnostics.h"
#include "app/help_files.h"
#include "app/layout_rules.h"
#include "app/uABOUT.h"
#include "app/uSECURITY.h"
#include "app/uSETTOV.h"
#include "ui/grid_models.h"
#include "ui/help_viewer.h"
#include "ui/navigator.h"
#include "ui/online_view.h"

namespace {

constexpr const char* kStartPage = "https://openlibrary.org/";
constexpr const char* kBackupAdvice =
    "Didn`t have Backup menu\rWe recommend the free backup program Deja Dup (Debian package "
    "\"deja-dup\"): back up the folder of the library database every day.\rDownload: "
    "https://apps.gnome.org/DejaDup/";

QPixmap coverPicture(int index) {
    static const QColor colours[] = {QColor(0x8B, 0x1E, 0x3F), QColor(0x1F, 0x4E, 0x79), QColor(0x2E, 0x7D, 0x32),
                                     QColor(0xB2, 0x6B, 0x00), QColor(0x4A, 0x14, 0x8C)};
    QPixmap p(120, 170);
    p.fill(colours[index % 5]);
    QPainter painter(&p);
    painter.setPen(QPen(QColor(255, 255, 255, 160), 3));
    painter.drawRect(8, 8, 104, 154);
    painter.fillRect(20, 40, 80, 6, QColor(255, 255, 255, 180));
    painter.fillRect(20, 54, 60, 4, QColor(255, 255, 255, 140));
    return p;
}

QPixmap flagPicture(bool english) {
    QPixmap p(36, 24);
    QPainter painter(&p);
    if (english) {
        p.fill(QColor(0x01, 0x21, 0x69));
        painter.setPen(QPen(Qt::white, 5));
        painter.drawLine(0, 0, 36, 24);
        painter.drawLine(36, 0, 0, 24);
        painter.setPen(QPen(QColor(0xC8, 0x10, 0x2E), 2));
        painter.drawLine(0, 0, 36, 24);
        painter.drawLine(36, 0, 0, 24);
        painter.fillRect(14, 0, 8, 24, Qt::white);
        painter.fillRect(0, 8, 36, 8, Qt::white);
        painter.fillRect(16, 0, 4, 24, QColor(0xC8, 0x10, 0x2E));
        painter.fillRect(0, 10, 36, 4, QColor(0xC8, 0x10, 0x2E));
    } else {
        painter.fillRect(0, 0, 36, 12, QColor(0xCE, 0x11, 0x26));
        painter.fillRect(0, 12, 36, 12, Qt::white);
    }
    return p;
}

}  // namespace

TfrmTOVIRAK::TfrmTOVIRAK(ui::Dialogs& dialogs, ui::Opener& opener, const core::Clock& clock,
                         WindowFactories factories, const QString& currentDirectory, QWidget* parent)
    : QMainWindow(parent), m_factories(std::move(factories)) {
    m_ctx = std::make_unique<ui::AppContext>(ui::AppContext{m_data, m_env, dialogs, opener, clock});
    m_ctx->menuCheck = [this] { menuCheck(); };
    m_ctx->login = [this](QWidget*) { showLogin(); };
    m_ctx->userChanged = [this] { updateUserLabel(); };
    endProgram = [] { QApplication::quit(); };

    setObjectName("frmTOVIRAK");
    setWindowTitle("VUDAZOZEZIVE");
    // No system menu and no title-bar buttons: the program ends through Exit only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setProperty("helpTopic", app::kHelpMain);

    buildMenus();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);
    buildTopPanel();
    layout->addWidget(m_pnlTOP);
    buildDiagnosticPanel();
    layout->addWidget(m_pnlVAR, 1);
    buildStartArea();
    layout->addWidget(m_pnlOnline, 1);
    layout->addWidget(m_pnlOffline, 1);
    m_mdi = new QMdiArea(central);
    m_mdi->setObjectName("mdiArea");
    m_mdi->setVisible(false);
    layout->addWidget(m_mdi, 1);
    statusBar()->setObjectName("StatusBar");
    buildExitPanels();

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::ApplicationShortcut);
    connect(help, &QShortcut::activated, this, &TfrmTOVIRAK::showContextHelp);

    // Start-up, in its order; the messages are shown as the user would meet them.
    m_startup = app::startUp(m_env, m_data, currentDirectory.toStdString());
    // A start that did not reach the anonymous user (missing library file,
    // unreadable workstation or user database) offers only the settings
    // window, About, help and Exit until the next start.
    m_limited = m_startup.stoppedEarly || m_env.user.isUnset();
    arrangeStartArea();
    applyAvailability();
    showStartupMessages();
    if (m_startup.folderCreationFailed) {
        openDocument(Document::Settings,
                     new TfrmSETTOV(*m_ctx, [this] { commandOpenAdmin(); }, [this] { endProgram(); }));
        QTimer::singleShot(0, this, [this] { endProgram(); });
    }
    m_edtSearchMain->setFocus();
}

TfrmTOVIRAK::~TfrmTOVIRAK() {
    // Document windows go before the data module they work on.
    for (auto& [doc, sub] : m_documents) sub->disconnect(this);
    m_mdi->closeAllSubWindows();
}

void TfrmTOVIRAK::showStartupMessages() {
    for (const auto& m : m_startup.messages) {
        if (m.kind == app::Message::Kind::Error)
            m_ctx->dialogs.error(this, ui::qs(m.text));
        else
            m_ctx->dialogs.information(this, ui::qs(m.text));
    }
}

void TfrmTOVIRAK::buildMenus() {
    QMenuBar* bar = menuBar();
    auto addMenu = [&](const char* title, const char* hint, const char* name, QMenu** out = nullptr) {
        QMenu* menu = bar->addMenu(title);
        menu->setObjectName(QString(name) + "Menu");
        menu->menuAction()->setObjectName(name);
        menu->menuAction()->setStatusTip(hint);
        menu->setToolTipsVisible(true);
        if (out) *out = menu;
        return menu;
    };
    auto item = [&](QMenu* menu, const char* title, const char* name, void (TfrmTOVIRAK::*slot)()) {
        QAction* a = menu->addAction(title);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
        return a;
    };
    QMenu* file = addMenu("&FILE", "Set-Up", "mnFILE");
    m_mnFILE = file->menuAction();
    m_mnSet = item(file, "&Set", "mnSet", &TfrmTOVIRAK::commandSettings);
    m_mnBackup = item(file, "&Backup", "mnBackup", &TfrmTOVIRAK::commandBackup);
    m_mnLogOut = item(file, "Log &Out", "mnLogOut", &TfrmTOVIRAK::commandLogOut);
    m_mnExit = item(file, "E&xit", "mnExit", &TfrmTOVIRAK::commandExit);

    QMenu* search = addMenu("&SEARCH", "Book Search", "mnSEARCH");
    m_mnSEARCH = search->menuAction();
    m_mnSearchBook = search->addAction("&BOOK");
    m_mnSearchBook->setObjectName("mnSearchBook");
    connect(m_mnSearchBook, &QAction::triggered, this, [this] { commandBookSearch(true); });
    m_mnSearchMember = item(search, "&MEMBER", "mnSearchMember", &TfrmTOVIRAK::commandMemberSearch);
    m_mnSearchDigital = item(search, "&DIGITAL MULTYMEDIA", "mnSearchDigital", &TfrmTOVIRAK::commandDigitalSearch);

    QMenu* trans = addMenu("&TRANSACTION", "Borrow & Return", "mnTRANSACTION");
    m_mnTRANSACTION = trans->menuAction();
    m_mnBorrow = item(trans, "&BORROW", "mnBorrow", &TfrmTOVIRAK::commandBorrow);
    m_mnReturn = item(trans, "&RETURN", "mnReturn", &TfrmTOVIRAK::commandReturn);

    QMenu* input = addMenu("&INPUTDATA", "Input data of Books", "mnINPUTDATA");
    m_mnINPUTDATA = input->menuAction();
    m_mnInputBook = item(input, "&BOOK", "mnInputBook", &TfrmTOVIRAK::commandBookEntry);
    m_mnInputMember = item(input, "&MEMBER", "mnInputMember", &TfrmTOVIRAK::commandMembers);
    m_mnInputDigital = item(input, "&DIGITAL MULTYMEDIA", "mnInputDigital", &TfrmTOVIRAK::commandDigitalEntry);

    QMenu* report = addMenu("&REPORT", "Report", "mnREPORT");
    m_mnREPORT = report->menuAction();
    m_mnGeneralReport = item(report, "&General Report", "mnGeneralReport", &TfrmTOVIRAK::commandReport);
    // These two exist hidden and do nothing.
    m_mnBookLabel = report->addAction("Book &Label");
    m_mnBookLabel->setObjectName("mnBookLabel");
    m_mnBookLabel->setVisible(false);
    m_mnMemberCard = report->addAction("Member &Card");
    m_mnMemberCard->setObjectName("mnMemberCard");
    m_mnMemberCard->setVisible(false);

    m_mnTOOL = bar->addAction("T&OOL");
    m_mnTOOL->setObjectName("mnTOOL");
    connect(m_mnTOOL, &QAction::triggered, this, &TfrmTOVIRAK::commandTools);
    m_mnHELP = bar->addAction("&HELP");
    m_mnHELP->setObjectName("mnHELP");
    m_mnHELP->setStatusTip("Help me");
    connect(m_mnHELP, &QAction::triggered, this, &TfrmTOVIRAK::commandHelp);
    m_mnABOUT = bar->addAction("&ABOUT");
    m_mnABOUT->setObjectName("mnABOUT");
    m_mnABOUT->setStatusTip("About Me");
    connect(m_mnABOUT, &QAction::triggered, this, &TfrmTOVIRAK::commandAbout);
}

void TfrmTOVIRAK::buildTopPanel() {
    m_pnlTOP = new QFrame(this);
    m_pnlTOP->setObjectName("pnlTOP");
    m_pnlTOP->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(m_pnlTOP);
    row->setSpacing(4);
    row->setContentsMargins(4, 2, 4, 2);
    auto group = [&](const char* caption) {
        auto* box = new QFrame(m_pnlTOP);
        box->setFrameShape(QFrame::StyledPanel);
        auto* v = new QVBoxLayout(box);
        v->setContentsMargins(4, 2, 4, 2);
        auto* title = new QLabel(caption, box);
        title->setAlignment(Qt::AlignCenter);
        v->addWidget(title);
        auto* h = new QHBoxLayout;
        v->addLayout(h);
        row->addWidget(box);
        return h;
    };
    auto button = [&](QHBoxLayout* into, const char* name, const char* caption, const char* hint,
                      std::function<void()> action) {
        auto* b = new QPushButton(caption, m_pnlTOP);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setMinimumHeight(36);
        // Compact enough for the whole panel to fit a 1280-pixel screen.
        const int w = b->fontMetrics().horizontalAdvance(caption) + 22;
        b->setFixedWidth(std::max(w, 36));
        connect(b, &QPushButton::clicked, this, std::move(action));
        into->addWidget(b);
        m_topButtons[name] = b;
        return b;
    };
    QHBoxLayout* search = group("SEARCH");
    m_edtSearchMain = new QLineEdit(m_pnlTOP);
    m_edtSearchMain->setObjectName("edtSearchMain");
    m_edtSearchMain->setMinimumWidth(120);
    m_edtSearchMain->setMaximumWidth(220);
    m_edtSearchMain->setPlaceholderText("title, author, code...");
    m_edtSearchMain->installEventFilter(this);
    search->addWidget(m_edtSearchMain);
    button(search, "btnSearchBook", "BOOK", "Phisic need barcode", [this] { commandBookSearch(); });
    button(search, "btnSearchMember", "MEMBER", "Member", [this] { commandMemberSearch(); });
    button(search, "btnSearchDigital", "DIGITAL", "Digital file in the LAN or in the cloud", [this] { commandDigitalSearch(); });
    QHBoxLayout* trans = group("TRANSACTION");
    button(trans, "btnBorrow", "BORROW", "Borrow", [this] { commandBorrow(); });
    button(trans, "btnReturn", "RETURN", "Return", [this] { commandReturn(); });
    QHBoxLayout* input = group("INPUT DATA");
    button(input, "btnInputBook", "BOOK", "Phisic need barcode", [this] { commandBookEntry(); });
    button(input, "btnInputMember", "MEMBER", "Member", [this] { commandMembers(); });
    button(input, "btnInputDigital", "DIGITAL", "Digital file in the LAN or in the cloud", [this] { commandDigitalEntry(); });
    QHBoxLayout* report = group("report");
    button(report, "btnReport", "REPORT", "Report and Print", [this] { commandReport(); });
    row->addStretch();
    auto flag = [&](const char* name, bool english, const char* hint) {
        auto* b = new QToolButton(m_pnlTOP);
        b->setObjectName(name);
        b->setIcon(flagPicture(english));
        b->setIconSize(QSize(36, 24));
        b->setToolTip(hint);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [this, english] { commandHelpLanguage(english); });
        row->addWidget(b);
    };
    flag("imgEnglish", true, "English Language");
    flag("imgIndonesia", false, "Bahasa Indonesia");
    m_lblUSER = new QLabel("GUEST", m_pnlTOP);
    m_lblUSER->setObjectName("lblUSER");
    row->addWidget(m_lblUSER);
    auto* right = new QHBoxLayout;
    row->addLayout(right);
    button(right, "btnLogOut", "LogOUT", "LogOUT", [this] { commandLogOut(); });
    button(right, "btnRestore", "-", "Minimize", [this] { showNormal(); });
    button(right, "btnMaximize", "[+]", "Maximize", [this] { showMaximized(); });
    button(right, "btnExit", "X", "Exit", [this] { commandExit(); });
}

void TfrmTOVIRAK::buildStartArea() {
    m_pnlOnline = new QWidget(this);
    m_pnlOnline->setObjectName("pnlOnline");
    new QVBoxLayout(m_pnlOnline);
    m_pnlOnline->setVisible(false);

    m_pnlOffline = new QWidget(this);
    m_pnlOffline->setObjectName("pnlOffline");
    auto* h = new QHBoxLayout(m_pnlOffline);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    auto strip = [&] {
        auto* s = new QFrame(m_pnlOffline);
        s->setFixedWidth(18);
        s->setAutoFillBackground(true);
        QPalette p = s->palette();
        p.setColor(QPalette::Window, QColor(0x2E, 0x7D, 0x32));
        s->setPalette(p);
        return s;
    };
    h->addWidget(strip());
    m_shelf = new QScrollArea(m_pnlOffline);
    m_shelf->setObjectName("sbShelf");
    m_shelf->setWidgetResizable(true);
    m_shelfBox = new QWidget;
    m_shelfBox->setMinimumHeight(560);
    m_shelfBackground = new QLabel(m_shelfBox);
    m_shelfBackground->setObjectName("imgBackground");
    m_shelfBackground->setScaledContents(true);
    {
        QPixmap wood(400, 300);
        wood.fill(QColor(0xDE, 0xC3, 0x9A));
        m_shelfBackground->setPixmap(wood);
    }
    m_shelfBackground->installEventFilter(this);
    m_shelfBackground->setMouseTracking(true);
    for (auto*& plank : m_planks) {
        plank = new QFrame(m_shelfBox);
        plank->setAutoFillBackground(true);
        QPalette p = plank->palette();
        p.setColor(QPalette::Window, QColor(0x8D, 0x5B, 0x2C));
        plank->setPalette(p);
    }
    for (int i = 0; i < 10; ++i) {
        m_covers[i] = new QLabel(m_shelfBox);
        m_covers[i]->setObjectName(QString("imgBuku%1").arg(i + 1, 2, 10, QChar('0')));
        m_covers[i]->setPixmap(coverPicture(i));
        m_covers[i]->setScaledContents(true);
        m_covers[i]->setGeometry(0, i < 5 ? 20 : 290, 100, 250);
    }
    m_shelf->setWidget(m_shelfBox);
    m_shelf->viewport()->installEventFilter(this);
    h->addWidget(m_shelf, 1);
    h->addWidget(strip());
}

void TfrmTOVIRAK::layoutShelf() {
    std::array<app::Box, 10> covers;
    for (int i = 0; i < 10; ++i) {
        QRect g = m_covers[i]->geometry();
        covers[static_cast<std::size_t>(i)] = {g.x(), g.y(), g.width(), g.height()};
    }
    const int w = m_shelf->viewport()->width();
    covers = app::shelfCovers(w, covers);
    for (int i = 0; i < 10; ++i) {
        const auto& c = covers[static_cast<std::size_t>(i)];
        m_covers[i]->setGeometry(c.left, c.top, c.width, c.height);
    }
    m_shelfBackground->setGeometry(0, 0, m_shelfBox->width(), m_shelfBox->height());
    // A shelf board under each row of covers.
    for (int row = 0; row < 2; ++row) {
        const QRect cover = m_covers[row * 5]->geometry();
        m_planks[row]->setGeometry(0, cover.bottom() + 1, m_shelfBox->width(), 14);
        m_planks[row]->lower();
    }
    m_shelfBackground->lower();
}

void TfrmTOVIRAK::buildDiagnosticPanel() {
    m_pnlVAR = new QWidget(this);
    m_pnlVAR->setObjectName("pnlVAR");
    m_pnlVAR->setVisible(false);
    auto* v = new QVBoxLayout(m_pnlVAR);
    auto* buttons = new QHBoxLayout;
    v->addLayout(buttons);
    auto add = [&](const char* name, const char* caption, std::function<void()> action) {
        auto* b = new QPushButton(caption, m_pnlVAR);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, std::move(action));
        buttons->addWidget(b);
        return b;
    };
    add("btnCPU", "CPU speed", [this] { m_ctx->dialogs.information(this, ui::qs(app::cpuSpeedText())); });
    add("btnTimeZone", "GetTimeZone", [this] { m_ctx->dialogs.information(this, ui::qs(app::timeZoneText())); });
    add("btnConnection", "Connection", [this] {
        const std::string kind = app::connectionKind();
        if (!kind.empty()) m_ctx->dialogs.information(this, ui::qs(kind));
    });
    add("btnScreenShot", "ScreenShot", [] {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            screen->grabWindow(0).save(QDir::current().filePath("ScreenShot.bmp"), "BMP");
    });
    auto* check = add("btnCekMenu", "menu check", [this] { menuCheck(); });
    check->setVisible(false);
    buttons->addStretch();
}

void TfrmTOVIRAK::buildExitPanels() {
    m_pnlWait = new QFrame(this);
    m_pnlWait->setObjectName("pnlWait");
    m_pnlWait->setFrameShape(QFrame::Box);
    m_pnlWait->setAutoFillBackground(true);
    QPalette p = m_pnlWait->palette();
    p.setColor(QPalette::Window, QColor(0xC0, 0xFF, 0xC0));
    m_pnlWait->setPalette(p);
    auto* v = new QVBoxLayout(m_pnlWait);
    auto* title = new QLabel("Wait, Please...", m_pnlWait);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 8);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    v->addWidget(title);
    auto* sub = new QLabel("don't force to turn off.", m_pnlWait);
    sub->setAlignment(Qt::AlignCenter);
    v->addWidget(sub);
    m_pnlWait->resize(320, 110);
    m_pnlWait->hide();
    m_pnlProgress = new QFrame(this);
    m_pnlProgress->setObjectName("pnlProgress");
    auto* h = new QHBoxLayout(m_pnlProgress);
    h->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QProgressBar(m_pnlProgress);
    bar->setRange(0, 0);
    h->addWidget(bar);
    m_pnlProgress->resize(320, 22);
    m_pnlProgress->hide();
}

void TfrmTOVIRAK::arrangeStartArea() {
    if (m_startup.stoppedEarly) return;  // the start area keeps its initial arrangement
    if (m_env.showsOnlinePage()) {
        m_pnlTOP->show();
        m_pnlVAR->hide();
        m_pnlOffline->hide();
        if (m_pnlOnline->layout()->count() == 0) {
            auto* view = new ui::OnlineView(m_ctx->opener, m_pnlOnline);
            m_pnlOnline->layout()->addWidget(view);
            view->navigate(kStartPage);
        }
        m_pnlOnline->show();
    } else {
        m_pnlOffline->show();
        m_pnlOnline->hide();
    }
}

void TfrmTOVIRAK::applyAvailability() {
    auto enable = [&](QAction* a, bool on) { a->setEnabled(on); };
    auto topButton = [&](const char* name, bool on) { m_topButtons.at(name)->setEnabled(on); };
    const bool full = !m_limited;
    const bool hasSearch = static_cast<bool>(m_factories.bookSearch);
    enable(m_mnSearchBook, full && hasSearch);
    topButton("btnSearchBook", full && hasSearch);
    m_edtSearchMain->setEnabled(full);
    enable(m_mnSearchMember, full && static_cast<bool>(m_factories.memberSearch));
    topButton("btnSearchMember", full && static_cast<bool>(m_factories.memberSearch));
    enable(m_mnSearchDigital, full && static_cast<bool>(m_factories.digitalSearch));
    topButton("btnSearchDigital", full && static_cast<bool>(m_factories.digitalSearch));
    const bool hasTransaction = full && static_cast<bool>(m_factories.transaction);
    enable(m_mnBorrow, hasTransaction);
    enable(m_mnReturn, hasTransaction);
    topButton("btnBorrow", hasTransaction);
    topButton("btnReturn", hasTransaction);
    enable(m_mnInputBook, full && static_cast<bool>(m_factories.bookEntry));
    topButton("btnInputBook", full && static_cast<bool>(m_factories.bookEntry));
    enable(m_mnInputMember, full && static_cast<bool>(m_factories.members));
    topButton("btnInputMember", full && static_cast<bool>(m_factories.members));
    enable(m_mnInputDigital, full && static_cast<bool>(m_factories.digitalEntry));
    topButton("btnInputDigital", full && static_cast<bool>(m_factories.digitalEntry));
    enable(m_mnGeneralReport, full && static_cast<bool>(m_factories.report));
    topButton("btnReport", full && static_cast<bool>(m_factories.report));
    enable(m_mnTOOL, full && static_cast<bool>(m_factories.tools));
    enable(m_mnBackup, full);
    enable(m_mnLogOut, full);
    topButton("btnLogOut", full);
}

void TfrmTOVIRAK::updateUserLabel() {
    m_lblUSER->setText("Hi, " + ui::qs(m_env.user.name));
}

void TfrmTOVIRAK::hideDiagnosticPanel() { m_pnlVAR->hide(); }

bool TfrmTOVIRAK::passGate(app::GatedCommand command) {
    const app::Gate gate = app::gateOf(command);
    if (gate.loginOnDemand && m_env.user.isGuest()) {
        showLogin();
        if (m_env.user.isGuest()) return false;
    }
    if (!app::gateAllows(command, m_env.user)) {
        if (!gate.message.empty()) m_ctx->dialogs.information(this, ui::qs(gate.message));
        return false;
    }
    return true;
}

void TfrmTOVIRAK::showLogin() {
    TfrmSECURITY login(*m_ctx, this);
    login.exec();
}

QAction* TfrmTOVIRAK::menuOf(Document d) const {
    switch (d) {
        case Document::Settings: return m_mnSet;
        case Document::BookEntry:
        case Document::DigitalEntry: return m_mnINPUTDATA;
        case Document::Transaction: return m_mnTRANSACTION;
    }
    return nullptr;
}

QWidget* TfrmTOVIRAK::documentWidget(Document d) const {
    auto it = m_documents.find(d);
    return it == m_documents.end() ? nullptr : it->second->widget();
}

QMdiSubWindow* TfrmTOVIRAK::openDocument(Document d, QWidget* widget) {
    // The document hides the start panels so it has the whole client area and
    // the top panel cannot start a second copy.
    m_pnlTOP->hide();
    m_pnlOnline->hide();
    m_pnlOffline->hide();
    if (d == Document::Settings) m_pnlVAR->hide();
    menuOf(d)->setEnabled(false);
    m_mdi->show();
    QMdiSubWindow* sub = m_mdi->addSubWindow(widget);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(widget->windowTitle());
    m_documents[d] = sub;
    connect(sub, &QObject::destroyed, this, [this, d] { documentClosed(d); });
    sub->showMaximized();
    widget->setFocus();
    return sub;
}

void TfrmTOVIRAK::openCreated(Document d, const std::function<QWidget*()>& create) {
    // A window that cannot read its tables when it is made reports it in the
    // standard error box and does not open.
    QWidget* w = nullptr;
    if (ui::guarded(*m_ctx, this, [&] { w = create(); }) && w) openDocument(d, w);
}

void TfrmTOVIRAK::documentClosed(Document d) {
    m_documents.erase(d);
    bool stillDisablesMenu = false;
    for (const auto& [other, _] : m_documents) stillDisablesMenu = stillDisablesMenu || menuOf(other) == menuOf(d);
    if (!stillDisablesMenu) menuOf(d)->setEnabled(true);
    menuCheck();
}

void TfrmTOVIRAK::menuCheck() {
    m_edtSearchMain->clear();
    // The document windows are what disables FILE Set, INPUTDATA and
    // TRANSACTION; with none open every checked menu is enabled again.
    const bool noDocumentOpen = m_documents.empty();
    if (noDocumentOpen) {
        m_mdi->hide();
        m_pnlTOP->show();
        m_pnlOffline->show();
        m_pnlOnline->hide();
        QTimer::singleShot(0, this, [this] { layoutShelf(); });
    }
}

void TfrmTOVIRAK::commandSettings() {
    hideDiagnosticPanel();
    if (documentOpen(Document::Settings) || !passGate(app::GatedCommand::Settings)) return;
    openDocument(Document::Settings, new TfrmSETTOV(*m_ctx, [this] { commandOpenAdmin(); }, [this] { endProgram(); }));
}

void TfrmTOVIRAK::commandBackup() { m_ctx->dialogs.information(this, kBackupAdvice); }

void TfrmTOVIRAK::commandLogOut() {
    if (!m_ctx->dialogs.confirm(this, app::kLogoutQuestion)) return;
    m_env.user.becomeGuest();
    updateUserLabel();
}

void TfrmTOVIRAK::commandExit() {
    const app::Box wait = app::centred(width(), height(), m_pnlWait->width(), m_pnlWait->height());
    m_pnlWait->move(wait.left, wait.top);
    m_pnlWait->raise();
    m_pnlWait->show();
    m_pnlProgress->setGeometry(wait.left, wait.top + m_pnlWait->height(), m_pnlWait->width(), m_pnlProgress->height());
    m_pnlProgress->raise();
    m_pnlProgress->show();
    if (m_ctx->dialogs.confirm(this, "Are you sure, you want to close/exit?")) {
        endProgram();
        return;
    }
    m_pnlWait->hide();
    m_pnlProgress->hide();
}

void TfrmTOVIRAK::commandBookSearch(bool fromMenu) {
    if (fromMenu) hideDiagnosticPanel();
    if (m_limited || !m_factories.bookSearch) return;
    ui::guarded(*m_ctx, this, [&] { m_factories.bookSearch(*m_ctx, this, m_edtSearchMain->text()); });
}

void TfrmTOVIRAK::commandMemberSearch() {
    if (m_limited || !m_factories.memberSearch) return;
    ui::guarded(*m_ctx, this, [&] { m_factories.memberSearch(*m_ctx, this, m_edtSearchMain->text()); });
}

void TfrmTOVIRAK::commandDigitalSearch() {
    if (m_limited || !m_factories.digitalSearch) return;
    ui::guarded(*m_ctx, this, [&] { m_factories.digitalSearch(*m_ctx, this, m_edtSearchMain->text()); });
}

void TfrmTOVIRAK::commandBorrow() {
    hideDiagnosticPanel();
    if (m_limited || !m_factories.transaction || documentOpen(Document::Transaction)) return;
    if (!passGate(app::GatedCommand::Transaction)) return;
    m_env.transactionMode = "B";
    openCreated(Document::Transaction, [this] { return m_factories.transaction(*m_ctx); });
}

void TfrmTOVIRAK::commandReturn() {
    hideDiagnosticPanel();
    if (m_limited || !m_factories.transaction || documentOpen(Document::Transaction)) return;
    if (!passGate(app::GatedCommand::Transaction)) return;
    m_env.transactionMode = "R";
    openCreated(Document::Transaction, [this] { return m_factories.transaction(*m_ctx); });
}

void TfrmTOVIRAK::commandBookEntry() {
    hideDiagnosticPanel();
    if (m_limited || !m_factories.bookEntry || documentOpen(Document::BookEntry) ||
        documentOpen(Document::DigitalEntry))
        return;
    if (!passGate(app::GatedCommand::BookEntry)) return;
    openCreated(Document::BookEntry, [this] { return m_factories.bookEntry(*m_ctx); });
}

void TfrmTOVIRAK::commandMembers() {
    if (m_limited || !m_factories.members || !passGate(app::GatedCommand::Members)) return;
    ui::guarded(*m_ctx, this, [&] { m_factories.members(*m_ctx, this); });
}

void TfrmTOVIRAK::commandDigitalEntry() {
    hideDiagnosticPanel();
    if (m_limited || !m_factories.digitalEntry || documentOpen(Document::DigitalEntry) ||
        documentOpen(Document::BookEntry))
        return;
    if (!passGate(app::GatedCommand::DigitalEntry)) return;
    openCreated(Document::DigitalEntry, [this] { return m_factories.digitalEntry(*m_ctx); });
}

void TfrmTOVIRAK::commandReport() {
    hideDiagnosticPanel();
    if (m_limited || !m_factories.report) return;
    ui::guarded(*m_ctx, this, [&] { m_factories.report(*m_ctx, this); });
}

void TfrmTOVIRAK::commandTools() {
    if (m_limited || !m_factories.tools) return;
    ui::guarded(*m_ctx, this, [&] { m_factories.tools(*m_ctx, this); });
}

void TfrmTOVIRAK::commandHelp() {
    m_ctx->opener.openDocument(ui::qs(m_env.systemDirectory) + "/HELP.DOC");
}

void TfrmTOVIRAK::commandHelpLanguage(bool english) {
    const std::string message = app::switchHelpLanguage(
        QDir::currentPath().toStdString(), english ? app::HelpLanguage::English : app::HelpLanguage::Indonesian);
    m_ctx->dialogs.information(this, ui::qs(message));
}

void TfrmTOVIRAK::commandAbout() {
    TfrmABOUT about(*m_ctx, this);
    about.exec();
}

void TfrmTOVIRAK::commandOpenAdmin() {
    if (!app::gateAllows(app::GatedCommand::OpenAdmin, m_env.user)) return;
    if (auto* v = m_pnlVAR->findChild<QTableView*>("dbgSISTEM"); !v) {
        // Grids over the settings and the accounts, built when first shown.
        auto* grids = new QHBoxLayout;
        static_cast<QVBoxLayout*>(m_pnlVAR->layout())->addLayout(grids, 1);
        for (auto [name, object] : {std::pair{"dbgSISTEM", "tbSISTEM"}, std::pair{"dbgUSER", "tbUSER"}}) {
            store::Table& t = m_data.table(object);
            if (!t.isOpen()) {
                if (!ui::guarded(*m_ctx, this, [&] { t.open(); })) continue;
            }
            auto* column = new QVBoxLayout;
            auto* view = new QTableView(m_pnlVAR);
            view->setObjectName(name);
            auto* model = new ui::TableModel(t, view);
            model->setEditable(true);
            connect(model, &ui::TableModel::editRefused, this,
                    [this](const QString& m) { m_ctx->dialogs.error(this, m); });
            view->setModel(model);
            auto* nav = new ui::Navigator(view, m_ctx->dialogs, m_pnlVAR);
            if (std::string(object) == "tbUSER") nav->setInsertDefaults({{"USERLEVEL", "9"}});
            column->addWidget(nav);
            column->addWidget(view);
            grids->addLayout(column);
        }
    }
    m_pnlVAR->show();
    m_pnlVAR->raise();
}

void TfrmTOVIRAK::showContextHelp() {
    int topic = app::kHelpMain;
    QWidget* w = QApplication::activeModalWidget();
    if (!w) w = QApplication::focusWidget();
    for (; w; w = w->parentWidget()) {
        QVariant t = w->property("helpTopic");
        if (t.isValid()) {
            topic = t.toInt();
            break;
        }
    }
    ui::HelpViewer viewer(QDir::currentPath(), topic, QApplication::activeWindow());
    viewer.exec();
}

void TfrmTOVIRAK::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    // After a start that found no library file the settings window opens
    // once, at the first paint.
    if (!m_env.libraryFileFound && !m_settingsOpenedAtPaint) {
        m_settingsOpenedAtPaint = true;
        m_env.libraryFileFound = true;
        QTimer::singleShot(0, this, [this] {
            if (!documentOpen(Document::Settings))
                openDocument(Document::Settings,
                             new TfrmSETTOV(*m_ctx, [this] { commandOpenAdmin(); }, [this] { endProgram(); }));
        });
    }
}

void TfrmTOVIRAK::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_edtSearchMain)
        m_edtSearchMain->clear();
}

void TfrmTOVIRAK::closeEvent(QCloseEvent* event) {
    // The window closes only through Exit.
    event->ignore();
    commandExit();
}

bool TfrmTOVIRAK::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edtSearchMain && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const QString text = m_edtSearchMain->text();
            focusNextChild();
            if (!m_limited && m_factories.bookSearch)
                ui::guarded(*m_ctx, this, [&] { m_factories.bookSearch(*m_ctx, this, text); });
            return true;
        }
    }
    if (m_shelf && watched == m_shelf->viewport() && event->type() == QEvent::Resize) layoutShelf();
    if (m_shelfBackground && watched == m_shelfBackground && event->type() == QEvent::MouseMove)
        m_edtSearchMain->setFocus();
    return QMainWindow::eventFilter(watched, event);
}
