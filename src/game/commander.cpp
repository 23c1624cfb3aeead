// The commander's messages: the briefings at the start of levels 1, 2, 3, 6
// and 9, the warning when the mother ship comes into view and the closing
// words of the story. Lines come from the Texty blocks "#<level>" and are
// typed on the panel in the instrument bar, one per 401 frames.
#include "game/commander.h"

#include <cstdio>
#include <string_view>

#include "game/level_build.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

constexpr uint32_t kGreen = 0x039F15;
constexpr uint32_t kOlive = 0x005928;
// The panel's text screen in the bar ends at x 635; characters that would
// reach past its inner edge are not drawn, so an over-long line is cut at
// the screen's edge instead of running over the bar.
constexpr int kPanelTextRight = 630;

bool HasMessages(int32_t level) { return level == 1 || level == 2 || level == 3 || level == 6 || level == 9; }

// Index of the line "#<level>" in Texty, or -1 when the level has no block.
int FindMarker(const FrontEnd& f, int32_t level) {
    char marker[16];
    const int n = std::snprintf(marker, sizeof marker, "#%d", int(level));
    const std::string_view wanted(marker, size_t(n));
    const auto& texty = f.Texty;
    for (size_t i = 0; i < texty.size(); ++i) {
        if (texty[i] == wanted) return int(i);
    }
    return -1;
}

void Triggers(World& w) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    if (p.ScrollDistance == 10500 && p.Level == 9) {
        g.CommanderStep = 10;
        g.CommanderTimer = 0;
        PlayGameSound(w, "Prepnuti");
    }
    if (p.ScrollDistance == 600 && w.shell.CurrentScene == Scene::Animace) {
        g.CommanderStep = 14;
        g.CommanderTimer = 0;
        PlayGameSound(w, "Prepnuti");
        p.ScrollDistance = 601;
    }
    // The opening signal of a level-start briefing: a level starts at 600
    // and the starfield has already added this frame's row.
    if (p.ScrollDistance == 601 && HasMessages(p.Level)) PlayGameSound(w, "Prepnuti");
}

void EndMessage(World& w) {
    GameState& g = w.game;
    g.CommanderStep = 0;
    SetNoText(g.CommanderText);
    g.CommanderTimer = 0;
    PlayGameSound(w, "Prepnuti");
}

void MessageStep(World& w) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    if (p.ScrollDistance <= 600 || g.CommanderStep <= 0 || !HasMessages(p.Level)) return;
    const int marker = FindMarker(w.front, p.Level);
    // Level 2 has two messages in its block: the news from the black boxes
    // (offsets 1..5, then on to 12, the next block's marker) or, with no box
    // brought home, the reprimand (offsets 6..11).
    if (p.Level == 2 && p.BlackBoxCount == 0 && g.CommanderStep == 1) g.CommanderStep = 6;
    if (p.Level == 2 && p.BlackBoxCount > 0 && g.CommanderStep == 6) g.CommanderStep = 12;
    if (g.CommanderTimer == 0) {
        const auto& texty = w.front.Texty;
        const int64_t line = int64_t(marker) + g.CommanderStep;
        // A level without its block, or a block running off the end of the
        // list, ends the message as its closing marker would.
        if (marker < 0 || line >= int64_t(texty.size()) ||
            (!texty[size_t(line)].empty() && texty[size_t(line)][0] == '#')) {
            EndMessage(w);
        } else {
            g.CommanderText.Assign(texty[size_t(line)]);
            ++g.CommanderStep;
            g.CommanderTextPos = 1;
        }
    }
    g.CommanderTimer = g.CommanderTimer >= 400 ? 0 : g.CommanderTimer + 1;
    // A level-start briefing holds the level at its start; when it ends the
    // level is built afresh (whatever BuildLevel arms is disarmed again).
    if (p.ScrollDistance < 9500) {
        p.ScrollDistance = 602;
        if (g.CommanderStep == 0) {
            BuildLevel(w);
            g.CommanderTimer = 0;
            SetNoText(g.CommanderText);
            g.CommanderStep = 0;
        }
    }
    // Enter skips to the next line in the next frame, once per press.
    Input& input = w.media.input;
    if (IsHeld(input, kNextLineKey)) {
        g.CommanderTimer = 0;
        Consume(input, kNextLineKey);
    }
}

// The portrait, a blinking and a steady lamp, and the line typed so far.
void Panel(World& w) {
    GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    if (IsNoText(g.CommanderText) || (p.ScrollDistance >= 5000 && p.Level != 9)) return;
    DrawPicture(w, w.media.Obrazky, "Velitel", 32, 480, g.PortraitFrame);

    Canvas& canvas = TakeCanvas(w);
    if (g.LampTick < 20) {
        canvas.PenColor = kGreen;
        MoveTo(canvas, 46, 570);
        LineTo(canvas, 49, 570);
    }
    canvas.PenColor = kOlive;
    MoveTo(canvas, 62, 570);
    LineTo(canvas, 65, 570);
    g.LampTick = g.LampTick >= 40 ? 0 : uint8_t(g.LampTick + 1);

    canvas.Font.Name = "Arial";
    canvas.Font.Height = 13;
    canvas.Font.Bold = false;
    canvas.Font.Color = kGreen;
    canvas.BrushColor = 0;
    const std::string_view text = g.CommanderText.View();
    const int typed = g.CommanderTextPos < int(text.size()) ? g.CommanderTextPos : int(text.size());
    g.TextCursorX = 125;
    for (int i = 0; i < typed; ++i) {
        const std::string_view ch = text.substr(size_t(i), 1);
        const int width = TextWidth(canvas, ch);
        if (g.TextCursorX + width > kPanelTextRight) break;
        TextOut(canvas, g.TextCursorX, 495, ch);
        g.TextCursorX += width;
    }
    ReleaseCanvas(canvas);

    if (g.PortraitTick >= 7) {
        g.PortraitTick = 0;
        g.PortraitFrame = uint8_t(RandomInt(w, 3));
    } else {
        ++g.PortraitTick;
    }
    if (g.TypeTick >= 1) {
        g.TypeTick = 0;
        if (int(text.size()) > g.CommanderTextPos) ++g.CommanderTextPos;
    } else {
        ++g.TypeTick;
    }
}

// While lines 36..38 of the level-9 briefing are on the panel the probe is
// shown turning (frames 0..9), then unfolding to frame 18 where it stays.
void Probe(World& w) {
    GameState& g = w.game;
    const int32_t step = g.CommanderStep;
    if (g.Progress.Level != 9 || step < 6 || step > 8 || IsNoText(g.CommanderText)) return;
    DrawPicture(w, w.media.Obrazky, "IcoSat", 15, 477, g.ProbeFrame);
    if (g.ProbeTick == 5) {
        if (step < 8) {
            g.ProbeFrame = g.ProbeFrame >= 9 ? 0 : uint8_t(g.ProbeFrame + 1);
        } else if (g.ProbeFrame < 18) {
            ++g.ProbeFrame;
        }
    }
    g.ProbeTick = g.ProbeTick >= 5 ? 0 : g.ProbeTick + 1;
}

}  // namespace

void UpdateCommander(World& w) {
    Triggers(w);
    MessageStep(w);
    Panel(w);
    Probe(w);
}
