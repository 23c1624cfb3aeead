// ResetGameState: the state of a fresh game. Stars are drawn anew from the
// one random source (per star: x, y, colour, speed, in that order); shots,
// companions, enemy shots and level objects are cleared.
#include "game/reset.h"

#include "state/world.h"

void ResetGameState(World& w) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;

    g.ArrivalWidth = 400;
    g.ArrivalHeight = 400;
    SetNoText(g.CommanderText);
    g.CommanderTextPos = 1;
    g.CommanderTimer = 0;
    g.CommanderStep = 0;
    g.StarMode = 0;
    g.TextScreenLine = 0;

    static constexpr int32_t kStarGreys[4] = {0x888888, 0x808080, 0x6C6C6C, 0x4C4C4C};
    for (Star& star : g.Stars) {
        star.X = RandomInt(w, 800);
        star.Y = RandomInt(w, 600);
        star.Colour = kStarGreys[RandomInt(w, 4)];
        star.Speed = uint8_t(RandomInt(w, 3) + 1);
    }

    for (int i = 0; i < kShotCount; ++i) {
        g.LaserShots[i].Active = 0;
        g.RocketShots[i].Active = 0;
        g.SideBallShots[i].Active = 0;
        g.DiagonalBallShots[i].Active = 0;
        g.BombShots[i].Active = 0;
    }
    for (ShotRecord& orb : g.ShieldOrbs) {
        orb.Active = 0;
        orb.Mode = 0;
    }
    for (WingmanRecord& wingman : g.Wingmen) wingman.State = 0;
    for (int k = 0; k < 5; ++k) WeaponFlag(p, k) = 0;
    for (EnemyShotRecord& shot : g.EnemyShots) {
        shot.Active = 0;
        shot.BurstFrame = -1;
    }
    for (LevelObject& o : g.LevelObjects) ClearObjectPlace(o);

    p.Lives = 3;
    for (int i = 1; i <= 3; ++i) p.ItemSlots[i] = 0;
    for (int i = 1; i <= 5; ++i) p.WeaponPickupState[i] = 0;

    g.ItemSlotToUse = 0;
    g.InvulnerableEnergy = 0;
    p.LastWeapon = -1;
    g.FireHeld = 0;
    g.VolleyTick = 10;
    g.RocketTick = 2;
    g.BallTick = 1;
    g.WeaponEnergy = 110;
    g.ReloadTimer = 15;

    p.ScrollDistance = 600;
    p.Score = 0;
    p.Energy = 100;
    p.PlayerX = 400;
    p.PlayerY = 300;
    p.SpeedX = 0;
    p.SpeedY = 0;
    p.ShipExplosionFrame = 0;

    for (int column = 1; column <= 9; ++column)
        for (int cell = 0; cell < 7; ++cell) g.CityGrid[column][size_t(cell)].Picture = -1;

    g.ShipHitTimer = 0;
    g.InvulnerableTimer = 0;
    g.WingmanTimer = 0;
    g.EnergyRefill = 0;

    for (ShotRecord& beam : g.EggBeams) {
        beam.Active = 0;
        beam.Mode = 1;
    }
    for (auto& group : g.HomingDiscs)
        for (ShotRecord& disc : group) disc.Active = 0;
}
