// Sound and picture probes of the tests, on the world's mixer and back surface.
#include "frame_probes.h"

#include <memory>

#include "state/world.h"

void SilenceAll(World& w) {
    for (Voice& voice : w.media.mixer->voices) voice.playing = false;
}

bool SoundStarted(World& w, const char* name) {
    const WaveItem& item = FindSound(w.media.Zvuky, name);
    if (item.mainVoice >= 0 && w.media.mixer->voices[item.mainVoice].playing) return true;
    for (int v : item.voices)
        if (w.media.mixer->voices[v].playing) return true;
    return false;
}

bool AnySoundPlaying(World& w) {
    for (const Voice& voice : w.media.mixer->voices)
        if (voice.playing) return true;
    return false;
}

double ShownShare(const World& w, const PictureCollection& collection, const char* name, int x, int y, int frame,
                  bool ignoreBlack) {
    static const auto reference = std::make_unique<Surface>();
    const uint16_t sentinel = 0x0841;  // a colour no picture of the game uses
    FillSurface(*reference, sentinel);
    DrawPattern(FindPicture(collection, name), *reference, x, y, frame);
    int drawn = 0, matching = 0;
    for (int row = 0; row < kSurfaceHeight; ++row)
        for (int col = 0; col < kSurfaceWidth; ++col) {
            const uint16_t want = reference->pixels[row][col];
            if (want == sentinel || (ignoreBlack && want == 0)) continue;
            ++drawn;
            matching += w.media.back->pixels[row][col] == want ? 1 : 0;
        }
    return drawn == 0 ? 0.0 : double(matching) / drawn;
}

bool Shows(const World& w, const PictureCollection& collection, const char* name, int x, int y, int frame) {
    return ShownShare(w, collection, name, x, y, frame) == 1.0;
}
