#include "membership/uMEMBER.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

#include "app/help_files.h"
#include "core/text.h"
#include "store/sql_dialect.h"
#include "store/table.h"
#include "ui/grid_models.h"
#include "ui/navigator.h"
#include "ui/type_ahead.h"

using membership::Outcome;
using membership::Result;
using ui::qs;
using ui::ss;

namespace {

// Boxes typed in upper case: a-z become A-Z as they are typed or pasted.
class AsciiUpperValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (QChar& c : input)
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                c = QChar(c.unicode() - ('a' - 'A'));
        return Acceptable;
    }
};

// The grid over every member. Cells are edited in place through the table
// object (so types and widths hold), but the member and family codes stay
// read-only there: changing them would break the code rule or leave a
// member without its family. New members and deletions go through the
// panels above, which keep those rules.
class MemberGridModel : public ui::TableModel {
public:
    using ui::TableModel::TableModel;
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = ui::TableModel::flags(index);
        const QString field =
            headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString();
        if (field.compare("KDFANGGOTA", Qt::CaseInsensitive) == 0 ||
            field.compare("KDFKELUARGA", Qt::CaseInsensitive) == 0)
            f &= ~Qt::ItemIsEditable;
        return f;
    }
};

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// The labels of the family fields, in the order of familyFieldNames().
QString familyLabel(const std::string& field) {
    if (field == "ALAMAT") return "Home Address:";
    if (field == "TELP") return "Home Phone";
    static const std::map<std::string, const char*> parts = {
        {"NAMA", "Full Name"},     {"KANTOR", "OfficeName"},
        {"ALAMAT", "Off.Address"}, {"TELP", "Off.Phone"},
        {"HP", "Mobile"},          {"PINBB", "Pin BB"},
        {"EMAIL", "Email"},        {"WEB", "Web"}};
    const QString who = field.rfind("MR", 0) == 0 ? "Father " : "Mother ";
    auto it = parts.find(field.substr(2));
    return who + (it == parts.end() ? qs(field) : QString(it->second));
}

}  // namespace

TfrmMEMBER::TfrmMEMBER(ui::AppContext& ctx, QWidget* parent)
    : QDialog(parent),
      m_ctx(ctx),
      m_register(ctx.data.table("tbKELUARGA"), ctx.data.table("tbANGGOTA")) {
    setObjectName("frmMEMBER");
    setWindowTitle("frmMEMBER");
    setProperty("helpTopic", app::kHelpMembers);
    run([&] {
        m_ctx.data.ensureLibraryConnected();
        m_register.open();
    });
    buildWindow();
    resetToEmpty();
}

TfrmMEMBER::~TfrmMEMBER() = default;

bool TfrmMEMBER::run(const std::function<void()>& action) {
    return ui::guarded(m_ctx, this, action);
}

void TfrmMEMBER::tell(const std::vector<std::string>& messages) {
    for (const auto& m : messages) m_ctx.dialogs.information(this, qs(m));
}

QLineEdit* TfrmMEMBER::addBox(const char* name, QWidget* parent, int maxLength, bool upperCase) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    if (maxLength > 0) box->setMaxLength(maxLength);
    if (upperCase) box->setValidator(new AsciiUpperValidator(box));
    box->installEventFilter(this);
    return box;
}

QPushButton* TfrmMEMBER::addButton(const char* name, const QString& text, QWidget* parent,
                                   const QString& hint) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    if (!hint.isEmpty()) b->setToolTip(hint);
    // Enter in a box moves on; it never presses a button the box does not own.
    b->setAutoDefault(false);
    b->setDefault(false);
    b->installEventFilter(this);
    return b;
}

