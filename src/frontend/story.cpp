// The ending of a won game, scene "Animace": a white flash fading over the
// ship seen from behind, the commander's closing message, the ship flying
// down out of the picture, then the enemy probe drifting through space under
// its caption ("KDESI V PROSTORU ...") until the game returns to the menu's score page.
#include "frontend/story.h"

#include "game/hud.h"
#include "game/starfield.h"
#include "media/canvas.h"
#include "state/media_calls.h"
#include "state/saved_files.h"
#include "state/world.h"

namespace {

constexpr int kShipX = 358, kShipY = 266;
constexpr int kFlashStep = 50;
constexpr int kShipExit = 450;         // downward offset at which the ship is gone
constexpr int32_t kDescentEnd = 2300;  // the probe's fast descent lasts up to here
constexpr int32_t kClosingSound = 3800;
constexpr int32_t kStoryEnd = 4100;
constexpr int32_t kBlinkFrames = 100;

void DrawShip(World& w, int y) { DrawPicture(w, w.media.Rakety, "OpacnaRaketa", kShipX, y, 0); }

// Stage 1: the white flash over the ship, stars running backwards.
void Flash(World& w) {
    FrontEnd& f = w.front;
    w.game.StarMode = 1;
    DrawShip(w, kShipY);
    UpdateHud(w);
    if (f.EndingCounter > 0)
        BlendDrawPattern(FindPicture(w.media.Obrazky, "bila"), *w.media.back, Rect{0, 0, 800, 600}, 0, f.EndingCounter);
    if (f.EndingCounter > 0) {
        f.EndingCounter -= kFlashStep;
    } else {
        f.EndingStage = 2;
        StopSong(w.media.music, w.shell.MusicChannel);
        // The HUD starts the commander's closing message at this distance.
        w.game.Progress.ScrollDistance = 600;
    }
}

// Stage 2: the closing message runs in the instrument bar.
void Message(World& w) {
    FrontEnd& f = w.front;
    DrawShip(w, kShipY);
    UpdateHud(w);
    if (w.game.CommanderStep == 0) f.EndingStage = 3;
    f.EndingCounter = 0;
}

// Stage 3: the ship flies down and out through the bottom edge.
void ShipLeaves(World& w) {
    FrontEnd& f = w.front;
    DrawShip(w, kShipY + f.EndingCounter);
    if (f.EndingCounter < kShipExit) {
        f.EndingCounter += 2;
    } else {
        f.EndingStage = 4;
        w.game.Progress.ScrollDistance = 600;
        f.ProbeDrift = 0;
        f.EndingCounter = 0;
    }
}

void Caption(World& w) {
    Canvas& canvas = TakeCanvas(w);
    canvas.Font.Name = "System";
    canvas.Font.Height = 25;
    canvas.Font.Bold = false;
    canvas.Font.Color = 0x8000;
    canvas.BrushColor = 0;
    TextOut(canvas, 20, 570, w.front.words.ending);
    ReleaseCanvas(canvas);
}

// Stage 4: the probe comes down fast past rushing stars, then drifts and
// blinks with a beep until the story ends. The scroll distance is the clock.
void Probe(World& w) {
    FrontEnd& f = w.front;
    ProgressRecord& p = w.game.Progress;
    w.game.StarMode = 2;
    DrawPicture(w, w.media.Obrazky, "Sonda", 400, p.ScrollDistance - 2000 + f.ProbeDrift, f.EndingCounter);
    if (p.ScrollDistance <= kDescentEnd) {
        p.ScrollDistance += 4;
        Caption(w);
    }
    if (p.ScrollDistance > kDescentEnd) {
        w.game.StarMode = 0;
        // Slowly upwards against the scroll: 5 pixels every 4 frames.
        f.ProbeDrift -= f.ProbeDriftTick == 0 ? 2 : 1;
        f.ProbeDriftTick = f.ProbeDriftTick < 3 ? f.ProbeDriftTick + 1 : 0;
        if (f.ProbeBlinkTimer < kBlinkFrames) {
            ++f.ProbeBlinkTimer;
        } else {
            f.ProbeBlinkTimer = 0;
            f.EndingCounter = f.EndingCounter == 0 ? 1 : 0;
            PlayGameSound(w, "Sonda");
        }
    }
    if (p.ScrollDistance == kClosingSound) PlayGameSound(w, "Konec");
    if (p.ScrollDistance == kStoryEnd) AskFor(w, SceneRequest::StoryEnded);  // the frame calls EndStory
}

}  // namespace

void RunStoryAnimation(World& w) {
    DrawStarfield(w);
    // The stages are tested in order, so the next stage already runs in the
    // frame in which the previous one ends.
    FrontEnd& f = w.front;
    if (f.EndingStage == 1) Flash(w);
    if (f.EndingStage == 2) Message(w);
    if (f.EndingStage == 3) ShipLeaves(w);
    if (f.EndingStage == 4) Probe(w);
}

void EndStory(World& w) {
    FrontEnd& f = w.front;
    w.shell.CurrentScene = Scene::Menu;
    f.MenuPage = Page::Scores;  // the score page enters the finished game's score
    f.IdleTimer = 1500;
    f.HoverButton = 0;
    f.GameActive = 0;
    w.game.Progress.Lives = 0;
    // The story starts over from the flash, so another victory in the same
    // run plays it again instead of waiting in the probe's drift for a key.
    f.EndingStage = 1;
    f.EndingCounter = 255;
    f.ProbeDrift = 0;
    f.ProbeDriftTick = 0;
    f.ProbeBlinkTimer = 0;
    ClearProfileSlot(w);
}
