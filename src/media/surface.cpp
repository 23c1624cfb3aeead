// The back surface and direct pixel access (see surface.h).
#include "media/surface.h"

#include <cstdlib>
#include <cstring>

void FillSurface(Surface& surface, uint32_t value) {
    const uint16_t pixel = uint16_t(value & 0xFFFF);
    uint16_t* p = &surface.pixels[0][0];
    for (int i = 0; i < kSurfaceWidth * kSurfaceHeight; ++i) p[i] = pixel;
}

bool LockSurface(Surface& surface) {
    surface.locked = true;
    return true;
}

void UnlockSurface(Surface& surface) { surface.locked = false; }

static inline void WritePixel(Surface& surface, int x, int y, uint16_t pixel) {
    if (unsigned(x) < unsigned(kSurfaceWidth) && unsigned(y) < unsigned(kSurfaceHeight)) surface.pixels[y][x] = pixel;
}

void PutPixel(Surface& surface, int x, int y, uint32_t colour) { WritePixel(surface, x, y, ColorTo565(colour)); }

void DrawPixelLine(Surface& surface, int x1, int y1, int x2, int y2, int r, int g, int b) {
    const uint16_t pixel = RgbTo565(r, g, b);
    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
    int x = x1, y = y1;
    if (dx >= dy) {
        int error = 2 * dy - dx;
        for (int i = 0; i <= dx; ++i) {
            WritePixel(surface, x, y, pixel);
            if (error < 0) {
                error += 2 * dy;
            } else {
                error += 2 * (dy - dx);
                y += sy;
            }
            x += sx;
        }
    } else {
        int error = 2 * dx - dy;
        for (int i = 0; i <= dy; ++i) {
            WritePixel(surface, x, y, pixel);
            if (error < 0) {
                error += 2 * dx;
            } else {
                error += 2 * (dx - dy);
                x += sx;
            }
            y += sy;
        }
    }
}

uint64_t SurfaceHash(const Surface& surface) {
    // FNV-1a steps on 64-bit words in four interleaved lanes (a single byte-wise
    // chain costs about a millisecond per frame), folded together at the end.
    constexpr uint64_t kPrime = 1099511628211ull;
    uint64_t lanes[4] = {1469598103934665603ull, 1469598103934665603ull ^ 1, 1469598103934665603ull ^ 2,
                         1469598103934665603ull ^ 3};
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&surface.pixels[0][0]);
    constexpr size_t kWords = sizeof(surface.pixels) / 8;
    static_assert(kWords % 4 == 0);
    for (size_t i = 0; i < kWords; i += 4) {
        for (int lane = 0; lane < 4; ++lane) {
            uint64_t word;
            std::memcpy(&word, bytes + (i + size_t(lane)) * 8, 8);
            lanes[lane] = (lanes[lane] ^ word) * kPrime;
        }
    }
    uint64_t hash = 1469598103934665603ull;
    for (uint64_t lane : lanes) {
        for (int b = 0; b < 8; ++b) {
            hash ^= (lane >> (8 * b)) & 0xFF;
            hash *= kPrime;
        }
    }
    return hash;
}