void TfrmMEMBER::buildWindow() {
    // Field widths as the files hold them, so a box takes no more than is stored.
    auto widthOf = [this](const char* tableObject, const std::string& field) {
        int width = 0;
        store::Table& t = m_ctx.data.table(tableObject);
        if (!t.isOpen()) return 0;
        for (const auto& f : t.layout().fields)
            if (core::equalsIgnoreCase(f.name, field)) width = f.width;
        return width;
    };

    auto* root = new QVBoxLayout(this);

    // Top bar.
    auto* top = new QHBoxLayout;
    auto* familyTitle = new QLabel("FAMILY", this);
    familyTitle->setObjectName("lblFAMILY");
    m_familySearch =
        addBox("edtKDFKELUARGAcari", this, static_cast<int>(membership::kFamilyCodeWidth), true);
    m_familySearch->setToolTip("You must select family before edit Member ID");
    m_familySearch->setPlaceholderText("You must select family before edit Member ID");
    m_familyListButton = new QToolButton(this);
    m_familyListButton->setObjectName("sbtKDFKELUARGA");
    m_familyListButton->setArrowType(Qt::DownArrow);
    m_familyListButton->setFocusPolicy(Qt::NoFocus);
    auto* memberTitle = new QLabel("MEMBER", this);
    memberTitle->setObjectName("lblMEMBER");
    m_close = addButton("bbtCLOSE", "CLOSE", this);
    // Pressed with the mouse it must not take the focus: it acts only when
    // the focus is in the member search box.
    m_close->setFocusPolicy(Qt::NoFocus);
    top->addWidget(memberTitle);
    top->addStretch();
    top->addWidget(familyTitle);
    top->addWidget(m_familySearch, 1);
    top->addWidget(m_familyListButton);
    top->addStretch();
    top->addWidget(m_close);
    root->addLayout(top);

    auto* panels = new QHBoxLayout;
    root->addLayout(panels, 1);

    // Member panel.
    m_memberPanel = new QWidget(this);
    m_memberPanel->setObjectName("pnlMEMBER");
    auto* mg = new QGridLayout(m_memberPanel);
    int row = 0;
    m_preview = new QLineEdit(m_memberPanel);
    m_preview->setObjectName("edtKDFANGGOTAbaru");
    m_preview->setReadOnly(true);
    m_preview->setFocusPolicy(Qt::NoFocus);
    m_preview->setStyleSheet("QLineEdit { background: #FFFF80; }");
    m_preview->hide();
    mg->addWidget(m_preview, row++, 1);
    mg->addWidget(new QLabel("Search Member:", m_memberPanel), row, 0);
    m_memberSearch = addBox("edtKDFANGGOTAcari", m_memberPanel, 30, true);
    m_memberSearch->setToolTip("Input Member Familiar Name/Code.");
    m_memberSearch->setPlaceholderText("Input Member Familiar Name/Code.");
    mg->addWidget(m_memberSearch, row, 1);
    m_memberListButton = new QToolButton(m_memberPanel);
    m_memberListButton->setObjectName("sbtKDFANGGOTA");
    m_memberListButton->setArrowType(Qt::DownArrow);
    m_memberListButton->setFocusPolicy(Qt::NoFocus);
    mg->addWidget(m_memberListButton, row++, 2);

    auto memberRow = [&](const char* label, const char* name, const char* field,
                         bool upperCase = false, const char* unit = nullptr) {
        mg->addWidget(new QLabel(label, m_memberPanel), row, 0);
        QLineEdit* box =
            addBox(name, m_memberPanel, field ? widthOf("tbANGGOTA", field) : 0, upperCase);
        mg->addWidget(box, row, 1);
        if (unit) mg->addWidget(new QLabel(unit, m_memberPanel), row, 2);
        ++row;
        return box;
    };
    m_memberCode = memberRow("Member Call Name:", "edtKDFANGGOTA", nullptr);
    m_memberCode->setReadOnly(true);
    m_memberCode->setFocusPolicy(Qt::NoFocus);
    m_name = memberRow("Member Full Name:", "edtNMANGGOTA", "NMANGGOTA");
    m_address = memberRow("Home Address:", "edtALAMAT", "ALAMAT");
    m_phone = memberRow("Home Phone:", "edtTELP", "TELP");
    m_mobile = memberRow("Mobile Phone:", "edtHP", "HP");
    m_email = memberRow("eMail:", "edtEMAIL", "EMAIL");
    m_web = memberRow("Website:", "edtWEB", "WEB");
    m_borrowed = memberRow("Amount of borrow", "edtJLHPINJAM", nullptr);
    m_klass = memberRow("Klas/Grade:", "edtKELAS", "KELAS", true);
    m_birth = memberRow("Date Of Birth", "edtDOB", nullptr);
    m_birth->setMaxLength(10);
    m_birthHint = new QLabel("(yyyy-mm-dd =i.e: 1899-12-30)", m_memberPanel);
    m_birthHint->setObjectName("lblDOB");
    m_birthHint->setToolTip("Double-click: age");
    m_birthHint->installEventFilter(this);
    mg->addWidget(m_birthHint, row - 1, 2);
    m_maximum = memberRow("Maximum to borrow", "edtMAXPINJAM", nullptr, false, "exemplar");
    m_loanDays = memberRow("Lenght of borrowed", "edtLAMAPINJAM", nullptr, false, "days");
    m_penalty = memberRow("Denda/penalty", "edtDENDA", nullptr, false, "per day");
    m_memberBoxes = {m_name,     m_address, m_phone, m_mobile,  m_email,    m_web,
                     m_borrowed, m_klass,   m_birth, m_maximum, m_loanDays, m_penalty};
    m_switchedBoxes = {m_name,     m_address, m_phone,   m_mobile,   m_web,
                       m_borrowed, m_klass,   m_maximum, m_loanDays, m_penalty};

    auto* memberButtons = new QHBoxLayout;
    m_editMember = addButton("bbtEditMember", "Edit", m_memberPanel, "Edit this record");
    m_deleteMember = addButton("bbtDeleteMember", "Delete", m_memberPanel, "Delete this Record");
    m_copyAddress =
        addButton("bbtCopyAddress", "Copy Address", m_memberPanel, "Copy from Family to Member");
    m_saveMember = addButton("bbtSaveMember", "SAVE", m_memberPanel);
    m_cancelMember = addButton("bbtCancelMember", "CANCELL", m_memberPanel);
    for (auto* b : {m_editMember, m_deleteMember, m_copyAddress, m_saveMember, m_cancelMember})
        memberButtons->addWidget(b);
    memberButtons->addStretch();
    mg->addLayout(memberButtons, row++, 0, 1, 3);
    mg->setRowStretch(row, 1);
    panels->addWidget(m_memberPanel, 1);

    // Family panel.
    m_familyPanel = new QWidget(this);
    m_familyPanel->setObjectName("pnlKELUARGA");
    auto* fg = new QGridLayout(m_familyPanel);
    fg->addWidget(new QLabel("Family Call Name:", m_familyPanel), 0, 0);
    m_familyCode = addBox("edtKDFKELUARGA", m_familyPanel);
    m_familyCode->setReadOnly(true);
    m_familyCode->setFocusPolicy(Qt::NoFocus);
    fg->addWidget(m_familyCode, 0, 1, 1, 3);
    int familyRow = 1, parentRow = 0;
    for (const auto& field : membership::familyFieldNames()) {
        const bool parent = membership::isParentField(field);
        const std::string name = parent ? "edt" + field : "edt" + field + "keluarga";
        QLineEdit* box = addBox(name.c_str(), m_familyPanel, widthOf("tbKELUARGA", field));
        m_familyBoxes[field] = box;
        if (!parent) {
            fg->addWidget(new QLabel(familyLabel(field), m_familyPanel), familyRow, 0);
            fg->addWidget(box, familyRow++, 1, 1, 3);
        } else {
            // Father's block on the left, mother's on the right.
            const bool mother = field.rfind("MS", 0) == 0;
            if (mother && parentRow >= 8) parentRow -= 8;
            const int r = familyRow + parentRow++;
            fg->addWidget(new QLabel(familyLabel(field), m_familyPanel), r, mother ? 2 : 0);
            fg->addWidget(box, r, mother ? 3 : 1);
        }
    }
    auto* familyButtons = new QHBoxLayout;
    m_editFamily = addButton("bbtEditFamily", "Edit", m_familyPanel, "Edit this record");
    m_deleteFamily = addButton("bbtDeleteFamily", "Delete", m_familyPanel, "Delete this Record");
    m_saveFamily = addButton("bbtSaveFamily", "SAVE", m_familyPanel);
    m_cancelFamily = addButton("bbtCancelFamily", "CANCELL", m_familyPanel);
    for (auto* b : {m_editFamily, m_deleteFamily, m_saveFamily, m_cancelFamily})
        familyButtons->addWidget(b);
    familyButtons->addStretch();
    fg->addLayout(familyButtons, familyRow + 8, 0, 1, 4);
    fg->setRowStretch(familyRow + 9, 1);
    panels->addWidget(m_familyPanel, 1);

    // Bottom: every member.
    m_grid = new QTableView(this);
    m_grid->setObjectName("dbgANGGOTA");
    m_gridModel = new MemberGridModel(m_ctx.data.table("tbANGGOTA"), m_grid);
    m_gridModel->setEditable(true);
    m_grid->setModel(m_gridModel);
    m_grid->setMinimumHeight(150);
    connect(m_gridModel, &ui::TableModel::editRefused, this,
            [this](const QString& message) { m_ctx.dialogs.error(this, message); });
    m_navigator = new ui::Navigator(m_grid, m_ctx.dialogs, this);
    m_navigator->setObjectName("nvANGGOTA");
    // No insert or delete here: a raw row would have no family and no code
    // built by the rule.
    m_navigator->setButtons({ui::Navigator::First, ui::Navigator::Prior, ui::Navigator::Next,
                             ui::Navigator::Last, ui::Navigator::Edit, ui::Navigator::Post,
                             ui::Navigator::Cancel, ui::Navigator::Refresh});
    root->addWidget(m_grid);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_navigator);
    auto* escLine = new QLabel("Press ESC button to go back (empty template).", this);
    escLine->setObjectName("lblESC");
    bottom->addWidget(escLine);
    root->addLayout(bottom);

    // The two type-ahead lookups.
    ui::TypeAheadField::Config family;
    family.listQuery = "tqKELUARGA";
    family.listTable = "tKELUARGA";
    family.listColumn = "KDFKELUARGA";
    family.escapeStays = true;
    m_familyAhead = new ui::TypeAheadField(m_ctx, m_familySearch, family, this);
    m_familyAhead->setNextField(m_memberSearch);
    m_familyAhead->onEnter = [this] { familyEntered(); };
    m_familyAhead->onEscape = [this] { familyEscaped(); };
    m_familyAhead->onPicked = [this](const QString& code) { familyPicked(code); };

    ui::TypeAheadField::Config member;
    member.listQuery = "tqANGGOTA";
    member.listTable = "tANGGOTA";
    member.listColumn = "KDFANGGOTA";
    member.escapeStays = true;
    // Only the open family's members; its code goes in as a literal.
    member.prefixStatement = [this](const std::string& trimmed) {
        const std::string f = core::trim(ss(m_familyCode->text()));
        return ui::prefixStatement("tANGGOTA", "KDFANGGOTA", trimmed,
                                   "KDFKELUARGA = " + store::sqlLiteral(f) + " and ");
    };
    member.unfilteredStatement = [this] {
        return "SELECT * FROM tANGGOTA WHERE KDFKELUARGA = " +
               store::sqlLiteral(core::trim(ss(m_familyCode->text())));
    };
    m_memberAhead = new ui::TypeAheadField(m_ctx, m_memberSearch, member, this);
    m_memberAhead->setNextField(m_memberCode);
    m_memberAhead->onEnter = [this] { memberEntered(); };
    m_memberAhead->onEscape = [this] { memberEscaped(); };
    m_memberAhead->onPicked = [this](const QString& code) { memberPicked(code); };

    if (auto* model = qobject_cast<ui::QueryModel*>(m_familyAhead->grid()->model()))
        model->setColumns({"KDFKELUARGA", "ALAMAT", "TELP", "MRNAMA", "MSNAMA"});
    if (auto* model = qobject_cast<ui::QueryModel*>(m_memberAhead->grid()->model()))
        model->setColumns({"KDFANGGOTA", "NMANGGOTA", "KELAS"});

    // This window's own handling of the search boxes runs before the
    // lookup's (filters installed later run first); the member list's
    // visibility drives the preview box.
    m_familySearch->removeEventFilter(this);
    m_familySearch->installEventFilter(this);
    m_memberSearch->removeEventFilter(this);
    m_memberSearch->installEventFilter(this);
    m_memberAhead->grid()->installEventFilter(this);

    connect(m_familySearch, &QLineEdit::textChanged, this, [this] { familySearchChanged(); });
    connect(m_memberSearch, &QLineEdit::textChanged, this, [this] { memberSearchChanged(); });
    connect(m_familyListButton, &QToolButton::clicked, this, [this] {
        if (m_familySearch->isEnabled()) m_familyAhead->downPressed();
    });
    connect(m_memberListButton, &QToolButton::clicked, this,
            [this] { m_memberAhead->downPressed(); });
    connect(m_editFamily, &QPushButton::clicked, this, &TfrmMEMBER::editFamilyClicked);
    connect(m_saveFamily, &QPushButton::clicked, this, &TfrmMEMBER::saveFamilyClicked);
    connect(m_cancelFamily, &QPushButton::clicked, this, &TfrmMEMBER::cancelFamilyClicked);
    connect(m_deleteFamily, &QPushButton::clicked, this, &TfrmMEMBER::deleteFamilyClicked);
    connect(m_editMember, &QPushButton::clicked, this, &TfrmMEMBER::editMemberClicked);
    connect(m_saveMember, &QPushButton::clicked, this, &TfrmMEMBER::saveMemberClicked);
    connect(m_cancelMember, &QPushButton::clicked, this, &TfrmMEMBER::cancelMemberClicked);
    connect(m_deleteMember, &QPushButton::clicked, this, &TfrmMEMBER::deleteMemberClicked);
    connect(m_copyAddress, &QPushButton::clicked, this, &TfrmMEMBER::copyAddressClicked);
    connect(m_close, &QPushButton::clicked, this, &TfrmMEMBER::closeClicked);

    resize(1100, 760);
}

