#include "circulation/uKARTU.h"

#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/help_files.h"
#include "circulation/loan_rules.h"
#include "circulation/returning.h"
#include "core/text.h"
#include "store/query.h"
#include "store/schema.h"
#include "store/sql_dialect.h"
#include "ui/grid_models.h"
#include "ui/navigator.h"
#include "ui/type_ahead.h"

namespace {

std::vector<std::string> loanFieldNames() {
    std::vector<std::string> names;
    for (const auto& f : store::findTableDef("tSEJARAH")->fields) names.push_back(f.name);
    return names;
}

QTableView* grid(QWidget* parent, const char* name) {
    auto* g = new QTableView(parent);
    g->setObjectName(name);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 6);
    return g;
}

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

TfrmKARTU::TfrmKARTU(ui::AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName("frmKARTU");
    setWindowTitle("Transaction");
    setProperty("helpTopic", app::kHelpTransaction);
    ui::guarded(m_ctx, this, [this] { circulation::openDeskTables(m_ctx.data); });

    m_history = std::make_unique<store::Query>(m_ctx.data.dbTOVIRAK, "tqSEJARAHkartu",
                                               "SELECT * FROM tSEJARAH", loanFieldNames());
    m_historyModel = new ui::QueryModel(*m_history, this);
    m_stagingModel = new ui::TableModel(m_ctx.data.table("tbKARTUb"), this);
    m_returnModel = new ui::TableModel(m_ctx.data.table("tbKARTUr"), this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildMemberArea());
    layout->addWidget(buildChoicePanel());
    layout->addWidget(buildBorrowView(), 1);
    layout->addWidget(buildReturnView(), 1);
    layout->addStretch();
    setFocusProxy(m_edtKDFANGGOTA);
    activateWindowState();
}

// The history grids let go of the window's own query before it goes.
TfrmKARTU::~TfrmKARTU() {
    m_dbgHistoryBorrow->setModel(nullptr);
    m_dbgHistoryReturn->setModel(nullptr);
    delete m_historyModel;
}

QPushButton* TfrmKARTU::button(QWidget* parent, const char* name, const QString& caption,
                               void (TfrmKARTU::*slot)()) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->installEventFilter(this);
    connect(b, &QPushButton::clicked, this, [this, slot] { (this->*slot)(); });
    return b;
}

QLineEdit* TfrmKARTU::readOnlyBox(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::ClickFocus);
    return e;
}

// "Enter books ID:" with a view's item code box and its read-only title,
// author and publisher boxes; the names end in `suffix`.
QHBoxLayout* TfrmKARTU::entryRow(QWidget* view, const char* suffix, QLineEdit*& code,
                                 QLineEdit*& title, QLineEdit*& author, QLineEdit*& publisher) {
    auto name = [suffix](const char* base) { return QByteArray(base) + suffix; };
    auto* entry = new QHBoxLayout;
    entry->addWidget(new QLabel("Enter books ID:", view));
    code = new QLineEdit(view);
    code->setObjectName(name("edtKDBARANG"));
    code->setToolTip("using barcode is prefered.");
    code->installEventFilter(this);
    entry->addWidget(code);
    title = readOnlyBox(view, name("edtTITLE"));
    author = readOnlyBox(view, name("edtAUTHOR"));
    publisher = readOnlyBox(view, name("edtPUBLISHER"));
    entry->addWidget(title, 2);
    entry->addWidget(author, 1);
    entry->addWidget(publisher, 1);
    return entry;
}

