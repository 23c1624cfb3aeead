// Level objects in play, once per frame: entry at the top edge, movement and
// spent slots, the per-object pass (drawing, strikes of every player weapon,
// bomb blasts, touching the ship, firing), explosions, the blast, weapon
// boxes offered again, and the clocks.
#include "game/level_objects.h"

#include <cstdlib>

#include "game/level_build.h"
#include "game/object_passes.h"
#include "media/picture.h"
#include "state/media_calls.h"
#include "state/world.h"

PictureSize RaketySizes::Of(int index) {
    if (index < 0 || index >= kKept) {
        const PictureItem& picture = PictureAt(w_.media.Rakety, index);  // raises the lookup error
        return {PatternWidth(picture), PatternHeight(picture)};
    }
    if (!known_[index]) {
        const PictureItem& picture = PictureAt(w_.media.Rakety, index);
        sizes_[index] = {PatternWidth(picture), PatternHeight(picture)};
        known_[index] = true;
    }
    return sizes_[index];
}

void DamageObject(World& w, LevelObject& o, int32_t amount) {
    o.Energy -= amount;
    o.Hit = 1;
    if (o.Energy < 0) {
        o.Visible = 0;
        w.game.Progress.Score += o.Score;
    }
}

void StartBlast(World& w, const ShotRecord& bomb) {
    w.game.BlastFrame = 1;
    w.game.BlastX = bomb.X;
    w.game.BlastY = bomb.Y;
}

void ApplyBlastDamage(World& w, const ShotRecord& bomb, bool onlyStanding) {
    const int32_t scroll = w.game.Progress.ScrollDistance;
    for (LevelObject& o : w.game.LevelObjects) {
        if (o.Visible != 1) continue;
        if (onlyStanding && o.Energy <= 0) continue;
        const int64_t dx = std::abs(bomb.X - o.X);
        const int64_t dy = std::abs(bomb.Y - (scroll - o.Y));
        if (dx >= 200 || dy >= 200) continue;
        int64_t distance2 = dx * dx + dy * dy;
        // An object whose corner lies exactly on the blast point takes the
        // damage of one pixel's distance.
        if (distance2 == 0) distance2 = 1;
        DamageObject(w, o, int32_t((int64_t(bomb.Damage) * 10000) / distance2));
    }
}

