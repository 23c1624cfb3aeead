// Every game kept as a replay: a scripted game that ends on the score table
// is kept beside its entry and replays hash for hash from the kept file;
// games begun mid-session (in the city, before and during the mother ship's
// battle) replay on their own from the state they carry; a game resumed
// from a profile replays after the slot was deleted; the folder keeps the
// last ten games and the score table's replays; and watching a replay from
// the score page, at its speeds, paused and left with Escape, gives back the
// session as it was and leaves every saved file byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "heap_counter.h"
#include "shell/replay.h"
#include "shell/replay_library.h"
#include "shell/runner.h"
#include "state/saved_files.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// A golden game's input as an input script: its hash and end lines left
// out (the kept replays carry hashes of their own).
std::string GoldenInput(const std::string& name) {
    std::string input;
    std::istringstream in(ReadTextFile(GoldenReplay(name)));
    for (std::string line; std::getline(in, line);)
        if (line.rfind("hash ", 0) != 0 && line.rfind("end ", 0) != 0) input += line + "\n";
    return input;
}

// A score table any finished game enters: every rank at 100 points.
void WriteLowScores(const std::string& dir) {
    ScoreTableRecord table;
    for (int i = 1; i <= 10; ++i) {
        table.Scores[i] = 100;
        table.Names[i].Assign("Kavrix");
    }
    const auto bytes = EncodeScores(table);
    WriteFileBytes(dir + "/" + kScoresFileName, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

std::vector<KeptReplay> Kept(const std::string& dir) { return ReplayLibrary(dir + "/replays").List(); }

// Plays a kept replay by its name; "" when every hash matched, else why not.
std::string ReplayFails(const std::string& dir, const std::string& name) {
    if (KavrixIn(dir, "--headless --save-dir . --replay " + name) != 0) return ReadTextFile(dir + "/err.txt");
    const std::string out = ReadTextFile(dir + "/out.txt");
    const size_t of = out.find(" of ");
    if (of == std::string::npos || out.find("hashes matched") == std::string::npos) return "no verdict: " + out;
    // "N of N hashes matched": as many as the recording holds.
    const std::string matched = out.substr(out.rfind(' ', of - 1) + 1, of - out.rfind(' ', of - 1) - 1);
    const std::string held = out.substr(of + 4, out.find(' ', of + 4) - of - 4);
    return matched == held ? "" : out;
}

// Every file under dir with its bytes.
std::map<std::string, std::vector<uint8_t>> FilesUnder(const std::string& dir) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file()) files[entry.path().string()] = ReadFileBytes(entry.path().string());
    return files;
}

RunOptions KeepingRun(const std::string& dir) {
    RunOptions o;
    o.headless = true;
    o.keepReplays = true;
    o.dataDir = TestDataDir();
    o.saveDir = dir;
    return o;
}

}  // namespace

TEST(KeptReplays, AScriptedGameEndsOnTheScoreTableAndItsKeptReplayPlaysHashForHash) {
    const std::string dir = MakeTempDir("kept-score");
    WriteLowScores(dir);
    WriteTextFile(dir + "/game.txt", GoldenInput("lose_d2.replay"));  // lost in the city of level 4
    ASSERT_EQ(
        KavrixIn(dir, "--headless --keep-replays --save-dir . --input game.txt --frames 1300 --dump-state s.json"), 0)
        << ReadTextFile(dir + "/err.txt");
    const std::string json = ReadTextFile(dir + "/s.json");
    ASSERT_EQ(DumpString(json, "CurrentScene"), "Menu");
    ASSERT_EQ(DumpInt(json, "MenuPage"), 3);
    const long long score = DumpInt(json, "Score", json.find("\"rank\":1,"));
    ASSERT_GT(score, 100) << "the lost game's score entered the table at rank 1";

    const std::vector<KeptReplay> kept = Kept(dir);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].game.rank, 1);
    EXPECT_EQ(kept[0].game.score, score);
    EXPECT_EQ(kept[0].game.level, 4);
    EXPECT_EQ(kept[0].game.name, "Kavrix");
    EXPECT_GT(kept[0].game.frames, 900);
    ASSERT_EQ(KavrixIn(dir, "--save-dir . --list-replays"), 0);
    const std::string list = ReadTextFile(dir + "/out.txt");
    EXPECT_NE(list.find(kept[0].name), std::string::npos) << list;
    EXPECT_NE(list.find("score table rank 1"), std::string::npos) << list;

    // The replay needs none of the saved files, and writes none.
    fs::remove(dir + "/" + kScoresFileName);
    fs::remove(dir + "/" + kProfilesFileName);
    EXPECT_EQ(ReplayFails(dir, kept[0].name), "");
    EXPECT_FALSE(fs::exists(dir + "/" + kScoresFileName));
    EXPECT_FALSE(fs::exists(dir + "/" + kProfilesFileName));
    // Shared as a video by its name.
    ASSERT_EQ(KavrixIn(dir, "--save-dir . --replay " + kept[0].name + " --frames 30 --video out.webm"), 0)
        << ReadTextFile(dir + "/err.txt");
    EXPECT_GT(fs::file_size(dir + "/out.webm"), 1000u);
}

