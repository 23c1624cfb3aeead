// Pictures of the Obrazky collection: the player's weapons and their effects,
// explosions and the shock wave, finish flags, item and weapon icons, the
// instrument bar with its digits and lamps, the commander, the probe, and the
// white flash of the ending.
#include <cmath>
#include <string>

#include "art.h"
#include "draw_util.h"
#include "picture_words.h"

using namespace art;

namespace {

void Puma(cairo_t* cr, double w, double h) {  // rocket, nose up
    const double cx = w / 2;
    cairo_pattern_t* f = cairo_pattern_create_linear(0, 42, 0, h);
    Stop(f, 0, 0xFFF3B0);
    Stop(f, 0.4, 0xFFB000, 0.9);
    Stop(f, 1, 0xFF5A00, 0);
    cairo_set_source(cr, f);
    cairo_move_to(cr, cx - 4, 42);
    cairo_curve_to(cr, cx - 3, 50, cx - 1, 55, cx, h);
    cairo_curve_to(cr, cx + 1, 55, cx + 3, 50, cx + 4, 42);
    cairo_fill(cr);
    cairo_pattern_destroy(f);
    for (int s = -1; s <= 1; s += 2) {  // fins
        cairo_move_to(cr, cx + s * 3, 30);
        cairo_line_to(cr, cx + s * 7, 42);
        cairo_line_to(cr, cx + s * 3, 42);
        cairo_close_path(cr);
        Rgb(cr, 0xC0392B);
        cairo_fill(cr);
    }
    cairo_move_to(cr, cx, 0);
    cairo_curve_to(cr, cx + 4, 6, cx + 4, 10, cx + 4, 14);
    cairo_line_to(cr, cx + 4, 42);
    cairo_line_to(cr, cx - 4, 42);
    cairo_line_to(cr, cx - 4, 14);
    cairo_curve_to(cr, cx - 4, 10, cx - 4, 6, cx, 0);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(cx - 4, 0, cx + 4, 0);
    Stop(p, 0, 0xFFFFFF);
    Stop(p, 0.4, 0xB8C4D0);
    Stop(p, 1, 0x4A505A);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_rectangle(cr, cx - 4, 12, 8, 3);
    Rgb(cr, 0xC0392B);
    cairo_fill(cr);
}

void Bomba(cairo_t* cr, double w, double h) {  // heavy bomb climbing upwards
    const double cx = w / 2;
    Glow(cr, cx, h - 6, 10, 0xFFB000, 0.9);
    for (int s = -1; s <= 1; s += 2) {
        cairo_move_to(cr, cx + s * 6, 28);
        cairo_line_to(cr, cx + s * 15, 42);
        cairo_line_to(cr, cx + s * 6, 40);
        cairo_close_path(cr);
        FillVertical(cr, 28, 42, 0x8B96A3, 0x2B2F36);
    }
    Ellipse(cr, cx, 21, 9, 20);
    FillShaded(cr, cx, 21, 20, 0xC8D2DC, 0x4A505A, 0x1E2228);
    cairo_rectangle(cr, cx - 9, 16, 18, 3);
    Rgb(cr, 0xFFB000);
    cairo_fill(cr);
    cairo_rectangle(cr, cx - 9, 22, 18, 3);
    Rgb(cr, 0x1E2228);
    cairo_fill(cr);
    (void)w;
}

void Disc(cairo_t* cr, double w, double h) {  // homing disc
    const double c = w / 2;
    Glow(cr, c, c, 8, 0xFFB000, 0.6);
    Ellipse(cr, c, c, 6.5, 6.5);
    FillShaded(cr, c, c, 6.5, 0xFFF3B0, 0xFF5A00, 0x7A1E00);
    Ellipse(cr, c, c, 2.5, 2.5);
    Rgb(cr, 0x1E2228);
    cairo_fill(cr);
    (void)h;
}

void Egg(cairo_t* cr, double w, double h, bool left) {
    const double cx = w / 2, cy = h / 2;
    Glow(cr, left ? w : 0, cy, 8, 0x3A9BFF, 0.9);
    Ellipse(cr, cx, cy, w / 2 - 0.5, h / 2 - 0.5);
    FillShaded(cr, cx, cy, h / 2, 0xFFFFFF, 0xE8D8B0, 0x6A5A3A);
    Ellipse(cr, left ? w - 3 : 3, cy, 2, 2);
    Rgb(cr, 0x9CC7FF);
    cairo_fill(cr);
}

// The invulnerability shield around the fighter: a bright rim, clear inside.
void Shield(cairo_t* cr, double w, double h, int bank) {
    const double cx = w / 2 - 1, cy = h / 2;
    const double rx = (bank == 0 ? w / 2 : w / 2 * 0.88) - 1, ry = h / 2 - 1;
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, ry);
    Stop(p, 0, 0x9CC7FF, 0);
    Stop(p, 0.82, 0x3A9BFF, 0.15);
    Stop(p, 0.93, 0x9CC7FF, 0.85);
    Stop(p, 1, 0xFFFFFF, 1);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx / ry, 1);
    cairo_translate(cr, -cx, -cy);
    cairo_set_source(cr, p);
    Ellipse(cr, cx, cy, ry, ry);
    cairo_fill(cr);
    // Highlight arc at the upper left.
    cairo_set_line_width(cr, 2.5);
    Rgb(cr, 0xFFFFFF, 0.95);
    cairo_arc(cr, cx, cy, ry - 4, M_PI * 1.05, M_PI * 1.45);
    cairo_stroke(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(p);
}

