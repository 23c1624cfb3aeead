// The sharp scaler's tables and its two passes: each changed game row is
// scaled across once into a row of the picture's width, then every picture row
// is a copy of one such row or, on a seam between game rows, a mix of two.
#include "media/sharp_scaler.h"

#include <algorithm>
#include <cstring>

#include "media/surface.h"
#include "media/view_geometry.h"

namespace {

// a and b mixed with b's share weight/256, each 8-bit channel rounded.
inline uint32_t Mix(uint32_t a, uint32_t b, uint32_t weight) {
    const uint32_t keep = 256 - weight;
    const uint32_t rb = (((a & 0xFF00FF) * keep + (b & 0xFF00FF) * weight + 0x800080) >> 8) & 0xFF00FF;
    const uint32_t g = (((a & 0xFF00) * keep + (b & 0xFF00) * weight + 0x8000) >> 8) & 0xFF00;
    return rb | g;
}

}  // namespace

std::vector<SharpTap> SharpTaps(int in, int out, int factor) {
    std::vector<SharpTap> taps(size_t(std::max(out, 0)));
    const int64_t enlarged = int64_t(in) * factor;
    for (int x = 0; x < out; ++x) {
        // The sample's place in the enlarged row, less half a pixel (linear
        // filtering mixes the two pixels around it): p = numerator / (2 out).
        const int64_t numerator = std::max<int64_t>(0, (2 * int64_t(x) + 1) * enlarged - out);
        const int64_t left = numerator / (2 * int64_t(out));
        const int64_t fraction = numerator % (2 * int64_t(out));
        SharpTap& tap = taps[size_t(x)];
        tap.index = uint16_t(left / factor);
        const bool seam = left + 1 < enlarged && (left + 1) % factor == 0;
        if (!seam) continue;
        const int64_t weight = (fraction * 256 + out) / (2 * int64_t(out));
        if (weight >= 256) ++tap.index;
        else tap.weight = uint16_t(weight);
    }
    return taps;
}

void SharpScaler::Resize(int w, int h) {
    if (w == w_ && h == h_) return;
    w_ = w;
    h_ = h;
    const int factor = SharpUpscaleFactor(ViewRect{0, 0, w, h});
    columns_ = SharpTaps(kSurfaceWidth, w, factor);
    rows_ = SharpTaps(kSurfaceHeight, h, factor);
    wideRows_.assign(size_t(w) * kSurfaceHeight, 0);
}

void SharpScaler::Scale(const uint8_t* frame, int framePitch, int firstRow, int endRow, uint8_t* to, int pitch,
                        int& outFirst, int& outEnd) {
    outFirst = outEnd = 0;
    if (w_ <= 0 || h_ <= 0 || firstRow >= endRow) return;
    for (int y = firstRow; y < endRow; ++y) {
        const uint32_t* from = reinterpret_cast<const uint32_t*>(frame + size_t(y) * size_t(framePitch));
        uint32_t* wide = &wideRows_[size_t(y) * size_t(w_)];
        for (int x = 0; x < w_; ++x) {
            const SharpTap tap = columns_[size_t(x)];
            wide[x] = tap.weight ? Mix(from[tap.index], from[tap.index + 1], tap.weight) : from[tap.index];
        }
    }
    // Picture rows showing any changed game row: the rows' taps rise with y.
    outFirst = h_;
    for (int y = 0; y < h_; ++y) {
        const SharpTap tap = rows_[size_t(y)];
        const int last = tap.index + (tap.weight ? 1 : 0);
        if (last < firstRow || tap.index >= endRow) continue;
        outFirst = std::min(outFirst, y);
        outEnd = y + 1;
        uint32_t* row = reinterpret_cast<uint32_t*>(to + size_t(y) * size_t(pitch));
        const uint32_t* a = &wideRows_[size_t(tap.index) * size_t(w_)];
        if (!tap.weight) {
            std::memcpy(row, a, size_t(w_) * sizeof(uint32_t));
            continue;
        }
        const uint32_t* b = a + w_;
        for (int x = 0; x < w_; ++x) row[x] = Mix(a[x], b[x], tap.weight);
    }
    if (outEnd == 0) outFirst = 0;
}
