// Pictures of the Rakety collection: the player's steel-blue fighter (level,
// banking, hit-lit and wingman frames), the organic green alien craft, the
// barrier block, boxes, meteors, the black box, the extra life and the shots.
// Alien craft fly downwards, so their noses and guns point to the bottom.
#include <cmath>
#include <cstring>

#include "art.h"
#include "draw_util.h"

using namespace art;

namespace {

struct ShipColours {
    uint32_t light, base, dark, trim, glass;
};

// The player's fighter, nose up. (cx) is the axis; guns at x 19 and 53 of a
// 76-wide frame with their tips at the top edge. bank: -1 left, 0, +1 right.
void Fighter(cairo_t* cr, double w, double h, int bank, const ShipColours& c, bool lit) {
    const double cx = 36;
    cairo_save(cr);
    // Banking narrows the craft and tilts the light onto one wing.
    cairo_translate(cr, cx, 0);
    cairo_scale(cr, bank == 0 ? 1.0 : 0.86, 1.0);
    cairo_translate(cr, -cx, 0);
    // Engine flames under the hull.
    for (double ex : {cx - 8.0, cx + 8.0}) {
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 60, 0, 76);
        Stop(p, 0, 0xFFFFFF, 0.95);
        Stop(p, 0.35, 0x9CC7FF, 0.9);
        Stop(p, 1, 0x3A6EA5, 0);
        cairo_set_source(cr, p);
        cairo_move_to(cr, ex - 4, 60);
        cairo_curve_to(cr, ex - 3, 68, ex - 1, 74, ex, 76);
        cairo_curve_to(cr, ex + 1, 74, ex + 3, 68, ex + 4, 60);
        cairo_close_path(cr);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
    // Wings.
    const uint32_t leftWing = bank < 0 ? c.dark : (bank > 0 ? c.light : c.base);
    const uint32_t rightWing = bank > 0 ? c.dark : (bank < 0 ? c.light : c.base);
    for (int side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, cx + side * 6, 24);
        cairo_line_to(cr, cx + side * 33, 52);
        cairo_line_to(cr, cx + side * 34, 60);
        cairo_line_to(cr, cx + side * 10, 58);
        cairo_close_path(cr);
        cairo_pattern_t* p = cairo_pattern_create_linear(cx, 24, cx + side * 34, 60);
        Stop(p, 0, side < 0 ? Mix(leftWing, 0xFFFFFF, 0.15) : rightWing);
        Stop(p, 1, Mix(side < 0 ? leftWing : rightWing, 0, 0.35));
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
        Rgb(cr, Mix(c.dark, 0, 0.4));
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        // Trim stripe along the wing.
        Rgb(cr, c.trim, 0.9);
        cairo_set_line_width(cr, 2);
        cairo_move_to(cr, cx + side * 12, 40);
        cairo_line_to(cr, cx + side * 28, 55);
        cairo_stroke(cr);
    }
    // Gun barrels on the wings, tips at the top edge.
    for (double gx : {19.0, 53.0}) {
        RoundRect(cr, gx - 2, 1, 4, 40, 1.5);
        cairo_pattern_t* p = cairo_pattern_create_linear(gx - 2, 0, gx + 2, 0);
        Stop(p, 0, 0x9CC7FF);
        Stop(p, 0.5, 0x4A505A);
        Stop(p, 1, 0x1E2228);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        Rgb(cr, 0xFF5A00);
        cairo_rectangle(cr, gx - 1.5, 1, 3, 2);
        cairo_fill(cr);
    }
    // Fuselage.
    cairo_move_to(cr, cx, 2);
    cairo_curve_to(cr, cx + 7, 14, cx + 10, 34, cx + 10, 62);
    cairo_line_to(cr, cx - 10, 62);
    cairo_curve_to(cr, cx - 10, 34, cx - 7, 14, cx, 2);
    cairo_close_path(cr);
    cairo_pattern_t* body = cairo_pattern_create_linear(cx - 10 + bank * 4, 0, cx + 10 + bank * 4, 0);
    Stop(body, 0, c.light);
    Stop(body, 0.45, c.base);
    Stop(body, 1, c.dark);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    Rgb(cr, Mix(c.dark, 0, 0.5));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Canopy.
    Ellipse(cr, cx + bank, 26, 4.5, 9);
    FillShaded(cr, cx + bank, 26, 9, 0xFFFFFF, c.glass, Mix(c.glass, 0, 0.6));
    // Engine nozzles.
    for (double ex : {cx - 8.0, cx + 8.0}) {
        RoundRect(cr, ex - 4, 56, 8, 6, 2);
        Rgb(cr, 0x1E2228);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    if (lit) {
        // Struck: the hull flares hot white-orange.
        cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
        Glow(cr, cx, 36, 40, 0xFFB000, 0.75);
        Glow(cr, cx, 30, 18, 0xFFF3B0, 0.7);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    }
    (void)w;
    (void)h;
}

const ShipColours kPlayer = {0x9CC7FF, 0x3A6EA5, 0x2B3A4F, 0xFFB000, 0x7FD4FF};
const ShipColours kWingman = {0xC8D2DC, 0x6C7A8A, 0x3A434F, 0x4CAF50, 0xA0FFB0};

// The fighter seen from behind, flying into the distance.
void FighterFromBehind(cairo_t* cr, double w, double h) {
    const double cx = w / 2;
    Glow(cr, cx - 12, h - 16, 14, 0x9CC7FF, 0.9);
    Glow(cr, cx + 12, h - 16, 14, 0x9CC7FF, 0.9);
    // Wings spread level, seen edge-on with a slight dihedral.
    cairo_move_to(cr, cx - 40, 40);
    cairo_line_to(cr, cx - 8, 30);
    cairo_line_to(cr, cx + 8, 30);
    cairo_line_to(cr, cx + 40, 40);
    cairo_line_to(cr, cx + 40, 46);
    cairo_line_to(cr, cx - 40, 46);
    cairo_close_path(cr);
    FillVertical(cr, 30, 46, 0x9CC7FF, 0x2B3A4F);
    for (int s = -1; s <= 1; s += 2) {
        RoundRect(cr, cx + s * 17 - 2, 16, 4, 26, 1.5);
        Rgb(cr, 0x4A505A);
        cairo_fill(cr);
    }
    // Fin and hull.
    cairo_move_to(cr, cx, 2);
    cairo_line_to(cr, cx + 4, 26);
    cairo_line_to(cr, cx - 4, 26);
    cairo_close_path(cr);
    FillVertical(cr, 2, 26, 0x9CC7FF, 0x3A6EA5);
    Ellipse(cr, cx, 42, 16, 20);
    FillShaded(cr, cx, 42, 20, 0x9CC7FF, 0x3A6EA5, 0x1A2433);
    // Two glowing nozzles.
    for (int s = -1; s <= 1; s += 2) {
        Ellipse(cr, cx + s * 8, 52, 6, 6);
        Rgb(cr, 0x1E2228);
        cairo_fill(cr);
        Glow(cr, cx + s * 8, 52, 6, 0xFFFFFF, 1);
        Glow(cr, cx + s * 8, 56, 10, 0x7FD4FF, 0.7);
    }
}

// An organic alien hull: a shaded carapace with ribs and a glowing eye.
void Carapace(cairo_t* cr, double cx, double cy, double rx, double ry) {
    Ellipse(cr, cx, cy, rx, ry);
    FillShaded(cr, cx, cy, std::fmax(rx, ry), 0x9BE07F, 0x4CAF50, 0x123A18);
    cairo_set_line_width(cr, 1.2);
    Rgb(cr, 0x1F5E2A, 0.8);
    for (int i = -2; i <= 2; ++i) {
        cairo_move_to(cr, cx + i * rx * 0.3, cy - ry * 0.85);
        cairo_curve_to(cr, cx + i * rx * 0.42, cy - ry * 0.2, cx + i * rx * 0.42, cy + ry * 0.2, cx + i * rx * 0.3,
                       cy + ry * 0.85);
        cairo_stroke(cr);
    }
    Ellipse(cr, cx, cy, rx, ry);
    Rgb(cr, 0x0B2410);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // A wet sheen on the upper-left shoulder, where the light falls.
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 0.78, M_PI * 1.05, M_PI * 1.45);
    cairo_restore(cr);
    cairo_set_line_width(cr, std::fmax(1.2, rx * 0.12));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    Rgb(cr, 0xE8FFD8, 0.75);
    cairo_stroke(cr);
}

