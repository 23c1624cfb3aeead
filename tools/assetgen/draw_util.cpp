// Drawing helpers shared by the picture painters (see draw_util.h).
#include "draw_util.h"

#include <cmath>

namespace art {
namespace {
double R(uint32_t c) { return ((c >> 16) & 255) / 255.0; }
double G(uint32_t c) { return ((c >> 8) & 255) / 255.0; }
double B(uint32_t c) { return (c & 255) / 255.0; }
uint16_t To565(uint32_t bgr) {
    const uint32_t r = bgr & 255, g = (bgr >> 8) & 255, b = (bgr >> 16) & 255;
    return uint16_t((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}
}  // namespace

void Rgb(cairo_t* cr, uint32_t rgb, double alpha) { cairo_set_source_rgba(cr, R(rgb), G(rgb), B(rgb), alpha); }

void Stop(cairo_pattern_t* p, double offset, uint32_t rgb, double alpha) {
    cairo_pattern_add_color_stop_rgba(p, offset, R(rgb), G(rgb), B(rgb), alpha);
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
    auto ch = [&](int shift) {
        const double x = ((a >> shift) & 255) * (1 - t) + ((b >> shift) & 255) * t;
        return uint32_t(std::lround(std::fmin(255.0, std::fmax(0.0, x)))) << shift;
    };
    return ch(16) | ch(8) | ch(0);
}

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::fmin(r, std::fmin(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    if (rx <= 0 || ry <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

void FillVertical(cairo_t* cr, double y0, double y1, uint32_t top, uint32_t bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    Stop(p, 0, top);
    Stop(p, 1, bottom);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_new_path(cr);
}

void FillShaded(cairo_t* cr, double cx, double cy, double r, uint32_t light, uint32_t base, uint32_t dark) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.4, cy - r * 0.45, r * 0.05, cx, cy, r * 1.05);
    Stop(p, 0, light);
    Stop(p, 0.45, base);
    Stop(p, 1, dark);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_new_path(cr);
}

void Sphere(cairo_t* cr, double cx, double cy, double r, uint32_t light, uint32_t base, uint32_t dark) {
    Ellipse(cr, cx, cy, r, r);
    FillShaded(cr, cx, cy, r, light, base, dark);
}

void Glow(cairo_t* cr, double cx, double cy, double r, uint32_t rgb, double alpha) {
    if (r <= 0) return;
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
    Stop(p, 0, rgb, alpha);
    Stop(p, 0.4, rgb, alpha * 0.6);
    Stop(p, 1, rgb, 0);
    cairo_set_source(cr, p);
    Ellipse(cr, cx, cy, r, r);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void Explosion(cairo_t* cr, double cx, double cy, double radius, double t, uint32_t seed) {
    Rng rng(seed);
    // The ball grows fast, then cools from white-yellow through orange to a
    // dark red smoke ring that breaks up.
    const double grow = std::fmin(1.0, 0.35 + t * 1.3);
    const double heat = std::fmax(0.0, 1.0 - t * 1.15);
    // Keyed pictures have no partial transparency: late frames darken to
    // smoke instead of fading, and only keep a thinning coverage.
    const double fade = t < 0.7 ? 1.0 : std::fmax(0.62, 1.0 - (t - 0.7) / 0.5);
    const double r = radius * grow;
    const uint32_t outer = Mix(0x7A1E00, 0x3A1208, t);
    const uint32_t mid = Mix(0xFF5A00, 0x7A1E00, 1 - heat);
    const uint32_t inner = Mix(0xFFB000, 0xFF5A00, 1 - heat);
    const uint32_t core = Mix(0xFFF3B0, 0xFFB000, 1 - heat);
    // Puffs around the rim.
    const int puffs = 9;
    for (int i = 0; i < puffs; ++i) {
        const double a = i * 2 * M_PI / puffs + rng.Range(-0.3, 0.3);
        const double d = r * rng.Range(0.45, 0.7);
        const double pr = r * rng.Range(0.3, 0.45);
        const double px = cx + std::cos(a) * d, py = cy + std::sin(a) * d;
        cairo_pattern_t* p = cairo_pattern_create_radial(px - pr * 0.3, py - pr * 0.3, 0, px, py, pr);
        Stop(p, 0, mid, fade);
        Stop(p, 0.7, outer, fade * 0.9);
        Stop(p, 1, outer, 0);
        cairo_set_source(cr, p);
        Ellipse(cr, px, py, pr, pr);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.15, cy - r * 0.15, 0, cx, cy, r * 0.8);
    Stop(p, 0, core, fade);
    Stop(p, 0.35, inner, fade);
    Stop(p, 0.75, mid, fade * 0.85);
    Stop(p, 1, outer, 0);
    cairo_set_source(cr, p);
    Ellipse(cr, cx, cy, r * 0.8, r * 0.8);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Sparks flying out.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 10; ++i) {
        const double a = rng.Range(0, 2 * M_PI);
        const double d0 = r * rng.Range(0.5, 0.8), d1 = d0 + r * 0.25 * (0.4 + t);
        Rgb(cr, Mix(0xFFF3B0, 0xFF5A00, t), fade * 0.9);
        cairo_set_line_width(cr, std::fmax(1.0, radius * 0.03));
        cairo_move_to(cr, cx + std::cos(a) * d0, cy + std::sin(a) * d0);
        cairo_line_to(cr, cx + std::cos(a) * d1, cy + std::sin(a) * d1);
        cairo_stroke(cr);
    }
}

void Panel(cairo_t* cr, double x, double y, double w, double h, double r, uint32_t face, bool sunken) {
    const uint32_t hi = Mix(face, 0xFFFFFF, 0.25), lo = Mix(face, 0x000000, 0.55);
    RoundRect(cr, x, y, w, h, r);
    FillVertical(cr, y, y + h, sunken ? Mix(face, 0, 0.3) : Mix(face, 0xFFFFFF, 0.08),
                 sunken ? face : Mix(face, 0, 0.2));
    cairo_set_line_width(cr, 1.0);
    // Upper-left edge.
    RoundRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, r);
    cairo_pattern_t* p = cairo_pattern_create_linear(x, y, x + w, y + h);
    Stop(p, 0, sunken ? lo : hi);
    Stop(p, 0.5, face);
    Stop(p, 1, sunken ? hi : lo);
    cairo_set_source(cr, p);
    cairo_stroke(cr);
    cairo_pattern_destroy(p);
}

static void SelectFont(cairo_t* cr, double size, bool bold, const char* face) {
    cairo_select_font_face(cr, face, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

void Text(cairo_t* cr, double x, double y, const std::string& utf8, double size, bool bold, uint32_t rgb,
          const char* face) {
    SelectFont(cr, size, bold, face);
    Rgb(cr, rgb);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, utf8.c_str());
    cairo_new_path(cr);
}

double TextWidth(cairo_t* cr, const std::string& utf8, double size, bool bold, const char* face) {
    SelectFont(cr, size, bold, face);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, utf8.c_str(), &ext);
    return ext.x_advance;
}

double TextCentered(cairo_t* cr, double cx, double y, const std::string& utf8, double size, bool bold, uint32_t rgb,
                    const char* face) {
    const double w = TextWidth(cr, utf8, size, bold, face);
    Text(cr, cx - w / 2, y, utf8, size, bold, rgb, face);
    return w;
}

bool Same565(uint32_t a, uint32_t b) { return To565(a) == To565(b); }

std::vector<uint32_t> Flatten(cairo_surface_t* surface, bool keyed, uint32_t keyBgr) {
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const uint8_t* data = cairo_image_surface_get_data(surface);
    // Edges are laid over the deep-space colour (0x05070D) of the game's
    // backdrop; opaque pictures over black.
    const double bgR = keyed ? 0x05 : 0, bgG = keyed ? 0x07 : 0, bgB = keyed ? 0x0D : 0;
    std::vector<uint32_t> out(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < w; ++x) {
            const uint32_t px = row[x];
            const uint32_t a = px >> 24;
            if (keyed && a < 128) {
                out[size_t(y) * w + x] = keyBgr;
                continue;
            }
            const double inv = 1.0 - a / 255.0;
            const uint32_t r = uint32_t(std::lround(std::fmin(255.0, ((px >> 16) & 255) + bgR * inv)));
            const uint32_t g = uint32_t(std::lround(std::fmin(255.0, ((px >> 8) & 255) + bgG * inv)));
            const uint32_t b = uint32_t(std::lround(std::fmin(255.0, (px & 255) + bgB * inv)));
            uint32_t bgr = b << 16 | g << 8 | r;
            if (keyed && Same565(bgr, keyBgr)) {
                // Nudge green by one 5-6-5 step (up, or down if it is near the top).
                const uint32_t g2 = g >= 0xF0 ? g - 8 : g + 8;
                bgr = b << 16 | g2 << 8 | r;
            }
            out[size_t(y) * w + x] = bgr;
        }
    }
    return out;
}

}  // namespace art
