// The frame, run once per 16 ms tick: clear the back surface, sample input,
// run the scenes in their fixed order (each tested against the scene name as
// it stands at that moment), the global keys, the frame-rate text, present.
#include "shell/frame.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>

#include "frontend/intro.h"
#include "frontend/menu.h"
#include "frontend/story.h"
#include "frontend/text_screen.h"
#include "game/city.h"
#include "game/hud.h"
#include "game/level_build.h"
#include "game/level_objects.h"
#include "game/mother_ship.h"
#include "game/player_ship.h"
#include "game/starfield.h"
#include "game/weapons.h"
#include "shell/media_calls.h"
#include "shell/saved_files.h"
#include "shell/world.h"

namespace {

struct LevelEndEntry {
    int32_t level;
    int32_t scrollDistance;
};
// Scroll distance at which each level ends and the next one is built.
// Level 9 has no end by distance: the mother ship ends the game.
constexpr LevelEndEntry kLevelEnds[] = {
    {1, 10000}, {2, 10100}, {3, 13500}, {4, 11500}, {5, 13700}, {6, 10200}, {7, 10200}, {8, 10000},
};

// Screen row of the finish line: its level coordinate seen at the current
// scroll distance. Worked out wide and kept within rows the blits handle,
// because a loaded profile's LevelEnd is taken as it stands.
int64_t FinishLineOffset(const ProgressRecord& p) { return int64_t(p.ScrollDistance) - p.LevelEnd; }
int FinishRow(const ProgressRecord& p) {
    constexpr int64_t kFarRow = int64_t(1) << 20;
    return int(std::clamp(FinishLineOffset(p), -kFarRow, kFarRow));
}

// Picks a banking frame from the horizontal speed: level 1, right 2, left 0.
int BankingFrame(int32_t speedX) { return speedX == 0 ? 1 : (speedX > 0 ? 2 : 0); }

void GameMusic(World& w) {
    if (BASS_ChannelIsActive(w.media.music, w.shell.MusicChannel) == 1 || !w.shell.MusicEnabled) return;
    const int n = RandomInt(w, 5) + 1;
    char name[32];
    std::snprintf(name, sizeof name, "audio\\song0%d.mod", n);
    w.shell.MusicChannel = BASS_MusicLoad(w.media.music, false, name, 0, 0, 1);
    BASS_MusicPlay(w.media.music, w.shell.MusicChannel);
}

void MenuMusic(World& w) {
    if (BASS_ChannelIsActive(w.media.music, w.shell.MusicChannel) == 1 || !w.shell.MusicEnabled) return;
    w.shell.MusicChannel = BASS_MusicLoad(w.media.music, false, "audio\\Intro.mod", 0, 0, 0);
    BASS_MusicPlay(w.media.music, w.shell.MusicChannel);
}

void FinishFlags(World& w) {
    Shell& s = w.shell;
    const int y = FinishRow(w.game.Progress);
    DrawPicture(w, w.media.Obrazky, "VlajkaLeva", 0, y, s.FlagFrame);
    DrawPicture(w, w.media.Obrazky, "VlajkaPrava", 750, y, 4 - s.FlagFrame);
    if (s.FlagTick == 0) s.FlagFrame = s.FlagFrame < 4 ? uint8_t(s.FlagFrame + 1) : 0;
    s.FlagTick = s.FlagTick < 3 ? uint8_t(s.FlagTick + 1) : 0;
}

void PlayerShipPicture(World& w) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    const bool shipLeft = p.Lives > 0;
    const bool exploding = p.ShipExplosionFrame >= 0 && p.ShipExplosionFrame <= 3;
    if (!shipLeft && !exploding) return;
    if (g.ArrivalWidth > 77) {
        StretchDrawPattern(FindPicture(w.media.Rakety, "Kavrix"), *w.media.back, g.ArrivalRect, 1);
    } else {
        const int frame = BankingFrame(p.SpeedX) + (g.ShipHitTimer != 0 ? 3 : 0);
        DrawPicture(w, w.media.Rakety, "Kavrix", p.PlayerX - 42, p.PlayerY - 34, frame);
    }
    if (g.InvulnerableEnergy > 0) {
        // The shield shows steadily below 850 and then blinks every 25 frames.
        const int32_t q = (g.InvulnerableTimer - 825) / 25;
        const int32_t r = q % 2;
        if (r != 1) {
            DrawPicture(w, w.media.Obrazky, "Nesmrtelnost", p.PlayerX - 43, p.PlayerY - 35, BankingFrame(p.SpeedX));
            p.Energy = g.InvulnerableEnergy;
        }
    }
}

void InvulnerabilityClock(GameState& g) {
    if (g.InvulnerableEnergy <= 0) return;
    if (g.InvulnerableTimer < 1000) {
        ++g.InvulnerableTimer;
    } else {
        g.InvulnerableEnergy = 0;
        g.InvulnerableTimer = 0;
    }
}

