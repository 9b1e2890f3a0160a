#include "ui/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace ui {

QString displayText(const QString& text) {
    QString out = text;
    out.replace("\r\n", "\n");
    out.replace('\r', '\n');
    return out;
}

namespace {
QString title() { return QApplication::applicationDisplayName(); }
}  // namespace

void MessageBoxDialogs::information(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, title(), displayText(text));
}

void MessageBoxDialogs::error(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, title(), displayText(text));
}

bool MessageBoxDialogs::confirm(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, title(), displayText(text), QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

Dialogs::Answer MessageBoxDialogs::yesNo(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, title(), displayText(text), QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setEscapeButton(QMessageBox::NoButton);
    int r = box.exec();
    if (r == QMessageBox::Yes) return Answer::Yes;
    if (r == QMessageBox::No) return Answer::No;
    return Answer::Closed;
}

QString MessageBoxDialogs::openFile(QWidget* parent, const QString& caption, const QString& directory,
                                    const QString& filter) {
    QFileDialog dialog(parent, caption, directory, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace ui
