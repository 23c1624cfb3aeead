// Direct pixel access on the back surface: colour conversion, per-pixel
// clipping of PutPixel and of Bresenham lines, and the surface hash.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>

#include "media/surface.h"

namespace {

using PixelSet = std::set<std::pair<int, int>>;

struct SurfaceTest : ::testing::Test {
    std::unique_ptr<Surface> surface = std::make_unique<Surface>();
    PixelSet Written(uint16_t background = 0) const {
        PixelSet written;
        for (int y = 0; y < kSurfaceHeight; ++y)
            for (int x = 0; x < kSurfaceWidth; ++x)
                if (surface->pixels[y][x] != background) written.insert({x, y});
        return written;
    }
    PixelSet Line(int x1, int y1, int x2, int y2) {
        FillSurface(*surface, 0);
        LockSurface(*surface);
        DrawPixelLine(*surface, x1, y1, x2, y2, 255, 255, 255);
        UnlockSurface(*surface);
        return Written();
    }
};

TEST_F(SurfaceTest, ColoursAreWrittenAsFiveSixFive) {
    LockSurface(*surface);
    PutPixel(*surface, 0, 0, 0x0000FF);    // red in the low byte
    PutPixel(*surface, 1, 0, 0x00FF00);    // green
    PutPixel(*surface, 2, 0, 0xFF0000);    // blue in the high byte
    PutPixel(*surface, 3, 0, 0x0C0804);    // low bits of every channel are dropped
    PutPixel(*surface, 4, 0, 0x123456FF);  // bits above 24 are ignored
    UnlockSurface(*surface);
    EXPECT_EQ(surface->pixels[0][0], 0xF800);
    EXPECT_EQ(surface->pixels[0][1], 0x07E0);
    EXPECT_EQ(surface->pixels[0][2], 0x001F);
    EXPECT_EQ(surface->pixels[0][3], (0 << 11) | (2 << 5) | 1);
    EXPECT_EQ(surface->pixels[0][4], ColorTo565(0x3456FF));
    EXPECT_EQ(RgbTo565(255, 0, 0), 0xF800);
    EXPECT_EQ(RgbTo565(0x84, 0x88, 0x8C), ColorTo565(0x8C8884));
}

TEST_F(SurfaceTest, FillUsesTheLowSixteenBits) {
    FillSurface(*surface, 0xFFFFFF);
    EXPECT_EQ(Written(0xFFFF).size(), 0u);
    FillSurface(*surface, 0);
    EXPECT_EQ(Written(0).size(), 0u);
}

TEST_F(SurfaceTest, PutPixelOutsideTheSurfaceWritesNothing) {
    LockSurface(*surface);
    for (auto [x, y] : {std::pair{800, 10}, {-1, 10}, {10, -1}, {10, 600}, {-100000, 5}, {5, 100000}})
        PutPixel(*surface, x, y, 0xFFFFFF);
    EXPECT_TRUE(Written().empty());
    PutPixel(*surface, 799, 599, 0xFFFFFF);
    PutPixel(*surface, 0, 0, 0xFFFFFF);
    UnlockSurface(*surface);
    EXPECT_EQ(Written(), (PixelSet{{0, 0}, {799, 599}}));
}

TEST_F(SurfaceTest, LinesAreClippedPixelByPixel) {
    EXPECT_EQ(Line(-5, 5, 5, 5), (PixelSet{{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
    EXPECT_EQ(Line(797, 599, 803, 599), (PixelSet{{797, 599}, {798, 599}, {799, 599}}));
    EXPECT_TRUE(Line(-10, -10, -1, -1).empty());
    // A long line from far off screen still enters where it should.
    const PixelSet diagonal = Line(-100, -100, 2, 2);
    EXPECT_EQ(diagonal, (PixelSet{{0, 0}, {1, 1}, {2, 2}}));
}

TEST_F(SurfaceTest, BresenhamShapes) {
    // Shallow: x steps every pixel, y on the error term.
    EXPECT_EQ(Line(0, 0, 4, 2), (PixelSet{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
    // Steep: the roles swap.
    EXPECT_EQ(Line(0, 0, 2, 4), (PixelSet{{0, 0}, {1, 1}, {1, 2}, {2, 3}, {2, 4}}));
    // Drawn toward the first point, the steps go the other way along the same rule.
    EXPECT_EQ(Line(4, 2, 0, 0), (PixelSet{{4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}));
    // Both ends included; a single point is one pixel.
    EXPECT_EQ(Line(3, 3, 3, 3), (PixelSet{{3, 3}}));
    EXPECT_EQ(Line(10, 20, 10, 16).size(), 5u);
    // A 45 degree line and a line with dx = 5, dy = 1.
    EXPECT_EQ(Line(5, 5, 1, 9), (PixelSet{{5, 5}, {4, 6}, {3, 7}, {2, 8}, {1, 9}}));
    EXPECT_EQ(Line(0, 0, 5, 1), (PixelSet{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 1}}));
}

TEST_F(SurfaceTest, LineColourComesFromThreeChannels) {
    LockSurface(*surface);
    DrawPixelLine(*surface, 0, 0, 0, 0, 0, 0, 255);
    DrawPixelLine(*surface, 1, 0, 1, 0, 255, 128, 0);
    UnlockSurface(*surface);
    EXPECT_EQ(surface->pixels[0][0], 0x001F);
    EXPECT_EQ(surface->pixels[0][1], ColorTo565(0x0080FF));
}

TEST_F(SurfaceTest, HashTellsSurfacesApart) {
    FillSurface(*surface, 0);
    const uint64_t black = SurfaceHash(*surface);
    surface->pixels[599][799] = 1;
    EXPECT_NE(SurfaceHash(*surface), black);
    surface->pixels[599][799] = 0;
    EXPECT_EQ(SurfaceHash(*surface), black);
    // Every position counts, and so does the order of the pixels.
    std::set<uint64_t> hashes{black};
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {400, 300}, {0, 1}}) {
        surface->pixels[y][x] = 0xF800;
        EXPECT_TRUE(hashes.insert(SurfaceHash(*surface)).second) << x << "," << y;
        surface->pixels[y][x] = 0;
    }
    surface->pixels[10][10] = 1;
    surface->pixels[10][11] = 2;
    const uint64_t ordered = SurfaceHash(*surface);
    std::swap(surface->pixels[10][10], surface->pixels[10][11]);
    EXPECT_NE(SurfaceHash(*surface), ordered);
}

}  // namespace