// A chequered finish flag on a pole; phase 0..4 waves the cloth.
void Flag(cairo_t* cr, double w, double h, int phase, bool left) {
    const double poleX = left ? 4 : w - 5;
    RoundRect(cr, poleX - 2, 0, 4, h, 2);
    FillVertical(cr, 0, h, 0xE0E0E0, 0x4A505A);
    Sphere(cr, poleX, 3, 3, 0xFFFFFF, 0xFFB000, 0x7A1E00);
    const double x0 = left ? poleX + 2 : poleX - 2, len = (w - 8) * (left ? 1 : -1);
    const int cols = 6, rows = 4;
    const double top = 5, fh = 30;
    for (int c = 0; c < cols; ++c) {
        for (int r = 0; r < rows; ++r) {
            auto pt = [&](double u, double v, double& x, double& y) {
                x = x0 + len * u;
                y = top + fh * v + std::sin(u * 5.0 - phase * 2 * M_PI / 5) * 4 * u;
            };
            double ax, ay, bx, by, cx2, cy2, dx, dy;
            pt(c / double(cols), r / double(rows), ax, ay);
            pt((c + 1) / double(cols), r / double(rows), bx, by);
            pt((c + 1) / double(cols), (r + 1) / double(rows), cx2, cy2);
            pt(c / double(cols), (r + 1) / double(rows), dx, dy);
            cairo_move_to(cr, ax, ay);
            cairo_line_to(cr, bx, by);
            cairo_line_to(cr, cx2, cy2);
            cairo_line_to(cr, dx, dy);
            cairo_close_path(cr);
            const double shade = 0.75 + 0.25 * std::cos((c + 0.5) / cols * 5.0 - phase * 2 * M_PI / 5);
            Rgb(cr, ((c + r) % 2) ? Mix(0, 0xFFFFFF, 0.12 * shade) : Mix(0, 0xFFFFFF, shade));
            cairo_fill_preserve(cr);
            cairo_set_line_width(cr, 0.6);
            cairo_stroke(cr);
        }
    }
}

void FlagLight(cairo_t* cr, double w, double h, int frame) {
    const double x = frame == 0 ? 4 : 8;
    for (int i = 0; i < 5; ++i) {
        Glow(cr, x, 6 + i * 13, 6, 0x8EE08E, 0.95);
        Glow(cr, x, 6 + i * 13, 2.5, 0xFFFFFF, 1);
    }
    (void)w;
    (void)h;
}

void IconFrame(cairo_t* cr, double w, double h, uint32_t tint) {
    Panel(cr, 0.5, 0.5, w - 1, h - 1, 6, Mix(0x2B2F36, tint, 0.25));
    RoundRect(cr, 3, 3, w - 6, h - 6, 4);
    cairo_set_line_width(cr, 1);
    Rgb(cr, tint, 0.7);
    cairo_stroke(cr);
}

