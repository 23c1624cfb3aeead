// The story text "Uvod" before the first level: nine lines typed inside a
// thin green frame, one character every second frame, the newest glowing.
// Keys (menu input) complete the text and then start the game; once the text
// is all there, a line under the frame says which key goes on.
#include "frontend/text_screen.h"

#include <string_view>

#include "media/canvas.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

constexpr int kLastLine = 8;
constexpr int kTextX = 65, kTextY = 195, kLineStep = 20;
constexpr uint32_t kFrameColour = 0x039F15;
constexpr uint32_t kTextColour = 0xAA00;
constexpr uint32_t kPromptColour = 0xD500;
constexpr int kPromptY = 402;  // under the frame, centred on it

std::string_view StoryLine(const FrontEnd& f, int index) {
    const auto& texty = f.Texty;
    return size_t(index) < texty.size() ? std::string_view(texty[size_t(index)]) : std::string_view();
}

uint32_t GlowColour(int index, int shown) {
    if (index == shown) return 0xFF00;
    if (index == shown - 1) return 0xD500;
    return kTextColour;
}

}  // namespace

void RunTextScreen(World& w) {
    GameState& g = w.game;
    Canvas& canvas = TakeCanvas(w);
    canvas.Font.Name = "Arial";
    canvas.Font.Height = 20;
    canvas.Font.Bold = false;
    canvas.BrushColor = kFrameColour;
    canvas.PenColor = kFrameColour;
    FrameRect(canvas, Rect{55, 180, 740, 390});
    canvas.BrushColor = 0;
    canvas.Font.Color = kTextColour;

    for (int b = 0; b < g.TextScreenLine; ++b) TextOut(canvas, kTextX, kTextY + kLineStep * b, StoryLine(w.front, b));

    // The line being typed, character by character. When its last but one
    // character is reached the line counts as finished: from the next frame
    // on it is written whole with its last character.
    const std::string_view line = StoryLine(w.front, g.TextScreenLine);
    const int length = int(line.size());
    const int shown = g.CommanderTextPos;
    int x = kTextX;
    for (int i = 1; i <= shown && i <= length; ++i) {
        const std::string_view ch = line.substr(size_t(i - 1), 1);
        canvas.Font.Color = GlowColour(i, shown);
        TextOut(canvas, x, kTextY + kLineStep * g.TextScreenLine, ch);
        x += TextWidth(canvas, ch);
        if (i == length - 1) {
            if (g.TextScreenLine < kLastLine) {
                ++g.TextScreenLine;
                g.CommanderTextPos = 0;
            } else {
                StopGameSound(w, "Text");
            }
        }
    }

    // The whole text shown (typed out, or completed by a key): the prompt.
    if (g.TextScreenLine == kLastLine && g.CommanderTextPos >= length) {
        const std::string_view prompt = w.front.words.storyPrompt;
        canvas.Font.Color = kPromptColour;
        TextOut(canvas, (55 + 740) / 2 - TextWidth(canvas, prompt) / 2, kPromptY, prompt);
    }

    if (w.front.TextScreenTick == 0) {
        w.front.TextScreenTick = 1;
    } else {
        w.front.TextScreenTick = 0;
        if (int(StoryLine(w.front, g.TextScreenLine).size()) > g.CommanderTextPos) ++g.CommanderTextPos;
    }
    ReleaseCanvas(canvas);
}
