// The module-music calls the game makes, as a thin layer over
// libopenmpt. One module is loaded at a time and rendered inside MixAudio;
// loading a new one releases the previous one, so reloads never pile up.
#include <libopenmpt/libopenmpt.h>

#include <cstdio>
#include <mutex>
#include <vector>

#include "media/asset_path.h"
#include "media/mixer.h"
#include "media/music.h"
#include "media/wave.h"
#include "media/whole_file.h"

struct ModulePlayer {
    openmpt_module* module = nullptr;
    int32_t handle = 0;
    // Set by PlaySong, cleared by StopSong and by the renderer
    // when a non-looping module has played to its end.
    bool playing = false;
};

namespace {

constexpr int kChunkFrames = 512;
// The game's modules are some hundred kilobytes; a file far larger is not one.
constexpr size_t kMaxModuleBytes = size_t(64) << 20;

// Every call needs a mixer with an open device (or the headless null sink);
// without one, music is silent and only the channel bookkeeping runs.
bool HasDevice(const Music& music) { return music.mixer != nullptr && music.mixer->available; }

bool ReadModuleBytes(Music& music, bool fromMemory, const std::string& fileName, int offset, int length,
                     std::vector<char>& bytes) {
    if (fromMemory) {
        bytes.assign(fileName.begin(), fileName.end());
    } else {
        const std::string path = ResolveAssetPath(music.dataDir, fileName);
        std::string text;
        if (!ReadWholeFile(path, kMaxModuleBytes, text).Ok()) {
            std::fprintf(stderr, "Music '%s': cannot open file %s\n", fileName.c_str(), path.c_str());
            return false;
        }
        bytes.assign(text.begin(), text.end());
    }
    if (offset < 0 || length < 0 || size_t(offset) > bytes.size()) {
        std::fprintf(stderr, "Music '%s': offset %d lies outside the file\n", fileName.c_str(), offset);
        return false;
    }
    size_t end = length == 0 ? bytes.size() : size_t(offset) + size_t(length);
    if (end > bytes.size()) end = bytes.size();
    bytes = std::vector<char>(bytes.begin() + offset, bytes.begin() + long(end));
    return true;
}

}  // namespace

// The songs are mastered to about -16 LUFS, as loud as a sound of their own, and
// the effects play 10 dB under full scale; mixed at that level the louder
// bars of a song would cover the gun and the hits. Full music volume
// therefore plays the module 5 dB down, which keeps the game's sounds on top.
float MusicGain(int musicVolume) {
    constexpr float kFullVolumeGain = 0.56f;  // -5 dB
    if (musicVolume <= 0) return 0.0f;
    if (musicVolume >= 100) return kFullVolumeGain;
    return kFullVolumeGain * float(musicVolume) / 100.0f;
}

void FreeModulePlayer(ModulePlayer* player) {
    if (!player) return;
    if (player->module) openmpt_module_destroy(player->module);
    delete player;
}

void MixModule(Mixer& mixer, float* stereo, int frames) {
    ModulePlayer* player = mixer.music;
    if (!player || !player->playing || !player->module) return;
    float buffer[2 * kChunkFrames];
    const float gain = mixer.musicGain;
    int done = 0;
    while (done < frames) {
        int n = frames - done;
        if (n > kChunkFrames) n = kChunkFrames;
        size_t got = openmpt_module_read_interleaved_float_stereo(player->module, kMixRate, size_t(n), buffer);
        float* dst = stereo + 2 * done;
        for (size_t i = 0; i < 2 * got; ++i) dst[i] += buffer[i] * gain;
        done += int(got);
        if (got < size_t(n)) {
            // The song has ended (a looping module never gets here).
            player->playing = false;
            return;
        }
    }
}

bool OpenMusic(Music& music, int device, int frequency, int flags, void* window) {
    (void)device, (void)frequency, (void)flags, (void)window;
    if (!music.mixer) return false;
    music.initialised = true;
    // The volume may have been set before the library was started.
    std::lock_guard<std::mutex> guard(music.mixer->lock);
    music.mixer->musicGain = MusicGain(music.musicVolume);
    return music.mixer->available;
}

bool StartMusic(Music& music) { return HasDevice(music); }

bool SetMusicVolumes(Music& music, int musicVolume, int sampleVolume, int streamVolume) {
    (void)sampleVolume, (void)streamVolume;
    music.musicVolume = musicVolume;
    if (!music.mixer) return false;
    std::lock_guard<std::mutex> guard(music.mixer->lock);
    music.mixer->musicGain = MusicGain(musicVolume);
    return true;
}

