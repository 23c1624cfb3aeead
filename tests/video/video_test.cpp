// Rendering a run into a WebM file, read back with FFmpeg's own reader: a
// scripted flight on level 7 with music, shots and a hit, checked for its
// streams, its length in pictures and in sound, sound that starts in the
// tick the game starts it, and pictures that match the game's screenshots;
// the ways a video is refused or dropped; and a video never destroying what
// stood at its name.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

extern "C" {
#include <libavutil/version.h>
}

#include "shell/runner.h"
#include "state/world.h"
#include "test_support.h"
#include "video/capture.h"
#include "video_probe.h"

namespace fs = std::filesystem;

namespace {

constexpr int64_t kTicks = 420;
constexpr int64_t kMusicOff = 60;   // F3 held for this tick
constexpr int64_t kFireFrom = 130;  // the fire key held from this tick on
constexpr double kTick = 0.016;

// Plays level 7: the music runs, is switched off, then the ship fires and
// weaves; notes the tick of the first shot and of the first hit.
class Flight : public FramePilot {
public:
    int64_t firstShot = -1, firstHit = -1;

    bool BeforeFrame(const World& w, int64_t frame, KeySet& held, std::vector<ScriptEvent>&) override {
        if (frame == kMusicOff) held.set(size_t(GameKey::F3));
        if (frame >= kFireFrom) held.set(size_t(GameKey::Space));
        if (frame >= kFireFrom && frame % 120 < 40) held.set(size_t(GameKey::Left));
        if (frame >= kFireFrom && frame % 120 >= 70 && frame % 120 < 110) held.set(size_t(GameKey::Right));
        // What the tick before this one did.
        for (const ShotRecord& s : w.game.LaserShots)
            if (firstShot < 0 && s.Active) firstShot = frame - 1;
        for (const LevelObject& o : w.game.LevelObjects)
            if (firstHit < 0 && o.Hit != 0) firstHit = frame - 1;
        return true;
    }
};

}  // namespace

TEST(Video, ScriptedRunBecomesAWebmInStepWithTheGame) {
    const std::string dir = MakeTempDir("video-run");
    RunOptions options;
    options.headless = true;
    options.frames = kTicks;
    options.dataDir = TestDataDir();
    options.saveDir = dir;
    options.newGame = true;
    options.newGameName = "Video";
    options.level = 7;
    options.videoFile = dir + "/run.webm";
    options.quiet = true;
    options.screenshots = {{0, dir + "/first.png"}, {kTicks - 1, dir + "/last.png"}};
    Flight flight;
    ASSERT_EQ(RunKavrix(options, &flight, MakeVideoCapture), 0);
    ASSERT_GT(flight.firstShot, kFireFrom - 1);
    ASSERT_GT(flight.firstHit, 0) << "the flight should hit something";

    RgbPicture first, last;
    const VideoProbe v = ProbeVideo(options.videoFile, [&](int64_t index, const RgbPicture& picture) {
        if (index == 0) first = picture;
        if (index == kTicks - 1) last = picture;
    });
    EXPECT_TRUE(v.videoCodec == "vp9" || v.videoCodec == "vp8") << v.videoCodec;
    EXPECT_EQ(v.audioCodec, "opus");
    EXPECT_EQ(v.width, 800);
    EXPECT_EQ(v.height, 600);
    EXPECT_EQ(v.frameRateNum * 2, v.frameRateDen * 125);  // 62.5 a second
    EXPECT_EQ(v.pictures, kTicks);
    const double length = kTicks * kTick;
    EXPECT_NEAR(v.picturesEnd - v.picturesStart, length, kTick);
    EXPECT_NEAR(v.fileSeconds, length, kTick);
    const double soundLength = double(v.sound.size()) / v.sampleRate;
    EXPECT_NEAR(soundLength, length, 0.020);

    // Sound is read at the pictures' clock: the sample under a tick's start.
    const auto at = [&](double tick) {
        return size_t(std::max(0.0, (v.picturesStart + tick * kTick - v.soundStart) * v.sampleRate));
    };
    EXPECT_GT(Rms(v.sound, at(5), at(kMusicOff - 5)), 0.02) << "the song plays from the first tick";
    EXPECT_LT(Rms(v.sound, at(kMusicOff + 10), at(flight.firstShot - 1)), 0.001) << "F3 stopped the song";
    EXPECT_GT(Rms(v.sound, at(flight.firstShot), at(flight.firstShot + 1)), 0.02) << "the first shot's tick";
    EXPECT_GT(Rms(v.sound, at(flight.firstHit), at(flight.firstHit + 10)), 0.02) << "the hit";
    // The shot's sound starts within its tick (Opus may smear its attack
    // over a sample or two ahead of it).
    size_t onset = at(kMusicOff + 10);
    while (onset < v.sound.size() && std::fabs(v.sound[onset]) < 0.02f) ++onset;
    const double onsetTick = (v.soundStart + double(onset) / v.sampleRate - v.picturesStart) / kTick;
    EXPECT_GE(onsetTick, double(flight.firstShot) - 0.1);
    EXPECT_LT(onsetTick, double(flight.firstShot) + 0.5);

    // The decoded pictures are the game's screenshots of those ticks, but
    // for lossy coding (chroma at half resolution, the faintest stars dimmed).
    EXPECT_LT(MeanAbsoluteDifference(first, ReadPng(dir + "/first.png")), 2.0);
    EXPECT_LT(MeanAbsoluteDifference(last, ReadPng(dir + "/last.png")), 2.0);
}