// Item icons in item order 1..7, then the mystery box.
void Special(cairo_t* cr, double w, double h, int frame) {
    const double cx = w / 2, cy = h / 2;
    static const uint32_t tints[] = {0x3A9BFF, 0xFF5A00, 0x7FD4FF, 0x4CAF50, 0xFFFFFF, 0xE04040, 0xFFB000, 0x8E44AD};
    IconFrame(cr, w, h, tints[frame]);
    switch (frame) {
        case 0:  // egg beam: two eggs joined by a blue beam
            cairo_set_line_width(cr, 2);
            Rgb(cr, 0x3A9BFF);
            cairo_move_to(cr, 12, cy);
            cairo_line_to(cr, w - 12, cy);
            cairo_stroke(cr);
            Glow(cr, cx, cy, 10, 0x3A9BFF, 0.6);
            for (double x : {8.0, w - 8}) {
                Ellipse(cr, x, cy, 5, 8);
                FillShaded(cr, x, cy, 8, 0xFFFFFF, 0xE8D8B0, 0x6A5A3A);
            }
            break;
        case 1:  // homing discs
            for (int i = 0; i < 3; ++i) {
                const double x = 12 + i * 10.5, y = 30 - i * 7;
                Glow(cr, x, y, 7, 0xFFB000, 0.6);
                Sphere(cr, x, y, 5, 0xFFF3B0, 0xFF5A00, 0x7A1E00);
            }
            break;
        case 2:  // protective orbs circling
            for (int i = 0; i < 5; ++i) {
                const double a = i * 2 * M_PI / 5 - M_PI / 2;
                Sphere(cr, cx + std::cos(a) * 13, cy + std::sin(a) * 13, 4.5, 0xFFFFFF, 0x7FD4FF, 0x1A4F7A);
            }
            Ellipse(cr, cx, cy, 5, 5);
            Rgb(cr, 0x9CC7FF, 0.5);
            cairo_fill(cr);
            break;
        case 3:  // wingmen: three small arrows
            for (int i = -1; i <= 1; ++i) {
                const double x = cx + i * 12, y = cy + (i == 0 ? -5 : 5);
                cairo_move_to(cr, x, y - 9);
                cairo_line_to(cr, x + 6, y + 7);
                cairo_line_to(cr, x, y + 4);
                cairo_line_to(cr, x - 6, y + 7);
                cairo_close_path(cr);
                FillVertical(cr, y - 9, y + 7, 0x9CC7FF, 0x2B3A4F);
            }
            break;
        case 4: {  // invulnerability: a shield crest
            cairo_move_to(cr, cx, 8);
            cairo_line_to(cr, cx + 14, 13);
            cairo_curve_to(cr, cx + 14, 28, cx + 6, 34, cx, 38);
            cairo_curve_to(cr, cx - 6, 34, cx - 14, 28, cx - 14, 13);
            cairo_close_path(cr);
            FillShaded(cr, cx, 20, 18, 0xFFFFFF, 0x9CC7FF, 0x2B3A4F);
            Glow(cr, cx - 4, 17, 6, 0xFFFFFF, 0.8);
            break;
        }
        case 5:  // Lifepack: red cross
            cairo_rectangle(cr, cx - 4.5, 9, 9, 27);
            cairo_rectangle(cr, 9, cy - 4.5, 27, 9);
            FillVertical(cr, 9, 36, 0xFF8080, 0xB01818);
            break;
        case 6:  // Energypack: lightning bolt
            cairo_move_to(cr, cx + 4, 7);
            cairo_line_to(cr, cx - 9, 25);
            cairo_line_to(cr, cx - 1, 25);
            cairo_line_to(cr, cx - 5, 38);
            cairo_line_to(cr, cx + 10, 19);
            cairo_line_to(cr, cx + 2, 19);
            cairo_close_path(cr);
            FillVertical(cr, 7, 38, 0xFFF3B0, 0xFF5A00);
            break;
        default:  // mystery box
            Glow(cr, cx, cy, 18, 0x8E44AD, 0.7);
            TextCentered(cr, cx, cy + 11, "?", 30, true, 0xF2D7FF);
            break;
    }
}

