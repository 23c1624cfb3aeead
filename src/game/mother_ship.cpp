// The mother ship battle of level 9: the ship's parts as set up for a level,
// and the frame of the battle: body, hits, probe, guns, wrecks, the
// launcher's end, shields, the final explosions and the ship's sweep.
#include "game/mother_ship.h"

#include <cmath>
#include <cstdlib>

#include "game/mother_ship_hits.h"
#include "media/picture.h"
#include "media/surface.h"
#include "state/media_calls.h"
#include "state/world.h"

using namespace mothership;

namespace {

// One part as built: hit box relative to the ship, energy before the
// strength factor, and its guns (interval 0 = unarmed).
struct PartDesign {
    int x, y, width, height, energy;
    int shotKind, fireInterval, shotDamage, score;
};

constexpr PartDesign kParts[19] = {
    {586, 32, 63, 63, 1000, 1, 250, 0, 100},   // 0
    {5, 141, 21, 62, 200, 0, 0, 0, 100},       // 1 left pod
    {774, 142, 21, 62, 200, 0, 0, 0, 100},     // 2 right pod
    {164, 0, 51, 45, 750, 1, 250, 0, 100},     // 3
    {488, 0, 39, 35, 750, 1, 300, 0, 50},      // 4
    {527, 0, 39, 35, 750, 1, 250, 0, 50},      // 5
    {85, 128, 18, 22, 750, 3, 400, 15, 50},    // 6
    {107, 123, 18, 22, 750, 3, 100, 15, 50},   // 7
    {676, 141, 18, 22, 750, 3, 233, 15, 50},   // 8
    {698, 129, 18, 22, 200, 3, 522, 15, 50},   // 9
    {342, 89, 30, 29, 100, 0, 0, 0, 50},       // 10
    {440, 81, 38, 27, 200, 0, 0, 0, 50},       // 11
    {533, 132, 70, 28, 1000, 3, 150, 15, 50},  // 12
    {23, 140, 34, 41, 500, 0, 0, 0, 50},       // 13
    {743, 141, 21, 62, 500, 0, 0, 0, 50},      // 14
    {371, 50, 28, 28, 100, 0, 0, 0, 50},       // 15
    {247, 0, 58, 44, 1000, 3, 261, 15, 50},    // 16
    {207, 98, 68, 72, 300, 0, 0, 0, 50},       // 17 probe launcher
    {375, 70, 50, 76, 300, 0, 0, 0, 50},       // 18 core
};

// While any of these stands, the launcher shrugs off all damage.
constexpr int kLauncherShields[] = {0, 3, 4, 5, 6, 7, 8, 9, 12, 13, 14, 16};

// A gun's volley: shot positions on the ship and its muzzle flash timer
// (0..8, -1 for none).
struct Volley {
    int part;
    int count;
    int dx[3];
    int dy;
    int timer;
};
constexpr Volley kVolleys[] = {
    {0, 2, {604, 624, 0}, 106, 0},    {3, 1, {192, 0, 0}, 65, 1},  {4, 1, {508, 0, 0}, 60, 2},
    {5, 1, {544, 0, 0}, 60, 3},       {6, 1, {92, 0, 0}, 162, 4},  {7, 1, {114, 0, 0}, 177, 5},
    {8, 1, {683, 0, 0}, 179, 6},      {9, 1, {705, 0, 0}, 161, 7}, {12, 2, {548, 583, 0}, 148, 8},
    {16, 3, {257, 269, 281}, 40, -1},
};

// Muzzle flash pictures of the Level collection by timer, at ship offsets.
struct Flash {
    int count;
    int picture[2];
    int x[2], y[2];
};
constexpr Flash kFlashes[9] = {
    {1, {30, 0}, {599, 0}, {81, 0}},  {1, {23, 0}, {184, 0}, {39, 0}},  {1, {24, 0}, {500, 0}, {38, 0}},
    {1, {25, 0}, {535, 0}, {40, 0}},  {1, {26, 0}, {87, 0}, {143, 0}},  {1, {27, 0}, {109, 0}, {162, 0}},
    {1, {28, 0}, {677, 0}, {161, 0}}, {1, {29, 0}, {698, 0}, {146, 0}}, {2, {31, 32}, {538, 571}, {145, 145}},
};

void DrawLevel(World& w, int picture, int x, int y, int frame) {
    DrawPattern(PictureAt(w.media.Level, picture), *w.media.back, x, y, frame);
}

int FirstFreeEnemyShot(const GameState& g) {
    for (int i = 0; i < kEnemyShotCount; ++i)
        if (g.EnemyShots[i].Active != 1) return i;
    return -1;
}

bool LauncherShielded(const GameState& g) {
    for (int part : kLauncherShields)
        if (g.MotherShipParts[part].Energy > 0) return true;
    return false;
}

// A new probe now and then while the launcher stands; the
// bay opens, the probe leaves it, homes in on the player and rams.
void UpdateProbe(World& w) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    ShipPart& probe = g.MotherShipParts[kProbe];
    if (probe.Energy <= 0 && g.MotherShipParts[kLauncher].Energy > 0 && g.LauncherState == 0 &&
        RandomInt(w, 200) == 0) {
        probe.Energy = 1;
        g.ProbeLaunchCounter = 0;
        probe.X = -1000;  // out of sight until it leaves the bay
    }
    if (probe.Energy <= 0) return;

