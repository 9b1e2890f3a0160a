#include "catalogue/uBUKU.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

#include "app/administration.h"
#include "app/help_files.h"
#include "catalogue/item_codes.h"
#include "catalogue/uAuthor.h"
#include "catalogue/uBAHASA.h"
#include "catalogue/uDDC.h"
#include "catalogue/uPublisher.h"
#include "catalogue/uTitle.h"
#include "catalogue/uUDC.h"
#include "core/text.h"
#include "printing/barcode_image.h"
#include "search/uOCLC.h"
#include "store/key_values.h"
#include "store/query.h"
#include "store/table.h"
#include "ui/grid_models.h"
#include "ui/type_ahead.h"

namespace {

constexpr const char* kClassHint = "Contoh: K7=Bacaan wajib Kelas7 atau U14=baik untuk anak Usia14";

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength = 0) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    return e;
}

QLineEdit* readOnlyEdit(QWidget* parent, const char* name) {
    auto* e = lineEdit(parent, name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

// Typed letters a-z become upper case as they are typed.
void upperCaseAsTyped(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString upper = ui::qs(core::asciiUpper(ui::ss(text)));
        if (upper == text) return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
}

QFrame* dropDownFrame(QWidget* parent, const char* name, const char* title, QTableView*& grid,
                      const char* gridName) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::Box);
    frame->setAutoFillBackground(true);
    auto* v = new QVBoxLayout(frame);
    v->setContentsMargins(2, 2, 2, 2);
    if (title) v->addWidget(new QLabel(title, frame));
    grid = new QTableView(frame);
    grid->setObjectName(gridName);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setStyleSheet("QTableView { background: #DFF5DF; }");
    v->addWidget(grid);
    frame->resize(360, 200);
    frame->hide();
    return frame;
}

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

TfrmBUKU::TfrmBUKU(ui::AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName("frmBUKU");
    setWindowTitle("BUKU");
    setProperty("helpTopic", app::kHelpEntry);
    build();
    // Focusing the window (as the main window does on opening it) focuses the title.
    setFocusProxy(m_edtTITLE);
    open();
}

