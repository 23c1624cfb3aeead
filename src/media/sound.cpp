// The wave collection Zvuky: name lookup, and the voices of each sound.
// Every item owns a main voice from the mixer's pool. A looped item plays on
// its main voice only. A non-looped item plays on its voice list: copies of
// the main voice (same samples), created as needed up to MaxPlayingCount;
// its main voice never sounds itself but carries the item's volume.
#include <algorithm>
#include <cctype>
#include <mutex>

#include "media/media_error.h"
#include "media/mixer.h"
#include "media/sound.h"

namespace {

void LowerInto(std::string& out, std::string_view name) {
    out.assign(name.begin(), name.end());
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
}

// The first voice of the pool no item holds, or -1 when all 256 are taken.
int AllocateVoice(Mixer& mixer, const void* owner) {
    for (int i = 0; i < kMaxVoices; ++i) {
        Voice& v = mixer.voices[i];
        if (!v.inUse) {
            v = Voice{};
            v.inUse = true;
            v.owner = owner;
            return i;
        }
    }
    return -1;
}

// How many list voices an item may have: MaxPlayingCount, where 0 (or a
// nonsensical negative count) means as many as the pool gives.
size_t VoiceCap(const WaveItem& item) {
    if (item.MaxPlayingCount <= 0) return kMaxVoices;
    return std::min<size_t>(size_t(item.MaxPlayingCount), kMaxVoices);
}

void Restart(Voice& v, const WaveItem& item, bool looped) {
    v.samples = item.mixSamples;
    v.position = 0;
    v.looped = looped;
    v.gain = VolumeToGain(item.volume);
    v.playing = true;
}

}  // namespace

void IndexCollection(WaveCollection& collection) {
    collection.byLowerName.clear();
    std::string key;
    for (size_t i = 0; i < collection.items.size(); ++i) {
        LowerInto(key, collection.items[i].Name);
        // With duplicate names the first item answers, as a scan would.
        collection.byLowerName.emplace(key, int(i));
    }
}

WaveItem& FindSound(WaveCollection& collection, std::string_view name) {
    // Looked up every time a sound plays: the key buffer is reused, so a
    // lookup allocates nothing once it has seen a name this long.
    static thread_local std::string key;
    LowerInto(key, name);
    auto it = collection.byLowerName.find(key);
    if (it == collection.byLowerName.end() || it->second < 0 || size_t(it->second) >= collection.items.size())
        throw MediaError("Wave '" + std::string(name) + "' not found");
    return collection.items[size_t(it->second)];
}

WaveItem& SoundAt(WaveCollection& collection, int index) {
    if (index < 0 || size_t(index) >= collection.items.size())
        throw MediaError("Wave index " + std::to_string(index) + " out of range (the collection holds " +
                         std::to_string(collection.items.size()) + ")");
    return collection.items[size_t(index)];
}

void AttachWaves(Mixer& mixer, WaveCollection& collection) {
    if (!mixer.available) return;
    // A reloaded collection gives its old voices back to the pool first.
    {
        std::lock_guard<std::mutex> guard(mixer.lock);
        for (Voice& v : mixer.voices) {
            if (v.inUse && v.owner == &collection) v = Voice{};
        }
    }
    for (WaveItem& item : collection.items) {
        item.mainVoice = -1;
        item.voices.clear();
    }
    for (WaveItem& item : collection.items) {
        if (!item.mixSamples) {
            try {
                item.mixSamples = std::make_shared<const std::vector<float>>(ConvertToMixFormat(item.wave));
                // The mixer plays only the converted sound: the stored
                // samples are not needed again (the format stays, as read).
                item.wave.samples = std::vector<uint8_t>();
            } catch (const MediaError& e) {
                throw MediaError("Wave '" + item.Name + "': " + e.what());
            }
        }
        item.voices.reserve(VoiceCap(item));
        std::lock_guard<std::mutex> guard(mixer.lock);
        item.mainVoice = AllocateVoice(mixer, &collection);
        if (item.mainVoice >= 0) {
            Voice& v = mixer.voices[item.mainVoice];
            v.samples = item.mixSamples;
            v.looped = item.Looped;
            v.gain = VolumeToGain(item.volume);
        }
    }
}

void PlaySound(Mixer& mixer, WaveItem& item) {
    if (!mixer.available || item.mainVoice < 0 || !item.mixSamples) return;
    std::lock_guard<std::mutex> guard(mixer.lock);
    if (item.Looped) {
        Restart(mixer.voices[item.mainVoice], item, true);
        return;
    }
    int chosen = -1;
    for (int index : item.voices) {
        if (!mixer.voices[index].playing) {
            chosen = index;
            break;
        }
    }
    if (chosen < 0 && item.voices.size() < VoiceCap(item)) {
        const void* owner = mixer.voices[item.mainVoice].owner;
        chosen = AllocateVoice(mixer, owner);
        if (chosen >= 0) item.voices.push_back(chosen);
    }
    if (chosen < 0) {
        // Every voice busy and no more allowed (or the pool is used up):
        // the oldest one starts over and becomes the newest.
        if (item.voices.empty()) return;
        chosen = item.voices.front();
        item.voices.erase(item.voices.begin());
        item.voices.push_back(chosen);
    }
    Restart(mixer.voices[chosen], item, false);
}

void StopSound(Mixer& mixer, WaveItem& item) {
    if (!mixer.available || item.mainVoice < 0) return;
    std::lock_guard<std::mutex> guard(mixer.lock);
    mixer.voices[item.mainVoice].playing = false;
    for (int index : item.voices) mixer.voices[index].playing = false;
}

void SetSoundVolume(Mixer& mixer, WaveItem& item, int volume) {
    item.volume = std::clamp(volume, -10000, 0);
    if (!mixer.available || item.mainVoice < 0) return;
    std::lock_guard<std::mutex> guard(mixer.lock);
    mixer.voices[item.mainVoice].gain = VolumeToGain(item.volume);
}
