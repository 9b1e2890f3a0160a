#pragma once
// ListTableEditor: the modal plain table editor over one class or language
// list, with a grey note that its changes do not touch the copies. The three
// members (TfrmUDC, TfrmDDC, TfrmBAHASA) differ only in their data.

#include <QDialog>

#include "catalogue/organizers.h"
#include "ui/context.h"

class QLabel;
class QTableView;

namespace ui {
class Navigator;
class TableModel;
}  // namespace ui

class ListTableEditor : public QDialog {
    Q_OBJECT
public:
    ListTableEditor(ui::AppContext& ctx, const catalogue::ListTableKind& list,
                    QWidget* parent = nullptr);

    QTableView* grid() const { return m_grid; }
    ui::Navigator* navigator() const { return m_navigator; }

private:
    ui::AppContext& m_ctx;
    QLabel* m_note;
    QTableView* m_grid;
    ui::TableModel* m_model = nullptr;
    ui::Navigator* m_navigator;
};