// A game played in English is kept in English: its commander's lines type
// for as long as they are long, so replayed in Czech its screens would differ.
TEST(KeptReplays, AGamePlayedInEnglishReplaysInEnglish) {
    const std::string dir = MakeTempDir("kept-english");
    WriteTextFile(dir + "/game.txt", GoldenInput("lose_d2_en.replay"));
    ASSERT_EQ(KavrixIn(dir, "--headless --keep-replays --save-dir . --input game.txt --frames 1300"), 0)
        << ReadTextFile(dir + "/err.txt");
    const std::vector<KeptReplay> kept = Kept(dir);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReplayFails(dir, kept[0].name), "");
}

TEST(KeptReplays, GamesBegunMidSessionReplayOnTheirOwnFromTheStateTheyCarry) {
    // The golden level 9 game, its recording begun anew as if a game had
    // begun: before the mother ship, as her battle begins and in its midst.
    const std::string dir = MakeTempDir("kept-mid-session");
    WriteTextFile(dir + "/game.txt", GoldenInput("level9.replay"));
    RunOptions options = KeepingRun(dir);
    options.inputFile = dir + "/game.txt";
    options.frames = 20000;
    GameRun run(options);
    ASSERT_EQ(run.Open(), 0);
    const int64_t begins[] = {4000, 10300, 16000};
    for (int64_t frame = 1; run.Tick(); ++frame)
        if (std::find(std::begin(begins), std::end(begins), frame) != std::end(begins)) ++run.world().front.GamesBegun;
    ASSERT_EQ(run.Close(), 0);

    const std::vector<KeptReplay> kept = Kept(dir);
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_EQ(kept[0].game.frames, 4000);
    EXPECT_EQ(kept[3].game.frames, 4000);  // kept as it stood when the run ended
    for (const KeptReplay& replay : kept) {
        EXPECT_EQ(replay.game.level, 9);
        EXPECT_EQ(ReplayFails(dir, replay.name), "") << replay.name;
    }
}

TEST(KeptReplays, AGameResumedFromAProfileReplaysAfterItsSlotWasDeleted) {
    const std::string dir = MakeTempDir("kept-resumed");
    // Slot 1 saved at the finish line of level 4, in the city.
    {
        SaveDirWorld s("kept-resumed-slots");
        DefaultProfiles(s.w().saved);
        ProgressRecord& p = s.w().saved.ProfileTable[1];
        p.PlayerName.Assign("Lada");
        p.Level = 4;
        p.ScrollDistance = 11100;
        p.LevelEnd = 10800;
        p.Score = 4321;
        p.BlackBoxCount = 3;
        p.HasRockets = 1;
        s.w().shell.options.saveDir = dir;
        SaveProfiles(s.w());
    }
    // The load page, slot 1, "Nacti"; then flying and firing.
    WriteTextFile(dir + "/load.txt",
                  "3 type 32\n6 move 340 298\n7 click\n9 move 170 432\n10 click\n12 move 700 424\n13 click\n"
                  "20 down Space\n200 down Left\n260 up Left\n300 down Up\n330 up Up\n500 up Space\n");
    ASSERT_EQ(KavrixIn(dir, "--headless --keep-replays --save-dir . --input load.txt --frames 700 --dump-state s.json"),
              0)
        << ReadTextFile(dir + "/err.txt");
    const std::string json = ReadTextFile(dir + "/s.json");
    ASSERT_EQ(DumpString(json, "CurrentScene"), "HlavniHra");
    ASSERT_EQ(DumpString(json, "PlayerName"), "Lada");
    const std::vector<KeptReplay> kept = Kept(dir);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].game.name, "Lada");
    EXPECT_EQ(kept[0].game.level, 5) << "past the finish line of level 4, into level 5";

    // The slot deleted: six free slots in the profile file.
    {
        SaveDirWorld s("kept-resumed-deleted");
        DefaultProfiles(s.w().saved);
        s.w().shell.options.saveDir = dir;
        SaveProfiles(s.w());
    }
    EXPECT_EQ(ReplayFails(dir, kept[0].name), "");
}

