// The intro scene: the emblem builds up from the menu pictures (inner circle,
// outer circle, the spiky ring uncovered by a sweeping black pie, the
// lettering and the "presents" caption), then the title over the stars and
// the intro music, after which the menu takes over. It plays once per run.
#include "frontend/intro.h"

#include "game/starfield.h"
#include "media/canvas.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

// Where the emblem's pictures stand; the blend rectangles are the same
// places at the pictures' own sizes.
constexpr int kInnerX = 383, kInnerY = 221;
constexpr int kOuterX = 371, kOuterY = 209;
constexpr int kSpikesX = 356, kSpikesY = 194;
constexpr int kLetteringX = 244, kLetteringY = 229;
constexpr Rect kInnerRect{383, 221, 425, 263};
constexpr Rect kOuterRect{371, 209, 437, 275};
constexpr Rect kLetteringRect{244, 229, 556, 260};
constexpr Rect kCaptionRect{459, 262, 552, 280};

// The emblem's layout origin; the sweep's corner is kept relative to it.
constexpr int kOriginX = 244, kOriginY = 184;

constexpr int kCaptionFrames = 300;  // phase 5 holds the finished emblem
constexpr int kTitleFrames = 800;    // phase 6 shows the title over the stars

void Blend(World& w, std::string_view name, const Rect& rect, int fade) {
    BlendDrawPattern(FindPicture(w.media.MenuObr, name), *w.media.back, rect, 0, fade);
}

void Draw(World& w, std::string_view name, int x, int y) { DrawPicture(w, w.media.MenuObr, name, x, y, 0); }

// A black wedge over the spiky ring from its top-left corner round to the
// moving corner, counter-clockwise: it covers all of the ring the corner
// has not yet passed.
void CoverRing(World& w) {
    const FrontEnd& f = w.front;
    Canvas& canvas = TakeCanvas(w);
    canvas.BrushColor = 0;
    canvas.PenColor = 0;
    Pie(canvas, 356, 194, 452, 290, 356, 194, kOriginX + f.SweepX, kOriginY + f.SweepY);
    ReleaseCanvas(canvas);
}

// The corner runs right along the top of the ring's box, down its right
// side, back along the bottom and up the left side, 5 pixels a frame. The
// steps are tested in order, so a step that finishes hands over at once.
void MoveSweep(FrontEnd& f) {
    if (f.SweepStep == 1) {
        if (kOriginX + f.SweepX < 452) f.SweepX += 5;
        else f.SweepStep = 2;
    }
    if (f.SweepStep == 2) {
        if (kOriginY + f.SweepY < 289) f.SweepY += 5;
        else f.SweepStep = 3;
    }
    if (f.SweepStep == 3) {
        if (kOriginX + f.SweepX > 356) f.SweepX -= 5;
        else f.SweepStep = 4;
    }
    if (f.SweepStep == 4) {
        if (kOriginY + f.SweepY > 194) {
            f.SweepY -= 5;
        } else {
            f.SweepStep = 5;
            f.IntroPhase = 4;
            f.IntroFade = 0;
        }
    }
}

}  // namespace

void RunIntro(World& w) {
    FrontEnd& f = w.front;
    if (f.IntroPhase == 0) f.IntroPhase = 1;

    // Each phase is tested against the phase as it stands at that moment, so
    // a phase that ends inside its own step runs the next one in the same frame.
    if (f.IntroPhase == 1) Blend(w, "Vnitrni kruh", kInnerRect, f.IntroFade);
    if (f.IntroPhase == 2) {
        Blend(w, "Vnejsi kruh", kOuterRect, f.IntroFade);
        Draw(w, "Vnitrni kruh", kInnerX, kInnerY);
    }
    if (f.IntroPhase == 3) {
        Draw(w, "Bodliny", kSpikesX, kSpikesY);
        CoverRing(w);
        Draw(w, "Vnejsi kruh", kOuterX, kOuterY);
        Draw(w, "Vnitrni kruh", kInnerX, kInnerY);
        MoveSweep(f);
    }
    if (f.IntroPhase == 4) {
        Blend(w, "Napis", kLetteringRect, f.IntroFade);
        Draw(w, "Bodliny", kSpikesX, kSpikesY);
        Blend(w, "Vnejsi kruh", kOuterRect, f.IntroFade);
        Draw(w, "Vnejsi kruh", kOuterX, kOuterY);
        Draw(w, "Vnitrni kruh", kInnerX, kInnerY);
    }
    if (f.IntroPhase == 5) {
        Draw(w, "Napis", kLetteringX, kLetteringY);
        Draw(w, "Bodliny", kSpikesX, kSpikesY);
        Draw(w, "Vnejsi kruh", kOuterX, kOuterY);
        Draw(w, "Vnitrni kruh", kInnerX, kInnerY);
        Blend(w, "Uvadi", kCaptionRect, f.IntroFade);
        if (f.IntroTimer >= kCaptionFrames) {
            f.IntroPhase = 6;
            f.IntroTimer = 0;
            // The intro module was loaded at start-up; it starts with the title.
            if (w.shell.MusicEnabled) BASS_MusicPlay(w.media.music, w.shell.MusicChannel);
        } else {
            ++f.IntroTimer;
        }
    }
    if (f.IntroPhase == 6) {
        DrawStarfield(w);
        Draw(w, "Nazev", 0, 0);
        if (f.IntroTimer >= kTitleFrames) {
            AskFor(w, SceneRequest::IntroEnded);  // the menu runs in this same frame
            f.IntroTimer = 0;
        } else {
            ++f.IntroTimer;
        }
    }

    // The fade runs 0, 2, ..., 256; a finished fade moves phases 1 to 4 on
    // (phase 3 usually ends earlier, with its sweep).
    if (f.IntroFade < 255) {
        f.IntroFade += 2;
    } else if (f.IntroPhase < 5) {
        ++f.IntroPhase;
        f.IntroFade = 0;
    }
}
