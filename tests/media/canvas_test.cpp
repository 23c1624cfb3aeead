// Text and shapes on the back surface: opaque text boxes of the cell height,
// Czech letters from cp1250, pen lines without their end point, rectangles,
// frames and pies.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "media/canvas.h"
#include "media/cp1250.h"

namespace {

constexpr uint16_t kBackground = 0x1234;

struct CanvasTest : ::testing::Test {
    std::unique_ptr<Surface> surface = std::make_unique<Surface>();
    Canvas canvas;
    void SetUp() override {
        FillSurface(*surface, kBackground);
        canvas.surface = surface.get();
        SurfaceCanvas(canvas);
    }
    void TearDown() override { ReleaseCanvas(canvas); }
    uint16_t At(int x, int y) const { return surface->pixels[y][x]; }
    // Bounding box of the pixels that are no longer the background.
    Rect Changed() const {
        Rect box{kSurfaceWidth, kSurfaceHeight, 0, 0};
        for (int y = 0; y < kSurfaceHeight; ++y)
            for (int x = 0; x < kSurfaceWidth; ++x)
                if (surface->pixels[y][x] != kBackground) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x + 1);
                    box.bottom = std::max(box.bottom, y + 1);
                }
        return box;
    }
    int Count(uint16_t pixel, const Rect& area) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += surface->pixels[y][x] == pixel;
        return n;
    }
};

TEST_F(CanvasTest, TextSitsOnAnOpaqueBoxOfTheCellHeight) {
    for (const char* name : {"Arial", "System", "system"}) {
        // "System" has one size: 16 px cells whatever height is asked for.
        const bool fixed = name[0] != 'A';
        for (int asked : {12, 13, 19, 20, 25}) {
            const int height = fixed ? 16 : asked;
            for (bool bold : {false, true}) {
                FillSurface(*surface, kBackground);
                canvas.Font = CanvasFont{name, asked, bold, 0x00FF00};
                canvas.BrushColor = 0x000000;
                const std::string text = "Skore 120";
                const int width = TextWidth(canvas, text);
                ASSERT_GT(width, height) << name << " " << asked;
                TextOut(canvas, 100, 50, text);
                const Rect box{100, 50, 100 + width, 50 + height};
                const Rect changed = Changed();
                // The box covers the cell exactly; glyphs may overhang it sideways only.
                EXPECT_EQ(changed.top, 50) << name << " " << height;
                EXPECT_EQ(changed.bottom, 50 + height) << name << " " << height;
                EXPECT_GE(changed.left, 98);
                EXPECT_LE(changed.right, 100 + width + 2);
                const int ink = Count(ColorTo565(0x00FF00), box);
                const int paper = Count(0, box);
                EXPECT_GT(ink, 0) << name << " " << height;
                EXPECT_GT(paper, ink) << name << " " << height;
                // Antialiased edges lie between the two colours.
                EXPECT_EQ(Count(kBackground, box), 0);
            }
        }
    }
}

