#include "ui/grid_models.h"

#include "core/error.h"
#include "core/text.h"
#include "store/connection.h"
#include "store/sql_dialect.h"
#include "ui/context.h"

namespace ui {

namespace {
constexpr std::size_t kPage = 200;
}

QString cellText(const store::FieldDef& field, const store::Value& value) {
    if (field.type == store::FieldType::Blob)
        return std::holds_alternative<store::Blob>(value) ? QStringLiteral("(picture)") : QString();
    return qs(store::Query::displayText(field, value));
}

TableModel::TableModel(store::Table& table, QObject* parent) : QAbstractTableModel(parent), m_table(table) {
    reload();
}

void TableModel::setColumns(const QStringList& fields) {
    m_requested = fields;
    reload();
}

std::string TableModel::orderBy() const {
    std::string order;
    for (const auto& idx : m_table.layout().indexes) {
        if (!core::equalsIgnoreCase(idx.name, m_table.indexName())) continue;
        for (const auto& f : idx.fields)
            order += store::quoteIdentifier(f) + (idx.caseInsensitive ? " COLLATE NOCASE" : "") + ", ";
    }
    return order + "rowid";
}

void TableModel::reload() {
    beginResetModel();
    m_rows.clear();
    m_columns.clear();
    m_columnIndex.clear();
    m_complete = true;
    if (m_table.isOpen()) {
        const auto& layout = m_table.layout();
        for (std::size_t i = 0; i < layout.fields.size(); ++i) {
            const auto& f = layout.fields[i];
            bool wanted = m_requested.isEmpty() ? f.type != store::FieldType::Blob : false;
            for (const auto& r : m_requested) wanted = wanted || core::equalsIgnoreCase(ss(r), f.name);
            if (wanted) {
                m_columns.push_back(f);
                m_columnIndex.push_back(i);
            }
        }
        // Keep the requested column order.
        if (!m_requested.isEmpty()) {
            std::vector<store::FieldDef> cols;
            std::vector<std::size_t> idx;
            for (const auto& r : m_requested)
                for (std::size_t i = 0; i < m_columns.size(); ++i)
                    if (core::equalsIgnoreCase(ss(r), m_columns[i].name)) {
                        cols.push_back(m_columns[i]);
                        idx.push_back(m_columnIndex[i]);
                    }
            m_columns = cols;
            m_columnIndex = idx;
        }
        m_complete = false;
        try {
            fetchPage();
        } catch (...) {
            // The reset is finished either way, so views never see half a reset.
            m_complete = true;
            endResetModel();
            throw;
        }
    }
    endResetModel();
}

void TableModel::fetchPage() {
    if (m_complete || !m_table.isOpen()) return;
    std::string cols = "rowid";
    for (const auto& f : m_table.layout().fields) cols += ", " + store::quoteIdentifier(f.name);
    auto page = m_table.connection().select(
        "SELECT " + cols + " FROM " + store::quoteIdentifier(m_table.layout().name) + " ORDER BY " +
            orderBy() + " LIMIT ? OFFSET ?",
        {static_cast<std::int64_t>(kPage), static_cast<std::int64_t>(m_rows.size())});
    if (page.size() < kPage) m_complete = true;
    for (auto& r : page) m_rows.push_back(std::move(r));
}

std::int64_t TableModel::rowIdAt(int row) const {
    return std::get<std::int64_t>(m_rows.at(static_cast<std::size_t>(row)).at(0));
}

bool TableModel::makeCurrent(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return false;
    return m_table.gotoRowId(rowIdAt(row));
}

int TableModel::rowOfRowId(std::int64_t rowId) {
    for (;;) {
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            if (std::get<std::int64_t>(m_rows[i][0]) == rowId) return static_cast<int>(i);
        if (m_complete) return -1;
        int before = static_cast<int>(m_rows.size());
        fetchMore({});
        if (static_cast<int>(m_rows.size()) == before) return -1;
    }
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    const auto& row = m_rows.at(static_cast<std::size_t>(index.row()));
    std::size_t c = static_cast<std::size_t>(index.column());
    return cellText(m_columns[c], row.at(m_columnIndex[c] + 1));
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal && section >= 0 && section < static_cast<int>(m_columns.size()))
        return qs(m_columns[static_cast<std::size_t>(section)].name);
    if (orientation == Qt::Vertical) return section + 1;
    return {};
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_editable && index.isValid() && m_columns[static_cast<std::size_t>(index.column())].type != store::FieldType::Blob)
        f |= Qt::ItemIsEditable;
    return f;
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!m_editable || role != Qt::EditRole || !index.isValid()) return false;
    try {
        if (!makeCurrent(index.row())) throw core::Error("The record was deleted by another user");
        m_table.edit();
        m_table.setString(m_columns[static_cast<std::size_t>(index.column())].name, ss(value.toString()));
        m_table.post();
        auto& row = m_rows[static_cast<std::size_t>(index.row())];
        const auto& layout = m_table.layout();
        for (std::size_t i = 0; i < layout.fields.size(); ++i) row[i + 1] = m_table.value(layout.fields[i].name);
        emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
        return true;
    } catch (const core::Error& e) {
        m_table.cancel();
        emit editRefused(qs(e.what()));
        return false;
    }
}

