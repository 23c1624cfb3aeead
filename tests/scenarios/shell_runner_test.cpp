// The kavrix program run headless: a new game entered directly, global keys
// driven by an input script, start-up with a missing collection, a bad
// script line, a recorded game replayed hash for hash, a game recorded with
// the player's own keys replayed with the defaults, recordings and scripts
// that cannot be trusted refused before anything runs, and the temporary
// files of stopped saves removed at start-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shell/replay.h"
#include "test_support.h"

namespace fs = std::filesystem;

TEST(ShellRunner, NewGameTakesTheFirstFreeSlotSavesItAndEntersTheLevel) {
    const std::string dir = MakeTempDir("run-new-game");
    ASSERT_EQ(KavrixIn(dir, "--headless --frames 30 --new-game Jitka --difficulty 3 --level 3 --dump-state s.json"), 0)
        << ReadTextFile(dir + "/err.txt");
    const std::string json = ReadTextFile(dir + "/s.json");
    EXPECT_EQ(DumpString(json, "CurrentScene"), "HlavniHra");
    EXPECT_EQ(DumpInt(json, "Level", json.find("\"Progress\"")), 3);
    EXPECT_GE(DumpInt(json, "ScrollDistance", json.find("\"Progress\"")), 600);
    EXPECT_LE(DumpInt(json, "ScrollDistance", json.find("\"Progress\"")), 630);  // at most one row per frame
    EXPECT_EQ(DumpInt(json, "Difficulty", json.find("\"Progress\"")), 3);
    EXPECT_EQ(DumpInt(json, "CurrentProfile"), 1);
    EXPECT_EQ(DumpInt(json, "GameActive"), 1);
    // The slot holds what the menu's Start stores: the name at level 1.
    const size_t slot1 = json.find("\"slot\":1");
    EXPECT_EQ(DumpString(json, "PlayerName", slot1), "Jitka");
    EXPECT_EQ(DumpInt(json, "Level", slot1), 1);
    EXPECT_EQ(DumpInt(json, "Difficulty", slot1), 3);
    const auto file = ReadFileBytes(dir + "/profily.lev");
    ASSERT_EQ(file.size(), 648u);
    EXPECT_EQ(file[31], 5);
    EXPECT_EQ(std::string(file.begin() + 32, file.begin() + 37), "Jitka");

    // A second new game takes slot 2.
    ASSERT_EQ(KavrixIn(dir, "--headless --frames 1 --new-game Ota --dump-state s2.json"), 0);
    EXPECT_EQ(DumpInt(ReadTextFile(dir + "/s2.json"), "CurrentProfile"), 2);
}

TEST(ShellRunner, InputScriptDrivesTheGlobalKeys) {
    const std::string dir = MakeTempDir("run-keys");
    WriteTextFile(dir + "/keys.txt",
                  "seed 99\n"
                  "0 down F2     # sound off\n"
                  "4 up F2\n"
                  "6 down F2     # and on again\n"
                  "7 up F2\n"
                  "9 down F2     # off: three presses in all\n"
                  "12 up F2\n"
                  "20 down KP-\n"
                  "30 up KP-\n"
                  "40 down F12\n"
                  "43 up F12\n");
    ASSERT_EQ(KavrixIn(dir, "--headless --frames 50 --input keys.txt --dump-state s.json"), 0)
        << ReadTextFile(dir + "/err.txt");
    const std::string json = ReadTextFile(dir + "/s.json");
    EXPECT_EQ(DumpInt(json, "SoundEnabled"), 0);
    EXPECT_EQ(DumpInt(json, "MusicVolume"), 90);   // ten frames held
    EXPECT_EQ(DumpInt(json, "ShowFrameRate"), 1);  // three frames held
    // Saved settings are only written when quitting through the menu.
    EXPECT_FALSE(fs::exists(dir + "/nastaveni.lev"));
}

TEST(ShellRunner, MissingCollectionEndsStartUpWithItsNameAndAFailure) {
    const std::string dir = MakeTempDir("run-missing");
    fs::create_directories(dir + "/data/video");
    const int status =
        RunCommand("cd '" + dir + "' && '" + KavrixBinary() + "' --headless --frames 5 --data data >out.txt 2>err.txt");
    EXPECT_NE(status, 0);
    EXPECT_NE(ReadTextFile(dir + "/err.txt").find("mesto.lev"), std::string::npos) << ReadTextFile(dir + "/err.txt");

    // A damaged collection is named as well.
    for (const char* name : {"mesto.lev", "menu.lev"})
        fs::copy_file(TestDataDir() + "/video/" + name, dir + "/data/video/" + name);
    WriteTextFile(dir + "/data/video/rakety.lev", "not a collection");
    EXPECT_NE(
        RunCommand("cd '" + dir + "' && '" + KavrixBinary() + "' --headless --frames 5 --data data >out.txt 2>err.txt"),
        0);
    EXPECT_NE(ReadTextFile(dir + "/err.txt").find("rakety.lev"), std::string::npos) << ReadTextFile(dir + "/err.txt");
}

