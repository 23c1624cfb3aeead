// The combat sounds. The gun, heard several times a second, is a short zap
// with a body but a quick tail; impacts are dense: a bright crack for the
// moment of the hit, a mid-range body of breaking noise and a low thump,
// driven into soft saturation so they stand above the gun and the music.
#include "sfx_combat.h"

#include <cmath>

using namespace synth;

namespace sfx {

Buffer Laser() {
    // A falling square zap with a saw an octave below for body.
    auto freq = [](float t) { return 420.0f + 1500.0f * Decay(t, 0.035f); };
    auto gain = [](float t) { return Decay(t, 0.07f) * std::min(1.0f, t * 600.0f); };
    Buffer b = Tone(0.24f, Wave::Square, freq, gain);
    MixInto(b,
            Tone(
                0.24f, Wave::Saw, [&](float t) { return freq(t) * 0.5f; }, gain),
            0, 0.6f);
    LowPass(b, 6000.0f, kRate);
    HighPass(b, 150.0f, kRate);
    return Finish(b, SoundRole::Weapon);
}

Buffer GoodLaser() {
    // The volley: two detuned saws and a sub tone, wider and longer.
    auto freq = [](float t) { return 330.0f + 1900.0f * Decay(t, 0.05f); };
    auto gain = [](float t) { return Decay(t, 0.09f) * std::min(1.0f, t * 500.0f); };
    Buffer b = Tone(0.28f, Wave::Saw, freq, gain);
    MixInto(b,
            Tone(
                0.28f, Wave::Saw, [&](float t) { return freq(t) * 1.015f; }, gain),
            0, 0.8f);
    MixInto(b,
            Tone(
                0.28f, Wave::Sine, [&](float t) { return freq(t) * 0.5f; }, gain),
            0, 0.8f);
    LowPass(b, 7000.0f, kRate);
    return Finish(b, SoundRole::Weapon);
}

Buffer BallShot() {
    // Two balls leaving: a rising "bloop" of triangle and square.
    auto freq = [](float t) { return 240.0f + 2600.0f * t; };
    auto gain = [](float t) { return Decay(t, 0.07f) * std::min(1.0f, t * 300.0f); };
    Buffer b = Tone(0.2f, Wave::Triangle, freq, gain);
    MixInto(b, Tone(0.2f, Wave::Square, freq, gain), 0, 0.25f);
    LowPass(b, 5000.0f, kRate);
    return Finish(b, SoundRole::Weapon);
}

Buffer BeamSpread() {
    Buffer b = SweptNoise(
        0.7f, 11, [](float t) { return 300.0f + 5000.0f * t; },
        [](float t) { return Adsr(t, 0.7f, 0.2f, 0.2f, 0.6f, 0.25f); });
    MixInto(b,
            Tone(
                0.7f, Wave::Saw, [](float t) { return 110.0f + 500.0f * t; },
                [](float t) { return Adsr(t, 0.7f, 0.3f, 0.1f, 0.7f, 0.3f) * 0.25f; }),
            0, 1.0f);
    return Finish(b, SoundRole::Weapon, -0.5f);
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
    return Finish(loop, SoundRole::Weapon, 0.0f, true);
}

namespace {

// The crack, body and thump of an explosion of the given length.
Buffer Blast(float seconds, uint32_t seed, float tau, float thumpHz, float drive) {
    Buffer crack = Noise(0.09f, seed, [](float t) { return Decay(t, 0.018f); });
    HighPass(crack, 1800.0f, kRate);
    Buffer body = SweptNoise(
        seconds, seed + 1, [=](float t) { return 400.0f + 5200.0f * Decay(t, tau * 0.5f); },
        [=](float t) { return Decay(t, tau) * std::min(1.0f, t * 400.0f); });
    // Crackle: sparse bright grains over the body's first half.
    Rng rng(seed + 2);
    Buffer crackle(body.size(), 0.0f);
    for (size_t i = 0; i < crackle.size(); ++i) {
        float t = static_cast<float>(i) / kRate;
        if (rng.Below(400) == 0) {
            for (int k = 0; k < 60 && i + k < crackle.size(); ++k)
                crackle[i + k] += rng.Bipolar() * Decay(k / float(kRate), 0.0015f) * Decay(t, tau * 0.7f);
        }
    }
    HighPass(crackle, 2500.0f, kRate);
    Buffer thump = Tone(
        seconds, Wave::Sine, [=](float t) { return thumpHz + 90.0f * Decay(t, 0.06f); },
        [=](float t) { return Decay(t, tau * 0.5f); });
    Buffer b = body;
    Normalize(b, 1.0f);
    Normalize(crack, 1.0f);
    Normalize(crackle, 1.0f);
    MixInto(b, crack, 0, 0.9f);
    MixInto(b, crackle, 0, 0.6f);
    MixInto(b, thump, 0, 0.5f);
    Drive(b, drive);
    return b;
}

}  // namespace

Buffer Explosion() { return Finish(Blast(1.1f, 3, 0.45f, 48.0f, 3.0f), SoundRole::Impact); }

Buffer Ring() {
    // A bomb bursting on the hull: a crack, then a metallic ring of
    // inharmonic partials with a beating pair.
    Buffer b = Blast(0.6f, 5, 0.16f, 60.0f, 2.0f);
    const float partials[] = {523.0f, 529.0f, 1231.0f, 1787.0f, 2456.0f, 3310.0f};
    Buffer ring;
    for (int k = 0; k < 6; ++k)
        MixInto(ring, Chime(partials[k], 1.3f, 0.5f / (1.0f + k * 0.35f)), 0, 0.5f / (1.0f + k * 0.3f));
    Normalize(ring, 1.0f);
    MixInto(b, ring, 0, 0.8f);
    Drive(b, 1.6f);
    return Finish(b, SoundRole::Impact);
}

Buffer ShipBlast() {
    // The mother ship breaking up: four bursts over a long low rumble.
    Buffer b = SweptNoise(
        3.8f, 21, [](float t) { return 90.0f + 1200.0f * Decay(t, 0.7f); },
        [](float t) { return Decay(t, 1.3f) * std::min(1.0f, t * 200.0f); });
    Normalize(b, 0.6f);
    const float starts[] = {0.0f, 0.2f, 0.6f, 1.2f};
    const float gains[] = {1.0f, 0.85f, 0.65f, 0.5f};
    for (int k = 0; k < 4; ++k)
        MixInto(b, Blast(1.2f, 30 + 3 * k, 0.3f, 38.0f, 2.0f), Frames(starts[k], kRate), gains[k]);
    MixInto(b,
            Tone(
                3.8f, Wave::Sine, [](float t) { return 32.0f + 60.0f * Decay(t, 0.3f); },
                [](float t) { return Decay(t, 1.0f); }),
            0, 0.3f);
    HighPass(b, 50.0f, kRate);  // the deepest rumble would only eat the headroom
    Drive(b, 3.0f);
    return Finish(b, SoundRole::Impact, 0.5f);
}

Buffer Hit() {
    // A hit on the hull: a short crunch with a dull knock.
    Buffer b = Blast(0.4f, 41, 0.25f, 90.0f, 3.5f);
    return Finish(b, SoundRole::Impact);
}

}  // namespace sfx