void TfrmBUKU::build() {
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns, 1);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);

    auto organizerButton = [this](int i, const char* name, const char* caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setFocusPolicy(Qt::NoFocus);
        m_organizers[i] = b;
        return b;
    };
    auto arrowButton = [this](const char* name) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setArrowType(Qt::DownArrow);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };

    // Title, author, publisher.
    auto* names = new QGroupBox(this);
    auto* ng = new QGridLayout(names);
    m_edtTITLE = lineEdit(names, "edtTITLE", 100);
    m_edtTITLE->setToolTip(
        "If the Title was found in the Table, you may copy the variable to the new record.");
    m_edtAuthor = lineEdit(names, "edtAuthor", 100);
    m_edtPUBLISHER = lineEdit(names, "edtPUBLISHER", 100);
    QToolButton* arrows[3] = {arrowButton("sbtTITLE"), arrowButton("sbtAuthor"),
                              arrowButton("sbtPUBLISHER")};
    QPushButton* nameOrganizers[3] = {organizerButton(0, "bbtTitleOrganizer", "Title Organizer"),
                                      organizerButton(1, "bbtAuthorOrganizer", "Author Organizer"),
                                      organizerButton(2, "bbtPublOrganizer", "Publ. Organizer")};
    const char* captions[3] = {"Title", "Author", "Publisher"};
    QLineEdit* nameEdits[3] = {m_edtTITLE, m_edtAuthor, m_edtPUBLISHER};
    for (int i = 0; i < 3; ++i) {
        ng->addWidget(new QLabel(captions[i], names), i, 0);
        ng->addWidget(nameEdits[i], i, 1);
        ng->addWidget(arrows[i], i, 2);
        ng->addWidget(nameOrganizers[i], i, 3);
    }
    left->addWidget(names);

    // Item code.
    auto* code = new QGroupBox(this);
    auto* cg = new QGridLayout(code);
    m_edtKodeTanggal = lineEdit(code, "edtKodeTanggal", 8);
    m_edtKodeNomer = lineEdit(code, "edtKodeNomer", 12);
    m_edtKodeBarang = readOnlyEdit(code, "edtKodeBarang");
    QFont big = m_edtKodeBarang->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    m_edtKodeBarang->setFont(big);
    m_edtLastRec = readOnlyEdit(code, "edtLastRec");
    cg->addWidget(new QLabel("Call Code:", code), 0, 0);
    cg->addWidget(m_edtKodeTanggal, 0, 1);
    cg->addWidget(m_edtKodeNomer, 0, 2);
    cg->addWidget(m_edtKodeBarang, 0, 3);
    cg->addWidget(new QLabel("Last NewRecord:", code), 1, 0);
    cg->addWidget(m_edtLastRec, 1, 1, 1, 2);
    left->addWidget(code);

    // Classes.
    auto* classes = new QGroupBox(this);
    auto* kg = new QGridLayout(classes);
    m_edtUDC = lineEdit(classes, "edtUDC", 2);
    m_edtUDC->setToolTip(kClassHint);
    upperCaseAsTyped(m_edtUDC);
    m_edtDDC = lineEdit(classes, "edtDDC", 7);
    m_bbtSearchDDC = new QPushButton("Search DDC", classes);
    m_bbtSearchDDC->setObjectName("bbtSearchDDC");
    m_bbtSearchDDC->setToolTip("This function need internet connection.");
    m_bbtSearchDDC->setFocusPolicy(Qt::NoFocus);
    kg->addWidget(new QLabel("Classification UDC:", classes), 0, 0);
    kg->addWidget(m_edtUDC, 0, 1);
    kg->addWidget(organizerButton(3, "bbtUDCOrganizer", "UDC Organizer"), 0, 2);
    kg->addWidget(new QLabel("DDC:", classes), 1, 0);
    kg->addWidget(m_edtDDC, 1, 1);
    kg->addWidget(organizerButton(4, "bbtDDCOrganizer", "DDC Organizer"), 1, 2);
    kg->addWidget(m_bbtSearchDDC, 1, 3);
    left->addWidget(classes);

    // Call number and its barcode.
    auto* callNumber = new QGroupBox("Book Call Code ", this);
    callNumber->setObjectName("pnlCallCode");
    auto* cn = new QGridLayout(callNumber);
    cn->addWidget(new QLabel("Labelling", callNumber), 0, 0, 1, 3);
    m_edtCNKLS = lineEdit(callNumber, "edtCNKLS", 3);
    m_edtCNKLS->setToolTip("Contoh: K12");
    m_edtCNRAK = lineEdit(callNumber, "edtCNRAK", 3);
    m_edtCNRAK->setToolTip("R01");
    m_edtCNBRS = lineEdit(callNumber, "edtCNBRS", 3);
    m_edtCNBRS->setToolTip("Contoh: 001");
    for (QLineEdit* e : {m_edtCNKLS, m_edtCNRAK, m_edtCNBRS}) upperCaseAsTyped(e);
    auto* room = new QLabel("Room", callNumber);
    room->setToolTip("Contoh: K12R01B01 berarti buku ini disimpan di Kelas12 RakNo01 pada Baris01");
    cn->addWidget(room, 1, 0);
    cn->addWidget(new QLabel("Rack", callNumber), 1, 1);
    cn->addWidget(new QLabel("Row", callNumber), 1, 2);
    cn->addWidget(m_edtCNKLS, 2, 0);
    cn->addWidget(m_edtCNRAK, 2, 1);
    cn->addWidget(m_edtCNBRS, 2, 2);
    m_BCbook = new QLabel(callNumber);
    m_BCbook->setObjectName("BCbook");
    m_BCbook->setMinimumSize(240, 110);
    m_BCbook->setAlignment(Qt::AlignCenter);
    cn->addWidget(m_BCbook, 0, 3, 3, 1);
    left->addWidget(callNumber);

    // Details.
    auto* details = new QGroupBox(this);
    auto* dg = new QGridLayout(details);
    m_edtBAHASA = lineEdit(details, "edtBAHASA", 14);
    m_edtBAHASA->setToolTip(kClassHint);
    upperCaseAsTyped(m_edtBAHASA);
    m_edtKEYWORD = lineEdit(details, "edtKEYWORD", 200);
    m_edtISBN = lineEdit(details, "edtISBN", 20);
    m_rdbAsli = new QRadioButton("A= Asli", details);
    m_rdbAsli->setObjectName("rdbAsli");
    m_rdbCopy = new QRadioButton("C= Copy", details);
    m_rdbCopy->setObjectName("rdbCopy");
    auto* ocGroup = new QButtonGroup(details);
    ocGroup->addButton(m_rdbAsli);
    ocGroup->addButton(m_rdbCopy);
    m_edtOC = readOnlyEdit(details, "edtOC");
    m_edtOC->setEnabled(false);
    m_edtOC->setMaximumWidth(30);
    m_edtKONDISI = lineEdit(details, "edtKONDISI", 6);
    m_lblKONDISI = new QLabel("New=100% - 0%=broken", details);
    m_lblKONDISI->setObjectName("lblKONDISI");
    m_lblKONDISI->installEventFilter(this);
    m_edtKelas = lineEdit(details, "edtKelas", 10);
    m_edtKelas->setToolTip(kClassHint);
    upperCaseAsTyped(m_edtKelas);
    m_edtUsia = lineEdit(details, "edtUsia", 9);
    m_edtUsia->setToolTip(kClassHint);
    int r = 0;
    dg->addWidget(new QLabel("Language", details), r, 0);
    dg->addWidget(m_edtBAHASA, r, 1);
    dg->addWidget(organizerButton(5, "bbtBahasaOrganizer", "Language Organizer"), r++, 2);
    dg->addWidget(new QLabel("Key Word", details), r, 0);
    dg->addWidget(m_edtKEYWORD, r++, 1, 1, 2);
    dg->addWidget(new QLabel("ISBN", details), r, 0);
    dg->addWidget(m_edtISBN, r++, 1);
    dg->addWidget(new QLabel("Original / Copy", details), r, 0);
    auto* oc = new QHBoxLayout;
    oc->addWidget(m_rdbAsli);
    oc->addWidget(m_rdbCopy);
    oc->addWidget(m_edtOC);
    oc->addStretch();
    dg->addLayout(oc, r++, 1, 1, 2);
    dg->addWidget(new QLabel("Condition", details), r, 0);
    dg->addWidget(m_edtKONDISI, r, 1);
    dg->addWidget(m_lblKONDISI, r++, 2);
    dg->addWidget(new QLabel("Class", details), r, 0);
    dg->addWidget(m_edtKelas, r++, 1);
    dg->addWidget(new QLabel("Ages", details), r, 0);
    dg->addWidget(m_edtUsia, r++, 1);
    right->addWidget(details);

    // Purchase panel, shown by a double click on the condition label.
    m_pnlBeli = new QFrame(this);
    m_pnlBeli->setObjectName("pnlBeli");
    m_pnlBeli->setFrameShape(QFrame::StyledPanel);
    auto* pf = new QFormLayout(m_pnlBeli);
    m_edtSHARGA = lineEdit(m_pnlBeli, "edtSHARGA", 15);
    m_edtNMTOKO = lineEdit(m_pnlBeli, "edtNMTOKO", 50);
    m_edtNMDONATUR = lineEdit(m_pnlBeli, "edtNMDONATUR", 50);
    m_edtTGBELI = lineEdit(m_pnlBeli, "edtTGBELI", 10);
    m_edtTGBELI->setPlaceholderText("yyyy-mm-dd");
    pf->addRow("Price", m_edtSHARGA);
    pf->addRow("Shop name:", m_edtNMTOKO);
    pf->addRow("Donatur name:", m_edtNMDONATUR);
    pf->addRow("Buy date:", m_edtTGBELI);
    m_pnlBeli->hide();
    right->addWidget(m_pnlBeli);

    // Circulation, shown only.
    auto* circulation = new QGroupBox(this);
    auto* cf = new QFormLayout(circulation);
    m_edtSTATUS = readOnlyEdit(circulation, "edtSTATUS");
    m_edtKDANGGOTA = readOnlyEdit(circulation, "edtKDANGGOTA");
    m_edtTGPINJAM = readOnlyEdit(circulation, "edtTGPINJAM");
    cf->addRow("Status", m_edtSTATUS);
    cf->addRow("Borrower", m_edtKDANGGOTA);
    cf->addRow("Date Borrow", m_edtTGPINJAM);
    right->addWidget(circulation);

    // Label queue.
    auto* label = new QHBoxLayout;
    m_cbCetakLabel = new QCheckBox("Book Label", this);
    m_cbCetakLabel->setObjectName("cbCetakLabel");
    m_cbCetakLabel->setFocusPolicy(Qt::NoFocus);
    m_lblCetakLabel = new QLabel(this);
    m_lblCetakLabel->setObjectName("lblCetakLabel");
    label->addWidget(m_cbCetakLabel);
    label->addWidget(m_lblCetakLabel);
    label->addStretch();
    right->addLayout(label);
    auto* labelCaption = new QLabel(catalogue::kBookLabelCaption, this);
    labelCaption->setWordWrap(true);
    right->addWidget(labelCaption);
    right->addStretch();

    // SAVE, CANCELL and delete: shown in edit mode only.
    m_pnlEdit = new QFrame(this);
    m_pnlEdit->setObjectName("pnlEdit");
    auto* eb = new QHBoxLayout(m_pnlEdit);
    auto editButton = [this](const char* name, const char* caption, void (TfrmBUKU::*slot)()) {
        auto* b = new QPushButton(caption, m_pnlEdit);
        b->setObjectName(name);
        // Enter on a focused button presses it, as PageDown leads there.
        b->setAutoDefault(true);
        connect(b, &QPushButton::clicked, this, [this, slot] { (this->*slot)(); });
        return b;
    };
    m_bbtSAVE = editButton("bbtSAVE", "SAVE", &TfrmBUKU::saveClicked);
    m_bbtCANCELL = editButton("bbtCANCELL", "CANCELL", &TfrmBUKU::cancelClicked);
    m_bbtDelete = editButton("bbtDelete", "Delete this Record", &TfrmBUKU::deleteClicked);
    eb->addWidget(m_bbtSAVE);
    eb->addWidget(m_bbtCANCELL);
    eb->addStretch();
    eb->addWidget(m_bbtDelete);
    m_pnlEdit->hide();
    layout->addWidget(m_pnlEdit);

    // Drop-down lists of the UDC and DDC fields.
    m_pnlUDC = dropDownFrame(this, "pnlUDC", "Universal Decimal Clasification", m_dbgUDC, "dbgUDC");
    m_pnlDDC = dropDownFrame(this, "pnlDDC", nullptr, m_dbgDDC, "dbgDDC");
    connect(m_dbgUDC, &QTableView::doubleClicked, this, [this] { pickUdc(); });
    connect(m_dbgDDC, &QTableView::doubleClicked, this, [this] { pickDdc(); });

    connect(m_bbtSearchDDC, &QPushButton::clicked, this, [this] { searchDdcClicked(); });
    for (int i = 0; i < 3; ++i)
        connect(m_organizers[i], &QPushButton::clicked, this, [this, i] { openNameOrganizer(i); });
    for (int i = 3; i < 6; ++i)
        connect(m_organizers[i], &QPushButton::clicked, this, [this, i] { openTableEditor(i); });
    connect(m_edtKodeBarang, &QLineEdit::textChanged, this, [this] { showBarcode(); });

    // After the lookups: this window's filters then see the keys first.
    buildLookups();
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_edtAuthor, m_edtKodeTanggal, m_edtKodeNomer, m_edtUDC,     m_dbgUDC,    m_edtDDC,
             m_dbgDDC,    m_edtCNKLS,       m_edtCNRAK,     m_edtCNBRS,   m_edtBAHASA, m_edtKEYWORD,
             m_edtISBN,   m_rdbAsli,        m_rdbCopy,      m_edtKONDISI, m_edtKelas,  m_edtUsia,
             m_edtSHARGA, m_edtNMTOKO,      m_edtNMDONATUR, m_edtTGBELI})
        w->installEventFilter(this);
    connect(arrows[0], &QToolButton::clicked, this, [this] { m_titleLookup->downPressed(); });
    connect(arrows[1], &QToolButton::clicked, this, [this] { m_authorLookup->downPressed(); });
    connect(arrows[2], &QToolButton::clicked, this, [this] { m_publisherLookup->downPressed(); });

    setTabOrder(m_edtTITLE, m_edtAuthor);
    setTabOrder(m_edtAuthor, m_edtPUBLISHER);
    setTabOrder(m_edtPUBLISHER, m_edtKodeTanggal);
    setTabOrder(m_edtKodeTanggal, m_edtKodeNomer);
    setTabOrder(m_edtKodeNomer, m_edtUDC);
    setTabOrder(m_edtUDC, m_edtDDC);
    setTabOrder(m_edtDDC, m_edtCNKLS);
    setTabOrder(m_edtCNKLS, m_edtCNRAK);
    setTabOrder(m_edtCNRAK, m_edtCNBRS);
    setTabOrder(m_edtCNBRS, m_edtBAHASA);
    setTabOrder(m_edtBAHASA, m_edtKEYWORD);
}

