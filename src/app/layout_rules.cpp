#include "app/layout_rules.h"

namespace app {

std::array<Box, 10> shelfCovers(int w, const std::array<Box, 10>& covers) {
    std::array<Box, 10> out = covers;
    const int width = w / 6;
    const int gap = width / 6;
    int left = gap;
    for (int i = 0; i < 5; ++i) {
        out[i].left = left;
        out[i].width = width;
        out[i + 5].left = left;
        out[i + 5].width = width;
        left += width + gap;
    }
    return out;
}

Box centred(int windowWidth, int windowHeight, int panelWidth, int panelHeight) {
    return {windowWidth / 2 - panelWidth / 2, windowHeight / 2 - panelHeight / 2, panelWidth,
            panelHeight};
}

int settingsBoxWidth(int widthBesideButtons) { return widthBesideButtons / 2 - 14; }

}  // namespace app
