// The sound effects of the game, each synthesised for its role: laser zaps,
// explosions of several sizes, pick-up chimes, warnings, menu blips, the
// typewriter ticking of the story screen and the humming egg beam.
#include <cmath>
#include <functional>

#include "audio_assets.h"
#include "synth.h"

using namespace synth;

namespace {

constexpr int kRate = kSfxRate;

// A tone whose frequency and gain follow functions of time (seconds).
Buffer Tone(float seconds, Wave wave, const std::function<float(float)>& freq,
            const std::function<float(float)>& gain) {
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

Buffer Noise(float seconds, uint32_t seed, const std::function<float(float)>& gain) {
    Rng rng(seed);
    Buffer out(Frames(seconds, kRate));
    for (size_t i = 0; i < out.size(); ++i) out[i] = rng.Bipolar() * gain(static_cast<float>(i) / kRate);
    return out;
}

// Noise through a low-pass whose cutoff follows a function of time.
Buffer SweptNoise(float seconds, uint32_t seed, const std::function<float(float)>& cutoff,
                  const std::function<float(float)>& gain) {
    Rng rng(seed);
    Buffer out(Frames(seconds, kRate));
    float y1 = 0.0f, y2 = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        float t = static_cast<float>(i) / kRate;
        float rc = 1.0f / (2.0f * kPi * cutoff(t)), dt = 1.0f / kRate, a = dt / (rc + dt);
        y1 += a * (rng.Bipolar() - y1);
        y2 += a * (y1 - y2);  // two poles for a darker rumble
        out[i] = y2 * gain(t);
    }
    return out;
}

Buffer Finish(Buffer b, float peak) {
    // Fade the last 5 ms so that no sound ends with a click.
    int fade = std::min<int>(static_cast<int>(b.size()), Frames(0.005f, kRate));
    for (int i = 0; i < fade; ++i) b[b.size() - 1 - i] *= static_cast<float>(i) / fade;
    Normalize(b, peak);
    return b;
}

// A short bell-like note: a sine with a touch of its octave and twelfth.
Buffer Chime(float freq, float seconds, float tau) {
    return Tone(seconds, Wave::Sine, [=](float) { return freq; },
                [=](float t) { return Decay(t, tau) * std::min(1.0f, t * 400.0f); });
}

Buffer Bell(float freq, float seconds, float tau) {
    Buffer b = Chime(freq, seconds, tau);
    MixInto(b, Chime(freq * 2.0f, seconds, tau * 0.6f), 0, 0.35f);
    MixInto(b, Chime(freq * 3.0f, seconds, tau * 0.3f), 0, 0.15f);
    return b;
}

Buffer Arpeggio(const std::vector<float>& freqs, float step, float tail, float tau, float echo) {
    Buffer out;
    for (size_t i = 0; i < freqs.size(); ++i)
        MixInto(out, Bell(freqs[i], tail, tau), Frames(step * i, kRate), 1.0f);
    if (echo > 0.0f) Echo(out, 0.11f, echo, 3, kRate);
    return Finish(out, 0.6f);
}


Buffer Laser() {
    Buffer b = Tone(0.2f, Wave::Square, [](float t) { return 300.0f + 1700.0f * Decay(t, 0.04f); },
                    [](float t) { return Decay(t, 0.06f); });
    LowPass(b, 5000.0f, kRate);
    return Finish(b, 0.7f);
}

Buffer GoodLaser() {
    auto freq = [](float t) { return 380.0f + 2200.0f * Decay(t, 0.05f); };
    Buffer b = Tone(0.28f, Wave::Saw, freq, [](float t) { return Decay(t, 0.08f); });
    MixInto(b, Tone(0.28f, Wave::Saw, [&](float t) { return freq(t) * 1.012f; },
                    [](float t) { return Decay(t, 0.08f); }), 0, 0.8f);
    MixInto(b, Tone(0.28f, Wave::Sine, [&](float t) { return freq(t) * 0.5f; },
                    [](float t) { return Decay(t, 0.1f); }), 0, 0.9f);
    LowPass(b, 6000.0f, kRate);
    return Finish(b, 0.75f);
}

Buffer BallShot() {
    Buffer b = Tone(0.16f, Wave::Triangle, [](float t) { return 260.0f + 4500.0f * t; },
                    [](float t) { return Decay(t, 0.05f) * std::min(1.0f, t * 300.0f); });
    return Finish(b, 0.6f);
}

Buffer BeamSpread() {
    Buffer b = SweptNoise(0.7f, 11, [](float t) { return 300.0f + 5000.0f * t; },
                          [](float t) { return Adsr(t, 0.7f, 0.25f, 0.2f, 0.6f, 0.25f); });
    MixInto(b, Tone(0.7f, Wave::Saw, [](float t) { return 110.0f + 500.0f * t; },
                    [](float t) { return Adsr(t, 0.7f, 0.3f, 0.1f, 0.7f, 0.3f) * 0.25f; }), 0, 1.0f);
    return Finish(b, 0.7f);
}

// The egg beam's hum: every partial and the tremolo complete whole cycles in
// the one second of the loop, so the loop joins without a click.
Buffer BeamHum() {
    Buffer b(kRate);
    for (size_t i = 0; i < b.size(); ++i) {
        float t = static_cast<float>(i) / kRate;
        float trem = 0.75f + 0.25f * std::sin(2.0f * kPi * 6.0f * t);
        float s = Osc(Wave::Saw, 110.0f * t) * 0.5f + Osc(Wave::Sine, 220.0f * t) * 0.5f +
                  Osc(Wave::Sine, 331.0f * t) * 0.25f + Osc(Wave::Sine, 55.0f * t) * 0.6f;
        b[i] = s * trem;
    }
    // Filter a second copy in front so the filter has settled at the loop start.
    Buffer twice = b;
    twice.insert(twice.end(), b.begin(), b.end());
    LowPass(twice, 1400.0f, kRate);
    Buffer loop(twice.begin() + kRate, twice.end());
    Normalize(loop, 0.6f);
    return loop;
}

Buffer Explosion(float seconds, uint32_t seed, float cutoff, float tau, float thump) {
    Buffer b = SweptNoise(seconds, seed, [=](float t) { return 120.0f + cutoff * Decay(t, tau * 0.5f); },
                          [=](float t) { return Decay(t, tau) * std::min(1.0f, t * 500.0f); });
    MixInto(b, Tone(seconds, Wave::Sine, [](float t) { return 40.0f + 80.0f * Decay(t, 0.08f); },
                    [=](float t) { return Decay(t, tau * 0.6f); }), 0, thump);
    return Finish(b, 0.9f);
}

Buffer ShipBlast() {
    // Several bursts of a breaking hull over a long low rumble.
    Buffer b = SweptNoise(3.8f, 21, [](float t) { return 90.0f + 900.0f * Decay(t, 0.6f); },
                          [](float t) { return Decay(t, 1.3f) * std::min(1.0f, t * 200.0f); });
    const float starts[] = {0.0f, 0.35f, 0.8f, 1.4f};
    const float gains[] = {1.0f, 0.7f, 0.55f, 0.4f};
    for (int k = 0; k < 4; ++k) {
        Buffer burst = SweptNoise(1.2f, 30 + k, [](float t) { return 150.0f + 3000.0f * Decay(t, 0.15f); },
                                  [](float t) { return Decay(t, 0.3f) * std::min(1.0f, t * 400.0f); });
        MixInto(b, burst, Frames(starts[k], kRate), gains[k]);
    }
    MixInto(b, Tone(3.8f, Wave::Sine, [](float t) { return 32.0f + 60.0f * Decay(t, 0.3f); },
                    [](float t) { return Decay(t, 1.0f); }), 0, 0.8f);
    return Finish(b, 0.92f);
}

Buffer Ring() {
    // A bomb bursting on the hull: a metallic ring of inharmonic partials.
    Buffer b = Noise(0.08f, 5, [](float t) { return Decay(t, 0.02f); });
    const float partials[] = {523.0f, 1231.0f, 1787.0f, 2456.0f};
    for (int k = 0; k < 4; ++k)
        MixInto(b, Chime(partials[k], 1.3f, 0.45f / (1.0f + k * 0.5f)), 0, 0.5f / (1.0f + k * 0.4f));
    return Finish(b, 0.8f);
}

Buffer WeaponBox() {
    Buffer b = Noise(0.05f, 9, [](float t) { return Decay(t, 0.012f); });
    MixInto(b, Tone(0.5f, Wave::Square, [](float t) { return 220.0f * std::pow(2.0f, t * 4.0f); },
                    [](float t) { return Adsr(t, 0.5f, 0.01f, 0.1f, 0.5f, 0.2f) * 0.5f; }), Frames(0.06f, kRate), 1.0f);
    LowPass(b, 4000.0f, kRate);
    return Finish(b, 0.7f);
}

Buffer Battery() {
    Buffer b = Tone(0.08f, Wave::Saw, [](float t) { return 1200.0f - 6000.0f * t; },
                    [](float t) { return Decay(t, 0.03f); });
    MixInto(b, Bell(1046.5f, 0.3f, 0.08f), Frames(0.08f, kRate), 0.8f);
    MixInto(b, Bell(1568.0f, 0.4f, 0.1f), Frames(0.18f, kRate), 0.8f);
    return Finish(b, 0.7f);
}

Buffer EnergyCharge() {
    Buffer b = Tone(0.7f, Wave::Saw, [](float t) { return 150.0f + 900.0f * t * t * 2.0f; },
                    [](float t) { return Adsr(t, 0.7f, 0.05f, 0.1f, 0.8f, 0.15f) * (0.7f + 0.3f * Osc(Wave::Square, t * 30.0f)); });
    LowPass(b, 3000.0f, kRate);
    MixInto(b, Bell(1318.5f, 0.4f, 0.12f), Frames(0.55f, kRate), 0.6f);
    return Finish(b, 0.7f);
}

Buffer Orbs() {
    Buffer b;
    const float notes[] = {659.3f, 830.6f, 987.8f, 1318.5f};
    for (int k = 0; k < 4; ++k) {
        float f = notes[k];
        MixInto(b, Tone(0.9f, Wave::Sine, [=](float t) { return f * (1.0f + 0.01f * std::sin(2 * kPi * 7.0f * t)); },
                        [=](float t) { return Adsr(t, 0.9f, 0.05f, 0.2f, 0.5f, 0.5f); }),
                Frames(0.06f * k, kRate), 0.5f);
    }
    Echo(b, 0.09f, 0.35f, 2, kRate);
    return Finish(b, 0.65f);
}

Buffer Discs() {
    Buffer b = Tone(0.5f, Wave::Sine,
                    [](float t) { return 700.0f + 300.0f * std::sin(2 * kPi * 18.0f * t) + 600.0f * t; },
                    [](float t) { return Adsr(t, 0.5f, 0.02f, 0.1f, 0.6f, 0.2f); });
    MixInto(b, Tone(0.5f, Wave::Triangle, [](float t) { return 350.0f + 300.0f * t; },
                    [](float t) { return Adsr(t, 0.5f, 0.02f, 0.1f, 0.4f, 0.2f); }), 0, 0.5f);
    return Finish(b, 0.65f);
}

Buffer Fanfare(const std::vector<float>& freqs, const std::vector<float>& lengths, float peak) {
    Buffer b;
    float start = 0.0f;
    for (size_t i = 0; i < freqs.size(); ++i) {
        float f = freqs[i], len = lengths[i];
        Buffer note = Tone(len, Wave::Square, [=](float) { return f; },
                           [=](float t) { return Adsr(t, len, 0.01f, 0.05f, 0.7f, 0.05f); });
        MixInto(note, Tone(len, Wave::Saw, [=](float) { return f * 1.005f; },
                           [=](float t) { return Adsr(t, len, 0.01f, 0.05f, 0.6f, 0.05f); }), 0, 0.5f);
        LowPass(note, 3500.0f, kRate);
        MixInto(b, note, Frames(start, kRate), 1.0f);
        start += len;
    }
    Echo(b, 0.12f, 0.3f, 2, kRate);
    return Finish(b, peak);
}

Buffer Invulnerable() {
    Buffer b;
    const float chord[] = {261.6f, 329.6f, 392.0f, 523.3f};
    for (int k = 0; k < 4; ++k) {
        float f = chord[k];
        for (float det : {0.997f, 1.003f})
            MixInto(b, Tone(1.3f, Wave::Saw, [=](float t) { return f * det * (1.0f + 0.5f * t * t); },
                            [](float t) { return Adsr(t, 1.3f, 0.4f, 0.3f, 0.7f, 0.4f); }), 0, 0.3f);
    }
    LowPass(b, 2500.0f, kRate);
    return Finish(b, 0.7f);
}

Buffer LowEnergy() {
    Buffer b;
    for (int k = 0; k < 3; ++k)
        MixInto(b, Tone(0.12f, Wave::Square, [](float) { return 880.0f; },
                        [](float t) { return Adsr(t, 0.12f, 0.005f, 0.02f, 0.8f, 0.02f); }),
                Frames(0.18f * k, kRate), 1.0f);
    LowPass(b, 4000.0f, kRate);
    return Finish(b, 0.65f);
}

Buffer SwitchOver() {
    // A radio channel opening: a click, a short burst of static and a chirp.
    Buffer b = Noise(0.12f, 13, [](float t) { return Decay(t, 0.04f) * 0.5f; });
    HighPass(b, 1500.0f, kRate);
    MixInto(b, Tone(0.12f, Wave::Sine, [](float t) { return 1500.0f + 6000.0f * t; },
                    [](float t) { return Adsr(t, 0.12f, 0.005f, 0.03f, 0.6f, 0.04f); }), Frames(0.05f, kRate), 0.8f);
    return Finish(b, 0.55f);
}

Buffer Hover() {
    Buffer b = Tone(0.05f, Wave::Sine, [](float t) { return 1300.0f + 2000.0f * t; },
                    [](float t) { return Adsr(t, 0.05f, 0.003f, 0.01f, 0.6f, 0.03f); });
    return Finish(b, 0.35f);
}

Buffer Click() {
    Buffer b = Noise(0.03f, 17, [](float t) { return Decay(t, 0.004f); });
    MixInto(b, Tone(0.04f, Wave::Square, [](float) { return 1800.0f; },
                    [](float t) { return Decay(t, 0.008f); }), 0, 0.5f);
    LowPass(b, 6000.0f, kRate);
    return Finish(b, 0.5f);
}

// A typewriter ticking, about one key every 33 ms like the typed text, with
// uneven spacing and loudness; looped, the game stops it.
Buffer Typing() {
    Rng rng(77);
    Buffer b(Frames(2.0f, kRate), 0.0f);
    int pos = 0;
    while (true) {
        int len = Frames(0.012f, kRate);
        if (pos + len >= static_cast<int>(b.size())) break;
        float gain = 0.5f + 0.5f * rng.Uniform();
        float pitch = 2500.0f + 1500.0f * rng.Uniform();
        for (int i = 0; i < len; ++i) {
            float t = static_cast<float>(i) / kRate;
            b[pos + i] += (rng.Bipolar() * 0.6f + 0.4f * std::sin(2 * kPi * pitch * t)) * Decay(t, 0.002f) * gain;
        }
        pos += Frames(0.026f + 0.016f * rng.Uniform(), kRate);
    }
    HighPass(b, 800.0f, kRate);
    Normalize(b, 0.45f);
    return b;
}

Buffer ProbeBeep() {
    Buffer b = Tone(0.16f, Wave::Sine, [](float) { return 1760.0f; },
                    [](float t) { return Adsr(t, 0.16f, 0.005f, 0.02f, 0.8f, 0.05f); });
    Echo(b, 0.15f, 0.4f, 3, kRate);
    return Finish(b, 0.55f);
}

Buffer Closing() {
    // A slow descending chord fading out: the last sound of the story.
    Buffer b;
    const float chord[] = {220.0f, 261.6f, 329.6f, 440.0f};
    for (int k = 0; k < 4; ++k) {
        float f = chord[k];
        MixInto(b, Tone(3.2f, Wave::Triangle, [=](float t) { return f * (1.0f - 0.08f * t / 3.2f); },
                        [](float t) { return Adsr(t, 3.2f, 0.3f, 0.5f, 0.7f, 1.8f); }), 0, 0.4f);
    }
    MixInto(b, Bell(880.0f, 2.0f, 0.6f), 0, 0.3f);
    Echo(b, 0.25f, 0.35f, 3, kRate);
    return Finish(b, 0.7f);
}

Buffer Hit() {
    Buffer b = SweptNoise(0.15f, 41, [](float t) { return 400.0f + 2000.0f * Decay(t, 0.03f); },
                          [](float t) { return Decay(t, 0.04f); });
    return Finish(b, 0.6f);
}

levpack::WaveEntry Item(const std::string& name, const Buffer& b, int maxPlaying, bool looped = false) {
    levpack::WaveEntry w;
    w.name = name;
    w.looped = looped;
    w.maxPlayingCount = maxPlaying;
    w.channels = 1;
    w.sampleRate = kRate;
    w.bitsPerSample = 16;
    w.samples = ToPcm16(b);
    return w;
}

}  // namespace