    if (g.ShipTick6 == 5) g.ProbeLaunchCounter = g.ProbeLaunchCounter >= 40 ? 0 : g.ProbeLaunchCounter + 1;
    const int counter = g.ProbeLaunchCounter;
    if (counter < 13) DrawLevel(w, 21, g.MotherShip.X + 200, g.MotherShip.Y + 90, counter);
    if (counter == 9) {
        probe.X = g.MotherShip.X + 230;
        probe.Y = g.MotherShip.Y + 180;
        probe.Width = 28;
        probe.Height = 23;
        probe.Energy = 1;
    }
    if (counter >= 9 && counter <= 40) {
        DrawLevel(w, 20, probe.X, probe.Y, counter < 13 ? counter - 9 : 4);
        if (probe.Y < p.PlayerY - 42 || probe.Y > p.PlayerY - 28) probe.Y += p.PlayerY > probe.Y ? 5 : -5;
        if (probe.X < p.PlayerX - 44 || probe.X > p.PlayerX - 30) probe.X += p.PlayerX - 37 > probe.X ? 5 : -5;
    }
    // Ramming works whether the probe is drawn or not.
    if (std::abs(p.PlayerX - probe.X) >= 150 || std::abs(p.PlayerY - probe.Y) >= 150) return;
    const PartRect r = RectOf(g, kProbe);
    bool column = false, row = false;
    for (int i = 0; i < 36 && !column; ++i) column = r.InsideX(p.PlayerX - 37 + 2 * i);
    for (int j = 0; j < 36 && !row; ++j) row = r.InsideY(p.PlayerY - 25 + 2 * j);
    if (column && row) {
        p.Energy -= 20;
        probe.Energy = 0;
        g.ShipHitTimer = 1;
    }
}

// Every living gun whose interval comes up fires its volley into
// the level's enemy shots, which carry them on from there.
void FireGuns(GameState& g) {
    for (const Volley& v : kVolleys) {
        const ShipPart& part = g.MotherShipParts[v.part];
        if (part.Energy < 1 || part.FireInterval <= 0) continue;
        if (FirstFreeEnemyShot(g) < 0 || g.ShipFireClock % part.FireInterval != 0) continue;
        for (int n = 0; n < v.count; ++n) {
            const int slot = FirstFreeEnemyShot(g);
            if (slot < 0) break;
            EnemyShotRecord& e = g.EnemyShots[slot];
            e.Speed = int8_t(part.ShotSpeed);
            e.Kind = part.ShotKind;
            e.Damage = part.ShotDamage;
            e.Active = 1;
            e.X = g.MotherShip.X + v.dx[n];
            e.Y = g.Progress.ScrollDistance - (g.MotherShip.Y + v.dy);
        }
        if (v.timer >= 0) g.MuzzleTimers[v.timer] = 5;
    }
}

void DrawMuzzleFlashes(World& w) {
    GameState& g = w.game;
    for (int t = 0; t < 9; ++t) {
        if (g.MuzzleTimers[t] <= 0) continue;
        const Flash& f = kFlashes[t];
        for (int n = 0; n < f.count; ++n)
            DrawLevel(w, f.picture[n], g.MotherShip.X + f.x[n], g.MotherShip.Y + f.y[n], 0);
        g.MuzzleTimers[t] -= 1;
    }
}

void DrawWrecks(World& w) {
    GameState& g = w.game;
    for (int part = 0; part < kLauncher + 1; ++part) {
        if (g.MotherShipParts[part].Energy >= 1) continue;
        const PartRect r = RectOf(g, part);
        DrawLevel(w, part + 1, r.left, r.top, 0);
    }
}

