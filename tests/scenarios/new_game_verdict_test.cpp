// --verify-new-game, what a score board runs: a game begun from the menu
// passes the new-game check and its verdict says what it did; a game whose
// recording began in the middle of play (as a profile loaded mid-session
// would) is refused with status 4, naming the first field that no new game
// has.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "shell/replay_library.h"
#include "shell/runner.h"
#include "test_support.h"

namespace {

std::string GoldenInput(const std::string& name) {
    std::string input;
    std::istringstream in(ReadTextFile(GoldenReplay(name)));
    for (std::string line; std::getline(in, line);)
        if (line.rfind("hash ", 0) != 0 && line.rfind("end ", 0) != 0) input += line + "\n";
    return input;
}

// Plays the golden game's input keeping its replays; a game is taken as
// begun again after the frames in begins. The kept replays, oldest first.
std::vector<KeptReplay> KeptGames(const std::string& dir, const std::string& golden, int64_t frames,
                                  std::vector<int64_t> begins = {}) {
    WriteTextFile(dir + "/game.txt", GoldenInput(golden));
    RunOptions o;
    o.headless = true;
    o.keepReplays = true;
    o.dataDir = TestDataDir();
    o.saveDir = dir;
    o.inputFile = dir + "/game.txt";
    o.frames = frames;
    GameRun run(o);
    EXPECT_EQ(run.Open(), 0);
    for (int64_t frame = 1; run.Tick(); ++frame)
        if (std::find(begins.begin(), begins.end(), frame) != begins.end()) ++run.world().front.GamesBegun;
    EXPECT_EQ(run.Close(), 0);
    return ReplayLibrary(dir + "/replays").List();
}

}  // namespace

TEST(NewGameVerdict, AMenuGamePassesAndAGameBegunMidPlayIsRefusedNamingTheField) {
    const std::string dir = MakeTempDir("new-game-verdict");
    const std::vector<KeptReplay> menu = KeptGames(dir, "front_end_en.replay", 3000);
    ASSERT_EQ(menu.size(), 1u);
    ASSERT_EQ(KavrixIn(dir, "--headless --save-dir . --replay " + menu[0].path + " --verify-new-game v.json"), 0)
        << ReadTextFile(dir + "/err.txt");
    const std::string verdict = ReadTextFile(dir + "/v.json");
    EXPECT_EQ(DumpString(verdict, "player"), "Pilot");
    EXPECT_EQ(DumpInt(verdict, "difficulty"), 2);
    EXPECT_EQ(DumpInt(verdict, "levelReached"), 1);
    EXPECT_EQ(DumpInt(verdict, "frames"), menu[0].game.frames);
    EXPECT_NE(verdict.find("\"ended\":false"), std::string::npos) << verdict;

    const std::string mid = MakeTempDir("new-game-verdict-mid");
    const std::vector<KeptReplay> games = KeptGames(mid, "level1.replay", 1200, {600});
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(KavrixIn(mid, "--headless --save-dir . --replay " + games[1].path + " --verify-new-game v.json"), 4);
    const std::string said = ReadTextFile(mid + "/err.txt");
    EXPECT_NE(said.find("is not a new game: its starting state is not a new game's: "), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(mid + "/v.json"));
}
