// The wave collection Zvuky and its voices: named sound effects, each with a
// main voice and further voices up to MaxPlayingCount, mixed in the audio
// callback (or into a null sink on the headless platform).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "media/wave.h"

struct Mixer;  // mixer.h

struct WaveItem {
    std::string Name;
    bool Looped = false;
    int MaxPlayingCount = 0;  // 0 = no limit
    WaveData wave;
    // Shared, read-only after load: the mixer's copy of the samples.
    std::shared_ptr<const std::vector<float>> mixSamples;
    int volume = 0;           // hundredths of a dB, -10000..0
    int mainVoice = -1;       // mixer voice of the main voice
    std::vector<int> voices;  // further voices, oldest first
};

struct WaveCollection {
    std::vector<WaveItem> items;
    std::unordered_map<std::string, int> byLowerName;
};

void IndexCollection(WaveCollection& collection);
// Throws MediaError "Wave '<name>' not found".
WaveItem& FindSound(WaveCollection& collection, std::string_view name);
WaveItem& SoundAt(WaveCollection& collection, int index);

// All do nothing when the mixer has no device and no null sink.
void PlaySound(Mixer& mixer, WaveItem& item);
void StopSound(Mixer& mixer, WaveItem& item);
void SetSoundVolume(Mixer& mixer, WaveItem& item, int volume);
// Binds freshly loaded items to the mixer (main voices); called after loading.
void AttachWaves(Mixer& mixer, WaveCollection& collection);
