// The media calls as gameplay and front end make them (see media_calls.h).
#include "state/media_calls.h"

#include "state/world.h"

void PlayGameSound(World& w, std::string_view name) {
    if (!w.shell.SoundEnabled) return;
    WaveItem& item = FindSound(w.media.Zvuky, name);
    PlaySound(*w.media.mixer, item);
}

void StopGameSound(World& w, std::string_view name) {
    WaveItem& item = FindSound(w.media.Zvuky, name);
    StopSound(*w.media.mixer, item);
}

void DrawPicture(World& w, const PictureCollection& collection, std::string_view name, int x, int y, int frame) {
    DrawPattern(FindPicture(collection, name), *w.media.back, x, y, frame);
}

Canvas& TakeCanvas(World& w) {
    w.media.canvas.surface = w.media.back.get();
    return SurfaceCanvas(w.media.canvas);
}
