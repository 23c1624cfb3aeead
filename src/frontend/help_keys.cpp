// The help page's key columns: each action's keys as kavrix.conf binds them
// (the arrows and letters of flying in one line, the three items' first keys
// in another), shortened to each action's first key where a line would run
// into the action's label; the pad's buttons in small caps. Lines are built
// in fixed buffers: a menu frame touches no heap.
#include "frontend/help_keys.h"

#include <string_view>

#include "frontend/menu_layout.h"
#include "media/canvas.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

constexpr uint32_t kKeyColour = 0x00FF00, kCapColour = 0x00D500, kCapFrame = 0x008000;

// One line of text in a fixed buffer; what does not fit is left out.
struct Line {
    char text[96];
    size_t size = 0;
    Line& operator<<(std::string_view piece) {
        for (char c : piece)
            if (size < sizeof text) text[size++] = c;
        return *this;
    }
    std::string_view View() const { return {text, size}; }
};

// A key as the page names it: the language's word for the space bar and the
// arrows, "Num" for the keypad, otherwise its name in kavrix.conf.
std::string_view KeyCaption(GameKey key, const KeyWords& words) {
    switch (key) {
        case GameKey::Space: return words.space;
        case GameKey::Up: return words.up;
        case GameKey::Down: return words.down;
        case GameKey::Left: return words.left;
        case GameKey::Right: return words.right;
        case GameKey::Escape: return "Esc";
        case GameKey::KPPlus: return "Num +";
        case GameKey::KPMinus: return "Num -";
        case GameKey::KPMultiply: return "Num *";
        case GameKey::KPDivide: return "Num /";
        case GameKey::KPPeriod: return "Num .";
        case GameKey::KP0: return "Num 0";
        case GameKey::KP1: return "Num 1";
        case GameKey::KP2: return "Num 2";
        case GameKey::KP3: return "Num 3";
        case GameKey::KP4: return "Num 4";
        case GameKey::KP5: return "Num 5";
        case GameKey::KP6: return "Num 6";
        case GameKey::KP7: return "Num 7";
        case GameKey::KP8: return "Num 8";
        case GameKey::KP9: return "Num 9";
        default: return GameKeyName(key);
    }
}

// The keys of one action joined by ", " (at most `most` of them); "-" for none.
void AddKeys(Line& line, const KeyList& keys, const KeyWords& words, int most) {
    if (keys.count == 0) line << "-";
    for (int i = 0; i < keys.count && i < most; ++i) line << (i ? ", " : "") << KeyCaption(keys.keys[i], words);
}

// Flying: "Arrows or H J K L" while each direction has its arrow (its other
// keys in the order left, down, up, right), else each direction's first key.
void AddFlying(Line& line, const KeyBindings& b, const KeyWords& words) {
    const KeyAction order[4] = {KeyAction::Left, KeyAction::Down, KeyAction::Up, KeyAction::Right};
    const GameKey arrows[4] = {GameKey::Left, GameKey::Down, GameKey::Up, GameKey::Right};
    bool allArrows = true;
    for (int d = 0; d < 4; ++d) allArrows &= b.Of(order[d]).Holds(arrows[d]);
    if (!allArrows) {
        const KeyAction upFirst[4] = {KeyAction::Up, KeyAction::Down, KeyAction::Left, KeyAction::Right};
        for (int d = 0; d < 4; ++d) {
            const KeyList& keys = b.Of(upFirst[d]);
            line << (d ? " " : "") << (keys.count ? KeyCaption(keys.keys[0], words) : "-");
        }
        return;
    }
    line << words.arrows;
    bool first = true;
    for (int d = 0; d < 4; ++d) {
        const KeyList& keys = b.Of(order[d]);
        for (int i = 0; i < keys.count; ++i) {
            if (keys.keys[i] == arrows[d]) continue;
            if (first) line << " " << words.orWord;
            line << " " << KeyCaption(keys.keys[i], words);
            first = false;
            break;
        }
    }
}

// The line, or its shorter form when it would reach the next column.
void KeyText(Canvas& canvas, int x, int right, int row, const Line& full, const Line& brief) {
    const int y = kHelpFirstRowY + kHelpRowStep * row;
    const bool fits = x + TextWidth(canvas, full.View()) <= right;
    TextOut(canvas, x, y, fits ? full.View() : brief.View());
}

void PadButtonsText(Line& line, uint16_t buttons, int most) {
    int shown = 0;
    for (int b = 0; b < int(PadButton::Count) && shown < most; ++b)
        if (buttons & (1u << b)) line << (shown++ ? ", " : "") << PadButtonName(PadButton(b));
    if (shown == 0) line << "-";
}

