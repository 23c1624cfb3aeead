// The key table of the input states, the joystick mapping, the edge-triggered
// update of InputStates, and the key names that input scripts use.
#include "media/input.h"

#include <cstdlib>
#include <strings.h>

#include "media/platform.h"

namespace {

struct KeyBinding {
    GameKey key;
    InputState state;
};

// At most three keys per state; every other state has no key.
constexpr KeyBinding kKeyTable[] = {
    {GameKey::K, isUp},          {GameKey::Up, isUp},
    {GameKey::J, isDown},        {GameKey::Down, isDown},
    {GameKey::H, isLeft},        {GameKey::Left, isLeft},
    {GameKey::L, isRight},       {GameKey::Right, isRight},
    {GameKey::Space, isButton1},
    {GameKey::Enter, isButton2},
    {GameKey::F2, isButton3},
    {GameKey::F3, isButton4},
    {GameKey::Key1, isButton5},  {GameKey::KP1, isButton5},
    {GameKey::Key2, isButton6},  {GameKey::KP2, isButton6},
    {GameKey::Key3, isButton7},  {GameKey::KP3, isButton7},
    {GameKey::F1, isButton8},
    {GameKey::KPPlus, isButton9},
    {GameKey::KPMinus, isButton10},
    {GameKey::F12, isButton11},
};

constexpr const char* kKeyNames[int(GameKey::Count)] = {
    "Up", "Down", "Left", "Right", "H", "J", "K", "L", "Space", "Enter", "Escape",
    "F1", "F2", "F3", "F12", "1", "2", "3", "KP1", "KP2", "KP3", "KP+", "KP-",
};

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