// Weapon pick-up icons: good laser, diagonal balls, rockets, side balls, bombs.
void IconGuns(cairo_t* cr, double w, double h, int frame) {
    const double cx = w / 2, cy = h / 2;
    IconFrame(cr, w, h, 0xFFB000);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    switch (frame) {
        case 0:
            for (int i = -1; i <= 1; ++i) {
                Glow(cr, cx + i * 8, cy, 6, 0x40DC38, 0.5);
                cairo_set_line_width(cr, 2.5);
                Rgb(cr, 0x9CFF90);
                cairo_move_to(cr, cx + i * 8, 9);
                cairo_line_to(cr, cx + i * 8, h - 9);
                cairo_stroke(cr);
            }
            break;
        case 1:
            for (int s = -1; s <= 1; s += 2) {
                for (int i = 0; i < 3; ++i) {
                    Sphere(cr, cx + s * (4 + i * 6), h - 11 - i * 10, 4, 0xFFFFFF, 0x3A9BFF, 0x1A2E5A);
                }
            }
            break;
        case 2:
            for (int s = -1; s <= 1; s += 2) {
                cairo_save(cr);
                cairo_translate(cr, cx + s * 8 - 7, 3);
                cairo_scale(cr, 1.0, 0.68);
                Puma(cr, 14, 57);
                cairo_restore(cr);
            }
            break;
        case 3:
            for (int s = -1; s <= 1; s += 2) {
                for (int i = 0; i < 3; ++i) Sphere(cr, cx + s * (6 + i * 7), cy, 4, 0xFFFFFF, 0x3A9BFF, 0x1A2E5A);
            }
            break;
        default:
            cairo_save(cr);
            cairo_translate(cr, cx - 14, 4);
            cairo_scale(cr, 0.85, 0.8);
            Bomba(cr, 33, 47);
            cairo_restore(cr);
            break;
    }
}

// The shock wave of a bomb burst: a ring that widens and fades.
void Vlna(cairo_t* cr, double w, double h, int frame) {
    const double t = (frame + 1) / 6.0;
    const double cx = w / 2, cy = h / 2;
    const double r = 18 + t * (std::fmin(w, h) / 2 - 22);
    // Keyed pictures cannot fade by transparency: the ring gets thinner and
    // cools from white-yellow to a dim red instead.
    const double thick = 16 * (1.0 - t) + 3;
    const uint32_t hot = Mix(0xFFF3B0, 0x9C3A10, t), cool = Mix(0xFFB000, 0x5A1A08, t);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1.0, h / w);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, r - thick, 0, 0, r + 2);
    Stop(p, 0, cool, 0);
    Stop(p, 0.3, cool, 0.8);
    Stop(p, 0.75, hot, 1.0);
    Stop(p, 1, cool, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, 0, 0, r + 2, 0, 2 * M_PI);
    cairo_arc_negative(cr, 0, 0, std::fmax(1.0, r - thick), 2 * M_PI, 0);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

void Digit(cairo_t* cr, double w, double h, int d, uint32_t colour, double size) {
    const std::string s(1, char('0' + d));
    Glow(cr, w / 2, h / 2, w * 0.7, colour, 0.25);
    TextCentered(cr, w / 2, h - h * 0.14, s, size, true, colour, "DejaVu Sans Mono");
}

