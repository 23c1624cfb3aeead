// The instrument bar along the bottom of the game scene and the indicators in
// the top corners, drawn after everything else of the frame; the gun
// recharge, the hull-energy refill, losing a ship and the end of the game.
#include "game/hud.h"

#include <cstdio>

#include "game/commander.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kGreen = 0x039F15;
constexpr uint32_t kRed = 0x0001DF;
constexpr uint32_t kOlive = 0x005928;
constexpr uint32_t kRadarRed = 0x0000FF;
constexpr uint32_t kRadarGreen = 0x00FF00;
constexpr uint32_t kRadarYellow = 0x00FFFF;
constexpr uint32_t kRadarCyan = 0xFFFF00;

// Lives is a byte the bar also reads as 255 during the pause after the last
// ship; as a signed value that pause is -1.
constexpr int8_t kLivesPause = -1;

// A filled box with pen and brush of one colour (right and bottom exclusive).
void Box(Canvas& canvas, uint32_t colour, int left, int top, int right, int bottom) {
    canvas.PenColor = colour;
    canvas.BrushColor = colour;
    Rectangle(canvas, left, top, right, bottom);
}

void DrawBar(World& w) {
    DrawPicture(w, w.media.Obrazky, "Lista", 0, 471, 0);
    Surface& back = *w.media.back;
    LockSurface(back);
    DrawPixelLine(back, 0, 599, 800, 599, 0, 0, 0);
    UnlockSurface(back);
}

// Three rows of seven units; the top row empties first, each row from its
// left end, and a row with k empty units is blacked over 5 + 6k pixels.
void DrawGunGauge(World& w) {
    Canvas& canvas = TakeCanvas(w);
    const int32_t units = w.game.WeaponEnergy / 5;
    const int32_t empty = 21 - units;
    if (empty > 6) Box(canvas, kBlack, 741, 536, 782, 549);
    if (empty > 13) Box(canvas, kBlack, 741, 552, 782, 565);
    if (empty > 20) Box(canvas, kBlack, 741, 568, 782, 581);
    if (empty >= 0 && empty <= 6) {
        Box(canvas, kBlack, 741, 536, 746 + 6 * empty, 549);
    } else if (empty >= 7 && empty <= 13) {
        Box(canvas, kBlack, 741, 552, 746 + 6 * (empty - 7), 565);
    } else if (empty >= 14 && empty <= 20) {
        Box(canvas, kBlack, 741, 568, 746 + 6 * (empty - 14), 581);
    }
    if (units >= 2) {
        Box(canvas, kGreen, 723, 534, 735, 538);
    } else {
        Box(canvas, kRed, 723, 542, 735, 546);
    }
    ReleaseCanvas(canvas);
}

// The gun recharges only in frames without fire; the weapons routine paces
// VolleyTick in the others. "Outenergie" sounds once each time the energy
// falls below 10 and is armed again above 10.
void RechargeGun(World& w) {
    GameState& g = w.game;
    if (g.FireHeld != 0) return;
    if (g.VolleyTick == 10 && g.WeaponEnergy < 110 && g.ReloadTimer == 15) g.WeaponEnergy += 5;
    if (g.WeaponEnergy < 10 && g.LowEnergyArmed == 1) {
        PlayGameSound(w, "Outenergie");
        g.LowEnergyArmed = 0;
    }
    g.VolleyTick = g.VolleyTick >= 10 ? 0 : uint8_t(g.VolleyTick + 1);
    if (g.WeaponEnergy > 10) g.LowEnergyArmed = 1;
}

// The lower half of the radar is the screen, the upper half the next 600
// level rows ahead.
void DrawRadar(World& w) {
    GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    Surface& back = *w.media.back;
    LockSurface(back);
    // Worked in 64 bits: a damaged profile may bring any distances.
    for (const LevelObject& o : g.LevelObjects) {
        const int64_t ahead = int64_t(p.ScrollDistance) - o.Y;
        if (ahead <= -600 || ahead >= 600 || o.Energy <= 0) continue;
        const int x = int(int64_t(o.X) * 88 / 800 + 17);
        const int y = int(520 - (int64_t(o.Y) - p.ScrollDistance) * 88 / 1200);
        PutPixel(back, x, y, o.Content == 0 ? kRadarRed : kRadarGreen);
        if (o.Content == 9) PutPixel(back, x, y, kRadarYellow);
    }
    const int64_t shipX = (int64_t(p.PlayerX) - 37) * 88 / 800 + 17;
    const int64_t shipY = (int64_t(p.PlayerY) - 37) * 44 / 600 + 524;
    if (shipX >= 0 && shipX < kSurfaceWidth && shipY >= 0 && shipY < kSurfaceHeight)
        PutPixel(back, int(shipX), int(shipY), kRadarYellow);
    const int64_t toFinish = int64_t(p.ScrollDistance) - p.LevelEnd;
    if (toFinish > -600 && toFinish < 595 && p.Level != 9) {
        const int q = int(toFinish * 44 / 600 + 521);
        PutPixel(back, 17, q, kRadarCyan);
        PutPixel(back, 99, q, kRadarCyan);
    }
    UnlockSurface(back);
}

