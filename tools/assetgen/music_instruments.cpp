// The instrument samples of the game's modules, synthesised as signed 8-bit
// data: drums (played at C-3; each song's kit tuned its own way), and looped
// tonal instruments whose loops hold whole cycles so they sustain without
// clicks. Every song has its own lead and bass recipe.
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
    for (const Partial& p : partials) s += p.amp * std::sin(2.0f * kPi * p.cycles * static_cast<float>(i) / loopLength);
    return s;
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

// ---- Drums ----------------------------------------------------------------

mod::Sample Kick(int kit) {
    const float base = 42.0f + 4.0f * kit, sweep = 100.0f + 15.0f * (kit % 3), tau = 0.035f + 0.008f * (kit % 2);
    Buffer b(Frames(0.4f, kDrumRate));
    float phase = 0.0f;
    for (size_t i = 0; i < b.size(); ++i) {
        float t = static_cast<float>(i) / kDrumRate;
        b[i] = std::sin(2.0f * kPi * phase) * Decay(t, 0.14f + 0.02f * (kit % 3));
        phase += (base + sweep * Decay(t, tau)) / kDrumRate;
    }
    if (kit > 0) {
        Rng rng(3 + kit);
        for (int i = 0; i < 120; ++i) b[i] += rng.Bipolar() * 0.4f * (1.0f - i / 120.0f);
    }
    return MakeSample("kick", b, 64, 0, 0);
}