namespace {

// 4b: the object, its overlay, the extra-life box's frames, the blinking
// black box.
void DrawObject(World& w, LevelObject& o, int sy) {
    GameState& g = w.game;
    Surface& back = *w.media.back;
    if (o.Content != 9) DrawPattern(PictureAt(w.media.Rakety, o.Picture), back, o.X, sy, 0);
    const int ox = o.X + 13, oy = sy + 14;
    if (o.Content >= 1 && o.Content <= 7) {
        DrawPicture(w, w.media.Obrazky, "Special", ox, oy, o.Content - 1);
    } else if (o.Content == 8) {
        DrawPicture(w, w.media.Obrazky, "Special", ox, oy, 7);
    } else if (o.Content == 9) {
        const int frame = g.LifeAnimFrame + g.LifeTakenShift;
        if (frame == 6) {
            o.Energy = 0;
            o.Visible = 0;
            o.Content = 255;
            g.LifeAnimFrame = 0;
            g.LifeTakenShift = 0;
        } else {
            DrawPicture(w, w.media.Rakety, "Zivot", ox, oy, frame);
        }
    } else if (o.Content >= 100 && o.Content <= 104) {
        DrawPicture(w, w.media.Obrazky, "IconGuns", ox, oy, o.Content - 100);
    }
    if (o.Picture == 14) DrawPattern(PictureAt(w.media.Rakety, 14), back, o.X, sy, g.BlinkFrame);
}

// 4c-4h: the player's shots and companions against one object.
void StrikeObject(World& w, LevelObject& o, int sy, PictureSize size) {
    GameState& g = w.game;
    const int W = size.width, H = size.height;
    auto nearBy = [&](const ShotRecord& s, int limit) {
        return std::abs(s.X - o.X) < limit && std::abs(s.Y - sy) < limit;
    };
    auto strike = [&](ShotRecord& s, int32_t damage) {
        s.Active = 0;
        DamageObject(w, o, damage);
    };

    for (ShotRecord& s : g.LaserShots) {
        if (s.Active != 1 || o.Visible != 1 || !nearBy(s, 150)) continue;
        if (PointStrictlyInside(s.X - 23, s.Y - 52, o.X, sy, W, H) ||
            PointStrictlyInside(s.X + 12, s.Y - 52, o.X, sy, W, H))
            strike(s, s.Damage);
    }
    for (ShotRecord& s : g.RocketShots) {
        if (s.Active != 1 || o.Visible != 1 || !nearBy(s, 150)) continue;
        if (BoxStrikes(s.X, s.Y, 14, 57, o.X, sy, W, H)) strike(s, s.Damage);
    }
    for (ShotRecord& s : g.SideBallShots) {
        if (s.Active != 1 || o.Visible != 1 || !nearBy(s, 150)) continue;
        if (BoxStrikes(s.X, s.Y, 16, 16, o.X, sy, W, H)) strike(s, s.Damage);
    }
    for (ShotRecord& s : g.DiagonalBallShots) {
        if (s.Active != 1 || o.Visible != 1 || !nearBy(s, 150)) continue;
        if (BoxStrikes(s.X, s.Y, 16, 16, o.X, sy, W, H)) strike(s, s.Damage);
    }
    for (ShotRecord& s : g.BombShots) {
        if (s.Active != 1 || o.Visible != 1 || !nearBy(s, 250)) continue;
        if (BoxStrikes(s.X, s.Y, 33, 47, o.X, sy, W, H)) {
            StartBlast(w, s);
            strike(s, s.Damage);
            ApplyBlastDamage(w, s, true);
        }
    }
    // 4e: bombs that have risen far enough go off wherever they are.
    for (ShotRecord& s : g.BombShots) {
        if (s.Active != 1 || std::abs(s.Y - s.StartY) <= 200) continue;
        StartBlast(w, s);
        s.Active = 0;
        ApplyBlastDamage(w, s, true);
    }
    // 4f-4h: orbs, egg beams and discs, like the shots above, pass over an
    // object that something earlier in this frame has already destroyed: a
    // wreck is not destroyed twice, so its score is added once and no orb or
    // disc is used up on it.
    // 4f: orbs wear down ordinary objects only.
    for (ShotRecord& s : g.ShieldOrbs) {
        if (s.Active != 1 || o.Visible != 1 || o.Content != 0 || std::abs(s.Y - sy) >= 150) continue;
        if (BoxStrikes(s.X, s.Y, 16, 16, o.X, sy, W, H)) strike(s, s.Damage);
    }
    // 4g: a sweeping egg beam burns whatever it crosses, and goes on.
    for (ShotRecord& s : g.EggBeams) {
        if (s.Active != 1 || s.Mode != 3 || o.Visible != 1 || std::abs(s.Y - sy) >= 150) continue;
        if (sy < s.Y && s.Y < sy + H) DamageObject(w, o, 3);
    }
    // 4h: homing discs take a fixed 150.
    for (auto& group : g.HomingDiscs) {
        for (ShotRecord& s : group) {
            if (s.Active != 1 || o.Visible != 1 || std::abs(s.Y - sy) >= 150) continue;
            if (BoxStrikes(s.X, s.Y, 16, 16, o.X, sy, W, H)) strike(s, 150);
        }
    }
}

// 9: explosions of destroyed objects and sparks on hit ones.
void UpdateExplosions(World& w, RaketySizes& sizes) {
    GameState& g = w.game;
    const int32_t scroll = g.Progress.ScrollDistance;
    const bool step = g.ExplosionTick == 5;
    for (LevelObject& o : g.LevelObjects) {
        if (o.Hit == 0) continue;
        const PictureSize size = sizes.Of(o.Picture);
        const int sy = scroll - o.Y;
        if (o.Visible == 0) {
            DrawPicture(w, w.media.Obrazky, "Velkybum", o.X + (size.width - 100) / 2,
                        sy + (size.height - 100) / 2, o.Hit - 1);
            if (step) {
                if (o.Hit == 1) PlayGameSound(w, "Vybuch");
                o.Hit = o.Hit >= 4 ? 0 : uint8_t(o.Hit + 1);
            }
        } else {
            const int x = o.X + RandomInt(w, size.width) - 12;
            const int y = sy + RandomInt(w, size.height) - 12;
            DrawPicture(w, w.media.Obrazky, "MalyBum", x, y, o.Hit);
            if (step) o.Hit = o.Hit >= 2 ? 0 : uint8_t(o.Hit + 1);
        }
    }
}

// 11: a weapon box that went by without being taken comes back in the next
// band of 600 ahead, unless the finish is near.
void OfferWeaponBoxesAgain(World& w) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    for (int n = 1; n <= 5; ++n) {
        if (g.WeaponPickupSeen[n] == 1) {
            p.WeaponPickupState[n] = 1;
            continue;
        }
        if (p.WeaponPickupState[n] != 1 || WeaponFlag(p, n - 1) != 0) continue;
        if (std::abs(p.LevelEnd - p.ScrollDistance) <= 1200) continue;
        int slot = 0;
        for (int i = 1; i <= kLevelObjectCount && slot == 0; ++i)
            if (g.LevelObjects[i].X == -1) slot = i;
        if (slot == 0) continue;
        LevelObject& o = g.LevelObjects[slot];
        o.Picture = 8;
        o.Speed = (p.Level == 4 || p.Level == 8) ? 1 : 0;
        o.Hit = 0;
        o.Content = uint8_t(99 + n);
        o.Visible = 0;
        o.Energy = 9;
        o.Fires = o.ShotSpeed = o.FireInterval = o.ShotKind = o.ShotSpread = 0;
        // The spent slot may hold a former object's values: a box scores
        // nothing, hurts nothing and fires nothing.
        o.Score = 0;
        o.CollisionDamage = 0;
        o.ShotDamage = 0;
        const int32_t band = p.ScrollDistance / 600;
        if (PlaceLevelObject(w, slot, (band + 1) * 600, (band + 2) * 600)) p.WeaponPickupState[n] = 0;
    }
}