// ---- Which commands show -------------------------------------------------

void TfrmMEMBER::setFamilyButtons(bool on) {
    m_editFamily->setVisible(on);
    m_deleteFamily->setVisible(on);
}

void TfrmMEMBER::setFamilyEditing(bool on) {
    m_saveFamily->setVisible(on);
    m_cancelFamily->setVisible(on);
}

void TfrmMEMBER::setMemberButtons(bool on) {
    m_editMember->setVisible(on);
    m_deleteMember->setVisible(on);
}

void TfrmMEMBER::setMemberEditing(bool on) {
    m_saveMember->setVisible(on);
    m_cancelMember->setVisible(on);
    m_copyAddress->setVisible(on);
}

void TfrmMEMBER::setMemberFieldsEnabled(bool on) {
    for (auto* b : m_switchedBoxes) b->setEnabled(on);
}

void TfrmMEMBER::setFamilyFieldsEnabled(bool on) {
    for (auto& [field, box] : m_familyBoxes) box->setEnabled(on);
}

bool TfrmMEMBER::familyEditing() const { return !m_saveFamily->isHidden(); }
bool TfrmMEMBER::memberEditing() const { return !m_saveMember->isHidden(); }

// ---- What the panels show ------------------------------------------------

void TfrmMEMBER::clearFamilyPanel() {
    m_familyCode->clear();
    for (auto& [field, box] : m_familyBoxes) box->clear();
    setFamilyButtons(false);
}

