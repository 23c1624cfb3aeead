// The platform as the frame sees it: the real one (SDL or headless) with the
// held keys and joystick of a frame taken once by the runner before the frame,
// and, for recorded and replayed games, a clock of their own.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "media/platform.h"

// Forwards to the real platform, except that the keys and joystick of a
// frame are a snapshot the runner takes once before the frame, so the two
// samplings of a frame agree and scripts can stand in for the keyboard.
class FramePlatform : public Platform {
public:
    explicit FramePlatform(Platform& inner_) : inner(inner_) {}
    KeySet keys;
    InputSet joystick;
    // Recorded and replayed games read a clock of their own (the seed plus
    // 16 ms per frame), so reseeds from the clock repeat on playback.
    bool virtualClock = false;
    uint32_t clock = 0;
    // Frames run faster than the ticks (a replay watched at 2 or 4 times its
    // speed) show only the tick's last one.
    bool holdPresent = false;

    void Present(const Surface& surface) override {
        if (!holdPresent) inner.Present(surface);
    }
    void PollEvents(std::vector<PlatformEvent>& events) override { inner.PollEvents(events); }
    KeySet HeldKeys() override { return keys; }
    InputSet JoystickStates() override { return joystick; }
    void PadStick(int& x, int& y) override { inner.PadStick(x, y); }
    bool OpenAudio(Mixer& mixer) override { return inner.OpenAudio(mixer); }
    void CloseAudio() override { inner.CloseAudio(); }
    uint32_t Milliseconds() override { return virtualClock ? clock : inner.Milliseconds(); }
    bool WaitForTick() override { return inner.WaitForTick(); }
    bool HasFocus() override { return inner.HasFocus(); }
    void ShowError(const std::string& title, const std::string& message) override { inner.ShowError(title, message); }
    void Minimise() override { inner.Minimise(); }
    bool IsHeadless() const override { return inner.IsHeadless(); }
    void SetFullScreen(bool on) override { inner.SetFullScreen(on); }
    bool IsFullScreen() const override { return inner.IsFullScreen(); }
    std::string PresentPathName() const override { return inner.PresentPathName(); }

private:
    Platform& inner;
};
