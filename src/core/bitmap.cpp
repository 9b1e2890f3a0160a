#include "core/bitmap.h"

#include <fstream>

namespace core {

Raster::Raster(int w, int h, std::uint32_t fill) : width(w), height(h) {
    rgb.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) set(x, y, fill);
}

void Raster::set(int x, int y, std::uint32_t color) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
    rgb[at] = static_cast<std::uint8_t>(color >> 16);
    rgb[at + 1] = static_cast<std::uint8_t>(color >> 8);
    rgb[at + 2] = static_cast<std::uint8_t>(color);
}

bool writeBitmap(const std::string& path, const Raster& r) {
    const std::uint32_t rowSize = (static_cast<std::uint32_t>(r.width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = rowSize * static_cast<std::uint32_t>(r.height);
    std::vector<std::uint8_t> out(54 + imageSize, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(r.width));
    put32(22, static_cast<std::uint32_t>(r.height));
    out[26] = 1;
    out[28] = 24;
    put32(34, imageSize);
    put32(38, 2835);
    put32(42, 2835);
    for (int y = 0; y < r.height; ++y) {
        std::size_t dst = 54 + static_cast<std::size_t>(r.height - 1 - y) * rowSize;
        for (int x = 0; x < r.width; ++x) {
            std::size_t src = (static_cast<std::size_t>(y) * static_cast<std::size_t>(r.width) + static_cast<std::size_t>(x)) * 3;
            out[dst + static_cast<std::size_t>(x) * 3] = r.rgb[src + 2];
            out[dst + static_cast<std::size_t>(x) * 3 + 1] = r.rgb[src + 1];
            out[dst + static_cast<std::size_t>(x) * 3 + 2] = r.rgb[src];
        }
    }
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(f);
}

}  // namespace core
