// The desktop icon: a rounded tile of deep space with a few stars and a blue
// glow, and the fighter "Kavrix" (level flight, engines burning) drawn by the
// Rakety painter, scaled to fill the tile. The same drawing is written as PNGs
// of each size the desktop (and the browser page) asks for and as an SVG (its
// gradients as flat bands).
#include "icon.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "art.h"
#include "draw_util.h"

using namespace art;

namespace {

constexpr int kPixelSizes[] = {32, 48, 64, 128, 256};
// The page's icon, and the installed web app's (with the SVG for larger sizes).
constexpr int kWebPixelSizes[] = {32, 192};

// Whether (x, y) lies inside the tile's rounded corners (those of radius
// `inset` from the edges), with room for a star.
bool InsideTile(double x, double y, double size, double inset) {
    const double cx = std::clamp(x, inset, size - inset), cy = std::clamp(y, inset, size - inset);
    return std::hypot(x - cx, y - cy) < inset - size * 0.06;
}

// Draws the icon into a size × size area at the origin.
void PaintIcon(cairo_t* cr, double size) {
    const double margin = size / 32, corner = size * 0.18;
    RoundRect(cr, margin, margin, size - 2 * margin, size - 2 * margin, corner);
    cairo_pattern_t* sky = cairo_pattern_create_radial(size * 0.5, size * 0.42, 0, size * 0.5, size * 0.5, size * 0.7);
    Stop(sky, 0, 0x1B2F55);
    Stop(sky, 0.6, 0x0B1530);
    Stop(sky, 1, 0x02040A);
    cairo_set_source(cr, sky);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(sky);
    Rgb(cr, 0x3A6EA5);
    cairo_set_line_width(cr, size / 64);
    cairo_stroke(cr);
    // Stars and glow lie inside the tile by their places, not by a clip: the
    // SVG's renderers do not all clip alike.
    Rng rng(17);
    for (int i = 0; i < 14; ++i) {
        const double x = rng.Range(0.08, 0.92) * size, y = rng.Range(0.08, 0.92) * size;
        const double rx = size * rng.Range(0.004, 0.009), ry = size * rng.Range(0.004, 0.009);
        const double alpha = rng.Range(0.45, 0.9);
        if (!InsideTile(x, y, size, margin + corner)) continue;
        Ellipse(cr, x, y, rx, ry);
        Rgb(cr, 0xFFFFFF, alpha);
        cairo_fill(cr);
    }
    Glow(cr, size * 0.5, size * 0.55, size * 0.42, 0x3A6EA5, 0.55);

    // The fighter's 76-pixel frame, its axis at x 36, filling most of the tile.
    const double scale = size * 0.8 / 76;
    cairo_save(cr);
    cairo_translate(cr, size * 0.5 - 36 * scale, size * 0.1);
    cairo_scale(cr, scale, scale);
    const ManifestEntry fighter{Collection::Rakety, 0, "Kavrix", 76, 76, 9, 2, true, levpack::PictureData::Dib};
    PaintRakety(fighter, 1, cr);  // frame 1: level flight
    cairo_restore(cr);
}

void Check(cairo_status_t status, const std::filesystem::path& file) {
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write icon '" + file.string() + "': " + cairo_status_to_string(status));
}

}  // namespace

namespace {

void WritePngIcon(int size, const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    PaintIcon(cr, size);
    cairo_destroy(cr);
    const cairo_status_t status = cairo_surface_write_to_png(surface, file.c_str());
    cairo_surface_destroy(surface);
    Check(status, file);
}

void WriteSvgIcon(const std::filesystem::path& svg) {
    std::filesystem::create_directories(svg.parent_path());
    // Drawn by Cairo into memory, its gradients then flattened.
    std::string text;
    cairo_surface_t* surface = cairo_svg_surface_create_for_stream(
        [](void* closure, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &text, 256, 256);
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);  // icon themes measure in pixels
    cairo_t* cr = cairo_create(surface);
    PaintIcon(cr, 256);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    Check(status, svg);
    std::ofstream out(svg, std::ios::binary);
    out << FlattenSvgGradients(text);
    if (!out.flush()) Check(CAIRO_STATUS_WRITE_ERROR, svg);
}

}  // namespace

void WriteIcons(const std::string& dir) {
    const std::filesystem::path theme = std::filesystem::path(dir) / "hicolor";
    for (int size : kPixelSizes) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        WritePngIcon(size, theme / name / "apps" / "kavrix.png");
    }
    WriteSvgIcon(theme / "scalable" / "apps" / "kavrix.svg");
}

void WriteWebIcons(const std::string& dir) {
    for (int size : kWebPixelSizes)
        WritePngIcon(size, std::filesystem::path(dir) / ("kavrix-" + std::to_string(size) + ".png"));
    WriteSvgIcon(std::filesystem::path(dir) / "kavrix.svg");
}
