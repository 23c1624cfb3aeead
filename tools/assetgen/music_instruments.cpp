// The instrument samples of the game's modules, synthesised as signed 8-bit
// data: drums (played at C-3), and looped tonal instruments whose loops hold
// whole cycles so they sustain without clicks (a cycle of 32 samples at C-2).
#include <cmath>
#include <utility>

#include "music_compose.h"
#include "synth.h"

using namespace synth;

namespace compose {

namespace {

constexpr float kAmigaClock = 7093789.2f;
constexpr int kDrumRate = static_cast<int>(kAmigaClock / (2 * 214));  // C-3

struct Partial {
    float cycles;  // cycles per loop
    float amp;
};

// Sum of sines, each completing a whole number of cycles over loopLength.
float Additive(const std::vector<Partial>& partials, int i, int loopLength) {
    float s = 0.0f;
    for (const Partial& p : partials)
        s += p.amp * std::sin(2.0f * kPi * p.cycles * static_cast<float>(i) / loopLength);
    return s;
}

std::vector<Partial> Harmonics(float baseCycles, int count, float tilt) {
    std::vector<Partial> out;
    for (int k = 1; k <= count; ++k) out.push_back({baseCycles * k, 1.0f / std::pow(static_cast<float>(k), tilt)});
    return out;
}

mod::Sample MakeSample(const std::string& name, Buffer buf, int volume, int loopStart, int loopLength) {
    if (buf.size() % 2) buf.push_back(0.0f);
    Normalize(buf, 0.95f);
    mod::Sample s;
    s.name = name;
    s.data = ToPcm8(buf);
    s.volume = volume;
    s.loopStart = loopStart;
    s.loopLength = loopLength;
    return s;
}

mod::Sample Kick(Style style) {
    Buffer b(Frames(0.4f, kDrumRate));
    float phase = 0.0f;
    for (size_t i = 0; i < b.size(); ++i) {
        float t = static_cast<float>(i) / kDrumRate;
        float f = 45.0f + 120.0f * Decay(t, style == Style::Drive ? 0.04f : 0.06f);
        b[i] = std::sin(2.0f * kPi * phase) * Decay(t, 0.16f);
        phase += f / kDrumRate;
    }
    if (style == Style::Drive) {
        Rng rng(3);
        for (int i = 0; i < 120; ++i) b[i] += rng.Bipolar() * 0.4f * (1.0f - i / 120.0f);
    }
    return MakeSample("kick", b, 64, 0, 0);
}

mod::Sample Snare() {
    Rng rng(5);
    Buffer noise(Frames(0.3f, kDrumRate));
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = rng.Bipolar() * Decay(static_cast<float>(i) / kDrumRate, 0.09f);
    HighPass(noise, 900.0f, kDrumRate);
    Buffer b(noise.size());
    for (size_t i = 0; i < b.size(); ++i) {
        float t = static_cast<float>(i) / kDrumRate;
        b[i] = noise[i] + 0.8f * std::sin(2.0f * kPi * 185.0f * t) * Decay(t, 0.05f);
    }
    return MakeSample("snare", b, 64, 0, 0);
}

mod::Sample NoiseHit(const std::string& name, float seconds, float tau, float highPass, uint32_t seed) {
    Rng rng(seed);
    Buffer b(Frames(seconds, kDrumRate));
    for (size_t i = 0; i < b.size(); ++i) b[i] = rng.Bipolar() * Decay(static_cast<float>(i) / kDrumRate, tau);
    HighPass(b, highPass, kDrumRate);
    return MakeSample(name, b, 64, 0, 0);
}

// Bass: a bright pluck settling into a round loop; 64 samples per cycle.
mod::Sample Bass(Style style, int colour) {
    const int cycle = 64, attack = cycle * 8, loop = cycle * 8;
    std::vector<Partial> bright = Harmonics(1.0f, 12, 1.0f);
    std::vector<Partial> settled = style == Style::Drive ? Harmonics(1.0f, 5 + colour % 3, 1.6f - 0.15f * (colour % 3)) : Harmonics(1.0f, 3, 2.0f);
    settled.resize(bright.size(), Partial{0.0f, 0.0f});
    for (size_t k = 0; k < settled.size(); ++k) settled[k].cycles = bright[k].cycles;
    Buffer b(attack + loop);
    for (int i = 0; i < attack + loop; ++i) {
        float mix = i < attack ? static_cast<float>(i) / attack : 1.0f;
        float s = 0.0f;
        for (size_t k = 0; k < bright.size(); ++k) {
            float amp = bright[k].amp * (1.0f - mix) + settled[k].amp * mix;
            s += amp * std::sin(2.0f * kPi * bright[k].cycles * i / cycle);
        }
        b[i] = s;
    }
    return MakeSample("bass", b, 64, attack, loop);
}

// Lead: a chorused pulse for the game songs, a breathy flute for the intro.
mod::Sample Lead(Style style, int colour) {
    if (style == Style::Drive) {
        // The pulse width gives each song's lead its own colour.
        static const float kDuty[] = {0.3f, 0.5f, 0.18f, 0.4f, 0.25f};
        const float duty = kDuty[colour % 5];
        const int loop = 4096;
        std::vector<Partial> partials;
        for (float base : {128.0f, 129.0f})
            for (int k = 1; k <= 15; ++k)
                partials.push_back({base * k, 0.5f * std::fabs(std::sin(kPi * k * duty)) / k});
        Buffer b(loop);
        for (int i = 0; i < loop; ++i) b[i] = Additive(partials, i, loop);
        return MakeSample("lead", b, 64, 0, loop);
    }
    const int cycle = 32, attack = cycle * 16, loop = cycle * 16;
    std::vector<Partial> partials = {{1.0f, 1.0f}, {2.0f, 0.25f}, {3.0f, 0.1f}};
    Rng rng(8);
    Buffer b(attack + loop);
    for (int i = 0; i < attack + loop; ++i) {
        float breath = i < attack ? 0.25f * (1.0f - static_cast<float>(i) / attack) * rng.Bipolar() : 0.0f;
        b[i] = Additive(partials, i, cycle) + breath;
    }
    return MakeSample("flute", b, 64, attack, loop);
}

// Pad: a whole triad in one chorused loop, root 128 cycles in 4096 samples.
mod::Sample Pad(Style style, bool minor) {
    const int loop = 4096;
    const float voices[] = {128.0f, minor ? 154.0f : 160.0f, 192.0f, 256.0f};
    const float voiceAmp[] = {1.0f, 0.8f, 0.8f, 0.4f};
    int harmonics = style == Style::Drive ? 5 : 3;
    std::vector<Partial> partials;
    for (int v = 0; v < 4; ++v)
        for (float detune : {0.0f, 1.0f})
            for (int k = 1; k <= harmonics; ++k)
                partials.push_back({(voices[v] + detune) * k, voiceAmp[v] / (k * k * (style == Style::Drive ? 0.5f : 1.0f) + 0.5f)});
    Buffer b(loop);
    for (int i = 0; i < loop; ++i) b[i] = Additive(partials, i, loop);
    return MakeSample(minor ? "pad minor" : "pad major", b, 64, 0, loop);
}

mod::Sample Bell() {
    const int rate = static_cast<int>(kAmigaClock / (2 * 428));
    Buffer b(Frames(1.2f, rate));
    for (size_t i = 0; i < b.size(); ++i) {
        float t = static_cast<float>(i) / rate;
        float s = std::sin(2.0f * kPi * i / 32.0f) + 0.35f * std::sin(2.0f * kPi * 4.0f * i / 32.0f) * Decay(t, 0.15f);
        b[i] = s * Decay(t, 0.45f) * std::min(1.0f, t * 300.0f);
    }
    return MakeSample("bell", b, 64, 0, 0);
}

}  // namespace

std::vector<mod::Sample> MakeInstruments(Style style, int colour) {
    std::vector<mod::Sample> list;
    list.push_back(Kick(style));
    list.push_back(Snare());
    list.push_back(NoiseHit("hat", 0.08f, 0.02f, 6000.0f, 12));
    list.push_back(NoiseHit("crash", 1.4f, 0.45f, 3000.0f, 14));
    list.push_back(Bass(style, colour));
    list.push_back(Lead(style, colour));
    list.push_back(Pad(style, false));
    list.push_back(Pad(style, true));
    list.push_back(Bell());
    return list;
}

}  // namespace compose