void TfrmMEMBER::clearMemberPanel() {
    m_memberCode->clear();
    showMemberForm(membership::clearedMemberForm());
}

void TfrmMEMBER::showMemberForm(const membership::MemberForm& f) {
    m_name->setText(qs(f.name));
    m_address->setText(qs(f.address));
    m_phone->setText(qs(f.phone));
    m_mobile->setText(qs(f.mobile));
    m_email->setText(qs(f.email));
    m_web->setText(qs(f.web));
    m_borrowed->setText(qs(f.borrowed));
    m_klass->setText(qs(f.klass));
    m_birth->setText(qs(f.birth));
    m_maximum->setText(qs(f.maximum));
    m_loanDays->setText(qs(f.loanDays));
    m_penalty->setText(qs(f.penalty));
}

membership::MemberForm TfrmMEMBER::memberForm() const {
    membership::MemberForm f;
    f.name = ss(m_name->text());
    f.address = ss(m_address->text());
    f.phone = ss(m_phone->text());
    f.mobile = ss(m_mobile->text());
    f.email = ss(m_email->text());
    f.web = ss(m_web->text());
    f.borrowed = ss(m_borrowed->text());
    f.klass = ss(m_klass->text());
    f.birth = ss(m_birth->text());
    f.maximum = ss(m_maximum->text());
    f.loanDays = ss(m_loanDays->text());
    f.penalty = ss(m_penalty->text());
    return f;
}