QWidget* TfrmKARTU::buildMemberArea() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);

    m_searchRow = new QWidget(area);
    auto* search = new QHBoxLayout(m_searchRow);
    search->setContentsMargins(0, 0, 0, 0);
    search->addWidget(new QLabel("Search by Member Familiar Name:", m_searchRow));
    m_edtKDFANGGOTA = new QLineEdit(m_searchRow);
    m_edtKDFANGGOTA->setObjectName("edtKDFANGGOTA");
    m_edtKDFANGGOTA->setMaxLength(20);
    // An upper-case box: what is typed shows in capitals.
    connect(m_edtKDFANGGOTA, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = ui::qs(core::asciiUpper(ui::ss(text)));
        if (upper != text) {
            const int at = m_edtKDFANGGOTA->cursorPosition();
            m_edtKDFANGGOTA->setText(upper);
            m_edtKDFANGGOTA->setCursorPosition(at);
        }
    });
    search->addWidget(m_edtKDFANGGOTA, 1);
    search->addWidget(button(m_searchRow, "btnGO", "GO", &TfrmKARTU::goClicked));
    search->addStretch();
    layout->addWidget(m_searchRow);

    ui::TypeAheadField::Config members;
    members.listQuery = "tqANGGOTA";
    members.listTable = "tANGGOTA";
    members.listColumn = "KDFANGGOTA";
    m_memberField = new ui::TypeAheadField(m_ctx, m_edtKDFANGGOTA, members, this);
    m_memberField->onEnter = [this] { memberEnter(); };
    m_memberField->onEscape = [this] { closeWindow(); };
    m_memberField->onPicked = [this](const QString& code) { memberPicked(code); };

    auto* panel = new QGroupBox(area);
    panel->setObjectName("pnlMember");
    auto* grid = new QGridLayout(panel);
    struct Box {
        const char* caption;
        const char* name;
        QLineEdit** box;
    };
    const Box boxes[] = {{"Member Name:", "edtNMANGGOTA", &m_name},
                         {"Address:", "edtALAMAT", &m_address},
                         {"Telephone #", "edtTELP", &m_phone},
                         {"Mobile Phone:", "edtHP", &m_mobile},
                         {"eMail:", "edtEMAIL", &m_email},
                         {"Website:", "edtWEB", &m_web},
                         {"Amt. borrow:", "edtJLHPINJAM", &m_onLoan},
                         {"Klas/Grade:", "edtKELAS", &m_class},
                         {"Max. borrow", "edtMAXPINJAM", &m_maxBorrow},
                         {"Limit days", "edtLAMAPINJAM", &m_limitDays},
                         {"Penalty", "edtDENDA", &m_penalty}};
    int i = 0;
    for (const Box& b : boxes) {
        *b.box = readOnlyBox(panel, b.name);
        grid->addWidget(new QLabel(b.caption, panel), i % 6, (i / 6) * 2);
        grid->addWidget(*b.box, i % 6, (i / 6) * 2 + 1);
        ++i;
    }
    const Box right[] = {{"Libraryan", "edtLibraryan", &m_librarian},
                         {"Member", "edtMember", &m_memberCode},
                         {"Family", "edtFamily", &m_familyCode}};
    i = 0;
    for (const Box& b : right) {
        *b.box = readOnlyBox(panel, b.name);
        grid->addWidget(new QLabel(b.caption, panel), i, 4);
        grid->addWidget(*b.box, i, 5);
        ++i;
    }
    layout->addWidget(panel);
    return area;
}

QWidget* TfrmKARTU::buildChoicePanel() {
    m_pnlChoice = new QWidget(this);
    m_pnlChoice->setObjectName("pnlChoice");
    auto* row = new QHBoxLayout(m_pnlChoice);
    row->addWidget(new QLabel("want to", m_pnlChoice));
    m_btnBORROW = button(m_pnlChoice, "btnBORROW", "BORROW", &TfrmKARTU::borrowClicked);
    row->addWidget(m_btnBORROW);
    row->addWidget(new QLabel("or", m_pnlChoice));
    m_btnRETURN = button(m_pnlChoice, "btnRETURN", "RETURN", &TfrmKARTU::returnClicked);
    row->addWidget(m_btnRETURN);
    row->addWidget(new QLabel("or", m_pnlChoice));
    row->addWidget(
        button(m_pnlChoice, "btnCANCELLchoice", "CANCELL", &TfrmKARTU::choiceCancelClicked));
    row->addStretch();
    return m_pnlChoice;
}