void Eye(cairo_t* cr, double cx, double cy, double r) {
    Glow(cr, cx, cy, r * 2.2, 0xC77DFF, 0.6);
    Sphere(cr, cx, cy, r, 0xF2D7FF, 0x8E44AD, 0x3C0F52);
    Ellipse(cr, cx, cy, r * 0.35, r * 0.7);
    Rgb(cr, 0x14001E);
    cairo_fill(cr);
}

void Claw(cairo_t* cr, double x0, double y0, double x1, double y1, double bend, double width) {
    cairo_move_to(cr, x0 - width, y0);
    cairo_curve_to(cr, x0 + bend, (y0 + y1) / 2, x1 + bend * 0.3, y1 - 4, x1, y1);
    cairo_curve_to(cr, x1 + bend * 0.1, y1 - 6, x0 + bend * 0.6, (y0 + y1) / 2, x0 + width, y0);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
    Stop(p, 0, 0x4CAF50);
    Stop(p, 1, 0x1F5E2A);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    Rgb(cr, 0x0B2410);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void GunPod(cairo_t* cr, double x, double y, double len) {
    RoundRect(cr, x - 3, y, 6, len, 2.5);
    cairo_pattern_t* p = cairo_pattern_create_linear(x - 3, 0, x + 3, 0);
    Stop(p, 0, 0xD6A2F0);
    Stop(p, 0.5, 0x8E44AD);
    Stop(p, 1, 0x3C0F52);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    Glow(cr, x, y + len, 4, 0xFF7BFF, 0.9);
}

void Stihac(cairo_t* cr, double w, double h) {  // armed claw fighter
    const double cx = w / 2;
    Claw(cr, cx - 10, 14, 4, h - 4, -10, 5);
    Claw(cr, cx + 10, 14, w - 4, h - 4, 10, 5);
    GunPod(cr, cx - 14, 22, 22);
    GunPod(cr, cx + 14, 22, 22);
    Carapace(cr, cx, 22, 14, 20);
    Eye(cr, cx, 30, 5);
}

void Pruzkumnik(cairo_t* cr, double w, double h) {  // small scout saucer
    const double cx = w / 2;
    Ellipse(cr, cx, h / 2 + 3, w / 2 - 2, h / 4);
    FillShaded(cr, cx, h / 2 + 3, w / 2, 0x9BE07F, 0x2E7D32, 0x0B2410);
    Carapace(cr, cx, h / 2 - 2, 12, 13);
    Eye(cr, cx, h / 2, 5);
    for (int i = -2; i <= 2; ++i) Glow(cr, cx + i * 8, h / 2 + 8, 3, 0xC77DFF, 0.9);
}

void Nosic(cairo_t* cr, double w, double h) {  // broad carrier
    const double cx = w / 2;
    for (int s = -1; s <= 1; s += 2) {
        Ellipse(cr, cx + s * 20, h / 2 + 4, 12, 16);
        FillShaded(cr, cx + s * 20, h / 2 + 4, 16, 0x9BE07F, 0x388E3C, 0x0B2410);
        Glow(cr, cx + s * 20, h - 10, 5, 0xC77DFF, 0.8);
    }
    Carapace(cr, cx, h / 2, 20, h / 2 - 3);
    for (int i = 0; i < 3; ++i) Sphere(cr, cx - 8 + i * 8, h / 2 + 2, 3.5, 0xF2D7FF, 0x8E44AD, 0x3C0F52);
}

void Torpedovec(cairo_t* cr, double w, double h) {  // armed, side tubes
    const double cx = w / 2;
    for (int s = -1; s <= 1; s += 2) {
        RoundRect(cr, cx + s * 24 - 6, 6, 12, h - 10, 6);
        FillVertical(cr, 6, h - 4, 0x7BC67E, 0x1F5E2A);
        Glow(cr, cx + s * 24, h - 6, 5, 0xFF7BFF, 0.9);
    }
    Claw(cr, cx - 8, 18, 6, 40, -8, 4);
    Claw(cr, cx + 8, 18, w - 6, 40, 8, 4);
    Carapace(cr, cx, h / 2, 15, h / 2 - 4);
    Eye(cr, cx, h / 2 + 8, 6);
}

void Trosky(cairo_t* cr, double w, double h) {  // drifting wreckage
    Rng rng(6);
    for (int i = 0; i < 5; ++i) {
        const double x = rng.Range(6, w - 6), y = rng.Range(6, h - 6), r = rng.Range(6, 12);
        cairo_move_to(cr, x - r, y - r * 0.3);
        cairo_line_to(cr, x - r * 0.2, y - r);
        cairo_line_to(cr, x + r, y - r * 0.5);
        cairo_line_to(cr, x + r * 0.6, y + r * 0.8);
        cairo_line_to(cr, x - r * 0.7, y + r * 0.6);
        cairo_close_path(cr);
        FillShaded(cr, x, y, r, 0x8B96A3, 0x4A505A, 0x1E2228);
    }
    Glow(cr, w * 0.6, h * 0.45, 6, 0xFF5A00, 0.8);
}

void Medusa(cairo_t* cr, double w, double h) {  // jellyfish drone
    const double cx = w / 2;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = -3; i <= 3; ++i) {
        cairo_move_to(cr, cx + i * 5, 24);
        cairo_curve_to(cr, cx + i * 7 + 5, 36, cx + i * 6 - 5, 46, cx + i * 7, h - 3);
        Rgb(cr, i % 2 ? 0x8E44AD : 0x4CAF50, 0.9);
        cairo_set_line_width(cr, 2.2);
        cairo_stroke(cr);
    }
    cairo_move_to(cr, 4, 26);
    cairo_curve_to(cr, 4, 0, w - 4, 0, w - 4, 26);
    cairo_curve_to(cr, w * 0.7, 22, w * 0.3, 22, 4, 26);
    cairo_close_path(cr);
    FillShaded(cr, cx, 14, 24, 0xC7F2B0, 0x4CAF50, 0x1F5E2A);
    Eye(cr, cx, 15, 4);
}

