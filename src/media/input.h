// The 36 input states (Up, Down, Left, Right, Button1..Button32) sampled from
// the keyboard and the first joystick once per frame. A state enters the set
// when its key goes down and leaves when it goes up; consuming a state keeps
// it out until the key is pressed anew.
#pragma once
#include <bitset>

// clang-format off
enum InputState : int {
    isUp = 0, isDown, isLeft, isRight,
    isButton1, isButton2, isButton3, isButton4, isButton5, isButton6, isButton7, isButton8,
    isButton9, isButton10, isButton11, isButton12, isButton13, isButton14, isButton15, isButton16,
    isButton17, isButton18, isButton19, isButton20, isButton21, isButton22, isButton23, isButton24,
    isButton25, isButton26, isButton27, isButton28, isButton29, isButton30, isButton31, isButton32,
    kInputStateCount
};
// clang-format on
using InputSet = std::bitset<kInputStateCount>;

// What the game reads the input states as (the key table below says which
// keys feed them).
constexpr InputState kFireKey = isButton1;        // Space
constexpr InputState kNextLineKey = isButton2;    // Enter: skips a commander line
constexpr InputState kSoundKey = isButton3;       // F2: sound on/off
constexpr InputState kMusicKey = isButton4;       // F3: music on/off
constexpr InputState kItemKey1 = isButton5;       // 1: the first carried item
constexpr InputState kItemKey2 = isButton6;       // 2
constexpr InputState kItemKey3 = isButton7;       // 3
constexpr InputState kHelpKey = isButton8;        // F1: the help page
constexpr InputState kLouderKey = isButton9;      // Numpad +: music louder
constexpr InputState kQuieterKey = isButton10;    // Numpad -: music quieter
constexpr InputState kFrameRateKey = isButton11;  // F12: the frame-rate text

// The keys the game knows, by the names input scripts and kavrix.conf use:
// first the keys of the game's own key table (the default keys of its
// actions, which recordings hold), then every other key a player may bind.
// Keys are places on the keyboard, named as on a US layout.
// clang-format off
enum class GameKey : int {
    Up, Down, Left, Right, H, J, K, L, Space, Enter, Escape,
    F1, F2, F3, F12, Key1, Key2, Key3, KP1, KP2, KP3, KPPlus, KPMinus,
    A, B, C, D, E, F, G, I, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
    Key0, Key4, Key5, Key6, Key7, Key8, Key9,
    F4, F5, F6, F7, F8, F9, F10, F11,
    KP0, KP4, KP5, KP6, KP7, KP8, KP9, KPMultiply, KPDivide, KPPeriod,
    Tab, Backspace, Insert, Delete, Home, End, PageUp, PageDown,
    LeftShift, RightShift, LeftCtrl, RightCtrl, LeftAlt, RightAlt,
    Minus, Equals, LeftBracket, RightBracket, Backslash, Semicolon, Apostrophe, Comma, Period, Slash, Grave,
    Count
};
// clang-format on
using KeySet = std::bitset<int(GameKey::Count)>;

class Platform;

struct Input {
    InputSet InputStates;  // what the game tests and consumes
    InputSet previous;     // the last raw sample
};

// A pad's stick deflected less than this (of 1000) counts as centred: worn
// sticks rest well off their centre.
constexpr int kPadStickDeadZone = 250;

// The key table: which states a set of held keys produces.
InputSet StatesFromKeys(const KeySet& keys);
// Joystick: axes in -1000..1000 with a dead zone of 50, buttons 1..32.
InputSet StatesFromJoystick(int axisX, int axisY, unsigned buttonMask);
// Edge-triggered update from a fresh raw sample.
void UpdateInput(Input& input, const InputSet& sample);
// Samples the platform's held keys and joystick into the input states (the
// key table, then UpdateInput); without a platform nothing changes.
void SampleInput(Input& input, Platform* platform);
inline bool IsHeld(const Input& input, InputState s) { return input.InputStates.test(s); }
inline void Consume(Input& input, InputState s) { input.InputStates.reset(s); }

// Parses "Right", "KP+", "F12", ... (input script names); false if unknown.
bool GameKeyFromName(const char* name, GameKey& key);
const char* GameKeyName(GameKey key);