std::vector<levpack::WaveEntry> MakeSoundEffects() {
    const float C5 = 523.25f, E5 = 659.26f, G5 = 783.99f, C6 = 1046.5f, E6 = 1318.5f, G6 = 1568.0f;
    std::vector<levpack::WaveEntry> list;
    // Weapons: a voice limit keeps rapid fire from piling up.
    list.push_back(Item("Laser", Laser(), 3));
    list.push_back(Item("GoodLaser", GoodLaser(), 2));
    list.push_back(Item("Ostatni", BallShot(), 3));
    list.push_back(Item("RoztahnutiLej", BeamSpread(), 2));
    list.push_back(Item("PrubehLej", BeamHum(), 1, true));
    // Explosions of three sizes.
    list.push_back(Item("Vybuch", Explosion(1.0f, 3, 2500.0f, 0.3f, 0.8f), 4));
    list.push_back(Item("Prstenec", Ring(), 3));
    list.push_back(Item("bumLod", ShipBlast(), 1));
    // Pick-ups.
    list.push_back(Item("Box", Arpeggio({C6, E6, G6}, 0.05f, 0.3f, 0.08f, 0.0f), 2));
    list.push_back(Item("BoxGun", WeaponBox(), 2));
    list.push_back(Item("Baterie", Battery(), 2));
    list.push_back(Item("Lifepack", Arpeggio({C5, E5, G5, C6}, 0.08f, 0.5f, 0.15f, 0.3f), 1));
    list.push_back(Item("Energypack", EnergyCharge(), 1));
    // Special items.
    list.push_back(Item("Ochranne koule", Orbs(), 1));
    list.push_back(Item("Disky", Discs(), 2));
    list.push_back(Item("Kamaradi", Fanfare({392.0f, 523.25f, 659.26f}, {0.1f, 0.1f, 0.35f}, 0.6f), 1));
    list.push_back(Item("Nesmrtelnost", Invulnerable(), 1));
    // Signals.
    list.push_back(Item("Outenergie", LowEnergy(), 1));
    list.push_back(Item("Prepnuti", SwitchOver(), 2));
    list.push_back(Item("Vlajky", Fanfare({523.25f, 659.26f, 783.99f, 1046.5f}, {0.12f, 0.12f, 0.12f, 0.45f}, 0.65f), 1));
    // Menu and story.
    list.push_back(Item("Najeti", Hover(), 2));
    list.push_back(Item("Klik", Click(), 2));
    list.push_back(Item("Text", Typing(), 1, true));
    list.push_back(Item("Sonda", ProbeBeep(), 1));
    list.push_back(Item("Konec", Closing(), 1));
    list.push_back(Item("Zasah", Hit(), 3));
    return list;
}
