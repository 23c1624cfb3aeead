// The companions of the special items: wingmen that fly in, dock beside the
// ship and leave after a while; protective orbs circling the ship; egg beams
// that charge, open to the full width and climb; homing discs that fan out
// and chase the nearest visible object.
#include "game/companions.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "state/media_calls.h"
#include "state/world.h"

namespace {

// Where wingman 1 (index 0) and wingman 2 (index 1) fly beside the ship.
int32_t DockX(const ProgressRecord& p, int index) { return index == 0 ? p.PlayerX + 75 : p.PlayerX - 155; }
int32_t DockY(const ProgressRecord& p) { return p.PlayerY + 20; }

// Three pixels per frame toward the target: first down from above, then up
// from below, so a coordinate settles within 2 pixels of it.
void StepToward(int32_t& coordinate, int32_t target) {
    if (target < coordinate) coordinate -= 3;
    if (target > coordinate) coordinate += 3;
}

void FlyIn(World& w, int index) {
    const ProgressRecord& p = w.game.Progress;
    WingmanRecord& wingman = w.game.Wingmen[index];
    StepToward(wingman.Y, DockY(p));
    StepToward(wingman.X, DockX(p, index));
    const int32_t dockX = DockX(p, index);
    if (dockX - 3 < wingman.X && wingman.X < dockX + 3 && p.PlayerY + 17 < wingman.Y && wingman.Y < p.PlayerY + 23) {
        wingman.State = 2;
    }
    DrawPicture(w, w.media.Rakety, "Kavrix", wingman.X, wingman.Y, 7);
}

// Docked wingmen bank with the ship. Both records are looked at on every
// pass, so with both wingmen out each is drawn twice at the same spot.
void FollowShip(World& w) {
    const ProgressRecord& p = w.game.Progress;
    const int frame = p.SpeedX == 0 ? 7 : (p.SpeedX < 0 ? 6 : 8);
    for (int index = 0; index < 2; ++index) {
        WingmanRecord& wingman = w.game.Wingmen[index];
        if (wingman.State != 2) continue;
        wingman.X = DockX(p, index);
        wingman.Y = DockY(p);
        DrawPicture(w, w.media.Rakety, "Kavrix", wingman.X, wingman.Y, frame);
    }
}

}  // namespace

void UpdateWingmen(World& w) {
    GameState& g = w.game;
    for (int index = 0; index < 2; ++index) {
        WingmanRecord& wingman = g.Wingmen[index];
        if (wingman.State <= 0) continue;
        if (wingman.State == 1) FlyIn(w, index);
        FollowShip(w);
        if (wingman.State == 3) {
            if (wingman.Y > 600) wingman.State = 0;
            wingman.Y += 3;
            DrawPicture(w, w.media.Rakety, "Kavrix", wingman.X, wingman.Y, 7);
        }
        // Counted once per wingman out, so with both out they leave after
        // about 1000 frames.
        if (g.WingmanTimer >= 2000) {
            g.Wingmen[0].State = 3;
            g.Wingmen[1].State = 3;
            g.WingmanTimer = 0;
        } else {
            g.WingmanTimer += 1;
        }
    }
}

// Orbs ride an ellipse of half-axes 70 and 60 around the ship, 40 degrees
// apart, one turn per 180 frames. Each is drawn where the last frame put it
// and then moved. The angle is taken modulo 360 before the sine so that orb
// 10 (400 degrees) lands exactly on orb 1.
void UpdateShieldOrbs(World& w) {
    GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    const int savedRounding = std::fegetround();
    std::fesetround(FE_TONEAREST);
    for (int j = 1; j <= kOrbCount; ++j) {
        ShotRecord& orb = g.ShieldOrbs[j - 1];
        if (orb.Active != 1) continue;
        DrawPicture(w, w.media.Obrazky, "Stit", orb.X, orb.Y, 0);
        if (orb.Mode < 360) {
            orb.Mode += 2;
        } else {
            orb.Mode = 0;
        }
        const double radians = double((40 * j + orb.Mode) % 360) * std::numbers::pi / 180.0;
        orb.X = int32_t(std::nearbyint(std::sin(radians) * 70.0)) + p.PlayerX - 20;
        orb.Y = int32_t(std::nearbyint(std::cos(radians) * 60.0)) + p.PlayerY - 10;
    }
    std::fesetround(savedRounding);
}

