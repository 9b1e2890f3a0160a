#pragma once
// Grid models over the shared data objects. Rows are fetched in pages as the
// grid needs them; no statement runs inside data().

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "store/query.h"
#include "store/table.h"

namespace ui {

// A table object in the order of its current index. Editable when asked:
// edits go through the table object (edit, set, post), so widths and types
// are kept.
class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TableModel(store::Table& table, QObject* parent = nullptr);

    void setEditable(bool on) { m_editable = on; }
    // Columns to show, by field name; empty shows every field but pictures.
    void setColumns(const QStringList& fields);
    // Reads the table again (after changes made elsewhere).
    void reload();

    store::Table& table() const { return m_table; }
    std::int64_t rowIdAt(int row) const;
    // Makes the table object's current record the one shown in this row.
    bool makeCurrent(int row);
    int rowOfRowId(std::int64_t rowId);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // An edit the table refused (the message to show).
    void editRefused(const QString& message);

private:
    void fetchPage();
    std::string orderBy() const;

    store::Table& m_table;
    QStringList m_requested;
    std::vector<store::FieldDef> m_columns;
    std::vector<std::size_t> m_columnIndex;  // into the table layout
    std::vector<std::vector<store::Value>> m_rows;  // row id first, then every layout field
    bool m_complete = true;
    bool m_editable = false;
};

// A query object's result, as far as it has been fetched.
class QueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    QueryModel(store::Query& query, QObject* parent = nullptr);
    // Call after the query was (re)opened or closed.
    void reset();
    store::Query& query() const { return m_query; }
    void setColumns(const QStringList& fields);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    store::Query& m_query;
    QStringList m_requested;
    std::vector<std::size_t> m_columns;  // into the query's fields
    int m_rows = 0;
};

// The text a grid shows for a value: pictures as a marker, never raw bytes.
QString cellText(const store::FieldDef& field, const store::Value& value);

}  // namespace ui