std::map<std::string, std::string> TfrmMEMBER::familyFields() const {
    std::map<std::string, std::string> out;
    for (const auto& [field, box] : m_familyBoxes) out[field] = ss(box->text());
    return out;
}

void TfrmMEMBER::openFamily(const membership::Family& family) {
    setFamilyButtons(true);
    m_familyCode->setText(qs(family.code));
    for (auto& [field, box] : m_familyBoxes) {
        auto it = family.fields.find(field);
        box->setText(it == family.fields.end() ? QString() : qs(it->second));
    }
    setMemberFieldsEnabled(false);
    setFamilyFieldsEnabled(false);
    m_memberPanel->setEnabled(true);
    m_familySearch->setEnabled(false);
    m_memberSearch->setFocus();
}

void TfrmMEMBER::openMember(const membership::Member& member) {
    m_memberSearch->setText(qs(member.code));
    m_memberCode->setText(qs(member.code));
    showMemberForm(member.form);
    setMemberFieldsEnabled(false);
    setFamilyFieldsEnabled(false);
    setMemberButtons(true);
    m_copyAddress->hide();
}

void TfrmMEMBER::reloadGrid() {
    const QModelIndex current = m_grid->currentIndex();
    if (!run([&] { m_gridModel->reload(); })) return;
    if (current.isValid() && m_gridModel->rowCount() > 0)
        m_grid->setCurrentIndex(
            m_gridModel->index(std::min(current.row(), m_gridModel->rowCount() - 1), 0));
}

// ---- The empty window ----------------------------------------------------

void TfrmMEMBER::resetToEmpty() {
    {
        const QSignalBlocker blockMember(m_memberSearch);
        const QSignalBlocker blockFamily(m_familySearch);
        m_memberSearch->clear();
        m_familySearch->clear();
    }
    m_preview->clear();
    m_familyAhead->hideDropDown();
    m_memberAhead->hideDropDown();
    clearMemberPanel();
    clearFamilyPanel();
    setMemberButtons(false);
    setMemberEditing(false);
    setFamilyEditing(false);
    m_close->hide();
    m_memberPanel->setEnabled(true);
    m_memberSearch->setEnabled(true);
    m_memberListButton->setEnabled(true);
    setMemberFieldsEnabled(false);
    setFamilyFieldsEnabled(false);
    m_familySearch->setEnabled(true);
    m_familySearch->setFocus();
}

void TfrmMEMBER::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Each time the window comes up it starts empty (a restore from the
    // task bar is not a new start).
    if (!event->spontaneous()) resetToEmpty();
}

// ---- Family --------------------------------------------------------------

