// The headless platform: frames are counted and hashed instead of shown,
// queued events are handed out once, and audio goes to a null sink so the
// mixer's voice logic still runs.
#include "media/headless_platform.h"

#include <cstdio>

#include "media/mixer.h"

std::unique_ptr<HeadlessPlatform> CreateHeadlessPlatform() { return std::make_unique<HeadlessPlatform>(); }

void HeadlessPlatform::Present(const Surface& surface) {
    ++presentedFrames;
    lastPresentedHash = SurfaceHash(surface);
}

void HeadlessPlatform::PollEvents(std::vector<PlatformEvent>& events) {
    events.insert(events.end(), pending.begin(), pending.end());
    pending.clear();
}

bool HeadlessPlatform::OpenAudio(Mixer& mixer) {
    std::lock_guard<std::mutex> guard(mixer.lock);
    mixer.available = true;
    return true;
}

void HeadlessPlatform::ShowError(const std::string& title, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), message.c_str());
}