TEST_F(CanvasTest, CzechLettersHaveTheirOwnGlyphs) {
    canvas.Font = CanvasFont{"Arial", 20, false, 0xFFFFFF};
    canvas.BrushColor = 0x000000;
    const std::string line = Utf8ToCp1250("Příliš žluťoučký kůň");
    EXPECT_EQ(line.size(), 20u);
    const int width = TextWidth(canvas, line);
    EXPECT_GT(width, 20 * 4);
    TextOut(canvas, 10, 10, line);
    EXPECT_GT(Count(ColorTo565(0xFFFFFF), Rect{10, 10, 10 + width, 30}), 50);

    // Each accented letter differs from its plain letter, and the accent adds
    // ink above the plain letter's top.
    const char* pairs[][2] = {{"á", "a"}, {"č", "c"}, {"é", "e"}, {"ě", "e"}, {"í", "i"}, {"ň", "n"}, {"ó", "o"},
                              {"ř", "r"}, {"š", "s"}, {"ú", "u"}, {"ů", "u"}, {"ý", "y"}, {"ž", "z"}, {"Č", "C"},
                              {"Ř", "R"}, {"Š", "S"}, {"Ž", "Z"}, {"Ě", "E"}, {"Ů", "U"}, {"Ý", "Y"}};
    for (auto& pair : pairs) {
        const std::string accented = Utf8ToCp1250(pair[0]), plain = Utf8ToCp1250(pair[1]);
        ASSERT_EQ(accented.size(), 1u);
        EXPECT_GT(TextWidth(canvas, accented), 0) << pair[0];
        FillSurface(*surface, kBackground);
        TextOut(canvas, 100, 100, plain);
        const int plainTop = [&] {
            for (int y = 100; y < 120; ++y)
                for (int x = 95; x < 130; ++x)
                    if (At(x, y) != 0 && At(x, y) != kBackground) return y;
            return 120;
        }();
        FillSurface(*surface, kBackground);
        TextOut(canvas, 100, 100, accented);
        int accentedTop = 120;
        for (int y = 119; y >= 100; --y)
            for (int x = 95; x < 130; ++x)
                if (At(x, y) != 0 && At(x, y) != kBackground) accentedTop = y;
        EXPECT_LT(accentedTop, plainTop) << pair[0];
    }

    // The apostrophe-like caron of d and t sits beside the letter: the
    // glyphs still differ from the plain ones.
    for (auto& pair : {std::pair{"ď", "d"}, std::pair{"ť", "t"}}) {
        FillSurface(*surface, kBackground);
        TextOut(canvas, 100, 100, Utf8ToCp1250(pair.second));
        auto plain = std::make_unique<Surface>(*surface);
        FillSurface(*surface, kBackground);
        TextOut(canvas, 100, 100, Utf8ToCp1250(pair.first));
        EXPECT_NE(SurfaceHash(*surface), SurfaceHash(*plain)) << pair.first;
    }
}

TEST_F(CanvasTest, TextIsClippedAtTheSurfaceEdges) {
    canvas.Font = CanvasFont{"System", 25, true, 0xFFFFFF};
    canvas.BrushColor = 0x0000FF;
    const std::string text = Utf8ToCp1250("Šťastná cesta");
    TextOut(canvas, 780, 590, text);
    TextOut(canvas, -60, -12, text);
    TextOut(canvas, 900, 700, text);
    EXPECT_EQ(Changed().left, 0);
    EXPECT_EQ(Changed().bottom, 600);
}

TEST_F(CanvasTest, PenLinesStopBeforeTheEndPoint) {
    canvas.PenColor = 0x0000FF;
    const uint16_t red = ColorTo565(0x0000FF);
    MoveTo(canvas, 10, 10);
    LineTo(canvas, 15, 10);
    EXPECT_EQ(Count(red, Rect{0, 0, 800, 600}), 5);
    EXPECT_EQ(At(10, 10), red);
    EXPECT_EQ(At(14, 10), red);
    EXPECT_EQ(At(15, 10), kBackground);
    // The pen moved to the end point: the next line starts there.
    LineTo(canvas, 15, 13);
    EXPECT_EQ(At(15, 10), red);
    EXPECT_EQ(At(15, 12), red);
    EXPECT_EQ(At(15, 13), kBackground);
    // A line to the current point draws nothing; lines off the surface are clipped.
    LineTo(canvas, 15, 13);
    MoveTo(canvas, -5, 300);
    LineTo(canvas, 3, 300);
    EXPECT_EQ(Count(red, Rect{0, 0, 800, 600}), 5 + 3 + 3);
}