mod::Sample Snare(int kit) {
    Rng rng(5 + kit);
    Buffer noise(Frames(0.3f, kDrumRate));
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = rng.Bipolar() * Decay(static_cast<float>(i) / kDrumRate, 0.07f + 0.015f * (kit % 3));
    HighPass(noise, 700.0f + 250.0f * kit, kDrumRate);
    Buffer b(noise.size());
    const float body = 160.0f + 20.0f * kit;
    for (size_t i = 0; i < b.size(); ++i) {
        float t = static_cast<float>(i) / kDrumRate;
        b[i] = noise[i] + 0.8f * std::sin(2.0f * kPi * body * t) * Decay(t, 0.05f);
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

mod::Sample Tom(int kit) {
    Buffer b(Frames(0.5f, kDrumRate));
    float phase = 0.0f;
    const float base = 90.0f + 8.0f * kit;
    for (size_t i = 0; i < b.size(); ++i) {
        float t = static_cast<float>(i) / kDrumRate;
        b[i] = std::sin(2.0f * kPi * phase) * Decay(t, 0.18f);
        phase += (base + 60.0f * Decay(t, 0.05f)) / kDrumRate;
    }
    return MakeSample("tom", b, 64, 0, 0);
}

// ---- Bass: a bright attack settling into a loop; 64 samples per cycle ------

std::vector<Partial> Spectrum(int count, float (*amp)(int k)) {
    std::vector<Partial> out;
    for (int k = 1; k <= count; ++k) out.push_back({static_cast<float>(k), amp(k)});
    return out;
}

mod::Sample Bass(int recipe) {
    const int cycle = 64, attack = cycle * 8, loop = cycle * 8;
    std::vector<Partial> bright, settled;
    switch (recipe) {
        case 1:  // saw pluck
            bright = Spectrum(16, [](int k) { return 1.0f / k; });
            settled = Spectrum(16, [](int k) { return k <= 7 ? 1.0f / std::pow(float(k), 1.3f) : 0.0f; });
            break;
        case 2:  // warm sine sub
            bright = Spectrum(6, [](int k) { return k == 1 ? 1.0f : 0.3f / k; });
            settled = Spectrum(6, [](int k) { return k == 1 ? 1.0f : k == 2 ? 0.3f : 0.05f; });
            break;
        case 3:  // square sub
            bright = Spectrum(11, [](int k) { return k % 2 ? 1.0f / k : 0.0f; });
            settled = Spectrum(11, [](int k) { return k % 2 && k <= 7 ? 1.0f / k : 0.0f; });
            break;
        case 4:  // slap: a bright snap falling onto a round tone
            bright = Spectrum(20, [](int k) { return 1.0f / std::sqrt(float(k)); });
            settled = Spectrum(20, [](int k) { return k <= 3 ? 1.0f / (k * k) : 0.0f; });
            break;
        case 5:  // growl: a formant around the fifth harmonic
            bright = Spectrum(14, [](int k) { return 1.0f / k + 0.5f * std::exp(-0.5f * (k - 5) * (k - 5)); });
            settled = bright;
            break;
        default:  // round
            bright = Spectrum(12, [](int k) { return 1.0f / k; });
            settled = Spectrum(12, [](int k) { return k <= 3 ? 1.0f / (k * k) : 0.0f; });
            break;
    }
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
    return MakeSample("bass", b, 48, attack, loop);
}

// ---- Leads: 128 cycles (a C-2 note of 32 samples) in a 4096-sample loop ----

mod::Sample Lead(int recipe) {
    if (recipe == 0) {
        // The intro's breathy flute, an attack of breath settling into a loop.
        const int cycle = 32, attack = cycle * 16, loop = cycle * 16;
        std::vector<Partial> partials = {{1.0f, 1.0f}, {2.0f, 0.3f}, {3.0f, 0.15f}, {4.0f, 0.06f}};
        Rng rng(8);
        Buffer b(attack + loop);
        for (int i = 0; i < attack + loop; ++i) {
            float breath = i < attack ? 0.3f * (1.0f - static_cast<float>(i) / attack) * rng.Bipolar() : 0.0f;
            b[i] = Additive(partials, i, cycle) + breath;
        }
        return MakeSample("flute", b, 48, attack, loop);
    }
    const int loop = 4096;
    std::vector<Partial> partials;
    std::string name;
    switch (recipe) {
        case 1:  // chorused pulse, a quarter wide
            name = "pulse lead";
            for (float base : {128.0f, 129.0f})
                for (int k = 1; k <= 15; ++k)
                    partials.push_back({base * k, 0.5f * std::fabs(std::sin(kPi * k * 0.25f)) / k});
            break;
        case 2:  // reed: odd harmonics with a breath of even ones
            name = "reed lead";
            for (int k = 1; k <= 11; ++k) partials.push_back({128.0f * k, (k % 2 ? 1.0f : 0.12f) / k});
            break;
        case 3:  // brass: a detuned pair of rich saws
            name = "brass lead";
            for (float base : {128.0f, 130.0f})
                for (int k = 1; k <= 18; ++k) partials.push_back({base * k, 0.5f / std::pow(float(k), 1.15f)});
            break;
        case 4:  // bell keys: a round tone with bright bell partials
            name = "keys lead";
            partials = {{128.0f, 1.0f},  {256.0f, 0.45f}, {384.0f, 0.1f},
                        {512.0f, 0.25f}, {896.0f, 0.12f}, {1280.0f, 0.08f}};
            break;
        default:  // sync scream: a formant high over the fundamental
            name = "sync lead";
            for (int k = 1; k <= 20; ++k)
                partials.push_back({128.0f * k, 0.6f / k + 0.5f * std::exp(-0.15f * (k - 8) * (k - 8))});
            break;
    }
    Buffer b(loop);
    for (int i = 0; i < loop; ++i) b[i] = Additive(partials, i, loop);
    return MakeSample(name, b, 48, 0, loop);
}

// Pad: a whole triad in one chorused loop, root 128 cycles in 4096 samples;
// the intro's pad carries a glassy shimmer of high partials.
mod::Sample Pad(Style style, bool minor) {
    const int loop = 4096;
    const float voices[] = {128.0f, minor ? 154.0f : 160.0f, 192.0f, 256.0f};
    const float voiceAmp[] = {1.0f, 0.8f, 0.8f, 0.4f};
    int harmonics = style == Style::Drive ? 5 : 3;
    std::vector<Partial> partials;
    for (int v = 0; v < 4; ++v)
        for (float detune : {0.0f, 1.0f})
            for (int k = 1; k <= harmonics; ++k)
                partials.push_back(
                    {(voices[v] + detune) * k, voiceAmp[v] / (k * k * (style == Style::Drive ? 0.5f : 1.0f) + 0.5f)});
    if (style == Style::Calm)
        for (int v = 0; v < 4; ++v)
            for (int k : {6, 8, 10, 12}) partials.push_back({(voices[v] + 2.0f) * k, 0.1f * voiceAmp[v]});
    Buffer b(loop);
    for (int i = 0; i < loop; ++i) b[i] = Additive(partials, i, loop);
    return MakeSample(minor ? "pad minor" : "pad major", b, 40, 0, loop);
}

// Bell: 32 samples per cycle at C-2, bright inharmonic partials fading fast.
mod::Sample Bell() {
    const int rate = static_cast<int>(kAmigaClock / (2 * 428));
    Buffer b(Frames(1.2f, rate));
    for (size_t i = 0; i < b.size(); ++i) {
        float t = static_cast<float>(i) / rate;
        float x = 2.0f * kPi * i / 32.0f;
        float s = std::sin(x) + 0.45f * std::sin(4.0f * x) * Decay(t, 0.2f) +
                  0.25f * std::sin(5.4f * x) * Decay(t, 0.1f) + 0.15f * std::sin(8.0f * x) * Decay(t, 0.06f);
        b[i] = s * Decay(t, 0.45f) * std::min(1.0f, t * 300.0f);
    }
    return MakeSample("bell", b, 40, 0, 0);
}

}  // namespace

std::vector<mod::Sample> MakeInstruments(const Song& song) {
    const int kit = song.voices.kit;
    std::vector<mod::Sample> list;
    list.push_back(Kick(kit));
    list.push_back(Snare(kit));
    list.push_back(NoiseHit("hat", 0.06f + 0.01f * (kit % 3), 0.015f + 0.005f * (kit % 2), 6000.0f, 12 + kit));
    list.push_back(NoiseHit("crash", 1.4f, 0.45f, 3000.0f, 14));
    list.push_back(Bass(song.voices.bass));
    list.push_back(Lead(song.voices.lead));
    list.push_back(Pad(song.style, false));
    list.push_back(Pad(song.style, true));
    list.push_back(Bell());
    list.push_back(Tom(kit));
    return list;
}

}  // namespace compose
