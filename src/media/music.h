// Module music: the music calls the game makes, as a thin layer over
// libopenmpt rendered into the mixer. One module is loaded at a time; loading
// another releases the previous one. Flags: 4 loops, 1 ramps.
#pragma once
#include <cstdint>
#include <string>

struct Mixer;
struct ModulePlayer;

// Flags of LoadSong.
constexpr int kMusicRamp = 1;  // click-free note starts
constexpr int kMusicLoop = 4;  // the song repeats for ever

struct Music {
    Mixer* mixer = nullptr;
    std::string dataDir;  // asset names are resolved under it
    int32_t nextHandle = 1;
    int32_t currentHandle = 0;
    bool initialised = false;
    int musicVolume = 100;  // 0..100
    // What the game sees of the current song, counted in the game's own
    // time (AdvanceMusicClock, once per frame) rather than by the audio
    // device, so a song ends in the same frame in a window, headless, without
    // a sound device and in a replay.
    bool playing = false;
    bool looping = false;
    int64_t songLengthMs = 0;
    int64_t playedMs = 0;
    std::string songFile;  // the asset name of the current song, empty for none
};

// The linear gain a module is mixed at for a music volume of 0..100. Full
// volume sits a few dB under the module's own level, so the effects stay on
// top of the songs.
float MusicGain(int musicVolume);

// Moves the game's music clock on by one frame's time.
void AdvanceMusicClock(Music& music, int milliseconds);

bool OpenMusic(Music& music, int device, int frequency, int flags, void* window);
bool StartMusic(Music& music);
bool SetMusicVolumes(Music& music, int musicVolume, int sampleVolume, int streamVolume);
// Returns 0 on failure with the reason on stderr. fileName is an asset name
// such as "audio\song01.mod".
int32_t LoadSong(Music& music, bool fromMemory, const std::string& fileName, int offset, int length, int flags);
bool PlaySong(Music& music, int32_t channel);
// 1 while the channel plays; 0 once it ended (its length has passed on the
// music clock), was stopped or is unknown.
int IsSongPlaying(Music& music, int32_t channel);
bool StopSong(Music& music, int32_t channel);
// Puts the song that songFile names back into the mixer as the fields above
// describe it (handle, playing, position playedMs), without counting a new
// handle: the music as a replay's starting state or a paused session left it.
void RestoreSong(Music& music);
void CloseMusic(Music& music);

// Called by MixAudio with the mixer's lock held: adds frames of the loaded
// module (scaled by the music volume) to the interleaved stereo mix, and
// marks a non-looping module ended when it runs out.
void MixModule(Mixer& mixer, float* stereo, int frames);
// Releases a module player (the mixer's destructor and CloseMusic use it).
void FreeModulePlayer(ModulePlayer* player);
