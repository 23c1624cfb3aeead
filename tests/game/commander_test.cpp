// The commander's messages as the bar shows them: which lines of Texty a
// message shows and for how long, the level held at its start and built
// afresh afterwards, Enter skipping lines, typing and the panel, the probe
// of the level-9 briefing, the victory message, and blocks that are missing.
#include "game/commander.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "game/hud.h"
#include "game/level_build.h"
#include "state/media_calls.h"
#include "test_support.h"

namespace {

constexpr uint16_t kGreen565 = ColorTo565(0x039F15);
constexpr uint16_t kOlive565 = ColorTo565(0x005928);

// Frame f of a coded picture is one flat colour: f in the red bits, the
// picture's tag in the green bits.
enum Tag { kVelitel = 0x11, kIcoSat = 0x12, kLista = 0x13 };
constexpr uint32_t CodedColour(int tag, int frame) { return uint32_t(frame * 8) | uint32_t(tag * 4) << 8 | 0x840000u; }

void CodePicture(PictureCollection& collection, const char* name, Tag tag) {
    PictureItem& item = const_cast<PictureItem&>(FindPicture(collection, name));
    const int fw = PatternWidth(item), fh = PatternHeight(item), frames = FrameCount(item);
    RgbImage image;
    image.width = fw * frames;
    image.height = fh;
    image.pixels.resize(size_t(image.width) * size_t(fh));
    for (int y = 0; y < fh; ++y)
        for (int x = 0; x < image.width; ++x)
            image.pixels[size_t(y) * size_t(image.width) + size_t(x)] = CodedColour(tag, x / fw);
    item.StoredPatternWidth = fw;
    item.StoredPatternHeight = fh;
    item.SkipWidth = item.SkipHeight = 0;
    item.Transparent = false;
    PreparePicture(item, image);
}

// The frame of the coded picture at (x, y), or -1.
int CodedFrame(const Surface& s, Tag tag, int x, int y) {
    const uint16_t px = s.pixels[y][x];
    if ((px & 0x1F) != (0x84 >> 3) || ((px >> 5) & 0x3F) != tag) return -1;
    return px >> 11;
}

struct Briefing {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    GameState& g = w.game;
    ProgressRecord& p = w.game.Progress;
    Surface& back = *w.media.back;

    Briefing() {
        w.shell.SoundEnabled = 0;
        w.shell.CurrentScene = Scene::HlavniHra;
        p.LevelEnd = 20000;
    }
    // Starts level n as the game does: built at scroll distance 600.
    void StartLevel(int level) {
        p.Level = level;
        p.ScrollDistance = 600;
        BuildLevel(w);
        g.LevelObjects[kLevelObjectCount].Hit = 7;  // gone once the level is built again
    }
    bool Rebuilt() const { return g.LevelObjects[kLevelObjectCount].Hit != 7; }
    // One game frame as far as the message sees it: the starfield's row,
    // then the bar.
    void Frame() {
        p.ScrollDistance += 1;
        FillSurface(back, 0);
        UpdateHud(w);
    }
    std::string Text() const { return IsNoText(g.CommanderText) ? std::string() : std::string(g.CommanderText.View()); }
    void PressEnter() { w.media.input.InputStates.set(isButton2); }
    bool SwitchSounded() {
        WaveItem& item = FindSound(w.media.Zvuky, "Prepnuti");
        bool playing = item.mainVoice >= 0 && w.media.mixer->voices[item.mainVoice].playing;
        for (int v : item.voices) playing = playing || w.media.mixer->voices[v].playing;
        for (Voice& voice : w.media.mixer->voices) voice.playing = false;
        return playing;
    }
    // Ink of the typed text (with the bar coded flat): pixels of the text
    // row that are neither the black text box nor the bar.
    int Ink(int x0, int x1) const {
        int ink = 0;
        for (int y = 495; y < 508; ++y)
            for (int x = x0; x < x1; ++x) ink += back.pixels[y][x] != 0 && CodedFrame(back, kLista, x, y) < 0;
        return ink;
    }
};

TEST(CommanderBriefing, LevelOneShowsItsFiveLinesWhileTheLevelWaits) {
    Briefing b;
    b.w.shell.SoundEnabled = 1;
    b.StartLevel(1);
    ASSERT_EQ(b.g.CommanderStep, 1);
    const auto& texty = b.w.front.Texty;
    std::vector<std::pair<int, std::string>> shown;  // frame, line
    bool heldThroughout = true;
    int frame = 0;
    while (frame < 3000) {
        b.Frame();
        ++frame;
        if (frame == 1) {
            EXPECT_TRUE(b.SwitchSounded()) << "the opening signal";
        }
        if (b.g.CommanderStep == 0) break;
        heldThroughout = heldThroughout && b.p.ScrollDistance == 602;
        if (shown.empty() || shown.back().second != b.Text()) shown.emplace_back(frame, b.Text());
        ASSERT_FALSE(b.Rebuilt()) << "frame " << frame;
    }
    EXPECT_TRUE(heldThroughout);
    ASSERT_EQ(shown.size(), 5u);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(shown[size_t(k)].second, texty[size_t(10 + k)]);
        EXPECT_EQ(shown[size_t(k)].first, 1 + 401 * k);  // each line stays 401 frames
    }
    // The message ends in the frame after the last line's 401 frames, with
    // the switch sound, and the level is built afresh at 602, nothing armed.
    EXPECT_EQ(frame, 1 + 401 * 5);
    EXPECT_TRUE(b.SwitchSounded());
    EXPECT_TRUE(b.Rebuilt());
    EXPECT_EQ(b.p.ScrollDistance, 602);
    EXPECT_EQ(b.g.CommanderStep, 0);
    EXPECT_EQ(b.Text(), "");
    EXPECT_EQ(b.g.CommanderTimer, 0);
    b.Frame();
    b.Frame();
    EXPECT_EQ(b.p.ScrollDistance, 604);  // the level runs
    EXPECT_FALSE(b.SwitchSounded());
}