// The instrument bar, 800 x 129, drawn at (0, 471): x and y below are screen
// coordinates minus (0, 471).
void Lista(cairo_t* cr, double w, double h) {
    const double o = 471;
    cairo_rectangle(cr, 0, 0, w, h);
    FillVertical(cr, 0, h, 0x2B2F36, 0x15181C);
    // Brushed metal streaks.
    Rng rng(16);
    for (int i = 0; i < 60; ++i) {
        const double y = rng.Range(2, h - 2);
        Rgb(cr, 0xFFFFFF, 0.025);
        cairo_rectangle(cr, rng.Range(0, w), y, rng.Range(40, 200), 1);
        cairo_fill(cr);
    }
    // Top rim.
    cairo_rectangle(cr, 0, 0, w, 3);
    FillVertical(cr, 0, 3, 0x8B96A3, 0x4A505A);
    auto screen = [&](double x0, double y0, double x1, double y1) {
        Panel(cr, x0 - 3, y0 - o - 3, x1 - x0 + 6, y1 - y0 + 6, 4, 0x4A505A);
        cairo_rectangle(cr, x0, y0 - o, x1 - x0, y1 - y0);
        Rgb(cr, 0x000000);
        cairo_fill(cr);
    };
    auto label = [&](double x, double y, const char* text) {
        Text(cr, x, y - o, Say(cr, text, 8.5, true, "DejaVu Sans"), 8.5, true, 0x8B96A3);
    };
    // Radar (also the commander's and the probe's screen).
    Panel(cr, 8, 2, 104, 100, 6, 0x4A505A);
    cairo_rectangle(cr, 13, 474 - o, 95, 94);
    FillVertical(cr, 474 - o, 568 - o, 0x031A08, 0x000A02);
    cairo_set_line_width(cr, 1);
    Rgb(cr, 0x008000, 0.45);
    for (int i = 1; i < 4; ++i) {
        cairo_move_to(cr, 13 + i * 22 + 0.5, 474 - o);
        cairo_line_to(cr, 13 + i * 22 + 0.5, 568 - o);
        cairo_move_to(cr, 13, 474 - o + i * 23 + 0.5);
        cairo_line_to(cr, 108, 474 - o + i * 23 + 0.5);
    }
    cairo_stroke(cr);
    Rgb(cr, 0x008000, 0.5);
    cairo_move_to(cr, 13, 520.5 - o);
    cairo_line_to(cr, 108, 520.5 - o);
    cairo_stroke(cr);
    label(14, 580, "RADAR");
    // Commander's text line.
    screen(120, 490, 635, 514);
    label(122, 486, "SPOJENÍ S VELITELEM");
    // Hull energy with the refill frame around the digits.
    screen(131, 531, 219, 587);
    Rgb(cr, 0x008000, 0.6);
    RoundRect(cr, 134.5, 534.5 - o, 81, 48, 2);
    cairo_stroke(cr);
    label(131, 527, "ENERGIE");
    // Item slots and their lamps.
    label(244, 527, "PŘEDMĚTY");
    for (int s = 0; s < 3; ++s) {
        cairo_rectangle(cr, 244, 533 - o + 12 * s, 8, 10);
        Rgb(cr, 0x0A0C10);
        cairo_fill(cr);
        cairo_rectangle(cr, 245, 534 - o + 12 * s, 5, 8);
        Rgb(cr, 0x1F3A22);
        cairo_fill(cr);
        Panel(cr, 254 + 57 * s, 532 - o, 49, 49, 5, 0x1E2228, true);
    }
    // Score: seven digits right-aligned on 563, clear of the third item slot.
    screen(422, 536, 590, 574);
    label(422, 532, "SKÓRE");
    // Weapon icon, weapon bars, gun lamp and gauge.
    Panel(cr, 640, 531 - o, 51, 51, 5, 0x1E2228, true);
    label(640, 527, "ZBRAŇ");
    screen(698, 536, 705, 583);
    for (int k = 0; k < 5; ++k) {
        cairo_rectangle(cr, 699, 573 - 9 * k - o, 4, 8);
        Rgb(cr, 0x1A2410);
        cairo_fill(cr);
    }
    screen(722, 533, 736, 547);
    cairo_rectangle(cr, 723, 534 - o, 12, 4);
    Rgb(cr, 0x0E3A12);
    cairo_fill(cr);
    cairo_rectangle(cr, 723, 542 - o, 12, 4);
    Rgb(cr, 0x3A0E0E);
    cairo_fill(cr);
    screen(741, 536, 782, 582);
    label(712, 527, "ENERGIE ZBRANÍ");
    static const uint32_t rowColours[] = {0x9CFF90, 0x40DC38, 0x1FA01F};
    for (int row = 0; row < 3; ++row) {
        const double y0 = 536 + 16 * row;
        // Seven units per row: a narrow first one (741..744), which only a
        // full gun (110 and more) shows, then six of 5 px at a pitch of 6.
        for (int j = 0; j <= 6; ++j) {
            if (j == 0) cairo_rectangle(cr, 741, y0 + 1 - o, 4, 11);
            else cairo_rectangle(cr, 741 + 6 * j, y0 + 1 - o, 5, 11);
            FillVertical(cr, y0 + 1 - o, y0 + 12 - o, rowColours[row], Mix(rowColours[row], 0, 0.45));
        }
    }
    // A lit groove under the rim.
    cairo_rectangle(cr, 0, 5, w, 1);
    Rgb(cr, 0x4A505A);
    cairo_fill(cr);
    // Bottom row: the last pixel row is overdrawn black by the game.
    cairo_rectangle(cr, 0, h - 4, w, 4);
    Rgb(cr, 0x0A0C10);
    cairo_fill(cr);
}

