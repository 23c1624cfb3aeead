// The one seam to the operating system: present the surface, deliver window
// events, sample keys, pads and joysticks, open the audio device, read the
// clock, switch between window and full screen. Two implementations: SDL
// (the real game) and headless (tests, runner).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/input.h"
#include "media/key_bindings.h"
#include "media/rect.h"
#include "media/surface.h"

struct Mixer;

// ToggleFullScreen: the player asked for the other of window and full screen
// (Alt+Enter, F11); the runner decides and remembers it.
enum class EventKind { MouseMove, Click, KeyPress, Quit, FocusLost, FocusGained, ToggleFullScreen };

struct PlatformEvent {
    EventKind kind;
    int x = 0, y = 0;  // surface pixels, for mouse moves
    uint8_t key = 0;   // cp1250 character code (13 Enter, 8 Backspace, 27 Escape)
};

// What a touch screen's controls offer the player now (the browser's page
// draws them; other platforms have none): a pointer whose taps click, flying
// with the fire and item buttons, or typing a name. `field` is the name field
// (surface pixels) while the page that has one is open, empty otherwise.
enum class ControlsMode { Pointer, Flight, Typing };
struct ControlsHint {
    ControlsMode mode = ControlsMode::Pointer;
    Rect field;
    bool operator==(const ControlsHint& o) const {
        return mode == o.mode && field.left == o.field.left && field.top == o.field.top &&
               field.right == o.field.right && field.bottom == o.field.bottom;
    }
};

class Platform {
public:
    virtual ~Platform() = default;
    virtual void Present(const Surface& surface) = 0;
    // Appends the events that arrived since the last call.
    virtual void PollEvents(std::vector<PlatformEvent>& events) = 0;
    // Keys held now (the keyboard part of an input sample), the physical
    // keys: the player's bindings turn them into the game's keys.
    virtual KeySet HeldKeys() = 0;
    // What the pads and joysticks give the input states (empty if none).
    virtual InputSet JoystickStates() = 0;
    // The left stick of a pad with a layout, -1000..1000 on each axis, or 0, 0
    // without one: the menu's pointer follows it.
    virtual void PadStick(int& x, int& y) { x = y = 0; }
    // Opens the audio device feeding the mixer; false when there is none.
    virtual bool OpenAudio(Mixer& mixer) = 0;
    virtual void CloseAudio() = 0;
    virtual uint32_t Milliseconds() = 0;
    // Waits until the next 16 ms tick; false when the window is inactive.
    virtual bool WaitForTick() = 0;
    virtual bool HasFocus() = 0;
    virtual void ShowError(const std::string& title, const std::string& message) = 0;
    virtual void Minimise() = 0;
    virtual bool IsHeadless() const = 0;
    virtual void SetFullScreen(bool on) {}
    virtual bool IsFullScreen() const { return false; }
    // How frames reach the screen, for reports: "gpu (opengl)", "surface", ...
    virtual std::string PresentPathName() const { return "none"; }
    // The touch controls the game's scene asks for, told after every tick.
    virtual void ShowControls(const ControlsHint& hint) {}
};

// How the 800 x 600 picture fills the window, kept in its aspect either way.
// Sharp: the largest 4:3 area that fits, each game pixel enlarged by nearest
// neighbour to a whole multiple and smoothed down from there, so an edge is at
// most one screen pixel soft. Integer: whole factors only, the rest black.
// Linear: the largest 4:3 area, smoothed throughout.
enum class ScaleMode { Sharp, Integer, Linear };
// Gpu: SDL's accelerated renderer and a texture. Surface: the window's own
// pixels converted by the game, no GL. Auto: the GPU unless its renderer is
// a software rasteriser (llvmpipe, softpipe), where the surface is cheaper.
enum class PresentPath { Auto, Gpu, Surface };

struct SdlOptions {
    bool fullScreen = true;
    int scale = 1;  // the window as a multiple of 800 x 600, capped to the desktop
    ScaleMode scaling = ScaleMode::Sharp;
    PresentPath present = PresentPath::Auto;
    std::string title = "Kavrix";
    // The full-screen keys and the pad's buttons; the keyboard's other
    // actions are bound where the held keys are taken (GameKeysFromHeld).
    KeyBindings bindings = DefaultKeyBindings();
};
std::unique_ptr<Platform> CreateSdlPlatform(const SdlOptions& options);

// Frames back to back, no window, a null sink for audio; keys, joystick and
// events come from whoever drives it (input scripts, tests).
class HeadlessPlatform;
std::unique_ptr<HeadlessPlatform> CreateHeadlessPlatform();
