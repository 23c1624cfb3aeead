// Picture collections: conversion to 5-6-5, the frame grid, name lookup and
// the three blits (plain with colour key, stretched, blended). Keyed blits
// copy precomputed opaque runs so a sprite costs little more than a copy.
#include "media/picture.h"

#include <algorithm>
#include <cstring>
#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>  // the browser build: SSE2 as WebAssembly SIMD
#endif

#include "media/media_error.h"

namespace {

std::string LowerAscii(std::string_view name) {
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return lower;
}

// Top-left corner of a frame in the bitmap; false for frames outside the grid.
bool FrameOrigin(const PictureItem& item, int frame, int& fx, int& fy) {
    if (frame < 0 || frame >= FrameCount(item)) return false;
    const int w = PatternWidth(item), h = PatternHeight(item);
    const int column = frame % item.columns, row = frame / item.columns;
    fx = column * (w + item.SkipWidth);
    fy = row * (h + item.SkipHeight);
    return fx >= 0 && fy >= 0 && fx + w <= item.width && fy + h <= item.height;
}

// Builds the opaque runs of every row of every frame.
void BuildRuns(PictureItem& item) {
    item.runIndex.clear();
    item.runs.clear();
    const int frames = FrameCount(item);
    const int w = PatternWidth(item), h = PatternHeight(item);
    item.runIndex.reserve(size_t(frames) * size_t(h) + 1);
    for (int f = 0; f < frames; ++f) {
        int fx = 0, fy = 0;
        const bool inside = FrameOrigin(item, f, fx, fy);
        for (int row = 0; row < h; ++row) {
            item.runIndex.push_back(uint32_t(item.runs.size()));
            if (!inside) continue;
            const uint16_t* src = &item.pixels[size_t(fy + row) * item.width + fx];
            int x = 0;
            while (x < w) {
                while (x < w && src[x] == item.key565) ++x;
                const int start = x;
                while (x < w && src[x] != item.key565) ++x;
                if (x > start) {
                    item.runs.push_back(uint16_t(start));
                    item.runs.push_back(uint16_t(x - start));
                }
            }
        }
    }
    item.runIndex.push_back(uint32_t(item.runs.size()));
}

// Rows with more opaque runs than this are drawn with a vector select
// instead of one copy per run.
constexpr int kMaxCopiedRuns = 2;

#if defined(__x86_64__) && defined(__GNUC__)
// The same select sixteen pixels at a time, where the processor has AVX2.
__attribute__((target("avx2"))) void SelectRowAvx2(uint16_t* dst, const uint16_t* src, int count, uint16_t key) {
    int i = 0;
    const __m256i keys = _mm256_set1_epi16(int16_t(key));
    for (; i + 16 <= count; i += 16) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
        const __m256i isKey = _mm256_cmpeq_epi16(s, keys);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_blendv_epi8(s, d, isKey));
    }
    if (i < count && count >= 16) {
        // The select is idempotent, so the tail is one more vector overlapping the last.
        i = count - 16;
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
        const __m256i isKey = _mm256_cmpeq_epi16(s, keys);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_blendv_epi8(s, d, isKey));
        return;
    }
    for (; i < count; ++i)
        if (src[i] != key) dst[i] = src[i];
}
const bool kHasAvx2 = __builtin_cpu_supports("avx2");
#endif

// dst[i] = src[i] unless src[i] is the key, eight pixels at a time.
void SelectRow(uint16_t* dst, const uint16_t* src, int count, uint16_t key) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (kHasAvx2) {
        SelectRowAvx2(dst, src, count, key);
        return;
    }
#endif
    int i = 0;
#if defined(__SSE2__)
    const __m128i keys = _mm_set1_epi16(int16_t(key));
    for (; i + 8 <= count; i += 8) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        const __m128i isKey = _mm_cmpeq_epi16(s, keys);
        const __m128i mixed = _mm_or_si128(_mm_and_si128(isKey, d), _mm_andnot_si128(isKey, s));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), mixed);
    }
