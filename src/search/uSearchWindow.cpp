#include "search/uSearchWindow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "store/query.h"
#include "ui/grid_models.h"
#include "ui/navigator.h"

SearchWindow::SearchWindow(ui::AppContext& ctx, store::Query& query, const char* gridName,
                           QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_query(query) {
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Input text to search:", this));
    m_edtCariJudul = new QLineEdit(this);
    m_edtCariJudul->setObjectName("edtCariJudul");
    m_edtCariJudul->installEventFilter(this);
    top->addWidget(m_edtCariJudul, 1);
    m_beside = new QWidget(this);
    auto* beside = new QHBoxLayout(m_beside);
    beside->setContentsMargins(0, 0, 0, 0);
    top->addWidget(m_beside);
    layout->addLayout(top);

    layout->addWidget(new QLabel("SEARCH IN:", this));
    m_searchIn = new QWidget(this);
    auto* searchIn = new QHBoxLayout(m_searchIn);
    searchIn->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_searchIn);

    m_grid = new QTableView(this);
    m_grid->setObjectName(gridName);
    m_model = new ui::QueryModel(query, this);
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setDefaultSectionSize(120);
    // The query follows the grid, so its current row is the one the user sees.
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && m_query.isOpen())
                    ui::guarded(m_ctx, this, [&] {
                        m_query.moveTo(static_cast<std::size_t>(current.row()));
                    });
            });

    m_navigator = new ui::Navigator(m_grid, ctx.dialogs, this);
    m_navigator->setObjectName("DBNavigator");
    // A read-only result: only browsing and running the statement again.
    m_navigator->setButtons({ui::Navigator::First, ui::Navigator::Prior, ui::Navigator::Next,
                             ui::Navigator::Last, ui::Navigator::Refresh});
    m_navigator->setRefreshAction([this] {
        ui::guarded(m_ctx, this, [this] { m_query.refresh(); });
        m_model->reset();
    });
    auto* navigatorRow = new QHBoxLayout;
    navigatorRow->addWidget(m_navigator);
    auto* hint = new QLabel("Select the row and double click it to view the detail.", this);
    hint->setObjectName("lblHint");
    navigatorRow->addWidget(hint, 1);
    layout->addLayout(navigatorRow);
    layout->addWidget(m_grid, 1);
    resize(900, 600);
}

QPushButton* SearchWindow::addBesideButton(const char* objectName, const QString& caption) {
    auto* button = new QPushButton(caption, m_beside);
    button->setObjectName(objectName);
    m_beside->layout()->addWidget(button);
    return button;
}

QPushButton* SearchWindow::addSearchInButton(const char* objectName, const QString& caption) {
    auto* button = new QPushButton(caption, m_searchIn);
    button->setObjectName(objectName);
    m_searchIn->layout()->addWidget(button);
    return button;
}

void SearchWindow::finishLayout() {
    static_cast<QHBoxLayout*>(m_searchIn->layout())->addStretch();
    QWidget* previous = m_edtCariJudul;
    auto chain = [&](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    for (auto* b : m_beside->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) chain(b);
    for (auto* b : m_searchIn->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) chain(b);
    chain(m_grid);
    m_edtCariJudul->setFocus();
}

void SearchWindow::runStatement(const std::string& statement) {
    m_query.close();
    m_query.setSql(statement);
    m_model->reset();
    ui::guarded(m_ctx, this, [this] { m_query.open(); });
    m_model->reset();
    if (m_model->rowCount() > 0) m_grid->setCurrentIndex(m_model->index(0, 0));
    m_grid->scrollToTop();
}

void SearchWindow::done(int result) {
    m_ctx.menuCheck();
    QDialog::done(result);
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edtCariJudul && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter: {
                const QString text = m_edtCariJudul->text();
                focusNextChild();
                enterPressed(text);
                return true;
            }
            case Qt::Key_Down:
                m_grid->setFocus();
                return true;
            case Qt::Key_Escape:
                reject();
                return true;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SearchWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) m_edtCariJudul->setFocus();
}