void TfrmBUKU::buildLookups() {
    ui::TypeAheadField::Config title;
    title.listQuery = "tqTitle";
    title.listTable = "tTitle";
    title.listColumn = "TITLE";
    title.exactTable = "tbTITLE";
    title.exactIndex = "iTITLE";
    title.captureWording = " a new TITLE?";
    title.captureExtras = {{"JENIS", catalogue::kBookKind}};
    title.escapeStays = true;
    m_titleLookup = new ui::TypeAheadField(m_ctx, m_edtTITLE, title, this);
    m_titleLookup->setNextField(m_edtAuthor);

    // The list tables are named in capitals in these statements; table
    // names compare without regard to case.
    ui::TypeAheadField::Config author;
    author.listQuery = "tqAuthor";
    author.listTable = "tAUTHOR";
    author.listColumn = "AUTHOR";
    author.exactTable = "tbAuthor";
    author.exactIndex = "iAUTHOR";
    author.captureWording = " a new AUTHOR?";
    m_authorLookup = new ui::TypeAheadField(m_ctx, m_edtAuthor, author, this);
    m_authorLookup->setNextField(m_edtPUBLISHER);

    ui::TypeAheadField::Config publisher;
    publisher.listQuery = "tqPublisher";
    publisher.listTable = "tPUBLISHER";
    publisher.listColumn = "PUBLISHER";
    publisher.exactTable = "tbPublisher";
    publisher.exactIndex = "iPUBLISHER";
    publisher.captureWording = " a new PUBLISHER?";
    m_publisherLookup = new ui::TypeAheadField(m_ctx, m_edtPUBLISHER, publisher, this);
    m_publisherLookup->setNextField(m_edtKodeTanggal);
    const auto toDate = [this] { m_edtKodeTanggal->setFocus(); };
    m_publisherLookup->onFound = toDate;
    m_publisherLookup->onCaptured = toDate;
    m_publisherLookup->onEscape = toDate;

    ui::TypeAheadField::Config language;
    language.listQuery = "tqBAHASA";
    language.listTable = "tBAHASA";
    language.listColumn = "BAHASA";
    language.escapeClears = false;
    m_languageLookup = new ui::TypeAheadField(m_ctx, m_edtBAHASA, language, this);
    m_languageLookup->setNextField(m_edtKEYWORD);
}