// A dying launcher crumbles through nine steps of nine frames,
// held at energy 2 until the last, then it is gone for good.
void CrumbleLauncher(World& w) {
    GameState& g = w.game;
    ShipPart& launcher = g.MotherShipParts[kLauncher];
    if (g.LauncherState == 0 && launcher.Energy == 2) {
        g.LauncherState = 1;
        g.LauncherFrame = 4;
    }
    if (g.LauncherState != 1) return;
    const int x = g.MotherShip.X + 200, y = g.MotherShip.Y + 100;
    if (g.LauncherFrame >= 0) DrawLevel(w, 22, x, y, g.LauncherFrame);
    if (g.LauncherFrame == -3) DrawLevel(w, 22, x, y, 0);
    if (g.ShipTick9 == 8 && g.LauncherFrame > -5) g.LauncherFrame -= 1;
    if (g.LauncherFrame == -5) {
        launcher.Energy = 0;
        launcher.Hit = 1;
        g.LauncherState = 3;
    } else {
        launcher.Energy = 2;
    }
}

// Shields restore the launcher and the core, hit parts flicker
// with small explosions and destroyed ones burst.
void AnimateHits(World& w) {
    GameState& g = w.game;
    for (int record = 0; record < kRecords; ++record) {
        ShipPart& part = g.MotherShipParts[record];
        if (part.Hit == 0) continue;
        bool shielded = false;
        if (record == kLauncher && LauncherShielded(g)) shielded = true;
        if (record == kCore && g.MotherShipParts[kLauncher].Energy > 0) shielded = true;
        if (shielded) part.Energy = 150;

        const PartRect r = RectOf(g, record);
        if (!shielded) {
            const PictureItem& wreck = PictureAt(w.media.Level, record + 1);
            const int pw = PatternWidth(wreck), ph = PatternHeight(wreck);
            if (part.Energy < 1) {
                DrawPicture(w, w.media.Obrazky, "Velkybum", r.left + (pw - 100) / 2, r.top + (ph - 100) / 2,
                            part.Hit - 1);
            } else if (record != kLauncher || g.LauncherState == 0) {
                const int x = r.left + RandomInt(w, pw) - 12;
                const int y = r.top + RandomInt(w, ph) - 12;
                DrawPicture(w, w.media.Obrazky, "MalyBum", x, y, part.Hit);
            }
        } else if (record == kCore) {
            DrawLevel(w, 19, r.left, r.top, part.Hit - 1);
        } else {
            DrawLevel(w, 22, g.MotherShip.X + 200, g.MotherShip.Y + 100, part.Hit - 1);
        }

        ShipPart& launcher = g.MotherShipParts[kLauncher];
        if (g.LauncherState == 0 && launcher.Energy < 1) launcher.Energy = 2;  // dying from next frame

        bool advance = g.ShipTick6 == 5 && !shielded;
        if (record == kLauncher && g.ShipTick9 == 8 && (shielded || g.LauncherState == 1)) advance = true;
        if (advance) {
            if (part.Energy > 0) {
                part.Hit = part.Hit == 1 ? 2 : 0;
            } else {
                if (part.Hit == 1) PlayGameSound(w, "Vybuch");
                part.Hit = part.Hit >= 4 ? 0 : part.Hit + 1;
            }
        }
        // The core's shield flash runs on the slower tick; a flash that has
        // just ended is not restarted.
        if (record == kCore && part.Energy > 0 && g.ShipTick9 == 8 && part.Hit != 0)
            part.Hit = part.Hit >= 5 ? 0 : part.Hit + 1;
    }
}

// Once the core is gone the ship blows apart in a growing shower of explosions; after
// 500 frames the battle is won. Returns true when the game leaves the battle.
bool BlowUpShip(World& w) {
    GameState& g = w.game;
    if (g.MotherShipParts[kCore].Energy >= 1) return false;
    if (RandomInt(w, 50) == 0) PlayGameSound(w, "Vybuch");
    for (int n = 0; n < g.DestructionCounter / 50; ++n) {
        int frame = RandomInt(w, 4);
        int x = g.MotherShip.X + RandomInt(w, 800);
        int y = g.MotherShip.Y - 50 + RandomInt(w, 150);
        DrawPicture(w, w.media.Obrazky, "Velkybum", x, y, frame);
        frame = RandomInt(w, 3);
        x = g.MotherShip.X + RandomInt(w, 800);
        y = g.MotherShip.Y - 50 + RandomInt(w, 150);
        DrawPicture(w, w.media.Obrazky, "Malybum", x, y, frame);
    }
    if (g.DestructionCounter < 500) {
        g.DestructionCounter += 1;
        return false;
    }
    g.Progress.Score += 2000;
    // The ending follows once the game scene's frame is over (the frame runs
    // its first frame at once). The bang and the white flash are the
    // battle's own and happen here, at once: the flash is shown before the
    // rest of the game scene draws over the back surface.
    AskFor(w, SceneRequest::BattleWon);
    PlayGameSound(w, "bumLod");
    FillSurface(*w.media.back, 0xFFFFFF);
    PresentFrame(w.media);
    return true;
}

