// Pictures of the two Level collections: the alien city seen from above
// (ground tiles, towers, reactors and animated structures, 101 x 101 each) and
// the mother ship with its parts placed on their hit boxes, the wreck of each
// part, the core's shield flash, the probe, the launch bay, the launcher and
// the muzzle flashes.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "art.h"
#include "draw_util.h"

using namespace art;

namespace {

constexpr double kTile = 101;

// Ground common to every city tile, so neighbouring tiles always meet.
void Ground(cairo_t* cr, uint32_t seed) {
    cairo_rectangle(cr, 0, 0, kTile, kTile);
    FillVertical(cr, 0, kTile, 0x161E19, 0x0E1410);
    Rng rng(seed);
    for (int i = 0; i < 14; ++i) {
        Rgb(cr, 0x000000, 0.18);
        cairo_rectangle(cr, rng.Range(0, 95), rng.Range(0, 95), rng.Range(4, 14), rng.Range(2, 6));
        cairo_fill(cr);
    }
    // Edge streets.
    Rgb(cr, 0x2B2F36);
    cairo_rectangle(cr, 0, 0, kTile, 6);
    cairo_rectangle(cr, 0, 0, 6, kTile);
    cairo_fill(cr);
    Rgb(cr, 0xFFB000, 0.5);
    for (double x = 10; x < kTile; x += 16) {
        cairo_rectangle(cr, x, 2.5, 6, 1);
        cairo_rectangle(cr, 2.5, x, 1, 6);
    }
    cairo_fill(cr);
}

// A tower seen from above: its roof offset up-left of its footprint and its
// walls falling away to the lower right, as if lit from the upper left.
void Tower(cairo_t* cr, double x, double y, double w, double h, double height, uint32_t roof) {
    // Shadow to the lower right.
    cairo_move_to(cr, x + w, y);
    cairo_line_to(cr, x + w + height * 0.5, y + height * 0.5);
    cairo_line_to(cr, x + w + height * 0.5, y + h + height * 0.5);
    cairo_line_to(cr, x + height * 0.5, y + h + height * 0.5);
    cairo_line_to(cr, x, y + h);
    cairo_close_path(cr);
    Rgb(cr, 0x000000, 0.45);
    cairo_fill(cr);
    // Walls.
    const double rx = x - height * 0.25, ry = y - height * 0.25;
    cairo_move_to(cr, rx + w, ry);
    cairo_line_to(cr, x + w, y);
    cairo_line_to(cr, x + w, y + h);
    cairo_line_to(cr, x, y + h);
    cairo_line_to(cr, rx, ry + h);
    cairo_line_to(cr, rx + w, ry + h);
    cairo_close_path(cr);
    Rgb(cr, Mix(roof, 0, 0.6));
    cairo_fill(cr);
    // Windows on the walls.
    for (double t = 0.2; t < 1; t += 0.25) {
        Rgb(cr, 0xFFF3B0, 0.7);
        cairo_rectangle(cr, rx + w + (x - rx) * t - 1, ry + h * 0.3 + (y - ry) * t, 2, 2);
        cairo_rectangle(cr, rx + w * 0.5 + (x - rx) * t, ry + h + (y - ry) * t - 1, 2, 2);
        cairo_fill(cr);
    }
    RoundRect(cr, rx, ry, w, h, 3);
    FillShaded(cr, rx + w / 2, ry + h / 2, std::fmax(w, h) * 0.8, Mix(roof, 0xFFFFFF, 0.18), roof, Mix(roof, 0, 0.5));
    RoundRect(cr, rx + 3, ry + 3, w - 6, h - 6, 2);
    Rgb(cr, Mix(roof, 0, 0.35), 0.9);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void Kostky(cairo_t* cr, int frame) {
    Ground(cr, 40 + frame);
    Rng rng(900 + frame);
    if (frame < 5) {
        // Low blocks: plazas, pipes, landing pads and domes.
        switch (frame) {
            case 0:
                for (int i = 0; i < 4; ++i) Tower(cr, 14 + (i % 2) * 42, 14 + (i / 2) * 42, 32, 32, 4, 0x3E5A46);
                break;
            case 1:
                Ellipse(cr, 53, 53, 32, 32);
                Rgb(cr, 0x2B2F36);
                cairo_fill(cr);
                Ellipse(cr, 53, 53, 26, 26);
                cairo_set_line_width(cr, 2);
                Rgb(cr, 0x8A6A20, 0.8);
                cairo_stroke(cr);
                TextCentered(cr, 53, 62, "H", 26, true, 0x8A6A20);
                break;
            case 2:
                for (int i = 0; i < 3; ++i) {
                    RoundRect(cr, 10, 20 + i * 26, 86, 8, 4);
                    FillVertical(cr, 20 + i * 26, 28 + i * 26, 0x5A626C, 0x1E2228);
                }
                break;
            case 3:
                for (int i = 0; i < 3; ++i) {
                    const double x = 24 + i * 28, y = 30 + (i % 2) * 36;
                    Sphere(cr, x, y, 13, 0x5E8A50, 0x1F4A24, 0x071A0A);
                    Glow(cr, x, y, 4, 0xC77DFF, 0.8);
                }
                break;
            default:
                cairo_rectangle(cr, 14, 14, 80, 80);
                FillVertical(cr, 14, 94, 0x2B2F36, 0x1E2228);
                for (int i = 0; i < 5; ++i) {
                    cairo_rectangle(cr, 20 + i * 15, 20, 8, 68);
                    Rgb(cr, 0x1F5E2A);
                    cairo_fill(cr);
                }
                break;
        }
        return;
    }
    // Tall blocks: towers of different heights and shapes.
    // Muted roofs: the city lies under the fight and must not outshine it.
    static const uint32_t roofs[] = {0x3A4048, 0x2F4636, 0x2E5A34, 0x463A56, 0x2B4A6E};
    const int kind = frame - 5;
    const double height = 14 + (kind % 5) * 6;
    const uint32_t roof = roofs[kind % 5];
    if (kind % 3 == 0) {
        Tower(cr, 30, 30, 50, 50, height, roof);
    } else if (kind % 3 == 1) {
        Tower(cr, 18, 22, 30, 60, height * 0.8, roof);
        Tower(cr, 60, 40, 30, 42, height, Mix(roof, 0xFFFFFF, 0.1));
    } else {
        Tower(cr, 36, 36, 40, 40, height * 1.3, roof);
        Ellipse(cr, 56 - height * 0.33, 56 - height * 0.33, 8, 8);
        Rgb(cr, 0x8E44AD);
        cairo_fill(cr);
    }
    if (kind >= 7) Glow(cr, 30 - height * 0.25 + rng.Range(5, 20), 30 - height * 0.25 + 6, 4, 0xFF5A00, 0.9);
}

void Reaktor(cairo_t* cr, int frame) {
    Ground(cr, 77);
    const double c = 53, pulse = 0.5 + 0.5 * std::sin(frame * 2 * M_PI / 5);
    Ellipse(cr, c, c, 40, 40);
    FillShaded(cr, c, c, 40, 0x6A727C, 0x363C44, 0x14161A);
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4 + frame * M_PI / 20;
        Rgb(cr, 0x1E2228);
        cairo_set_line_width(cr, 3);
        cairo_move_to(cr, c + std::cos(a) * 24, c + std::sin(a) * 24);
        cairo_line_to(cr, c + std::cos(a) * 38, c + std::sin(a) * 38);
        cairo_stroke(cr);
    }
    Glow(cr, c, c, 26 + 8 * pulse, 0x8EE08E, 0.5 + 0.4 * pulse);
    Sphere(cr, c, c, 16, 0xFFFFFF, Mix(0x4CAF50, 0x9CFF90, pulse), 0x1F5E2A);
}

// Animace: eight structures, each alternating between two frames.
void Animace(cairo_t* cr, int frame) {
    const int kind = frame / 2, phase = frame % 2;
    Ground(cr, 120 + kind);
    const double c = 53;
    switch (kind % 4) {
        case 0:  // beacon mast blinking
            Tower(cr, 38, 38, 30, 30, 12, 0x4A505A);
            Glow(cr, 45, 45, phase ? 16 : 6, 0xFF3020, phase ? 1.0 : 0.5);
            break;
        case 1:  // radar dish turning
            Ellipse(cr, c, c, 26, 26);
            FillShaded(cr, c, c, 26, 0x8B96A3, 0x3A4048, 0x14161A);
            cairo_set_line_width(cr, 5);
            Rgb(cr, 0xE0E0E0);
            cairo_move_to(cr, c, c);
            cairo_line_to(cr, c + (phase ? 24 : -17), c + (phase ? 0 : -17));
            cairo_stroke(cr);
            break;
        case 2:  // pod field pulsing
            for (int i = 0; i < 4; ++i) {
                const double x = 30 + (i % 2) * 44, y = 30 + (i / 2) * 44;
                Sphere(cr, x, y, 14, 0x7FA870, 0x2E5A34, 0x071A0A);
                Glow(cr, x, y, phase == i % 2 ? 10 : 4, 0xC77DFF, 0.9);
            }
            break;
        default:  // window rows lighting
            Tower(cr, 26, 26, 56, 56, 10, 0x3A4048);
            for (int r = 0; r < 4; ++r)
                for (int k = 0; k < 4; ++k) {
                    cairo_rectangle(cr, 28 + k * 13, 28 + r * 13, 7, 5);
                    Rgb(cr, (r + k + phase) % 2 ? 0xFFF3B0 : 0x2B2F36);
                    cairo_fill(cr);
                }
            break;
    }
    if (kind >= 4) Glow(cr, 90, 90, 6, kind % 2 ? 0x40DC38 : 0x3A9BFF, phase ? 0.9 : 0.3);
}

// Animace2: fourteen swinging arms, three steps each (left, middle, right).
void Animace2(cairo_t* cr, int frame) {
    const int kind = frame / 3, step = frame % 3;
    Ground(cr, 300 + kind);
    const double c = 53;
    Ellipse(cr, c, c, 16, 16);
    FillShaded(cr, c, c, 16, 0xC8D2DC, 0x4A505A, 0x1E2228);
    const double angle = (step - 1) * 0.45 + (kind % 4) * M_PI / 2;
    const double len = 30 + (kind % 3) * 6;
    cairo_save(cr);
    cairo_translate(cr, c, c);
    cairo_rotate(cr, angle);
    RoundRect(cr, -5, -len, 10, len, 4);
    FillVertical(cr, -len, 0, 0xFFB000, 0x7A4A00);
    Ellipse(cr, 0, -len, 9, 9);
    FillShaded(cr, 0, -len, 9, 0x9BE07F, kind % 2 ? 0x8E44AD : 0x4CAF50, 0x0B2410);
    cairo_restore(cr);
    Sphere(cr, c, c, 6, 0xFFFFFF, 0x8B96A3, 0x2B2F36);
}

// ---- The mother ship ---------------------------------------------------

struct Part {
    int x, y, w, h;
};
// Hit boxes of the parts 0..18, relative to the ship's top-left corner.
const Part kParts[19] = {
    {586, 32, 63, 63}, {5, 141, 21, 62},  {774, 142, 21, 62}, {164, 0, 51, 45},   {488, 0, 39, 35},
    {527, 0, 39, 35},  {85, 128, 18, 22}, {107, 123, 18, 22}, {676, 141, 18, 22}, {698, 129, 18, 22},
    {342, 89, 30, 29}, {440, 81, 38, 27}, {533, 132, 70, 28}, {23, 140, 34, 41},  {743, 141, 21, 62},
    {371, 50, 28, 28}, {247, 0, 58, 44},  {207, 98, 68, 72},  {375, 70, 50, 76},
};

void HullPath(cairo_t* cr) {
    cairo_move_to(cr, 120, 0);
    cairo_line_to(cr, 680, 0);
    cairo_curve_to(cr, 740, 40, 790, 100, 798, 140);
    cairo_line_to(cr, 798, 206);
    cairo_line_to(cr, 770, 212);
    cairo_curve_to(cr, 720, 190, 660, 196, 610, 172);
    cairo_curve_to(cr, 540, 200, 460, 226, 400, 226);
    cairo_curve_to(cr, 340, 226, 260, 200, 190, 172);
    cairo_curve_to(cr, 140, 196, 80, 190, 30, 212);
    cairo_line_to(cr, 2, 206);
    cairo_line_to(cr, 2, 140);
    cairo_curve_to(cr, 10, 100, 60, 40, 120, 0);
    cairo_close_path(cr);
}

void Turret(cairo_t* cr, const Part& p, int barrels) {
    const double cx = p.x + p.w / 2.0, cy = p.y + p.h / 2.0;
    RoundRect(cr, p.x + 1, p.y + 1, p.w - 2, p.h - 2, std::fmin(p.w, p.h) / 3);
    FillShaded(cr, cx, cy, std::fmax(p.w, p.h) / 2, 0x8B96A3, 0x3A4048, 0x14161A);
    for (int b = 0; b < barrels; ++b) {
        const double bx = p.x + p.w * (b + 1.0) / (barrels + 1);
        RoundRect(cr, bx - 2, cy, 4, p.y + p.h - cy, 1.5);
        FillVertical(cr, cy, p.y + p.h, 0x8B96A3, 0x1E2228);
    }
    Sphere(cr, cx, cy - p.h * 0.1, std::fmin(p.w, p.h) * 0.22, 0xF2D7FF, 0x8E44AD, 0x3C0F52);
}

void Pylon(cairo_t* cr, const Part& p) {
    RoundRect(cr, p.x, p.y, p.w, p.h, p.w / 2.0);
    cairo_pattern_t* g = cairo_pattern_create_linear(p.x, 0, p.x + p.w, 0);
    Stop(g, 0, 0x9BE07F);
    Stop(g, 0.4, 0x2E7D32);
    Stop(g, 1, 0x0B2410);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    for (int i = 0; i < 3; ++i) Glow(cr, p.x + p.w / 2.0, p.y + 14 + i * 17, 4, 0xC77DFF, 0.9);
}

void Lod(cairo_t* cr, double w, double h) {
    HullPath(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
    Stop(g, 0, 0x3E5A46);
    Stop(g, 0.5, 0x1F3A26);
    Stop(g, 1, 0x0B1A0F);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    Rgb(cr, 0x0A140C);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Armour plates and ribs.
    cairo_set_line_width(cr, 1.2);
    for (int i = 1; i < 12; ++i) {
        Rgb(cr, 0x4CAF50, 0.25);
        cairo_move_to(cr, 60 + i * 57, 4);
        cairo_curve_to(cr, 60 + i * 57 + (i - 6) * 3, 80, 60 + i * 57 + (i - 6) * 8, 150, 400 + (i - 6) * 40, 200);
        cairo_stroke(cr);
    }
    Ellipse(cr, 400, 90, 250, 70);
    Rgb(cr, 0x9BE07F, 0.06);
    cairo_fill(cr);
    // Armour plating: staggered plates with dark seams and lit upper edges,
    // clipped to the hull.
    cairo_save(cr);
    HullPath(cr);
    cairo_clip(cr);
    Rng rng(228);
    for (int row = 0; row < 9; ++row) {
        const double y = 6 + row * 24;
        for (double x = -(row % 2) * 30; x < 800; x += 60) {
            const double pw = 56, ph = 20;
            const double shade = rng.Range(-0.12, 0.12);
            cairo_rectangle(cr, x + 2, y + 2, pw, ph);
            Rgb(cr, shade > 0 ? 0xFFFFFF : 0x000000, std::fabs(shade) * 0.6);
            cairo_fill(cr);
            cairo_set_line_width(cr, 1);
            Rgb(cr, 0x061008, 0.7);
            cairo_rectangle(cr, x + 2.5, y + 2.5, pw, ph);
            cairo_stroke(cr);
            Rgb(cr, 0x9BE07F, 0.18);
            cairo_move_to(cr, x + 3, y + 3.5);
            cairo_line_to(cr, x + pw + 1, y + 3.5);
            cairo_stroke(cr);
        }
    }
    // Rows of lit windows following the hull's curve.
    for (int i = 0; i < 60; ++i) {
        const double x = 40 + i * 12.2;
        const double y = 150 + 40 * std::sin((x - 400) / 800 * M_PI + M_PI / 2) * 0.9;
        cairo_rectangle(cr, x, y, 3, 2);
        Rgb(cr, (i * 7) % 5 ? 0xFFF3B0 : 0xC77DFF, 0.85);
        cairo_fill(cr);
    }
    // A lit rim along the front (lower) edge of the hull.
    cairo_restore(cr);
    cairo_save(cr);
    HullPath(cr);
    cairo_clip(cr);
    cairo_translate(cr, 0, -4);
    HullPath(cr);
    cairo_set_line_width(cr, 5);
    Rgb(cr, 0x4CAF50, 0.35);
    cairo_stroke(cr);
    cairo_restore(cr);
    // Running lights.
    for (int i = 0; i < 14; ++i) Glow(cr, 130 + i * 41, 12, 2.5, 0xC77DFF, 0.9);
    for (double x : {60.0, 740.0}) Glow(cr, x, 200, 8, 0xFF3020, 0.9);
    // The parts on their hit boxes.
    Turret(cr, kParts[0], 2);
    Pylon(cr, kParts[1]);
    Pylon(cr, kParts[2]);
    Turret(cr, kParts[3], 1);
    Turret(cr, kParts[4], 1);
    Turret(cr, kParts[5], 1);
    for (int i : {6, 7, 8, 9}) Turret(cr, kParts[i], 1);
    {  // 10: sensor eye
        const Part& p = kParts[10];
        Sphere(cr, p.x + p.w / 2.0, p.y + p.h / 2.0, p.w / 2.0 - 1, 0xFFFFFF, 0x3A9BFF, 0x0A1A3A);
    }
    {  // 11: antenna array
        const Part& p = kParts[11];
        RoundRect(cr, p.x, p.y + p.h / 2.0, p.w, p.h / 2.0, 3);
        FillVertical(cr, p.y + p.h / 2.0, p.y + p.h, 0x8B96A3, 0x2B2F36);
        cairo_set_line_width(cr, 1.5);
        Rgb(cr, 0xC8D2DC);
        for (int i = 0; i < 5; ++i) {
            cairo_move_to(cr, p.x + 4 + i * 7.5, p.y + p.h / 2.0);
            cairo_line_to(cr, p.x + 4 + i * 7.5, p.y + 2);
        }
        cairo_stroke(cr);
        Glow(cr, p.x + 4 + 15, p.y + 3, 3, 0xFF3020, 0.9);
    }
    Turret(cr, kParts[12], 2);
    {  // 13: generator
        const Part& p = kParts[13];
        RoundRect(cr, p.x, p.y, p.w, p.h, 6);
        FillShaded(cr, p.x + p.w / 2.0, p.y + p.h / 2.0, p.h / 2.0, 0x9BE07F, 0x2E7D32, 0x0B2410);
        Glow(cr, p.x + p.w / 2.0, p.y + p.h / 2.0, 10, 0x8EE08E, 0.9);
    }
    Pylon(cr, kParts[14]);
    {  // 15: dome
        const Part& p = kParts[15];
        Sphere(cr, p.x + p.w / 2.0, p.y + p.h / 2.0, p.w / 2.0 - 1, 0xF2D7FF, 0x5B4A6E, 0x1A0626);
    }
    Turret(cr, kParts[16], 3);
    {  // 17: probe launcher in its bay
        const Part& p = kParts[17];
        RoundRect(cr, 200, 90, 80, 90, 8);
        Rgb(cr, 0x0A0C10);
        cairo_fill(cr);
        RoundRect(cr, p.x, p.y, p.w, p.h, 8);
        FillShaded(cr, p.x + p.w / 2.0, p.y + p.h / 2.0, p.h / 2.0, 0x8B96A3, 0x3A4048, 0x14161A);
        for (int i = 0; i < 3; ++i) {
            cairo_rectangle(cr, p.x + 8, p.y + 14 + i * 18, p.w - 16, 6);
            Rgb(cr, 0xFFB000, 0.8);
            cairo_fill(cr);
        }
    }
    {  // 18: the core
        const Part& p = kParts[18];
        const double cx = p.x + p.w / 2.0, cy = p.y + p.h / 2.0;
        Ellipse(cr, cx, cy, p.w / 2.0, p.h / 2.0);
        FillShaded(cr, cx, cy, p.h / 2.0, 0x8B96A3, 0x2B2F36, 0x0A0C10);
        Glow(cr, cx, cy, 30, 0xC77DFF, 0.8);
        Ellipse(cr, cx, cy, p.w / 2.0 - 9, p.h / 2.0 - 10);
        FillShaded(cr, cx, cy, p.h / 2.0 - 10, 0xFFFFFF, 0xC77DFF, 0x3C0F52);
    }
    (void)w;
}

// The wreck of a part: charred metal with glowing cracks.
void Wreck(cairo_t* cr, double w, double h, uint32_t seed) {
    Rng rng(seed);
    RoundRect(cr, 1, 1, w - 2, h - 2, std::fmin(w, h) / 4);
    FillShaded(cr, w / 2, h / 2, std::fmax(w, h) / 2, 0x4A4038, 0x1E1A16, 0x050403);
    const double ex = rng.Range(w * 0.35, w * 0.65), ey = rng.Range(h * 0.35, h * 0.65);
    Glow(cr, ex, ey, std::fmin(w, h) * 0.45, 0xFF5A00, 0.55);
    // Jagged cracks running out from the hot spot.
    cairo_set_line_width(cr, 1.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (int i = 0; i < 3; ++i) {
        double a = rng.Range(0, 2 * M_PI), x = ex, y = ey;
        cairo_move_to(cr, x, y);
        const double step = std::fmin(w, h) * 0.18;
        for (int k = 0; k < 3; ++k) {
            a += rng.Range(-0.6, 0.6);
            x += std::cos(a) * step;
            y += std::sin(a) * step;
            cairo_line_to(cr, x, y);
        }
        Rgb(cr, 0xFFB000, 0.9);
        cairo_stroke(cr);
    }
    Glow(cr, ex, ey, std::fmin(w, h) * 0.15, 0xFFF3B0, 0.9);
}

void CoreShield(cairo_t* cr, double w, double h, int frame) {
    // The flash dims and thins from frame to frame; the rim stays solid
    // enough to survive the colour key.
    const double t = frame / 4.0;
    const uint32_t rim = Mix(0xFFFFFF, 0x1A4F7A, t), glow = Mix(0x3A9BFF, 0x12305A, t);
    cairo_pattern_t* p = cairo_pattern_create_radial(w / 2, h / 2, 0, w / 2, h / 2, h / 2);
    Stop(p, 0, glow, 0);
    Stop(p, 0.72 + 0.12 * t, glow, 0.3);
    Stop(p, 0.86 + 0.06 * t, glow, 0.9);
    Stop(p, 0.95, rim, 1.0);
    Stop(p, 1, rim, 0);
    cairo_save(cr);
    cairo_translate(cr, w / 2, h / 2);
    cairo_scale(cr, w / h, 1);
    cairo_translate(cr, -w / 2, -h / 2);
    cairo_set_source(cr, p);
    cairo_arc(cr, w / 2, h / 2, h / 2, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(p);
}

void ShipProbe(cairo_t* cr, double w, double h, int frame) {
    const double cx = w / 2, cy = h / 2;
    if (frame < 4) Glow(cr, cx, cy, 8 + frame * 3, 0xFFB000, 0.5);
    cairo_move_to(cr, cx, h - 1);
    cairo_line_to(cr, 1, 6);
    cairo_curve_to(cr, 8, 0, w - 8, 0, w - 1, 6);
    cairo_close_path(cr);
    FillShaded(cr, cx, 8, 14, 0xF2D7FF, 0x8E44AD, 0x3C0F52);
    Sphere(cr, cx, 8, 4, 0xFFFFFF, 0xFF3020, 0x5A1010);
    (void)cy;
}

// The launch bay at (200, 90): doors slide open over frames 0..8, the probe
// leaves at frame 9, and they close again by frame 12.
void Hangar(cairo_t* cr, double w, double h, int frame) {
    const double open = frame <= 8 ? frame / 8.0 : (12 - frame) / 4.0;
    RoundRect(cr, 0, 0, w, h, 8);
    Rgb(cr, 0x0A0C10);
    cairo_fill(cr);
    Glow(cr, w / 2, h / 2, 30 * open + 2, 0xFFB000, 0.7 * open);
    const double doorW = (w / 2) * (1 - open * 0.85);
    for (int s = 0; s < 2; ++s) {
        const double x = s == 0 ? 0 : w - doorW;
        cairo_rectangle(cr, x, 0, doorW, h);
        cairo_pattern_t* p = cairo_pattern_create_linear(x, 0, x + doorW, 0);
        Stop(p, 0, 0x5A606A);
        Stop(p, 1, 0x2B2F36);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        for (double y = 8; y < h; y += 14) {
            cairo_rectangle(cr, x + 3, y, std::fmax(0.0, doorW - 6), 3);
            Rgb(cr, 0xFFB000, 0.6);
            cairo_fill(cr);
        }
    }
}

// The launcher: frames 0..4 from a full shield flash to a faint one, the
// launcher itself visible beneath; used for its shield and its dying steps.
void Launcher(cairo_t* cr, double w, double h, int frame) {
    const double a = 1.0 - frame * 0.2;
    RoundRect(cr, 7, 0, 68, 70, 8);
    FillShaded(cr, w / 2, h / 2, h / 2, 0x8B96A3, 0x3A4048, 0x14161A);
    Glow(cr, w / 2, h / 2, 20 + frame * 4, 0xFF5A00, 0.3 + frame * 0.12);
    RoundRect(cr, 2, 1, w - 4, h - 2, 14);
    cairo_set_line_width(cr, 3);
    Rgb(cr, 0x9CC7FF, a);
    cairo_stroke(cr);
    RoundRect(cr, 2, 1, w - 4, h - 2, 14);
    Rgb(cr, 0x3A9BFF, 0.35 * a);
    cairo_fill(cr);
}

void Muzzle(cairo_t* cr, double w, double h) {
    const double cx = w / 2, cy = h / 2;
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4 + 0.2;
        const double r = (i % 2 ? 0.5 : 0.95) * std::fmin(w, h) / 2;
        cairo_move_to(cr, cx + std::cos(a - 0.3) * 2, cy + std::sin(a - 0.3) * 2);
        cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r * h / std::fmin(w, h));
        cairo_line_to(cr, cx + std::cos(a + 0.3) * 2, cy + std::sin(a + 0.3) * 2);
        cairo_close_path(cr);
        Rgb(cr, 0xFFB000, 0.95);
        cairo_fill(cr);
    }
    Glow(cr, cx, cy, std::fmin(w, h) / 2, 0xFFF3B0, 1.0);
}

}  // namespace

bool PaintMesto(const ManifestEntry& e, int frame, cairo_t* cr) {
    const std::string name = e.name;
    if (name == "Kostky") Kostky(cr, frame);
    else if (name == "Reaktor") Reaktor(cr, frame);
    else if (name == "Animace") Animace(cr, frame);
    else if (name == "Animace2") Animace2(cr, frame);
    else return false;
    return true;
}

bool PaintVelkalod(const ManifestEntry& e, int frame, cairo_t* cr) {
    const double w = e.frameWidth, h = e.frameHeight;
    const std::string name = e.name;
    if (name == "Lod") Lod(cr, w, h);
    else if (name.rfind("Vrak", 0) == 0) Wreck(cr, w, h, uint32_t(e.index) * 13);
    else if (name == "StitJadra") CoreShield(cr, w, h, frame);
    else if (name == "Sonda") ShipProbe(cr, w, h, frame);
    else if (name == "Hangar") Hangar(cr, w, h, frame);
    else if (name == "Odpalovac") Launcher(cr, w, h, frame);
    else if (name.rfind("Zablesk", 0) == 0) Muzzle(cr, w, h);
    else return false;
    return true;
}
