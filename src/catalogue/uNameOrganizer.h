#pragma once
// NameOrganizer: the modal window that renames a title, author or publisher
// everywhere or deletes it from its list while no copy uses it. The three
// members (TfrmTITLE, TfrmAuthor, TfrmPublisher) differ only in their data.

#include <QDialog>

#include "catalogue/organizers.h"
#include "ui/context.h"

class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace ui {
class Navigator;
class TableModel;
}  // namespace ui

class NameOrganizer : public QDialog {
    Q_OBJECT
public:
    // `kind` is the opener's kind value ("1" books, "2" digital items),
    // shown for information; `value` the opener's field text.
    NameOrganizer(ui::AppContext& ctx, const catalogue::NameListKind& list, const QString& kind,
                  const QString& value, QWidget* parent = nullptr);

    // After a successful rename (the window was accepted): the new value for
    // the opener's field.
    const QString& renamedValue() const { return m_renamed; }
    bool editing() const { return m_editing; }

    // The commands, as the buttons and keys run them.
    void search();
    void editClicked();
    void cancelClicked();
    void saveClicked();
    void deleteClicked();
    void pickFromGrid();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showViewing();
    void setPairVisible(bool on);

    ui::AppContext& m_ctx;
    const catalogue::NameListKind& m_list;
    QString m_renamed;
    bool m_editing = false;

    QLineEdit* m_kind;
    QLineEdit* m_value;
    QLineEdit* m_edit;
    QPushButton* m_bbtEDIT;
    QPushButton* m_bbtDELETE;
    QWidget* m_pnlSave;
    QPushButton* m_bbtSAVE;
    QPushButton* m_bbtCANCELL;
    ui::Navigator* m_navigator = nullptr;
    QPushButton* m_bbtClose;
    QTableView* m_grid;
    ui::TableModel* m_model = nullptr;
};