void TfrmBUKU::open() {
    ui::guarded(m_ctx, this, [&] {
        store::Table& counters = m_ctx.data.openTable("tbUMUM", "iKasus");
        const auto last = store::readVariable(counters, store::kCountersLayout,
                                              catalogue::kBookCodes.counterName);
        m_edtLastRec->setText(last ? ui::qs(core::trim(*last)) : QString());
    });
    ui::guarded(m_ctx, this, [&] {
        m_ctx.data.ensureLibraryConnected();
        for (auto [object, index] :
             {std::pair{"tbBUKU", "iKodeBuku"}, std::pair{"tbTITLE", "iTITLE"},
              std::pair{"tbAuthor", "iAUTHOR"}, std::pair{"tbPublisher", "iPUBLISHER"},
              std::pair{"tbUDC", "iUDC"}, std::pair{"tbDDC", "iDDC"},
              std::pair{"tbBAHASA", "iBAHASA"}, std::pair{"tbCetakLabel", "iKDBARANG"}})
            m_ctx.data.openTable(object, index);
    });
    bool ticked = false;
    ui::guarded(m_ctx, this, [&] { ticked = app::labelOptionTicked(m_ctx.data); });
    m_cbCetakLabel->setChecked(ticked);

    m_udcModel = new ui::QueryModel(m_ctx.data.query("tqUDC"), m_dbgUDC);
    m_dbgUDC->setModel(m_udcModel);
    clearForm();
}

void TfrmBUKU::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_listensToArea) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            if (QMdiArea* area = sub->mdiArea()) {
                m_listensToArea = true;
                m_activeSeen = sub;
                connect(area, &QMdiArea::subWindowActivated, this, [this, sub](QMdiSubWindow* now) {
                    // Another document was active in between: this one is activated again.
                    if (now == sub && m_activeSeen != sub) activated();
                    if (now) m_activeSeen = now;
                });
            }
        }
    }
    activated();
}

void TfrmBUKU::activated() {
    m_kind = catalogue::kBookKind;
    m_edtTITLE->setFocus();
    // The language list starts on ENGLISH.
    ui::guarded(m_ctx, this, [&] {
        store::Query& q = m_ctx.data.query("tqBAHASA");
        q.close();
        q.setSql("SELECT * FROM tBAHASA");
        q.open();
        q.first();
        auto* model = qobject_cast<ui::QueryModel*>(m_languageLookup->grid()->model());
        if (model) model->reset();
        for (std::size_t row = 0; !q.eof(); q.next(), ++row) {
            if (core::trim(q.asString("BAHASA")) == "ENGLISH") {
                if (model) {
                    while (static_cast<std::size_t>(model->rowCount()) <= row &&
                           model->canFetchMore({}))
                        model->fetchMore({});
                    m_languageLookup->grid()->setCurrentIndex(
                        model->index(static_cast<int>(row), 0));
                }
                break;
            }
        }
    });
}

// ---- Form values

