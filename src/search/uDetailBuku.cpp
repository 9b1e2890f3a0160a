#include "search/uDetailBuku.h"

#include <QEvent>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <tuple>

namespace {

constexpr int kCoverNarrow = 50;
constexpr int kCoverWide = 250;
constexpr int kLocationBoxWidth = 60;

}  // namespace

TfrmDetailBuku::TfrmDetailBuku(ui::AppContext& ctx, const search::BookDetail& d, QWidget* parent)
    : QDialog(parent), m_ctx(ctx) {
    setObjectName("frmDetailBuku");
    setWindowTitle("Detail Book");
    auto* layout = new QVBoxLayout(this);

    // Every box sits on a disabled panel: nothing here can be edited, and
    // nothing is ever written back.
    auto* panel = new QFrame(this);
    panel->setObjectName("pnlDetail");
    panel->setEnabled(false);
    auto* form = new QFormLayout(panel);
    auto box = [&](const char* name, const std::string& text, QWidget* owner) {
        auto* edit = new QLineEdit(ui::qs(text), owner);
        edit->setObjectName(name);
        edit->setCursorPosition(0);
        return edit;
    };
    m_title = box("edtTITLE", d.title, panel);
    m_author = box("edtAUTHOR", d.author, panel);
    m_publisher = box("edtPUBLISHER", d.publisher, panel);
    form->addRow("Title", m_title);
    form->addRow("Author", m_author);
    form->addRow("Publisher", m_publisher);
    form->addRow("Book/Call Code", box("edtKDBARANG", d.itemCode, panel));

    // The location row: a blank area, then the three shelf boxes at fixed places,
    // so that the widened area covers exactly them.
    m_location = new QWidget(panel);
    m_location->setObjectName("pnlLocation");
    const int labelHeight = fontMetrics().height() + 2;
    const int boxHeight = QLineEdit().sizeHint().height();
    m_location->setFixedSize(kCoverWide + 10, labelHeight + boxHeight);
    int x = kCoverNarrow + 4;
    for (auto [caption, name, text] :
         {std::tuple{"Room", "edtCNKLS", &d.room}, std::tuple{"Rack", "edtCNRAK", &d.rack},
          std::tuple{"Row", "edtCNBRS", &d.row}}) {
        auto* label = new QLabel(caption, m_location);
        label->setGeometry(x, 0, kLocationBoxWidth, labelHeight);
        auto* edit = box(name, *text, m_location);
        edit->setGeometry(x, labelHeight, kLocationBoxWidth, boxHeight);
        x += kLocationBoxWidth + 4;
    }
    m_location->installEventFilter(this);
    form->addRow(m_location);

    form->addRow("Dewey DC", box("edtDDC", d.ddc, panel));
    auto* udcRow = new QHBoxLayout;
    udcRow->addWidget(box("edtUDC", d.udc, panel));
    auto* authorAgain = box("edtAUTHOR2", d.author, panel);
    authorAgain->setMaximumWidth(120);
    udcRow->addWidget(authorAgain);
    form->addRow("UDC", udcRow);
    form->addRow("Language", box("edtBAHASA", d.language, panel));
    form->addRow("Kata Kunci", box("edtKEYWORD", d.keyword, panel));
    m_isbn = box("edtISBN", d.isbn, panel);
    form->addRow("ISBN", m_isbn);
    form->addRow("Asli / Copy", box("edtOC", d.originalOrCopy, panel));
    form->addRow("Kondisi", box("edtKONDISI", d.condition, panel));
    form->addRow("Kelas", box("edtKELAS", d.schoolClass, panel));
    form->addRow("Usia", box("edtUSIA", d.age, panel));
    form->addRow("Status", box("edtSTATUS", d.status, panel));
    form->addRow("Peminjam", box("edtKDANGGOTA", d.borrower, panel));
    form->addRow("Tgl Pinjam", box("edtTGPINJAM", d.borrowDate, panel));
    layout->addWidget(panel);

    layout->addWidget(new QLabel("More info on the website by : ", this));
    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const char* caption, search::ProductField field) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, field] { lookUp(field); });
        buttons->addWidget(b);
        return b;
    };
    button("bbtWebTitle", "TITLE", search::ProductField::Title);
    button("bbtWebAuthor", "AUTHOR", search::ProductField::Author);
    button("bbtWebPublisher", "PUBLISHER", search::ProductField::Publisher);
    m_isbnButton = button("bbtWebISBN", "ISBN", search::ProductField::Isbn);
    layout->addLayout(buttons);

    // The cover belongs to the window, not to the disabled panel, so that it
    // takes clicks; it is kept over the location row's left end.
    m_cover = new QFrame(this);
    m_cover->setObjectName("pnlCover");
    m_cover->setAutoFillBackground(true);
    m_cover->installEventFilter(this);
    m_cover->resize(kCoverNarrow, m_location->height());
    m_cover->raise();

    adjustSize();
    // Centred on the main window, whichever window opened it.
    QWidget* anchor = parentWidget();
    while (anchor && anchor->parentWidget()) anchor = anchor->parentWidget();
    if (anchor) move(anchor->frameGeometry().center() - rect().center());
    placeCover();
}

void TfrmDetailBuku::lookUp(search::ProductField field) {
    QLineEdit* source = field == search::ProductField::Title       ? m_title
                        : field == search::ProductField::Author    ? m_author
                        : field == search::ProductField::Publisher ? m_publisher
                                                                   : m_isbn;
    const search::ProductLookup lookup = search::productLookup(field, ui::ss(source->text()));
    if (!lookup.blankMessage.empty()) {
        m_ctx.dialogs.information(this, ui::qs(lookup.blankMessage));
        return;
    }
    m_ctx.opener.openUrl(ui::qs(lookup.address));
    m_isbnButton->setFocus();
}

void TfrmDetailBuku::toggleLocationCover() {
    m_cover->resize(locationCovered() ? kCoverNarrow : kCoverWide, m_cover->height());
    placeCover();
}

bool TfrmDetailBuku::locationCovered() const { return m_cover->width() == kCoverWide; }

void TfrmDetailBuku::placeCover() {
    const QPoint at = m_location->mapTo(this, QPoint(0, 0));
    m_cover->setGeometry(at.x(), at.y(), m_cover->width(), m_location->height());
    m_cover->raise();
}

bool TfrmDetailBuku::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_cover && event->type() == QEvent::MouseButtonPress) {
        toggleLocationCover();
        return true;
    }
    if (watched == m_location && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placeCover();
    return QDialog::eventFilter(watched, event);
}

void TfrmDetailBuku::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeCover();
}

void TfrmDetailBuku::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeCover();
}