bool TableModel::canFetchMore(const QModelIndex& parent) const { return !parent.isValid() && !m_complete; }

void TableModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid() || m_complete) return;
    int before = static_cast<int>(m_rows.size());
    try {
        fetchPage();
    } catch (const core::Error&) {
        m_complete = true;
    }
    int after = static_cast<int>(m_rows.size());
    if (after > before) {
        // The rows are already in place; announce them.
        std::vector<std::vector<store::Value>> added(m_rows.begin() + before, m_rows.end());
        m_rows.resize(static_cast<std::size_t>(before));
        beginInsertRows({}, before, after - 1);
        for (auto& r : added) m_rows.push_back(std::move(r));
        endInsertRows();
    }
}

QueryModel::QueryModel(store::Query& query, QObject* parent) : QAbstractTableModel(parent), m_query(query) {
    reset();
}

void QueryModel::setColumns(const QStringList& fields) {
    m_requested = fields;
    reset();
}

void QueryModel::reset() {
    beginResetModel();
    m_columns.clear();
    m_rows = 0;
    if (m_query.isOpen()) {
        const auto& fields = m_query.fields();
        if (m_requested.isEmpty()) {
            for (std::size_t i = 0; i < fields.size(); ++i) m_columns.push_back(i);
        } else {
            for (const auto& r : m_requested)
                if (auto c = m_query.columnOf(ss(r))) m_columns.push_back(*c);
        }
        m_rows = static_cast<int>(m_query.fetchedCount());
    }
    endResetModel();
}

int QueryModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int QueryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant QueryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole || !m_query.isOpen()) return {};
    // The query is shared: another window may have reopened it with other
    // rows since this grid was last reset. Show nothing rather than fail.
    if (static_cast<std::size_t>(index.row()) >= m_query.fetchedCount() ||
        static_cast<std::size_t>(index.column()) >= m_columns.size() ||
        m_columns[static_cast<std::size_t>(index.column())] >= m_query.fields().size())
        return {};
    std::size_t col = m_columns[static_cast<std::size_t>(index.column())];
    return cellText(m_query.fields()[col], m_query.valueAt(static_cast<std::size_t>(index.row()), col));
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal && section >= 0 && section < static_cast<int>(m_columns.size()))
        return qs(m_query.fields()[m_columns[static_cast<std::size_t>(section)]].name);
    if (orientation == Qt::Vertical) return section + 1;
    return {};
}

bool QueryModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && m_query.isOpen() && m_query.canFetchMore();
}

void QueryModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid() || !m_query.isOpen()) return;
    std::size_t before = m_query.fetchedCount();
    try {
        m_query.fetchMore();
    } catch (const core::Error&) {
        return;
    }
    int after = static_cast<int>(m_query.fetchedCount());
    if (after > static_cast<int>(before)) {
        beginInsertRows({}, static_cast<int>(before), after - 1);
        m_rows = after;
        endInsertRows();
    }
}

}  // namespace ui