TEST(KeptReplays, TheOldestOfElevenGamesIsDroppedAndTheScoreTablesReplaysStay) {
    const std::string dir = MakeTempDir("kept-eleven");
    WriteLowScores(dir);
    WriteTextFile(dir + "/game.txt", GoldenInput("lose_d2.replay"));
    ASSERT_EQ(KavrixIn(dir, "--headless --keep-replays --save-dir . --input game.txt --frames 1300"), 0);
    const std::string scored = Kept(dir).back().name;
    std::vector<std::string> games;
    for (int i = 1; i <= 11; ++i) {
        ASSERT_EQ(KavrixIn(dir, "--headless --keep-replays --save-dir . --frames 2 --new-game Hra" + std::to_string(i)),
                  0)
            << ReadTextFile(dir + "/err.txt");
        games.push_back(Kept(dir).back().name);
        EXPECT_EQ(Kept(dir).back().game.name, "Hra" + std::to_string(i));
    }
    std::vector<std::string> names;
    for (const KeptReplay& replay : Kept(dir)) names.push_back(replay.name);
    std::vector<std::string> expected = {scored};  // the oldest, but beside its score entry
    expected.insert(expected.end(), games.begin() + 1, games.end());
    EXPECT_EQ(names, expected);
}

TEST(KeptReplays, ADamagedReplayIsMovedAsideAndAReplayThatCannotBeWrittenNeverStopsTheGame) {
    const std::string dir = MakeTempDir("kept-damaged");
    WriteLowScores(dir);
    fs::create_directories(dir + "/replays");
    WriteTextFile(dir + "/replays/2026-01-02_03-04-05.replay",
                  "# Kavrix replay\nversion 1 kavrix 1.0.0\ngame 2026-01-02\n");
    ASSERT_EQ(KavrixIn(dir, "--save-dir . --list-replays"), 0);
    const std::string err = ReadTextFile(dir + "/err.txt");
    EXPECT_NE(err.find("2026-01-02_03-04-05.replay:3:"), std::string::npos) << err;
    EXPECT_NE(err.find("kept as './replays/2026-01-02_03-04-05.replay.damaged'"), std::string::npos) << err;
    EXPECT_TRUE(fs::exists(dir + "/replays/2026-01-02_03-04-05.replay.damaged"));
    EXPECT_FALSE(fs::exists(dir + "/replays/2026-01-02_03-04-05.replay"));

    // No room for replays (a file stands where their folder goes): the game
    // is played to its end all the same, the score entered, one message.
    fs::remove_all(dir + "/replays");
    WriteTextFile(dir + "/replays", "");
    WriteTextFile(dir + "/game.txt", GoldenInput("lose_d2.replay"));
    ASSERT_EQ(
        KavrixIn(dir, "--headless --keep-replays --save-dir . --input game.txt --frames 1300 --dump-state s.json"), 0)
        << ReadTextFile(dir + "/err.txt");
    const std::string json = ReadTextFile(dir + "/s.json");
    EXPECT_EQ(DumpInt(json, "MenuPage"), 3);
    EXPECT_GT(DumpInt(json, "Score", json.find("\"rank\":1,")), 100);
    const std::string told = ReadTextFile(dir + "/err.txt");
    const size_t first = told.find("the replay of this game is not kept");
    EXPECT_NE(first, std::string::npos) << told;
    EXPECT_EQ(told.find("the replay of this game is not kept", first + 1), std::string::npos) << told;
}

TEST(KeptReplays, RecordingAGameTakesNothingFromTheHeapInItsFrames) {
    // The golden level 1 game played and kept: its frames up to the finish
    // (key lines, hash lines every 300 frames) go into the room the
    // recording took when the game began. A frame that starts a new song
    // loads it, as every game does, recorded or not; that is not counted.
    const std::string dir = MakeTempDir("kept-heap");
    WriteTextFile(dir + "/game.txt", GoldenInput("level1.replay"));
    RunOptions options = KeepingRun(dir);
    options.inputFile = dir + "/game.txt";
    GameRun run(options);
    ASSERT_EQ(run.Open(), 0);
    for (int frame = 0; frame < 600; ++frame) ASSERT_TRUE(run.Tick());
    const World& w = run.world();
    ASSERT_EQ(w.shell.CurrentScene, Scene::HlavniHra);
    int frames = 0, songs = 0;
    long allocated = 0;
    for (; frames < 8000; ++frames) {
        const int32_t song = w.media.music.currentHandle;
        allocations = 0;
        counting = true;
        const bool ran = run.Tick();
        counting = false;
        ASSERT_TRUE(ran);
        if (w.media.music.currentHandle != song) ++songs;
        else allocated += allocations.load();
    }
    EXPECT_EQ(allocated, 0) << "over " << frames << " frames of play";
    EXPECT_EQ(w.game.Progress.Level, 1);
    EXPECT_GE(songs, 1);
    ASSERT_EQ(run.Close(), 0);
    ASSERT_EQ(Kept(dir).size(), 1u);
    EXPECT_EQ(Kept(dir)[0].game.frames, 8600);
}

