#include "catalogue/uListTableEditor.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/help_files.h"
#include "ui/dialogs.h"
#include "ui/grid_models.h"
#include "ui/navigator.h"

ListTableEditor::ListTableEditor(ui::AppContext& ctx, const catalogue::ListTableKind& list,
                                 QWidget* parent)
    : QDialog(parent), m_ctx(ctx) {
    setObjectName(QString("frm") + QString::fromLatin1(list.listObject).mid(2));
    setWindowTitle(list.caption);
    setProperty("helpTopic", app::kHelpEntry);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    m_note = new QLabel(ui::displayText(ui::qs(catalogue::tableEditorNote(list))), this);
    m_note->setObjectName("lblNote");
    m_note->setStyleSheet("QLabel { color: grey; }");
    m_note->setWordWrap(true);
    layout->addWidget(m_note);

    m_grid = new QTableView(this);
    m_grid->setObjectName("dbg" + QString::fromLatin1(list.listObject).mid(2));
    m_grid->verticalHeader()->setVisible(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    // The list may be open under another index; switching it and reading the
    // first page can fail like opening it.
    ui::guarded(m_ctx, this, [&] {
        store::Table& table = m_ctx.data.openTable(list.listObject, list.listIndex);
        table.setIndexName(list.listIndex);
        m_model = new ui::TableModel(table, m_grid);
    });
    if (m_model) {
        m_model->setEditable(true);
        connect(m_model, &ui::TableModel::editRefused, this,
                [this](const QString& message) { m_ctx.dialogs.error(this, message); });
        m_grid->setModel(m_model);
    }
    m_navigator = new ui::Navigator(m_grid, m_ctx.dialogs, this);
    m_navigator->setButtons({ui::Navigator::First, ui::Navigator::Prior, ui::Navigator::Next,
                             ui::Navigator::Last, ui::Navigator::Insert, ui::Navigator::Delete,
                             ui::Navigator::Edit, ui::Navigator::Post, ui::Navigator::Cancel,
                             ui::Navigator::Refresh});
    auto* row = new QHBoxLayout;
    row->addWidget(m_navigator, 1);
    auto* close = new QPushButton("Close", this);
    close->setObjectName("bbtClose");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(close);
    layout->addLayout(row);
    layout->addWidget(m_grid, 1);
    resize(560, 420);
}