void LevelEnd(World& w) {
    ProgressRecord& p = w.game.Progress;
    for (const LevelEndEntry& entry : kLevelEnds) {
        if (entry.level == p.Level && entry.scrollDistance == p.ScrollDistance) {
            w.shell.FinishPassed = 0;
            p.Level = p.Level + 1;
            p.ScrollDistance = 600;
            BuildLevel(w);
            return;
        }
    }
}

void FinishLine(World& w) {
    ProgressRecord& p = w.game.Progress;
    Shell& s = w.shell;
    const int64_t distance = FinishLineOffset(p) - p.PlayerY;
    if (distance <= -40 || distance >= 40 || s.FinishPassed || p.Level == 9) return;
    PlayGameSound(w, "Vlajky");
    s.FinishLightOn = 1;
    s.FinishPassed = 1;
    // The one save point of a game. Without an active slot (a game not
    // started from the menu) there is no slot to write into.
    const int32_t slot = w.saved.CurrentProfile;
    if (slot >= 1 && slot <= 6) {
        w.saved.ProfileTable[slot] = p;
        SaveProfiles(w);
    }
}

void FinishLights(World& w) {
    Shell& s = w.shell;
    if (!s.FinishLightOn) return;
    const int y = FinishRow(w.game.Progress);
    DrawPicture(w, w.media.Obrazky, "VlajkaLight", 0, y, 0);
    DrawPicture(w, w.media.Obrazky, "VlajkaLight", 787, y, 1);
    if (s.FinishLightTimer < 60) {
        ++s.FinishLightTimer;
    } else {
        s.FinishLightOn = 0;
        s.FinishLightTimer = 0;
    }
}

// Returns false when F12 ends the frame (nothing more is drawn or presented).
bool GlobalKeys(World& w) {
    Input& in = w.media.input;
    Shell& s = w.shell;
    if (IsHeld(in, isButton8)) {  // F1: help page, acts while held
        s.CurrentScene = "Menu";
        w.front.MenuPage = 4;
    }
    if (IsHeld(in, isButton3)) {  // F2: sound on/off, once per press
        Consume(in, isButton3);
        s.SoundEnabled = !s.SoundEnabled;
    }
    if (IsHeld(in, isButton4)) {  // F3: music on/off, once per press
        Consume(in, isButton4);
        s.MusicEnabled = !s.MusicEnabled;
        BASS_ChannelStop(w.media.music, s.MusicChannel);
    }
    if (IsHeld(in, isButton9)) {  // Numpad +: louder while held
        if (s.MusicVolume < 100) ++s.MusicVolume;
        BASS_SetGlobalVolumes(w.media.music, s.MusicVolume, 1, 1);
    }
    if (IsHeld(in, isButton10)) {  // Numpad -: quieter while held
        if (s.MusicVolume > 0) --s.MusicVolume;
        BASS_SetGlobalVolumes(w.media.music, s.MusicVolume, 1, 1);
    }
    if (w.front.IdleTimer > 0) --w.front.IdleTimer;
    if (IsHeld(in, isButton11)) {  // F12: frame-rate text; the picture freezes while held
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

void RunFrame(World& w) {
    Shell& s = w.shell;
    CountFrameRate(w);
    AdvanceMusicClock(w.media.music, 16);
    FillSurface(*w.media.back, 0);
    // The system pointer is hidden by the platform for the whole run (the
    // menu draws its own), so the frame need not hide it again.
    SampleInput(w);
    if (s.CurrentScene == "Intro") RunIntro(w);
    if (s.CurrentScene == "Menu") {
        MenuMusic(w);
        RunMenu(w);
        DrawPicture(w, w.media.MenuObr, "Sipka", w.front.MouseX, w.front.MouseY, 0);
    }
    if (s.CurrentScene == "Uvod") RunTextScreen(w);
    if (s.CurrentScene == "HlavniHra") RunGameScene(w);
    FinishLights(w);
    if (s.CurrentScene == "Animace") RunStoryAnimation(w);
    if (!GlobalKeys(w)) return;
    if (s.ShowFrameRate) FrameRateText(w);
    if (w.media.platform) w.media.platform->Present(*w.media.back);
}

}  // namespace

void SampleInput(World& w) {
    Platform* platform = w.media.platform;
    if (!platform) return;
    UpdateInput(w.media.input, StatesFromKeys(platform->HeldKeys()) | platform->JoystickStates());
}

void RunGameScene(World& w) {
    ProgressRecord& p = w.game.Progress;
    GameMusic(w);
    DrawStarfield(w);
    if (p.Level == 9 && p.ScrollDistance > 10700) UpdateMotherShip(w);
    if (p.Level == 4 || p.Level == 8) UpdateCity(w);
    UpdatePlayerShip(w);
    UpdateLevelObjects(w);
    UpdateWeapons(w);
    if (p.Level != 9) FinishFlags(w);
    PlayerShipPicture(w);
    UpdateHud(w);
    InvulnerabilityClock(w.game);
    LevelEnd(w);
    FinishLine(w);
}

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
