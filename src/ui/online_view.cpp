#include "ui/online_view.h"

#include <QGuiApplication>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/opener.h"

#ifdef TOVIRAK_HAVE_WEBENGINE
#include <QWebEngineView>
#endif

namespace ui {

OnlineView::OnlineView(Opener& opener, QWidget* parent) : QWidget(parent), m_opener(opener) {
    setObjectName("OnlineView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
#ifdef TOVIRAK_HAVE_WEBENGINE
    // Without a real display (tests run offscreen) the page is offered as a link.
    if (QGuiApplication::platformName() != "offscreen" && QGuiApplication::platformName() != "minimal") {
        auto* view = new QWebEngineView(this);
        view->setObjectName("WebBrowser");
        m_browser = view;
        layout->addWidget(view);
        return;
    }
#endif
    m_link = new QLabel(this);
    m_link->setObjectName("lblAddress");
    m_link->setAlignment(Qt::AlignCenter);
    m_link->setWordWrap(true);
    m_link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(m_link, &QLabel::linkActivated, this, [this](const QString&) { m_opener.openUrl(m_address); });
    layout->addWidget(m_link);
}

void OnlineView::navigate(const QString& address) {
    m_address = address;
#ifdef TOVIRAK_HAVE_WEBENGINE
    if (auto* view = qobject_cast<QWebEngineView*>(m_browser)) {
        view->setUrl(QUrl::fromEncoded(address.toUtf8(), QUrl::TolerantMode));
        return;
    }
#endif
    m_link->setText("<p>This page opens in your web browser:</p><p><a href=\"open\">" + address.toHtmlEscaped() +
                    "</a></p>");
}

}  // namespace ui