void Kapsle(cairo_t* cr, double w, double h) {  // seed capsule
    const double cx = w / 2;
    RoundRect(cr, cx - 13, 4, 26, h - 8, 13);
    FillShaded(cr, cx, h / 2, h / 2, 0xC7F2B0, 0x4CAF50, 0x0B2410);
    for (int i = 0; i < 4; ++i) {
        Rgb(cr, 0x1F5E2A);
        cairo_set_line_width(cr, 1.5);
        cairo_move_to(cr, cx - 12, 14 + i * 11);
        cairo_curve_to(cr, cx - 4, 18 + i * 11, cx + 4, 18 + i * 11, cx + 12, 14 + i * 11);
        cairo_stroke(cr);
    }
    Glow(cr, cx, h - 8, 7, 0xC77DFF, 0.9);
    (void)w;
}

void Kriznik(cairo_t* cr, double w, double h) {  // armed heavy cruiser
    const double cx = w / 2;
    cairo_move_to(cr, 4, 18);
    cairo_curve_to(cr, 20, 6, w - 20, 6, w - 4, 18);
    cairo_curve_to(cr, w - 8, 40, w - 24, 52, cx, 56);
    cairo_curve_to(cr, 24, 52, 8, 40, 4, 18);
    cairo_close_path(cr);
    FillShaded(cr, cx, 28, 46, 0x9BE07F, 0x2E7D32, 0x0B2410);
    for (double gx : {cx - 30, cx + 30}) GunPod(cr, gx, 26, 28);
    Carapace(cr, cx, 30, 18, 24);
    Eye(cr, cx - 7, 40, 4);
    Eye(cr, cx + 7, 40, 4);
    for (int i = 0; i < 6; ++i) Glow(cr, 14 + i * 12.4, 20, 2.5, 0xC77DFF, 0.9);
}

