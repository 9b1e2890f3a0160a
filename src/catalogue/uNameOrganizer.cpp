#include "catalogue/uNameOrganizer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/help_files.h"
#include "ui/grid_models.h"
#include "ui/navigator.h"

NameOrganizer::NameOrganizer(ui::AppContext& ctx, const catalogue::NameListKind& list,
                             const QString& kind, const QString& value, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_list(list) {
    const QString column = QString::fromLatin1(list.column);
    setObjectName("frm" + column);
    setWindowTitle(list.caption);
    setProperty("helpTopic", app::kHelpEntry);
    // No close box: the window closes through "Close" or after a rename.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    layout->addLayout(top);
    m_kind = new QLineEdit(kind, this);
    m_kind->setObjectName("edtJENIS");
    m_kind->setReadOnly(true);
    m_kind->setMaximumWidth(40);
    m_kind->setFocusPolicy(Qt::NoFocus);
    top->addWidget(new QLabel("Kind", this), 0, 0);
    top->addWidget(m_kind, 0, 1);
    top->addWidget(new QLabel(list.caption, this), 1, 0);
    m_value = new QLineEdit(value, this);
    m_value->setObjectName("edt" + column);
    m_value->setReadOnly(true);
    m_value->installEventFilter(this);
    // The edit field sits where the value field is and replaces it while editing.
    m_edit = new QLineEdit(this);
    m_edit->setObjectName("edt" + column + "edit");
    m_edit->setStyleSheet("QLineEdit { background: yellow; }");
    m_edit->setMaxLength(100);
    m_edit->hide();
    top->addWidget(m_value, 1, 1, 1, 3);
    top->addWidget(m_edit, 1, 1, 1, 3);

    auto button = [this](const char* name, const char* caption, void (NameOrganizer::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, slot] { (this->*slot)(); });
        return b;
    };
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    m_bbtEDIT = button("bbtEDIT", "EDIT", &NameOrganizer::editClicked);
    m_bbtDELETE = button("bbtDELETE", "DELETE", &NameOrganizer::deleteClicked);
    buttons->addWidget(m_bbtEDIT);
    buttons->addWidget(m_bbtDELETE);
    m_pnlSave = new QWidget(this);
    m_pnlSave->setObjectName("pnlSave");
    auto* save = new QHBoxLayout(m_pnlSave);
    save->setContentsMargins(0, 0, 0, 0);
    save->addWidget(new QLabel("EDIT", m_pnlSave));
    m_bbtSAVE = button("bbtSAVE", "SAVE", &NameOrganizer::saveClicked);
    m_bbtCANCELL = button("bbtCANCELL", "CANCELL", &NameOrganizer::cancelClicked);
    save->addWidget(m_bbtSAVE);
    save->addWidget(m_bbtCANCELL);
    m_pnlSave->hide();
    buttons->addWidget(m_pnlSave);
    buttons->addStretch();

    m_grid = new QTableView(this);
    m_grid->setObjectName("dbg" + column);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->installEventFilter(this);
    // The list may be open under another index; switching it and reading the
    // first page can fail like opening it.
    ui::guarded(m_ctx, this, [&] {
        store::Table& table = m_ctx.data.openTable(list.listObject, list.listIndex);
        table.setIndexName(list.listIndex);
        m_model = new ui::TableModel(table, m_grid);
        m_model->setColumns({column});
    });
    if (m_model) {
        const bool inPlace = list.grid == catalogue::NameListKind::Grid::PickAndEdit;
        m_model->setEditable(inPlace);
        m_grid->setEditTriggers(inPlace ? QAbstractItemView::EditKeyPressed |
                                              QAbstractItemView::AnyKeyPressed
                                        : QAbstractItemView::NoEditTriggers);
        connect(m_model, &ui::TableModel::editRefused, this,
                [this](const QString& message) { m_ctx.dialogs.error(this, message); });
        m_grid->setModel(m_model);
        if (list.grid != catalogue::NameListKind::Grid::ShowOnly)
            connect(m_grid, &QTableView::doubleClicked, this, [this] { pickFromGrid(); });
    }
    m_navigator = new ui::Navigator(m_grid, m_ctx.dialogs, this);
    m_navigator->setButtons({ui::Navigator::First, ui::Navigator::Prior, ui::Navigator::Next,
                             ui::Navigator::Last, ui::Navigator::Refresh});
    auto* navRow = new QHBoxLayout;
    navRow->addWidget(m_navigator, 1);
    m_bbtClose = button("bbtClose", "Close", &NameOrganizer::reject);
    navRow->addWidget(m_bbtClose);
    layout->addLayout(navRow);
    layout->addWidget(m_grid, 1);
    resize(560, 460);
}

