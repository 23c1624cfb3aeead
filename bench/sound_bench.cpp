// Cost of the audio callback: one second of mixing with 32 effects sounding
// and a 4-channel module playing, reported as the share of one core's real
// time it takes (core_percent; the game needs it well under 2 %).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media/mixer.h"
#include "media/music.h"
#include "media/sound.h"

namespace {

// A 4-channel "M.K." module with a note on every channel of every fourth row
// of a 64-row pattern, a looped sample, played at the usual speed 6.
std::vector<char> MakeBusyModule() {
    std::vector<char> m(20, 0);
    const int sampleBytes = 256;
    for (int s = 0; s < 31; ++s) {
        std::vector<char> h(30, 0);
        if (s == 0) {
            h[23] = char(sampleBytes / 2);
            h[25] = 64;
            h[29] = char(sampleBytes / 2);
        } else {
            h[29] = 1;
        }
        m.insert(m.end(), h.begin(), h.end());
    }
    m.push_back(1);
    m.push_back(127);
    m.insert(m.end(), 128, 0);
    for (char c : std::string("M.K.")) m.push_back(c);
    std::vector<char> pattern(64 * 4 * 4, 0);
    const int periods[4] = {428, 339, 285, 214};
    for (int row = 0; row < 64; row += 4) {
        for (int ch = 0; ch < 4; ++ch) {
            char* cell = pattern.data() + (row * 4 + ch) * 4;
            int period = periods[(row / 4 + ch) % 4];
            cell[0] = char(period >> 8);
            cell[1] = char(period & 0xFF);
            cell[2] = 0x10;
        }
    }
    m.insert(m.end(), pattern.begin(), pattern.end());
    for (int i = 0; i < sampleBytes; ++i) m.push_back(char(std::lround(100 * std::sin(6.2831853 * i / 64))));
    return m;
}

WaveItem MakeEffect(int index) {
    WaveItem item;
    item.Name = "effect" + std::to_string(index);
    item.Looped = true;  // keeps all 32 voices busy for the whole second
    const uint32_t rate = index % 2 ? 22050 : 11025;
    item.wave.format = WaveFormat{1, 1, rate, rate * 2, 2, 16};
    for (uint32_t i = 0; i < rate / 2; ++i) {
        int16_t s = int16_t(std::lround(6000 * std::sin(6.2831853 * (200 + 37 * index) * i / rate)));
        item.wave.samples.push_back(char(uint16_t(s) & 0xFF));
        item.wave.samples.push_back(char(uint16_t(s) >> 8));
    }
    return item;
}

void BM_MixOneSecond(benchmark::State& state) {
    Mixer mixer;
    mixer.available = true;
    WaveCollection zvuky;
    for (int i = 0; i < 32; ++i) zvuky.items.push_back(MakeEffect(i));
    IndexCollection(zvuky);
    AttachWaves(mixer, zvuky);
    for (WaveItem& item : zvuky.items) {
        SetSoundVolume(mixer, item, -1000);
        PlaySound(mixer, item);
    }

    const std::string dir = (std::filesystem::temp_directory_path() / "kavrix-sound-bench").string();
    std::filesystem::create_directories(dir + "/audio");
    {
        std::vector<char> module = MakeBusyModule();
        std::ofstream(dir + "/audio/song01.mod", std::ios::binary).write(module.data(), std::streamsize(module.size()));
    }
    Music music;
    music.mixer = &mixer;
    music.dataDir = dir;
    SetMusicVolumes(music, 100, 1, 1);
    OpenMusic(music, -1, 44100, 0, nullptr);
    const int32_t channel = LoadSong(music, false, "audio\\song01.mod", 0, 0, 5);
    if (channel == 0 || !PlaySong(music, channel)) {
        state.SkipWithError("the benchmark module did not load");
        return;
    }

    int16_t out[2 * 512];
    for (auto _ : state) {
        for (int done = 0; done < kMixRate; done += 512) {
            MixAudio(mixer, out, 512);
            benchmark::DoNotOptimize(out);
        }
    }
    // Each iteration is one second of sound: the time it takes, in percent
    // of a second, is the share of one core the callback needs.
    state.counters["core_percent"] =
        benchmark::Counter(0.01, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    CloseMusic(music);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_MixOneSecond)->Unit(benchmark::kMillisecond);

// Loading: converting a second of 22050 Hz effect to the mixer's format.
void BM_ConvertOneSecondWave(benchmark::State& state) {
    WaveItem item = MakeEffect(1);
    std::vector<uint8_t> twice = item.wave.samples;
    twice.insert(twice.end(), item.wave.samples.begin(), item.wave.samples.end());
    item.wave.samples = twice;
    for (auto _ : state) benchmark::DoNotOptimize(ConvertToMixFormat(item.wave));
}
BENCHMARK(BM_ConvertOneSecondWave)->Unit(benchmark::kMillisecond);

}  // namespace
