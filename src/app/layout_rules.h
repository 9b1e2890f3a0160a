#pragma once
// Geometry rules of the main window and the settings window.

#include <array>

namespace app {

struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The ten book covers of the offline shelf: every cover W div 6 wide, the gap
// (W div 6) div 6; the top row (covers 0-4) starts one gap from the left and
// each cover one gap after the one before; each bottom cover (5-9) takes the
// left of the cover above it. Tops and heights stay as they are.
std::array<Box, 10> shelfCovers(int scrollBoxWidth, const std::array<Box, 10>& covers);

// Top-left that centres a panel in a window (halves rounded toward zero).
Box centred(int windowWidth, int windowHeight, int panelWidth, int panelHeight);

// The settings window's "Current Setting" and "Desire Setting" boxes each take
// half of the width beside the button column, less 14 pixels.
int settingsBoxWidth(int widthBesideButtons);

}  // namespace app
