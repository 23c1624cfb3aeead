// Gamepads and joysticks on SDL2. A pad that SDL's game controller database
// knows is read by its layout: left stick and D-pad fly, and its buttons do
// what the player bound them to (by default A fires, X, Y and B use the item
// slots 1, 2 and 3, Back skips a commander line (Enter), Start is Escape);
// in the menu the fire button clicks where the left stick has moved the
// pointer. A joystick without a layout gives its buttons as the numbered
// input states and its first two axes as directions. Devices come and go
// while the game runs.
#pragma once
#include <SDL.h>

#include <vector>

#include "media/input.h"
#include "media/key_bindings.h"
#include "media/platform.h"

class SdlPads {
public:
    // Opens every device already plugged in; the buttons as bound.
    explicit SdlPads(const KeyBindings& bindings = DefaultKeyBindings());
    ~SdlPads();
    SdlPads(const SdlPads&) = delete;
    SdlPads& operator=(const SdlPads&) = delete;

    void DeviceAdded(int deviceIndex);
    void DeviceRemoved(SDL_JoystickID id);
    // A pad's button went down: the character or click it stands for.
    void ButtonDown(const SDL_ControllerButtonEvent& event, std::vector<PlatformEvent>& events) const;
    // What every device holds now, as input states.
    InputSet States() const;
    // The left stick of the first pad deflected, -1000..1000 (0, 0 if none).
    void Stick(int& x, int& y) const;

private:
    struct Device {
        SDL_GameController* pad = nullptr;  // a layout is known
        SDL_Joystick* joystick = nullptr;   // no layout: raw buttons and axes
        SDL_JoystickID id = -1;
    };
    static constexpr int kMaxDevices = 8;
    Device devices_[kMaxDevices];
    uint16_t actions_[kPadActionCount];  // the buttons of each pad action
    bool Bound(PadAction action, int button) const { return actions_[int(action)] & (1u << button); }
};
