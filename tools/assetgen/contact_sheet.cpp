// The contact sheet: every picture of every collection, flattened exactly as
// it is stored, with its index, name, frame size and frame numbers, for
// reviewing the art. Colour-keyed pixels show as a dark checkerboard.
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "art.h"
#include "assetgen.h"
#include "draw_util.h"
#include "picture_manifest.h"

namespace {
constexpr int kSheetWidth = 1700;
constexpr int kMargin = 12;

// A surface holding the stored pixels, keyed ones replaced by a checkerboard.
cairo_surface_t* StoredImage(const ManifestEntry& e) {
    cairo_surface_t* drawn = RenderEntry(e);
    std::vector<uint32_t> px = art::Flatten(drawn, e.keyed, kKeyFuchsia);
    cairo_surface_destroy(drawn);
    const int w = SheetWidth(e), h = SheetHeight(e);
    cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_surface_flush(img);
    uint8_t* data = cairo_image_surface_get_data(img);
    const int stride = cairo_image_surface_get_stride(img);
    for (int y = 0; y < h; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < w; ++x) {
            const uint32_t bgr = px[size_t(y) * w + x];
            if (e.keyed && art::Same565(bgr, kKeyFuchsia)) {
                row[x] = ((x / 4 + y / 4) & 1) ? 0x202428 : 0x14161A;
            } else {
                row[x] = (bgr & 255) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 255);
            }
        }
    }
    cairo_surface_mark_dirty(img);
    return img;
}

struct Layout {
    double x = kMargin, y = kMargin, rowHeight = 0;
};

// Draws one entry's block (title line, then its frames, wrapping); returns the height used.
void DrawEntry(cairo_t* cr, const ManifestEntry& e, Layout& at) {
    const double scale = e.frameWidth > 820 ? 0.5 : (e.frameWidth < 24 && e.frameHeight < 24 ? 2.0 : 1.0);
    const double fw = e.frameWidth * scale, fh = e.frameHeight * scale;
    char title[160];
    std::snprintf(title, sizeof title, "%d \"%s\" %dx%d x%d%s%s", e.index, e.name, e.frameWidth, e.frameHeight,
                  e.frames, e.keyed ? "" : " opaque", scale != 1.0 ? (scale < 1 ? " (1/2)" : " (x2)") : "");
    const double titleW = art::TextWidth(cr, title, 12, true) + 8;
    const double blockW = std::max(titleW, std::min(double(kSheetWidth - 2 * kMargin), e.frames * (fw + 6)));
    if (at.x + blockW > kSheetWidth - kMargin) {
        at.x = kMargin;
        at.y += at.rowHeight + 10;
        at.rowHeight = 0;
    }
    art::Text(cr, at.x, at.y + 12, title, 12, true, 0xE0E0E0);
    cairo_surface_t* img = StoredImage(e);
    double fx = at.x, fy = at.y + 18;
    for (int f = 0; f < e.frames; ++f) {
        if (fx + fw > at.x + blockW + 1) {
            fx = at.x;
            fy += fh + 16;
        }
        cairo_save(cr);
        cairo_rectangle(cr, fx, fy, fw, fh);
        cairo_clip(cr);
        cairo_translate(cr, fx, fy);
        cairo_scale(cr, scale, scale);
        cairo_set_source_surface(cr, img, -f * (e.frameWidth + e.skip), 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        if (e.frames > 1) art::Text(cr, fx, fy + fh + 11, std::to_string(f), 10, false, 0x9CC7FF);
        fx += fw + 6;
    }
    cairo_surface_destroy(img);
    const double used = fy + fh + (e.frames > 1 ? 14 : 4) - at.y;
    at.rowHeight = std::max(at.rowHeight, used);
    at.x += blockW + 14;
}
}  // namespace

void WriteContactSheet(const std::string& pngPath) {
    // First pass measures the height, second draws.
    double height = 0;
    for (int pass = 0; pass < 2; ++pass) {
        const int h = pass == 0 ? 10 : int(height);
        cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSheetWidth, h);
        cairo_t* cr = cairo_create(sheet);
        art::Rgb(cr, 0x30343A);
        cairo_paint(cr);
        Layout at;
        for (Collection c : kAllCollections) {
            at.x = kMargin;
            at.y += at.rowHeight + 14;
            at.rowHeight = 0;
            art::Text(cr, kMargin, at.y + 18, std::string(CollectionName(c)) + " — " + CollectionFileName(c), 20, true,
                      0x8EE08E);
            at.y += 28;
            for (const ManifestEntry& e : ManifestOf(c)) DrawEntry(cr, e, at);
        }
        height = at.y + at.rowHeight + kMargin;
        cairo_destroy(cr);
        if (pass == 1 && cairo_surface_write_to_png(sheet, pngPath.c_str()) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(sheet);
            throw std::runtime_error("cannot write contact sheet " + pngPath);
        }
        cairo_surface_destroy(sheet);
    }
}
