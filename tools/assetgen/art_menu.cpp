// Pictures of the MenuObr collection: the console background with its monitor
// window (keyed, so the monitor content shows through), the item tiles and
// highlights, the pages with their labels and buttons (in the language being
// drawn), the pointer, the monitor pictures, the score cup, the intro emblem
// and the title screen.
#include <cmath>
#include <string>
#include <tuple>

#include "art.h"
#include "draw_util.h"
#include "picture_words.h"

using namespace art;

namespace {

constexpr uint32_t kPhosphor = 0x00FF00, kPhosphorMid = 0x00D500, kPhosphorDim = 0x008000;
constexpr int kPageX = 25, kPageY = 357;  // where every page is drawn
// The help page's language switch, in screen coordinates (the menu's table
// of places has the same).
constexpr int kCzechButtonX = 598, kEnglishButtonX = 684, kLanguageButtonY = 363;
constexpr int kLanguageButtonWidth = 80, kLanguageButtonHeight = 22;

// The six menu item icons; bright for the highlight frames, dim on the console.
void ItemIcon(cairo_t* cr, int item, bool bright) {
    const double c = 36;
    const uint32_t fg = bright ? 0x9CFF90 : 0x2E6A34, mid = bright ? 0x40DC38 : 0x1F4A24;
    RoundRect(cr, 1, 1, 70, 70, 8);
    FillVertical(cr, 1, 71, bright ? 0x0E3A12 : 0x14181C, bright ? 0x031A08 : 0x0A0C10);
    RoundRect(cr, 1.5, 1.5, 69, 69, 8);
    cairo_set_line_width(cr, bright ? 2 : 1);
    Rgb(cr, bright ? kPhosphor : 0x3A4048);
    cairo_stroke(cr);
    if (bright) Glow(cr, c, c, 30, 0x40DC38, 0.35);
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    switch (item) {
        case 0:  // new game: a fighter and a plus
            cairo_move_to(cr, c - 6, 14);
            cairo_line_to(cr, c + 8, 50);
            cairo_line_to(cr, c - 6, 43);
            cairo_line_to(cr, c - 20, 50);
            cairo_close_path(cr);
            FillVertical(cr, 14, 50, fg, mid);
            Rgb(cr, fg);
            cairo_move_to(cr, 52, 18);
            cairo_line_to(cr, 52, 34);
            cairo_move_to(cr, 44, 26);
            cairo_line_to(cr, 60, 26);
            cairo_stroke(cr);
            break;
        case 1:  // continue: play triangle
            cairo_move_to(cr, 24, 16);
            cairo_line_to(cr, 54, 36);
            cairo_line_to(cr, 24, 56);
            cairo_close_path(cr);
            FillVertical(cr, 16, 56, fg, mid);
            break;
        case 2:  // load profile: pilot's head and an arrow
            Ellipse(cr, c - 6, 26, 9, 10);
            Rgb(cr, fg);
            cairo_fill(cr);
            cairo_move_to(cr, c - 22, 56);
            cairo_curve_to(cr, c - 22, 40, c + 10, 40, c + 10, 56);
            cairo_close_path(cr);
            Rgb(cr, mid);
            cairo_fill(cr);
            Rgb(cr, fg);
            cairo_move_to(cr, 56, 18);
            cairo_line_to(cr, 56, 40);
            cairo_move_to(cr, 49, 33);
            cairo_line_to(cr, 56, 40);
            cairo_line_to(cr, 63, 33);
            cairo_stroke(cr);
            break;
        case 3:  // score: a cup
            cairo_move_to(cr, 22, 14);
            cairo_line_to(cr, 50, 14);
            cairo_curve_to(cr, 50, 34, 44, 40, c, 40);
            cairo_curve_to(cr, 28, 40, 22, 34, 22, 14);
            cairo_close_path(cr);
            FillVertical(cr, 14, 40, fg, mid);
            cairo_rectangle(cr, c - 3, 40, 6, 8);
            cairo_rectangle(cr, c - 11, 48, 22, 6);
            Rgb(cr, mid);
            cairo_fill(cr);
            break;
        case 4:  // help: question mark
            TextCentered(cr, c, 52, "?", 44, true, fg);
            break;
        default:  // quit: power symbol
            Rgb(cr, fg);
            cairo_arc(cr, c, 38, 16, -M_PI * 0.32, M_PI * 1.32);
            cairo_stroke(cr);
            cairo_move_to(cr, c, 14);
            cairo_line_to(cr, c, 36);
            cairo_stroke(cr);
            break;
    }
}

// A button face sized to its hit area; bright when hovered.
void Button(cairo_t* cr, double w, double h, const char* label, bool bright) {
    RoundRect(cr, 0.5, 0.5, w - 1, h - 1, 5);
    FillVertical(cr, 0, h, bright ? 0x1FA01F : 0x123A18, bright ? 0x0E5A12 : 0x061A08);
    RoundRect(cr, 0.5, 0.5, w - 1, h - 1, 5);
    cairo_set_line_width(cr, 1);
    Rgb(cr, bright ? 0x9CFF90 : 0x2E6A34);
    cairo_stroke(cr);
    if (bright) Glow(cr, w / 2, h / 2, w / 2, 0x9CFF90, 0.25);
    const double size = h * 0.55;
    TextCentered(cr, w / 2, h / 2 + size * 0.36, Say(cr, label, size, true, "Liberation Sans"), size, true,
                 bright ? 0xFFFFFF : 0x40DC38, "Liberation Sans");
}

// A page: a black terminal screen with a green frame and a title.
void PageBase(cairo_t* cr, double w, double h, const char* title) {
    cairo_rectangle(cr, 0, 0, w, h);
    Rgb(cr, 0x000000);
    cairo_fill(cr);
    RoundRect(cr, 1.5, 1.5, w - 3, h - 3, 6);
    cairo_set_line_width(cr, 1);
    Rgb(cr, kPhosphorDim);
    cairo_stroke(cr);
    Text(cr, 14, 26, Say(cr, title, 18, true, "Liberation Sans"), 18, true, kPhosphorMid, "Liberation Sans");
    cairo_move_to(cr, 14, 33.5);
    cairo_line_to(cr, w - 14, 33.5);
    Rgb(cr, kPhosphorDim, 0.8);
    cairo_stroke(cr);
}

// Draws at screen coordinates onto a page.
void PageText(cairo_t* cr, double sx, double sy, const std::string& text, double size, uint32_t c, bool bold = true) {
    Text(cr, sx - kPageX, sy - kPageY, Say(cr, text, size, bold, "Liberation Sans"), size, bold, c, "Liberation Sans");
}

void Field(cairo_t* cr, double x0, double y0, double x1, double y1) {
    RoundRect(cr, x0 - kPageX + 0.5, y0 - kPageY + 0.5, x1 - x0 - 1, y1 - y0 - 1, 3);
    Rgb(cr, 0x000000);
    cairo_fill_preserve(cr);
    Rgb(cr, 0x2E6A34);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void ButtonAt(cairo_t* cr, double sx, double sy, double w, double h, const char* label) {
    cairo_save(cr);
    cairo_translate(cr, sx - kPageX, sy - kPageY);
    Button(cr, w, h, label, false);
    cairo_restore(cr);
}

void Novahra(cairo_t* cr, double w, double h) {
    PageBase(cr, w, h, "NOVÁ HRA");
    PageText(cr, 47, 450, "Jméno pilota:", 13, kPhosphorMid);
    Field(cr, 45, 458, 314, 498);
    PageText(cr, 430, 406, "Obtížnost:", 13, kPhosphorMid);
    static const char* levels[] = {"LEHKÁ", "STŘEDNÍ", "TĚŽKÁ"};
    for (int d = 0; d < 3; ++d) {
        const double y = 420 + 39 * d;
        // Checkbox under the cross mark drawn at (423, 415 + 39 d).
        RoundRect(cr, 425 - kPageX + 0.5, y - 2 - kPageY + 0.5, 22, 26, 3);
        Rgb(cr, 0x2E6A34);
        cairo_stroke(cr);
        PageText(cr, 458, y + 18, levels[d], 18, kPhosphorDim);
    }
    ButtonAt(cr, 676, 540, 93, 28, "START");
}

void Profil(cairo_t* cr, double w, double h) {
    PageBase(cr, w, h, "NAČTENÍ PROFILU");
    for (int k = 0; k < 6; ++k) {
        const double x0 = k < 3 ? 40 : 317, y0 = 412 + 48 * (k % 3);
        Field(cr, x0, y0, x0 + 269, y0 + 40);
        Text(cr, x0 + 4 - kPageX, y0 + 12 - kPageY, std::to_string(k + 1), 9, true, kPhosphorDim, "Liberation Sans");
    }
    ButtonAt(cr, 663, 410, 91, 28, "NAČÍST");
    ButtonAt(cr, 663, 520, 91, 28, "VYMAZAT");
}

void Skore(cairo_t* cr, double w, double h) {
    PageBase(cr, w, h, "NEJLEPŠÍ PILOTI");
    for (int col = 0; col < 2; ++col) {
        PageText(cr, col ? 476 : 151, 418, "JMÉNO", 10, kPhosphorDim);
        PageText(cr, col ? 716 : 391, 418, "BODY", 10, kPhosphorDim);
    }
}

// The help page: the keys' columns are left empty, as the game writes the
// keys the player has bound there (the keyboard's at x 45 and 435, the pad's
// buttons in caps at x 181); the page holds the actions beside them, the
// column heads, a hint, and the language switch in its title bar, the
// language drawn lit.
void Helpik(cairo_t* cr, double w, double h) {
    PageBase(cr, w, h, "NÁPOVĚDA");
    static const char* left[] = {"pohyb lodi", "střelba", "použití předmětu", "další zpráva velitele",
                                 "menu / návrat do hry"};
    static const char* right[] = {"tato nápověda",   "zvuky zapnout / vypnout", "hudba zapnout / vypnout",
                                  "hlasitost hudby", "snímky za sekundu",       "okno / celá obrazovka"};
    auto head = [&](double x, const char* text) {
        Text(cr, x, 50, Say(cr, text, 9, true, "Liberation Sans"), 9, true, kPhosphorDim, "Liberation Sans");
    };
    head(20, "KLÁVESNICE");
    head(156, "GAMEPAD");
    head(410, "KLÁVESNICE");
    auto action = [&](double x, double y, const char* text) {
        Text(cr, x, y, Say(cr, text, 13, false, "Liberation Sans"), 13, false, kPhosphorMid, "Liberation Sans");
    };
    for (int i = 0; i < 5; ++i) action(250, 70 + i * 23, left[i]);
    for (int i = 0; i < 6; ++i) action(540, 70 + i * 23, right[i]);
    const char* hint = "Seberte předměty a zbraně z beden, chraňte se před meteory.";
    Text(cr, 20, 203, Say(cr, hint, 11, false, "Liberation Sans"), 11, false, kPhosphorDim, "Liberation Sans");
    const bool english = CurrentWordsLanguage() == WordsLanguage::English;
    for (const auto& [x, label, lit] :
         {std::tuple{kCzechButtonX, "ČEŠTINA", !english}, std::tuple{kEnglishButtonX, "ENGLISH", english}}) {
        cairo_save(cr);
        cairo_translate(cr, x - kPageX, kLanguageButtonY - kPageY);
        Button(cr, kLanguageButtonWidth, kLanguageButtonHeight, label, lit);
        cairo_restore(cr);
    }
}

void Question(cairo_t* cr, double w, double h, const char* title, const char* line1, const char* line2) {
    PageBase(cr, w, h, title);
    TextCentered(cr, w / 2, 74, Say(cr, line1, 20, true, "Liberation Sans"), 20, true, kPhosphorMid, "Liberation Sans");
    if (line2)
        TextCentered(cr, w / 2, 98, Say(cr, line2, 14, false, "Liberation Sans"), 14, false, kPhosphorDim,
                     "Liberation Sans");
}

void Sipka(cairo_t* cr) {
    cairo_move_to(cr, 1, 1);
    cairo_line_to(cr, 1, 23);
    cairo_line_to(cr, 7, 18);
    cairo_line_to(cr, 11, 27);
    cairo_line_to(cr, 15, 25);
    cairo_line_to(cr, 11, 17);
    cairo_line_to(cr, 18, 16);
    cairo_close_path(cr);
    FillVertical(cr, 1, 27, 0xFFFFFF, 0x9CC7FF);
    cairo_move_to(cr, 1, 1);
    cairo_line_to(cr, 1, 23);
    cairo_line_to(cr, 7, 18);
    cairo_line_to(cr, 11, 27);
    cairo_line_to(cr, 15, 25);
    cairo_line_to(cr, 11, 17);
    cairo_line_to(cr, 18, 16);
    cairo_close_path(cr);
    cairo_set_line_width(cr, 1.2);
    Rgb(cr, 0x1A2433);
    cairo_stroke(cr);
}

// Big metallic lettering with a glow, centred in the box.
void Lettering(cairo_t* cr, double cx, double baseline, const char* text, double size, uint32_t top, uint32_t bottom,
               uint32_t glow) {
    const double tw = TextWidth(cr, text, size, true, "DejaVu Sans");
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    cairo_move_to(cr, cx - tw / 2, baseline);
    cairo_text_path(cr, text);
    cairo_set_line_width(cr, size * 0.12);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    Rgb(cr, glow, 0.55);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, baseline - size * 0.75, 0, baseline);
    Stop(p, 0, 0xFFFFFF);
    Stop(p, 0.35, top);
    Stop(p, 0.55, Mix(top, bottom, 0.7));
    Stop(p, 1, bottom);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    Rgb(cr, 0x0A0C10);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void KavrixTitle(cairo_t* cr, double w, double h) {
    Lettering(cr, w / 2, h - 24, "KAVRIX", 70, 0x9CC7FF, 0x2B3A4F, 0x3A6EA5);
    TextCentered(cr, w / 2, h - 5, Say(cr, "VESMÍRNÁ STŘÍLEČKA", 14, true, "DejaVu Sans"), 14, true, 0xFFB000);
}

void MeteorBig(cairo_t* cr, double w, double h) {
    // A burning meteor falling to the lower right, its tail behind it.
    for (int i = 0; i < 12; ++i) {
        const double t = i / 11.0;  // 0 at the tail's end, 1 at the rock
        const double x = 6 + t * (w * 0.72 - 6), y = 6 + t * (h * 0.72 - 6);
        Glow(cr, x, y, 5 + t * 22, Mix(0xFF5A00, 0xFFF3B0, t), 0.55 + 0.45 * t);
    }
    const double cx = w * 0.72, cy = h * 0.72, r = 26;
    Glow(cr, cx, cy, r * 1.5, 0xFFB000, 0.7);
    Rng rng(3);
    const int n = 12;
    for (int i = 0; i <= n; ++i) {
        const double a = i * 2 * M_PI / n, rr = r * (i % n ? rng.Range(0.85, 1.0) : 0.95);
        if (i == 0) cairo_move_to(cr, cx + std::cos(a) * rr, cy + std::sin(a) * rr);
        else cairo_line_to(cr, cx + std::cos(a) * rr, cy + std::sin(a) * rr);
    }
    cairo_close_path(cr);
    FillShaded(cr, cx, cy, r, 0xFFE0A0, 0x8A5A30, 0x2A1408);
}

void Quorbant(cairo_t* cr, double w, double h) {
    // The maker's logo: the emblem and the name on a dark plate.
    RoundRect(cr, 4, 4, w - 8, h - 8, 18);
    FillVertical(cr, 4, h - 4, 0x1E2228, 0x0A0C10);
    RoundRect(cr, 4.5, 4.5, w - 9, h - 9, 18);
    cairo_set_line_width(cr, 2);
    Rgb(cr, 0x8E44AD);
    cairo_stroke(cr);
    const double ex = 80, ey = h / 2;
    for (int i = 0; i < 16; ++i) {
        const double a = i * M_PI / 8;
        cairo_move_to(cr, ex + std::cos(a - 0.12) * 40, ey + std::sin(a - 0.12) * 40);
        cairo_line_to(cr, ex + std::cos(a) * 58, ey + std::sin(a) * 58);
        cairo_line_to(cr, ex + std::cos(a + 0.12) * 40, ey + std::sin(a + 0.12) * 40);
        cairo_close_path(cr);
        Rgb(cr, 0xC77DFF);
        cairo_fill(cr);
    }
    Ellipse(cr, ex, ey, 38, 38);
    cairo_set_line_width(cr, 7);
    Rgb(cr, 0x8E44AD);
    cairo_stroke(cr);
    Sphere(cr, ex, ey, 22, 0xF2D7FF, 0x8E44AD, 0x3C0F52);
    Lettering(cr, 272, ey + 10, "QUORBANT", 40, 0xF2D7FF, 0x8E44AD, 0x3C0F52);
    TextCentered(cr, 272, ey + 40, "software", 20, false, 0xC8D2DC, "Liberation Sans");
}

// The score cup; the frames sweep a shine across it and twinkle a star.
void Pohar(cairo_t* cr, double w, double h, int frame) {
    const double cx = w / 2;
    cairo_move_to(cr, 18, 10);
    cairo_line_to(cr, w - 18, 10);
    cairo_curve_to(cr, w - 18, 56, w - 34, 70, cx + 6, 72);
    cairo_line_to(cr, cx + 6, 88);
    cairo_line_to(cr, cx + 20, 98);
    cairo_line_to(cr, cx - 20, 98);
    cairo_line_to(cr, cx - 6, 88);
    cairo_line_to(cr, cx - 6, 72);
    cairo_curve_to(cr, 34, 70, 18, 56, 18, 10);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(18, 0, w - 18, 0);
    Stop(p, 0, 0x7A5A10);
    Stop(p, 0.3, 0xFFE080);
    Stop(p, 0.6, 0xC8A040);
    Stop(p, 1, 0x5A4010);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    for (int s = -1; s <= 1; s += 2) {  // handles
        cairo_set_line_width(cr, 5);
        Rgb(cr, 0xC8A040);
        cairo_arc(cr, cx + s * 36, 30, 11, s < 0 ? M_PI * 0.5 : -M_PI * 0.5, s < 0 ? M_PI * 1.5 : M_PI * 0.5);
        cairo_stroke(cr);
    }
    RoundRect(cr, cx - 26, 98, 52, 16, 3);
    FillVertical(cr, 98, 114, 0x4A505A, 0x1E2228);
    TextCentered(cr, cx, 110, "1.", 11, true, 0xFFE080);
    // The moving shine.
    const double sx = 14 + frame * 8.0;
    cairo_save(cr);
    cairo_rectangle(cr, 18, 10, w - 36, 62);
    cairo_clip(cr);
    cairo_move_to(cr, sx, 10);
    cairo_line_to(cr, sx + 10, 10);
    cairo_line_to(cr, sx - 6, 72);
    cairo_line_to(cr, sx - 16, 72);
    cairo_close_path(cr);
    Rgb(cr, 0xFFFFFF, 0.45);
    cairo_fill(cr);
    cairo_restore(cr);
    const double tw = 0.5 + 0.5 * std::sin(frame * M_PI / 5);
    Glow(cr, 30, 18, 6 + 6 * tw, 0xFFFFFF, 0.9);
}

void InnerCircle(cairo_t* cr, double w, double h) {
    Glow(cr, w / 2, h / 2, w / 2, 0xC77DFF, 0.6);
    Sphere(cr, w / 2, h / 2, w / 2 - 5, 0xF2D7FF, 0x8E44AD, 0x3C0F52);
    (void)h;
}

void OuterCircle(cairo_t* cr, double w, double h) {
    Ellipse(cr, w / 2, h / 2, w / 2 - 5, h / 2 - 5);
    cairo_set_line_width(cr, 7);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, h);
    Stop(p, 0, 0xF2D7FF);
    Stop(p, 0.5, 0x8E44AD);
    Stop(p, 1, 0x3C0F52);
    cairo_set_source(cr, p);
    cairo_stroke(cr);
    cairo_pattern_destroy(p);
}

void Spikes(cairo_t* cr, double w, double h) {
    const double cx = w / 2, cy = h / 2;
    for (int i = 0; i < 16; ++i) {
        const double a = i * M_PI / 8;
        cairo_move_to(cr, cx + std::cos(a - 0.13) * 30, cy + std::sin(a - 0.13) * 30);
        cairo_line_to(cr, cx + std::cos(a) * (w / 2 - 1), cy + std::sin(a) * (h / 2 - 1));
        cairo_line_to(cr, cx + std::cos(a + 0.13) * 30, cy + std::sin(a + 0.13) * 30);
        cairo_close_path(cr);
        cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 30, cx, cy, w / 2);
        Stop(p, 0, 0x8E44AD);
        Stop(p, 1, 0xF2D7FF);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
}

// "QUOR" and "BANT" either side of the emblem, which sits at 112..208.
void Napis(cairo_t* cr, double w, double h) {
    const double size = 28;
    const double lw = TextWidth(cr, "QUOR", size, true), rw = TextWidth(cr, "BANT", size, true);
    Lettering(cr, 108 - lw / 2, h - 4, "QUOR", size, 0xF2D7FF, 0x8E44AD, 0x3C0F52);
    Lettering(cr, 212 + rw / 2, h - 4, "BANT", size, 0xF2D7FF, 0x8E44AD, 0x3C0F52);
    (void)w;
}

void Uvadi(cairo_t* cr, double w, double h) {
    TextCentered(cr, w / 2, h - 4, Say(cr, "uvádí", 15, false, "Liberation Sans"), 15, false, 0xC8D2DC,
                 "Liberation Sans");
}

// The title screen: keyed so the starfield shows through space.
void Nazev(cairo_t* cr, double w, double h) {
    // A planet rising from the bottom edge.
    const double pcx = 400, pcy = 1050, pr = 560;
    Glow(cr, pcx, pcy, pr + 50, 0x3A6EA5, 0.9);
    Ellipse(cr, pcx, pcy, pr, pr);
    FillShaded(cr, pcx, pcy - 200, pr, 0x6FA8DC, 0x1F4E7A, 0x05101C);
    Rng rng(11);
    for (int i = 0; i < 14; ++i) {
        const double y = rng.Range(500, 600), x = rng.Range(80, 720);
        Ellipse(cr, x, y, rng.Range(30, 90), rng.Range(3, 7));
        Rgb(cr, 0xFFFFFF, 0.12);
        cairo_fill(cr);
    }
    // The fighter climbing away from the planet.
    cairo_save(cr);
    cairo_translate(cr, 339, 300);
    cairo_scale(cr, 1.6, 1.6);
    ManifestEntry ship{Collection::Rakety, 0, "Kavrix", 76, 76, 9, 2, true, levpack::PictureData::Dib};
    PaintRakety(ship, 1, cr);
    cairo_restore(cr);
    Lettering(cr, w / 2, 190, "KAVRIX", 120, 0x9CC7FF, 0x2B3A4F, 0x3A6EA5);
    TextCentered(cr, w / 2, 240, Say(cr, "POSLEDNÍ OBRANA KOLONIE", 22, true, "Liberation Sans"), 22, true, 0xFFB000,
                 "Liberation Sans");
    TextCentered(cr, w / 2, 585, "© Quorbant software", 12, false, 0xC8D2DC, "Liberation Sans");
    (void)h;
}

// The console: a metal desk with the monitor (its window keyed), the six item
// tiles, the terminal screen, and the maker's badge that is the logo hotspot.
void Podklad(cairo_t* cr, double w, double h) {
    cairo_rectangle(cr, 0, 0, w, h);
    FillVertical(cr, 0, h, 0x2B2F36, 0x15181C);
    Rng rng(21);
    for (int i = 0; i < 120; ++i) {
        Rgb(cr, 0xFFFFFF, 0.02);
        cairo_rectangle(cr, rng.Range(0, w), rng.Range(0, h), rng.Range(40, 260), 1);
        cairo_fill(cr);
    }
    // Monitor bezel.
    Panel(cr, 12, 12, 776, 242, 14, 0x4A505A);
    Panel(cr, 20, 20, 760, 227, 8, 0x1E2228, true);
    Text(cr, 30, 252, Say(cr, "MONITOR 01 — PŘEHLED SEKTORU", 8, true, "DejaVu Sans"), 8, true, 0x8B96A3);
    Glow(cr, 770, 250, 4, 0x40DC38, 0.9);
    // Item tiles.
    Panel(cr, 52, 252, 696, 92, 10, 0x3A4048);
    for (int i = 0; i < 6; ++i) {
        Panel(cr, 62 + 119 * i, 258, 80, 80, 6, 0x1E2228, true);
        cairo_save(cr);
        cairo_translate(cr, 66 + 119 * i, 262);
        ItemIcon(cr, i, false);
        cairo_restore(cr);
    }
    // Terminal screen behind the pages.
    Panel(cr, 17, 349, 766, 231, 10, 0x4A505A);
    cairo_rectangle(cr, kPageX, kPageY, 750, 215);
    Rgb(cr, 0x000000);
    cairo_fill(cr);
    for (double y = kPageY; y < kPageY + 215; y += 3) {
        cairo_rectangle(cr, kPageX, y, 750, 1);
        Rgb(cr, 0x00FF00, 0.03);
        cairo_fill(cr);
    }
    // The maker's badge (logo hotspot 693..775 x 579..595).
    RoundRect(cr, 693, 581, 82, 15, 3);
    FillVertical(cr, 581, 596, 0x3C0F52, 0x1A0626);
    TextCentered(cr, 734, 592, "QUORBANT", 9, true, 0xF2D7FF);
    Text(cr, 22, 593, Say(cr, "KAVRIX · velitelský terminál", 9, true, "DejaVu Sans"), 9, true, 0x8B96A3);
    // The monitor window: cut out so the monitor content shows through.
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_rectangle(cr, 25, 25, 749, 217);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    (void)h;
}

}  // namespace

