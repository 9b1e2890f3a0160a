#include "circulation/uHibah.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/help_files.h"
#include "circulation/loan_rules.h"
#include "circulation/withdrawal.h"
#include "core/text.h"
#include "store/query.h"
#include "store/table.h"
#include "ui/grid_models.h"
#include "ui/navigator.h"
#include "ui/type_ahead.h"

namespace {

QTableView* grid(QWidget* parent, const char* name, QAbstractItemModel* model) {
    auto* g = new QTableView(parent);
    g->setObjectName(name);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 6);
    g->setModel(model);
    return g;
}

const char* const kDetailCaptions[] = {
    "Book/Call Code", "Title",    "Author",      "Publisher", "Classification", "Language",
    "Kata Kunci",     "ISBN",     "Asli / Copy", "Kondisi",   "Kelas",          "Usia",
    "Status",         "Peminjam", "Tgl Pinjam",  "Room",      "Rack",           "Row"};

}  // namespace

TfrmHibah::TfrmHibah(ui::AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName("frmHibah");
    setWindowTitle("Hibah / Broken Book");
    setProperty("helpTopic", app::kHelpWithdrawal);
    ui::guarded(m_ctx, this, [this] { circulation::openWithdrawalTables(m_ctx.data); });
    m_bookModel = new ui::TableModel(m_ctx.data.table("tbBUKU"), this);
    m_stagedModel = new ui::TableModel(m_ctx.data.table("tbHIBAHt"), this);
    m_withdrawnModel = new ui::TableModel(m_ctx.data.table("tbHIBAH"), this);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Enter books ID:", this));
    m_edtKDBARANG = new QLineEdit(this);
    m_edtKDBARANG->setObjectName("edtKDBARANG");
    m_edtKDBARANG->installEventFilter(this);
    top->addWidget(m_edtKDBARANG);
    auto* stageButton = new QToolButton(this);
    stageButton->setObjectName("sbtKDBARANG");
    stageButton->setText("↵");
    stageButton->setToolTip("Put this book into the Temporary Broken Books");
    connect(stageButton, &QToolButton::clicked, this, [this] { stageTyped(); });
    top->addWidget(stageButton);
    top->addSpacing(20);
    top->addWidget(new QLabel("Search by TITLE:", this));
    m_edtTITLEsearch = new QLineEdit(this);
    m_edtTITLEsearch->setObjectName("edtTITLEsearch");
    top->addWidget(m_edtTITLEsearch, 1);
    auto* listButton = new QToolButton(this);
    listButton->setObjectName("sbtTITLEsearch");
    listButton->setArrowType(Qt::DownArrow);
    top->addWidget(listButton);
    layout->addLayout(top);

    ui::TypeAheadField::Config titles;
    titles.listQuery = "tqBUKU";
    titles.listTable = "tBUKU";
    titles.listColumn = "TITLE";
    titles.escapeStays = true;
    m_titleField = new ui::TypeAheadField(m_ctx, m_edtTITLEsearch, titles, this);
    m_titleField->onEnter = [this] {
        if (!m_edtTITLEsearch->text().trimmed().isEmpty())
            m_titleField->downPressed();
        else
            m_edtTITLEsearch->setFocus();
    };
    m_titleField->onEscape = [this] { escapePressed(); };
    m_titleField->onPicked = [this](const QString&) { titlePicked(); };
    connect(listButton, &QToolButton::clicked, this, [this] { m_titleField->downPressed(); });

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* bookHead = new QHBoxLayout;
    bookHead->addWidget(new QLabel("Book Table", this));
    m_bookCount = new QLabel(this);
    m_bookCount->setObjectName("lblCountBUKU");
    bookHead->addWidget(m_bookCount);
    bookHead->addStretch();
    left->addLayout(bookHead);
    m_dbgBUKU = grid(this, "dbgBUKU", m_bookModel);
    connect(m_dbgBUKU, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { stageBookRow(i.row()); });
    left->addWidget(m_dbgBUKU, 1);

    auto* stagedHead = new QHBoxLayout;
    stagedHead->addWidget(new QLabel("Temporary Broken Books", this));
    m_stagedCount = new QLabel(this);
    m_stagedCount->setObjectName("lblCountHIBAHt");
    stagedHead->addWidget(m_stagedCount);
    m_dbgHIBAHt = grid(this, "dbgHIBAHt", m_stagedModel);
    connect(m_dbgHIBAHt, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { showDetail(i.row()); });
    auto* stagedNavigator = new ui::Navigator(m_dbgHIBAHt, m_ctx.dialogs, this);
    stagedNavigator->setObjectName("nvHIBAHt");
    stagedNavigator->setButtons({ui::Navigator::First, ui::Navigator::Prior, ui::Navigator::Next,
                                 ui::Navigator::Last, ui::Navigator::Delete,
                                 ui::Navigator::Refresh});
    stagedNavigator->setToolTip(
        "Becarefull to use this button, you may delete but not edit or add the record.");
    connect(stagedNavigator, &ui::Navigator::acted, this, [this] { showCounts(); });
    stagedHead->addWidget(stagedNavigator);
    stagedHead->addStretch();
    left->addLayout(stagedHead);
    left->addWidget(m_dbgHIBAHt, 1);
    auto* buttons = new QHBoxLayout;
    auto* post = new QPushButton("POST all Temporary", this);
    post->setObjectName("btnPOST");
    post->setAutoDefault(false);
    post->setToolTip("Be carefull, after post this data may not cancell.");
    connect(post, &QPushButton::clicked, this, [this] { postClicked(); });
    buttons->addWidget(post);
    auto* cancel = new QPushButton("CANCELL all Temporary", this);
    cancel->setObjectName("btnCANCELL");
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, [this] { cancelAllClicked(); });
    buttons->addWidget(cancel);
    buttons->addStretch();
    left->addLayout(buttons);
    columns->addLayout(left, 3);

    auto* right = new QVBoxLayout;
    auto* withdrawnHead = new QHBoxLayout;
    withdrawnHead->addWidget(new QLabel("HIBAH / BROKEN BOOKS", this));
    m_withdrawnCount = new QLabel(this);
    m_withdrawnCount->setObjectName("lblCountHIBAH");
    withdrawnHead->addWidget(m_withdrawnCount);
    withdrawnHead->addStretch();
    right->addLayout(withdrawnHead);
    m_dbgHIBAH = grid(this, "dbgHIBAH", m_withdrawnModel);
    right->addWidget(m_dbgHIBAH, 1);
    auto* withdrawnNavigator = new ui::Navigator(m_dbgHIBAH, m_ctx.dialogs, this);
    withdrawnNavigator->setObjectName("nvHIBAH");
    withdrawnNavigator->setButtons({ui::Navigator::First, ui::Navigator::Prior, ui::Navigator::Next,
                                    ui::Navigator::Last, ui::Navigator::Refresh});
    connect(withdrawnNavigator, &ui::Navigator::acted, this, [this] { showCounts(); });
    right->addWidget(withdrawnNavigator);
    columns->addLayout(right, 2);
    layout->addLayout(columns, 1);

    // The detail of one staged copy, read-only.
    m_pnlDetail = new QGroupBox(this);
    m_pnlDetail->setObjectName("pnlDetail");
    m_pnlDetail->installEventFilter(this);
    auto* detail = new QVBoxLayout(m_pnlDetail);
    auto* form = new QFormLayout;
    for (const char* caption : kDetailCaptions) {
        auto* box = new QLineEdit(m_pnlDetail);
        box->setReadOnly(true);
        box->installEventFilter(this);
        m_detailBoxes.push_back(box);
        form->addRow(caption, box);
    }
    detail->addLayout(form);
    auto* closeDetail = new QPushButton("X", m_pnlDetail);
    closeDetail->setObjectName("btnCloseDetail");
    closeDetail->setAutoDefault(false);
    closeDetail->installEventFilter(this);
    connect(closeDetail, &QPushButton::clicked, this, [this] { hideDetail(); });
    m_btnCloseDetail = closeDetail;
    detail->addWidget(closeDetail);
    m_pnlDetail->hide();
    columns->addWidget(m_pnlDetail);

    resize(1100, 700);
    reloadAll();
    m_edtKDBARANG->setFocus();
}