// Extra hull energy trickles in: one point every second frame, never past
// 200.
void TrickleEnergy(GameState& g) {
    g.EnergyRefill = uint8_t(g.EnergyRefill - 1);
    if (g.EnergyRefill % 2 != 0) return;
    if (g.Progress.Energy >= 200) {
        g.EnergyRefill = 0;
    } else {
        g.Progress.Energy += 1;
    }
}

// While it does, a frame of small squares surrounds the energy digits.
void DrawRefillFrame(World& w) {
    Canvas& canvas = TakeCanvas(w);
    for (int i = 0; i <= 9; ++i) {
        Box(canvas, kGreen, 135 + 8 * i, 535, 142 + 8 * i, 542);
        Box(canvas, kGreen, 135 + 8 * i, 575, 142 + 8 * i, 582);
    }
    for (int i = 0; i <= 4; ++i) {
        Box(canvas, kGreen, 135, 535 + 8 * i, 142, 542 + 8 * i);
        Box(canvas, kGreen, 208, 535 + 8 * i, 214, 542 + 8 * i);
    }
    ReleaseCanvas(canvas);
}

// While invulnerable one square circles the energy display clockwise, a
// step every 5 frames, a lap in 141 frames.
void InvulnerabilityLight(World& w) {
    GameState& g = w.game;
    if (g.InvulnerableEnergy <= 0) return;
    Canvas& canvas = TakeCanvas(w);
    const int t = g.InvulnerableLightStep;
    if (t <= 45) {
        const int k = t / 5;
        Box(canvas, kGreen, 135 + 8 * k, 535, 142 + 8 * k, 542);
    } else if (t <= 70) {
        const int k = (t - 45) / 5;
        Box(canvas, kGreen, 208, 535 + 8 * k, 214, 542 + 8 * k);
    } else if (t <= 115) {
        const int k = 9 - (t - 70) / 5;
        Box(canvas, kGreen, 135 + 8 * k, 575, 142 + 8 * k, 582);
    } else {
        const int k = 5 - (t - 115) / 5;
        Box(canvas, kGreen, 135, 535 + 8 * k, 142, 542 + 8 * k);
    }
    ReleaseCanvas(canvas);
    g.InvulnerableLightStep = g.InvulnerableLightStep >= 140 ? 0 : uint8_t(g.InvulnerableLightStep + 1);
}

void DrawItemSlots(World& w) {
    const ProgressRecord& p = w.game.Progress;
    static constexpr int kSlotX[3] = {256, 313, 370};
    for (int s = 1; s <= 3; ++s) {
        const int32_t item = p.ItemSlots[s];
        // A damaged profile's negative item has no picture; its frame number
        // stays negative instead of wrapping round below the lowest int.
        if (item != 0) DrawPicture(w, w.media.Obrazky, "Special", kSlotX[s - 1], 534, item > 0 ? item - 1 : -1);
    }
    Canvas& canvas = TakeCanvas(w);
    for (int s = 0; s <= 2; ++s) {
        if (p.ItemSlots[s + 1] != 0) Box(canvas, kGreen, 245, 534 + 12 * s, 250, 542 + 12 * s);
    }
    ReleaseCanvas(canvas);
}

// One olive bar per weapon owned, stacked upwards, without saying which.
void DrawWeaponsOwned(World& w) {
    const ProgressRecord& p = w.game.Progress;
    Canvas& canvas = TakeCanvas(w);
    int k = 0;
    for (uint8_t owned : {p.HasGoodLaser, p.HasDiagonalBalls, p.HasRockets, p.HasSideBalls, p.HasBombs}) {
        if (owned != 1) continue;
        Box(canvas, kOlive, 699, 573 - 9 * k, 703, 581 - 9 * k);
        ++k;
    }
    ReleaseCanvas(canvas);
}

// A ship whose hull energy is used up costs a life; orbs, invulnerability
// and the spent gun energy go with it, weapons and items stay.
void LoseLife(GameState& g) {
    ProgressRecord& p = g.Progress;
    if (p.Energy > 0 || p.Lives <= 0) return;
    p.Energy = 100;
    p.ShipExplosionFrame = 1;
    p.Lives = int8_t(p.Lives - 1);
    if (p.Lives == 0) p.Energy = 0;
    for (ShotRecord& orb : g.ShieldOrbs) orb.Active = 0;
    g.InvulnerableTimer = 0;
    g.InvulnerableEnergy = 0;
    g.WeaponEnergy = 110;
}