#endif
    for (; i < count; ++i)
        if (src[i] != key) dst[i] = src[i];
}

// Destination rectangle clipped to the surface.
bool ClipToSurface(const Rect& rect, Rect& clipped) {
    clipped.left = std::max(rect.left, 0);
    clipped.top = std::max(rect.top, 0);
    clipped.right = std::min(rect.right, kSurfaceWidth);
    clipped.bottom = std::min(rect.bottom, kSurfaceHeight);
    return !clipped.Empty();
}

// Nearest-neighbour scaling of a frame into rect; mix(dst, src) writes one
// pixel. Source coordinates follow an exact integer DDA: (d - left) * w / rw.
template <typename Mix>
void ScaledBlit(const PictureItem& item, Surface& surface, const Rect& rect, int frame, Mix mix) {
    if (rect.Empty()) return;
    int fx = 0, fy = 0;
    if (!FrameOrigin(item, frame, fx, fy)) return;
    Rect clip;
    if (!ClipToSurface(rect, clip)) return;
    const int w = PatternWidth(item), h = PatternHeight(item);
    const int64_t rw = rect.Width(), rh = rect.Height();
    const bool keyed = item.Transparent;
    const int64_t startX = int64_t(clip.left - rect.left) * w;
    const int srcX0 = int(startX / rw);
    const int64_t accX0 = startX % rw;
    for (int y = clip.top; y < clip.bottom; ++y) {
        const int srcY = int(int64_t(y - rect.top) * h / rh);
        const uint16_t* src = &item.pixels[size_t(fy + srcY) * item.width + fx];
        uint16_t* dst = &surface.pixels[y][0];
        int srcX = srcX0;
        int64_t acc = accX0;
        for (int x = clip.left; x < clip.right; ++x) {
            const uint16_t p = src[srcX];
            if (!keyed || p != item.key565) mix(dst[x], p);
            acc += w;
            while (acc >= rw) {
                acc -= rw;
                ++srcX;
            }
        }
    }
}

}  // namespace

void PreparePicture(PictureItem& item, const RgbImage& image) {
    item.width = image.width;
    item.height = image.height;
    item.pixels.resize(size_t(image.width) * size_t(image.height));
    for (size_t i = 0; i < item.pixels.size() && i < image.pixels.size(); ++i)
        item.pixels[i] = ColorTo565(image.pixels[i]);
    // "clNone" (and any value beyond 24 bits) names no colour: nothing is keyed.
    if (item.TransparentColor > 0xFFFFFF) item.Transparent = false;
    item.key565 = ColorTo565(item.TransparentColor);

    const int w = PatternWidth(item), h = PatternHeight(item);
    const int sx = w + item.SkipWidth, sy = h + item.SkipHeight;
    if (w <= 0 || h <= 0 || sx <= 0 || sy <= 0) {
        item.columns = item.rows = 0;
    } else if (w == item.width && h == item.height) {
        item.columns = item.rows = 1;
    } else {
        item.columns = std::max(0, (item.width + item.SkipWidth) / sx);
        item.rows = std::max(0, (item.height + item.SkipHeight) / sy);
    }
    BuildRuns(item);
}

void IndexCollection(PictureCollection& collection) {
    collection.byLowerName.clear();
    for (int i = 0; i < int(collection.items.size()); ++i)
        collection.byLowerName.emplace(LowerAscii(collection.items[size_t(i)].Name), i);
}

const PictureItem& FindPicture(const PictureCollection& collection, std::string_view name) {
    // One reused key buffer: lookups happen every frame and must not allocate.
    static thread_local std::string key;
    key.assign(name);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    auto it = collection.byLowerName.find(key);
    if (it == collection.byLowerName.end()) throw MediaError("Image '" + std::string(name) + "' not found");
    return collection.items[size_t(it->second)];
}