int32_t LoadSong(Music& music, bool fromMemory, const std::string& fileName, int offset, int length, int flags) {
    if (!music.mixer) return 0;
    // The module is read even without a device: its length decides when the
    // game sees the song end.
    std::vector<char> bytes;
    if (!ReadModuleBytes(music, fromMemory, fileName, offset, length, bytes)) return 0;

    int error = 0;
    const char* message = nullptr;
    openmpt_module* module =
        openmpt_module_create_from_memory2(bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr,
                                           openmpt_error_func_ignore, nullptr, &error, &message, nullptr);
    if (!module) {
        std::fprintf(stderr, "Music '%s': not a playable module (%s)\n", fileName.c_str(),
                     message ? message : "unknown error");
        openmpt_free_string(message);
        return 0;
    }
    openmpt_free_string(message);
    // Flag 4 repeats the song for ever; flag 1 (ramping) is libopenmpt's
    // normal click-free rendering, so it needs nothing here.
    const bool looping = (flags & kMusicLoop) != 0;
    openmpt_module_set_repeat_count(module, looping ? -1 : 0);
    const int64_t lengthMs = int64_t(openmpt_module_get_duration_seconds(module) * 1000.0 + 0.5);

    ModulePlayer* fresh = nullptr;
    if (HasDevice(music)) {
        fresh = new ModulePlayer;
        fresh->module = module;
    } else {
        openmpt_module_destroy(module);
    }
    const int32_t handle = music.nextHandle++;
    if (fresh) fresh->handle = handle;
    ModulePlayer* old = nullptr;
    {
        std::lock_guard<std::mutex> guard(music.mixer->lock);
        old = music.mixer->music;
        music.mixer->music = fresh;
    }
    FreeModulePlayer(old);
    music.currentHandle = handle;
    music.playing = false;
    music.looping = looping;
    music.songLengthMs = lengthMs;
    music.playedMs = 0;
    music.songFile = fromMemory ? std::string() : fileName;
    return handle;
}

bool PlaySong(Music& music, int32_t channel) {
    if (channel == 0 || channel != music.currentHandle) return false;
    // Playing starts the song from its beginning.
    music.playing = true;
    music.playedMs = 0;
    if (!HasDevice(music)) return false;
    std::lock_guard<std::mutex> guard(music.mixer->lock);
    ModulePlayer* player = music.mixer->music;
    if (!player || player->handle != channel) return false;
    openmpt_module_set_position_seconds(player->module, 0.0);
    player->playing = true;
    return true;
}

void AdvanceMusicClock(Music& music, int milliseconds) {
    if (music.playing) music.playedMs += milliseconds;
}

int IsSongPlaying(Music& music, int32_t channel) {
    if (channel == 0 || channel != music.currentHandle || !music.playing) return 0;
    return music.looping || music.playedMs < music.songLengthMs ? 1 : 0;
}

bool StopSong(Music& music, int32_t channel) {
    if (channel == 0 || channel != music.currentHandle) return false;
    music.playing = false;
    if (!HasDevice(music)) return false;
    std::lock_guard<std::mutex> guard(music.mixer->lock);
    ModulePlayer* player = music.mixer->music;
    if (!player || player->handle != channel) return false;
    player->playing = false;
    return true;
}

void RestoreSong(Music& music) {
    if (!music.mixer) return;
    ModulePlayer* fresh = nullptr;
    std::vector<char> bytes;
    if (HasDevice(music) && !music.songFile.empty() && ReadModuleBytes(music, false, music.songFile, 0, 0, bytes)) {
        openmpt_module* module =
            openmpt_module_create_from_memory2(bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr,
                                               openmpt_error_func_ignore, nullptr, nullptr, nullptr, nullptr);
        if (module) {
            openmpt_module_set_repeat_count(module, music.looping ? -1 : 0);
            openmpt_module_set_position_seconds(module, double(music.playedMs) / 1000.0);
            fresh = new ModulePlayer;
            fresh->module = module;
            fresh->handle = music.currentHandle;
            fresh->playing = music.playing;
        }
    }
    ModulePlayer* old = nullptr;
    {
        std::lock_guard<std::mutex> guard(music.mixer->lock);
        old = music.mixer->music;
        music.mixer->music = fresh;
        music.mixer->musicGain = MusicGain(music.musicVolume);
    }
    FreeModulePlayer(old);
}

void CloseMusic(Music& music) {
    music.playing = false;
    music.currentHandle = 0;
    music.initialised = false;
    if (!music.mixer) return;
    ModulePlayer* old = nullptr;
    {
        std::lock_guard<std::mutex> guard(music.mixer->lock);
        old = music.mixer->music;
        music.mixer->music = nullptr;
    }
    FreeModulePlayer(old);
}
