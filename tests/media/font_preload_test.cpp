// Fonts are loaded at start-up: once they are preloaded, writing text in any
// of the game's faces loads no font file and touches no heap. This program
// counts its own allocations.
#include <gtest/gtest.h>

#include <memory>

#include "heap_counter.h"
#include "media/canvas.h"

TEST(FontPreload, TextInEveryGameFaceAllocatesNothingOncePreloaded) {
    auto surface = std::make_unique<Surface>();
    Canvas canvas;
    canvas.surface = surface.get();
    PreloadFonts(canvas);
    const CanvasFont faces[] = {
        {"Arial", 12, true, 0xFF00},  {"Arial", 12, false, 0xFFFFFF}, {"Arial", 13, false, 0x039F15},
        {"Arial", 19, true, 0x8000},  {"Arial", 20, false, 0xAA00},   {"Arial", 25, true, 0x8000},
        {"system", 25, true, 0x8000}, {"System", 25, false, 0x8000},
    };
    counting = true;
    for (const CanvasFont& font : faces) {
        SurfaceCanvas(canvas);
        canvas.Font = font;
        canvas.BrushColor = 0;
        TextOut(canvas, 40, 40,
                "\x8A"
                "koda, FPS: 60");
        EXPECT_GT(TextWidth(canvas, "KAVRIX"), 0);
        ReleaseCanvas(canvas);
    }
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
}
