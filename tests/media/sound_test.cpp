// Sound effects as the player hears them: name lookup, how voices are chosen
// when an effect is played again while it still sounds, looped effects,
// stopping, volume, and the mixer running on its own thread meanwhile.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "media/media_error.h"
#include "media/mixer.h"
#include "media/sound.h"
#include "test_support.h"

namespace {

// A 16-bit mono wave at the mixer's rate holding one constant level, so the
// mix shows exactly which voices sound and at what gain.
WaveItem MakeItem(const std::string& name, int frames, int16_t level, bool looped = false, int maxPlaying = 0) {
    WaveItem item;
    item.Name = name;
    item.Looped = looped;
    item.MaxPlayingCount = maxPlaying;
    item.wave.format = WaveFormat{1, 1, 44100, 88200, 2, 16};
    for (int i = 0; i < frames; ++i) {
        item.wave.samples.push_back(uint8_t(uint16_t(level) & 0xFF));
        item.wave.samples.push_back(uint8_t(uint16_t(level) >> 8));
    }
    return item;
}

std::vector<int16_t> Render(Mixer& mixer, int frames) {
    std::vector<int16_t> out(size_t(frames) * 2);
    MixAudio(mixer, out.data(), frames);
    return out;
}

int PlayingVoices(const Mixer& mixer) {
    int n = 0;
    for (const Voice& v : mixer.voices) n += v.playing ? 1 : 0;
    return n;
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        mixer.available = true;
        zvuky.items.push_back(MakeItem("Laser", 1000, 8192, false, 2));
        zvuky.items.push_back(MakeItem("Motor", 300, 8192, true));
        zvuky.items.push_back(MakeItem("Vybuch", 1000, 8192, false, 0));
        zvuky.items.push_back(MakeItem("Full", 1000, 16384, false, 1));
        IndexCollection(zvuky);
        AttachWaves(mixer, zvuky);
    }
    Mixer mixer;
    WaveCollection zvuky;
};

TEST_F(SoundTest, LookupIgnoresCaseAndFailsWithTheGamesMessage) {
    EXPECT_EQ(&FindSound(zvuky, "laser"), &zvuky.items[0]);
    EXPECT_EQ(&FindSound(zvuky, "MOTOR"), &zvuky.items[1]);
    EXPECT_EQ(&SoundAt(zvuky, 2), &zvuky.items[2]);
    try {
        FindSound(zvuky, "Sirena");
        FAIL() << "no error for a missing wave";
    } catch (const MediaError& e) {
        EXPECT_STREQ(e.what(), "Wave 'Sirena' not found");
    }
    EXPECT_THROW(SoundAt(zvuky, 4), MediaError);
    EXPECT_THROW(SoundAt(zvuky, -1), MediaError);
}

TEST_F(SoundTest, ThirdPlayWithTwoVoicesRestartsTheOldest) {
    WaveItem& laser = FindSound(zvuky, "Laser");
    PlaySound(mixer, laser);
    Render(mixer, 200);
    PlaySound(mixer, laser);
    Render(mixer, 100);
    ASSERT_EQ(laser.voices.size(), 2u);
    const int first = laser.voices[0], second = laser.voices[1];
    EXPECT_EQ(mixer.voices[first].position, 300u);
    EXPECT_EQ(mixer.voices[second].position, 100u);

    PlaySound(mixer, laser);
    ASSERT_EQ(laser.voices.size(), 2u) << "a third voice exceeds MaxPlayingCount";
    EXPECT_EQ(laser.voices[0], second);
    EXPECT_EQ(laser.voices[1], first) << "the restarted voice becomes the newest";
    EXPECT_EQ(mixer.voices[first].position, 0u);
    EXPECT_EQ(mixer.voices[second].position, 100u) << "the younger voice keeps playing undisturbed";
    EXPECT_EQ(PlayingVoices(mixer), 2);

    // The two voices end 100 frames apart: the restarted one runs its full length.
    std::vector<int16_t> out = Render(mixer, 1000);
    EXPECT_NEAR(out[2 * 0], 2 * 8192, 2);
    EXPECT_NEAR(out[2 * 899], 2 * 8192, 2);
    EXPECT_NEAR(out[2 * 900], 8192, 2);
    EXPECT_NEAR(out[2 * 999], 8192, 2);
}

TEST_F(SoundTest, AFinishedVoiceIsUsedAgainBeforeANewOne) {
    WaveItem& vybuch = FindSound(zvuky, "Vybuch");
    PlaySound(mixer, vybuch);
    Render(mixer, 1500);
    EXPECT_EQ(PlayingVoices(mixer), 0);
    PlaySound(mixer, vybuch);
    EXPECT_EQ(vybuch.voices.size(), 1u);
    // Without a limit every overlapping play gets a voice of its own.
    for (int i = 0; i < 4; ++i) PlaySound(mixer, vybuch);
    EXPECT_EQ(vybuch.voices.size(), 5u);
    EXPECT_EQ(PlayingVoices(mixer), 5);
    std::vector<int16_t> out = Render(mixer, 1);
    EXPECT_GT(out[0], 5 * 8192 * 3 / 4) << "five voices sum (bent only by the limiter)";
}