catalogue::BookForm TfrmBUKU::formValues() const {
    catalogue::BookForm f;
    f.title = ui::ss(m_edtTITLE->text());
    f.author = ui::ss(m_edtAuthor->text());
    f.publisher = ui::ss(m_edtPUBLISHER->text());
    f.udc = ui::ss(m_edtUDC->text());
    f.ddc = ui::ss(m_edtDDC->text());
    f.language = ui::ss(m_edtBAHASA->text());
    f.keywords = ui::ss(m_edtKEYWORD->text());
    f.isbn = ui::ss(m_edtISBN->text());
    // The radio buttons decide; with neither chosen a loaded copy keeps its value.
    f.originalOrCopy = m_rdbAsli->isChecked()   ? "A"
                       : m_rdbCopy->isChecked() ? "C"
                                                : ui::ss(m_edtOC->text());
    f.condition = ui::ss(m_edtKONDISI->text());
    f.classGroup = ui::ss(m_edtKelas->text());
    f.age = ui::ss(m_edtUsia->text());
    f.room = ui::ss(m_edtCNKLS->text());
    f.rack = ui::ss(m_edtCNRAK->text());
    f.row = ui::ss(m_edtCNBRS->text());
    f.price = ui::ss(m_edtSHARGA->text());
    f.shop = ui::ss(m_edtNMTOKO->text());
    f.donor = ui::ss(m_edtNMDONATUR->text());
    f.buyDate = ui::ss(m_edtTGBELI->text());
    return f;
}

void TfrmBUKU::showForm(const catalogue::BookForm& f, const catalogue::BookCirculation& c) {
    m_edtTITLE->setText(ui::qs(f.title));
    m_edtAuthor->setText(ui::qs(f.author));
    m_edtPUBLISHER->setText(ui::qs(f.publisher));
    m_edtUDC->setText(ui::qs(f.udc));
    m_edtDDC->setText(ui::qs(f.ddc));
    m_edtBAHASA->setText(ui::qs(f.language));
    m_edtKEYWORD->setText(ui::qs(f.keywords));
    m_edtISBN->setText(ui::qs(f.isbn));
    m_edtOC->setText(ui::qs(f.originalOrCopy));
    const std::string oc = core::asciiUpper(f.originalOrCopy);
    auto* group = m_rdbAsli->group();
    group->setExclusive(false);
    m_rdbAsli->setChecked(oc == "A");
    m_rdbCopy->setChecked(oc == "C");
    group->setExclusive(true);
    m_edtKONDISI->setText(ui::qs(f.condition));
    m_edtKelas->setText(ui::qs(f.classGroup));
    m_edtUsia->setText(ui::qs(f.age));
    m_edtSTATUS->setText(ui::qs(c.status));
    m_edtKDANGGOTA->setText(ui::qs(c.borrower));
    m_edtTGPINJAM->setText(ui::qs(c.dateBorrowed));
    m_edtSHARGA->setText(ui::qs(f.price));
    m_edtNMTOKO->setText(ui::qs(f.shop));
    m_edtNMDONATUR->setText(ui::qs(f.donor));
    m_edtTGBELI->setText(ui::qs(f.buyDate));
    m_edtCNKLS->setText(ui::qs(f.room));
    m_edtCNRAK->setText(ui::qs(f.rack));
    m_edtCNBRS->setText(ui::qs(f.row));
}

void TfrmBUKU::setExistingSign(bool on) {
    m_existingSign = on;
    for (QLineEdit* e : {m_edtTITLE, m_edtAuthor, m_edtPUBLISHER}) {
        QPalette p = e->palette();
        p.setColor(QPalette::Base, on ? existingCopyColour() : palette().color(QPalette::Base));
        e->setPalette(p);
    }
}

void TfrmBUKU::setEditMode(bool on) {
    m_editMode = on;
    m_pnlEdit->setVisible(on);
}

void TfrmBUKU::clearCodeEdits() {
    m_edtKodeTanggal->clear();
    m_edtKodeNomer->clear();
    m_edtKodeBarang->clear();
}

void TfrmBUKU::applyLevelVisibility() {
    const catalogue::LevelVisibility v = catalogue::visibilityForLevel(m_ctx.env.user.level);
    for (QPushButton* b : m_organizers) b->setVisible(v.organizers);
    m_bbtDelete->setVisible(v.deleteButton);
}

void TfrmBUKU::refreshQueueCount() {
    ui::guarded(m_ctx, this, [&] {
        store::Table& queue = m_ctx.data.openTable("tbCetakLabel", "iKDBARANG");
        m_lblCetakLabel->setText(QString::number(queue.recordCount()));
    });
}

void TfrmBUKU::clearForm() {
    setEditMode(false);
    applyLevelVisibility();
    for (ui::TypeAheadField* f :
         {m_titleLookup, m_authorLookup, m_publisherLookup, m_languageLookup})
        f->hideDropDown();
    hideUdcList();
    hideDdcList();
    for (QLineEdit* e : {m_edtTITLE,  m_edtAuthor,  m_edtPUBLISHER, m_edtUDC,      m_edtDDC,
                         m_edtBAHASA, m_edtKEYWORD, m_edtISBN,      m_edtOC,       m_edtKONDISI,
                         m_edtKelas,  m_edtSTATUS,  m_edtKDANGGOTA, m_edtTGPINJAM, m_edtTGBELI,
                         m_edtSHARGA, m_edtNMTOKO,  m_edtNMDONATUR, m_edtCNRAK,    m_edtCNBRS})
        e->clear();
    m_rdbAsli->setChecked(true);
    m_edtUsia->setText(catalogue::kDefaultAge);
    m_edtCNKLS->setText(catalogue::kDefaultRoom);
    refreshQueueCount();
}

void TfrmBUKU::showBarcode() {
    const std::string code = core::trim(ui::ss(m_edtKodeBarang->text()));
    if (code.empty()) {
        m_BCbook->clear();
        return;
    }
    const QImage image = printing::renderBarcode(code, printing::CodeSet::C);
    if (image.isNull())
        m_BCbook->clear();
    else
        m_BCbook->setPixmap(
            QPixmap::fromImage(image).scaled(m_BCbook->size(), Qt::KeepAspectRatio));
}

void TfrmBUKU::togglePurchasePanel() { m_pnlBeli->setVisible(!m_pnlBeli->isVisible()); }

void TfrmBUKU::focusSaveIfEditing() {
    if (m_editMode) m_bbtSAVE->setFocus();
}