void Vosa(cairo_t* cr, double w, double h) {  // armed wasp
    const double cx = w / 2;
    for (int s = -1; s <= 1; s += 2) {
        Ellipse(cr, cx + s * 17, 16, 15, 8);
        Rgb(cr, 0xBFE8FF, 0.45);
        cairo_fill(cr);
    }
    Ellipse(cr, cx, 18, 9, 10);
    FillShaded(cr, cx, 18, 10, 0x9BE07F, 0x4CAF50, 0x0B2410);
    Ellipse(cr, cx, 36, 8, 13);
    FillShaded(cr, cx, 36, 13, 0xE0D060, 0x4CAF50, 0x1F5E2A);
    for (int i = 0; i < 3; ++i) {
        cairo_rectangle(cr, cx - 8, 30 + i * 6, 16, 2.5);
        Rgb(cr, 0x3C0F52, 0.9);
        cairo_fill(cr);
    }
    GunPod(cr, cx, 44, 5);
    Eye(cr, cx - 4, 14, 3);
    Eye(cr, cx + 4, 14, 3);
    (void)h;
}

void Strazce(cairo_t* cr, double w, double h) {  // guardian with a ring
    const double cx = w / 2, cy = h / 2;
    Ellipse(cr, cx, cy, w / 2 - 3, h / 2 - 6);
    cairo_set_line_width(cr, 6);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, h);
    Stop(p, 0, 0xD6A2F0);
    Stop(p, 0.5, 0x8E44AD);
    Stop(p, 1, 0x3C0F52);
    cairo_set_source(cr, p);
    cairo_stroke(cr);
    cairo_pattern_destroy(p);
    GunPod(cr, cx - 22, cy, 24);
    GunPod(cr, cx + 22, cy, 24);
    Carapace(cr, cx, cy, 18, 20);
    Eye(cr, cx, cy + 4, 7);
}