TEST_F(SoundTest, LoopedSoundKeepsGoingAndRestartsOnItsMainVoice) {
    WaveItem& motor = FindSound(zvuky, "Motor");
    PlaySound(mixer, motor);
    std::vector<int16_t> out = Render(mixer, 1000);  // more than three times its length
    EXPECT_NEAR(out[2 * 999], 8192, 2);
    EXPECT_TRUE(mixer.voices[motor.mainVoice].playing);
    EXPECT_EQ(mixer.voices[motor.mainVoice].position, 1000u % 300u);

    PlaySound(mixer, motor);
    EXPECT_TRUE(motor.voices.empty()) << "a looped sound never takes further voices";
    EXPECT_EQ(mixer.voices[motor.mainVoice].position, 0u);
    EXPECT_EQ(PlayingVoices(mixer), 1);
}

TEST_F(SoundTest, StopSoundSilencesEveryVoice) {
    WaveItem& vybuch = FindSound(zvuky, "Vybuch");
    WaveItem& motor = FindSound(zvuky, "Motor");
    for (int i = 0; i < 3; ++i) PlaySound(mixer, vybuch);
    PlaySound(mixer, motor);
    Render(mixer, 10);
    StopSound(mixer, vybuch);
    StopSound(mixer, motor);
    for (int16_t s : Render(mixer, 200)) ASSERT_EQ(s, 0);
    EXPECT_EQ(PlayingVoices(mixer), 0);
}

TEST_F(SoundTest, VolumeRangesFromSilenceToFullScale) {
    WaveItem& full = FindSound(zvuky, "Full");
    PlaySound(mixer, full);
    std::vector<int16_t> out = Render(mixer, 10);
    EXPECT_NEAR(out[0], 16384, 1) << "volume 0 plays the wave unchanged";
    EXPECT_NEAR(out[1], 16384, 1);

    SetSoundVolume(mixer, full, -600);  // about half the amplitude
    PlaySound(mixer, full);
    out = Render(mixer, 10);
    EXPECT_NEAR(out[0], 16384 * std::pow(10.0, -0.3), 2);

    SetSoundVolume(mixer, full, -10000);
    PlaySound(mixer, full);
    for (int16_t s : Render(mixer, 500)) ASSERT_EQ(s, 0);
}

TEST_F(SoundTest, VolumeReachesPlayingVoicesOnlyWhenTheyStartAgain) {
    WaveItem& vybuch = FindSound(zvuky, "Vybuch");
    WaveItem& motor = FindSound(zvuky, "Motor");
    PlaySound(mixer, vybuch);
    PlaySound(mixer, motor);
    SetSoundVolume(mixer, vybuch, -10000);
    SetSoundVolume(mixer, motor, -10000);
    // The looped sound's main voice falls silent at once; the effect already
    // sounding finishes at its old volume.
    std::vector<int16_t> out = Render(mixer, 10);
    EXPECT_NEAR(out[0], 8192, 2);
    Render(mixer, 1000);
    PlaySound(mixer, vybuch);
    for (int16_t s : Render(mixer, 100)) ASSERT_EQ(s, 0);
}

TEST(SoundWithoutDevice, EveryCallDoesNothing) {
    Mixer mixer;  // no device, no null sink
    WaveCollection zvuky;
    zvuky.items.push_back(MakeItem("Laser", 100, 8192, false, 2));
    zvuky.items.push_back(MakeItem("Motor", 100, 8192, true));
    IndexCollection(zvuky);
    AttachWaves(mixer, zvuky);
    for (WaveItem& item : zvuky.items) {
        SetSoundVolume(mixer, item, -1000);
        PlaySound(mixer, item);
        StopSound(mixer, item);
        PlaySound(mixer, item);
    }
    EXPECT_EQ(PlayingVoices(mixer), 0);
    for (const Voice& v : mixer.voices) EXPECT_FALSE(v.inUse);
}

TEST(SoundVoicePool, ExhaustedPoolReusesTheItemsOldestVoice) {
    Mixer mixer;
    mixer.available = true;
    WaveCollection zvuky;
    zvuky.items.push_back(MakeItem("Vybuch", 1000, 100, false, 0));
    zvuky.items.push_back(MakeItem("Laser", 1000, 100, false, 0));
    IndexCollection(zvuky);
    AttachWaves(mixer, zvuky);
    WaveItem& vybuch = zvuky.items[0];
    WaveItem& laser = zvuky.items[1];
    for (int i = 0; i < 300; ++i) PlaySound(mixer, vybuch);
    EXPECT_EQ(vybuch.voices.size(), size_t(kMaxVoices - 2)) << "all but the two main voices";
    // Laser has no voice yet and the pool is empty: it is skipped, nothing breaks.
    PlaySound(mixer, laser);
    EXPECT_TRUE(laser.voices.empty());
    EXPECT_EQ(PlayingVoices(mixer), kMaxVoices - 2);
}

