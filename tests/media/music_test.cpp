// Module music through the music calls the game makes: a song whose length has
// passed on the game's music clock turns its channel inactive (so the game
// picks the next), whatever the sound device did; a looping one goes on,
// damaged files fail cleanly, and endless reloads neither leak nor crash.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "media/mixer.h"
#include "media/music.h"
#include "test_support.h"

namespace {

// A tiny 4-channel ProTracker "M.K." module: one looped 8-bit sample, one
// pattern with a note on row 0, speed 1 (one 20 ms tick per row) and a
// pattern break on row `rows - 1`, so the song lasts rows × 20 ms.
std::vector<uint8_t> MakeModule(int rows) {
    std::vector<uint8_t> m(20, 0);  // title
    const char* title = "kavrix test";
    for (int i = 0; title[i]; ++i) m[size_t(i)] = uint8_t(title[i]);
    const int sampleBytes = 64;
    for (int s = 0; s < 31; ++s) {
        std::vector<uint8_t> header(30, 0);
        if (s == 0) {
            header[22] = 0;
            header[23] = sampleBytes / 2;                  // length in words, big-endian
            header[24] = 0;                                // finetune
            header[25] = 64;                               // volume
            header[26] = 0, header[27] = 0;                // loop start
            header[28] = 0, header[29] = sampleBytes / 2;  // loop length
        } else {
            header[29] = 1;  // no loop
        }
        m.insert(m.end(), header.begin(), header.end());
    }
    m.push_back(1);  // song length: one order
    m.push_back(127);
    for (int i = 0; i < 128; ++i) m.push_back(0);
    for (char c : std::string("M.K.")) m.push_back(uint8_t(c));
    std::vector<uint8_t> pattern(64 * 4 * 4, 0);
    auto cell = [&](int row, int channel) { return pattern.data() + (row * 4 + channel) * 4; };
    const int period = 428;  // C-2
    uint8_t* note = cell(0, 0);
    note[0] = uint8_t(period >> 8);
    note[1] = uint8_t(period & 0xFF);
    note[2] = 0x10;  // sample 1
    uint8_t* speed = cell(0, 1);
    speed[2] = 0x0F, speed[3] = 0x01;
    uint8_t* brk = cell(rows - 1, 2);
    brk[2] = 0x0D, brk[3] = 0x00;
    m.insert(m.end(), pattern.begin(), pattern.end());
    for (int i = 0; i < sampleBytes; ++i) m.push_back(uint8_t(i < sampleBytes / 2 ? 90 : -90));
    return m;
}

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = MakeTempDir("music");
        std::filesystem::create_directories(dir + "/audio");
        WriteFileBytes(dir + "/audio/song01.mod", MakeModule(16));  // 0.32 s
        mixer.available = true;
        music.mixer = &mixer;
        music.dataDir = dir;
        SetMusicVolumes(music, 100, 1, 1);
        OpenMusic(music, -1, 44100, 0, nullptr);
        StartMusic(music);
    }
    void TearDown() override {
        CloseMusic(music);
        std::filesystem::remove_all(dir);
    }
    double RenderPeak(int frames) {
        std::vector<int16_t> out(size_t(frames) * 2);
        MixAudio(mixer, out.data(), frames);
        int peak = 0;
        for (int16_t s : out) peak = std::max(peak, std::abs(int(s)));
        return peak / 32767.0;
    }
    std::string dir;
    Mixer mixer;
    Music music;
};

TEST_F(MusicTest, SongEndsWhenItsLengthHasPassedOnTheMusicClock) {
    const int32_t channel = LoadSong(music, false, "audio\\SONG01.MOD", 0, 0, 1);
    ASSERT_NE(channel, 0);
    EXPECT_EQ(IsSongPlaying(music, channel), 0) << "loaded but not yet played";
    ASSERT_TRUE(PlaySong(music, channel));
    EXPECT_EQ(IsSongPlaying(music, channel), 1);
    EXPECT_GT(RenderPeak(4410), 0.05) << "the note is heard";
    // Rendering the whole song ends the sound but not the channel: the game
    // asks its own clock, so a window, a headless run and a replay agree.
    RenderPeak(44100);
    EXPECT_EQ(RenderPeak(2000), 0.0) << "nothing sounds after the end";
    EXPECT_EQ(IsSongPlaying(music, channel), 1);
    // 16 rows of 20 ms: 320 ms, that is the 20th frame of 16 ms.
    int frames = 0;
    while (IsSongPlaying(music, channel) == 1 && frames < 1000) {
        AdvanceMusicClock(music, 16);
        ++frames;
    }
    EXPECT_EQ(frames, 20);

    // Played again, the same song starts over from its beginning.
    ASSERT_TRUE(PlaySong(music, channel));
    EXPECT_EQ(IsSongPlaying(music, channel), 1);
    EXPECT_GT(RenderPeak(4410), 0.05);
    // A stopped song's clock stands still.
    StopSong(music, channel);
    AdvanceMusicClock(music, 1000);
    EXPECT_EQ(music.playedMs, 0);
}

