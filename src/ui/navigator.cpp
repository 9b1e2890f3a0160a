#include "ui/navigator.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTableView>
#include <QToolButton>

#include "core/error.h"
#include "ui/context.h"
#include "ui/dialogs.h"
#include "ui/grid_models.h"

namespace ui {

namespace {
// The most rows "last" fetches into a grid over a query result.
constexpr std::int64_t kMostRowsToWalk = 100000;

struct ButtonInfo {
    Navigator::Button id;
    const char* text;
    const char* tip;
    const char* name;
};
const ButtonInfo kButtons[] = {
    {Navigator::First, "|<", "First record", "nbFirst"},   {Navigator::Prior, "<", "Prior record", "nbPrior"},
    {Navigator::Next, ">", "Next record", "nbNext"},       {Navigator::Last, ">|", "Last record", "nbLast"},
    {Navigator::Insert, "+", "Insert record", "nbInsert"}, {Navigator::Delete, "-", "Delete record", "nbDelete"},
    {Navigator::Edit, "^", "Edit record", "nbEdit"},       {Navigator::Post, "✓", "Post edit", "nbPost"},
    {Navigator::Cancel, "✗", "Cancel edit", "nbCancel"},   {Navigator::Refresh, "↻", "Refresh data", "nbRefresh"},
};
}  // namespace

Navigator::Navigator(QTableView* view, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_view(view), m_dialogs(dialogs) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (const auto& b : kButtons) {
        auto* button = new QToolButton(this);
        button->setText(QString::fromUtf8(b.text));
        button->setToolTip(b.tip);
        button->setObjectName(b.name);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
        m_buttons[b.id] = button;
        Button id = b.id;
        connect(button, &QToolButton::clicked, this, [this, id] { run(id); });
    }
    layout->addStretch();
    if (!qobject_cast<TableModel*>(m_view->model()))
        setButtons({First, Prior, Next, Last, Refresh});
}

void Navigator::setButtons(std::initializer_list<Button> buttons) {
    for (auto& [id, button] : m_buttons) button->setVisible(false);
    for (Button b : buttons) m_buttons[b]->setVisible(true);
}

QToolButton* Navigator::button(Button b) const { return m_buttons.at(b); }

void Navigator::run(Button b) {
    auto* model = m_view->model();
    if (!model) return;
    auto* tableModel = qobject_cast<TableModel*>(model);
    const int rows = model->rowCount();
    QModelIndex current = m_view->currentIndex();
    int row = current.isValid() ? current.row() : 0;
    int column = current.isValid() ? current.column() : 0;
    auto select = [&](int r) {
        if (r < 0 || model->rowCount() == 0) return;
        r = std::min(r, model->rowCount() - 1);
        m_view->setCurrentIndex(model->index(r, column));
        m_view->scrollTo(model->index(r, column));
    };
    try {
        switch (b) {
            case First: select(0); break;
            case Prior: select(std::max(0, row - 1)); break;
            case Next:
                if (row + 1 >= model->rowCount() && model->canFetchMore({})) model->fetchMore({});
                select(row + 1);
                break;
            case Last:
                if (auto* queryModel = qobject_cast<QueryModel*>(model);
                    queryModel && queryModel->query().isOpen() && queryModel->canFetchMore({}) &&
                    queryModel->query().recordCount() > kMostRowsToWalk) {
                    // Every row up to the last one would have to be held in
                    // memory; a result this large is narrowed first.
                    m_dialogs.information(this, "The result holds " +
                                                    QString::number(queryModel->query().recordCount()) +
                                                    " rows. Narrow the search to reach its last row.");
                    break;
                }
                while (model->canFetchMore({})) model->fetchMore({});
                select(model->rowCount() - 1);
                break;
            case Insert:
                if (tableModel) {
                    store::Table& t = tableModel->table();
                    t.insert();
                    for (const auto& [field, value] : m_defaults) t.setString(field, value);
                    t.post();
                    std::int64_t id = t.rowId();
                    tableModel->reload();
                    select(tableModel->rowOfRowId(id));
                    m_view->edit(m_view->currentIndex());
                }
                break;
            case Delete:
                if (tableModel && rows > 0 && current.isValid() && m_dialogs.confirm(this, "Delete record?")) {
                    if (tableModel->makeCurrent(row)) tableModel->table().remove();
                    tableModel->reload();
                    select(row);
                }
                break;
            case Edit:
                if (current.isValid()) m_view->edit(current);
                break;
            case Post:
            case Cancel:
                // Edits are written as each cell is committed: the open cell
                // editor (it keeps the focus, the buttons take none) is told
                // to commit (Enter) or to drop its text (Escape).
                if (QWidget* editor = QApplication::focusWidget();
                    editor && m_view->viewport()->isAncestorOf(editor)) {
                    QKeyEvent key(QEvent::KeyPress, b == Post ? Qt::Key_Return : Qt::Key_Escape, Qt::NoModifier);
                    QApplication::sendEvent(editor, &key);
                }
                m_view->setFocus();
                if (b == Cancel && tableModel) tableModel->reload();
                select(row);
                break;
            case Refresh:
                if (m_refresh)
                    m_refresh();
                else if (tableModel)
                    tableModel->reload();
                select(row);
                break;
        }
    } catch (const core::Error& e) {
        m_dialogs.error(this, qs(e.what()));
    }
    emit acted();
}

}  // namespace ui
