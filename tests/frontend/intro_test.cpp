// The intro: how long each phase of the emblem lasts, the fades, the black
// pie that uncovers the spiky ring, the music at the title, and the hand-over
// to the menu within the title's last frame.
#include "frontend/intro.h"

#include <gtest/gtest.h>

#include <memory>

#include "frame_probes.h"
#include "shell/frame.h"
#include "shell/scene_changes.h"
#include "test_support.h"

namespace {

struct Intro {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    FrontEnd& f = w.front;
    Intro() {
        for (Star& star : w.game.Stars) star.X = 900;  // no stars over the emblem
        w.shell.CurrentScene = Scene::Intro;
    }
    void Frame() {
        FillSurface(*w.media.back, 0);
        RunIntro(w);
        ApplySceneRequests(w);  // as the frame does after the intro
    }
    int Phase() const { return f.IntroPhase == 0 ? 1 : f.IntroPhase; }
};

int LitIn(const Surface& s, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) n += s.pixels[y][x] != 0;
    return n;
}

TEST(IntroTiming, EachPhaseLastsItsFramesThenTheMenuFollows) {
    Intro in;
    int framesIn[7] = {};
    int musicFrame = -1, frame = 0;
    in.w.shell.MusicEnabled = 1;
    in.w.shell.MusicChannel = LoadSong(in.w.media.music, false, "audio\\intro.mod", 0, 0, 4);
    while (in.w.shell.CurrentScene == Scene::Intro && frame < 3000) {
        ++framesIn[in.Phase()];
        in.Frame();
        ++frame;
        if (musicFrame < 0 && IsSongPlaying(in.w.media.music, in.w.shell.MusicChannel) == 1) musicFrame = frame;
    }
    // Fades 0, 2, ..., 256: 129 frames each.
    EXPECT_EQ(framesIn[1], 129);
    EXPECT_EQ(framesIn[2], 129);
    // The sweep: 19 steps right, 19 down, 20 left, 19 up; each turn is made
    // in the frame of the next step, and one frame finds the corner home.
    EXPECT_EQ(framesIn[3], 78);
    // Phase 4 is first drawn in the frame the sweep ends (fade 0) and then
    // runs its fade 2 ... 256.
    EXPECT_EQ(framesIn[4], 128);
    EXPECT_EQ(framesIn[5], 301);
    // The title's first frame is the last frame of phase 5.
    EXPECT_EQ(framesIn[6], 800);
    EXPECT_EQ(musicFrame, 129 + 129 + 78 + 128 + 301);
    EXPECT_EQ(in.w.shell.CurrentScene, Scene::Menu);
    EXPECT_EQ(in.f.IntroTimer, 0);
    EXPECT_EQ(in.f.IntroFade, 256);  // stays once phase 5 is reached

    // The intro runs once per program run: its state is not set back.
    EXPECT_EQ(in.f.IntroPhase, 6);
}

TEST(IntroDrawing, TheCirclesFadeInOneAfterTheOther) {
    Intro in;
    in.Frame();  // fade 0: nothing yet
    EXPECT_EQ(LitIn(*in.w.media.back, 0, 0, 800, 600), 0);
    for (int i = 0; i < 63; ++i) in.Frame();
    in.Frame();  // fade 128: half way
    EXPECT_GT(LitIn(*in.w.media.back, 383, 221, 425, 263), 0);
    EXPECT_FALSE(Shows(in.w, in.w.media.MenuObr, "Vnitrni kruh", 383, 221));
    while (in.f.IntroFade < 256) in.Frame();
    in.Frame();  // fade 256: fully there, the last frame of phase 1
    EXPECT_TRUE(Shows(in.w, in.w.media.MenuObr, "Vnitrni kruh", 383, 221));
    EXPECT_EQ(in.f.IntroPhase, 2);
    EXPECT_EQ(in.f.IntroFade, 0);

    // Phase 2 blends the outer circle in while the inner one stands.
    in.Frame();
    EXPECT_TRUE(Shows(in.w, in.w.media.MenuObr, "Vnitrni kruh", 383, 221));
    EXPECT_EQ(LitIn(*in.w.media.back, 371, 209, 437, 275), LitIn(*in.w.media.back, 383, 221, 425, 263));
}

TEST(IntroDrawing, BlackPieUncoversTheRingAsTheCornerGoesRound) {
    Intro in;
    in.f.IntroPhase = 3;
    in.f.IntroFade = 0;
    // The ring shows outside the outer circle in two bands, above and below it.
    auto topBand = [&] { return LitIn(*in.w.media.back, 356, 194, 452, 209); };
    auto bottomBand = [&] { return LitIn(*in.w.media.back, 356, 276, 452, 290); };

    // The bands as the plain ring shows them.
    auto plain = std::make_unique<Surface>();
    DrawPattern(FindPicture(in.w.media.MenuObr, "Bodliny"), *plain, 356, 194, 0);
    const int ringTop = LitIn(*plain, 356, 194, 452, 209), ringBottom = LitIn(*plain, 356, 276, 452, 290);
    ASSERT_GT(ringTop, 40);
    ASSERT_GT(ringBottom, 40);

    in.Frame();  // the corner starts at the top-left: the ring is all but covered
    EXPECT_LT(topBand() + bottomBand(), ringTop / 20);
    EXPECT_TRUE(Shows(in.w, in.w.media.MenuObr, "Vnejsi kruh", 371, 209));

    for (int i = 0; i < 19; ++i) in.Frame();  // the corner has run along the top
    EXPECT_GT(topBand(), ringTop / 2);
    EXPECT_EQ(bottomBand(), 0);
    for (int i = 0; i < 39; ++i) in.Frame();  // down the right side and back along the bottom
    EXPECT_GT(bottomBand(), ringBottom / 2);
    EXPECT_EQ(in.f.IntroPhase, 3);
    while (in.f.IntroPhase == 3) in.Frame();
    // The corner is home: all of the ring but a sliver at the start stands.
    EXPECT_EQ(in.f.SweepStep, 5);
    EXPECT_GT(topBand() + bottomBand(), (ringTop + ringBottom) * 9 / 10);
    in.Frame();  // phase 4 draws the ring without a pie
    EXPECT_EQ(topBand(), ringTop);
    EXPECT_EQ(bottomBand(), ringBottom);
}