std::optional<std::int64_t> TfrmHibah::stagedCount() {
    std::int64_t n = 0;
    if (!ui::guarded(m_ctx, this, [&] { n = circulation::withdrawalCounts(m_ctx.data).staged; }))
        return std::nullopt;
    return n;
}

void TfrmHibah::showCounts() {
    ui::guarded(m_ctx, this, [&] {
        const auto c = circulation::withdrawalCounts(m_ctx.data);
        m_bookCount->setText(QString::number(c.catalogue));
        m_stagedCount->setText(QString::number(c.staged));
        m_withdrawnCount->setText(QString::number(c.withdrawn));
    });
}

void TfrmHibah::reloadAll() {
    ui::guarded(m_ctx, this, [&] {
        for (const char* t : {"tbBUKU", "tbHIBAHt", "tbHIBAH"})
            m_ctx.data.openTable(t, "iKodeBuku").setIndexName("iKodeBuku");
    });
    for (ui::TableModel* model : {m_bookModel, m_stagedModel, m_withdrawnModel})
        ui::guarded(m_ctx, this, [&] { model->reload(); });
    showCounts();
}

void TfrmHibah::stageCode(const QString& boxText) {
    if (boxText.trimmed().isEmpty()) return;
    circulation::WithdrawalStageOutcome out;
    if (!ui::guarded(m_ctx, this,
                     [&] { out = circulation::stageWithdrawal(m_ctx.data, ui::ss(boxText)); }))
        return;
    if (!out.message.empty()) m_ctx.dialogs.information(this, ui::qs(out.message));
    ui::guarded(m_ctx, this, [&] { m_stagedModel->reload(); });
    showCounts();
    m_edtKDBARANG->clear();
    if (out.result != circulation::WithdrawalStage::AlreadyStaged &&
        out.result != circulation::WithdrawalStage::OnLoan)
        m_edtTITLEsearch->clear();
    m_edtKDBARANG->setFocus();
}

