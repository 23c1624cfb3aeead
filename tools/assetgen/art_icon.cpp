// The desktop icon: a rounded tile of deep space with a few stars and a blue
// glow, and the fighter "Kavrix" (level flight, engines burning) drawn by the
// Rakety painter, scaled to fill the tile. The same drawing is written as PNGs
// of each size the desktop asks for and as an SVG.
#include "icon.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <filesystem>
#include <stdexcept>

#include "art.h"
#include "draw_util.h"

using namespace art;

namespace {

constexpr int kPixelSizes[] = {32, 48, 64, 128, 256};

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
    cairo_stroke_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    Rng rng(17);
    for (int i = 0; i < 14; ++i) {
        const double x = rng.Range(0.08, 0.92) * size, y = rng.Range(0.08, 0.92) * size;
        Ellipse(cr, x, y, size * rng.Range(0.004, 0.009), size * rng.Range(0.004, 0.009));
        Rgb(cr, 0xFFFFFF, rng.Range(0.45, 0.9));
        cairo_fill(cr);
    }
    Glow(cr, size * 0.5, size * 0.55, size * 0.42, 0x3A6EA5, 0.55);
    cairo_restore(cr);

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

void WriteIcons(const std::string& dir) {
    const std::filesystem::path theme = std::filesystem::path(dir) / "hicolor";
    for (int size : kPixelSizes) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path file = theme / name / "apps" / "kavrix.png";
        std::filesystem::create_directories(file.parent_path());
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(surface);
        PaintIcon(cr, size);
        cairo_destroy(cr);
        const cairo_status_t status = cairo_surface_write_to_png(surface, file.c_str());
        cairo_surface_destroy(surface);
        Check(status, file);
    }
    const std::filesystem::path svg = theme / "scalable" / "apps" / "kavrix.svg";
    std::filesystem::create_directories(svg.parent_path());
    cairo_surface_t* surface = cairo_svg_surface_create(svg.c_str(), 256, 256);
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);  // icon themes measure in pixels
    cairo_t* cr = cairo_create(surface);
    PaintIcon(cr, 256);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    Check(status, svg);
}