namespace {

// Runs kavrix in dir with the arguments and saved files of its own (a
// replay needs the saved files its game began with); stdout and stderr go
// to files in dir.
int Kavrix(const std::string& dir, const std::string& args) {
    static int runs = 0;
    const std::string saves = dir + "/saves" + std::to_string(++runs);
    fs::create_directories(saves);
    return RunCommand("cd '" + dir + "' && '" + KavrixBinary() + "' --data '" + TestDataDir() + "' --save-dir '" +
                      saves + "' " + args + " >out.txt 2>err.txt");
}

}  // namespace

TEST(Video, RefusedOrRemovedWhenTheRunCannotBeTrusted) {
    const std::string dir = MakeTempDir("video-refused");
    std::ofstream(dir + "/fire.txt") << "0 down Space\n";
    ASSERT_EQ(Kavrix(dir, "--headless --frames 40 --new-game Rek --input fire.txt --record game.rec"), 0);

    // A replay whose hash no longer matches stops with the replay's message
    // and status, and leaves no partial file.
    std::string recording = ReadTextFile(dir + "/game.rec");
    const size_t hash = recording.find("hash 40 ") + 8;
    recording[hash] = recording[hash] == '0' ? '1' : '0';
    std::ofstream(dir + "/changed.rec") << recording;
    EXPECT_EQ(Kavrix(dir, "--replay changed.rec --video out.webm"), 3);
    EXPECT_NE(ReadTextFile(dir + "/err.txt").find("state hash differs after frame 40"), std::string::npos)
        << ReadTextFile(dir + "/err.txt");
    EXPECT_FALSE(fs::exists(dir + "/out.webm"));

    // A damaged replay is refused before anything is written.
    std::ofstream(dir + "/damaged.rec") << "seed 1\nhash 40 zz\n";
    EXPECT_EQ(Kavrix(dir, "--replay damaged.rec --video out.webm"), 2);
    EXPECT_NE(ReadTextFile(dir + "/err.txt").find("damaged.rec:2:"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir + "/out.webm"));

    // An output that cannot be written is named.
    EXPECT_EQ(Kavrix(dir, "--replay game.rec --video missing/out.webm"), 1);
    EXPECT_NE(ReadTextFile(dir + "/err.txt").find("missing/out.webm"), std::string::npos)
        << ReadTextFile(dir + "/err.txt");

    // FFmpeg is opened only for a video: where its libraries cannot be
    // loaded (here a damaged one found first) the run stops at once, naming
    // the library, and writes nothing.
    const std::string avutil = "libavutil.so." + std::to_string(LIBAVUTIL_VERSION_MAJOR);
    fs::create_directories(dir + "/broken");
    std::ofstream(dir + "/broken/" + avutil) << "not a library";
    EXPECT_EQ(RunCommand("cd '" + dir + "' && LD_LIBRARY_PATH=broken '" + KavrixBinary() + "' --data '" +
                         TestDataDir() + "' --save-dir . --headless --frames 10 --video lib.webm 2>err.txt"),
              1);
    EXPECT_NE(ReadTextFile(dir + "/err.txt").find("cannot load " + avutil), std::string::npos)
        << ReadTextFile(dir + "/err.txt");
    EXPECT_FALSE(fs::exists(dir + "/lib.webm"));

    // The untouched recording renders, with a progress report; a scripted
    // run renders too, quietly.
    EXPECT_EQ(Kavrix(dir, "--replay game.rec --video out.webm"), 0) << ReadTextFile(dir + "/err.txt");
    EXPECT_NE(ReadTextFile(dir + "/err.txt").find("video 'out.webm': 40 frames"), std::string::npos)
        << ReadTextFile(dir + "/err.txt");
    EXPECT_EQ(ProbeVideo(dir + "/out.webm").pictures, 40);
    EXPECT_EQ(Kavrix(dir, "--frames 30 --new-game Tich --input fire.txt --video quiet.webm --quiet"), 0);
    EXPECT_EQ(ReadTextFile(dir + "/err.txt"), "");
    EXPECT_EQ(ProbeVideo(dir + "/quiet.webm").pictures, 30);
}