// The commander: a helmeted officer on a green-tinted screen; frames vary the
// mouth and eyes as he speaks.
void Velitel(cairo_t* cr, double w, double h, int frame) {
    cairo_rectangle(cr, 0, 0, w, h);
    FillVertical(cr, 0, h, 0x06240C, 0x010A03);
    const double cx = w / 2, cy = 40;
    // Shoulders.
    cairo_move_to(cr, 4, h);
    cairo_curve_to(cr, 8, 66, 20, 62, cx, 62);
    cairo_curve_to(cr, w - 20, 62, w - 8, 66, w - 4, h);
    cairo_close_path(cr);
    FillVertical(cr, 60, h, 0x3A6EA5, 0x1A2433);
    cairo_rectangle(cr, cx - 16, 70, 8, 4);
    cairo_rectangle(cr, cx + 8, 70, 8, 4);
    Rgb(cr, 0xFFB000);
    cairo_fill(cr);
    // Head and helmet.
    Ellipse(cr, cx, cy, 17, 21);
    FillShaded(cr, cx, cy, 21, 0xF5D5B5, 0xC89A74, 0x5A3A24);
    cairo_move_to(cr, cx - 19, cy - 2);
    cairo_curve_to(cr, cx - 20, cy - 30, cx + 20, cy - 30, cx + 19, cy - 2);
    cairo_line_to(cr, cx + 17, cy - 8);
    cairo_curve_to(cr, cx + 10, cy - 14, cx - 10, cy - 14, cx - 17, cy - 8);
    cairo_close_path(cr);
    FillShaded(cr, cx, cy - 14, 22, 0x9CC7FF, 0x3A6EA5, 0x1A2433);
    // Eyes (closed in frame 2), brows, mouth (open in frame 1).
    for (int s = -1; s <= 1; s += 2) {
        if (frame == 2) {
            Rgb(cr, 0x3A2414);
            cairo_set_line_width(cr, 1.5);
            cairo_move_to(cr, cx + s * 7 - 3, cy - 1);
            cairo_line_to(cr, cx + s * 7 + 3, cy - 1);
            cairo_stroke(cr);
        } else {
            Ellipse(cr, cx + s * 7, cy - 1, 3, 2);
            Rgb(cr, 0xFFFFFF);
            cairo_fill(cr);
            Ellipse(cr, cx + s * 7, cy - 1, 1.3, 1.5);
            Rgb(cr, 0x1A2433);
            cairo_fill(cr);
        }
        cairo_set_line_width(cr, 1.6);
        Rgb(cr, 0x3A2414);
        cairo_move_to(cr, cx + s * 3, cy - 6);
        cairo_line_to(cr, cx + s * 10, cy - 7);
        cairo_stroke(cr);
    }
    Ellipse(cr, cx, cy + 12, 5, frame == 1 ? 3 : 1.2);
    Rgb(cr, 0x5A1A14);
    cairo_fill(cr);
    // Headset microphone.
    cairo_set_line_width(cr, 1.5);
    Rgb(cr, 0x4A505A);
    cairo_move_to(cr, cx - 18, cy + 2);
    cairo_curve_to(cr, cx - 18, cy + 14, cx - 12, cy + 16, cx - 6, cy + 14);
    cairo_stroke(cr);
    Sphere(cr, cx - 6, cy + 14, 2, 0xE0E0E0, 0x4A505A, 0x1E2228);
    // Scan lines of the screen.
    for (double y = 0; y < h; y += 3) {
        cairo_rectangle(cr, 0, y, w, 1);
        Rgb(cr, 0x00FF00, 0.05);
        cairo_fill(cr);
    }
}