QWidget* TfrmKARTU::buildBorrowView() {
    m_pnlBorrow = new QWidget(this);
    m_pnlBorrow->setObjectName("pnlBorrow");
    auto* layout = new QVBoxLayout(m_pnlBorrow);

    layout->addLayout(
        entryRow(m_pnlBorrow, "", m_edtKDBARANG, m_edtTITLE, m_edtAUTHOR, m_edtPUBLISHER));

    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(new QLabel("Search by TITLE:", m_pnlBorrow));
    m_edtTITLEsearchBorrow = new QLineEdit(m_pnlBorrow);
    m_edtTITLEsearchBorrow->setObjectName("edtTITLEsearchBorrow");
    titleRow->addWidget(m_edtTITLEsearchBorrow, 1);
    titleRow->addStretch();
    titleRow->addWidget(new QLabel("Window BORROW", m_pnlBorrow));
    titleRow->addWidget(
        button(m_pnlBorrow, "btnCLOSEborrow", "CLOSE", &TfrmKARTU::closeBorrowClicked));
    layout->addLayout(titleRow);

    // Copies not on loan whose title begins with the typed text.
    ui::TypeAheadField::Config titles;
    titles.listQuery = "tqBUKU";
    titles.listTable = "tBUKU";
    titles.listColumn = "TITLE";
    titles.prefixStatement = [](const std::string& t) {
        return ui::prefixStatement("tBUKU", "TITLE", t,
                                   "UPPER(JENIS)=" + store::sqlLiteral("1") + " AND ",
                                   " AND STATUS <> " + store::sqlLiteral("B"));
    };
    titles.unfilteredStatement = [] {
        return "SELECT * FROM tBUKU WHERE STATUS <> " + store::sqlLiteral("B");
    };
    titles.alwaysShow = true;
    m_titleField = new ui::TypeAheadField(m_ctx, m_edtTITLEsearchBorrow, titles, this);
    m_titleField->setNextField(m_edtKDBARANG);
    m_titleField->onEnter = [this] { m_titleField->downPressed(); };
    m_titleField->onEscape = [this] { clearDisplay(); };
    m_titleField->onPicked = [this](const QString&) { titlePicked(); };

    auto* middle = new QHBoxLayout;
    auto* staging = new QVBoxLayout;
    auto* stagingHead = new QHBoxLayout;
    stagingHead->addWidget(new QLabel("Temporary Table Borrow", m_pnlBorrow));
    m_dbgKARTUb = grid(m_pnlBorrow, "dbgKARTUb");
    m_dbgKARTUb->setModel(m_stagingModel);
    m_borrowNavigator = new ui::Navigator(m_dbgKARTUb, m_ctx.dialogs, m_pnlBorrow);
    m_borrowNavigator->setObjectName("nvKARTUb");
    m_borrowNavigator->setButtons({ui::Navigator::First, ui::Navigator::Prior, ui::Navigator::Next,
                                   ui::Navigator::Last, ui::Navigator::Delete,
                                   ui::Navigator::Refresh});
    connect(m_borrowNavigator, &ui::Navigator::acted, this, [this] { showCounts(); });
    stagingHead->addWidget(m_borrowNavigator);
    m_borrowCount = new QLabel(m_pnlBorrow);
    m_borrowCount->setObjectName("lblCountBorrow");
    stagingHead->addWidget(m_borrowCount);
    stagingHead->addStretch();
    staging->addLayout(stagingHead);
    staging->addWidget(m_dbgKARTUb, 1);
    middle->addLayout(staging, 3);

    // The history behind the right-hand strip.
    auto* strip = new QToolButton(m_pnlBorrow);
    strip->setObjectName("btnHistoryStrip");
    strip->setText("H\nI\nS\nT\nO\nR\nY");
    strip->setToolTip("Show or hide the history of this member");
    strip->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    strip->setFocusPolicy(Qt::NoFocus);
    connect(strip, &QToolButton::clicked, this, [this] { toggleBorrowHistory(); });
    middle->addWidget(strip);
    m_dbgHistoryBorrow = grid(m_pnlBorrow, "dbgSEJARAHborrow");
    m_dbgHistoryBorrow->setModel(m_historyModel);
    m_dbgHistoryBorrow->hide();
    middle->addWidget(m_dbgHistoryBorrow, 2);
    layout->addLayout(middle, 1);

    auto* bottom = new QHBoxLayout;
    m_btnSAVE = button(m_pnlBorrow, "btnSAVE", "SAVE && PrintReceipt", &TfrmKARTU::saveClicked);
    bottom->addWidget(m_btnSAVE);
    bottom->addWidget(
        button(m_pnlBorrow, "btnCANCELLborrow", "CANCELL", &TfrmKARTU::cancelBorrowClicked));
    bottom->addStretch();
    layout->addLayout(bottom);
    return m_pnlBorrow;
}

