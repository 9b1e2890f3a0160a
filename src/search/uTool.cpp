#include "search/uTool.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/access.h"
#include "app/help_files.h"
#include "search/tool_access.h"

TfrmTool::TfrmTool(ui::AppContext& ctx, ToolWindows windows, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_windows(std::move(windows)) {
    setObjectName("frmTool");
    setWindowTitle("Tools");
    // No close box: Escape or the footer close it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setProperty("helpTopic", app::kHelpTools);
    auto* layout = new QVBoxLayout(this);

    auto* heading = new QLabel("LYBRARIAN TOOLS", this);
    QFont f = heading->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    heading->setFont(f);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);

    auto* columns = new QHBoxLayout;
    auto* lookups = new QVBoxLayout;
    using search::LookupService;
    auto lookupButton = [this](QWidget* owner, QLayout* into, const char* name,
                               const QString& caption, LookupService service) {
        auto* b = new QPushButton(caption, owner);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, service] { lookUp(service); });
        into->addWidget(b);
        return b;
    };

    auto* website = new QGroupBox("Search DDC/ISBN in the website", this);
    auto* websiteLayout = new QVBoxLayout(website);
    m_edtCari = new QLineEdit(website);
    m_edtCari->setObjectName("edtCari");
    m_edtCari->installEventFilter(this);
    websiteLayout->addWidget(m_edtCari);
    lookupButton(website, websiteLayout, "bbtWorldCat", "Search ISBN at WorldCat / OCLC",
                 LookupService::WorldCat);
    lookupButton(website, websiteLayout, "bbtISBNdb", "Search ISBN number at ISBNdb",
                 LookupService::IsbnDb);
    lookupButton(website, websiteLayout, "bbtAmazon", "Search at Amazon", LookupService::Amazon);
    auto* ddc =
        lookupButton(website, websiteLayout, "bbtDDC", "Search DDC at OCLC", LookupService::Dewey);
    ddc->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    lookups->addWidget(website);

    auto* links = new QGroupBox("Another Good Link", this);
    auto* linksLayout = new QVBoxLayout(links);
    lookupButton(links, linksLayout, "bbtLOC", "Library of Congress USA", LookupService::Congress);
    lookupButton(links, linksLayout, "bbtLondon", "London Public Library", LookupService::London);
    lookupButton(links, linksLayout, "bbtNLA", "National Library of Australia",
                 LookupService::Australia);
    lookupButton(links, linksLayout, "bbtNLB", "National Library Board Singapore",
                 LookupService::Singapore);
    lookupButton(links, linksLayout, "bbtJogjaLib", "JogjaLib, Indonesia", LookupService::Jogja);
    lookups->addWidget(links);
    columns->addLayout(lookups, 1);

    auto* others = new QVBoxLayout;
    auto windowButton = [&](const char* name, const QString& caption, bool available,
                            std::function<void()> action) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setMinimumHeight(48);
        b->setEnabled(available);
        connect(b, &QPushButton::clicked, this, std::move(action));
        others->addWidget(b);
    };
    windowButton("bbtLabel", "Book Label Printing", static_cast<bool>(m_windows.labelPrinting),
                 [this] { openPrinting(m_windows.labelPrinting); });
    windowButton("bbtCard", "Card Member Printing", static_cast<bool>(m_windows.cardPrinting),
                 [this] { openPrinting(m_windows.cardPrinting); });
    windowButton("bbtHibah", "Broken Book(Hibah)", static_cast<bool>(m_windows.withdrawal),
                 [this] { openWithdrawal(); });
    others->addStretch();
    columns->addLayout(others);
    layout->addLayout(columns);

    auto* footer = new QLabel("Press ESC to exit", this);
    footer->setObjectName("lblFooter");
    footer->setAlignment(Qt::AlignCenter);
    footer->setCursor(Qt::PointingHandCursor);
    footer->installEventFilter(this);
    m_footer = footer;
    layout->addWidget(footer);

    m_edtCari->setFocus();
}

void TfrmTool::lookUp(search::LookupService service) {
    m_ctx.opener.openUrl(ui::qs(search::lookupAddress(service, ui::ss(m_edtCari->text()))));
    m_edtCari->setFocus();
}

void TfrmTool::openPrinting(const std::function<void(QWidget*)>& window) {
    if (!window) return;
    window(this);
    m_edtCari->setFocus();
}

void TfrmTool::openWithdrawal() {
    if (!m_windows.withdrawal) return;
    switch (search::withdrawalEntry(m_ctx.env.user, [this] { m_ctx.login(this); })) {
        case search::WithdrawalEntry::Open:
            m_windows.withdrawal(this);
            break;
        case search::WithdrawalEntry::Refused:
            m_ctx.dialogs.information(this, ui::qs(app::kOnlyAdminLibrarian));
            break;
        case search::WithdrawalEntry::Stopped:
            break;
    }
}

bool TfrmTool::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edtCari && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            lookUp(search::LookupService::Amazon);
            return true;
        }
    }
    if (watched == m_footer && event->type() == QEvent::MouseButtonRelease) {
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