TEST(CommanderBriefing, EnterFetchesTheNextLineInTheNextFrameOncePerPress) {
    Briefing b;
    b.w.front.Texty = {"story", "#6", "Prvni.", "Druha.", "#"};
    b.StartLevel(6);
    for (int i = 0; i < 5; ++i) b.Frame();
    EXPECT_EQ(b.Text(), "Prvni.");
    b.PressEnter();
    b.Frame();  // consumed here; the line stays this frame
    EXPECT_FALSE(b.w.media.input.InputStates.test(isButton2));
    EXPECT_EQ(b.Text(), "Prvni.");
    b.Frame();
    EXPECT_EQ(b.Text(), "Druha.");
    EXPECT_LE(b.g.CommanderTextPos, 2);
    // Enter on the last line ends the message in the next frame and starts the level.
    b.PressEnter();
    b.Frame();
    EXPECT_FALSE(b.Rebuilt());
    b.Frame();
    EXPECT_EQ(b.g.CommanderStep, 0);
    EXPECT_TRUE(b.Rebuilt());
    // Without a message Enter is left for others.
    b.PressEnter();
    b.Frame();
    EXPECT_TRUE(b.w.media.input.InputStates.test(isButton2));
    EXPECT_EQ(b.p.ScrollDistance, 603);
}

TEST(CommanderPanel, TypesTwoFramesACharacterAndKeepsTheLineItsTime) {
    Briefing b;
    const std::string line(100, 'i');
    b.w.front.Texty = {"#3", line, "Dalsi.", "#9"};
    CodePicture(b.w.media.Obrazky, "Lista", kLista);
    b.StartLevel(3);
    for (int n = 1; n <= 197; ++n) b.Frame();
    EXPECT_EQ(b.g.CommanderTextPos, 99);
    const int partly = b.Ink(125, kSurfaceWidth);
    b.Frame();  // frame 198
    EXPECT_EQ(b.g.CommanderTextPos, 100);
    for (int n = 199; n <= 401; ++n) b.Frame();
    EXPECT_EQ(b.g.CommanderTextPos, 100);
    EXPECT_EQ(b.Text(), line);
    EXPECT_GT(b.Ink(125, kSurfaceWidth), partly);
    EXPECT_GT(partly, 0);
    b.Frame();  // frame 402
    EXPECT_EQ(b.Text(), "Dalsi.");
    EXPECT_LE(b.g.CommanderTextPos, 2);  // typing starts over (the tick runs on)
}