QWidget* TfrmKARTU::buildReturnView() {
    m_pnlReturn = new QWidget(this);
    m_pnlReturn->setObjectName("pnlReturn");
    auto* layout = new QVBoxLayout(m_pnlReturn);

    QHBoxLayout* entry =
        entryRow(m_pnlReturn, "r", m_edtKDBARANGr, m_edtTITLEr, m_edtAUTHORr, m_edtPUBLISHERr);
    entry->addWidget(new QLabel("Window RETURN", m_pnlReturn));
    entry->addWidget(
        button(m_pnlReturn, "btnCLOSEreturn", "CLOSE", &TfrmKARTU::closeReturnClicked));
    layout->addLayout(entry);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* openHead = new QHBoxLayout;
    openHead->addWidget(new QLabel("Temporary Table Borrow", m_pnlReturn));
    m_openCount = new QLabel(m_pnlReturn);
    m_openCount->setObjectName("lblCountOpen");
    openHead->addWidget(m_openCount);
    openHead->addStretch();
    left->addLayout(openHead);
    m_dbgOpenLoans = grid(m_pnlReturn, "dbgKARTUbReturn");
    m_dbgOpenLoans->setModel(m_stagingModel);
    connect(m_dbgOpenLoans, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { takeBackRow(index.row()); });
    left->addWidget(m_dbgOpenLoans, 1);
    auto* returnHead = new QHBoxLayout;
    returnHead->addWidget(new QLabel("Temporary Table Return", m_pnlReturn));
    m_returnCount = new QLabel(m_pnlReturn);
    m_returnCount->setObjectName("lblCountReturn");
    returnHead->addWidget(m_returnCount);
    returnHead->addStretch();
    left->addLayout(returnHead);
    m_dbgKARTUr = grid(m_pnlReturn, "dbgKARTUr");
    m_dbgKARTUr->setModel(m_returnModel);
    connect(m_dbgKARTUr, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { putBackRow(index.row()); });
    left->addWidget(m_dbgKARTUr, 1);
    columns->addLayout(left, 3);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel("HISTORY", m_pnlReturn));
    m_dbgHistoryReturn = grid(m_pnlReturn, "dbgSEJARAH");
    m_dbgHistoryReturn->setModel(m_historyModel);
    right->addWidget(m_dbgHistoryReturn, 1);
    auto* navigatorRow = new QHBoxLayout;
    auto* navigator = new ui::Navigator(m_dbgHistoryReturn, m_ctx.dialogs, m_pnlReturn);
    navigator->setObjectName("nvSEJARAH");
    navigator->setButtons({ui::Navigator::First, ui::Navigator::Prior, ui::Navigator::Next,
                           ui::Navigator::Last, ui::Navigator::Refresh});
    navigator->setRefreshAction([this] { loadHistory(m_history->sql()); });
    navigatorRow->addWidget(navigator);
    auto* deleteHistory = new QToolButton(m_pnlReturn);
    deleteHistory->setObjectName("nbDeleteHistory");
    deleteHistory->setText("-");
    deleteHistory->setToolTip("Delete record");
    deleteHistory->setFocusPolicy(Qt::NoFocus);
    connect(deleteHistory, &QToolButton::clicked, this, [this] { deleteHistoryClicked(); });
    navigatorRow->addWidget(deleteHistory);
    navigatorRow->addStretch();
    right->addLayout(navigatorRow);
    right->addWidget(
        new QLabel("Becarefull to use this button, you may delete but not edit or add the record.",
                   m_pnlReturn));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(m_pnlReturn, "btnPOST", "POST selected", &TfrmKARTU::postClicked));
    buttons->addWidget(
        button(m_pnlReturn, "btnCANCELLALL", "CANCELL ALL", &TfrmKARTU::cancelAllClicked));
    buttons->addStretch();
    buttons->addWidget(new QLabel("Total Penalty", m_pnlReturn));
    m_totalPenalty = new QLabel(m_pnlReturn);
    m_totalPenalty->setObjectName("lblTotalPenalty");
    buttons->addWidget(m_totalPenalty);
    right->addLayout(buttons);
    columns->addLayout(right, 2);
    layout->addLayout(columns, 1);
    return m_pnlReturn;
}

// Activation

void TfrmKARTU::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_activationConnected) return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (QMdiArea* area = sub->mdiArea()) {
            connect(area, &QMdiArea::subWindowActivated, this,
                    [this](QMdiSubWindow* w) { subWindowActivated(w); });
            m_lastActive = area->activeSubWindow();
            m_activationConnected = true;
        }
    }
}