TEST(Video, WhatStandsAtTheNameIsReplacedOnlyByAWholeVideo) {
    const std::string dir = MakeTempDir("video-keeps");
    std::ofstream(dir + "/fire.txt") << "0 down Space\n";
    ASSERT_EQ(Kavrix(dir, "--headless --frames 40 --new-game Rek --input fire.txt --record game.rec"), 0);
    std::string changed = ReadTextFile(dir + "/game.rec");
    const size_t hash = changed.find("hash 40 ") + 8;
    changed[hash] = changed[hash] == '0' ? '1' : '0';
    std::ofstream(dir + "/changed.rec") << changed;
    auto leftovers = [&] {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(dir))
            count += entry.path().filename().string().find(".tmp") != std::string::npos;
        return count;
    };

    // An old file survives a run that cannot start and one that goes its own way.
    std::ofstream(dir + "/old.webm") << "OLD";
    EXPECT_EQ(RunCommand("cd '" + dir + "' && '" + KavrixBinary() +
                         "' --headless --data /nonexistent --save-dir . --replay game.rec --video old.webm 2>err.txt"),
              1);
    EXPECT_EQ(ReadTextFile(dir + "/old.webm"), "OLD");
    EXPECT_EQ(Kavrix(dir, "--replay changed.rec --video old.webm"), 3);
    EXPECT_EQ(ReadTextFile(dir + "/old.webm"), "OLD");

    // A named pipe at the name is refused, and stays.
    ASSERT_EQ(::mkfifo((dir + "/pipe.webm").c_str(), 0644), 0);
    EXPECT_EQ(Kavrix(dir, "--replay game.rec --video pipe.webm"), 1);
    EXPECT_NE(ReadTextFile(dir + "/err.txt").find("'pipe.webm' is a named pipe"), std::string::npos)
        << ReadTextFile(dir + "/err.txt");
    struct stat st {};
    ASSERT_EQ(::lstat((dir + "/pipe.webm").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    // A symbolic link is replaced by the video, never written through.
    std::ofstream(dir + "/victim") << "VICTIM";
    fs::create_symlink("victim", dir + "/link.webm");
    EXPECT_EQ(Kavrix(dir, "--replay game.rec --video link.webm --quiet"), 0) << ReadTextFile(dir + "/err.txt");
    EXPECT_EQ(ReadTextFile(dir + "/victim"), "VICTIM");
    EXPECT_FALSE(fs::is_symlink(dir + "/link.webm"));
    EXPECT_EQ(ProbeVideo(dir + "/link.webm").pictures, 40);

    // Stopped by a signal while it renders: the old file stands and the
    // half-written one is gone.
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        const std::string pidFile = dir + "/pid";
        fs::remove(pidFile);
        RunCommand("cd '" + dir + "' && ('" + KavrixBinary() + "' --data '" + TestDataDir() +
                   "' --save-dir . --headless --frames 1000000 --video old.webm --quiet & echo $! >pid)");
        while (!fs::exists(pidFile) || ReadTextFile(pidFile).empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const pid_t pid = pid_t(std::stol(ReadTextFile(pidFile)));
        for (int waited = 0; leftovers() == 0 && waited < 500; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(leftovers(), 1) << "the video is written beside its name";
        ::kill(pid, signalNumber);
        for (int waited = 0; ::kill(pid, 0) == 0 && waited < 500; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(ReadTextFile(dir + "/old.webm"), "OLD") << "signal " << signalNumber;
        EXPECT_EQ(leftovers(), 0) << "signal " << signalNumber;
    }
}
