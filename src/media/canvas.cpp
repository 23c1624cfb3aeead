// Text and shapes on the back surface. Fonts are found through fontconfig
// (font_lookup.cpp) and drawn by SDL2_ttf: "Arial" is Liberation Sans (or a
// face with Arial's metrics), "System" DejaVu Sans Bold. Each face (font,
// bold, cell height) renders its 256 cp1250 glyphs once, as antialiased
// alpha masks blended onto the surface in the font colour at draw time.
#include "media/canvas.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "media/cp1250.h"
#include "media/font_lookup.h"
#include "media/media_error.h"
#include "media/whole_file.h"

namespace {

constexpr int kSystemCellHeight = 16;
// Font files are a few megabytes at most (a collection of many faces).
constexpr size_t kMostFontBytes = 64u << 20;

struct Glyph {
    int advance = 0;
    int offsetX = 0;  // where the mask starts relative to the pen
    int width = 0, height = 0;
    size_t mask = 0;  // offset into FontFace::masks
};

struct FontFace {
    GameFont file;
    int height;  // requested cell height
    TTF_Font* font = nullptr;
    Glyph glyphs[256];
    std::vector<uint8_t> masks;
};

bool IsSystemFont(const std::string& name) {
    if (name.size() != 6) return false;
    const char* system = "system";
    for (size_t i = 0; i < 6; ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != system[i]) return false;
    return true;
}

}  // namespace

struct FontCache {
    FontLocation files[kGameFontCount];
    // Each font file read whole once: FreeType reads its glyphs from memory
    // rather than through many small file reads (slow in the browser's
    // file system). The faces' fonts read from here until they are closed.
    std::string bytes[kGameFontCount];
    std::vector<std::unique_ptr<FontFace>> faces;
    FontFace* last = nullptr;

    ~FontCache() {
        for (auto& face : faces)
            if (face->font) TTF_CloseFont(face->font);
    }

    FontFace& Face(const CanvasFont& font) {
        const GameFont file = IsSystemFont(font.Name) ? kSystem : (font.Bold ? kArialBold : kArialRegular);
        // "System" is a fixed-size screen font: whatever height is asked for,
        // its cells are kSystemCellHeight pixels (the menu terminal's lines
        // and cursor are laid out 17 px apart for it).
        const int height = file == kSystem ? kSystemCellHeight : std::clamp(font.Height, 1, 400);
        if (last && last->file == file && last->height == height) return *last;
        for (auto& face : faces)
            if (face->file == file && face->height == height) return *(last = face.get());
        faces.push_back(OpenFace(file, height));
        return *(last = faces.back().get());
    }

    // Opens the font at the point size whose cell height matches, and renders
    // every glyph of the code page once.
    std::unique_ptr<FontFace> OpenFace(GameFont file, int height) {
        if (!TTF_WasInit() && TTF_Init() != 0)
            throw MediaError(std::string("Cannot start the font renderer: ") + TTF_GetError());
        const std::string& path = files[file].path;
        const long index = files[file].index;
        if (bytes[file].empty()) {
            const WholeFileRead read = ReadWholeFile(path, kMostFontBytes, bytes[file]);
            if (!read.Ok()) throw MediaError("Cannot open font file " + path + ": " + read.problem);
        }
        const std::string& data = bytes[file];
        auto open = [&](int points) {
            return TTF_OpenFontIndexRW(SDL_RWFromConstMem(data.data(), int(data.size())), 1, points, index);
        };
        TTF_Font* probe = open(12);
        if (!probe) throw MediaError("Cannot open font file " + path + ": " + TTF_GetError());
        int best = 1;
        for (int pt = 1; pt <= height * 2; ++pt) {
            if (TTF_SetFontSize(probe, pt) != 0) break;
            const int h = TTF_FontHeight(probe);
            if (h <= height) best = pt;
            if (h >= height) break;
        }
        TTF_CloseFont(probe);
        TTF_Font* ttf = open(best);
        if (!ttf) throw MediaError("Cannot open font file " + path + ": " + TTF_GetError());
        TTF_SetFontHinting(ttf, TTF_HINTING_NORMAL);

        auto face = std::make_unique<FontFace>();
        face->file = file;
        face->height = height;
        face->font = ttf;
        const SDL_Color white{255, 255, 255, 255};
        for (int code = 0x20; code < 0x100; ++code) {
            const char32_t ch = Cp1250ToUnicode(uint8_t(code));
            if (ch < 0x20 || (ch >= 0x7F && ch < 0xA0) || ch == 0xAD) continue;  // controls draw nothing
            Glyph& glyph = face->glyphs[code];
            int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
            if (TTF_GlyphMetrics32(ttf, Uint32(ch), &minX, &maxX, &minY, &maxY, &advance) != 0) continue;
            glyph.advance = advance;
            glyph.offsetX = std::min(0, minX);
            SDL_Surface* rendered = TTF_RenderGlyph32_Blended(ttf, Uint32(ch), white);
            if (!rendered) continue;
            SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
            SDL_FreeSurface(rendered);
            if (!argb) continue;
            glyph.width = argb->w;
            glyph.height = argb->h;
            glyph.mask = face->masks.size();
            SDL_LockSurface(argb);
            for (int y = 0; y < argb->h; ++y) {
                const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                                        size_t(y) * size_t(argb->pitch));
                for (int x = 0; x < argb->w; ++x) face->masks.push_back(uint8_t(row[x] >> 24));
            }
            SDL_UnlockSurface(argb);
            SDL_FreeSurface(argb);
        }
        return face;
    }
};

