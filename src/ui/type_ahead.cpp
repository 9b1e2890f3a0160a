#include "ui/type_ahead.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>

#include "core/text.h"
#include "store/query.h"
#include "store/sql_dialect.h"
#include "store/table.h"
#include "ui/grid_models.h"

namespace ui {

std::string prefixStatement(const std::string& table, const std::string& column, const std::string& trimmedText,
                            const std::string& leading, const std::string& trailing) {
    return "SELECT * FROM " + table + " WHERE " + leading + "SUBSTRING(UPPER(" + column + ") FROM 1 FOR " +
           std::to_string(core::characterCount(trimmedText)) + ")=" + store::sqlLiteral(core::asciiUpper(trimmedText)) +
           trailing;
}

TypeAheadField::TypeAheadField(AppContext& ctx, QLineEdit* field, Config config, QWidget* gridParent)
    : QObject(field), m_ctx(ctx), m_field(field), m_config(std::move(config)) {
    if (!m_config.prefixStatement) {
        const std::string table = m_config.listTable, column = m_config.listColumn;
        m_config.prefixStatement = [table, column](const std::string& t) { return prefixStatement(table, column, t); };
    }
    if (!m_config.unfilteredStatement) {
        const std::string table = m_config.listTable;
        m_config.unfilteredStatement = [table] { return "SELECT * FROM " + table; };
    }
    m_grid = new QTableView(gridParent);
    m_grid->setObjectName(field->objectName() + "List");
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setStyleSheet("QTableView { background: #DFF5DF; }");
    m_grid->resize(420, 180);
    m_grid->hide();
    m_model = new QueryModel(query(), m_grid);
    m_grid->setModel(m_model);
    m_field->installEventFilter(this);
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableView::doubleClicked, this, [this] { pick(); });
}

store::Query& TypeAheadField::query() const { return m_ctx.data.query(m_config.listQuery); }

bool TypeAheadField::dropDownVisible() const { return m_grid->isVisible(); }

void TypeAheadField::rememberEntryText() { m_entryText = m_field->text().trimmed(); }

void TypeAheadField::reopen(const std::string& statement) {
    store::Query& q = query();
    q.close();
    m_model->reset();
    q.setSql(statement);
    guarded(m_ctx, m_field, [&] { q.open(); });
    m_model->reset();
    if (m_model->rowCount() > 0) m_grid->setCurrentIndex(m_model->index(0, 0));
}

void TypeAheadField::showDropDown() {
    QWidget* parent = m_grid->parentWidget();
    const QPoint below = m_field->mapTo(parent->window(), QPoint(0, m_field->height()));
    const QPoint at = parent->mapFrom(parent->window(), below);
    m_grid->move(at);
    m_grid->resize(std::max(m_field->width(), 320), 180);
    m_grid->raise();
    m_grid->show();
}

void TypeAheadField::hideDropDown() { m_grid->hide(); }

void TypeAheadField::refresh() {
    const std::string t = ss(m_field->text().trimmed());
    if (t.empty()) {
        reopen(m_config.unfilteredStatement());
        if (!m_config.alwaysShow) {
            hideDropDown();
            return;
        }
    } else {
        reopen(m_config.prefixStatement(t));
    }
    if (m_config.alwaysShow || qs(t) != m_entryText)
        showDropDown();
    else
        hideDropDown();
}

void TypeAheadField::focusNext() {
    if (m_next) m_next->setFocus();
}

void TypeAheadField::enterPressed() {
    hideDropDown();
    if (m_config.exactTable.empty()) {
        if (onEnter)
            onEnter();
        else
            focusNext();
        return;
    }
    const QString typed = m_field->text();
    const std::string t = ss(typed.trimmed());
    if (t.empty()) {
        focusNext();
        return;
    }
    // Focus moves on once the value is settled, so whatever the next field
    // does on entry (the item-code proposal) comes after the question here.
    store::Table& list = m_ctx.data.table(m_config.exactTable);
    bool found = false;
    if (!guarded(m_ctx, m_field, [&] {
            list.setIndexName(m_config.exactIndex);
            if (!list.isOpen()) list.open();
            found = list.findKey({t});
        }))
        return;
    if (found) {
        focusNext();
        if (onFound) onFound();
        return;
    }
    if (!m_ctx.dialogs.confirm(m_field, "Is: \"" + qs(t) + "\"" + qs(m_config.captureWording))) {
        m_field->setFocus();
        return;
    }
    guarded(m_ctx, m_field, [&] {
        list.setIndexName(m_config.exactIndex);
        if (!list.isOpen()) list.open();
        // Another workstation may have added it while the question was open.
        if (list.findKey({t})) return;
        list.insert();
        // Stored trimmed, so the next exact lookup finds it again.
        list.setString(m_config.listColumn, t);
        for (const auto& [field, value] : m_config.captureExtras) list.setString(field, value);
        list.post();
    });
    hideDropDown();
    focusNext();
    if (onCaptured) onCaptured();
}

void TypeAheadField::escapePressed() {
    if (m_config.escapeStays) {
        hideDropDown();
        m_field->setFocus();
    } else {
        if (m_config.escapeClears) m_field->clear();
        hideDropDown();
        focusNext();
    }
    if (onEscape) onEscape();
}

void TypeAheadField::downPressed() {
    if (!dropDownVisible()) {
        if (!query().isOpen() || m_model->rowCount() == 0) refresh();
        showDropDown();
    }
    m_grid->setFocus();
    if (!m_grid->currentIndex().isValid() && m_model->rowCount() > 0) m_grid->setCurrentIndex(m_model->index(0, 0));
}

void TypeAheadField::pick() {
    const QModelIndex current = m_grid->currentIndex();
    store::Query& q = query();
    if (!current.isValid() || !q.isOpen()) return;
    QString value;
    guarded(m_ctx, m_field, [&] {
        q.moveTo(static_cast<std::size_t>(current.row()));
        value = qs(core::trim(q.asString(m_config.listColumn)));
    });
    m_field->setText(value);
    hideDropDown();
    if (onPicked)
        onPicked(value);
    else
        focusNext();
}

void TypeAheadField::escapeInGrid() {
    m_field->clear();
    hideDropDown();
    m_field->setFocus();
}

bool TypeAheadField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field) {
        switch (event->type()) {
            case QEvent::FocusIn: rememberEntryText(); break;
            case QEvent::KeyPress: {
                auto* key = static_cast<QKeyEvent*>(event);
                if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                    enterPressed();
                    return true;
                }
                if (key->key() == Qt::Key_Escape) {
                    escapePressed();
                    return true;
                }
                if (key->key() == Qt::Key_Down) {
                    downPressed();
                    return true;
                }
                break;
            }
            case QEvent::KeyRelease: {
                auto* key = static_cast<QKeyEvent*>(event);
                if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape ||
                    key->key() == Qt::Key_Down || key->isAutoRepeat())
                    break;
                refresh();
                break;
            }
            default: break;
        }
    } else if (watched == m_grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            pick();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            escapeInGrid();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace ui