TEST_F(CanvasTest, RectanglesFramesAndFills) {
    const uint16_t pen = ColorTo565(0x0000FF), brush = ColorTo565(0xFF0000);
    canvas.PenColor = 0x0000FF;
    canvas.BrushColor = 0xFF0000;
    Rectangle(canvas, 10, 10, 20, 15);
    EXPECT_EQ(Changed().left, 10);
    EXPECT_EQ(Changed().right, 20);
    EXPECT_EQ(Changed().bottom, 15);
    EXPECT_EQ(At(10, 10), pen);
    EXPECT_EQ(At(19, 14), pen);
    EXPECT_EQ(At(15, 12), brush);
    EXPECT_EQ(Count(pen, Rect{0, 0, 800, 600}), 2 * 10 + 2 * 3);

    FillSurface(*surface, kBackground);
    FrameRect(canvas, Rect{100, 100, 110, 104});
    EXPECT_EQ(Count(brush, Rect{0, 0, 800, 600}), 2 * 10 + 2 * 2);
    EXPECT_EQ(At(105, 102), kBackground);

    FillSurface(*surface, kBackground);
    FillRect(canvas, Rect{790, 590, 810, 610});
    EXPECT_EQ(Count(brush, Rect{0, 0, 800, 600}), 10 * 10);
    FillRect(canvas, Rect{5, 5, 5, 50});
    EXPECT_EQ(Count(brush, Rect{0, 0, 800, 600}), 100);
}

TEST_F(CanvasTest, PieCoversTheWedgeCounterClockwise) {
    canvas.PenColor = 0x000000;
    canvas.BrushColor = 0x000000;
    const Rect bounds{356, 194, 452, 290};  // a circle of diameter 96 around (404, 242)
    // Both rays through the same point: the whole circle.
    Pie(canvas, 356, 194, 452, 290, 356, 194, 356, 194);
    const int circle = Count(0, bounds);
    EXPECT_NEAR(circle, 3.14159 * 48 * 48, 150);
    EXPECT_EQ(Count(0, Rect{0, 0, 800, 600}), circle);
    EXPECT_EQ(At(404, 242), 0);
    EXPECT_EQ(At(356, 194), kBackground);  // the corner lies outside the circle

    // From east counter-clockwise to north: the upper right quarter.
    FillSurface(*surface, kBackground);
    Pie(canvas, 356, 194, 452, 290, 452, 242, 404, 194);
    EXPECT_EQ(At(430, 220), 0);
    EXPECT_EQ(At(380, 220), kBackground);
    EXPECT_EQ(At(430, 265), kBackground);
    EXPECT_EQ(At(380, 265), kBackground);
    EXPECT_NEAR(Count(0, bounds), circle / 4, 120);

    // From east counter-clockwise to south: three quarters, all but the lower right.
    FillSurface(*surface, kBackground);
    Pie(canvas, 356, 194, 452, 290, 452, 242, 404, 290);
    EXPECT_EQ(At(430, 220), 0);
    EXPECT_EQ(At(380, 220), 0);
    EXPECT_EQ(At(380, 265), 0);
    EXPECT_EQ(At(430, 265), kBackground);
    EXPECT_NEAR(Count(0, bounds), circle * 3 / 4, 120);

    // From east to west: the upper half; from west to east: the lower half.
    FillSurface(*surface, kBackground);
    Pie(canvas, 356, 194, 452, 290, 452, 242, 356, 242);
    EXPECT_EQ(At(404, 220), 0);
    EXPECT_EQ(At(404, 265), kBackground);
    FillSurface(*surface, kBackground);
    Pie(canvas, 356, 194, 452, 290, 356, 242, 452, 242);
    EXPECT_EQ(At(404, 220), kBackground);
    EXPECT_EQ(At(404, 265), 0);
}

TEST_F(CanvasTest, PieOutlineInThePenColour) {
    const uint16_t pen = ColorTo565(0x0000FF), brush = ColorTo565(0xFF0000);
    canvas.PenColor = 0x0000FF;
    canvas.BrushColor = 0xFF0000;
    Pie(canvas, 0, 0, 40, 40, 40, 20, 0, 20);  // upper half, partly off nothing
    EXPECT_EQ(At(20, 10), brush);
    EXPECT_EQ(At(20, 0), pen);                    // top of the arc
    EXPECT_EQ(At(5, 19), pen);                    // along the closing diameter
    Pie(canvas, -20, -20, 20, 20, 20, 0, 20, 0);  // clipped at the corner
    EXPECT_EQ(At(0, 0), brush);
}

}  // namespace
