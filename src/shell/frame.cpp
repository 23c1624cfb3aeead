// The frame, run once per 16 ms tick: clear the back surface, sample input,
// run the scenes in their fixed order (each tested against the scene name as
// it stands at that moment, the scene changes a scene asked for carried out
// right after it), the global keys, the frame-rate text, present.
#include "shell/frame.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <iostream>

#include "frontend/intro.h"
#include "frontend/menu.h"
#include "frontend/story.h"
#include "frontend/text_screen.h"
#include "game/finish_line.h"
#include "game/game_scene.h"
#include "shell/scene_changes.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

// Returns false when the frame-rate key ends the frame (nothing more is drawn or presented).
bool GlobalKeys(World& w) {
    Input& in = w.media.input;
    Shell& s = w.shell;
    if (IsHeld(in, kHelpKey)) {  // help page, acts while held
        s.CurrentScene = Scene::Menu;
        w.front.MenuPage = Page::Help;
    }
    if (IsHeld(in, kSoundKey)) {  // sound on/off, once per press
        Consume(in, kSoundKey);
        s.SoundEnabled = !s.SoundEnabled;
    }
    if (IsHeld(in, kMusicKey)) {  // music on/off, once per press
        Consume(in, kMusicKey);
        s.MusicEnabled = !s.MusicEnabled;
        BASS_ChannelStop(w.media.music, s.MusicChannel);
    }
    if (IsHeld(in, kLouderKey)) {  // louder while held
        if (s.MusicVolume < 100) ++s.MusicVolume;
        BASS_SetGlobalVolumes(w.media.music, s.MusicVolume, 1, 1);
    }
    if (IsHeld(in, kQuieterKey)) {  // quieter while held
        if (s.MusicVolume > 0) --s.MusicVolume;
        BASS_SetGlobalVolumes(w.media.music, s.MusicVolume, 1, 1);
    }
    if (w.front.IdleTimer > 0) --w.front.IdleTimer;
    if (IsHeld(in, kFrameRateKey)) {  // frame-rate text; the picture freezes while held
        s.ShowFrameRate = !s.ShowFrameRate;
        return false;
    }
    return true;
}

// The frame timer's rate, measured over periods of at least 1000 ms.
void CountFrameRate(World& w) {
    Shell& s = w.shell;
    if (!w.media.platform) return;
    const uint32_t now = w.media.platform->Milliseconds();
    if (s.rateTicks == 0 && s.rateStartMs == 0) s.rateStartMs = now;
    ++s.rateTicks;
    const uint32_t elapsed = now - s.rateStartMs;
    if (elapsed >= 1000) {
        s.FrameRate = int32_t((uint64_t(s.rateTicks) * 1000 + elapsed / 2) / elapsed);
        s.rateTicks = 0;
        s.rateStartMs = now;
    }
}

void FrameRateText(World& w) {
    Canvas& canvas = TakeCanvas(w);
    canvas.Font.Name = "Arial";
    canvas.Font.Height = 12;
    canvas.Font.Bold = false;
    canvas.Font.Color = 0xFFFFFF;
    canvas.BrushColor = 0;
    char text[24];
    const int n = std::snprintf(text, sizeof text, "FPS:%d", int(w.shell.FrameRate));
    TextOut(canvas, 398, 0, std::string_view(text, size_t(n)));
    ReleaseCanvas(canvas);
}

// One scene step: the scene's routine when the scene is the current one,
// then the scene changes it asked for. Each scene is tested against the
// scene as the step before left it, so a scene that hands over to one tested
// later does so within the frame (the intro's last frame already runs the
// menu, the mother ship's end the first frame of the story); a hand-over to
// one tested earlier takes effect in the next frame.
void SceneStep(World& w, Scene scene, void (*routine)(World&)) {
    if (w.shell.CurrentScene == scene) {
        try {
            routine(w);
        } catch (...) {
            // What the routine asked for before it failed still happens, as
            // it would had the routine made the change itself.
            ApplySceneRequests(w);
            throw;
        }
    }
    ApplySceneRequests(w);
}

void RunFrame(World& w) {
    Shell& s = w.shell;
    CountFrameRate(w);
    AdvanceMusicClock(w.media.music, 16);
    FillSurface(*w.media.back, 0);
    // The system pointer is hidden by the platform for the whole run (the
    // menu draws its own), so the frame need not hide it again.
    SampleInput(w.media.input, w.media.platform);
    SceneStep(w, Scene::Intro, RunIntro);
    SceneStep(w, Scene::Menu, RunMenuScene);
    SceneStep(w, Scene::Uvod, RunTextScreen);
    SceneStep(w, Scene::HlavniHra, RunGameScene);
    DrawFinishLights(w);  // in every scene; asks for nothing
    SceneStep(w, Scene::Animace, RunStoryAnimation);
    if (!GlobalKeys(w)) return;
    if (s.ShowFrameRate) FrameRateText(w);
    PresentFrame(w.media);
}

}  // namespace

void DXTimerTimer(World& w) {
    try {
        RunFrame(w);
    } catch (const std::exception& error) {
        // A missing picture or sound, or a failed save, stops this frame only.
        // Each distinct message is reported once, so a fault that repeats on
        // every frame does not flood the terminal.
        const std::string message = error.what();
        if (w.shell.reportedErrors.insert(message).second) std::cerr << "Kavrix: error in a frame: " << message << "\n";
    }
}
