// Text and shapes on the back surface, as the game's scenes use them: fonts
// "Arial" and "System" by cell height, opaque text boxes, pen lines,
// rectangles and pies. Text is cp1250 bytes.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "media/rect.h"
#include "media/surface.h"

struct FontCache;  // glyphs per font, size and cp1250 byte (canvas.cpp)

struct CanvasFont {
    std::string Name = "Arial";  // "Arial", "System" or "system"
    int Height = 13;             // cell height in pixels
    bool Bold = false;
    uint32_t Color = 0;  // 0xBBGGRR
};

struct Canvas {
    Surface* surface = nullptr;
    FontCache* fonts = nullptr;
    CanvasFont Font;
    uint32_t BrushColor = 0xFFFFFF;
    uint32_t PenColor = 0;
    int penX = 0, penY = 0;
    bool active = false;
};

// Fonts are looked up in this directory list (Liberation Sans for "Arial",
// DejaVu Sans Bold for "System"). Throws MediaError when none is found.
FontCache* CreateFontCache();
void DestroyFontCache(FontCache* cache);

// Opens and renders every face the game writes with (Arial 12, 13, 15, 19,
// 20, 25 and System), so that no frame loads a font file or renders glyphs.
void PreloadFonts(Canvas& canvas);

Canvas& SurfaceCanvas(Canvas& canvas);  // marks the canvas in use; returns it
void ReleaseCanvas(Canvas& canvas);

// Text in the font colour on a box of the brush colour, cell top-left at (x, y).
void TextOut(Canvas& canvas, int x, int y, std::string_view cp1250Text);
int TextWidth(Canvas& canvas, std::string_view cp1250Text);
void MoveTo(Canvas& canvas, int x, int y);
// One-pixel pen line up to, not including, the end point.
void LineTo(Canvas& canvas, int x, int y);
// Pen outline, brush interior; right and bottom exclusive.
void Rectangle(Canvas& canvas, int left, int top, int right, int bottom);
void FillRect(Canvas& canvas, const Rect& rect);
void FrameRect(Canvas& canvas, const Rect& rect);
// Wedge of the ellipse in (x1,y1)-(x2,y2), from the ray through (x3,y3)
// counter-clockwise to the ray through (x4,y4); pen outline, brush interior.
void Pie(Canvas& canvas, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
