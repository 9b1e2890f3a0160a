#pragma once
// TfrmHibah: the withdrawal window: collect broken or given-away copies in a
// batch, then post the batch into the withdrawn copies, out of the catalogue.

#include <QDialog>
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/context.h"

class QLabel;
class QLineEdit;
class QTableView;
class QWidget;

namespace ui {
class TableModel;
class TypeAheadField;
}  // namespace ui

class TfrmHibah : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHibah(ui::AppContext& ctx, QWidget* parent = nullptr);

    // The window's steps, as keys and clicks run them.
    void stageTyped();
    void titlePicked();
    void stageBookRow(int row);
    void postClicked();
    void cancelAllClicked();
    void showDetail(int stagedRow);
    void hideDetail();
    // Escape in the boxes: closes only while nothing is staged.
    void escapePressed();

    ui::TypeAheadField* titleField() const { return m_titleField; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void stageCode(const QString& boxText);
    void reloadAll();
    void showCounts();
    // The staging count; none when it could not be read (already reported).
    std::optional<std::int64_t> stagedCount();

    ui::AppContext& m_ctx;
    QLineEdit* m_edtKDBARANG = nullptr;
    QLineEdit* m_edtTITLEsearch = nullptr;
    ui::TypeAheadField* m_titleField = nullptr;
    QTableView* m_dbgBUKU = nullptr;
    QTableView* m_dbgHIBAHt = nullptr;
    QTableView* m_dbgHIBAH = nullptr;
    ui::TableModel* m_bookModel = nullptr;
    ui::TableModel* m_stagedModel = nullptr;
    ui::TableModel* m_withdrawnModel = nullptr;
    QLabel* m_bookCount = nullptr;
    QLabel* m_stagedCount = nullptr;
    QLabel* m_withdrawnCount = nullptr;
    QWidget* m_pnlDetail = nullptr;
    QWidget* m_btnCloseDetail = nullptr;
    std::vector<QLineEdit*> m_detailBoxes;
};
