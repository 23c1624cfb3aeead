// The 800 x 600 back surface every scene draws on, in RGB 5-6-5, and the
// direct pixel access used by the starfield, the lasers and the HUD lines.
// Colours handed in are 24-bit 0xBBGGRR values (red in the low byte).
#pragma once
#include <cstdint>

constexpr int kSurfaceWidth = 800;
constexpr int kSurfaceHeight = 600;

struct Surface {
    uint16_t pixels[kSurfaceHeight][kSurfaceWidth] = {};
    bool locked = false;
};

// Keeps the top bits of each channel: (R >> 3) << 11 | (G >> 2) << 5 | (B >> 3).
constexpr uint16_t ColorTo565(uint32_t bgr) {
    uint32_t r = bgr & 0xFF, g = (bgr >> 8) & 0xFF, b = (bgr >> 16) & 0xFF;
    return uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}
constexpr uint16_t RgbTo565(int r, int g, int b) {
    return uint16_t((((r & 0xFF) >> 3) << 11) | (((g & 0xFF) >> 2) << 5) | ((b & 0xFF) >> 3));
}

// Sets every pixel to the low 16 bits of value (0 black, 0xFFFFFF white).
void FillSurface(Surface& surface, uint32_t value);
// Pixel writes between these two; both always come in pairs in one routine.
bool LockSurface(Surface& surface);
void UnlockSurface(Surface& surface);
// One pixel; nothing outside 0..799 x 0..599.
void PutPixel(Surface& surface, int x, int y, uint32_t colour);
// Bresenham line, both ends included, each pixel clipped on its own.
void DrawPixelLine(Surface& surface, int x1, int y1, int x2, int y2, int r, int g, int b);
// FNV-1a style hash of the pixels: the consistency value of replays and state dumps.
uint64_t SurfaceHash(const Surface& surface);
