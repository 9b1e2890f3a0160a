#pragma once
// The windows of every subsystem, as the main window creates them.

struct WindowFactories;

namespace ui {

WindowFactories programWindows();

}  // namespace ui