// Coming back from another document window starts over with no member;
// message boxes and dialogs over this window do not count as leaving it.
void TfrmKARTU::subWindowActivated(QMdiSubWindow* window) {
    if (!window) return;
    auto* mine = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (window == mine && m_lastActive != mine) activateWindowState();
    m_lastActive = window;
}

void TfrmKARTU::activateWindowState() {
    m_librarian->setText(ui::qs(m_ctx.env.user.name));
    clearMember();
}

void TfrmKARTU::clearMember() {
    m_member.reset();
    m_memberField->hideDropDown();
    m_edtKDFANGGOTA->clear();
    for (QLineEdit* box : {m_name, m_address, m_phone, m_mobile, m_email, m_web, m_onLoan, m_class,
                           m_memberCode, m_familyCode})
        box->clear();
    m_maxBorrow->setText("0");
    m_limitDays->setText("0");
    m_penalty->setText("0.00");
    m_pnlChoice->hide();
    hideViews();
    m_edtKDFANGGOTA->setFocus();
}

void TfrmKARTU::hideViews() {
    m_titleField->hideDropDown();
    m_pnlBorrow->hide();
    m_pnlReturn->hide();
    m_searchRow->setEnabled(true);
}

// Choosing the member

void TfrmKARTU::memberEnter() {
    const std::string typed = core::trim(ui::ss(m_edtKDFANGGOTA->text()));
    if (typed.empty()) {
        closeWindow();
        return;
    }
    chooseMember(typed, false);
}

void TfrmKARTU::goClicked() {
    const std::string typed = core::trim(ui::ss(m_edtKDFANGGOTA->text()));
    if (typed.empty()) {
        m_ctx.dialogs.information(this, circulation::kEmptyMemberBoxMessage);
        m_edtKDFANGGOTA->setFocus();
        return;
    }
    chooseMember(typed, true);
}

void TfrmKARTU::chooseMember(const std::string& typed, bool keepTypedText) {
    m_memberField->hideDropDown();
    std::optional<circulation::Member> found;
    if (!ui::guarded(m_ctx, this, [&] { found = circulation::findMember(m_ctx.data, typed); }))
        return;
    if (!found) {
        m_ctx.dialogs.information(this, ui::qs(circulation::memberNotFoundMessage(typed)));
        if (keepTypedText)
            clearMember();
        else
            m_edtKDFANGGOTA->setFocus();
        return;
    }
    fillMemberPanel(*found, keepTypedText);
    showChoice();
}

void TfrmKARTU::memberPicked(const QString& code) {
    std::optional<circulation::Member> found;
    if (!ui::guarded(m_ctx, this,
                     [&] { found = circulation::findMember(m_ctx.data, ui::ss(code)); }))
        return;
    if (!found) {
        m_ctx.dialogs.information(this, code);
        m_memberField->downPressed();
        return;
    }
    fillMemberPanel(*found, false);
    showChoice();
}

void TfrmKARTU::fillMemberPanel(const circulation::Member& m, bool keepTypedText) {
    m_member = m;
    if (!keepTypedText) m_edtKDFANGGOTA->setText(ui::qs(m.code));
    m_name->setText(ui::qs(m.name));
    m_address->setText(ui::qs(m.address));
    m_phone->setText(ui::qs(m.phone));
    m_mobile->setText(ui::qs(m.mobile));
    m_email->setText(ui::qs(m.email));
    m_web->setText(ui::qs(m.web));
    m_onLoan->setText(QString::number(m.onLoan));
    m_class->setText(ui::qs(m.memberClass));
    m_maxBorrow->setText(QString::number(m.maxBorrow));
    m_limitDays->setText(QString::number(m.limitDays));
    m_penalty->setText(ui::qs(m.penaltyText()));
    m_memberCode->setText(ui::qs(m.code));
    m_familyCode->setText(ui::qs(m.family));
}

// After a save or a posting the member row has changed ("Amt. borrow").
void TfrmKARTU::refreshMemberPanel() {
    if (!m_member) return;
    ui::guarded(m_ctx, this, [&] {
        if (auto m = circulation::findMember(m_ctx.data, m_member->code)) {
            const QString typed = m_edtKDFANGGOTA->text();
            fillMemberPanel(*m, false);
            m_edtKDFANGGOTA->setText(typed);
        }
    });
}