bool PaintMenu(const ManifestEntry& e, int frame, cairo_t* cr) {
    const double w = e.frameWidth, h = e.frameHeight;
    const std::string name = e.name;
    if (name == "Podklad") Podklad(cr, w, h);
    else if (name == "Sipka") Sipka(cr);
    else if (name == "Kavrix") KavrixTitle(cr, w, h);
    else if (name == "Meteor") MeteorBig(cr, w, h);
    else if (name == "Quorbant") Quorbant(cr, w, h);
    else if (name == "Polozky") ItemIcon(cr, frame, true);
    else if (name == "Novahra") Novahra(cr, w, h);
    else if (name == "Profil") Profil(cr, w, h);
    else if (name == "Skore") Skore(cr, w, h);
    else if (name == "Helpik") Helpik(cr, w, h);
    else if (name == "Konec") {
        Question(cr, w, h, "KONEC", "Opravdu chcete ukončit hru?", nullptr);
        ButtonAt(cr, 276, 469, 61, 23, "ANO");
        ButtonAt(cr, 453, 469, 61, 23, "NE");
    } else if (name == "Vymazat") {
        Question(cr, w, h, "VYMAZAT PROFIL", "Opravdu vymazat vybraný profil?", "Uložený postup pilota bude ztracen.");
        ButtonAt(cr, 277, 470, 61, 23, "ANO");
        ButtonAt(cr, 454, 470, 61, 23, "NE");
    } else if (name == "Obsazeno") {
        Question(cr, w, h, "PROFILY OBSAZENY", "Všech šest profilů je obsazeno.",
                 "Nejprve některý profil vymažte v nabídce Načtení profilu.");
        ButtonAt(cr, 363, 492, 61, 24, "OK");
    } else if (name == "Start") Button(cr, w, h, "START", true);
    else if (name == "Vymaz") Button(cr, w, h, "VYMAZAT", true);
    else if (name == "Nacti") Button(cr, w, h, "NAČÍST", true);
    else if (name == "Ano") Button(cr, w, h, "ANO", true);
    else if (name == "Ne") Button(cr, w, h, "NE", true);
    else if (name == "Ok") Button(cr, w, h, "OK", true);
    else if (name == "Cestina") Button(cr, w, h, "ČEŠTINA", true);
    else if (name == "English") Button(cr, w, h, "ENGLISH", true);
    else if (name == "Krizek") {
        Glow(cr, w / 2, h / 2, w / 2, 0x40DC38, 0.5);
        cairo_set_line_width(cr, 4);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        Rgb(cr, 0x9CFF90);
        cairo_move_to(cr, 6, 8);
        cairo_line_to(cr, w - 6, h - 8);
        cairo_move_to(cr, w - 6, 8);
        cairo_line_to(cr, 6, h - 8);
        cairo_stroke(cr);
    } else if (name == "Pohar") Pohar(cr, w, h, frame);
    else if (name == "Vnitrni kruh") InnerCircle(cr, w, h);
    else if (name == "Vnejsi kruh") OuterCircle(cr, w, h);
    else if (name == "Bodliny") Spikes(cr, w, h);
    else if (name == "Napis") Napis(cr, w, h);
    else if (name == "Uvadi") Uvadi(cr, w, h);
    else if (name == "Nazev") Nazev(cr, w, h);
    else return false;
    return true;
}