void TfrmMEMBER::familySearchChanged() {
    std::optional<membership::Family> family;
    if (!run([&] { family = m_register.findFamily(ss(m_familySearch->text())); })) return;
    if (family) return;
    clearFamilyPanel();
    setMemberButtons(false);
    m_copyAddress->hide();
}

void TfrmMEMBER::familyEntered() {
    const QString t = m_familySearch->text().trimmed();
    if (t.isEmpty()) {
        m_familyCode->clear();
        setFamilyButtons(false);
        m_familySearch->setEnabled(true);
        m_familySearch->setFocus();
        return;
    }
    std::optional<membership::Family> family;
    if (!run([&] { family = m_register.findFamily(ss(t)); })) return;
    if (family) {
        openFamily(*family);
        return;
    }
    const std::string code = membership::familyCodeOf(ss(t));
    if (!m_ctx.dialogs.confirm(this, qs(membership::messages::newFamilyQuestion(code)))) {
        m_familySearch->clear();
        m_familySearch->setEnabled(true);
        m_familySearch->setFocus();
        return;
    }
    Outcome o;
    if (!run([&] { o = m_register.createFamily(code); })) {
        m_familySearch->setFocus();
        return;
    }
    if (o.result != Result::Done) {
        tell(o.messages);
        m_familySearch->setFocus();
        return;
    }
    m_memberPanel->setEnabled(false);
    clearFamilyPanel();
    m_familyCode->setText(qs(code));
    tell(o.messages);
    editFamilyClicked();
}

void TfrmMEMBER::familyPicked(const QString& code) {
    std::optional<membership::Family> family;
    if (!run([&] { family = m_register.findFamily(ss(code)); })) return;
    if (family) openFamily(*family);
}

void TfrmMEMBER::familyEscaped() {
    m_familySearch->clear();
    m_familyCode->clear();
    setFamilyButtons(false);
    m_familyAhead->hideDropDown();
    m_familySearch->setEnabled(true);
    m_familySearch->setFocus();
}

void TfrmMEMBER::editFamilyClicked() {
    if (!m_memberCode->text().isEmpty()) {
        if (!m_ctx.dialogs.confirm(this, membership::messages::kCloseMemberBeforeFamilyEdit))
            return;
        m_memberSearch->clear();
        // Closed even when the search box was already empty.
        clearMemberPanel();
        setMemberButtons(false);
        setMemberEditing(false);
        m_memberSearch->setEnabled(true);
        m_memberListButton->setEnabled(true);
    }
    setFamilyButtons(false);
    m_familySearch->setEnabled(false);
    setFamilyEditing(true);
    m_memberPanel->setEnabled(false);
    setFamilyFieldsEnabled(true);
    m_familyBoxes.at("ALAMAT")->setFocus();
}

void TfrmMEMBER::finishFamilyEdit() {
    m_familySearch->setEnabled(true);
    m_memberPanel->setEnabled(true);
    m_familySearch->setFocus();
    setFamilyFieldsEnabled(false);
    setFamilyButtons(true);
    setFamilyEditing(false);
}

void TfrmMEMBER::saveFamilyClicked() {
    // An engine error leaves the family in editing, so SAVE can be tried again.
    Outcome o;
    if (!run([&] { o = m_register.saveFamily(ss(m_familyCode->text()), familyFields()); })) return;
    tell(o.messages);
    finishFamilyEdit();
}

void TfrmMEMBER::cancelFamilyClicked() {
    tell({membership::messages::familyCancelled(core::trim(ss(m_familyCode->text())))});
    finishFamilyEdit();
}

void TfrmMEMBER::deleteFamilyClicked() {
    Outcome o;
    const bool memberOpen = !m_memberCode->text().isEmpty();
    if (!run([&] { o = m_register.deleteFamily(ss(m_familyCode->text()), memberOpen); })) return;
    if (o.result != Result::Done) {
        tell(o.messages);
        return;
    }
    tell({o.messages.front()});
    clearFamilyPanel();
    m_familySearch->clear();
    setFamilyButtons(false);
    tell({o.messages.back()});
    m_familySearch->setEnabled(true);
    m_familySearch->setFocus();
}

// ---- Member --------------------------------------------------------------

void TfrmMEMBER::memberSearchChanged() {
    const std::string t = core::trim(ss(m_memberSearch->text()));
    const std::string f = core::trim(ss(m_familyCode->text()));
    m_preview->setText(qs(membership::memberCodeOf(t, f)));
    m_familySearch->setEnabled(false);
    if (f.empty()) {
        if (!t.empty()) m_ctx.dialogs.information(this, membership::messages::kSelectFamilyFirst);
        {
            const QSignalBlocker block(m_memberSearch);
            m_memberSearch->clear();
        }
        m_preview->clear();
        m_memberAhead->hideDropDown();
        m_familySearch->setEnabled(true);
        m_familySearch->setFocus();
        return;
    }
    std::optional<membership::Member> member;
    if (!run([&] { member = m_register.findMember(t); })) return;
    if (!member) {
        setMemberButtons(false);
        clearMemberPanel();
    }
}