TEST(ShellRunner, BadScriptLineIsNamedAndNothingRuns) {
    const std::string dir = MakeTempDir("run-bad-script");
    WriteTextFile(dir + "/keys.txt", "0 down Up\n10 press Up\n");
    EXPECT_NE(KavrixIn(dir, "--headless --frames 20 --input keys.txt --dump-state s.json"), 0);
    EXPECT_NE(ReadTextFile(dir + "/err.txt").find("keys.txt:2:"), std::string::npos) << ReadTextFile(dir + "/err.txt");
    EXPECT_FALSE(fs::exists(dir + "/s.json"));
}

TEST(ShellRunner, RecordedGameReplaysWithEveryHashAndAChangedHashIsCaught) {
    const std::string dir = MakeTempDir("run-replay");
    WriteTextFile(dir + "/play.txt",
                  "seed 2024\n"
                  "100 down Left\n"
                  "130 up Left\n"
                  "140 down Space\n"
                  "400 up Space\n"
                  "420 down Up\n"
                  "450 up Up\n"
                  "500 down H\n"
                  "501 up H\n");
    fs::create_directories(dir + "/rec");
    fs::create_directories(dir + "/play");
    ASSERT_EQ(KavrixIn(dir + "/rec",
                       "--headless --frames 700 --new-game Rek --input ../play.txt --record ../game.rec"
                       " --dump-state ../rec.json"),
              0)
        << ReadTextFile(dir + "/rec/err.txt");
    const std::string recording = ReadTextFile(dir + "/game.rec");
    EXPECT_NE(recording.find("seed 2024"), std::string::npos);
    EXPECT_NE(recording.find("100 down Left"), std::string::npos);
    EXPECT_NE(recording.find("hash 300 "), std::string::npos);
    EXPECT_NE(recording.find("hash 600 "), std::string::npos);
    EXPECT_NE(recording.find("hash 700 "), std::string::npos);
    // The recording names the game it started, so the replay needs no options.
    EXPECT_NE(recording.find("\nnewgame 2 1 Rek\n"), std::string::npos);

    ASSERT_EQ(KavrixIn(dir + "/play", "--headless --replay ../game.rec --dump-state ../play.json"), 0)
        << ReadTextFile(dir + "/play/err.txt");
    EXPECT_NE(ReadTextFile(dir + "/play/out.txt").find("3 of 3 hashes matched"), std::string::npos)
        << ReadTextFile(dir + "/play/out.txt");
    const std::string recorded = ReadTextFile(dir + "/rec.json"), replayed = ReadTextFile(dir + "/play.json");
    EXPECT_EQ(DumpString(replayed, "GameStateHash"), DumpString(recorded, "GameStateHash"));
    EXPECT_EQ(DumpString(replayed, "SurfaceHash"), DumpString(recorded, "SurfaceHash"));

    // Changing the state or the screen value of a hash line makes the replay
    // stop there with a failure naming the frame and which one differed.
    for (const auto& [offset, which] : {std::pair{9, "state hash"}, std::pair{9 + 17, "screen hash"}}) {
        std::string changed = recording;
        const size_t at = changed.find("hash 600 ") + size_t(offset);
        changed[at] = changed[at] == '0' ? '1' : '0';
        WriteTextFile(dir + "/changed.rec", changed);
        fs::remove_all(dir + "/play");
        fs::create_directories(dir + "/play");
        EXPECT_EQ(KavrixIn(dir + "/play", "--headless --replay ../changed.rec"), 3);
        const std::string err = ReadTextFile(dir + "/play/err.txt");
        EXPECT_NE(err.find(std::string(which) + " differs after frame 600"), std::string::npos) << err;
    }

    // A recording from before screen hashes (state only) still replays.
    std::string stateOnly;
    for (size_t from = 0, to; from < recording.size(); from = to + 1) {
        to = recording.find('\n', from);
        std::string line = recording.substr(from, to - from);
        if (line.rfind("hash ", 0) == 0) line.erase(line.rfind(' '));
        stateOnly += line + "\n";
    }
    WriteTextFile(dir + "/old.rec", stateOnly);
    fs::remove_all(dir + "/play");
    fs::create_directories(dir + "/play");
    EXPECT_EQ(KavrixIn(dir + "/play", "--headless --replay ../old.rec"), 0) << ReadTextFile(dir + "/play/err.txt");

    // A damaged or empty recording is refused with status 2, naming file and line.
    WriteTextFile(dir + "/damaged.rec", "seed 1\n5 down Up\nhash 300 zz\n");
    EXPECT_EQ(KavrixIn(dir + "/play", "--headless --replay ../damaged.rec"), 2);
    EXPECT_NE(ReadTextFile(dir + "/play/err.txt").find("damaged.rec:3:"), std::string::npos);
    WriteTextFile(dir + "/empty.rec", "");
    EXPECT_EQ(KavrixIn(dir + "/play", "--headless --replay ../empty.rec"), 2);
    EXPECT_NE(ReadTextFile(dir + "/play/err.txt").find("empty.rec"), std::string::npos);
}