// Small explosions at random spots around the ship, then for the last ship
// the large one; a ship with lives left flies in again after frame 3. The
// step to frame 7 ends the last ship's sequence at once, so it shows three
// steps of each explosion and the large one's fourth frame never appears.
void DestructionSequence(World& w) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    if (p.ShipExplosionFrame <= 0) return;
    if (p.ShipExplosionFrame <= 3) {
        const int32_t dy = RandomInt(w, 75);
        const int32_t dx = RandomInt(w, 73);
        DrawPicture(w, w.media.Obrazky, "MalyBum", p.PlayerX - 54 + dx, p.PlayerY - 46 + dy, p.ShipExplosionFrame - 1);
    } else if (p.ShipExplosionFrame <= 7) {
        DrawPicture(w, w.media.Obrazky, "Velkybum", p.PlayerX - 34, p.PlayerY - 29, p.ShipExplosionFrame - 4);
    }
    if (g.DeathTick == 5) {
        if (p.ShipExplosionFrame < 8) ++p.ShipExplosionFrame;
        if (p.Lives > 0 && p.ShipExplosionFrame >= 3) {
            p.ShipExplosionFrame = -1;
            g.ArrivalWidth = 400;
            g.ArrivalHeight = 400;
        } else if (p.Lives == 0 && p.ShipExplosionFrame >= 7) {
            p.Lives = kLivesPause;
            p.ShipExplosionFrame = -1;
        }
    }
    if (p.Lives >= 0) g.DeathTick = g.DeathTick >= 5 ? 0 : g.DeathTick + 1;
}

// After the last explosion the screen stays empty until DeathTick reaches 50.
void PauseAfterLastShip(GameState& g) {
    if (g.Progress.Lives != kLivesPause) return;
    if (g.DeathTick < 50) {
        ++g.DeathTick;
    } else {
        g.Progress.Lives = 0;
    }
}

// The last ship is gone and the pause after it is over: the game is lost.
bool GameIsLost(const ProgressRecord& p) { return p.Lives == 0 && p.ShipExplosionFrame == -1; }

void DrawSpareLives(World& w) {
    const int lives = w.game.Progress.Lives;
    for (int i = 1; i <= lives - 1; ++i) DrawPicture(w, w.media.Obrazky, "IcoZivot", 10 + 43 * (i - 1), 10, 0);
}

}  // namespace

void UpdateHud(World& w) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    DrawBar(w);
    DrawGunGauge(w);
    RechargeGun(w);
    DrawNumber(w, p.Score, 1);
    DrawNumber(w, p.Energy, 2);
    if (IsNoText(g.CommanderText) && g.CommanderStep == 0) DrawRadar(w);
    UpdateCommander(w);
    if (g.EnergyRefill > 0) {
        TrickleEnergy(g);
        DrawRefillFrame(w);
    }
    InvulnerabilityLight(w);
    DrawItemSlots(w);
    if (p.LastWeapon >= 0) DrawPicture(w, w.media.Obrazky, "IconGuns", 643, 534, p.LastWeapon);
    DrawWeaponsOwned(w);
    LoseLife(g);
    DestructionSequence(w);
    PauseAfterLastShip(g);
    // The frame takes the game to the menu's score page after this scene's
    // routine: no later step of it reads the scene, the menu or the music,
    // and the finish-line save, asked for after this, finds the slot freed.
    if (GameIsLost(p)) AskFor(w, SceneRequest::GameLost);
    DrawSpareLives(w);
    if (p.Level == 1) {
        DrawPicture(w, w.media.Obrazky, "IcoBat", 750, 10, 0);
        DrawNumber(w, p.BlackBoxCount, 3);
    }
}

// Digits right-aligned from the units digit leftwards. The hull energy has
// three digit sets (normal, low at 11..30, critical at 0..10) and a percent
// sign in the low and critical colours.
void DrawNumber(World& w, int32_t value, int mode) {
    const int32_t energy = w.game.Progress.Energy;
    if (mode == 2 && energy < 0) return;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%d", int(value));
    int setOffset = 0;
    if (mode == 2) setOffset = energy <= 10 ? 20 : (energy <= 30 ? 10 : 0);
    for (int i = 0; i < length; ++i) {
        const char c = text[length - 1 - i];
        if (c < '0' || c > '9') continue;  // a minus sign has no digit picture
        const int d = c - '0';
        switch (mode) {
            case 1: DrawPicture(w, w.media.Obrazky, "CislaBody", 563 - 23 * i, 540, d); break;
            case 2: DrawPicture(w, w.media.Obrazky, "CislaLife", 175 - 13 * i, 547, d + setOffset); break;
            case 3: DrawPicture(w, w.media.Obrazky, "CislaLife", 764 - 13 * i, 54, d); break;
            default: break;
        }
    }
    if (mode == 2 && energy <= 30) DrawPicture(w, w.media.Obrazky, "Procenta", 193, 547, energy <= 10 ? 1 : 0);
}