// The space probe: a gold-foil body with two solar wings and an antenna.
void Probe(cairo_t* cr, double cx, double cy, double scale, double turn, bool lit) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, scale, scale);
    const double span = 22 * std::fabs(std::cos(turn)) + 4;
    for (int s = -1; s <= 1; s += 2) {
        cairo_rectangle(cr, s > 0 ? 7 : -7 - span, -6, span, 12);
        FillVertical(cr, -6, 6, 0x3A6EA5, 0x1A2433);
        Rgb(cr, 0x9CC7FF, 0.6);
        cairo_set_line_width(cr, 0.6);
        for (double x = 0; x < span; x += 5) {
            const double px = s > 0 ? 7 + x : -7 - x;
            cairo_move_to(cr, px, -6);
            cairo_line_to(cr, px, 6);
        }
        cairo_stroke(cr);
    }
    Ellipse(cr, 0, 0, 8, 10);
    FillShaded(cr, 0, 0, 10, 0xFFF3B0, 0xC8A040, 0x5A4010);
    cairo_set_line_width(cr, 1.2);
    Rgb(cr, 0xC8D2DC);
    cairo_move_to(cr, 0, -10);
    cairo_line_to(cr, 0, -18);
    cairo_stroke(cr);
    Ellipse(cr, 0, -4, 6, 2);
    Rgb(cr, 0xE0E0E0);
    cairo_fill(cr);
    if (lit) {
        Glow(cr, 0, -19, 9, 0xFF5A00, 0.9);
        Glow(cr, 0, -19, 3, 0xFFFFFF, 1);
    } else {
        Sphere(cr, 0, -19, 2, 0xFF8080, 0x7A1E00, 0x300800);
    }
    cairo_restore(cr);
}

// IcoSat: the probe on the radar screen, frames 0..9 turning, 10..18 launched
// and flying away on a flame, the last frame held with the probe gone.
void IcoSat(cairo_t* cr, double w, double h, int frame) {
    cairo_rectangle(cr, 0, 0, w, h);
    FillVertical(cr, 0, h, 0x031A08, 0x000A02);
    Rgb(cr, 0x008000, 0.35);
    cairo_set_line_width(cr, 1);
    for (int i = 1; i < 4; ++i) {
        cairo_move_to(cr, i * 22 + 0.5, 0);
        cairo_line_to(cr, i * 22 + 0.5, h);
        cairo_move_to(cr, 0, i * 22 + 0.5);
        cairo_line_to(cr, w, i * 22 + 0.5);
    }
    cairo_stroke(cr);
    if (frame < 10) {
        Probe(cr, w / 2, h / 2 + 4, 1.3, frame * M_PI / 10, frame % 5 == 0);
    } else if (frame < 18) {
        const double t = (frame - 9) / 9.0;
        const double y = h / 2 + 4 - t * 60, s = 1.3 * (1 - t * 0.7);
        Glow(cr, w / 2, y + 18 * s, 10 * s + 4, 0xFFB000, 0.9);
        Probe(cr, w / 2, y, s, 0, true);
    }
    const char* caption = frame < 10 ? "SONDA" : (frame < 18 ? "START" : "ODESLÁNO");
    TextCentered(cr, w / 2, h - 4, Say(cr, caption, 8.5, true, "DejaVu Sans"), 8.5, true, 0x00D500);
}

void Sonda(cairo_t* cr, double w, double h, int frame) { Probe(cr, w / 2, h / 2 + 6, 1.25, 0.4, frame == 1); }

void Bila(cairo_t* cr, double w, double h) {
    cairo_rectangle(cr, 0, 0, w, h);
    Rgb(cr, 0xFFFFFF);
    cairo_fill(cr);
}

