#include "ui/windows.h"

#include "app/uTOVIRAK.h"

namespace ui {

WindowFactories programWindows() {
    WindowFactories f;
    return f;
}

}  // namespace ui
