// The key table of the input states, the joystick mapping, the edge-triggered
// update of InputStates, and the key names that input scripts use.
#include "media/input.h"

#include <strings.h>
#include <cstdlib>

#include "media/platform.h"

namespace {

struct KeyBinding {
    GameKey key;
    InputState state;
};

// At most three keys per state; every other state has no key.
constexpr KeyBinding kKeyTable[] = {
    {GameKey::K, isUp},
    {GameKey::Up, isUp},
    {GameKey::J, isDown},
    {GameKey::Down, isDown},
    {GameKey::H, isLeft},
    {GameKey::Left, isLeft},
    {GameKey::L, isRight},
    {GameKey::Right, isRight},
    {GameKey::Space, kFireKey},
    {GameKey::Enter, kNextLineKey},
    {GameKey::F2, kSoundKey},
    {GameKey::F3, kMusicKey},
    {GameKey::Key1, kItemKey1},
    {GameKey::KP1, kItemKey1},
    {GameKey::Key2, kItemKey2},
    {GameKey::KP2, kItemKey2},
    {GameKey::Key3, kItemKey3},
    {GameKey::KP3, kItemKey3},
    {GameKey::F1, kHelpKey},
    {GameKey::KPPlus, kLouderKey},
    {GameKey::KPMinus, kQuieterKey},
    {GameKey::F12, kFrameRateKey},
};

constexpr const char* kKeyNames[int(GameKey::Count)] = {
    "Up",        "Down",      "Left",       "Right",    "H",      "J",        "K",           "L",
    "Space",     "Enter",     "Escape",     "F1",       "F2",     "F3",       "F12",         "1",
    "2",         "3",         "KP1",        "KP2",      "KP3",    "KP+",      "KP-",         "A",
    "B",         "C",         "D",          "E",        "F",      "G",        "I",           "M",
    "N",         "O",         "P",          "Q",        "R",      "S",        "T",           "U",
    "V",         "W",         "X",          "Y",        "Z",      "0",        "4",           "5",
    "6",         "7",         "8",          "9",        "F4",     "F5",       "F6",          "F7",
    "F8",        "F9",        "F10",        "F11",      "KP0",    "KP4",      "KP5",         "KP6",
    "KP7",       "KP8",       "KP9",        "KP*",      "KP/",    "KP.",      "Tab",         "Backspace",
    "Insert",    "Delete",    "Home",       "End",      "PageUp", "PageDown", "LeftShift",   "RightShift",
    "LeftCtrl",  "RightCtrl", "LeftAlt",    "RightAlt", "Minus",  "Equals",   "LeftBracket", "RightBracket",
    "Backslash", "Semicolon", "Apostrophe", "Comma",    "Period", "Slash",    "Grave",
};
static_assert(kKeyNames[int(GameKey::Count) - 1] != nullptr, "every key has a name");

// The joystick axes span -1000..1000; deflections within the dead zone count as centred.
constexpr int kJoystickDeadZone = 50;

}  // namespace

InputSet StatesFromKeys(const KeySet& keys) {
    InputSet states;
    for (const KeyBinding& binding : kKeyTable)
        if (keys.test(size_t(binding.key))) states.set(binding.state);
    return states;
}

InputSet StatesFromJoystick(int axisX, int axisY, unsigned buttonMask) {
    InputSet states;
    if (axisX < -kJoystickDeadZone) states.set(isLeft);
    if (axisX > kJoystickDeadZone) states.set(isRight);
    if (axisY < -kJoystickDeadZone) states.set(isUp);
    if (axisY > kJoystickDeadZone) states.set(isDown);
    for (int n = 0; n < 32; ++n)
        if (buttonMask & (1u << n)) states.set(size_t(isButton1 + n));
    return states;
}

void UpdateInput(Input& input, const InputSet& sample) {
    // Only changes of the raw sample touch the game's set: a state consumed
    // while its key is held stays out until the key is released and pressed anew.
    const InputSet pressed = sample & ~input.previous;
    const InputSet released = input.previous & ~sample;
    input.InputStates |= pressed;
    input.InputStates &= ~released;
    input.previous = sample;
}

bool GameKeyFromName(const char* name, GameKey& key) {
    if (name == nullptr) return false;
    for (int i = 0; i < int(GameKey::Count); ++i) {
        if (strcasecmp(name, kKeyNames[i]) == 0) {
            key = GameKey(i);
            return true;
        }
    }
    return false;
}

const char* GameKeyName(GameKey key) {
    const int i = int(key);
    if (i < 0 || i >= int(GameKey::Count)) return "?";
    return kKeyNames[i];
}

void SampleInput(Input& input, Platform* platform) {
    if (!platform) return;
    UpdateInput(input, StatesFromKeys(platform->HeldKeys()) | platform->JoystickStates());
}