void TfrmMEMBER::memberEntered() {
    const std::string t = core::trim(ss(m_memberSearch->text()));
    const std::string f = core::trim(ss(m_familyCode->text()));
    m_memberAhead->hideDropDown();
    if (t.empty()) {
        m_memberSearch->setFocus();
        setMemberButtons(false);
        m_copyAddress->hide();
        return;
    }
    if (f.empty()) {
        m_ctx.dialogs.information(this, membership::messages::kSelectFamilyFirst);
        m_familySearch->setEnabled(true);
        m_familySearch->setFocus();
        return;
    }
    std::optional<membership::Member> member;
    if (!run([&] { member = m_register.findMember(t); })) return;
    if (member) {
        openMember(*member);
        m_memberSearch->setFocus();
        return;
    }
    const std::string code = membership::memberCodeOf(t, f);
    std::optional<std::string> problem;
    if (!run([&] { problem = m_register.newMemberCodeProblem(code); })) return;
    if (problem) {
        m_ctx.dialogs.error(this, qs(*problem));
        m_memberSearch->setFocus();
        return;
    }
    if (!m_ctx.dialogs.confirm(this, qs(membership::messages::newMemberQuestion(code)))) {
        m_memberSearch->setFocus();
        return;
    }
    Outcome o;
    if (!run([&] { o = m_register.createMember(t, f); })) {
        m_memberSearch->setFocus();
        return;
    }
    if (o.result != Result::Done) {
        tell(o.messages);
        m_memberSearch->setFocus();
        return;
    }
    // The new member is open like any other: its code in both boxes, the
    // boxes showing what the row holds (the family's address and phone and
    // the default loan rules), so a save keeps them.
    if (!run([&] { member = m_register.findMember(code); }) || !member) return;
    m_memberPanel->setEnabled(true);
    openMember(*member);
    reloadGrid();
    tell(o.messages);
    editMemberClicked();
}

void TfrmMEMBER::memberPicked(const QString& code) {
    std::optional<membership::Member> member;
    if (!run([&] { member = m_register.findMember(ss(code)); })) return;
    m_memberAhead->hideDropDown();
    if (!member) return;
    openMember(*member);
    m_editMember->setFocus();
}

void TfrmMEMBER::memberEscaped() {
    m_memberSearch->clear();
    m_memberAhead->hideDropDown();
    // Back to the choice of a family: the family search box keeps its text,
    // so Enter there opens the same family again.
    clearFamilyPanel();
    m_familySearch->setEnabled(true);
    m_familySearch->setFocus();
}

void TfrmMEMBER::editMemberClicked() {
    setMemberEditing(true);
    setMemberButtons(false);
    setMemberFieldsEnabled(true);
    // While a member is edited only SAVE or CANCELL leave it: typing another
    // code would drop the unsaved boxes.
    m_memberSearch->setEnabled(false);
    m_memberListButton->setEnabled(false);
    m_name->setFocus();
}

void TfrmMEMBER::copyAddressClicked() {
    m_address->setText(m_familyBoxes.at("ALAMAT")->text());
    m_phone->setText(m_familyBoxes.at("TELP")->text());
}

void TfrmMEMBER::finishMemberEdit() {
    setMemberButtons(true);
    setMemberEditing(false);
    setMemberFieldsEnabled(false);
    m_memberSearch->setEnabled(true);
    m_memberListButton->setEnabled(true);
    m_memberSearch->setFocus();
}

void TfrmMEMBER::saveMemberClicked() {
    Outcome o;
    if (!run([&] { o = m_register.saveMember(ss(m_memberCode->text()), memberForm()); })) return;
    if (o.result == Result::Invalid) {
        // Nothing was written; the member stays in editing at the bad box.
        m_ctx.dialogs.error(this, qs(o.messages.front()));
        if (o.badBox) {
            switch (*o.badBox) {
                case membership::MemberBox::Borrowed:
                    m_borrowed->setFocus();
                    break;
                case membership::MemberBox::Birth:
                    m_birth->setFocus();
                    break;
                case membership::MemberBox::Penalty:
                    m_penalty->setFocus();
                    break;
                case membership::MemberBox::Maximum:
                    m_maximum->setFocus();
                    break;
                case membership::MemberBox::LoanDays:
                    m_loanDays->setFocus();
                    break;
            }
        }
        return;
    }
    tell(o.messages);
    finishMemberEdit();
    m_close->show();
    reloadGrid();
}