void UpdateEggBeams(World& w) {
    GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    for (int e = 0; e < kEggBeamCount; ++e) {
        ShotRecord& beam = g.EggBeams[e];
        if (beam.Active != 1) continue;
        EggBeamEnd& ends = g.EggBeamEnds[e];
        int32_t& timer = g.EggBeamTimers[e];
        if (beam.Mode == 1) {
            ends.LeftX = ends.RightX = p.PlayerX - 5;
            beam.Y = p.PlayerY - 10;
            beam.Mode = 2;
            timer = 0;
        }
        if (beam.Mode == 2) {
            // Charging: the two eggs rise side by side for 40 frames.
            beam.Y -= 1;
            timer += 1;
            if (timer == 40) {
                beam.Mode = 3;
                PlayGameSound(w, "RoztahnutiLej");
                PlayGameSound(w, "PrubehLej");
            }
        }
        if (beam.Mode == 3) {
            // Sweeping: the ends open 50 pixels a frame to the screen's edges,
            // then the beam climbs to the top.
            ends.LeftX = ends.LeftX > 50 ? ends.LeftX - 50 : 12;
            ends.RightX = ends.RightX < 750 ? ends.RightX + 50 : 787;
            if (beam.Y > 0) {
                beam.Y -= 1;
            } else {
                beam.Active = 0;
                StopGameSound(w, "PrubehLej");
            }
        }
        Canvas& canvas = TakeCanvas(w);
        canvas.PenColor = 0xFF0000;
        MoveTo(canvas, ends.LeftX, beam.Y);
        LineTo(canvas, ends.RightX, beam.Y);
        ReleaseCanvas(canvas);
        DrawPicture(w, w.media.Obrazky, "VejceLeva", ends.LeftX - 12, beam.Y - 9, 0);
        DrawPicture(w, w.media.Obrazky, "VejcePrava", ends.RightX, beam.Y - 9, 0);
    }
}

namespace {

// The first visible level object whose centre lies within the disc's seek
// window, or nullptr.
const LevelObject* FindTarget(World& w, const ShotRecord& disc, int32_t& cx, int32_t& cy) {
    const GameState& g = w.game;
    for (int i = 1; i <= kLevelObjectCount; ++i) {
        const LevelObject& object = g.LevelObjects[i];
        if (object.Visible != 1) continue;
        const PictureItem& picture = PictureAt(w.media.Rakety, object.Picture);
        const int32_t x = object.X + PatternWidth(picture) / 2;
        const int32_t y = PatternHeight(picture) / 2 + g.Progress.ScrollDistance - object.Y;
        if (std::abs(x - disc.X + 7) < 100 && std::abs(y - disc.Y + 7) < 100) {
            cx = x;
            cy = y;
            return &object;
        }
    }
    return nullptr;
}

}  // namespace

void UpdateHomingDiscs(World& w) {
    GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    for (auto& group : g.HomingDiscs) {
        for (int k = 1; k <= kDiscsPerGroup; ++k) {
            ShotRecord& disc = group[k - 1];
            if (disc.Active != 1) continue;
            if (disc.Mode == 1) {
                disc.X = p.PlayerX;
                disc.Y = p.PlayerY;
                disc.Mode = 2;
            }
            if (disc.Mode == 2) {
                // The eight discs of a group fan out to x = 85, 170, ..., 680.
                const int32_t lane = 85 * k;
                disc.X += disc.X < lane ? 5 : -5;
                if (std::abs(disc.X - lane) < 6) disc.Mode = 3;
            }
            if (disc.Mode == 2 || disc.Mode == 3) {
                int32_t cx = 0, cy = 0;
                if (FindTarget(w, disc, cx, cy)) {
                    disc.X += cx > disc.X + 7 ? 4 : -4;
                    disc.Y += cy > disc.Y + 7 ? 5 : -3;
                }
                disc.Y -= 1;
                if (disc.Y < -25) disc.Active = 0;
            }
            DrawPicture(w, w.media.Obrazky, "Navadeci", disc.X, disc.Y, 0);
        }
    }
}
