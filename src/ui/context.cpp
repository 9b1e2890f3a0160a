#include "ui/context.h"

#include "core/error.h"

namespace ui {

QString qs(const std::string& text) { return QString::fromStdString(text); }
std::string ss(const QString& text) { return text.toStdString(); }

bool guarded(AppContext& ctx, QWidget* parent, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const core::Error& e) {
        ctx.dialogs.error(parent, qs(e.what()));
    } catch (const std::exception& e) {
        ctx.dialogs.error(parent, qs(e.what()));
    }
    return false;
}

}  // namespace ui
