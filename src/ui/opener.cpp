#include "ui/opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace ui {

bool DesktopOpener::openDocument(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopOpener::openUrl(const QString& address) {
    // The address is already encoded as the lookup rules want it.
    return QDesktopServices::openUrl(QUrl::fromEncoded(address.toUtf8(), QUrl::TolerantMode));
}

}  // namespace ui