void TfrmBUKU::focusProblemField(const catalogue::FormProblem& problem) {
    if (problem.field == catalogue::FormProblem::Field::BuyDate) {
        m_pnlBeli->show();
        m_edtTGBELI->setFocus();
    } else {
        m_edtUsia->setFocus();
    }
}

// ---- Item code

void TfrmBUKU::proposeCode() {
    catalogue::Proposal proposal;
    if (!ui::guarded(m_ctx, this, [&] {
            proposal = catalogue::proposeCode(m_ctx.data.openTable("tbUMUM", "iKasus"),
                                              catalogue::kBookCodes, m_ctx.clock.now());
        }))
        return;
    m_edtLastRec->setText(ui::qs(proposal.lastRecordLine));
    catalogue::ProposalAnswer answer = catalogue::ProposalAnswer::Yes;
    if (!proposal.question.empty()) {
        switch (m_ctx.dialogs.yesNo(this, ui::qs(proposal.question))) {
            case ui::Dialogs::Answer::Yes:
                answer = catalogue::ProposalAnswer::Yes;
                break;
            case ui::Dialogs::Answer::No:
                answer = catalogue::ProposalAnswer::No;
                break;
            case ui::Dialogs::Answer::Closed:
                answer = catalogue::ProposalAnswer::Closed;
                break;
        }
    }
    if (auto parts = catalogue::chooseProposal(proposal, answer)) {
        m_edtKodeTanggal->setText(ui::qs(parts->datePart));
        m_edtKodeNomer->setText(ui::qs(parts->sequencePart));
    }
}

void TfrmBUKU::checkCode() {
    catalogue::AssembledCode assembled;
    if (!ui::guarded(m_ctx, this, [&] {
            assembled =
                catalogue::assembleCode(catalogue::kBookCodes, ui::ss(m_edtKodeTanggal->text()),
                                        ui::ss(m_edtKodeNomer->text()));
        }))
        return;
    m_edtUDC->setFocus();
    m_edtKodeNomer->setText(ui::qs(assembled.sequencePart));
    m_edtKodeBarang->setText(ui::qs(assembled.code));

    store::Table& books = m_ctx.data.table(catalogue::kBookCodes.itemTable);
    const catalogue::BookForm form = formValues();
    std::optional<catalogue::FormProblem> problem;
    catalogue::CodeCheckSteps steps;
    steps.confirm = [this](const std::string& question) {
        return m_ctx.dialogs.confirm(this, ui::qs(question));
    };
    steps.refuseNew = [&]() -> std::string {
        problem = catalogue::checkBookForm(form);
        return problem ? problem->message : std::string();
    };
    steps.insertNew = [&](const std::string& code) {
        catalogue::insertBook(books, form, code, m_ctx.env.user.name, m_ctx.clock.now());
    };
    catalogue::CodeCheck check;
    if (!ui::guarded(m_ctx, this, [&] {
            check = catalogue::checkCode(books, m_ctx.data.openTable("tbUMUM", "iKasus"),
                                         catalogue::kBookCodes, assembled.code, steps);
        }))
        return;
    if (check.counterValue) m_edtLastRec->setText(ui::qs(*check.counterValue));

    switch (check.outcome) {
        case catalogue::CodeOutcome::Existing: {
            catalogue::BookForm loaded;
            catalogue::BookCirculation circulation;
            if (!ui::guarded(m_ctx, this, [&] {
                    loaded = catalogue::readBookForm(books);
                    circulation = catalogue::readBookCirculation(books);
                }))
                return;
            m_edtKodeBarang->setText(ui::qs(core::trim(books.asString("KDBARANG"))));
            showForm(loaded, circulation);
            setExistingSign(true);
            m_edtUDC->setFocus();
            setEditMode(true);
            break;
        }
        case catalogue::CodeOutcome::Created: {
            if (m_cbCetakLabel->isChecked()) {
                std::string labelError;
                ui::guarded(m_ctx, this, [&] {
                    labelError = catalogue::queueNewCopy(m_ctx.data.table("tbCetakLabel"),
                                                         m_ctx.env.databaseDirectory,
                                                         assembled.code, form.title);
                });
                if (!labelError.empty()) m_ctx.dialogs.error(this, ui::qs(labelError));
                refreshQueueCount();
            }
            // A copy loaded before may still show its sign.
            setExistingSign(false);
            m_edtUDC->setFocus();
            setEditMode(true);
            break;
        }
        case catalogue::CodeOutcome::Taken:
            // The code belongs to another item now: a copy loaded before must
            // not stay open for SAVE, which would write this form over it.
            setEditMode(false);
            setExistingSign(false);
            m_ctx.dialogs.information(this, ui::qs(check.message));
            // Entering the date field again proposes the number after the taken one.
            m_edtKodeTanggal->setFocus(Qt::TabFocusReason);
            break;
        case catalogue::CodeOutcome::Cancelled:
            setExistingSign(false);
            m_ctx.dialogs.information(this, ui::qs(check.message));
            for (QLineEdit* e :
                 {m_edtTITLE, m_edtAuthor, m_edtPUBLISHER, m_edtKodeTanggal, m_edtKodeNomer})
                e->clear();
            m_edtTITLE->setFocus();
            break;
        case catalogue::CodeOutcome::Refused:
            m_ctx.dialogs.information(this, ui::qs(check.message));
            if (problem) focusProblemField(*problem);
            break;
    }
}

// ---- SAVE, CANCELL, delete

