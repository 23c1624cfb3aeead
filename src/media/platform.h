// The one seam to the operating system: present the surface, deliver window
// events, sample keys and joystick, open the audio device, read the clock.
// Two implementations: SDL (the real game) and headless (tests, runner).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/input.h"
#include "media/surface.h"

struct Mixer;

enum class EventKind { MouseMove, Click, KeyPress, Quit, FocusLost, FocusGained };

struct PlatformEvent {
    EventKind kind;
    int x = 0, y = 0;       // surface pixels, for mouse moves
    uint8_t key = 0;        // cp1250 character code (13 Enter, 8 Backspace, 27 Escape)
};

class Platform {
public:
    virtual ~Platform() = default;
    virtual void Present(const Surface& surface) = 0;
    // Appends the events that arrived since the last call.
    virtual void PollEvents(std::vector<PlatformEvent>& events) = 0;
    // Keys held now (the keyboard part of an input sample).
    virtual KeySet HeldKeys() = 0;
    // The first joystick's contribution to the input states (empty if none).
    virtual InputSet JoystickStates() = 0;
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
};

struct SdlOptions {
    bool window = false;  // a window instead of full screen
    std::string title = "Kavrix";
};
std::unique_ptr<Platform> CreateSdlPlatform(const SdlOptions& options);

// Frames back to back, no window, a null sink for audio; keys, joystick and
// events come from whoever drives it (input scripts, tests).
class HeadlessPlatform;
std::unique_ptr<HeadlessPlatform> CreateHeadlessPlatform();