TEST(CommanderPanel, LongLineStopsAtThePanelEdge) {
    Briefing b;
    const std::string line(150, 'W');
    b.w.front.Texty = {"#3", line, "#"};
    b.StartLevel(3);
    for (int n = 0; n < 320; ++n) b.Frame();
    ASSERT_EQ(b.g.CommanderTextPos, 150);
    Surface typed = b.back;
    // The same frame's bar without the text, for comparison.
    SetNoText(b.g.CommanderText);
    b.g.CommanderStep = 0;
    FillSurface(b.back, 0);
    UpdateHud(b.w);
    int inkLeft = 0;
    for (int y = 490; y < 515; ++y) {
        for (int x = 125; x < 630; ++x) inkLeft += typed.pixels[y][x] != b.back.pixels[y][x];
        for (int x = 630; x < kSurfaceWidth; ++x) ASSERT_EQ(typed.pixels[y][x], b.back.pixels[y][x]) << x << "," << y;
    }
    EXPECT_GT(inkLeft, 500);
    EXPECT_LE(b.g.TextCursorX, 630);
}

TEST(CommanderPanel, EveryMessageLineFitsThePanel) {
    Briefing b;
    Canvas& canvas = TakeCanvas(b.w);
    canvas.Font.Name = "Arial";
    canvas.Font.Height = 13;
    canvas.Font.Bold = false;
    const auto& texty = b.w.front.Texty;
    ASSERT_GT(texty.size(), 50u);
    for (size_t i = 10; i < texty.size(); ++i) {
        if (!texty[i].empty() && texty[i][0] == '#') continue;
        EXPECT_FALSE(texty[i].empty()) << "line " << i;
        EXPECT_LE(125 + TextWidth(canvas, texty[i]), 630) << "line " << i << " is cut on the panel";
    }
    ReleaseCanvas(canvas);
}

TEST(CommanderPanel, PortraitChangesEveryEighthFrameAndLampsBlink) {
    Briefing b;
    CodePicture(b.w.media.Obrazky, "Velitel", kVelitel);
    CodePicture(b.w.media.Obrazky, "Lista", kLista);
    b.w.front.Texty = {"#1", "Ano.", "#"};
    b.StartLevel(1);
    std::vector<int> changes;
    std::set<int> portraits;
    int lampLit = 0;
    int previous = -1;
    for (int frame = 1; frame <= 400; ++frame) {
        b.Frame();
        const int shown = CodedFrame(b.back, kVelitel, 33, 481);
        ASSERT_GE(shown, 0) << "frame " << frame;
        portraits.insert(shown);
        if (previous >= 0 && shown != previous) changes.push_back(frame);
        previous = shown;
        lampLit += b.back.pixels[570][47] == kGreen565;
        ASSERT_EQ(b.back.pixels[570][63], kOlive565);
        ASSERT_EQ(CodedFrame(b.back, kLista, 49, 570), 0);  // the lines stop before their end points
        ASSERT_EQ(CodedFrame(b.back, kLista, 65, 570), 0);
    }
    // The line is typed after a few frames; the face goes on changing, at
    // random, only on every eighth frame.
    EXPECT_GE(portraits.size(), 2u);
    ASSERT_GE(changes.size(), 10u);
    for (int f : changes) EXPECT_EQ((f - changes[0]) % 8, 0) << "frame " << f;
    EXPECT_GT(changes.back(), 300);
    // Lit 20 frames out of every 41: 9 full periods and 31 frames more.
    EXPECT_EQ(lampLit, 9 * 20 + 20);

    // No message: no portrait and no lamps.
    for (int frame = 0; frame < 5; ++frame) b.Frame();
    EXPECT_EQ(b.g.CommanderStep, 0);
    EXPECT_EQ(CodedFrame(b.back, kVelitel, 33, 481), -1);
    EXPECT_NE(b.back.pixels[570][63], kOlive565);
}