namespace {

// Plays the watcher: the score page, a click on rank 1's replay, then at 4
// times the speed, a pause, and Escape before the replay's end. It notes the
// session's state hash before the click and when the session is back.
class Watcher : public FramePilot {
public:
    uint64_t before = 0, after = 0;
    int watchedTicks = 0, frozenTicks = 0, fastTicks = 0;
    bool sawTheGame = false, back = false;

    bool BeforeFrame(const World& w, int64_t frame, KeySet&, std::vector<ScriptEvent>& events) override {
        auto type = [&](uint8_t code) { events.push_back(Event(ScriptEventKind::Type, code)); };
        if (frame < kClickFrame) {
            if (frame == 2) type(32);  // past the intro
            if (frame == 4) events.push_back(Move(460, 298));
            if (frame == 5) events.push_back(Event(ScriptEventKind::Click));
            if (frame == 8) events.push_back(Move(300, 434));  // rank 1's row
            return true;
        }
        if (frame == kClickFrame && before == 0) {
            before = GameStateHash(w);
            events.push_back(Event(ScriptEventKind::Click));
            return true;
        }
        if (frame > kClickFrame || back) return frame < kClickFrame + 5;
        // Watching: the frame stands still while the replay plays.
        if (w.shell.CurrentScene == Scene::Menu && w.front.MenuPage == Page::Scores && watchedTicks > 0) {
            back = true;
            after = GameStateHash(w);
            return true;
        }
        ++watchedTicks;
        sawTheGame = sawTheGame || (w.shell.CurrentScene == Scene::HlavniHra && w.game.Progress.Level == 4);
        const int32_t scroll = w.game.Progress.ScrollDistance;
        if (watchedTicks == 1) type('4');
        if (watchedTicks > 3 && watchedTicks < 20 && scroll - lastScroll == 4) ++fastTicks;
        if (watchedTicks == 20) type(' ');
        if (watchedTicks > 21 && watchedTicks < 30 && scroll == lastScroll) ++frozenTicks;
        if (watchedTicks == 30) type(' ');
        if (watchedTicks == 60) type(27);
        lastScroll = scroll;
        return true;
    }

private:
    static constexpr int64_t kClickFrame = 10;
    int32_t lastScroll = 0;
    static ScriptEvent Event(ScriptEventKind kind, uint8_t code = 0) {
        ScriptEvent e;
        e.kind = kind;
        e.code = code;
        return e;
    }
    static ScriptEvent Move(int x, int y) {
        ScriptEvent e = Event(ScriptEventKind::Move);
        e.x = x;
        e.y = y;
        return e;
    }
};

}  // namespace

TEST(KeptReplays, WatchingFromTheScorePageGivesTheSessionBackAndLeavesEverySavedFile) {
    const std::string dir = MakeTempDir("kept-watch");
    WriteLowScores(dir);
    WriteTextFile(dir + "/game.txt", GoldenInput("lose_d2.replay"));
    ASSERT_EQ(KavrixIn(dir, "--headless --keep-replays --save-dir . --input game.txt --frames 1300"), 0);
    fs::remove(dir + "/game.txt");
    fs::remove(dir + "/out.txt");
    fs::remove(dir + "/err.txt");
    const auto files = FilesUnder(dir);
    ASSERT_EQ(files.count(dir + "/" + kScoresFileName), 1u);

    Watcher watcher;
    RunOptions options = KeepingRun(dir);
    options.frames = 14;
    EXPECT_EQ(RunKavrix(options, &watcher), 0);
    EXPECT_TRUE(watcher.sawTheGame) << "the replay plays in the game's own scene";
    EXPECT_GE(watcher.fastTicks, 10) << "four frames a tick";
    EXPECT_GE(watcher.frozenTicks, 6) << "paused";
    EXPECT_TRUE(watcher.back) << "Escape returns to the score page";
    EXPECT_LT(watcher.watchedTicks, 200) << "left before the replay's end";
    EXPECT_EQ(watcher.after, watcher.before);
    EXPECT_TRUE(FilesUnder(dir) == files) << "a saved file or a kept replay changed";
}
