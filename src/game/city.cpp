// The alien city under levels 4 and 8: a grid of 101-pixel blocks that
// scrolls down one pixel a frame, shifts every column down one block every
// 101 frames with a fresh random block entering at the top, and animates
// its reactors and structures. Scenery only: nothing collides with it.
#include "game/city.h"

#include <cstdlib>

#include "state/media_calls.h"
#include "state/world.h"

namespace {

constexpr int kColumns = 9;
constexpr int kShownCells = 7;  // cells 0..6; 7 and 8 are never shown
constexpr int kBlock = 101;     // block size in pixels, also the frames between shifts

constexpr int32_t kEmpty = -1;
constexpr int32_t kReactor = 100;

void DrawCity(World& w) {
    const GameState& g = w.game;
    const PictureCollection& level = w.media.Level;
    for (int k = 1; k <= kColumns; ++k) {
        for (int r = 0; r < kShownCells; ++r) {
            const CityCell& cell = g.CityGrid[k][size_t(r)];
            if (cell.Picture < 0) continue;
            // Columns stand at -50, 51, ..., 758; row 0 starts a block above the top edge.
            const int x = (k - 1) * kBlock - 50;
            const int y = (r - 1) * kBlock + g.CityScroll;
            if (cell.Picture < kReactor) {
                DrawPicture(w, level, "Kostky", x, y, cell.Picture);
            } else if (cell.Picture == kReactor) {
                DrawPicture(w, level, "Reaktor", x, y, cell.Frame);
            } else {
                // For the swinging arms (above 200) this frame lies past the
                // end of "Animace" and draws nothing; only "Animace2" shows.
                DrawPicture(w, level, "Animace", x, y, cell.Picture - 102 - cell.Frame);
                if (cell.Picture > 200)
                    DrawPicture(w, level, "Animace2", x, y, cell.Picture - 201 - std::abs(cell.Frame));
            }
        }
    }
}

// The block entering column k at the top. The draws come in a fixed order
// and a later rule overrides an earlier one.
CityCell NewBlock(GameState& g, Random& random, int k) {
    const ProgressRecord& p = g.Progress;
    CityCell cell{0, 0, 0, 0, 0, 0};

    if (RandomInt(random, 7) == 0) cell.Picture = RandomInt(random, 13) + 5;  // a tall tile 5..17
    else cell.Picture = RandomInt(random, 5);                                 // a low tile 0..4

    if (RandomInt(random, 12) == 0) {  // a reactor, five frames
        cell.Picture = kReactor;
        cell.DelayCount = 0;
        cell.FrameDelay = RandomInt(random, 10) + 25;
        cell.Frame = RandomInt(random, 5);
        cell.LastFrame = 4;
        cell.FirstFrame = 0;
    }
    if (RandomInt(random, 12) == 0) {  // a structure blinking between two frames
        cell.Picture = (RandomInt(random, 8) + 1) * 2 + 101;
        cell.DelayCount = 0;
        cell.FrameDelay = RandomInt(random, 10) + 25;
        cell.Frame = RandomInt(random, 2);
        cell.LastFrame = 1;
        cell.FirstFrame = 0;
    }
    if (RandomInt(random, 12) == 0) {  // a swinging arm: -1, 0, 1, 2 and round again
        cell.Picture = (RandomInt(random, 14) + 1) * 3 + 200;
        cell.DelayCount = 0;
        cell.FrameDelay = RandomInt(random, 30) + 25;
        cell.Frame = RandomInt(random, 3);
        cell.LastFrame = 2;
        cell.FirstFrame = -1;
    }
    // The outer columns, half off the screen, are left open half the time.
    if ((k == 1 || k == kColumns) && RandomInt(random, 2) == 0) cell.Picture = kEmpty;
    // An old city thins out, and after a while starts over.
    if (RandomInt(random, 200) + 500 < g.CityAge) cell.Picture = kEmpty;
    if (RandomInt(random, 300) + 1000 < g.CityAge) g.CityAge = 0;
    // The city runs out before the finish line.
    if ((p.Level == 4 && p.ScrollDistance > 10200) || (p.Level == 8 && p.ScrollDistance > 8800)) cell.Picture = kEmpty;
    return cell;
}

void ScrollCity(GameState& g, Random& random) {
    if (g.CityScroll < 100) {
        ++g.CityScroll;
        ++g.CityAge;
        return;
    }
    for (int k = 1; k <= kColumns; ++k) {
        auto& column = g.CityGrid[k];
        for (int r = kShownCells - 1; r >= 1; --r) column[size_t(r)] = column[size_t(r - 1)];
        column[0] = NewBlock(g, random, k);
    }
    g.CityScroll = 0;
}

void AnimateCity(GameState& g) {
    for (int k = 1; k <= kColumns; ++k) {
        for (int r = 0; r < kShownCells; ++r) {
            CityCell& cell = g.CityGrid[k][size_t(r)];
            if (cell.Picture < 0) continue;
            if (cell.DelayCount < cell.FrameDelay) {
                ++cell.DelayCount;
            } else {
                cell.DelayCount = 0;
                cell.Frame = cell.Frame < cell.LastFrame ? cell.Frame + 1 : cell.FirstFrame;
            }
        }
    }
}

}  // namespace

void UpdateCity(World& w) {
    DrawCity(w);
    ScrollCity(w.game, w.random);
    AnimateCity(w.game);
}
