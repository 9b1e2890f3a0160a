#pragma once
// A 24-bit Windows bitmap written from an RGB raster, for the pictures an
// installation ships.

#include <cstdint>
#include <string>
#include <vector>

namespace core {

struct Raster {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // width*height*3, top row first

    Raster(int w, int h, std::uint32_t fill);
    void set(int x, int y, std::uint32_t color);  // 0xRRGGBB
};

// Writes the raster as a .bmp file; false when the file cannot be written.
bool writeBitmap(const std::string& path, const Raster& raster);

}  // namespace core