void TfrmHibah::stageTyped() { stageCode(m_edtKDBARANG->text()); }

void TfrmHibah::titlePicked() {
    QString code;
    if (!ui::guarded(m_ctx, this, [&] {
            code = ui::qs(core::trim(m_ctx.data.query("tqBUKU").asString("KDBARANG")));
        }))
        return;
    m_edtKDBARANG->setText(code);
    stageCode(code);
    m_edtKDBARANG->clear();
    m_edtTITLEsearch->clear();
    m_edtTITLEsearch->setFocus();
}

void TfrmHibah::stageBookRow(int row) {
    QString code;
    ui::guarded(m_ctx, this, [&] {
        if (m_bookModel->makeCurrent(row))
            code = ui::qs(core::trim(m_ctx.data.table("tbBUKU").asString("KDBARANG")));
    });
    if (code.isEmpty()) return;
    m_edtKDBARANG->setText(code);
    stageCode(code);
}

void TfrmHibah::postClicked() {
    if (!m_ctx.dialogs.confirm(this, circulation::kPostWithdrawalQuestion)) {
        m_edtKDBARANG->setFocus();
        return;
    }
    circulation::WithdrawalPost out;
    ui::guarded(m_ctx, this, [&] {
        out = circulation::postWithdrawals(m_ctx.data, m_ctx.clock, m_ctx.env.user.name);
    });
    if (out.error) m_ctx.dialogs.error(this, ui::qs(*out.error));
    for (const auto& message : out.messages()) m_ctx.dialogs.information(this, ui::qs(message));
    reloadAll();
    m_edtKDBARANG->setFocus();
}

void TfrmHibah::cancelAllClicked() {
    bool emptied = true;
    ui::guarded(m_ctx, this, [&] { emptied = circulation::cancelWithdrawals(m_ctx.data); });
    if (!emptied) m_ctx.dialogs.error(this, circulation::kCannotEmptyMessage);
    reloadAll();
}

void TfrmHibah::showDetail(int stagedRow) {
    std::optional<circulation::Detail> detail;
    ui::guarded(m_ctx, this, [&] {
        if (m_stagedModel->makeCurrent(stagedRow))
            detail = circulation::stagedDetail(m_ctx.data,
                                               m_ctx.data.table("tbHIBAHt").asString("KDBARANG"));
    });
    m_edtKDBARANG->clear();
    if (!detail) {
        hideDetail();
        return;
    }
    for (std::size_t i = 0; i < m_detailBoxes.size() && i < detail->size(); ++i)
        m_detailBoxes[i]->setText(ui::qs((*detail)[i].second));
    m_pnlDetail->show();
    m_btnCloseDetail->setFocus();
}

void TfrmHibah::hideDetail() {
    m_pnlDetail->hide();
    m_edtKDBARANG->setFocus();
}

void TfrmHibah::escapePressed() {
    m_titleField->hideDropDown();
    // A count that cannot be read may hide staged copies: stay open.
    if (stagedCount() == std::optional<std::int64_t>(0)) reject();
}

bool TfrmHibah::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (watched == m_edtKDBARANG) {
            if (enter) {
                stageTyped();
                return true;
            }
            if (key->key() == Qt::Key_Escape) {
                escapePressed();
                return true;
            }
        } else if (watched == m_pnlDetail ||
                   m_pnlDetail->isAncestorOf(qobject_cast<QWidget*>(watched))) {
            if (key->key() == Qt::Key_Escape) {
                hideDetail();
                return true;
            }
            if (enter && watched == m_btnCloseDetail) {
                hideDetail();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Escape elsewhere in the window follows the same rule as in the boxes:
// the window never closes on Escape while copies are staged.
void TfrmHibah::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        escapePressed();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(event);
}