void IcoZivot(cairo_t* cr, double w, double h) {
    Glow(cr, w / 2, h / 2, w / 2, 0x3A6EA5, 0.5);
    cairo_save(cr);
    cairo_translate(cr, w / 2, h / 2);
    cairo_scale(cr, 0.45, 0.45);
    cairo_translate(cr, -36, -38);
    // A small fighter silhouette in the player's colours.
    cairo_move_to(cr, 36, 2);
    cairo_curve_to(cr, 43, 14, 46, 34, 46, 62);
    cairo_line_to(cr, 70, 60);
    cairo_line_to(cr, 69, 52);
    cairo_line_to(cr, 42, 24);
    cairo_line_to(cr, 36, 2);
    cairo_line_to(cr, 30, 24);
    cairo_line_to(cr, 3, 52);
    cairo_line_to(cr, 2, 60);
    cairo_line_to(cr, 26, 62);
    cairo_curve_to(cr, 26, 34, 29, 14, 36, 2);
    cairo_close_path(cr);
    FillShaded(cr, 36, 30, 40, 0xFFFFFF, 0x9CC7FF, 0x2B3A4F);
    cairo_restore(cr);
    (void)h;
}

void IcoBat(cairo_t* cr, double w, double h) {
    Panel(cr, 3, 8, w - 6, h - 14, 4, 0x2B2F36);
    cairo_rectangle(cr, 7, 17, w - 14, 3);
    cairo_rectangle(cr, 7, 24, w - 14, 3);
    Rgb(cr, 0xFF5A00);
    cairo_fill(cr);
    Glow(cr, w / 2, 6, 8, 0xFF5A00, 0.9);
    Sphere(cr, w / 2, 6, 3, 0xFFFFFF, 0xFF3030, 0x5A1010);
}

}  // namespace

bool PaintObrazky(const ManifestEntry& e, int frame, cairo_t* cr) {
    const double w = e.frameWidth, h = e.frameHeight;
    const std::string name = e.name;
    if (name == "Puma") Puma(cr, w, h);
    else if (name == "Koule") Sphere(cr, w / 2, h / 2, w / 2 - 1, 0xFFFFFF, 0x3A9BFF, 0x1A2E5A);
    else if (name == "Bomba") Bomba(cr, w, h);
    else if (name == "Stit") {
        Glow(cr, w / 2, h / 2, w / 2, 0x7FD4FF, 0.7);
        Sphere(cr, w / 2, h / 2, w / 2 - 3, 0xFFFFFF, 0x7FD4FF, 0x1A4F7A);
    } else if (name == "Navadeci") Disc(cr, w, h);
    else if (name == "VejceLeva") Egg(cr, w, h, true);
    else if (name == "VejcePrava") Egg(cr, w, h, false);
    else if (name == "Nesmrtelnost") Shield(cr, w, h, frame - 1);
    else if (name == "VlajkaLeva") Flag(cr, w, h, frame, true);
    else if (name == "VlajkaPrava") Flag(cr, w, h, frame, false);
    else if (name == "VlajkaLight") FlagLight(cr, w, h, frame);
    else if (name == "Special") Special(cr, w, h, frame);
    else if (name == "IconGuns") IconGuns(cr, w, h, frame);
    else if (name == "MalyBum") Explosion(cr, w / 2, h / 2, w / 2, frame / 2.5, 100 + frame);
    else if (name == "Velkybum") Explosion(cr, w / 2, h / 2, w / 2 - 2, frame / 5.5, 200 + frame);
    else if (name == "Vlna") Vlna(cr, w, h, frame);
    else if (name == "Lista") Lista(cr, w, h);
    else if (name == "Procenta") {
        const uint32_t c = frame == 0 ? 0xFFB000 : 0xFF3020;
        TextCentered(cr, w / 2, h - 4, "%", 15, true, c, "DejaVu Sans Mono");
    } else if (name == "CislaBody") Digit(cr, w, h, frame, 0x40DC38, 27);
    else if (name == "CislaLife") {
        static const uint32_t sets[] = {0x40DC38, 0xFFB000, 0xFF3020};
        Digit(cr, w, h, frame % 10, sets[frame / 10], 17);
    } else if (name == "IcoZivot") IcoZivot(cr, w, h);
    else if (name == "IcoBat") IcoBat(cr, w, h);
    else if (name == "Velitel") Velitel(cr, w, h, frame);
    else if (name == "IcoSat") IcoSat(cr, w, h, frame);
    else if (name == "bila") Bila(cr, w, h);
    else if (name == "Sonda") Sonda(cr, w, h, frame);
    else return false;
    return true;
}
