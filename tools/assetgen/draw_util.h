// Drawing helpers shared by the picture painters: colours from the game's
// palette, gradients, shaded shapes, explosions, text in a real font, and the
// flattening of anti-aliased Cairo pictures onto a colour key.
#pragma once
#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace art {

// Colours here are written 0xRRGGBB, as the palette of the art direction.
void Rgb(cairo_t* cr, uint32_t rgb, double alpha = 1.0);
void Stop(cairo_pattern_t* p, double offset, uint32_t rgb, double alpha = 1.0);
// Mixes two 0xRRGGBB colours; t = 0 gives a, 1 gives b.
uint32_t Mix(uint32_t a, uint32_t b, double t);

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r);
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
// Fills the current path with a vertical gradient from top to bottom colour.
void FillVertical(cairo_t* cr, double y0, double y1, uint32_t top, uint32_t bottom);
// Fills the current path with a light-from-upper-left radial shading.
void FillShaded(cairo_t* cr, double cx, double cy, double r, uint32_t light, uint32_t base, uint32_t dark);
// A shaded sphere lit from the upper left.
void Sphere(cairo_t* cr, double cx, double cy, double r, uint32_t light, uint32_t base, uint32_t dark);
// A soft round glow fading to nothing at radius r.
void Glow(cairo_t* cr, double cx, double cy, double r, uint32_t rgb, double alpha = 1.0);
// A fire ball: t in 0..1 is the age (grows, then darkens and breaks up).
void Explosion(cairo_t* cr, double cx, double cy, double radius, double t, uint32_t seed);
// A metal panel with a bevel (lighter upper-left edge, darker lower-right).
void Panel(cairo_t* cr, double x, double y, double w, double h, double r, uint32_t face, bool sunken = false);

// Text in a real font; (x, y) is the left end of the baseline.
void Text(cairo_t* cr, double x, double y, const std::string& utf8, double size, bool bold, uint32_t rgb,
          const char* face = "DejaVu Sans");
// Centred horizontally on cx, baseline at y; returns the text width.
double TextCentered(cairo_t* cr, double cx, double y, const std::string& utf8, double size, bool bold, uint32_t rgb,
                    const char* face = "DejaVu Sans");
double TextWidth(cairo_t* cr, const std::string& utf8, double size, bool bold, const char* face = "DejaVu Sans");

// A small deterministic generator so that every build draws the same pictures.
struct Rng {
    uint32_t state;
    explicit Rng(uint32_t seed) : state(seed * 2654435761u + 12345u) {}
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    double Unit() { return (Next() & 0xFFFFFF) / double(0x1000000); }
    double Range(double a, double b) { return a + (b - a) * Unit(); }
};

// Converts a premultiplied ARGB Cairo image to 0xBBGGRR pixels. With a key,
// pixels less than half covered become the key and the others are laid over
// the space colour, so no fringe of the key colour remains; no covered pixel
// is left equal to the key once reduced to 5-6-5. Without a key every pixel
// is laid over black.
std::vector<uint32_t> Flatten(cairo_surface_t* surface, bool keyed, uint32_t keyBgr);
// True when two 0xBBGGRR colours give the same 5-6-5 pixel.
bool Same565(uint32_t a, uint32_t b);

}  // namespace art