const PictureItem& PictureAt(const PictureCollection& collection, int index) {
    if (index < 0 || index >= int(collection.items.size()))
        throw MediaError("Image index " + std::to_string(index) + " out of range (collection has " +
                         std::to_string(collection.items.size()) + " pictures)");
    return collection.items[size_t(index)];
}

int PatternWidth(const PictureItem& item) { return item.StoredPatternWidth > 0 ? item.StoredPatternWidth : item.width; }

int PatternHeight(const PictureItem& item) {
    return item.StoredPatternHeight > 0 ? item.StoredPatternHeight : item.height;
}

int FrameCount(const PictureItem& item) { return item.columns * item.rows; }

void DrawPattern(const PictureItem& item, Surface& surface, int x, int y, int frame) {
    int fx = 0, fy = 0;
    if (!FrameOrigin(item, frame, fx, fy)) return;
    const int w = PatternWidth(item), h = PatternHeight(item);
    // Visible part of the frame, in frame coordinates.
    const int x0 = std::max(0, -x), x1 = std::min(w, kSurfaceWidth - x);
    const int y0 = std::max(0, -y), y1 = std::min(h, kSurfaceHeight - y);
    if (x0 >= x1 || y0 >= y1) return;

    if (!item.Transparent) {
        for (int row = y0; row < y1; ++row) {
            const uint16_t* src = &item.pixels[size_t(fy + row) * item.width + fx + x0];
            std::memcpy(&surface.pixels[y + row][x + x0], src, size_t(x1 - x0) * sizeof(uint16_t));
        }
        return;
    }
    const size_t rowBase = size_t(frame) * size_t(h);
    for (int row = y0; row < y1; ++row) {
        const uint16_t* src = &item.pixels[size_t(fy + row) * item.width + fx];
        // Row start on the surface; only offsets x + start >= 0 are ever formed.
        uint16_t* line = &surface.pixels[y + row][0];
        const uint16_t* run = item.runs.data() + item.runIndex[rowBase + size_t(row)];
        const uint16_t* end = item.runs.data() + item.runIndex[rowBase + size_t(row) + 1];
        if (end - run > 2 * kMaxCopiedRuns) {
            // Ragged rows: select pixel by pixel over the span the runs cover.
            const int start = std::max(int(run[0]), x0);
            const int stop = std::min(int(end[-2] + end[-1]), x1);
            if (start < stop) SelectRow(line + (x + start), src + start, stop - start, item.key565);
            continue;
        }
        for (; run < end; run += 2) {
            int start = run[0], stop = run[0] + run[1];
            if (stop <= x0) continue;
            if (start >= x1) break;
            start = std::max(start, x0);
            stop = std::min(stop, x1);
            std::memcpy(line + (x + start), src + start, size_t(stop - start) * sizeof(uint16_t));
        }
    }
}

void StretchDrawPattern(const PictureItem& item, Surface& surface, const Rect& rect, int frame) {
    ScaledBlit(item, surface, rect, frame, [](uint16_t& dst, uint16_t src) { dst = src; });
}

void BlendDrawPattern(const PictureItem& item, Surface& surface, const Rect& rect, int frame, int alpha) {
    if (alpha <= 0) return;
    if (alpha >= 255) {
        StretchDrawPattern(item, surface, rect, frame);
        return;
    }
    // Each 5-6-5 channel moves from the old value toward the frame's by alpha/256.
    ScaledBlit(item, surface, rect, frame, [alpha](uint16_t& dst, uint16_t src) {
        const int oldR = dst >> 11, oldG = (dst >> 5) & 0x3F, oldB = dst & 0x1F;
        const int newR = src >> 11, newG = (src >> 5) & 0x3F, newB = src & 0x1F;
        const int r = oldR + (newR - oldR) * alpha / 256;
        const int g = oldG + (newG - oldG) * alpha / 256;
        const int b = oldB + (newB - oldB) * alpha / 256;
        dst = uint16_t((r << 11) | (g << 5) | b);
    });
}