void TfrmKARTU::showChoice() {
    hideViews();
    m_pnlChoice->show();
    focusChoiceByMode();
}

void TfrmKARTU::focusChoiceByMode() {
    if (m_ctx.env.transactionMode == "B")
        m_btnBORROW->setFocus();
    else
        m_btnRETURN->setFocus();
}

void TfrmKARTU::choiceCancelClicked() { clearMember(); }

bool TfrmKARTU::emptyStagingTable(const char* objectName) {
    bool emptied = false;
    ui::guarded(m_ctx, this, [&] {
        store::Table& t = m_ctx.data.openTable(objectName, "iKDBARANG");
        emptied = circulation::emptyStaging(t);
        t.setIndexName("iKDBARANG");
    });
    if (!emptied) m_ctx.dialogs.error(this, circulation::kCannotEmptyMessage);
    return emptied;
}

// Fills a view's staging rows. False, and the view stays closed, when they
// could not be read or the old rows (perhaps another member's) could not be
// emptied.
bool TfrmKARTU::loadStaging(const std::function<circulation::StagingLoad()>& load) {
    circulation::StagingLoad result;
    if (!ui::guarded(m_ctx, this, [&] { result = load(); })) {
        reloadStaging();
        return false;
    }
    if (!result.emptied) {
        m_ctx.dialogs.error(this, circulation::kCannotEmptyMessage);
        reloadStaging();
        focusChoiceByMode();
        return false;
    }
    return true;
}

// Borrow view

void TfrmKARTU::borrowClicked() {
    if (!m_member ||
        !loadStaging([this] { return circulation::loadBorrowStaging(m_ctx.data, *m_member); }))
        return;
    m_pnlChoice->hide();
    m_pnlReturn->hide();
    m_searchRow->setEnabled(false);
    m_pnlBorrow->show();
    reloadStaging();
    loadHistory(circulation::borrowHistoryStatement(m_member->code));
    m_edtTITLEsearchBorrow->clear();
    clearDisplay();
    m_edtKDBARANG->clear();
    m_edtKDBARANG->setFocus();
}

void TfrmKARTU::setDisplay(const std::optional<circulation::Copy>& copy) {
    if (!copy) return;
    m_edtTITLE->setText(ui::qs(core::trim(copy->title)));
    m_edtAUTHOR->setText(ui::qs(core::trim(copy->author)));
    m_edtPUBLISHER->setText(ui::qs(core::trim(copy->publisher)));
}

void TfrmKARTU::clearDisplay() {
    for (QLineEdit* box :
         {m_edtTITLE, m_edtAUTHOR, m_edtPUBLISHER, m_edtTITLEr, m_edtAUTHORr, m_edtPUBLISHERr})
        box->clear();
}

void TfrmKARTU::backToItemCode() {
    m_edtKDBARANG->clear();
    m_edtKDBARANG->setFocus();
}

void TfrmKARTU::itemCodeEnter() {
    if (!m_member) return;
    m_titleField->hideDropDown();
    const QString typed = m_edtKDBARANG->text();
    circulation::CopyOutcome outcome;
    if (!ui::guarded(m_ctx, this, [&] {
            outcome = circulation::checkCopyForBorrow(
                m_ctx.data, ui::ss(typed), m_member->maxBorrow, circulation::CopySource::ItemCode);
        }))
        return;
    if (outcome.check == circulation::CopyCheck::NotFound) {
        if (m_ctx.dialogs.confirm(this, ui::qs(outcome.message))) {
            backToItemCode();
        } else {
            // Try the title instead.
            m_edtTITLEsearchBorrow->setText(typed.trimmed());
            m_edtKDBARANG->clear();
            m_edtTITLEsearchBorrow->setFocus();
            m_titleField->refresh();
        }
        return;
    }
    handleCopy(outcome, circulation::CopySource::ItemCode);
}

void TfrmKARTU::titlePicked() {
    if (!m_member) return;
    std::string code;
    if (!ui::guarded(m_ctx, this, [&] { code = m_ctx.data.query("tqBUKU").asString("KDBARANG"); }))
        return;
    circulation::CopyOutcome outcome;
    if (!ui::guarded(m_ctx, this, [&] {
            outcome = circulation::checkCopyForBorrow(m_ctx.data, code, m_member->maxBorrow,
                                                      circulation::CopySource::TitleList);
        }))
        return;
    if (outcome.check == circulation::CopyCheck::NotFound) return;  // gone meanwhile
    handleCopy(outcome, circulation::CopySource::TitleList);
}

