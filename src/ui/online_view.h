#pragma once
// A web page inside a window: the embedded browser where the build has Qt
// WebEngine and the display can run it, otherwise the address as a link that
// opens the system browser.

#include <QWidget>

class QLabel;

namespace ui {

class Opener;

class OnlineView : public QWidget {
    Q_OBJECT
public:
    OnlineView(Opener& opener, QWidget* parent = nullptr);
    void navigate(const QString& address);
    const QString& address() const { return m_address; }
    bool embedded() const { return m_browser != nullptr; }

private:
    Opener& m_opener;
    QWidget* m_browser = nullptr;
    QLabel* m_link = nullptr;
    QString m_address;
};

}  // namespace ui
