#pragma once
// TfrmBUKU: the book entry window, where librarians create, show, edit and
// delete the catalogue record of each physical copy.

#include <QWidget>

#include "catalogue/book_entry.h"
#include "ui/context.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMdiSubWindow;
class QPushButton;
class QRadioButton;
class QTableView;
class QToolButton;

namespace ui {
class QueryModel;
class TableModel;
class TypeAheadField;
}  // namespace ui

class TfrmBUKU : public QWidget {
    Q_OBJECT
public:
    explicit TfrmBUKU(ui::AppContext& ctx, QWidget* parent = nullptr);

    // Edit mode: a copy was loaded or created; the SAVE panel shows.
    bool editMode() const { return m_editMode; }
    // The light green sign on title, author and publisher: an existing copy
    // is being edited.
    bool showsExistingSign() const { return m_existingSign; }
    static QColor existingCopyColour() { return QColor(192, 220, 192); }

    ui::TypeAheadField* titleLookup() const { return m_titleLookup; }
    ui::TypeAheadField* authorLookup() const { return m_authorLookup; }
    ui::TypeAheadField* publisherLookup() const { return m_publisherLookup; }
    ui::TypeAheadField* languageLookup() const { return m_languageLookup; }

    // The commands, as keys and buttons run them.
    void proposeCode();
    void checkCode();
    void saveClicked();
    void cancelClicked();
    void deleteClicked();
    void searchDdcClicked();
    void togglePurchasePanel();
    void clearForm();
    // Kind "1", focus on the title, the language list on "ENGLISH"; run on
    // showing and whenever the window becomes the active document again.
    void activated();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void open();
    void buildLookups();
    catalogue::BookForm formValues() const;
    void showForm(const catalogue::BookForm& form, const catalogue::BookCirculation& circulation);
    void setExistingSign(bool on);
    void setEditMode(bool on);
    void clearCodeEdits();
    void applyLevelVisibility();
    void refreshQueueCount();
    void showBarcode();
    void focusSaveIfEditing();
    void focusProblemField(const catalogue::FormProblem& problem);
    void placeBelow(QWidget* popup, QWidget* field);

    // UDC and DDC drop-downs.
    void udcKeyReleased();
    void showUdcList(bool takeFocus);
    void hideUdcList();
    void pickUdc();
    void showDdcList();
    void hideDdcList();
    void pickDdc();

    // Organizers.
    void openNameOrganizer(int which);
    void openTableEditor(int which);

    // Enter in a detail field: where focus goes next.
    QWidget* nextAfter(QWidget* field) const;

    ui::AppContext& m_ctx;
    bool m_editMode = false;
    bool m_existingSign = false;
    QString m_kind = catalogue::kBookKind;
    QMdiSubWindow* m_activeSeen = nullptr;
    bool m_listensToArea = false;

    // Title, author, publisher and their lookups
    QLineEdit* m_edtTITLE;
    QLineEdit* m_edtAuthor;
    QLineEdit* m_edtPUBLISHER;
    ui::TypeAheadField* m_titleLookup = nullptr;
    ui::TypeAheadField* m_authorLookup = nullptr;
    ui::TypeAheadField* m_publisherLookup = nullptr;
    ui::TypeAheadField* m_languageLookup = nullptr;

    // Item code
    QLineEdit* m_edtKodeTanggal;
    QLineEdit* m_edtKodeNomer;
    QLineEdit* m_edtKodeBarang;
    QLineEdit* m_edtLastRec;

    // Classes and call number
    QLineEdit* m_edtUDC;
    QLineEdit* m_edtDDC;
    QLineEdit* m_edtCNKLS;
    QLineEdit* m_edtCNRAK;
    QLineEdit* m_edtCNBRS;
    QLabel* m_BCbook;
    QFrame* m_pnlUDC;
    QTableView* m_dbgUDC;
    ui::QueryModel* m_udcModel = nullptr;
    QFrame* m_pnlDDC;
    QTableView* m_dbgDDC;
    ui::TableModel* m_ddcModel = nullptr;

    // Details
    QLineEdit* m_edtBAHASA;
    QLineEdit* m_edtKEYWORD;
    QLineEdit* m_edtISBN;
    QRadioButton* m_rdbAsli;
    QRadioButton* m_rdbCopy;
    QLineEdit* m_edtOC;
    QLineEdit* m_edtKONDISI;
    QLabel* m_lblKONDISI;
    QLineEdit* m_edtKelas;
    QLineEdit* m_edtUsia;

    // Purchase panel
    QFrame* m_pnlBeli;
    QLineEdit* m_edtSHARGA;
    QLineEdit* m_edtNMTOKO;
    QLineEdit* m_edtNMDONATUR;
    QLineEdit* m_edtTGBELI;

    // Circulation, shown only
    QLineEdit* m_edtSTATUS;
    QLineEdit* m_edtKDANGGOTA;
    QLineEdit* m_edtTGPINJAM;

    // Label queue
    QCheckBox* m_cbCetakLabel;
    QLabel* m_lblCetakLabel;

    // Buttons
    QPushButton* m_organizers[6] = {};
    QPushButton* m_bbtSearchDDC;
    QFrame* m_pnlEdit;
    QPushButton* m_bbtSAVE;
    QPushButton* m_bbtCANCELL;
    QPushButton* m_bbtDelete;
};
