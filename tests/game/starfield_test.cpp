// The background stars: where each is drawn in the three star modes, how
// it falls and comes back at the top, and the scroll distance clock.
#include "game/starfield.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

int CountLitPixels(const Surface& surface) {
    int lit = 0;
    for (const auto& row : surface.pixels)
        for (uint16_t pixel : row) lit += pixel != 0;
    return lit;
}

// A world whose stars are all off screen except those a test places.
struct Sky {
    TestWorld t = MakeTestWorld(false);
    World& w = t.w();
    GameState& g = w.game;
    Sky() {
        for (Star& star : g.Stars) star = Star{900, 10, 0x888888, 1};
    }
};

TEST(Starfield, ClearsDrawsEachStarAndFallsBySpeed) {
    Sky s;
    s.g.Stars[0] = Star{10, 20, 0x888888, 1};
    s.g.Stars[1] = Star{799, 599, 0x4C4C4C, 1};
    s.g.Stars[2] = Star{400, 0, 0x6C6C6C, 3};
    FillSurface(*s.w.media.back, 0xFFFF);
    const int32_t scroll = s.g.Progress.ScrollDistance;
    DrawStarfield(s.w);
    const Surface& back = *s.w.media.back;
    EXPECT_EQ(back.pixels[20][10], ColorTo565(0x888888));
    EXPECT_EQ(back.pixels[599][799], ColorTo565(0x4C4C4C));
    EXPECT_EQ(back.pixels[0][400], ColorTo565(0x6C6C6C));
    EXPECT_EQ(CountLitPixels(back), 3);
    EXPECT_FALSE(back.locked);
    EXPECT_EQ(s.g.Stars[2].Y, 3);
    EXPECT_EQ(s.g.Stars[1].Y, 600);  // 600 is still on the field, drawn off the surface
    EXPECT_EQ(s.g.Progress.ScrollDistance, scroll + 1);
    DrawStarfield(s.w);
    EXPECT_EQ(CountLitPixels(back), 2);

    // Mirrored for the ending: drawn at 600 - Y, still counting downward.
    s.g.StarMode = 1;
    s.g.Stars[0] = Star{50, 100, 0x808080, 2};
    DrawStarfield(s.w);
    EXPECT_EQ(back.pixels[500][50], ColorTo565(0x808080));
    EXPECT_EQ(s.g.Stars[0].Y, 102);
    // Fast for the intro: 8 more pixels a frame.
    s.g.StarMode = 2;
    DrawStarfield(s.w);
    EXPECT_EQ(back.pixels[102][50], ColorTo565(0x808080));
    EXPECT_EQ(s.g.Stars[0].Y, 112);
}

TEST(Starfield, StarLeavingTheBottomReturnsAtTheTopWithItsColour) {
    Sky s;
    s.g.Stars[5] = Star{123, 598, 0x6C6C6C, 3};
    Random expected = s.w.random;
    DrawStarfield(s.w);
    // A new x first, then a new speed.
    const int32_t x = RandomInt(expected, 800);
    EXPECT_EQ(s.g.Stars[5].Y, 0);
    EXPECT_EQ(s.g.Stars[5].X, x);
    EXPECT_EQ(s.g.Stars[5].Speed, RandomInt(expected, 3) + 1);
    EXPECT_EQ(s.g.Stars[5].Colour, 0x6C6C6C);
    EXPECT_EQ(s.w.random.seed, expected.seed);  // no other star drew
}

}  // namespace