void TfrmKARTU::handleCopy(const circulation::CopyOutcome& outcome,
                           circulation::CopySource source) {
    using circulation::CopyCheck;
    switch (outcome.check) {
        case CopyCheck::Empty:
        case CopyCheck::NotFound:
            return;
        case CopyCheck::AlreadyStaged:
        case CopyCheck::OnLoan:
            setDisplay(outcome.copy);
            m_ctx.dialogs.information(this, ui::qs(outcome.message));
            backToItemCode();
            return;
        case CopyCheck::OverLimit:
            setDisplay(outcome.copy);
            if (source == circulation::CopySource::ItemCode) QApplication::beep();
            // OK cancels; Cancel lends anyway.
            if (m_ctx.dialogs.confirm(this, ui::qs(outcome.message))) {
                backToItemCode();
                return;
            }
            stage(*outcome.copy);
            return;
        case CopyCheck::Ready:
            setDisplay(outcome.copy);
            stage(*outcome.copy);
            return;
    }
}

void TfrmKARTU::stage(const circulation::Copy& copy) {
    ui::guarded(m_ctx, this, [&] {
        circulation::stageLoan(m_ctx.data, m_ctx.clock, m_ctx.env.user.name, *m_member, copy);
    });
    reloadStaging();
    clearDisplay();
    m_edtTITLEsearchBorrow->clear();
    backToItemCode();
}

void TfrmKARTU::saveClicked() {
    if (!m_member) return;
    circulation::SaveOutcome out;
    if (!ui::guarded(m_ctx, this, [&] { out = circulation::saveLoans(m_ctx.data); })) {
        reloadStaging();
        return;
    }
    if (out.nothingStaged) {
        m_ctx.dialogs.information(this, circulation::kNothingStagedMessage);
        return;
    }
    if (out.error) m_ctx.dialogs.error(this, ui::qs(*out.error));
    if (!out.message().empty()) m_ctx.dialogs.information(this, ui::qs(out.message()));
    refreshMemberPanel();
    if (out.error) {
        // Stopped: what was saved shows as the member's loans, the rest stays staged.
        reloadStaging();
        return;
    }
    closeBorrowClicked();
}

void TfrmKARTU::closeBorrowClicked() {
    bool hasRows = false;
    ui::guarded(m_ctx, this, [&] { hasRows = circulation::borrowStagingCount(m_ctx.data) > 0; });
    if (hasRows) emptyStagingTable("tbKARTUb");
    reloadStaging();
    showChoice();
}

void TfrmKARTU::cancelBorrowClicked() {
    if (!m_ctx.dialogs.confirm(this, "Cancell all data in this temporary table?")) {
        m_btnSAVE->setFocus();
        return;
    }
    emptyStagingTable("tbKARTUb");
    closeBorrowClicked();
}

void TfrmKARTU::toggleBorrowHistory() {
    m_dbgHistoryBorrow->setVisible(!m_dbgHistoryBorrow->isVisible());
}

// Return view

void TfrmKARTU::returnClicked() {
    if (!m_member ||
        !loadStaging([this] { return circulation::loadReturnView(m_ctx.data, *m_member); }))
        return;
    m_pnlChoice->hide();
    m_pnlBorrow->hide();
    m_searchRow->setEnabled(false);
    m_pnlReturn->show();
    reloadStaging();
    loadHistory(circulation::returnHistoryStatement(m_member->code));
    clearDisplay();
    m_edtKDBARANGr->clear();
    m_edtKDBARANGr->setFocus();
}

void TfrmKARTU::returnCodeEnter() {
    if (!m_member) return;
    const std::string code = core::trim(ui::ss(m_edtKDBARANGr->text()));
    if (code.empty()) return;
    circulation::TakeBackOutcome out;
    ui::guarded(m_ctx, this, [&] {
        out = circulation::takeBack(m_ctx.data, m_ctx.clock, m_ctx.env.user.name, *m_member, code);
    });
    if (!out.staged && !out.message.empty()) m_ctx.dialogs.information(this, ui::qs(out.message));
    reloadStaging();
    clearDisplay();
    // The next scanned code replaces this one.
    m_edtKDBARANGr->setFocus();
    m_edtKDBARANGr->selectAll();
}