void NameOrganizer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (parentWidget()) {
        const QRect owner = parentWidget()->window()->geometry();
        move(owner.center() - rect().center());
    }
    search();
    showViewing();
}

void NameOrganizer::search() {
    if (!m_model) return;
    bool found = false;
    store::Table& list = m_model->table();
    if (!ui::guarded(m_ctx, this, [&] {
            found = catalogue::findListValue(list, m_list, ui::ss(m_value->text()));
        }))
        return;
    if (!found) {
        m_ctx.dialogs.information(this, catalogue::kNotFound);
        return;
    }
    const int row = m_model->rowOfRowId(list.rowId());
    if (row >= 0) {
        m_grid->setCurrentIndex(m_model->index(row, 0));
        m_grid->scrollTo(m_grid->currentIndex());
    }
}

void NameOrganizer::setPairVisible(bool on) {
    m_bbtEDIT->setVisible(on);
    m_bbtDELETE->setVisible(on);
}

void NameOrganizer::showViewing() {
    m_editing = false;
    m_grid->show();
    m_navigator->show();
    setPairVisible(true);
    m_pnlSave->hide();
    m_edit->hide();
    m_value->show();
    m_value->setFocus();
}

void NameOrganizer::editClicked() {
    m_editing = true;
    m_grid->hide();
    m_navigator->hide();
    setPairVisible(false);
    m_pnlSave->show();
    m_value->hide();
    m_edit->setText(m_value->text());
    m_edit->show();
    m_edit->setFocus();
}

void NameOrganizer::cancelClicked() { showViewing(); }

void NameOrganizer::saveClicked() {
    if (!m_model) return;
    if (!m_ctx.dialogs.confirm(this, ui::qs(catalogue::renameQuestion(m_list)))) {
        showViewing();
        return;
    }
    catalogue::RenameOutcome outcome;
    const bool ran = ui::guarded(m_ctx, this, [&] {
        outcome = catalogue::renameEverywhere(m_model->table(), m_list, ui::ss(m_value->text()),
                                              ui::ss(m_edit->text()));
    });
    ui::guarded(m_ctx, this, [&] { m_model->reload(); });
    if (ran && !outcome.message.empty()) m_ctx.dialogs.information(this, ui::qs(outcome.message));
    showViewing();
    if (outcome.renamed) {
        m_renamed = ui::qs(outcome.newValue);
        m_value->setText(m_renamed);
        accept();
    }
}

void NameOrganizer::deleteClicked() {
    if (!m_model) return;
    catalogue::ListDeleteOutcome outcome;
    const bool ran = ui::guarded(m_ctx, this, [&] {
        outcome = catalogue::deleteUnusedValue(m_model->table(), m_ctx.data.table("tbBUKU"), m_list,
                                               ui::ss(m_value->text()));
    });
    if (outcome.deleted) ui::guarded(m_ctx, this, [&] { m_model->reload(); });
    if (ran && !outcome.message.empty()) m_ctx.dialogs.information(this, ui::qs(outcome.message));
}

void NameOrganizer::pickFromGrid() {
    if (!m_model || m_list.grid == catalogue::NameListKind::Grid::ShowOnly) return;
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        m_value->setText(m_model->index(current.row(), 0).data().toString().trimmed());
    setPairVisible(true);
    m_value->setFocus();
}

bool NameOrganizer::eventFilter(QObject* watched, QEvent* event) {
    const bool picks = m_list.grid != catalogue::NameListKind::Grid::ShowOnly;
    if (watched == m_value && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            search();
            return true;
        }
    } else if (watched == m_grid && picks) {
        if (event->type() == QEvent::FocusIn) {
            setPairVisible(false);
        } else if (event->type() == QEvent::KeyPress) {  // an open cell editor has the keys itself
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                pickFromGrid();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
