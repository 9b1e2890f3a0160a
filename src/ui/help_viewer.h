#pragma once
// The help viewer: one topic of the topic file, shown in a window.

#include <QDialog>

class QTextBrowser;

namespace ui {

class HelpViewer : public QDialog {
    Q_OBJECT
public:
    // Reads `topic` from the topic file found (in any letter case) in `directory`.
    HelpViewer(const QString& directory, int topic, QWidget* parent = nullptr);
    QString shownText() const;

private:
    QTextBrowser* m_browser;
};

}  // namespace ui