FontCache* CreateFontCache() {
    auto cache = std::make_unique<FontCache>();
    for (int i = 0; i < kGameFontCount; ++i) cache->files[i] = FindGameFont(GameFont(i));
    return cache.release();
}

void DestroyFontCache(FontCache* cache) { delete cache; }

namespace {

// One cache for every canvas that was not given its own.
FontCache* SharedFontCache() {
    static std::unique_ptr<FontCache> shared(CreateFontCache());
    return shared.get();
}

inline void Plot(Surface& s, int x, int y, uint16_t pixel) {
    if (unsigned(x) < unsigned(kSurfaceWidth) && unsigned(y) < unsigned(kSurfaceHeight)) s.pixels[y][x] = pixel;
}

void Fill(Surface& s, int left, int top, int right, int bottom, uint16_t pixel) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, kSurfaceWidth);
    bottom = std::min(bottom, kSurfaceHeight);
    for (int y = top; y < bottom; ++y) std::fill(&s.pixels[y][left], &s.pixels[y][0] + right, pixel);
}

// Mixes the font colour into a 5-6-5 pixel by an 8-bit coverage.
inline uint16_t Mix(uint16_t dst, int r, int g, int b, int alpha) {
    const int dr = dst >> 11, dg = (dst >> 5) & 0x3F, db = dst & 0x1F;
    return uint16_t(((dr + (r - dr) * alpha / 255) << 11) | ((dg + (g - dg) * alpha / 255) << 5) |
                    (db + (b - db) * alpha / 255));
}

}  // namespace

void PreloadFonts(Canvas& canvas) {
    if (!canvas.fonts) canvas.fonts = SharedFontCache();
    static const CanvasFont kGameFaces[] = {
        {"Arial", 12, false, 0}, {"Arial", 12, true, 0},  {"Arial", 13, false, 0}, {"Arial", 19, true, 0},
        {"Arial", 15, true, 0},  {"Arial", 20, false, 0}, {"Arial", 25, true, 0},  {"System", 25, true, 0},
    };
    for (const CanvasFont& font : kGameFaces) canvas.fonts->Face(font);
}

Canvas& SurfaceCanvas(Canvas& canvas) {
    if (!canvas.fonts) canvas.fonts = SharedFontCache();
    canvas.active = true;
    return canvas;
}

void ReleaseCanvas(Canvas& canvas) { canvas.active = false; }

int TextWidth(Canvas& canvas, std::string_view cp1250Text) {
    if (!canvas.fonts) canvas.fonts = SharedFontCache();
    FontFace& face = canvas.fonts->Face(canvas.Font);
    int width = 0;
    for (char c : cp1250Text) width += face.glyphs[uint8_t(c)].advance;
    return width;
}

void TextOut(Canvas& canvas, int x, int y, std::string_view cp1250Text) {
    if (!canvas.surface) return;
    if (!canvas.fonts) canvas.fonts = SharedFontCache();
    Surface& s = *canvas.surface;
    FontFace& face = canvas.fonts->Face(canvas.Font);
    const int width = TextWidth(canvas, cp1250Text);
    Fill(s, x, y, x + width, y + face.height, ColorTo565(canvas.BrushColor));

    const uint16_t ink = ColorTo565(canvas.Font.Color);
    const int r = ink >> 11, g = (ink >> 5) & 0x3F, b = ink & 0x1F;
    int pen = x;
    for (char c : cp1250Text) {
        const Glyph& glyph = face.glyphs[uint8_t(c)];
        const int gx = pen + glyph.offsetX;
        const int x0 = std::max(0, -gx), x1 = std::min(glyph.width, kSurfaceWidth - gx);
        const int y0 = std::max(0, -y), y1 = std::min(glyph.height, kSurfaceHeight - y);
        pen += glyph.advance;
        if (x0 >= x1) continue;
        for (int row = y0; row < y1; ++row) {
            const uint8_t* mask = &face.masks[glyph.mask + size_t(row) * size_t(glyph.width) + size_t(x0)];
            uint16_t* dst = &s.pixels[y + row][gx + x0];
            for (int i = 0; i < x1 - x0; ++i) {
                const int alpha = mask[i];
                if (alpha == 0) continue;
                dst[i] = alpha == 255 ? ink : Mix(dst[i], r, g, b, alpha);
            }
        }
    }
}

void MoveTo(Canvas& canvas, int x, int y) {
    canvas.penX = x;
    canvas.penY = y;
}

