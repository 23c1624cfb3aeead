// Everything the media layer owns for one run: the back surface, the four
// picture collections, the wave collection, the input states and the
// player's keys, the canvas, the mixer and the music player, and the
// platform they sit on.
#pragma once
#include <memory>
#include <string>

#include "media/canvas.h"
#include "media/input.h"
#include "media/key_bindings.h"
#include "media/mixer.h"
#include "media/music.h"
#include "media/picture.h"
#include "media/platform.h"
#include "media/sound.h"
#include "media/surface.h"

struct Media {
    std::unique_ptr<Surface> back = std::make_unique<Surface>();  // the back surface every scene draws on
    PictureCollection Rakety, Obrazky, Level, MenuObr;
    WaveCollection Zvuky;
    Input input;
    KeyBindings bindings = DefaultKeyBindings();  // the player's keys (the help page shows them)
    Canvas canvas;
    std::unique_ptr<Mixer> mixer = std::make_unique<Mixer>();
    Music music;
    Platform* platform = nullptr;
    std::string dataDir = ".";
};

// PresentFrame: shows the finished back surface (the headless platform
// counts and hashes it instead).
inline void PresentFrame(Media& media) {
    if (media.platform) media.platform->Present(*media.back);
}
