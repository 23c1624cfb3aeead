// The headless platform: no window, no audio device. Tests and the headless
// runner set the held keys and queue events; the clock is fixed per frame.
// For a video it becomes a capturing sink: it keeps the last presented
// picture and renders the mixer's sound frame by frame.
#pragma once
#include <memory>

#include "media/platform.h"

// The game's tick, and the most samples one tick's sound can hold at the
// mixer's rate (44100 Hz x 16 ms = 705.6: 705 or 706 samples).
constexpr int kTickMilliseconds = 16;
constexpr int kMaxTickSamples = 706;

class HeadlessPlatform : public Platform {
public:
    KeySet heldKeys;
    InputSet joystick;
    std::vector<PlatformEvent> pending;
    uint32_t clock = 0;  // advanced by 16 per tick
    uint64_t presentedFrames = 0;
    uint64_t lastPresentedHash = 0;

    void Present(const Surface& surface) override;
    void PollEvents(std::vector<PlatformEvent>& events) override;
    KeySet HeldKeys() override { return heldKeys; }
    InputSet JoystickStates() override { return joystick; }
    // Marks the mixer available: a null sink, or the capturing sink.
    bool OpenAudio(Mixer& mixer) override;
    void CloseAudio() override;
    uint32_t Milliseconds() override { return clock; }
    bool WaitForTick() override {
        clock += kTickMilliseconds;
        return true;
    }
    bool HasFocus() override { return true; }
    void ShowError(const std::string& title, const std::string& message) override;
    void Minimise() override {}
    bool IsHeadless() const override { return true; }

    // Turns the sinks into real ones for a video; call before OpenAudio.
    void StartCapture();
    // The last picture presented (black before the first); capture only.
    const Surface& PresentedPicture() const { return *presented; }
    // Mixes the sound of the tick just run into out (interleaved stereo at
    // kMixRate, room for kMaxTickSamples) and returns its sample count. The
    // 0.6 sample a tick does not hold is carried on, so after n ticks
    // exactly floor(n x 705.6) samples are out and sound never drifts from
    // the picture. Sounds and songs the tick started begin at its first sample.
    int RenderTickAudio(int16_t* out);

private:
    std::unique_ptr<Surface> presented;  // set by StartCapture
    Mixer* capturedMixer = nullptr;      // the mixer OpenAudio was given, while capturing
    int64_t renderedTicks = 0;
};
