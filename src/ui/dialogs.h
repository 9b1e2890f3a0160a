#pragma once
// The Dialogs seam: every message box and file choice the windows show goes
// through it, so tests can answer and record them. Texts use "\r" for line
// breaks as the message texts are written; the real dialogs show them as
// line breaks.

#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

class Dialogs {
public:
    enum class Answer { Yes, No, Closed };
    virtual ~Dialogs() = default;
    virtual void information(QWidget* parent, const QString& text) = 0;
    virtual void error(QWidget* parent, const QString& text) = 0;
    // OK and Cancel; true for OK.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    virtual Answer yesNo(QWidget* parent, const QString& text) = 0;
    // An existing file's path, or empty when cancelled.
    virtual QString openFile(QWidget* parent, const QString& caption, const QString& directory,
                             const QString& filter) = 0;
};

// Message boxes and the file dialog of the toolkit.
class MessageBoxDialogs : public Dialogs {
public:
    void information(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text) override;
    Answer yesNo(QWidget* parent, const QString& text) override;
    QString openFile(QWidget* parent, const QString& caption, const QString& directory,
                     const QString& filter) override;
};

// "\r" (and "\r\n") as line breaks.
QString displayText(const QString& text);

}  // namespace ui