TEST(SoundVoicePool, ReattachingACollectionGivesItsVoicesBack) {
    Mixer mixer;
    mixer.available = true;
    WaveCollection zvuky;
    for (int i = 0; i < 26; ++i) zvuky.items.push_back(MakeItem("W" + std::to_string(i), 100, 100));
    IndexCollection(zvuky);
    for (int round = 0; round < 20; ++round) {
        AttachWaves(mixer, zvuky);
        for (WaveItem& item : zvuky.items)
            for (int k = 0; k < 5; ++k) PlaySound(mixer, item);
    }
    int inUse = 0;
    for (const Voice& v : mixer.voices) inUse += v.inUse ? 1 : 0;
    EXPECT_EQ(inUse, 26 * 6);
}

TEST(SoundAttach, UnsupportedWaveNamesTheItem) {
    Mixer mixer;
    mixer.available = true;
    WaveCollection zvuky;
    zvuky.items.push_back(MakeItem("Sirena", 10, 100));
    zvuky.items[0].wave.format.bitsPerSample = 24;
    zvuky.items[0].wave.format.blockAlign = 3;
    IndexCollection(zvuky);
    try {
        AttachWaves(mixer, zvuky);
        FAIL() << "a 24-bit wave was accepted";
    } catch (const MediaError& e) {
        EXPECT_NE(std::string(e.what()).find("Sirena"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("24"), std::string::npos) << e.what();
    }
}

// The game thread plays and stops effects while the audio callback mixes
// on its own thread; run under ThreadSanitizer this shows the locking holds.
TEST(SoundThreads, PlayingWhileTheCallbackMixes) {
    Mixer mixer;
    mixer.available = true;
    WaveCollection zvuky;
    zvuky.items.push_back(MakeItem("Laser", 400, 4000, false, 3));
    zvuky.items.push_back(MakeItem("Motor", 300, 4000, true));
    zvuky.items.push_back(MakeItem("Vybuch", 2000, 4000, false, 0));
    IndexCollection(zvuky);
    AttachWaves(mixer, zvuky);

    std::atomic<bool> done{false};
    std::atomic<long> loudFrames{0};
    std::thread callback([&] {
        int16_t out[2 * 512];
        while (!done.load()) {
            MixAudio(mixer, out, 512);
            for (int i = 0; i < 512; ++i)
                if (out[2 * i] != 0) loudFrames.fetch_add(1);
        }
    });
    for (int frame = 0; frame < 3000; ++frame) {
        WaveItem& item = SoundAt(zvuky, frame % 3);
        PlaySound(mixer, item);
        if (frame % 7 == 0) SetSoundVolume(mixer, item, -(frame % 5) * 500);
        if (frame % 11 == 0) StopSound(mixer, FindSound(zvuky, "Motor"));
    }
    // Let the callback hear the last plays before stopping it.
    PlaySound(mixer, FindSound(zvuky, "Motor"));
    while (loudFrames.load() == 0) std::this_thread::yield();
    done = true;
    callback.join();
    EXPECT_GT(loudFrames.load(), 0);
    EXPECT_LE(zvuky.items[0].voices.size(), 3u);
}

}  // namespace

namespace {

// The game's own wave collection: every effect converts and sounds, and
// start-up priming (five silent plays, then stop) leaves nothing audible.
TEST(SoundGameCollection, PrimedEffectsAreSilentThenPlayAtTheGamesLevel) {
    TestWorld t = MakeTestWorld();
    Mixer& mixer = *t.w().media.mixer;
    WaveCollection& zvuky = t.w().media.Zvuky;
    ASSERT_GE(zvuky.items.size(), 26u);
    for (int i = 0; i < 26; ++i) {
        WaveItem& item = SoundAt(zvuky, i);
        ASSERT_TRUE(item.mixSamples) << item.Name;
        for (int k = 0; k < 5; ++k) {
            SetSoundVolume(mixer, item, -10000);
            PlaySound(mixer, item);
        }
    }
    for (int16_t s : Render(mixer, 2048)) ASSERT_EQ(s, 0);
    for (int i = 0; i < 26; ++i) {
        WaveItem& item = SoundAt(zvuky, i);
        StopSound(mixer, item);
        SetSoundVolume(mixer, item, -1000);
    }
    EXPECT_EQ(PlayingVoices(mixer), 0);
    PlaySound(mixer, FindSound(zvuky, "Vlajky"));
    int peak = 0;
    for (int16_t s : Render(mixer, 8820)) peak = std::max(peak, std::abs(int(s)));
    EXPECT_GT(peak, 300);
    EXPECT_LE(peak, int(32767 * VolumeToGain(-1000)) + 2) << "a single effect at -1000 stays below that level";
}

}  // namespace
