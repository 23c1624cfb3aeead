// The software mixer: a fixed pool of voices plus the module player, summed
// at 44100 Hz stereo with a soft limiter. The SDL audio callback (or a test)
// calls MixAudio; the game thread changes voices under the mixer's lock.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

constexpr int kMaxVoices = 256;

struct Voice {
    std::shared_ptr<const std::vector<float>> samples;  // interleaved stereo
    size_t position = 0;                                // in frames
    float gain = 1.0f;
    bool playing = false;
    bool looped = false;
    bool inUse = false;           // allocated to an item
    const void* owner = nullptr;  // the wave collection that allocated it
};

struct ModulePlayer;  // music.cpp

struct Mixer {
    std::mutex lock;
    bool available = false;  // a device or the headless null sink is open
    Voice voices[kMaxVoices];
    ModulePlayer* music = nullptr;
    float musicGain = 1.0f;
    ~Mixer();  // releases the loaded module
};

// Fills frames of interleaved stereo int16 (the callback's format).
void MixAudio(Mixer& mixer, int16_t* out, int frames);
// Converts hundredths of a dB (-10000..0) to a linear gain; -10000 is silence.
float VolumeToGain(int volume);
