// Ships lost in a running game, frame after frame of the whole game scene:
// the first loss, after which the ship flies in again, and the last, which
// ends in the menu's score page with the played profile cleared.
#include <gtest/gtest.h>

#include <string>

#include "frame_probes.h"
#include "shell/frame.h"
#include "shell/runner.h"
#include "state/saved_files.h"
#include "test_support.h"

namespace {

struct Game {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    GameState& g = w.game;
    ProgressRecord& p = w.game.Progress;

    Game() {
        w.shell.options.saveDir = MakeTempDir("hud-lives");
        w.shell.MusicEnabled = 0;
        StartNewGame(w, "Pilot", 2, 5);  // a level without a briefing
        Frames(82);                      // the arrival zoom is over
        EXPECT_LT(g.ArrivalWidth, 78);
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) RunFrame(w);
    }
    // Whether the opaque pixels of a picture's frame are on the surface at (x, y).
    bool Shows(const char* name, int x, int y, int frame) const {
        return ::Shows(w, w.media.Obrazky, name, x, y, frame);
    }
};

TEST(HudLivesInGame, FirstShipLostFliesInAgain) {
    Game game;
    EXPECT_TRUE(game.Shows("IcoZivot", 10, 10, 0));
    EXPECT_TRUE(game.Shows("IcoZivot", 53, 10, 0));
    for (ShotRecord& orb : game.g.ShieldOrbs) orb.Active = 1;
    game.p.Energy = 0;
    game.Frames(1);
    EXPECT_EQ(game.p.Lives, 2);
    for (const ShotRecord& orb : game.g.ShieldOrbs) EXPECT_EQ(orb.Active, 0);
    EXPECT_TRUE(game.Shows("IcoZivot", 10, 10, 0));
    EXPECT_FALSE(game.Shows("IcoZivot", 53, 10, 0));

    int frames = 1;
    while (game.p.ShipExplosionFrame > 0 && frames < 100) {
        game.Frames(1);
        ++frames;
    }
    EXPECT_LE(frames, 12);
    EXPECT_EQ(game.p.ShipExplosionFrame, -1);
    // The next ship zooms in and is under control again, with 100 energy.
    int zoom = 0;
    while (game.g.ArrivalWidth >= 78 && zoom < 200) {
        game.Frames(1);
        ++zoom;
    }
    EXPECT_GT(zoom, 50);
    EXPECT_LT(zoom, 200);
    EXPECT_EQ(game.p.Lives, 2);
    EXPECT_EQ(game.p.Energy, 100);
    EXPECT_EQ(game.w.shell.CurrentScene, Scene::HlavniHra);
}

TEST(HudLivesInGame, LastShipLostEndsOnTheScorePage) {
    Game game;
    ASSERT_EQ(game.w.saved.CurrentProfile, 1);
    game.w.shell.MusicEnabled = 1;
    game.Frames(1);  // the game music starts
    ASSERT_EQ(IsSongPlaying(game.w.media.music, game.w.shell.MusicChannel), 1);
    game.p.Lives = 1;
    game.p.Score = 65000;
    game.p.Energy = 0;
    int frames = 0;
    while (game.w.shell.CurrentScene == Scene::HlavniHra && frames < 300) {
        game.Frames(1);
        ++frames;
        if (game.w.shell.CurrentScene != Scene::HlavniHra) break;
        ASSERT_EQ(game.p.Energy, 0) << "frame " << frames;  // reads 0 to the end
        ASSERT_FALSE(game.Shows("IcoZivot", 10, 10, 0));
    }
    // Explosions for 36 frames at most, the pause up to DeathTick 50.
    EXPECT_GT(frames, 60);
    EXPECT_LE(frames, 36 + 46);
    EXPECT_EQ(game.w.shell.CurrentScene, Scene::Menu);
    EXPECT_EQ(game.w.front.MenuPage, Page::Scores);
    EXPECT_EQ(game.w.front.GameActive, 0);
    EXPECT_EQ(IsSongPlaying(game.w.media.music, game.w.shell.MusicChannel), 0);
    EXPECT_EQ(game.p.Lives, 0);
    EXPECT_EQ(game.p.Score, 65000);

    // The played profile is free again, in the file too.
    EXPECT_EQ(game.w.saved.CurrentProfile, 0);
    const auto file = ReadFileBytes(SavedFilePath(game.w, kProfilesFileName));
    ASSERT_EQ(file.size(), kProfilesFileSize);
    EXPECT_EQ(file[31], 0);  // name length of slot 1

    // The game does not come back by itself.
    game.Frames(3);
    EXPECT_NE(game.w.shell.CurrentScene, Scene::HlavniHra);
}

}  // namespace
