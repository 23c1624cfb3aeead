// The mixer's output as it reaches the speakers: volume curve, exact lengths
// of effects in frames, the soft limiter under many loud effects, and the
// conversion of stored waves (8/16 bit, mono/stereo, other rates) to 44100 Hz.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "media/media_error.h"
#include "media/mixer.h"
#include "media/sound.h"
#include "media/wave.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

WaveData Wave16(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples) {
    WaveData w;
    w.format = WaveFormat{1, channels, rate, rate * channels * 2u, uint16_t(channels * 2), 16};
    for (int16_t s : samples) {
        w.samples.push_back(uint8_t(uint16_t(s) & 0xFF));
        w.samples.push_back(uint8_t(uint16_t(s) >> 8));
    }
    return w;
}

std::vector<int16_t> Sine(uint32_t rate, double hz, double amplitude, double seconds) {
    std::vector<int16_t> s(size_t(rate * seconds));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = int16_t(std::lround(amplitude * 32767 * std::sin(2 * kPi * hz * i / rate)));
    return s;
}

// Frequency from the rising zero crossings of one channel of a stereo mix.
double MeasureHz(const std::vector<float>& stereo, size_t from, size_t to) {
    int crossings = 0;
    size_t firstCross = 0, lastCross = 0;
    for (size_t i = from + 1; i < to; ++i) {
        if (stereo[2 * (i - 1)] < 0.0f && stereo[2 * i] >= 0.0f) {
            if (crossings == 0) firstCross = i;
            lastCross = i;
            ++crossings;
        }
    }
    if (crossings < 2) return 0.0;
    return double(crossings - 1) * kMixRate / double(lastCross - firstCross);
}

double Rms(const std::vector<float>& stereo, size_t from, size_t to) {
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) sum += double(stereo[2 * i]) * stereo[2 * i];
    return std::sqrt(sum / double(to - from));
}

// A collection of one sound per level, attached to a mixer with the null sink.
struct Bench {
    Mixer mixer;
    WaveCollection zvuky;
    explicit Bench(const std::vector<WaveData>& waves) {
        mixer.available = true;
        for (size_t i = 0; i < waves.size(); ++i) {
            WaveItem item;
            item.Name = "w" + std::to_string(i);
            item.wave = waves[i];
            zvuky.items.push_back(std::move(item));
        }
        IndexCollection(zvuky);
        AttachWaves(mixer, zvuky);
    }
    std::vector<int16_t> Render(int frames) {
        std::vector<int16_t> out(size_t(frames) * 2);
        MixAudio(mixer, out.data(), frames);
        return out;
    }
};

TEST(MixerVolume, HundredthsOfADecibel) {
    EXPECT_EQ(VolumeToGain(-10000), 0.0f);
    EXPECT_EQ(VolumeToGain(-20000), 0.0f);
    EXPECT_EQ(VolumeToGain(0), 1.0f);
    EXPECT_NEAR(VolumeToGain(-2000), 0.1f, 1e-6);
    EXPECT_NEAR(VolumeToGain(-1000), 0.316228f, 1e-5);  // the game's level for every effect
    EXPECT_NEAR(VolumeToGain(-9999), 1.0e-5f, 1e-7);
}

TEST(MixerTiming, AnEffectLastsExactlyItsFramesAcrossCallbackBlocks) {
    // 700 frames at 44100 Hz, rendered in one odd-sized request that the mixer
    // splits into its own blocks.
    Bench b({Wave16(1, 44100, std::vector<int16_t>(700, 10000))});
    PlaySound(b.mixer, b.zvuky.items[0]);
    std::vector<int16_t> out = b.Render(1000);
    for (int i = 0; i < 700; ++i) ASSERT_EQ(out[2 * i], 10000) << "frame " << i;
    for (int i = 700; i < 1000; ++i) ASSERT_EQ(out[2 * i], 0) << "frame " << i;
    EXPECT_FALSE(b.mixer.voices[b.zvuky.items[0].voices[0]].playing);
}

TEST(MixerLimiter, QuietSumsAddExactlyLoudOnesBendWithoutClipping) {
    std::vector<WaveData> waves;
    for (int i = 0; i < 8; ++i) waves.push_back(Wave16(1, 44100, Sine(44100, 440, 0.25, 0.1)));
    Bench b(waves);
    // Two effects at a quarter of full scale sum to half, untouched.
    PlaySound(b.mixer, b.zvuky.items[0]);
    PlaySound(b.mixer, b.zvuky.items[1]);
    std::vector<int16_t> two = b.Render(2000);
    int peakTwo = 0;
    for (int i = 0; i < 2000; ++i) peakTwo = std::max(peakTwo, std::abs(int(two[2 * i])));
    EXPECT_NEAR(peakTwo, 0.5 * 32767, 4);

    // Eight at once would be twice full scale: the peaks bend below the
    // ceiling and the wave keeps its shape (no run of flattened samples).
    for (auto& item : b.zvuky.items) {
        StopSound(b.mixer, item);
        PlaySound(b.mixer, item);
    }
    std::vector<int16_t> eight = b.Render(2000);
    int peak = 0, atCeiling = 0;
    for (int i = 0; i < 2000; ++i) {
        peak = std::max(peak, std::abs(int(eight[2 * i])));
        if (std::abs(int(eight[2 * i])) >= 32767) ++atCeiling;
    }
    EXPECT_GT(peak, 0.95 * 32767);
    EXPECT_LT(atCeiling, 20);
    // Louder input never gives quieter output, and the sign is kept.
    for (int i = 0; i < 2000; ++i) {
        if (std::abs(int(two[2 * i])) > 100) {
            ASSERT_EQ(two[2 * i] > 0, eight[2 * i] > 0) << "frame " << i;
            ASSERT_GE(std::abs(int(eight[2 * i])), std::abs(int(two[2 * i])) - 1) << "frame " << i;
        }
    }
}

