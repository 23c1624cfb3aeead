// The software mixer: sums every playing voice at its gain and the module
// music into the audio callback's buffer, then passes the sum through a soft
// limiter so many loud effects at once bend gently instead of clipping hard.
#include <cmath>
#include <cstring>

#include "media/mixer.h"
#include "media/music.h"

namespace {

// The mix is built in chunks on the stack: nothing is allocated in the
// audio callback.
constexpr int kChunkFrames = 512;

// Below the knee the signal passes unchanged (so a single effect at full
// volume keeps its exact level); above it a tanh curve approaches full
// scale smoothly, with the slope matching 1 at the knee.
constexpr float kKnee = 0.75f;

float SoftLimit(float x) {
    float a = std::fabs(x);
    if (a <= kKnee) return x;
    float bent = kKnee + (1.0f - kKnee) * std::tanh((a - kKnee) / (1.0f - kKnee));
    return x < 0.0f ? -bent : bent;
}

int16_t ToSample(float x) {
    float y = SoftLimit(x) * 32767.0f;
    long s = std::lround(y);
    if (s > 32767) s = 32767;
    if (s < -32768) s = -32768;
    return int16_t(s);
}

// Adds up to frames of one voice to the mix and advances it; a voice that
// runs out stops, a looped one starts over.
void MixVoice(Voice& v, float* mix, int frames) {
    const std::vector<float>& data = *v.samples;
    const size_t length = data.size() / 2;
    if (length == 0) {
        v.playing = false;
        return;
    }
    int done = 0;
    while (done < frames) {
        if (v.position >= length) {
            if (!v.looped) {
                v.playing = false;
                return;
            }
            v.position = 0;
        }
        size_t run = length - v.position;
        if (run > size_t(frames - done)) run = size_t(frames - done);
        if (v.gain > 0.0f) {
            const float* src = data.data() + 2 * v.position;
            float* dst = mix + 2 * done;
            const float g = v.gain;
            for (size_t i = 0; i < 2 * run; ++i) dst[i] += src[i] * g;
        }
        v.position += run;
        done += int(run);
    }
    if (v.position >= length && !v.looped) v.playing = false;
}

}  // namespace

Mixer::~Mixer() {
    FreeModulePlayer(music);
    music = nullptr;
}

float VolumeToGain(int volume) {
    if (volume <= -10000) return 0.0f;
    if (volume >= 0) return 1.0f;
    return float(std::pow(10.0, double(volume) / 2000.0));
}

void MixAudio(Mixer& mixer, int16_t* out, int frames) {
    std::lock_guard<std::mutex> guard(mixer.lock);
    float mix[2 * kChunkFrames];
    while (frames > 0) {
        const int n = frames < kChunkFrames ? frames : kChunkFrames;
        std::memset(mix, 0, sizeof(float) * 2 * size_t(n));
        for (Voice& v : mixer.voices) {
            if (v.playing && v.samples) MixVoice(v, mix, n);
        }
        if (mixer.music) MixModule(mixer, mix, n);
        for (int i = 0; i < 2 * n; ++i) out[i] = ToSample(mix[i]);
        out += 2 * n;
        frames -= n;
    }
}
