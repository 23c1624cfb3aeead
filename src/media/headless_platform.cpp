// The headless platform: frames are counted and hashed instead of shown,
// queued events are handed out once, and audio goes to a null sink so the
// mixer's voice logic still runs, or, when capturing for a video, the
// presented picture is kept and the mix rendered offline one tick at a time.
#include "media/headless_platform.h"

#include <cstdio>
#include <cstring>

#include "media/mixer.h"
#include "media/wave.h"

std::unique_ptr<HeadlessPlatform> CreateHeadlessPlatform() { return std::make_unique<HeadlessPlatform>(); }

void HeadlessPlatform::Present(const Surface& surface) {
    ++presentedFrames;
    lastPresentedHash = SurfaceHash(surface);
    if (presented) std::memcpy(presented->pixels, surface.pixels, sizeof surface.pixels);
}

void HeadlessPlatform::PollEvents(std::vector<PlatformEvent>& events) {
    events.insert(events.end(), pending.begin(), pending.end());
    pending.clear();
}

bool HeadlessPlatform::OpenAudio(Mixer& mixer) {
    std::lock_guard<std::mutex> guard(mixer.lock);
    mixer.available = true;
    if (presented) capturedMixer = &mixer;
    return true;
}

void HeadlessPlatform::CloseAudio() { capturedMixer = nullptr; }

void HeadlessPlatform::StartCapture() {
    if (presented) return;
    presented = std::make_unique<Surface>();
    FillSurface(*presented, 0);
}

int HeadlessPlatform::RenderTickAudio(int16_t* out) {
    // Samples due by the end of tick n: n x 44100 x 16 / 1000, rounded down.
    auto dueBy = [](int64_t ticks) { return ticks * kMixRate * kTickMilliseconds / 1000; };
    const int samples = int(dueBy(renderedTicks + 1) - dueBy(renderedTicks));
    ++renderedTicks;
    if (capturedMixer) MixAudio(*capturedMixer, out, samples);
    else std::memset(out, 0, sizeof(int16_t) * 2 * size_t(samples));
    return samples;
}

void HeadlessPlatform::ShowError(const std::string& title, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), message.c_str());
}