void Spora(cairo_t* cr, double w, double h) {  // spiked spore
    const double cx = w / 2, cy = h / 2;
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        cairo_move_to(cr, cx + std::cos(a - 0.2) * 12, cy + std::sin(a - 0.2) * 12);
        cairo_line_to(cr, cx + std::cos(a) * (w / 2 - 1), cy + std::sin(a) * (h / 2 - 1));
        cairo_line_to(cr, cx + std::cos(a + 0.2) * 12, cy + std::sin(a + 0.2) * 12);
        cairo_close_path(cr);
        Rgb(cr, i % 2 ? 0x8E44AD : 0x2E7D32);
        cairo_fill(cr);
    }
    Sphere(cr, cx, cy, 14, 0xC7F2B0, 0x4CAF50, 0x0B2410);
    Eye(cr, cx, cy, 4);
}

void Zvon(cairo_t* cr, double w, double h) {  // bell-shaped drifter
    const double cx = w / 2;
    cairo_move_to(cr, cx, 3);
    cairo_curve_to(cr, cx + 20, 3, cx + 20, 30, w - 3, h - 14);
    cairo_curve_to(cr, cx + 10, h - 8, cx - 10, h - 8, 3, h - 14);
    cairo_curve_to(cr, cx - 20, 30, cx - 20, 3, cx, 3);
    cairo_close_path(cr);
    FillShaded(cr, cx, 24, 36, 0xC7F2B0, 0x388E3C, 0x0B2410);
    for (int i = -2; i <= 2; ++i) Glow(cr, cx + i * 9, h - 12, 4, 0xC77DFF, 0.9);
    Eye(cr, cx, 24, 6);
}

// The barrier block: riveted alien alloy, seamless when tiled at 44.
void Bariera(cairo_t* cr, double w, double h) {
    cairo_rectangle(cr, 0, 0, w, h);
    FillVertical(cr, 0, h, 0x4A505A, 0x2B2F36);
    Panel(cr, 2, 2, w - 4, h - 4, 3, 0x3E5A46);
    cairo_set_line_width(cr, 2);
    Rgb(cr, 0x1F5E2A);
    cairo_move_to(cr, 8, 8);
    cairo_line_to(cr, w - 8, h - 8);
    cairo_move_to(cr, w - 8, 8);
    cairo_line_to(cr, 8, h - 8);
    cairo_stroke(cr);
    Glow(cr, w / 2, h / 2, 7, 0x8EE08E, 0.9);
    for (double rx : {6.0, w - 6}) {
        for (double ry : {6.0, h - 6}) Sphere(cr, rx, ry, 2, 0xE0E0E0, 0x8B96A3, 0x2B2F36);
    }
}