void TfrmBUKU::saveClicked() {
    const QString code = m_edtKodeBarang->text();
    catalogue::SaveOutcome outcome;
    if (!ui::guarded(m_ctx, this, [&] {
            outcome = catalogue::saveBook(
                m_ctx.data.table("tbBUKU"), m_ctx.data.table("tbCetakLabel"),
                m_ctx.env.databaseDirectory, ui::ss(code), formValues(), m_ctx.env.user.name,
                m_ctx.clock.now(), [this](const std::string& question) {
                    return m_ctx.dialogs.confirm(this, ui::qs(question));
                });
        }))
        return;
    if (outcome.problem) {
        m_ctx.dialogs.information(this, ui::qs(outcome.problem->message));
        focusProblemField(*outcome.problem);
        return;
    }
    if (!outcome.saved) {
        m_ctx.dialogs.information(this, ui::qs(outcome.message));
        m_edtTITLE->setFocus();
        return;
    }
    if (!outcome.labelError.empty()) m_ctx.dialogs.error(this, ui::qs(outcome.labelError));
    clearForm();
    setExistingSign(false);
    clearCodeEdits();
    m_edtTITLE->setFocus();
}

void TfrmBUKU::cancelClicked() {
    clearForm();
    setExistingSign(false);
    clearCodeEdits();
    m_edtTITLE->setFocus();
}

void TfrmBUKU::deleteClicked() {
    catalogue::DeleteOutcome outcome;
    if (!ui::guarded(m_ctx, this, [&] {
            outcome = catalogue::deleteBook(
                m_ctx.data.table("tbBUKU"), ui::ss(m_edtKodeBarang->text()),
                ui::ss(m_edtTITLE->text()), [this](const std::string& question) {
                    return m_ctx.dialogs.confirm(this, ui::qs(question));
                });
        }))
        return;
    if (!outcome.message.empty()) {
        m_ctx.dialogs.information(this, ui::qs(outcome.message));
        m_edtTITLE->setFocus();
        return;
    }
    // Answered OK: the copy is gone (or was already), so is its code.
    clearForm();
    setExistingSign(false);
    clearCodeEdits();
    m_edtTITLE->setFocus();
}

void TfrmBUKU::searchDdcClicked() {
    const QString title = m_edtTITLE->text().trimmed();
    if (title.isEmpty()) {
        m_ctx.dialogs.information(this, catalogue::kSearchDdcNeedsTitle);
        return;
    }
    TfrmOCLC search(m_ctx, title, this);
    search.exec();
}

// ---- UDC and DDC lists

void TfrmBUKU::placeBelow(QWidget* popup, QWidget* field) {
    const QPoint below = field->mapTo(this, QPoint(0, field->height()));
    popup->move(below);
    popup->resize(std::max(field->width(), 360), 200);
    popup->raise();
}

void TfrmBUKU::udcKeyReleased() {
    bool match = false;
    if (!ui::guarded(m_ctx, this, [&] {
            match = catalogue::isUdcClass(m_ctx.data.table("tbUDC"), ui::ss(m_edtUDC->text()));
        }))
        return;
    if (match) {
        hideUdcList();
        m_edtDDC->setFocus();
    } else if (!m_edtUDC->text().trimmed().isEmpty()) {
        if (!m_pnlUDC->isVisible()) showUdcList(true);
    }
}

void TfrmBUKU::showUdcList(bool takeFocus) {
    store::Query& q = m_ctx.data.query("tqUDC");
    q.close();
    m_udcModel->reset();
    q.setSql("SELECT * FROM tUDC");
    ui::guarded(m_ctx, this, [&] { q.open(); });
    m_udcModel->reset();
    if (m_udcModel->rowCount() > 0) m_dbgUDC->setCurrentIndex(m_udcModel->index(0, 0));
    placeBelow(m_pnlUDC, m_edtUDC);
    m_pnlUDC->show();
    if (takeFocus) m_dbgUDC->setFocus();
}

void TfrmBUKU::hideUdcList() { m_pnlUDC->hide(); }

void TfrmBUKU::pickUdc() {
    const QModelIndex current = m_dbgUDC->currentIndex();
    store::Query& q = m_ctx.data.query("tqUDC");
    if (current.isValid() && q.isOpen()) {
        ui::guarded(m_ctx, this, [&] {
            q.moveTo(static_cast<std::size_t>(current.row()));
            m_edtUDC->setText(ui::qs(core::trim(q.asString("UDC"))));
        });
    }
    hideUdcList();
    m_edtDDC->setFocus();
}

void TfrmBUKU::showDdcList() {
    // The list is read afresh each time it drops down (the DDC organizer may
    // have changed it).
    if (!ui::guarded(m_ctx, this, [&] {
            store::Table& ddc = m_ctx.data.table("tbDDC");
            ddc.setIndexName("iDDC");
            if (!ddc.isOpen()) ddc.open();
            if (m_ddcModel) {
                m_ddcModel->reload();
            } else {
                m_ddcModel = new ui::TableModel(ddc, m_dbgDDC);
                m_dbgDDC->setModel(m_ddcModel);
            }
        }))
        return;
    if (m_ddcModel->rowCount() > 0 && !m_dbgDDC->currentIndex().isValid())
        m_dbgDDC->setCurrentIndex(m_ddcModel->index(0, 0));
    placeBelow(m_pnlDDC, m_edtDDC);
    m_pnlDDC->show();
    m_dbgDDC->setFocus();
}

void TfrmBUKU::hideDdcList() { m_pnlDDC->hide(); }

void TfrmBUKU::pickDdc() {
    const QModelIndex current = m_dbgDDC->currentIndex();
    if (m_ddcModel && current.isValid()) {
        for (int c = 0; c < m_ddcModel->columnCount(); ++c)
            if (m_ddcModel->headerData(c, Qt::Horizontal, Qt::DisplayRole)
                    .toString()
                    .compare("DDC", Qt::CaseInsensitive) == 0)
                m_edtDDC->setText(m_ddcModel->index(current.row(), c).data().toString().trimmed());
    }
    hideDdcList();
    m_edtCNKLS->setFocus();
}

// ---- Organizers