void LineTo(Canvas& canvas, int x, int y) {
    const int x1 = canvas.penX, y1 = canvas.penY;
    canvas.penX = x;
    canvas.penY = y;
    if (!canvas.surface) return;
    Surface& s = *canvas.surface;
    const uint16_t pixel = ColorTo565(canvas.PenColor);
    // Bresenham from the current point, stopping one pixel short of the end.
    const int dx = std::abs(x - x1), dy = std::abs(y - y1);
    const int sx = x >= x1 ? 1 : -1, sy = y >= y1 ? 1 : -1;
    int px = x1, py = y1;
    if (dx >= dy) {
        int error = 2 * dy - dx;
        for (int i = 0; i < dx; ++i) {
            Plot(s, px, py, pixel);
            if (error < 0) {
                error += 2 * dy;
            } else {
                error += 2 * (dy - dx);
                py += sy;
            }
            px += sx;
        }
    } else {
        int error = 2 * dx - dy;
        for (int i = 0; i < dy; ++i) {
            Plot(s, px, py, pixel);
            if (error < 0) {
                error += 2 * dx;
            } else {
                error += 2 * (dx - dy);
                px += sx;
            }
            py += sy;
        }
    }
}

void FillRect(Canvas& canvas, const Rect& rect) {
    if (!canvas.surface || rect.Empty()) return;
    Fill(*canvas.surface, rect.left, rect.top, rect.right, rect.bottom, ColorTo565(canvas.BrushColor));
}

namespace {
void Frame(Surface& s, int left, int top, int right, int bottom, uint16_t pixel) {
    Fill(s, left, top, right, top + 1, pixel);
    Fill(s, left, bottom - 1, right, bottom, pixel);
    Fill(s, left, top, left + 1, bottom, pixel);
    Fill(s, right - 1, top, right, bottom, pixel);
}
}  // namespace

void FrameRect(Canvas& canvas, const Rect& rect) {
    if (!canvas.surface || rect.Empty()) return;
    Frame(*canvas.surface, rect.left, rect.top, rect.right, rect.bottom, ColorTo565(canvas.BrushColor));
}

void Rectangle(Canvas& canvas, int left, int top, int right, int bottom) {
    if (!canvas.surface || right <= left || bottom <= top) return;
    Fill(*canvas.surface, left + 1, top + 1, right - 1, bottom - 1, ColorTo565(canvas.BrushColor));
    Frame(*canvas.surface, left, top, right, bottom, ColorTo565(canvas.PenColor));
}

namespace {

constexpr double kTwoPi = 6.283185307179586;

struct Wedge {
    double cx, cy, rx, ry;
    double sx, sy, ex, ey;  // start and end rays, y pointing up
    bool full, wide;        // wide: the sweep exceeds half a turn
    // Counter-clockwise as seen on the screen; side tests instead of angles.
    bool Contains(int px, int py) const {
        const double ux = px + 0.5 - cx, uy = -(py + 0.5 - cy);
        const double nx = ux / rx, ny = uy / ry;
        if (nx * nx + ny * ny > 1.0) return false;
        if (full) return true;
        const double fromStart = sx * uy - sy * ux;  // > 0: u lies counter-clockwise of the start ray
        const double toEnd = ux * ey - uy * ex;      // > 0: u lies clockwise of the end ray
        if (!wide) return fromStart >= 0 && toEnd >= 0;
        return fromStart >= 0 || toEnd >= 0;
    }
};

}  // namespace

void Pie(Canvas& canvas, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (!canvas.surface) return;
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    if (right <= left || bottom <= top) return;
    Wedge wedge;
    wedge.cx = (left + right) / 2.0;
    wedge.cy = (top + bottom) / 2.0;
    wedge.rx = (right - left) / 2.0;
    wedge.ry = (bottom - top) / 2.0;
    wedge.sx = x3 - wedge.cx;
    wedge.sy = -(y3 - wedge.cy);
    wedge.ex = x4 - wedge.cx;
    wedge.ey = -(y4 - wedge.cy);
    const double start = std::atan2(wedge.sy, wedge.sx), end = std::atan2(wedge.ey, wedge.ex);
    const double sweep = std::fmod(end - start + 2 * kTwoPi, kTwoPi);
    // Rays through the same direction close the whole ellipse.
    wedge.full = sweep < 1e-9;
    wedge.wide = sweep > kTwoPi / 2;

    Surface& s = *canvas.surface;
    const uint16_t brush = ColorTo565(canvas.BrushColor), pen = ColorTo565(canvas.PenColor);
    const int y0 = std::max(top, 0), y1c = std::min(bottom, kSurfaceHeight);
    const int x0 = std::max(left, 0), x1c = std::min(right, kSurfaceWidth);
    for (int py = y0; py < y1c; ++py) {
        for (int px = x0; px < x1c; ++px) {
            if (!wedge.Contains(px, py)) continue;
            // Pixels at the edge of the wedge (a four-neighbour outside) form the outline.
            const bool edge = !wedge.Contains(px - 1, py) || !wedge.Contains(px + 1, py) ||
                              !wedge.Contains(px, py - 1) || !wedge.Contains(px, py + 1);
            s.pixels[py][px] = edge ? pen : brush;
        }
    }
}