// The box: a cargo crate with a recessed window for the item overlay at
// (13, 14), 45 x 45.
void Bedna(cairo_t* cr, double w, double h) {
    Panel(cr, 1, 1, w - 2, h - 2, 8, 0x4A505A);
    RoundRect(cr, 11, 12, 49, 49, 4);
    Rgb(cr, 0x0A0C10);
    cairo_fill(cr);
    Panel(cr, 11, 12, 49, 49, 4, 0x1E2228, true);
    for (double rx : {6.0, w - 6}) {
        for (double ry : {6.0, h - 6}) Sphere(cr, rx, ry, 2.2, 0xFFFFFF, 0x9CC7FF, 0x2B3A4F);
    }
    // Hazard stripes on the lower rim.
    cairo_save(cr);
    cairo_rectangle(cr, 8, h - 10, w - 16, 6);
    cairo_clip(cr);
    for (int i = -2; i < 12; ++i) {
        cairo_move_to(cr, 8 + i * 8, h - 4);
        cairo_line_to(cr, 12 + i * 8, h - 10);
        cairo_line_to(cr, 16 + i * 8, h - 10);
        cairo_line_to(cr, 12 + i * 8, h - 4);
        cairo_close_path(cr);
        Rgb(cr, 0xFFB000);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

// A meteor: a lumpy rock with craters, lit from the upper left.
void Meteor(cairo_t* cr, double w, double h, uint32_t seed) {
    Rng rng(seed);
    const double cx = w / 2, cy = h / 2, r = std::fmin(w, h) / 2 - 1;
    const int n = 14;
    double rad[n];
    for (int i = 0; i < n; ++i) rad[i] = r * rng.Range(0.82, 1.0);
    for (int i = 0; i <= n; ++i) {
        const double a = i * 2 * M_PI / n;
        const double x = cx + std::cos(a) * rad[i % n] * w / (2 * r + 2);
        const double y = cy + std::sin(a) * rad[i % n] * h / (2 * r + 2);
        if (i == 0) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
    FillShaded(cr, cx, cy, r, 0xC8B59A, 0x7A6048, 0x241A12);
    for (int i = 0; i < 3 + int(r / 10); ++i) {
        const double a = rng.Range(0, 2 * M_PI), d = rng.Range(0, r * 0.6);
        const double cr2 = rng.Range(r * 0.1, r * 0.22);
        const double x = cx + std::cos(a) * d, y = cy + std::sin(a) * d;
        Ellipse(cr, x, y, cr2, cr2);
        cairo_pattern_t* p = cairo_pattern_create_linear(x - cr2, y - cr2, x + cr2, y + cr2);
        Stop(p, 0, 0x2E2218);
        Stop(p, 1, 0xB09A7E);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
}

// The black box: a flight recorder with a beacon; frame 1 has it lit.
void CernaSkrinka(cairo_t* cr, double w, double h, bool lit) {
    Panel(cr, 2, 6, w - 4, h - 8, 4, 0x2B2F36);
    cairo_rectangle(cr, 6, 14, w - 12, 3);
    Rgb(cr, 0xFF5A00);
    cairo_fill(cr);
    cairo_rectangle(cr, 6, 20, w - 12, 3);
    Rgb(cr, 0xFF5A00);
    cairo_fill(cr);
    RoundRect(cr, w / 2 - 5, 1, 10, 7, 2);
    Rgb(cr, lit ? 0xFF3030 : 0x5A1010);
    cairo_fill(cr);
    if (lit) {
        Glow(cr, w / 2, 4, 14, 0xFF5A00, 0.9);
        Glow(cr, w / 2, 4, 5, 0xFFFFFF, 1.0);
    }
    (void)h;
}

// The extra-life box: frames 0..3 a green pulse, 4..5 opening and fading.
// Drawn at the size of a box overlay: the game shows it inside the box's
// window, 13 px right and 14 px down from the box's corner, instead of the box.
void Zivot(cairo_t* cr, double w, double h, int frame) {
    cairo_scale(cr, w / 71.0, h / 73.0);
    w = 71.0;
    h = 73.0;
    const double cx = w / 2 - 0.5, cy = h / 2;
    const double taken = frame >= 4 ? (frame - 3) / 3.0 : 0.0;
    const double pulse = frame < 4 ? 0.5 + 0.5 * std::sin(frame * M_PI / 2) : 1.0;
    cairo_push_group(cr);
    Panel(cr, 1, 1, w - 2, h - 2, 8, 0x2E5A3A);
    RoundRect(cr, 11, 12, 49, 49, 4);
    Rgb(cr, 0x05120A);
    cairo_fill(cr);
    Glow(cr, cx, cy, 26 + 6 * pulse + 20 * taken, 0x4CAF50, 0.55 + 0.35 * pulse);
    // A red-white cross of the repair kit.
    const double s = 1.0 + taken * 0.5;
    cairo_rectangle(cr, cx - 6 * s, cy - 17 * s, 12 * s, 34 * s);
    cairo_rectangle(cr, cx - 17 * s, cy - 6 * s, 34 * s, 12 * s);
    FillVertical(cr, cy - 17 * s, cy + 17 * s, 0xFFFFFF, Mix(0xBFE8C0, 0x4CAF50, 1 - pulse));
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 1.0 - taken * 0.55);
}

void Shot(cairo_t* cr, const char* name, double w, double h) {
    if (!std::strcmp(name, "StrelaPaprsek")) {  // the 2 x 25 red beam
        cairo_rectangle(cr, 0, 0, w, h);
        FillVertical(cr, 0, h, 0xFF8080, 0xC01020);
        return;
    }
    if (!std::strcmp(name, "StrelaKoule")) {  // violet drop of plasma
        Ellipse(cr, w / 2, h - 5, 3.8, 4.5);
        Rgb(cr, 0xC77DFF);
        cairo_fill(cr);
        cairo_move_to(cr, w / 2 - 3, h - 6);
        cairo_line_to(cr, w / 2, 0);
        cairo_line_to(cr, w / 2 + 3, h - 6);
        cairo_close_path(cr);
        FillVertical(cr, 0, h, 0x3C0F52, 0xE8B8FF);
        Ellipse(cr, w / 2, h - 5, 2, 2.5);
        Rgb(cr, 0xFFFFFF);
        cairo_fill(cr);
        return;
    }
    if (!std::strcmp(name, "StrelaPlasma")) {  // green plasma ball
        Sphere(cr, w / 2, h / 2, w / 2 - 0.5, 0xFFFFFF, 0x8EE08E, 0x1F5E2A);
        return;
    }
    // The mother ship's slug: an orange tracer pointing down.
    RoundRect(cr, 0.5, 0, w - 1, h, 3);
    FillVertical(cr, 0, h, 0x7A1E00, 0xFFF3B0);
}

}  // namespace

bool PaintRakety(const ManifestEntry& e, int frame, cairo_t* cr) {
    const double w = e.frameWidth, h = e.frameHeight;
    const std::string name = e.name;
    if (name == "Kavrix") {
        const int bank = frame % 3 - 1;  // 0 left, 1 level, 2 right
        Fighter(cr, w, h, bank, frame >= 6 ? kWingman : kPlayer, frame >= 3 && frame < 6);
    } else if (name == "OpacnaRaketa") FighterFromBehind(cr, w, h);
    else if (name == "Stihac") Stihac(cr, w, h);
    else if (name == "Pruzkumnik") Pruzkumnik(cr, w, h);
    else if (name == "Nosic") Nosic(cr, w, h);
    else if (name == "Torpedovec") Torpedovec(cr, w, h);
    else if (name == "Bariera") Bariera(cr, w, h);
    else if (name == "Trosky") Trosky(cr, w, h);
    else if (name == "Medusa") Medusa(cr, w, h);
    else if (name == "Bedna") Bedna(cr, w, h);
    else if (name.rfind("Meteor", 0) == 0) Meteor(cr, w, h, uint32_t(e.index) * 7 + 1);
    else if (name == "CernaSkrinka") CernaSkrinka(cr, w, h, frame == 1);
    else if (name == "Kapsle") Kapsle(cr, w, h);
    else if (name == "Kriznik") Kriznik(cr, w, h);
    else if (name == "Vosa") Vosa(cr, w, h);
    else if (name == "Strazce") Strazce(cr, w, h);
    else if (name == "Spora") Spora(cr, w, h);
    else if (name == "Zvon") Zvon(cr, w, h);
    else if (name == "Zivot") Zivot(cr, w, h, frame);
    else if (name.rfind("Strela", 0) == 0) Shot(cr, e.name, w, h);
    else return false;
    return true;
}