TEST(CommanderPanel, ProbeTurnsThenUnfoldsInTheLevelNineBriefing) {
    Briefing b;
    CodePicture(b.w.media.Obrazky, "IcoSat", kIcoSat);
    b.p.Level = 9;
    b.p.ScrollDistance = 9700;  // past the hold, so the frames below do not move it
    b.g.CommanderText.Assign("Sonda.");
    b.g.CommanderTimer = 5;
    b.g.ProbeFrame = 0;
    b.g.ProbeTick = 0;
    auto run = [&](int step, int frames) {
        std::vector<int> seen;
        for (int i = 0; i < frames; ++i) {
            b.g.CommanderStep = step;
            b.g.CommanderTimer = 5;  // keep the line
            FillSurface(b.back, 0);
            UpdateHud(b.w);
            seen.push_back(CodedFrame(b.back, kIcoSat, 16, 478));
        }
        return seen;
    };
    const std::vector<int> turning = run(6, 72);
    for (int i = 0; i < 72; ++i) EXPECT_EQ(turning[size_t(i)], (i / 6) % 10) << "frame " << i;
    const std::vector<int> unfolding = run(8, 120);
    EXPECT_EQ(unfolding.front(), 2);
    EXPECT_EQ(unfolding.back(), 18);
    for (size_t i = 1; i < unfolding.size(); ++i) EXPECT_GE(unfolding[i], unfolding[i - 1]);
    EXPECT_EQ(run(9, 1).front(), -1);
    EXPECT_EQ(run(5, 1).front(), -1);
    b.p.Level = 3;
    EXPECT_EQ(run(7, 1).front(), -1);
}

TEST(CommanderMessages, VictoryMessageInTheStoryAnimation) {
    Briefing b;
    b.w.shell.SoundEnabled = 1;
    b.w.shell.CurrentScene = Scene::Animace;
    b.p.Level = 9;
    b.p.ScrollDistance = 600;  // set by the story; no starfield row in between here
    FillSurface(b.back, 0);
    UpdateHud(b.w);
    EXPECT_TRUE(b.SwitchSounded());
    EXPECT_EQ(b.Text(), b.w.front.Texty[45]);
    EXPECT_EQ(b.g.CommanderStep, 15);
    EXPECT_EQ(b.p.ScrollDistance, 602);
    std::vector<std::string> shown{b.Text()};
    for (int frame = 0; frame < 2000 && b.g.CommanderStep != 0; ++frame) {
        if (frame % 50 == 49) b.PressEnter();
        b.Frame();
        if (!b.Text().empty() && shown.back() != b.Text()) shown.push_back(b.Text());
    }
    const auto& texty = b.w.front.Texty;
    EXPECT_EQ(shown, std::vector<std::string>(texty.begin() + 45, texty.begin() + 48));
    EXPECT_EQ(b.g.CommanderStep, 0);
}

TEST(CommanderMessages, MissingBlockOrEmptyLineDoesNoHarm) {
    Briefing b;
    b.w.front.Texty = {"#1", "Jedna.", "#"};  // no block for level 6
    b.StartLevel(6);
    b.Frame();
    EXPECT_EQ(b.g.CommanderStep, 0);
    EXPECT_EQ(b.Text(), "");
    EXPECT_TRUE(b.Rebuilt());
    b.Frame();
    EXPECT_EQ(b.p.ScrollDistance, 603);

    // A block that runs off the end of the list ends there; an empty line
    // shows the portrait with nothing typed.
    b.w.front.Texty = {"#3", "", "Tri."};
    b.StartLevel(3);
    b.Frame();
    EXPECT_EQ(b.g.CommanderStep, 2);
    EXPECT_FALSE(IsNoText(b.g.CommanderText));
    b.PressEnter();
    b.Frame();
    b.Frame();
    EXPECT_EQ(b.Text(), "Tri.");
    b.PressEnter();
    b.Frame();
    b.Frame();
    EXPECT_EQ(b.g.CommanderStep, 0);
}

TEST(CommanderMessages, OnlyLevelsWithMessagesSpeak) {
    Briefing b;
    b.w.shell.SoundEnabled = 1;
    for (int level : {4, 5, 7, 8}) {
        b.g.CommanderStep = 0;
        b.StartLevel(level);
        EXPECT_EQ(b.g.CommanderStep, 0) << "level " << level;
        b.g.CommanderStep = 1;  // even when armed by mistake
        b.SwitchSounded();
        b.Frame();
        EXPECT_FALSE(b.SwitchSounded()) << "no opening signal in level " << level;
        b.Frame();
        EXPECT_EQ(b.Text(), "") << "level " << level;
        EXPECT_EQ(b.p.ScrollDistance, 602) << "level " << level;
    }
}

}  // namespace
