// The building blocks of the sound effects (see sfx_kit.h).
#include "sfx_kit.h"

#include <algorithm>
#include <cmath>

#include "sfx_level.h"

using namespace synth;

namespace sfx {

Buffer Tone(float seconds, Wave wave, const Curve& freq, const Curve& gain) {
    Buffer out(Frames(seconds, kRate));
    float phase = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        float t = static_cast<float>(i) / kRate;
        out[i] = Osc(wave, phase) * gain(t);
        phase += freq(t) / kRate;
        phase -= std::floor(phase);
    }
    return out;
}

Buffer Noise(float seconds, uint32_t seed, const Curve& gain) {
    Rng rng(seed);
    Buffer out(Frames(seconds, kRate));
    for (size_t i = 0; i < out.size(); ++i) out[i] = rng.Bipolar() * gain(static_cast<float>(i) / kRate);
    return out;
}

Buffer SweptNoise(float seconds, uint32_t seed, const Curve& cutoff, const Curve& gain) {
    Rng rng(seed);
    Buffer out(Frames(seconds, kRate));
    float y1 = 0.0f, y2 = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        float t = static_cast<float>(i) / kRate;
        float rc = 1.0f / (2.0f * kPi * cutoff(t)), dt = 1.0f / kRate, a = dt / (rc + dt);
        y1 += a * (rng.Bipolar() - y1);
        y2 += a * (y1 - y2);
        out[i] = y2 * gain(t);
    }
    return out;
}

Buffer Chime(float freq, float seconds, float tau) {
    return Tone(
        seconds, Wave::Sine, [=](float) { return freq; },
        [=](float t) { return Decay(t, tau) * std::min(1.0f, t * 400.0f); });
}

Buffer Bell(float freq, float seconds, float tau) {
    Buffer b = Chime(freq, seconds, tau);
    MixInto(b, Chime(freq * 2.0f, seconds, tau * 0.6f), 0, 0.35f);
    MixInto(b, Chime(freq * 3.0f, seconds, tau * 0.3f), 0, 0.15f);
    return b;
}

void Drive(Buffer& buf, float amount) {
    Normalize(buf, 1.0f);
    for (float& s : buf) s = std::tanh(s * amount);
}

Buffer Finish(Buffer buf, SoundRole role, float offsetLu, bool looped) {
    buf = LevelTo(std::move(buf), kRate, RoleLevel(role) + offsetLu);
    if (!looped) {
        int fade = std::min<int>(static_cast<int>(buf.size()), Frames(0.005f, kRate));
        for (int i = 0; i < fade; ++i) buf[buf.size() - 1 - i] *= static_cast<float>(i) / fade;
    }
    return buf;
}

}  // namespace sfx
