// The sound-synthesis kit: noise, oscillators, envelopes, filters and PCM
// conversion shared by the sound effects and the module instruments.
#include "synth.h"

#include <algorithm>
#include <cmath>

namespace synth {

uint32_t Rng::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

float Rng::Uniform() { return static_cast<float>(Next() >> 8) / 16777216.0f; }
float Rng::Bipolar() { return Uniform() * 2.0f - 1.0f; }
int Rng::Below(int n) { return n <= 1 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(n)); }

float Osc(Wave wave, float phase) {
    float p = phase - std::floor(phase);
    switch (wave) {
        case Wave::Sine: return std::sin(2.0f * kPi * p);
        case Wave::Triangle: return p < 0.5f ? 4.0f * p - 1.0f : 3.0f - 4.0f * p;
        case Wave::Saw: return 2.0f * p - 1.0f;
        case Wave::Square: return p < 0.5f ? 1.0f : -1.0f;
    }
    return 0.0f;
}

float Adsr(float t, float length, float attack, float decay, float sustain, float release) {
    if (t < 0.0f) return 0.0f;
    float level;
    if (t < attack) level = t / attack;
    else if (t < attack + decay) level = 1.0f - (1.0f - sustain) * (t - attack) / decay;
    else level = sustain;
    float releaseStart = length - release;
    if (t > releaseStart) level *= std::max(0.0f, (length - t) / release);
    return level;
}

float Decay(float t, float tau) { return std::exp(-t / tau); }

void LowPass(Buffer& buf, float cutoffHz, int rate) {
    float dt = 1.0f / rate, rc = 1.0f / (2.0f * kPi * cutoffHz);
    float a = dt / (rc + dt), y = 0.0f;
    for (float& s : buf) {
        y += a * (s - y);
        s = y;
    }
}

void HighPass(Buffer& buf, float cutoffHz, int rate) {
    float dt = 1.0f / rate, rc = 1.0f / (2.0f * kPi * cutoffHz);
    float a = rc / (rc + dt), prevIn = 0.0f, y = 0.0f;
    for (float& s : buf) {
        y = a * (y + s - prevIn);
        prevIn = s;
        s = y;
    }
}

void MixInto(Buffer& dst, const Buffer& src, int offset, float gain) {
    if (dst.size() < src.size() + offset) dst.resize(src.size() + offset, 0.0f);
    for (size_t i = 0; i < src.size(); ++i) dst[i + offset] += src[i] * gain;
}

void Echo(Buffer& buf, float delaySeconds, float feedback, int repeats, int rate) {
    int delay = Frames(delaySeconds, rate);
    Buffer dry = buf;
    float gain = 1.0f;
    for (int r = 1; r <= repeats; ++r) {
        gain *= feedback;
        MixInto(buf, dry, delay * r, gain);
    }
}

float Peak(const Buffer& buf) {
    float peak = 0.0f;
    for (float s : buf) peak = std::max(peak, std::fabs(s));
    return peak;
}

void Normalize(Buffer& buf, float peak) {
    float current = Peak(buf);
    if (current <= 0.0f) return;
    float k = peak / current;
    for (float& s : buf) s *= k;
}

std::vector<uint8_t> ToPcm16(const Buffer& buf) {
    std::vector<uint8_t> out;
    out.reserve(buf.size() * 2);
    for (float s : buf) {
        int v = static_cast<int>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
        uint16_t u = static_cast<uint16_t>(static_cast<int16_t>(v));
        out.push_back(static_cast<uint8_t>(u & 0xFF));
        out.push_back(static_cast<uint8_t>(u >> 8));
    }
    return out;
}

std::vector<int8_t> ToPcm8(const Buffer& buf) {
    std::vector<int8_t> out;
    out.reserve(buf.size());
    for (float s : buf) out.push_back(static_cast<int8_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 127.0f)));
    return out;
}

}  // namespace synth
