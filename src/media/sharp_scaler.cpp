// The sharp scaler's tables and its two passes: each changed game row is
// scaled across once into a row of the picture's width, then every picture row
// is a copy of one such row or, on a seam between game rows, a mix of two.
#include "media/sharp_scaler.h"

#include <algorithm>
#include <cstring>

#include "media/surface.h"
#include "media/view_geometry.h"

namespace {

// On x86-64 the mixing loops are also built for AVX2, chosen at start-up
// where the processor has it (twice the pixels per instruction). The choice
// is an ELF indirect function: Windows programs keep the plain loops.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && defined(__ELF__)
#define KAVRIX_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define KAVRIX_VECTOR_CLONES
#endif

// Each byte (colour channel) of a and b mixed with b's share weight/256,
// rounded. Written channel by channel over plain bytes so the compiler turns
// it into vector code (this file is built with -O3 for it).
KAVRIX_VECTOR_CLONES void MixRow(const uint8_t* __restrict a, const uint8_t* __restrict b, uint8_t* __restrict to,
                                 int bytes, unsigned weight) {
    const unsigned keep = 256 - weight;
    for (int i = 0; i < bytes; ++i) to[i] = uint8_t((a[i] * keep + b[i] * weight + 128) >> 8);
}

// The same with a weight per pixel (four bytes).
KAVRIX_VECTOR_CLONES void MixPixels(const uint8_t* __restrict a, const uint8_t* __restrict b,
                                    const uint8_t* __restrict weights, uint8_t* __restrict to, int pixels) {
    for (int x = 0; x < pixels; ++x) {
        const unsigned weight = weights[x], keep = 256 - weight;
        for (int c = 0; c < 4; ++c) to[4 * x + c] = uint8_t((a[4 * x + c] * keep + b[4 * x + c] * weight + 128) >> 8);
    }
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
    columnWeights_.resize(size_t(w));
    for (int x = 0; x < w; ++x) columnWeights_[size_t(x)] = uint8_t(columns_[size_t(x)].weight);
    left_.assign(size_t(w), 0);
    right_.assign(size_t(w), 0);
    wideRows_.assign(size_t(w) * kSurfaceHeight, 0);
}

void SharpScaler::Scale(const uint8_t* frame, int framePitch, int firstRow, int endRow, uint8_t* to, int pitch,
                        int& outFirst, int& outEnd) {
    outFirst = outEnd = 0;
    if (w_ <= 0 || h_ <= 0 || firstRow >= endRow) return;
    const size_t rowBytes = size_t(w_) * sizeof(uint32_t);
    // Across: each game pixel and its right-hand neighbour under every
    // picture column, then mixed by the column's weight (0 for all but seams).
    const int w = w_;
    const SharpTap* __restrict columns = columns_.data();
    uint32_t* __restrict left = left_.data();
    uint32_t* __restrict right = right_.data();
    for (int y = firstRow; y < endRow; ++y) {
        const uint32_t* __restrict from = reinterpret_cast<const uint32_t*>(frame + size_t(y) * size_t(framePitch));
        for (int x = 0; x < w; ++x) {
            const int index = columns[x].index;
            left[x] = from[index];
            right[x] = from[index + (index + 1 < kSurfaceWidth)];
        }
        MixPixels(reinterpret_cast<const uint8_t*>(left), reinterpret_cast<const uint8_t*>(right),
                  columnWeights_.data(), reinterpret_cast<uint8_t*>(&wideRows_[size_t(y) * size_t(w)]), w);
    }
    // Down: the picture rows showing any changed game row (the rows' taps
    // rise with y), each a copy of one wide row or a mix of two.
    outFirst = h_;
    for (int y = 0; y < h_; ++y) {
        const SharpTap tap = rows_[size_t(y)];
        const int last = tap.index + (tap.weight ? 1 : 0);
        if (last < firstRow || tap.index >= endRow) continue;
        outFirst = std::min(outFirst, y);
        outEnd = y + 1;
        uint8_t* row = to + size_t(y) * size_t(pitch);
        const uint32_t* a = &wideRows_[size_t(tap.index) * size_t(w_)];
        if (!tap.weight) std::memcpy(row, a, rowBytes);
        else
            MixRow(reinterpret_cast<const uint8_t*>(a), reinterpret_cast<const uint8_t*>(a + w_), row, int(rowBytes),
                   tap.weight);
    }
    if (outEnd == 0) outFirst = 0;
}
