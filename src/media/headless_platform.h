// The headless platform: no window, no audio device. Tests and the headless
// runner set the held keys and queue events; the clock is fixed per frame.
#pragma once
#include "media/platform.h"

class HeadlessPlatform : public Platform {
public:
    KeySet heldKeys;
    InputSet joystick;
    std::vector<PlatformEvent> pending;
    uint32_t clock = 0;          // advanced by 16 per tick
    uint64_t presentedFrames = 0;
    uint64_t lastPresentedHash = 0;

    void Present(const Surface& surface) override;
    void PollEvents(std::vector<PlatformEvent>& events) override;
    KeySet HeldKeys() override { return heldKeys; }
    InputSet JoystickStates() override { return joystick; }
    bool OpenAudio(Mixer& mixer) override;  // marks the mixer available (null sink)
    void CloseAudio() override {}
    uint32_t Milliseconds() override { return clock; }
    bool WaitForTick() override { clock += 16; return true; }
    bool HasFocus() override { return true; }
    void ShowError(const std::string& title, const std::string& message) override;
    void Minimise() override {}
    bool IsHeadless() const override { return true; }
};