// The windowed game with kavrix.conf binding W to fly up and the left Ctrl
// to fire records the game's own keys (Up, Space); the recording replays
// headless, with the default keys, hash for hash (both from empty save
// folders).
TEST(ShellRunner, GameRecordedWithRemappedKeysReplaysWithTheDefaults) {
    const std::string dir = MakeTempDir("run-remapped");
    fs::create_directories(dir + "/config/kavrix");
    WriteTextFile(dir + "/config/kavrix/kavrix.conf", "key.up=W\nkey.fire=LeftCtrl, D\n");
    WriteTextFile(dir + "/play.txt",
                  "seed 77\n"
                  "40 down W\n"
                  "90 up W\n"
                  "100 down LeftCtrl\n"
                  "250 up LeftCtrl\n");
    fs::create_directories(dir + "/rec");
    fs::create_directories(dir + "/play");
    const std::string windowed =
        "cd '" + dir + "/rec' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME='" + dir + "/config' '" +
        KavrixBinary() + "' --data '" + TestDataDir() +
        "' --window --save-dir . --frames 320 --new-game Rek --input ../play.txt --record ../game.rec"
        " >out.txt 2>err.txt";
    ASSERT_EQ(RunCommand(windowed), 0) << ReadTextFile(dir + "/rec/err.txt");
    const std::string recording = ReadTextFile(dir + "/game.rec");
    EXPECT_NE(recording.find("40 down Up\n"), std::string::npos) << recording;
    EXPECT_NE(recording.find("100 down Space\n"), std::string::npos) << recording;
    EXPECT_EQ(recording.find(" W\n"), std::string::npos) << "the physical key is not recorded";
    EXPECT_EQ(recording.find("LeftCtrl"), std::string::npos) << "the physical key is not recorded";

    ASSERT_EQ(KavrixIn(dir + "/play", "--headless --replay ../game.rec"), 0) << ReadTextFile(dir + "/play/err.txt");
    EXPECT_NE(ReadTextFile(dir + "/play/out.txt").find("2 of 2 hashes matched"), std::string::npos)
        << ReadTextFile(dir + "/play/out.txt");
}

