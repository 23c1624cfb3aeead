// The player's keys: which keys of the keyboard and which buttons of a pad
// stand for each of the game's actions (kavrix.conf's key.* and pad.*
// lines), with the game's own keys as defaults. The held keys are turned
// into the game's keys here, before the game sees them: each action whose
// bound key is held becomes its own first default key (fly up: Up, fire:
// Space, ...). So the game, the recordings and the replays see only the
// game's keys, whatever the bindings were.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "media/input.h"

// The actions a key may be bound to. Escape (menu and quit) and the typed
// characters are not actions: they stay on their keys.
enum class KeyAction : uint8_t {
    Up,
    Down,
    Left,
    Right,
    Fire,
    Item1,
    Item2,
    Item3,
    NextLine,
    Sound,
    Music,
    Help,
    Louder,
    Quieter,
    FrameRate,
    FullScreen,
    Count
};
constexpr int kKeyActionCount = int(KeyAction::Count);
constexpr int kMaxKeysPerAction = 4;

// The buttons of a pad with a known layout, in SDL's game controller order.
enum class PadButton : uint8_t {
    A,
    B,
    X,
    Y,
    Back,
    Guide,
    Start,
    LeftStick,
    RightStick,
    LeftShoulder,
    RightShoulder,
    DPadUp,
    DPadDown,
    DPadLeft,
    DPadRight,
    Count
};
// The actions of a pad's buttons. Its left stick and cross always fly; its
// menu button is Escape, its next-line button also types Enter, and its
// fire button clicks in the menu.
enum class PadAction : uint8_t { Fire, Item1, Item2, Item3, NextLine, Menu, Count };
constexpr int kPadActionCount = int(PadAction::Count);

struct KeyList {
    GameKey keys[kMaxKeysPerAction] = {};
    uint8_t count = 0;
    bool Holds(GameKey key) const;
};

struct KeyBindings {
    KeyList actions[kKeyActionCount];
    uint16_t pad[kPadActionCount] = {};  // a bit per PadButton
    const KeyList& Of(KeyAction action) const { return actions[int(action)]; }
    bool operator==(const KeyBindings& other) const;
};

// Today's keys: the game's key table, F11 for full screen (Alt+Enter always
// switches too), and the pad layout A fire, X Y B items, Back next line,
// Start menu.
const KeyBindings& DefaultKeyBindings();

// The names kavrix.conf uses after "key." and "pad.": "up", "fire",
// "item1", "next-line", "frame-rate", "full-screen", "menu", ...
const char* KeyActionName(KeyAction action);
const char* PadActionName(PadAction action);
const char* PadButtonName(PadButton button);  // "A", "Back", "LeftShoulder", ...
bool PadButtonFromName(std::string_view name, PadButton& button);

// Reads a list of key names separated by spaces or commas ("Up K",
// "LeftCtrl, Space"; letter case does not matter; an empty list leaves the
// action without a key); false with the offending word in bad for an
// unknown name or more than kMaxKeysPerAction keys. Repeats count once.
bool ParseKeyList(std::string_view text, KeyList& list, std::string& bad);
std::string FormatKeyList(const KeyList& list);
bool ParsePadButtons(std::string_view text, uint16_t& buttons, std::string& bad);
std::string FormatPadButtons(uint16_t buttons);

// The game's keys for the physical keys held: for each action with a bound
// key held, the action's first default key; Escape passes as it is. With
// the default bindings the game's states come out as from the keys
// themselves.
KeySet GameKeysFromHeld(const KeySet& held, const KeyBindings& bindings);
