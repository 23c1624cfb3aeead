// RGB 5-6-5 to YUV 4:2:0 with BT.601 studio-range coefficients, written for
// the video's hot path: the 65536 colours of the game's pictures are turned
// into luma and chroma once, so a picture costs a table look-up a pixel
// (black space, most of the picture, less), and nothing is allocated per picture.
#include "video/picture.h"

#include <cstring>

#include "media/surface.h"

namespace {

// Chroma is kept in 1/16 steps, offset so it is never negative, and U and V
// share one 32-bit word: the sum of four words holds both sums apart.
constexpr int kChromaOffset = 2048;
constexpr uint8_t kBlackLuma = 16;

struct Rgb {
    int r, g, b;
};

Rgb Expand(uint16_t p) {
    const int r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
    return {(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
}

// The mean of four packed chroma words as the U (or V) byte.
inline uint8_t ChromaByte(uint32_t sumOfFour) {
    // Four values in 1/16 steps with their offsets: /64 with rounding.
    return uint8_t(((int(sumOfFour) - 4 * kChromaOffset + 32) >> 6) + 128);
}

}  // namespace

PictureConverter::PictureConverter(int scale_)
    : scale(scale_), width(kSurfaceWidth * scale_), height(kSurfaceHeight * scale_) {
    lumaOf.resize(65536);
    chromaOf.resize(65536);
    for (int p = 0; p < 65536; ++p) {
        const Rgb c = Expand(uint16_t(p));
        lumaOf[size_t(p)] = uint8_t(((66 * c.r + 129 * c.g + 25 * c.b + 128) >> 8) + 16);
        // U and V in 1/256 steps (-28560..28560), kept in 1/16 steps.
        const int u = (-38 * c.r - 74 * c.g + 112 * c.b) / 16 + kChromaOffset;
        const int v = (112 * c.r - 94 * c.g - 18 * c.b) / 16 + kChromaOffset;
        chromaOf[size_t(p)] = uint32_t(u) | (uint32_t(v) << 16);
    }
    sourceColumn.resize(size_t(width));
    for (int x = 0; x < width; ++x) sourceColumn[size_t(x)] = uint16_t(x / scale);
    rowChroma.resize(size_t(width));
}

void PictureConverter::Convert(const Surface& picture, uint8_t* y, int yStride, uint8_t* u, int uStride, uint8_t* v,
                               int vStride) {
    const uint8_t* luma = lumaOf.data();
    const uint32_t* chroma = chromaOf.data();
    // Luma: a picture row looked up once, then repeated across and down.
    for (int row = 0; row < kSurfaceHeight; ++row) {
        const uint16_t* source = picture.pixels[row];
        uint8_t* out = y + size_t(row) * size_t(scale) * size_t(yStride);
        if (scale == 1) {
            // Most of the play field is black space: four black pixels at a time.
            for (int x = 0; x < kSurfaceWidth; x += 4) {
                uint64_t four;
                std::memcpy(&four, source + x, sizeof four);
                if (four == 0) {
                    std::memset(out + x, kBlackLuma, 4);
                    continue;
                }
                for (int k = 0; k < 4; ++k) out[x + k] = luma[source[x + k]];
            }
            continue;
        }
        for (int x = 0; x < width; ++x) out[x] = luma[source[sourceColumn[size_t(x)]]];
        for (int k = 1; k < scale; ++k) std::memcpy(out + size_t(k) * size_t(yStride), out, size_t(width));
    }
    // Chroma: each sample is the mean of the 2 x 2 video pixels it covers.
    for (int cy = 0; cy < height / 2; ++cy) {
        const uint16_t* top = picture.pixels[(2 * cy) / scale];
        const uint16_t* bottom = picture.pixels[(2 * cy + 1) / scale];
        uint8_t* outU = u + size_t(cy) * size_t(uStride);
        uint8_t* outV = v + size_t(cy) * size_t(vStride);
        if (scale == 1) {
            for (int cx = 0; cx < width / 2; ++cx) {
                uint32_t upper, lower;
                std::memcpy(&upper, top + 2 * cx, sizeof upper);
                std::memcpy(&lower, bottom + 2 * cx, sizeof lower);
                if ((upper | lower) == 0) {
                    outU[cx] = outV[cx] = 128;
                    continue;
                }
                const uint32_t sum =
                    chroma[top[2 * cx]] + chroma[top[2 * cx + 1]] + chroma[bottom[2 * cx]] + chroma[bottom[2 * cx + 1]];
                outU[cx] = ChromaByte(sum & 0xFFFF);
                outV[cx] = ChromaByte(sum >> 16);
            }
            continue;
        }
        uint32_t* column = rowChroma.data();
        for (int x = 0; x < width; ++x) {
            const int from = sourceColumn[size_t(x)];
            column[x] = chroma[top[from]] + chroma[bottom[from]];
        }
        for (int cx = 0; cx < width / 2; ++cx) {
            const uint32_t sum = column[2 * cx] + column[2 * cx + 1];
            outU[cx] = ChromaByte(sum & 0xFFFF);
            outV[cx] = ChromaByte(sum >> 16);
        }
    }
}