TEST(ShellRunner, RecordingsThatCannotBeTrustedAreRefusedNamingFileAndLine) {
    const std::string dir = MakeTempDir("run-untrusted");
    ASSERT_EQ(KavrixIn(dir, "--headless --frames 650 --new-game Rek --save-dir . --record game.rec"), 0)
        << ReadTextFile(dir + "/err.txt");
    const std::string recording = ReadTextFile(dir + "/game.rec");
    ASSERT_EQ(recording.substr(recording.size() - 8), "end 650\n") << "closed with its end line";
    // Replays run in a save folder of their own, holding the slot as it
    // stood when the recording began.
    auto replay = [&](const std::string& args) {
        fs::remove_all(dir + "/saves");
        fs::create_directories(dir + "/saves");
        return KavrixIn(dir, "--headless --save-dir saves " + args);
    };
    auto refused = [&](const std::string& file, const std::string& text, const std::string& expected) {
        WriteTextFile(dir + "/" + file, text);
        EXPECT_EQ(replay("--replay " + file), 2) << file;
        const std::string err = ReadTextFile(dir + "/err.txt");
        EXPECT_NE(err.find(expected), std::string::npos) << file << ": " << err;
    };
    auto replaced = [&](std::string text, const std::string& from, const std::string& to) {
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    // Cut off at a line boundary: no end line.
    refused("cut.rec", recording.substr(0, recording.find("hash 600 ")), "cut.rec:");
    EXPECT_NE(ReadTextFile(dir + "/err.txt").find("no end line"), std::string::npos);
    // A frame number far beyond any game, and a hash far after the last one.
    refused("far.rec", replaced(recording, "hash 300 ", "hash 1099511627776 "), "far.rec:");
    refused("gap.rec", replaced(replaced(recording, "hash 650 ", "hash 100001 "), "end 650", "end 100001"),
            "frames after the one before it");
    refused("late.rec", replaced(recording, "end 650", "9000 click\nend 650"), "comes before frame 9000");
    // A damaged new game: a name too long, one with a character Windows-1250
    // cannot hold, one that is not UTF-8.
    for (const std::string name : {"Abcdefghijklmnopqrstu", "Rek\xE2\x82\xAC\xF0\x9F\x9A\x80", "R\xC3"}) {
        refused("name.rec", replaced(recording, "newgame 2 1 Rek", "newgame 2 1 " + name), "name.rec:4:");
    }
    // A recording of another version of the game is refused with the version
    // it was made by, rather than diverging; one from before version lines
    // with how to mend it.
    const std::string version = "version " + std::to_string(kRecordingVersion) + " ";
    refused("other.rec", replaced(recording, version, "version " + std::to_string(kRecordingVersion + 1) + " "),
            "other.rec:2: it was made by version " + std::to_string(kRecordingVersion + 1) + " of the game");
    refused("unversioned.rec", replaced(recording, VersionLine() + "\n", ""), "it has no version line");
    // What is not a regular file is refused unread: a folder, a named pipe
    // (which would otherwise block), a file larger than any recording.
    fs::create_directories(dir + "/folder.rec");
    EXPECT_EQ(replay("--replay folder.rec"), 2);
    EXPECT_NE(ReadTextFile(dir + "/err.txt").find("recording 'folder.rec' is a folder"), std::string::npos)
        << ReadTextFile(dir + "/err.txt");
    EXPECT_EQ(replay("--input folder.rec --frames 5"), 2);
    ASSERT_EQ(RunCommand("mkfifo '" + dir + "/pipe.rec'"), 0);
    EXPECT_EQ(replay("--replay pipe.rec"), 2);
    EXPECT_NE(ReadTextFile(dir + "/err.txt").find("is a named pipe"), std::string::npos);
    WriteTextFile(dir + "/huge.rec", recording + std::string(17 << 20, '#'));
    EXPECT_EQ(replay("--replay huge.rec"), 2);
    EXPECT_NE(ReadTextFile(dir + "/err.txt").find("is larger than 16 MB"), std::string::npos);

    // Stopped by --frames before the recording's end: how far it checked.
    EXPECT_EQ(replay("--replay game.rec --frames 400"), 0) << ReadTextFile(dir + "/err.txt");
    EXPECT_NE(ReadTextFile(dir + "/out.txt").find("1 of 3 hashes matched over 400 frames (stopped by --frames"),
              std::string::npos)
        << ReadTextFile(dir + "/out.txt");
    EXPECT_EQ(replay("--replay game.rec"), 0) << ReadTextFile(dir + "/err.txt");
}

TEST(ShellRunner, WithoutDataOptionTheDataBesideTheProgramIsFound) {
    // The working directory holds no video/rakety.lev, so data/ next to the
    // program (the build's generated data) is used.
    const std::string dir = MakeTempDir("run-default-data");
    ASSERT_TRUE(fs::exists(fs::path(KavrixBinary()).parent_path() / "data" / "video" / "rakety.lev"));
    EXPECT_EQ(RunCommand("cd '" + dir + "' && '" + KavrixBinary() +
                         "' --headless --frames 3 --dump-state s.json >out.txt 2>err.txt"),
              0)
        << ReadTextFile(dir + "/err.txt");
    EXPECT_EQ(DumpString(ReadTextFile(dir + "/s.json"), "CurrentScene"), "Intro");
}

TEST(ShellRunner, StartUpRemovesTheTemporaryFilesOfStoppedSaves) {
    const std::string dir = MakeTempDir("run-stale-temporaries");
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(5);
    // Saves stopped between writing and renaming, long ago: removed.
    for (const char* name : {"profily.lev.tmpAb12Cd", "nastaveni.lev.tmp000000"}) {
        WriteTextFile(dir + "/" + name, "x");
        fs::last_write_time(dir + "/" + name, old);
    }
    // A save under way in another game, and names that only look alike: kept.
    WriteTextFile(dir + "/skore.lev.tmpQwErTy", "x");
    for (const char* name : {"profily.lev.tmpAb12C", "profily.lev.tmp-b12Cd", "mapa.lev.tmpAb12Cd"}) {
        WriteTextFile(dir + "/" + name, "x");
        fs::last_write_time(dir + "/" + name, old);
    }
    fs::create_directory(dir + "/skore.lev.tmpFolder");
    fs::last_write_time(dir + "/skore.lev.tmpFolder", old);

    ASSERT_EQ(KavrixIn(dir, "--headless --frames 1"), 0);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir)) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"err.txt", "mapa.lev.tmpAb12Cd", "out.txt", "profily.lev.tmp-b12Cd",
                                              "profily.lev.tmpAb12C", "skore.lev.tmpFolder", "skore.lev.tmpQwErTy"}));
    const std::string err = ReadTextFile(dir + "/err.txt");
    EXPECT_NE(err.find("removed './profily.lev.tmpAb12Cd'"), std::string::npos) << err;
}