// A pad's button names in a cap: a dim frame around the text.
void PadCap(Canvas& canvas, int row, const Line& text) {
    const int y = kHelpFirstRowY + kHelpRowStep * row + 1;
    const int width = TextWidth(canvas, text.View());
    canvas.BrushColor = kCapFrame;
    FrameRect(canvas, Rect{kHelpPadX, y - 1, kHelpPadX + width + 10, y + 15});
    canvas.BrushColor = 0;
    TextOut(canvas, kHelpPadX + 5, y, text.View());
}

}  // namespace

void DrawHelpKeys(World& w) {
    const KeyBindings& b = w.media.bindings;
    const KeyWords& words = w.front.words.keys;
    Canvas& canvas = TakeCanvas(w);
    canvas.Font.Name = "Arial";
    canvas.Font.Height = 15;
    canvas.Font.Bold = true;
    canvas.Font.Color = kKeyColour;
    canvas.BrushColor = 0;

    // The left column: flying, fire, items, the commander's next line, menu.
    Line fly, flyBrief;
    AddFlying(fly, b, words);
    const KeyAction upFirst[4] = {KeyAction::Up, KeyAction::Down, KeyAction::Left, KeyAction::Right};
    for (int d = 0; d < 4; ++d) AddKeys(flyBrief << (d ? " " : ""), b.Of(upFirst[d]), words, 1);
    KeyText(canvas, kHelpLeftKeysX, kHelpLeftKeysRight, 0, fly, flyBrief);
    const KeyAction single[] = {KeyAction::Fire, KeyAction::NextLine};
    const int singleRows[] = {1, 3};
    for (int i = 0; i < 2; ++i) {
        Line full, brief;
        AddKeys(full, b.Of(single[i]), words, kMaxKeysPerAction);
        AddKeys(brief, b.Of(single[i]), words, 1);
        KeyText(canvas, kHelpLeftKeysX, kHelpLeftKeysRight, singleRows[i], full, brief);
    }
    Line items;
    for (int i = 0; i < 3; ++i) AddKeys(items << (i ? ", " : ""), b.Of(KeyAction(int(KeyAction::Item1) + i)), words, 1);
    KeyText(canvas, kHelpLeftKeysX, kHelpLeftKeysRight, 2, items, items);
    Line escape;
    escape << "Esc";
    KeyText(canvas, kHelpLeftKeysX, kHelpLeftKeysRight, 4, escape, escape);

    // The right column: help, sound, music, volume, frame rate, full screen.
    const KeyAction rightRows[] = {KeyAction::Help,   KeyAction::Sound,     KeyAction::Music,
                                   KeyAction::Louder, KeyAction::FrameRate, KeyAction::FullScreen};
    for (int row = 0; row < 6; ++row) {
        const KeyAction action = rightRows[row];
        Line full, brief;
        if (action == KeyAction::FullScreen) (full << "Alt+Enter, "), (brief << "Alt+Enter, ");
        AddKeys(full, b.Of(action), words, kMaxKeysPerAction);
        AddKeys(brief, b.Of(action), words, 1);
        if (action == KeyAction::Louder) {
            AddKeys(full << " / ", b.Of(KeyAction::Quieter), words, kMaxKeysPerAction);
            AddKeys(brief << " / ", b.Of(KeyAction::Quieter), words, 1);
        }
        KeyText(canvas, kHelpRightKeysX, kHelpRightKeysRight, row, full, brief);
    }

    // The pad: its stick and cross fly; its buttons as bound.
    canvas.Font.Height = 12;
    canvas.Font.Color = kCapColour;
    Line stick;
    stick << words.stick << ", " << words.dpad;
    PadCap(canvas, 0, stick);
    const PadAction padRows[] = {PadAction::Fire, PadAction::Item1, PadAction::NextLine, PadAction::Menu};
    const int padRowOf[] = {1, 2, 3, 4};
    for (int i = 0; i < 4; ++i) {
        Line text;
        if (padRows[i] == PadAction::Item1) {
            for (int k = 0; k < 3; ++k) PadButtonsText(text << (k ? ", " : ""), b.pad[int(PadAction::Item1) + k], 1);
        } else {
            PadButtonsText(text, b.pad[int(padRows[i])], 2);
        }
        PadCap(canvas, padRowOf[i], text);
    }
    ReleaseCanvas(canvas);
}