// The emblem as phases 4 and 5 lay it out, built here from the pictures'
// places: the lettering left of the ring, the circles in the ring's middle
// and the caption below the lettering's right end.
TEST(IntroDrawing, LetteringAndCaptionFadeInBesideTheEmblem) {
    Intro in;
    const PictureCollection& menu = in.w.media.MenuObr;
    auto expected = std::make_unique<Surface>();
    auto draw = [&](const char* name, int x, int y) { DrawPattern(FindPicture(menu, name), *expected, x, y, 0); };
    auto blend = [&](const char* name, Rect rect, int fade) {
        BlendDrawPattern(FindPicture(menu, name), *expected, rect, 0, fade);
    };
    auto same = [&] {
        for (int y = 0; y < kSurfaceHeight; ++y)
            for (int x = 0; x < kSurfaceWidth; ++x)
                if (in.w.media.back->pixels[y][x] != expected->pixels[y][x]) return false;
        return true;
    };

    // Phase 4 half way: the lettering and a second outer circle fade in over the ring.
    in.f.IntroPhase = 4;
    in.f.IntroFade = 128;
    in.f.SweepStep = 5;
    in.Frame();
    FillSurface(*expected, 0);
    blend("Napis", Rect{244, 229, 556, 260}, 128);
    draw("Bodliny", 356, 194);
    blend("Vnejsi kruh", Rect{371, 209, 437, 275}, 128);
    draw("Vnejsi kruh", 371, 209);
    draw("Vnitrni kruh", 383, 221);
    EXPECT_TRUE(same());
    EXPECT_GT(LitIn(*in.w.media.back, 244, 229, 356, 260), 0);  // the lettering left of the ring

    // Phase 5 half way: the finished emblem with "Uvadi" fading in.
    in.f.IntroPhase = 5;
    in.f.IntroFade = 128;
    in.f.IntroTimer = 0;
    in.Frame();
    FillSurface(*expected, 0);
    draw("Napis", 244, 229);
    draw("Bodliny", 356, 194);
    draw("Vnejsi kruh", 371, 209);
    draw("Vnitrni kruh", 383, 221);
    blend("Uvadi", Rect{459, 262, 552, 280}, 128);
    EXPECT_TRUE(same());
    EXPECT_GT(LitIn(*in.w.media.back, 459, 262, 552, 280), LitIn(*in.w.media.back, 452, 262, 459, 280));
}

TEST(IntroMusic, StartsWithTheTitleOnlyWhenMusicIsOn) {
    for (int enabled = 0; enabled <= 1; ++enabled) {
        Intro in;
        in.w.shell.MusicEnabled = uint8_t(enabled);
        in.w.shell.MusicChannel = LoadSong(in.w.media.music, false, "audio\\intro.mod", 0, 0, 4);
        in.f.IntroPhase = 5;
        in.f.IntroFade = 256;
        in.f.IntroTimer = 299;
        in.Frame();
        EXPECT_EQ(in.f.IntroPhase, 5);
        EXPECT_NE(IsSongPlaying(in.w.media.music, in.w.shell.MusicChannel), 1);
        in.Frame();  // the timer has reached 300: the title over the stars, already in this frame
        EXPECT_EQ(in.f.IntroPhase, 6);
        EXPECT_EQ(in.f.IntroTimer, 1);
        EXPECT_TRUE(Shows(in.w, in.w.media.MenuObr, "Nazev", 0, 0));
        EXPECT_EQ(IsSongPlaying(in.w.media.music, in.w.shell.MusicChannel) == 1, enabled == 1);
    }
}

TEST(IntroHandOver, TheFrameInWhichTheTitleEndsShowsTheMenu) {
    Intro in;
    in.f.IntroPhase = 6;
    in.f.IntroFade = 256;
    in.f.IntroTimer = 799;
    in.f.MouseX = 600;
    in.f.MouseY = 100;
    RunFrame(in.w);
    EXPECT_EQ(in.w.shell.CurrentScene, Scene::Intro);
    EXPECT_TRUE(Shows(in.w, in.w.media.MenuObr, "Nazev", 0, 0));
    EXPECT_FALSE(Shows(in.w, in.w.media.MenuObr, "Sipka", 600, 100));
    RunFrame(in.w);
    EXPECT_EQ(in.w.shell.CurrentScene, Scene::Menu);
    EXPECT_EQ(in.f.IntroTimer, 0);
    EXPECT_TRUE(Shows(in.w, in.w.media.MenuObr, "Sipka", 600, 100));  // the menu's pointer, same frame
}

}  // namespace