void TfrmMEMBER::cancelMemberClicked() {
    tell({membership::messages::memberNotRecorded(core::trim(ss(m_memberCode->text())))});
    clearMemberPanel();
    setMemberEditing(false);
    setMemberButtons(true);
    setMemberFieldsEnabled(false);
    m_memberSearch->setEnabled(true);
    m_memberListButton->setEnabled(true);
    std::optional<membership::Member> member;
    if (run([&] { member = m_register.findMember(ss(m_memberSearch->text())); }) && member)
        openMember(*member);
    m_memberSearch->setFocus();
}

void TfrmMEMBER::deleteMemberClicked() {
    const std::string code = core::trim(ss(m_memberCode->text()));
    if (!m_ctx.dialogs.confirm(this, qs(membership::messages::deleteMemberQuestion(code)))) {
        m_memberSearch->setFocus();
        return;
    }
    Outcome o;
    if (!run([&] { o = m_register.deleteMember(code); })) return;
    if (o.result == Result::Done) {
        clearFamilyPanel();
        m_memberSearch->clear();
        m_familySearch->setEnabled(true);
        m_familySearch->setFocus();
    }
    tell(o.messages);
    clearMemberPanel();
    setFamilyButtons(false);
    setMemberButtons(false);
    setMemberEditing(false);
    reloadGrid();
}

void TfrmMEMBER::ageRequested() {
    if (m_birth->text().trimmed().isEmpty()) return;
    std::optional<std::string> message;
    if (!run([&] { message = membership::ageMessage(ss(m_birth->text()), m_ctx.clock.now()); }))
        return;
    if (message) m_ctx.dialogs.information(this, qs(*message));
}

void TfrmMEMBER::closeClicked() {
    if (focusWidget() != m_memberSearch) {
        m_ctx.dialogs.information(this, membership::messages::kSaveEditingFirst);
        return;
    }
    m_memberSearch->clear();
    m_memberAhead->hideDropDown();
    m_familySearch->setEnabled(true);
    m_familySearch->setFocus();
    m_familySearch->clear();
    m_familyCode->clear();
    setFamilyButtons(false);
    m_familyAhead->hideDropDown();
    m_close->hide();
}

// ---- Keys ----------------------------------------------------------------

void TfrmMEMBER::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event)) {
        // Never let the dialog press a button for a widget that ignored Enter.
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape && (familyEditing() || memberEditing())) {
        // A record being edited is left by SAVE or CANCELL, not by closing
        // the window over it.
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmMEMBER::eventFilter(QObject* watched, QEvent* event) {
    QWidget* memberGrid = m_memberAhead ? m_memberAhead->grid() : nullptr;
    if (watched == memberGrid) {
        if (event->type() == QEvent::Show) m_preview->show();
        if (event->type() == QEvent::Hide) m_preview->hide();
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            m_memberCode->clear();
            m_memberAhead->hideDropDown();
            m_memberSearch->setFocus();
            return true;
        }
        return QDialog::eventFilter(watched, event);
    }
    if (watched == m_birthHint && event->type() == QEvent::MouseButtonDblClick) {
        ageRequested();
        return true;
    }
    if (watched == m_familySearch) {
        // A key typed here leaves the open family. The release of a key that
        // acted elsewhere (Enter on SAVE, Escape in the member search box,
        // Tab) arrives here only because the focus came here, and is not
        // typing.
        if (event->type() == QEvent::KeyRelease) {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool command = isEnter(key) || key->key() == Qt::Key_Escape ||
                                 key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (!command && !key->isAutoRepeat()) {
                m_familyCode->clear();
                setFamilyButtons(false);
            }
        }
        return QDialog::eventFilter(watched, event);
    }
    if (watched == m_memberSearch) return QDialog::eventFilter(watched, event);
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);

    auto* key = static_cast<QKeyEvent*>(event);
    if (auto* button = qobject_cast<QPushButton*>(watched)) {
        if (isEnter(key)) {
            button->click();
            return true;
        }
        if (button == m_editMember && key->key() == Qt::Key_Escape) {
            m_memberSearch->clear();
            clearFamilyPanel();
            m_familySearch->setEnabled(true);
            m_familySearch->setFocus();
            return true;
        }
        return QDialog::eventFilter(watched, event);
    }
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box) return QDialog::eventFilter(watched, event);
    if (isEnter(key)) {
        focusNextChild();
        return true;
    }
    const bool memberBox =
        std::find(m_memberBoxes.begin(), m_memberBoxes.end(), box) != m_memberBoxes.end();
    if (key->key() == Qt::Key_PageDown) {
        QPushButton* save = memberBox ? m_saveMember : m_saveFamily;
        if (!save->isHidden()) save->setFocus();
        return true;
    }
    if (key->key() == Qt::Key_PageUp && (box == m_address || box == m_phone)) {
        if (!m_copyAddress->isHidden()) m_copyAddress->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