void TfrmBUKU::openNameOrganizer(int which) {
    ui::TypeAheadField* lookups[3] = {m_titleLookup, m_authorLookup, m_publisherLookup};
    QLineEdit* fields[3] = {m_edtTITLE, m_edtAuthor, m_edtPUBLISHER};
    lookups[which]->hideDropDown();
    std::unique_ptr<NameOrganizer> organizer;
    if (which == 0)
        organizer = std::make_unique<TfrmTITLE>(m_ctx, m_kind, fields[which]->text(), this);
    else if (which == 1)
        organizer = std::make_unique<TfrmAuthor>(m_ctx, m_kind, fields[which]->text(), this);
    else
        organizer = std::make_unique<TfrmPublisher>(m_ctx, m_kind, fields[which]->text(), this);
    if (organizer->exec() == QDialog::Accepted && !organizer->renamedValue().isEmpty())
        fields[which]->setText(organizer->renamedValue());
}

void TfrmBUKU::openTableEditor(int which) {
    if (which == 3) {
        hideUdcList();
        TfrmUDC editor(m_ctx, this);
        editor.exec();
    } else if (which == 4) {
        hideDdcList();
        TfrmDDC editor(m_ctx, this);
        editor.exec();
    } else {
        m_languageLookup->hideDropDown();
        TfrmBAHASA editor(m_ctx, this);
        editor.exec();
    }
}

// ---- Keys

QWidget* TfrmBUKU::nextAfter(QWidget* field) const {
    QWidget* afterDetails = m_editMode ? static_cast<QWidget*>(m_bbtSAVE) : m_edtTITLE;
    if (field == m_edtCNKLS) return m_edtCNRAK;
    if (field == m_edtCNRAK) return m_edtCNBRS;
    if (field == m_edtKEYWORD) return m_edtISBN;
    if (field == m_edtISBN) return m_rdbCopy->isChecked() ? m_rdbCopy : m_rdbAsli;
    if (field == m_rdbAsli || field == m_rdbCopy) return m_edtKONDISI;
    if (field == m_edtKONDISI) return m_edtKelas;
    if (field == m_edtKelas) return m_edtUsia;
    if (field == m_edtUsia) return m_pnlBeli->isVisible() ? m_edtSHARGA : afterDetails;
    if (field == m_edtSHARGA) return m_edtNMTOKO;
    if (field == m_edtNMTOKO) return m_edtNMDONATUR;
    if (field == m_edtNMDONATUR) return m_edtTGBELI;
    if (field == m_edtTGBELI) return afterDetails;
    return nullptr;
}

bool TfrmBUKU::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_lblKONDISI && event->type() == QEvent::MouseButtonDblClick) {
        togglePurchasePanel();
        return true;
    }
    if (watched == m_edtKodeTanggal && event->type() == QEvent::FocusIn) {
        // A message box closing gives the focus back: that is no entering.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) proposeCode();
        return false;
    }
    if (watched == m_edtUsia && event->type() == QEvent::FocusOut) {
        if (m_edtUsia->text().trimmed().isEmpty()) m_edtUsia->setText(catalogue::kDefaultAge);
        return false;
    }
    if (watched == m_edtUDC && event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Escape:
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Down:
            case Qt::Key_PageDown:
                break;
            default:
                if (!key->isAutoRepeat()) udcKeyReleased();
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);

    if (watched == m_edtAuthor) {
        // Enter in the author field also closes the title's list.
        if (isEnter(key)) m_titleLookup->hideDropDown();
        return false;
    }
    if (watched == m_edtKodeTanggal && isEnter(key)) {
        m_edtKodeNomer->setFocus();
        return true;
    }
    if (watched == m_edtKodeNomer && isEnter(key)) {
        checkCode();
        return true;
    }
    if (watched == m_edtKodeTanggal || watched == m_edtKodeNomer) return false;
    if (watched == m_edtUDC) {
        if (isEnter(key)) {
            hideUdcList();
            m_edtDDC->setFocus();
            return true;
        }
        if (key->key() == Qt::Key_Down) {
            showUdcList(true);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            hideUdcList();
            return true;
        }
        if (key->key() == Qt::Key_PageDown) {
            hideUdcList();
            focusSaveIfEditing();
            return true;
        }
        return false;
    }
    if (watched == m_dbgUDC || watched == m_dbgDDC) {
        const bool udc = watched == m_dbgUDC;
        if (isEnter(key)) {
            udc ? pickUdc() : pickDdc();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            QLineEdit* field = udc ? m_edtUDC : m_edtDDC;
            field->clear();
            udc ? hideUdcList() : hideDdcList();
            field->setFocus();
            return true;
        }
        return false;
    }
    if (watched == m_edtDDC) {
        if (key->key() == Qt::Key_Down) {
            showDdcList();
            return true;
        }
        if (isEnter(key)) {
            hideDdcList();
            m_edtCNKLS->setFocus();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            hideDdcList();
            return true;
        }
        if (key->key() == Qt::Key_PageDown) {
            hideDdcList();
            focusSaveIfEditing();
            return true;
        }
        return false;
    }
    if (watched == m_edtCNBRS && isEnter(key)) {
        if (m_editMode) {
            m_edtBAHASA->setFocus();
        } else {
            m_ctx.dialogs.information(this, catalogue::kNotInEditMode);
            m_edtTITLE->setFocus();
        }
        return true;
    }
    if (watched == m_edtUsia && !key->text().isEmpty() && key->key() != Qt::Key_Backspace) {
        const QString text = key->text();
        if (!catalogue::ageCharacterAccepted(text.at(0).unicode())) {
            m_ctx.dialogs.information(this, catalogue::kInvalidKey);
            if (m_edtUsia->text().isEmpty()) m_edtUsia->setText(catalogue::kDefaultAge);
            return true;
        }
    }
    // PageDown in the language, call-number and detail fields leads to SAVE.
    if (key->key() == Qt::Key_PageDown) {
        focusSaveIfEditing();
        return true;
    }
    if (isEnter(key)) {
        if (QWidget* next = nextAfter(static_cast<QWidget*>(watched))) {
            next->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