void TfrmKARTU::takeBackRow(int row) {
    if (row < 0) return;
    QString code;
    ui::guarded(m_ctx, this, [&] {
        if (m_stagingModel->makeCurrent(row))
            code = ui::qs(core::trim(m_ctx.data.table("tbKARTUb").asString("KDBARANG")));
    });
    if (code.isEmpty()) return;
    m_edtKDBARANGr->setText(code);
    returnCodeEnter();
}

void TfrmKARTU::putBackRow(int row) {
    if (row < 0) return;
    ui::guarded(m_ctx, this, [&] {
        circulation::putBack(m_ctx.data, m_ctx.clock, m_returnModel->rowIdAt(row));
    });
    reloadStaging();
}

void TfrmKARTU::cancelAllClicked() {
    ui::guarded(m_ctx, this, [&] { circulation::putBackAll(m_ctx.data, m_ctx.clock); });
    reloadStaging();
}

void TfrmKARTU::postClicked() {
    if (!m_member) return;
    circulation::PostOutcome out;
    ui::guarded(m_ctx, this, [&] {
        out =
            circulation::postReturns(m_ctx.data, m_ctx.clock, m_ctx.env.user.name, m_member->code);
    });
    if (out.error) m_ctx.dialogs.error(this, ui::qs(*out.error));
    if (!out.message().empty()) m_ctx.dialogs.information(this, ui::qs(out.message()));
    refreshMemberPanel();
    reloadStaging();
    loadHistory(m_history->sql());
    m_edtKDBARANGr->setFocus();
}

void TfrmKARTU::closeReturnClicked() {
    emptyStagingTable("tbKARTUb");
    emptyStagingTable("tbKARTUr");
    reloadStaging();
    showChoice();
}

void TfrmKARTU::deleteHistoryClicked() {
    const QModelIndex current = m_dbgHistoryReturn->currentIndex();
    if (!current.isValid() || !m_history->isOpen()) return;
    if (!m_ctx.dialogs.confirm(this, "Delete record?")) return;
    ui::guarded(m_ctx, this, [&] {
        circulation::deleteHistoryRow(m_ctx.data,
                                      m_history->rowIdAt(static_cast<std::size_t>(current.row())));
    });
    loadHistory(m_history->sql());
}

// Showing data

void TfrmKARTU::reloadStaging() {
    ui::guarded(m_ctx, this, [&] {
        m_ctx.data.openTable("tbKARTUb", "iKDBARANG").setIndexName("iKDBARANG");
        m_ctx.data.openTable("tbKARTUr", "iKDBARANG").setIndexName("iKDBARANG");
    });
    for (ui::TableModel* model : {m_stagingModel, m_returnModel})
        ui::guarded(m_ctx, this, [&] { model->reload(); });
    showCounts();
}

void TfrmKARTU::showCounts() {
    ui::guarded(m_ctx, this, [&] {
        const auto open = circulation::openLoanCount(m_ctx.data);
        m_borrowCount->setText(QString::number(open) + " items");
        m_openCount->setText(QString::number(open));
        m_returnCount->setText(QString::number(circulation::stagedReturnCount(m_ctx.data)));
        m_totalPenalty->setText(
            ui::qs(core::formatAmount(circulation::stagedPenaltyTotal(m_ctx.data))));
    });
}

void TfrmKARTU::loadHistory(const std::string& statement) {
    m_history->close();
    m_historyModel->reset();
    m_history->setSql(statement);
    ui::guarded(m_ctx, this, [&] { m_history->open(); });
    m_historyModel->reset();
}

// Keys

bool TfrmKARTU::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_edtKDBARANG) {
        if (isEnter(key)) {
            itemCodeEnter();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            closeBorrowClicked();
            return true;
        }
        if (key->key() == Qt::Key_PageDown) {
            m_btnSAVE->setFocus();
            return true;
        }
    } else if (watched == m_edtKDBARANGr) {
        if (isEnter(key)) {
            returnCodeEnter();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            closeReturnClicked();
            return true;
        }
    } else if (auto* b = qobject_cast<QPushButton*>(watched)) {
        if (key->key() == Qt::Key_Escape && b->parentWidget() == m_pnlChoice) {
            choiceCancelClicked();
            return true;
        }
        // The desk is driven from the keyboard: Enter presses the focused button.
        if (isEnter(key)) {
            b->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmKARTU::closeWindow() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}