TEST(WaveConversion, EightAndSixteenBitMonoAndStereo) {
    WaveData eight;
    eight.format = WaveFormat{1, 1, 44100, 44100, 1, 8};
    eight.samples = {0x80, 0xFF, 0x00, 0xC0};
    std::vector<float> e = ConvertToMixFormat(eight);
    ASSERT_EQ(e.size(), 8u);
    EXPECT_FLOAT_EQ(e[0], 0.0f);
    EXPECT_FLOAT_EQ(e[2], 127.0f / 128.0f);
    EXPECT_FLOAT_EQ(e[4], -1.0f);
    EXPECT_FLOAT_EQ(e[6], 0.5f);
    EXPECT_FLOAT_EQ(e[7], 0.5f) << "mono goes to both sides";

    std::vector<float> s = ConvertToMixFormat(Wave16(2, 44100, {16384, -8192, -32768, 32767}));
    ASSERT_EQ(s.size(), 4u);
    EXPECT_FLOAT_EQ(s[0], 0.5f);
    EXPECT_FLOAT_EQ(s[1], -0.25f);
    EXPECT_FLOAT_EQ(s[2], -1.0f);
    EXPECT_NEAR(s[3], 1.0f, 1e-4);

    EXPECT_TRUE(ConvertToMixFormat(WaveData{}).empty()) << "an empty wave is silence";
}

TEST(WaveConversion, ResampledSineKeepsItsPitchAndLevel) {
    // 1000 Hz at 22050 Hz, half a second.
    std::vector<float> up = ConvertToMixFormat(Wave16(1, 22050, Sine(22050, 1000, 0.5, 0.5)));
    ASSERT_NEAR(double(up.size() / 2), 22050.0, 2.0);
    EXPECT_NEAR(MeasureHz(up, 1000, 21000), 1000.0, 1.0);
    EXPECT_NEAR(Rms(up, 1000, 21000), 0.5 / std::sqrt(2.0), 0.005);

    // And down from 48000 Hz (8-bit): 3000 Hz stays 3000 Hz.
    WaveData down;
    down.format = WaveFormat{1, 1, 48000, 48000, 1, 8};
    for (int i = 0; i < 24000; ++i)
        down.samples.push_back(uint8_t(128 + std::lround(100 * std::sin(2 * kPi * 3000 * i / 48000.0))));
    std::vector<float> d = ConvertToMixFormat(down);
    EXPECT_NEAR(double(d.size() / 2), 22050.0, 2.0);
    EXPECT_NEAR(MeasureHz(d, 1000, 21000), 3000.0, 2.0);
}

TEST(WaveConversion, ToneAboveTheMixersRangeDoesNotFoldBack) {
    // 30 kHz recorded at 96 kHz cannot exist at 44100 Hz; a naive resampler
    // would turn it into an audible 14.1 kHz whistle.
    std::vector<float> out = ConvertToMixFormat(Wave16(1, 96000, Sine(96000, 30000, 0.5, 0.2)));
    EXPECT_LT(Rms(out, 500, out.size() / 2 - 500), 0.01);
}

TEST(WaveConversion, UnsupportedFormatsAreNamed) {
    auto expectError = [](WaveData w, const char* part) {
        try {
            ConvertToMixFormat(w);
            ADD_FAILURE() << "accepted a wave that should fail with '" << part << "'";
        } catch (const MediaError& e) {
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
        }
    };
    WaveData ok = Wave16(1, 22050, {1, 2, 3, 4});
    WaveData w = ok;
    w.format.formatTag = 2;  // ADPCM
    expectError(w, "PCM");
    w = ok;
    w.format.channels = 0;
    expectError(w, "channels");
    w = ok;
    w.format.channels = 6;
    expectError(w, "channels");
    w = ok;
    w.format.sampleRate = 0;
    expectError(w, "rate");
    w = ok;
    w.format.bitsPerSample = 24;
    expectError(w, "24 bits");
    w = ok;
    w.samples.push_back(0);  // half a 16-bit sample at the end
    expectError(w, "9 bytes");
    w = ok;
    w.format.sampleRate = 1000;  // a ten-minute wave from a damaged header
    w.samples.assign(2 * 1000 * 600, 0);
    expectError(w, "longer");
}

}  // namespace
