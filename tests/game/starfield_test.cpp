// The background stars: where each is drawn, how it falls in the three star
// modes, how it comes back at the top, and the scroll distance clock.
#include "game/starfield.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

int CountLitPixels(const Surface& surface) {
    int lit = 0;
    for (const auto& row : surface.pixels) {
        for (uint16_t pixel : row) lit += pixel != 0;
    }
    return lit;
}

// Puts every star off screen except the first few so pixels can be told apart.
void HideStars(GameState& g) {
    for (Star& star : g.Stars) {
        star.X = 900;
        star.Y = 10;
        star.Speed = 1;
    }
}

TEST(Starfield, ClearsDrawsEachStarAndFallsBySpeed) {
    TestWorld t = MakeTestWorld(false);
    World& w = t.w();
    GameState& g = w.game;
    HideStars(g);
    g.Stars[0] = Star{10, 20, 0x888888, 1};
    g.Stars[1] = Star{799, 599, 0x4C4C4C, 1};
    g.Stars[2] = Star{400, 0, 0x6C6C6C, 3};
    FillSurface(*w.media.back, 0xFFFF);
    const int32_t scroll = g.Progress.ScrollDistance;

    DrawStarfield(w);

    const Surface& back = *w.media.back;
    EXPECT_EQ(back.pixels[20][10], ColorTo565(0x888888));
    EXPECT_EQ(back.pixels[599][799], ColorTo565(0x4C4C4C));
    EXPECT_EQ(back.pixels[0][400], ColorTo565(0x6C6C6C));
    EXPECT_EQ(CountLitPixels(back), 3);
    EXPECT_FALSE(back.locked);
    EXPECT_EQ(g.Stars[0].Y, 21);
    EXPECT_EQ(g.Stars[1].Y, 600);  // 600 is still on the field
    EXPECT_EQ(g.Stars[2].Y, 3);
    EXPECT_EQ(g.Progress.ScrollDistance, scroll + 1);

    // A star at y 600 lies just below the surface: nothing is drawn for it.
    DrawStarfield(w);
    EXPECT_EQ(CountLitPixels(back), 2);
    EXPECT_EQ(g.Progress.ScrollDistance, scroll + 2);
}

TEST(Starfield, MirroredAndFastModes) {
    TestWorld t = MakeTestWorld(false);
    World& w = t.w();
    GameState& g = w.game;
    HideStars(g);
    g.Stars[0] = Star{50, 100, 0x808080, 2};
    g.StarMode = 1;
    DrawStarfield(w);
    EXPECT_EQ(w.media.back->pixels[500][50], ColorTo565(0x808080));
    EXPECT_EQ(w.media.back->pixels[100][50], 0);
    EXPECT_EQ(g.Stars[0].Y, 102);  // mirrored stars still count downward

    g.StarMode = 2;
    DrawStarfield(w);
    EXPECT_EQ(w.media.back->pixels[102][50], ColorTo565(0x808080));
    EXPECT_EQ(g.Stars[0].Y, 112);
}

TEST(Starfield, StarLeavingTheBottomReturnsAtTheTopWithItsColour) {
    TestWorld t = MakeTestWorld(false);
    World& w = t.w();
    GameState& g = w.game;
    HideStars(g);
    g.Stars[5] = Star{123, 598, 0x6C6C6C, 3};
    Random expected = w.random;
    DrawStarfield(w);
    // New x first, then the new speed: the order of draws matters.
    const int32_t x = RandomInt(expected, 800);
    const int32_t speed = RandomInt(expected, 3) + 1;
    EXPECT_EQ(g.Stars[5].Y, 0);
    EXPECT_EQ(g.Stars[5].X, x);
    EXPECT_EQ(g.Stars[5].Speed, speed);
    EXPECT_EQ(g.Stars[5].Colour, 0x6C6C6C);
    EXPECT_EQ(w.random.seed, expected.seed);  // no other star drew

    // Over many frames every star stays on the field with a legal speed.
    for (int frame = 0; frame < 700; ++frame) DrawStarfield(w);
    for (const Star& star : g.Stars) {
        if (star.X == 900) continue;
        EXPECT_GE(star.X, 0);
        EXPECT_LT(star.X, 800);
        EXPECT_GE(star.Y, 0);
        EXPECT_LE(star.Y, 600);
        EXPECT_GE(star.Speed, 1);
        EXPECT_LE(star.Speed, 3);
    }
}

}  // namespace