// The burst of a bomb on the ship and its blast wave.
void DrawShipBlast(World& w) {
    GameState& g = w.game;
    const int frame = g.ShipBlast[0];
    if (frame <= 0) return;
    DrawPicture(w, w.media.Obrazky, "Velkybum", g.ShipBlast[1] - 33, g.ShipBlast[2] - 25, frame);
    DrawPicture(w, w.media.Obrazky, "Vlna", g.ShipBlast[1] - 78, g.ShipBlast[2] - 70, frame);
    if (g.ShipTick6 != 5) return;
    if (frame == 1) PlayGameSound(w, "Prstenec");
    g.ShipBlast[0] = frame >= 5 ? 0 : frame + 1;
}

// Half a pixel per frame from side to side; now and then the ship
// starts to rise, which the slide-in at the start of the frame undoes at once.
void MoveShip(GameState& g, Random& random) {
    MotherShipPosition& ship = g.MotherShip;
    if (g.FrameParity == 0 && g.MotherShipParts[kCore].Energy > 0) {
        if (g.ShipDirX == 1) {
            if (ship.X < 100) ship.X += 1;
            else g.ShipDirX = 0;
        }
        if (g.ShipDirX == 0) {
            if (ship.X > -100) ship.X -= 1;
            else g.ShipDirX = 1;
        }
        if (g.ShipDirY == 1 && ship.Y < 0) ship.Y += 1;
        if (g.ShipDirY == 0) {
            if (ship.Y > -50) ship.Y -= 1;
            else g.ShipDirY = 1;
        }
    }
    if (RandomInt(random, 500) == 0) g.ShipDirY = 0;
}

void AdvanceCounters(GameState& g) {
    g.FrameParity = g.FrameParity == 0 ? 1 : 0;
    g.ShipTick6 = g.ShipTick6 >= 5 ? 0 : g.ShipTick6 + 1;
    g.ShipTick9 = g.ShipTick9 >= 8 ? 0 : g.ShipTick9 + 1;
    g.ShipFireClock = g.ShipFireClock >= 1500 ? 0 : g.ShipFireClock + 1;
}

}  // namespace

void SetUpMotherShip(World& w, double strengthFactor) {
    GameState& g = w.game;
    g.MotherShip.X = 0;
    g.MotherShip.Y = -228;
    g.LauncherState = 0;
    g.DestructionCounter = 0;
    for (ShipPart& part : g.MotherShipParts) {
        part.X = part.Y = part.Width = part.Height = 0;
        part.Energy = 10;  // Hit is kept from any earlier battle
    }
    for (int32_t& timer : g.MuzzleTimers) timer = 0;
    for (int i = 0; i < 19; ++i) {
        const PartDesign& d = kParts[i];
        ShipPart& part = g.MotherShipParts[i];
        part.X = d.x;
        part.Y = d.y;
        part.Width = d.width;
        part.Height = d.height;
        part.Energy = int32_t(std::lround(d.energy * strengthFactor));
        part.ShotKind = uint8_t(d.shotKind);
        part.ShotSpeed = d.fireInterval > 0 ? 3 : 0;
        part.FireInterval = d.fireInterval;
        part.ShotDamage = d.shotDamage;
        part.Score = d.score;
    }
}

void UpdateMotherShip(World& w) {
    GameState& g = w.game;
    DrawPicture(w, w.media.Level, "Lod", g.MotherShip.X, g.MotherShip.Y, 0);
    if (g.MotherShip.Y < 0) g.MotherShip.Y += 1;

    StrikeWithShots(w);
    BurstBombs(w);
    BurnWithEggBeams(w);
    StrikeWithDiscs(w);
    OrbsAgainstProbe(w);
    UpdateProbe(w);
    FireGuns(g);
    DrawMuzzleFlashes(w);
    DrawWrecks(w);
    CrumbleLauncher(w);
    AnimateHits(w);
    if (BlowUpShip(w)) return;
    DrawShipBlast(w);
    MoveShip(g, w.random);
    AdvanceCounters(g);
}
