#include "search/uOCLC.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "search/web_lookup.h"
#include "ui/online_view.h"

TfrmOCLC::TfrmOCLC(ui::AppContext& ctx, const QString& title, QWidget* parent) : QDialog(parent) {
    setObjectName("frmOCLC");
    setWindowTitle("DDC search engine");
    // No close box: the close button below closes it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Book TITLE=", this));
    m_edtTITLE = new QLineEdit(title, this);
    m_edtTITLE->setObjectName("edtTITLE");
    m_edtTITLE->installEventFilter(this);
    top->addWidget(m_edtTITLE, 1);
    auto* start = new QPushButton("Start Search", this);
    start->setObjectName("bbtStartSearch");
    start->setAutoDefault(false);
    connect(start, &QPushButton::clicked, this, &TfrmOCLC::startSearch);
    top->addWidget(start);
    auto* close = new QPushButton("Close Tovirak DDC search engine.", this);
    close->setObjectName("bbtClose");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    top->addWidget(close);
    layout->addLayout(top);
    layout->addWidget(new QLabel(
        "Try to click HideDetail to get more clean and show the DDC look simple.", this));

    m_browser = new ui::OnlineView(ctx.opener, this);
    layout->addWidget(m_browser, 1);
    resize(1000, 700);
}

void TfrmOCLC::startSearch() {
    m_browser->navigate(
        ui::qs(search::lookupAddress(search::LookupService::Dewey, ui::ss(m_edtTITLE->text()))));
}

bool TfrmOCLC::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edtTITLE && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            startSearch();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmOCLC::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) startSearch();
}