TEST_F(MusicTest, LoopingSongGoesOnPastItsLength) {
    const int32_t channel = LoadSong(music, false, "audio\\song01.mod", 0, 0, 5);
    ASSERT_NE(channel, 0);
    PlaySong(music, channel);
    for (int frame = 0; frame < 200; ++frame) AdvanceMusicClock(music, 16);  // ten times its length
    EXPECT_EQ(IsSongPlaying(music, channel), 1);
    RenderPeak(3 * 44100);
    EXPECT_GT(RenderPeak(4410), 0.05);
    StopSong(music, channel);
    EXPECT_EQ(IsSongPlaying(music, channel), 0);
    EXPECT_EQ(RenderPeak(2000), 0.0);
}

TEST_F(MusicTest, MusicVolumeScalesTheSong) {
    auto peakAt = [&](int volume) {
        SetMusicVolumes(music, volume, 1, 1);
        const int32_t channel = LoadSong(music, false, "audio\\song01.mod", 0, 0, 0);
        PlaySong(music, channel);
        return RenderPeak(4410);
    };
    const double full = peakAt(100);
    const double half = peakAt(50);
    EXPECT_GT(full, 0.05);
    EXPECT_NEAR(half, full / 2, 0.01);
    EXPECT_EQ(peakAt(0), 0.0);
}

TEST_F(MusicTest, MissingOrDamagedModuleGivesNoChannel) {
    EXPECT_EQ(LoadSong(music, false, "audio\\song09.mod", 0, 0, 1), 0);
    std::vector<uint8_t> text;
    for (int i = 0; i < 200; ++i)
        for (char c : std::string("not a module at all; ")) text.push_back(uint8_t(c));
    WriteFileBytes(dir + "/audio/broken.mod", text);
    EXPECT_EQ(LoadSong(music, false, "audio\\broken.mod", 0, 0, 1), 0);
    WriteFileBytes(dir + "/audio/empty.mod", {});
    EXPECT_EQ(LoadSong(music, false, "audio\\empty.mod", 0, 0, 1), 0);
    EXPECT_EQ(IsSongPlaying(music, 0), 0);
    EXPECT_FALSE(PlaySong(music, 0));
}

TEST_F(MusicTest, ReloadingReplacesTheSongAndOldHandlesGoQuiet) {
    int32_t previous = 0;
    for (int i = 0; i < 2000; ++i) {
        const int32_t channel = LoadSong(music, false, "audio\\song01.mod", 0, 0, i % 2 ? 1 : 5);
        ASSERT_NE(channel, 0);
        ASSERT_NE(channel, previous);
        ASSERT_TRUE(PlaySong(music, channel));
        if (previous != 0) {
            ASSERT_EQ(IsSongPlaying(music, previous), 0) << "reload " << i;
        }
        if (i % 100 == 0) RenderPeak(512);
        previous = channel;
    }
    EXPECT_EQ(IsSongPlaying(music, previous), 1);
}

TEST(MusicWithoutDevice, SongsStillEndOnTheMusicClock) {
    // The sound device could not be opened: nothing renders, but the game
    // sees the songs start and end exactly as it would with sound.
    const std::string dir = MakeTempDir("music-no-device");
    std::filesystem::create_directories(dir + "/audio");
    WriteFileBytes(dir + "/audio/song01.mod", MakeModule(16));
    Mixer mixer;
    Music music;
    music.mixer = &mixer;
    music.dataDir = dir;
    SetMusicVolumes(music, 100, 1, 1);
    OpenMusic(music, -1, 44100, 0, nullptr);
    StartMusic(music);
    const int32_t channel = LoadSong(music, false, "audio\\song01.mod", 0, 0, 1);
    ASSERT_NE(channel, 0);
    EXPECT_EQ(IsSongPlaying(music, channel), 0);
    PlaySong(music, channel);
    EXPECT_EQ(IsSongPlaying(music, channel), 1);
    for (int frame = 0; frame < 19; ++frame) AdvanceMusicClock(music, 16);
    EXPECT_EQ(IsSongPlaying(music, channel), 1);
    AdvanceMusicClock(music, 16);
    EXPECT_EQ(IsSongPlaying(music, channel), 0);
    const int32_t next = LoadSong(music, false, "audio\\song01.mod", 0, 0, 1);
    EXPECT_NE(next, channel);
    PlaySong(music, channel);  // an old handle starts nothing
    EXPECT_EQ(IsSongPlaying(music, channel), 0);
    EXPECT_EQ(IsSongPlaying(music, next), 0);
    CloseMusic(music);
    std::filesystem::remove_all(dir);
}

}  // namespace

namespace {

// The game's generated songs load through their asset names and sound.
TEST(MusicGameSongs, EverySongLoadsAndIsHeard) {
    TestWorld t = MakeTestWorld(false);
    Music& music = t.w().media.music;
    SetMusicVolumes(music, 100, 1, 1);
    OpenMusic(music, -1, 44100, 0, nullptr);
    for (const char* name : {"audio\\intro.mod", "audio\\Intro.mod", "audio\\song01.mod", "audio\\song02.mod",
                             "audio\\song03.mod", "audio\\song04.mod", "audio\\song05.mod"}) {
        const int32_t channel = LoadSong(music, false, name, 0, 0, 1);
        ASSERT_NE(channel, 0) << name;
        PlaySong(music, channel);
        std::vector<int16_t> out(2 * 44100);
        MixAudio(*t.w().media.mixer, out.data(), 44100);
        int peak = 0;
        for (int16_t s : out) peak = std::max(peak, std::abs(int(s)));
        EXPECT_GT(peak, 300) << name << " is silent in its first second";
    }
    CloseMusic(music);
}

}  // namespace
