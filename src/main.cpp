// TOVIRAK: library management for schools and small public libraries.

#include <QApplication>
#include <QDir>
#include <QScreen>

#include "app/uTOVIRAK.h"
#include "core/clock.h"
#include "core/error.h"
#include "ui/dialogs.h"
#include "ui/opener.h"
#include "ui/windows.h"

namespace {

// One central handler: an engine or conversion failure that escapes a
// window's handler is shown in the standard error box, and the program goes on.
class TovirakApplication : public QApplication {
public:
    using QApplication::QApplication;
    ui::Dialogs* dialogs = nullptr;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            if (dialogs) dialogs->error(activeWindow(), QString::fromStdString(e.what()));
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The embedded browser refuses to run its sandbox as root (kiosk machines).
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    TovirakApplication app(argc, argv);
    QApplication::setApplicationName("TOVIRAK");
    QApplication::setApplicationDisplayName("TOVIRAK");
    QApplication::setApplicationVersion("2.02");
    QLocale::setDefault(QLocale::c());

    ui::MessageBoxDialogs dialogs;
    ui::DesktopOpener opener;
    core::SystemClock clock;
    app.dialogs = &dialogs;

    TfrmTOVIRAK mainWindow(dialogs, opener, clock, ui::programWindows(), QDir::currentPath());
    // Without a window manager (a kiosk session) maximising is not honoured;
    // start at the size of the screen all the same.
    if (QScreen* screen = QGuiApplication::primaryScreen()) mainWindow.setGeometry(screen->availableGeometry());
    mainWindow.showMaximized();
    return app.exec();
}
