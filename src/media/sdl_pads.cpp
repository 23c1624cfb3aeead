// Reading pads by their layout and joysticks by their numbers; hot-plugging.
#include "media/sdl_pads.h"

#include <algorithm>

namespace {

// SDL numbers a layout's buttons as PadButton does.
static_assert(int(SDL_CONTROLLER_BUTTON_A) == int(PadButton::A) &&
              int(SDL_CONTROLLER_BUTTON_BACK) == int(PadButton::Back) &&
              int(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) == int(PadButton::DPadRight));

// The input states of the pad actions that are states (the menu button is
// Escape, a character).
struct ActionState {
    PadAction action;
    InputState state;
};
constexpr ActionState kActionStates[] = {
    {PadAction::Fire, kFireKey},   {PadAction::Item1, kItemKey1},       {PadAction::Item2, kItemKey2},
    {PadAction::Item3, kItemKey3}, {PadAction::NextLine, kNextLineKey},
};

// The cross always flies.
struct ButtonState {
    SDL_GameControllerButton button;
    InputState state;
};
constexpr ButtonState kCross[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, isUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, isDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, isLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, isRight},
};

int Scaled(Sint16 raw) { return std::clamp(int(raw) * 1000 / 32767, -1000, 1000); }

}  // namespace

SdlPads::SdlPads(const KeyBindings& bindings) {
    for (int a = 0; a < kPadActionCount; ++a) actions_[a] = bindings.pad[a];
    for (int i = 0; i < SDL_NumJoysticks(); ++i) DeviceAdded(i);
}

SdlPads::~SdlPads() {
    for (Device& d : devices_) {
        if (d.pad) SDL_GameControllerClose(d.pad);
        if (d.joystick) SDL_JoystickClose(d.joystick);
    }
}

void SdlPads::DeviceAdded(int deviceIndex) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    Device* free = nullptr;
    for (Device& d : devices_) {
        if (d.id == id && (d.pad || d.joystick)) return;  // already open (listed at start and announced)
        if (!free && !d.pad && !d.joystick) free = &d;
    }
    if (!free) return;
    if (SDL_IsGameController(deviceIndex)) free->pad = SDL_GameControllerOpen(deviceIndex);
    else free->joystick = SDL_JoystickOpen(deviceIndex);
    if (free->pad || free->joystick) free->id = id;
}

void SdlPads::DeviceRemoved(SDL_JoystickID id) {
    for (Device& d : devices_) {
        if (d.id != id) continue;
        if (d.pad) SDL_GameControllerClose(d.pad);
        if (d.joystick) SDL_JoystickClose(d.joystick);
        d = Device{};
    }
}

void SdlPads::ButtonDown(const SDL_ControllerButtonEvent& event, std::vector<PlatformEvent>& events) const {
    if (event.button >= int(PadButton::Count)) return;
    PlatformEvent e{EventKind::KeyPress};
    if (Bound(PadAction::Menu, event.button)) e.key = 27;           // Escape
    else if (Bound(PadAction::NextLine, event.button)) e.key = 13;  // Enter
    else if (Bound(PadAction::Fire, event.button)) e.kind = EventKind::Click;
    else return;
    events.push_back(e);
}

InputSet SdlPads::States() const {
    InputSet states;
    for (const Device& d : devices_) {
        if (d.pad) {
            int x = 0, y = 0;
            x = Scaled(SDL_GameControllerGetAxis(d.pad, SDL_CONTROLLER_AXIS_LEFTX));
            y = Scaled(SDL_GameControllerGetAxis(d.pad, SDL_CONTROLLER_AXIS_LEFTY));
            if (x < -kPadStickDeadZone) states.set(isLeft);
            if (x > kPadStickDeadZone) states.set(isRight);
            if (y < -kPadStickDeadZone) states.set(isUp);
            if (y > kPadStickDeadZone) states.set(isDown);
            for (const ButtonState& b : kCross)
                if (SDL_GameControllerGetButton(d.pad, b.button)) states.set(b.state);
            for (int button = 0; button < int(PadButton::Count); ++button) {
                if (!SDL_GameControllerGetButton(d.pad, SDL_GameControllerButton(button))) continue;
                for (const ActionState& a : kActionStates)
                    if (Bound(a.action, button)) states.set(a.state);
            }
        } else if (d.joystick) {
            auto axis = [&](int n) {
                return SDL_JoystickNumAxes(d.joystick) > n ? Scaled(SDL_JoystickGetAxis(d.joystick, n)) : 0;
            };
            unsigned buttons = 0;
            const int count = std::min(SDL_JoystickNumButtons(d.joystick), 32);
            for (int i = 0; i < count; ++i)
                if (SDL_JoystickGetButton(d.joystick, i)) buttons |= 1u << i;
            states |= StatesFromJoystick(axis(0), axis(1), buttons);
        }
    }
    return states;
}

void SdlPads::Stick(int& x, int& y) const {
    x = y = 0;
    for (const Device& d : devices_) {
        if (!d.pad) continue;
        const int sx = Scaled(SDL_GameControllerGetAxis(d.pad, SDL_CONTROLLER_AXIS_LEFTX));
        const int sy = Scaled(SDL_GameControllerGetAxis(d.pad, SDL_CONTROLLER_AXIS_LEFTY));
        if (std::abs(sx) > kPadStickDeadZone || std::abs(sy) > kPadStickDeadZone) {
            x = sx;
            y = sy;
            return;
        }
    }
}
