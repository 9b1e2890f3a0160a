#include "ui/help_viewer.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/help_files.h"
#include "app/paths.h"

namespace ui {

HelpViewer::HelpViewer(const QString& directory, int topic, QWidget* parent) : QDialog(parent) {
    setObjectName("frmHelp");
    setWindowTitle("TOVIRAK help");
    resize(560, 420);
    auto* layout = new QVBoxLayout(this);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName("txtHelp");
    layout->addWidget(m_browser);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    const std::string file = app::findFileIgnoringCase(directory.toStdString(), "helptov.hlp");
    if (file.empty()) {
        m_browser->setPlainText("The help file helptov.hlp was not found in " + directory + ".");
        return;
    }
    app::HelpTopic t = app::readHelpTopic(file, topic);
    if (!t.found) {
        m_browser->setPlainText("The help file has no topic " + QString::number(topic) + ".");
        return;
    }
    setWindowTitle("TOVIRAK help - " + QString::fromStdString(t.title));
    m_browser->setPlainText(QString::fromStdString(t.title) + "\n\n" + QString::fromStdString(t.text));
}

QString HelpViewer::shownText() const { return m_browser->toPlainText(); }

}  // namespace ui
