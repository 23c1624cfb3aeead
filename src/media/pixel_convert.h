// The back surface's 5-6-5 pixels widened to the 32-bit XRGB 8-8-8-8 of a
// typical window surface. Each channel repeats its top bits in its low ones,
// as the PNG screenshots do, so a windowed frame and a headless screenshot
// hold the same colours.
#pragma once
#include <cstdint>

void Convert565ToXrgb(const uint16_t* source, uint32_t* target, int count);

// One pixel, the same way.
constexpr uint32_t XrgbFrom565(uint16_t p) {
    const uint32_t r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
    return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}
