// The background stars: 100 grey points falling at 1..3 pixels per frame,
// mirrored for the ending and sped up for the intro. Each call also moves
// the level on by one row of scroll distance, the clock of every scene.
#include "game/starfield.h"

#include "state/world.h"

void DrawStarfield(World& w) {
    GameState& g = w.game;
    Surface& back = *w.media.back;

    FillSurface(back, 0);
    LockSurface(back);
    for (Star& star : g.Stars) {
        const int y = g.StarMode == 1 ? 600 - star.Y : star.Y;
        PutPixel(back, star.X, y, uint32_t(star.Colour));
        star.Y += star.Speed;
        if (g.StarMode == 2) star.Y += 8;
        if (star.Y > 600) {
            // A star that fell off the bottom comes back at the top somewhere
            // else, at a new speed, but keeps its shade of grey.
            star.Y = 0;
            star.X = RandomInt(w, 800);
            star.Speed = uint8_t(RandomInt(w, 3) + 1);
        }
    }
    UnlockSurface(back);

    g.Progress.ScrollDistance += 1;
}
