// The commander's messages in running games: the level-2 message with and
// without black boxes while the level waits at 602, a briefing skipped with
// Enter through the kavrix program and an input script, and the level-9
// warning typed while the battle goes on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "shell/frame.h"
#include "shell/runner.h"
#include "test_support.h"

namespace {

struct Game {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    GameState& g = w.game;
    ProgressRecord& p = w.game.Progress;

    explicit Game(int level, int blackBoxes = 0) {
        w.shell.options.saveDir = MakeTempDir("hud-briefing");
        w.shell.MusicEnabled = 0;
        StartNewGame(w, "Pilot", 2, level);
        p.BlackBoxCount = uint8_t(blackBoxes);  // as brought from level 1
    }
    void Frame() { RunFrame(w); }
    std::string Text() const { return IsNoText(g.CommanderText) ? std::string() : std::string(g.CommanderText.View()); }
    // The commander's portrait, in any of its frames, in place of the radar.
    bool PortraitShown() const {
        const PictureItem& item = FindPicture(w.media.Obrazky, "Velitel");
        const int fw = PatternWidth(item), fh = PatternHeight(item);
        for (int f = 0; f < FrameCount(item); ++f) {
            bool same = true;
            for (int y = 0; y < fh && same; ++y)
                for (int x = 0; x < fw && same; ++x)
                    same = w.media.back->pixels[480 + y][32 + x] ==
                           item.pixels[size_t(y) * size_t(item.width) + size_t(f * fw + x)];
            if (same) return true;
        }
        return false;
    }
};

struct Shown {
    int frame;
    std::string line;
};

// Runs the game until the message ends, the pilot pressing Enter when a
// line has been up for readFrames; every distinct line with the frame it
// appeared in (frames counted from 1). The portrait must show on every frame
// of the message.
std::vector<Shown> RunMessage(Game& game, int limit, bool expectHeld, int readFrames) {
    std::vector<Shown> shown;
    HeadlessPlatform& keys = *game.t.platform;
    for (int frame = 1; frame <= limit; ++frame) {
        const int32_t before = game.p.ScrollDistance;
        const bool press = !shown.empty() && frame - shown.back().frame == readFrames;
        keys.heldKeys.set(size_t(GameKey::Enter), press);
        game.Frame();
        if (game.g.CommanderStep == 0) break;
        EXPECT_TRUE(game.PortraitShown()) << "frame " << frame;
        if (expectHeld) {
            EXPECT_EQ(game.p.ScrollDistance, 602) << "frame " << frame;
        } else {
            EXPECT_EQ(game.p.ScrollDistance, before + 1) << "frame " << frame;
        }
        if (shown.empty() || shown.back().line != game.Text()) shown.push_back({frame, game.Text()});
    }
    return shown;
}

TEST(HudBriefingInGame, LevelTwoMessageDependsOnTheBlackBoxes) {
    for (int boxes : {3, 0}) {
        SCOPED_TRACE("black boxes " + std::to_string(boxes));
        Game game(2, boxes);
        // A line read for 40 frames, Enter pressed on the 41st: the next one
        // follows in the frame after that.
        const std::vector<Shown> shown = RunMessage(game, 3000, true, 40);
        const int first = boxes ? 16 : 21, count = boxes ? 5 : 6;
        ASSERT_EQ(shown.size(), size_t(count));
        for (int k = 0; k < count; ++k) {
            EXPECT_EQ(shown[size_t(k)].line, game.w.front.Texty[size_t(first + k)]);
            EXPECT_EQ(shown[size_t(k)].frame, 1 + 41 * k);
        }
        // Over: the level starts from 602 with nothing armed and no portrait.
        EXPECT_EQ(game.p.ScrollDistance, 602);
        EXPECT_EQ(game.Text(), "");
        for (int i = 0; i < 5; ++i) game.Frame();
        EXPECT_EQ(game.p.ScrollDistance, 607);
        EXPECT_EQ(game.g.CommanderStep, 0);
        EXPECT_FALSE(game.PortraitShown());
        EXPECT_EQ(game.w.shell.CurrentScene, Scene::HlavniHra);
    }
}

TEST(HudBriefingInGame, LevelNineWarningWhilePlayGoesOn) {
    Game game(9);
    // The briefing is over and the pilot has flown on to just before the
    // mother ship comes into view.
    game.g.CommanderStep = 0;
    SetNoText(game.g.CommanderText);
    game.p.ScrollDistance = 10480;
    for (int i = 0; i < 19; ++i) game.Frame();
    ASSERT_EQ(game.p.ScrollDistance, 10499);
    EXPECT_EQ(game.g.CommanderStep, 0);
    std::vector<Shown> shown;
    HeadlessPlatform& keys = *game.t.platform;
    for (int frame = 1; frame <= 1300; ++frame) {
        const int32_t before = game.p.ScrollDistance;
        // The pilot reads each line for 60 frames and presses Enter.
        keys.heldKeys.set(size_t(GameKey::Enter), !shown.empty() && frame - shown.back().frame == 60);
        game.Frame();
        game.p.Energy = 200;  // this run is about the message, not the battle
        ASSERT_EQ(game.p.ScrollDistance, before + 1) << "frame " << frame;
        if (game.g.CommanderStep == 0 && frame > 1) break;
        if (frame == 1) {
            EXPECT_TRUE(game.PortraitShown());  // shown late in level 9
        }
        if (shown.empty() || shown.back().line != game.Text()) shown.push_back({frame, game.Text()});
    }
    ASSERT_EQ(shown.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(shown[size_t(k)].line, game.w.front.Texty[size_t(41 + k)]);
        EXPECT_EQ(shown[size_t(k)].frame, 1 + 61 * k);
    }
    // Nothing is rebuilt: the battle goes on from where it is.
    EXPECT_EQ(game.p.ScrollDistance, 10499 + 1 + 61 * 3);
    EXPECT_EQ(game.p.Level, 9);
    EXPECT_EQ(game.Text(), "");
}

// The kavrix program with an input script that presses Enter.
TEST(HudBriefingInGame, EnterSkipsLinesAndEndsTheBriefing) {
    const std::string dir = MakeTempDir("hud-enter");
    {
        std::ofstream script(dir + "/enter.txt");
        for (int frame : {10, 20, 30, 40, 50}) script << frame << " down Enter\n" << frame + 1 << " up Enter\n";
    }
    auto run = [&](int frames, const std::string& dump) {
        const std::string command = "cd '" + dir + "' && '" + KavrixBinary() + "' --data '" + TestDataDir() +
                                    "' --headless --new-game Pilot --level 1 --input enter.txt --frames " +
                                    std::to_string(frames) + " --dump-state " + dump + " >out.txt 2>err.txt";
        EXPECT_EQ(RunCommand(command), 0) << ReadTextFile(dir + "/err.txt");
        return ReadTextFile(dir + "/" + dump);
    };
    // Enter on the fifth line (frame 50) ends it in frame 51; the level has
    // run on for frames 52..59 since.
    const std::string after = run(60, "after.json");
    EXPECT_EQ(DumpString(after, "CommanderText"), "");
    EXPECT_EQ(DumpInt(after, "CommanderStep"), 0);
    EXPECT_EQ(DumpInt(after, "ScrollDistance", after.find("\"Progress\"")), 610);
    EXPECT_EQ(DumpString(after, "CurrentScene"), "HlavniHra");
}

}  // namespace