void AdvanceClocks(GameState& g) {
    if (g.BlinkTick >= 40) {
        g.BlinkTick = 0;
        g.BlinkFrame = g.BlinkFrame ? 0 : 1;
    } else {
        ++g.BlinkTick;
    }
    if (g.ExplosionTick >= 5) {
        g.ExplosionTick = 0;
        g.LifeAnimFrame = g.LifeAnimFrame >= 3 ? 0 : g.LifeAnimFrame + 1;
    } else {
        ++g.ExplosionTick;
    }
    g.FireClock = g.FireClock >= 1000 ? 0 : g.FireClock + 1;
}

}  // namespace

void UpdateLevelObjects(World& w) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    RaketySizes sizes(w);

    // 1. Entry: an object comes into play while its lower part shows.
    for (LevelObject& o : g.LevelObjects) {
        const int32_t above = o.Y - p.ScrollDistance;
        if (above > 0 && above < sizes.Of(o.Picture).height && o.Energy > 0) o.Visible = 1;
    }
    // 2. Movement; slots far below the screen are spent.
    for (LevelObject& o : g.LevelObjects) {
        if (p.ScrollDistance - o.Y >= 1200)
            o.X = -1;
        else
            o.Y -= o.Speed;
        if (p.ScrollDistance - o.Y > 580) o.Visible = 0;
    }
    // 3.
    for (int32_t& seen : g.WeaponPickupSeen) seen = 0;

    // 4. The objects in play, unless the commander is speaking at the start.
    if (g.CommanderStep == 0 || p.ScrollDistance > 10400) {
        for (LevelObject& o : g.LevelObjects) {
            if (o.Visible != 1) continue;
            const int sy = p.ScrollDistance - o.Y;
            const PictureSize size = sizes.Of(o.Picture);
            if (o.Content >= 100 && o.Content <= 104) g.WeaponPickupSeen[o.Content - 99] = 1;
            DrawObject(w, o, sy);
            StrikeObject(w, o, sy, size);
            TouchShip(w, o, sy, size);
            FireFromObject(w, o, size, sizes);
        }
    }

    // 5-7.
    UpdateEnemyShots(w, sizes);

    // 8. Bombs gone off in stretches with nothing in play.
    for (ShotRecord& s : g.BombShots) {
        if (s.Active != 1 || std::abs(s.Y - s.StartY) <= 200) continue;
        StartBlast(w, s);
        s.Active = 0;
    }

    UpdateExplosions(w, sizes);

    // 10. The one blast.
    if (g.BlastFrame > 0) {
        DrawPicture(w, w.media.Obrazky, "Velkybum", g.BlastX - 33, g.BlastY - 25, g.BlastFrame);
        DrawPicture(w, w.media.Obrazky, "Vlna", g.BlastX - 78, g.BlastY - 70, g.BlastFrame);
        if (g.ExplosionTick == 5) {
            if (g.BlastFrame == 1) PlayGameSound(w, "Prstenec");
            g.BlastFrame = g.BlastFrame >= 5 ? 0 : g.BlastFrame + 1;
        }
    }

    OfferWeaponBoxesAgain(w);
    AdvanceClocks(g);
}
