// The sound effects of the game in collection order, and the non-combat
// ones: pick-ups and rewards (each with its own contour and timbre: a rising
// bell arpeggio, a reloading clunk, a data chirp, a warm swell, a charging
// sweep, fanfares), warnings, menu blips, the typewriter ticking of the
// story screen and the story's closing chord. Every sound is levelled for
// its role when it is finished.
#include <cmath>

#include "audio_assets.h"
#include "sfx_combat.h"
#include "sfx_kit.h"

using namespace synth;
using namespace sfx;

namespace {

Buffer ItemBox() {
    // An item box: a quick rising arpeggio of bells ending on a bright sparkle.
    Buffer b;
    const float notes[] = {1046.5f, 1318.5f, 1568.0f, 2093.0f};
    for (int i = 0; i < 4; ++i)
        MixInto(b, Bell(notes[i], 0.35f, i == 3 ? 0.12f : 0.06f), Frames(0.045f * i, kRate), 1.0f);
    return Finish(b, SoundRole::Reward);
}

Buffer WeaponBox() {
    // A weapon box: a metallic clunk and a buzzy square sweep up, as a gun reloading.
    Buffer b = Noise(0.05f, 9, [](float t) { return Decay(t, 0.01f); });
    HighPass(b, 2000.0f, kRate);
    MixInto(b, Chime(2637.0f, 0.08f, 0.015f), 0, 0.6f);
    MixInto(b,
            Tone(
                0.42f, Wave::Square, [](float t) { return 330.0f * std::pow(2.0f, t * 4.5f); },
                [](float t) { return Adsr(t, 0.42f, 0.01f, 0.08f, 0.6f, 0.15f) * 0.5f; }),
            Frames(0.06f, kRate), 1.0f);
    LowPass(b, 9000.0f, kRate);
    return Finish(b, SoundRole::Reward);
}

Buffer BlackBox() {
    // A black box: a chirp of data, short pulse blips jumping high-low-high.
    Buffer b;
    const float blips[] = {2349.0f, 1568.0f, 2794.0f, 1760.0f, 3136.0f};
    for (int i = 0; i < 5; ++i) {
        float f = blips[i];
        Buffer blip = Tone(
            0.06f, Wave::Square, [=](float) { return f; },
            [](float t) { return Adsr(t, 0.06f, 0.002f, 0.01f, 0.7f, 0.015f); });
        MixInto(b, blip, Frames(0.055f * i, kRate), 0.6f);
    }
    LowPass(b, 7000.0f, kRate);
    return Finish(b, SoundRole::Reward);
}

Buffer Lifepack() {
    // Energy coming back: a warm major chord swelling up with a shimmer.
    Buffer b;
    const float chord[] = {523.25f, 659.26f, 783.99f, 1046.5f};
    for (int k = 0; k < 4; ++k) {
        float f = chord[k];
        MixInto(b,
                Tone(
                    0.9f, Wave::Triangle, [=](float t) { return f * (1.0f + 0.006f * std::sin(2 * kPi * 5.5f * t)); },
                    [=](float t) { return Adsr(t - 0.05f * k, 0.9f - 0.05f * k, 0.18f, 0.2f, 0.7f, 0.35f); }),
                0, 0.4f);
    }
    MixInto(b,
            Tone(
                0.9f, Wave::Sine, [](float t) { return 2093.0f + 400.0f * t; },
                [](float t) { return Adsr(t, 0.9f, 0.3f, 0.2f, 0.5f, 0.3f) * 0.3f; }),
            0, 1.0f);
    return Finish(b, SoundRole::Reward);
}

Buffer EnergyCharge() {
    Buffer b = Tone(
        0.7f, Wave::Saw, [](float t) { return 150.0f + 1800.0f * t * t; },
        [](float t) { return Adsr(t, 0.7f, 0.05f, 0.1f, 0.8f, 0.15f) * (0.7f + 0.3f * Osc(Wave::Square, t * 30.0f)); });
    LowPass(b, 4000.0f, kRate);
    MixInto(b, Bell(1318.5f, 0.4f, 0.12f), Frames(0.55f, kRate), 0.7f);
    return Finish(b, SoundRole::Reward);
}

Buffer Orbs() {
    Buffer b;
    const float notes[] = {659.3f, 830.6f, 987.8f, 1318.5f};
    for (int k = 0; k < 4; ++k) {
        float f = notes[k];
        MixInto(b,
                Tone(
                    0.9f, Wave::Sine, [=](float t) { return f * (1.0f + 0.01f * std::sin(2 * kPi * 7.0f * t)); },
                    [=](float t) { return Adsr(t, 0.9f, 0.05f, 0.2f, 0.5f, 0.5f); }),
                Frames(0.06f * k, kRate), 0.5f);
    }
    Echo(b, 0.09f, 0.35f, 2, kRate);
    return Finish(b, SoundRole::Reward);
}

Buffer Discs() {
    Buffer b = Tone(
        0.5f, Wave::Sine, [](float t) { return 700.0f + 300.0f * std::sin(2 * kPi * 18.0f * t) + 600.0f * t; },
        [](float t) { return Adsr(t, 0.5f, 0.02f, 0.1f, 0.6f, 0.2f); });
    MixInto(b,
            Tone(
                0.5f, Wave::Triangle, [](float t) { return 350.0f + 300.0f * t; },
                [](float t) { return Adsr(t, 0.5f, 0.02f, 0.1f, 0.4f, 0.2f); }),
            0, 0.5f);
    return Finish(b, SoundRole::Reward);
}

Buffer Fanfare(const std::vector<float>& freqs, const std::vector<float>& lengths) {
    Buffer b;
    float start = 0.0f;
    for (size_t i = 0; i < freqs.size(); ++i) {
        float f = freqs[i], len = lengths[i];
        Buffer note = Tone(
            len, Wave::Square, [=](float) { return f; },
            [=](float t) { return Adsr(t, len, 0.01f, 0.05f, 0.7f, 0.05f); });
        MixInto(note,
                Tone(
                    len, Wave::Saw, [=](float) { return f * 1.005f; },
                    [=](float t) { return Adsr(t, len, 0.01f, 0.05f, 0.6f, 0.05f); }),
                0, 0.5f);
        LowPass(note, 4500.0f, kRate);
        MixInto(b, note, Frames(start, kRate), 1.0f);
        start += len;
    }
    Echo(b, 0.12f, 0.3f, 2, kRate);
    return b;
}

Buffer Wingmen() {
    // Two wingmen arriving: two swooping engines, one after the other, and a call.
    Buffer b;
    for (int k = 0; k < 2; ++k) {
        float base = k ? 520.0f : 390.0f;
        Buffer swoop = Tone(
            0.45f, Wave::Saw, [=](float t) { return base * (0.6f + 0.8f * t / 0.45f); },
            [](float t) { return Adsr(t, 0.45f, 0.12f, 0.1f, 0.8f, 0.15f); });
        LowPass(swoop, 3000.0f, kRate);
        MixInto(b, swoop, Frames(0.16f * k, kRate), 0.7f);
    }
    MixInto(b, Fanfare({783.99f, 1174.7f}, {0.09f, 0.22f}), Frames(0.5f, kRate), 0.8f);
    return Finish(b, SoundRole::Reward);
}

Buffer Invulnerable() {
    Buffer b;
    const float chord[] = {261.6f, 329.6f, 392.0f, 523.3f};
    for (int k = 0; k < 4; ++k) {
        float f = chord[k];
        for (float det : {0.997f, 1.003f})
            MixInto(b,
                    Tone(
                        1.3f, Wave::Saw, [=](float t) { return f * det * (1.0f + 0.5f * t * t); },
                        [](float t) { return Adsr(t, 1.3f, 0.4f, 0.3f, 0.7f, 0.4f); }),
                    0, 0.3f);
    }
    LowPass(b, 3500.0f, kRate);
    return Finish(b, SoundRole::Reward);
}

Buffer LowEnergy() {
    // Out of energy: a soft falling two-note call, twice; round tones with a
    // gentle attack, so that hearing it often does not grate.
    Buffer b;
    const float notes[] = {987.8f, 740.0f, 987.8f, 740.0f};
    for (int k = 0; k < 4; ++k) {
        float f = notes[k];
        Buffer note = Tone(
            0.13f, Wave::Triangle, [=](float) { return f; },
            [](float t) { return Adsr(t, 0.13f, 0.012f, 0.04f, 0.7f, 0.05f); });
        MixInto(note,
                Tone(
                    0.13f, Wave::Sine, [=](float) { return f * 2.0f; },
                    [](float t) { return Adsr(t, 0.13f, 0.012f, 0.04f, 0.5f, 0.05f) * 0.3f; }),
                0, 1.0f);
        MixInto(b, note, Frames(0.15f * k + (k >= 2 ? 0.12f : 0.0f), kRate), 1.0f);
    }
    return Finish(b, SoundRole::Warning);
}

Buffer SwitchOver() {
    // A radio channel opening: a click, a short burst of static and a chirp.
    Buffer b = Noise(0.14f, 13, [](float t) { return Decay(t, 0.05f) * 0.5f; });
    HighPass(b, 1500.0f, kRate);
    MixInto(b,
            Tone(
                0.16f, Wave::Sine, [](float t) { return 1500.0f + 5000.0f * t; },
                [](float t) { return Adsr(t, 0.16f, 0.005f, 0.03f, 0.6f, 0.05f); }),
            Frames(0.05f, kRate), 0.8f);
    MixInto(b,
            Tone(
                0.2f, Wave::Triangle, [](float) { return 1175.0f; },
                [](float t) { return Adsr(t, 0.2f, 0.01f, 0.05f, 0.6f, 0.08f); }),
            Frames(0.2f, kRate), 0.6f);
    return Finish(b, SoundRole::Warning);
}

Buffer Hover() {
    Buffer b = Tone(
        0.05f, Wave::Sine, [](float t) { return 1300.0f + 2000.0f * t; },
        [](float t) { return Adsr(t, 0.05f, 0.003f, 0.01f, 0.6f, 0.03f); });
    return Finish(b, SoundRole::Interface, -1.0f);
}

Buffer Click() {
    Buffer b = Noise(0.03f, 17, [](float t) { return Decay(t, 0.004f); });
    MixInto(b,
            Tone(
                0.04f, Wave::Square, [](float) { return 1800.0f; }, [](float t) { return Decay(t, 0.008f); }),
            0, 0.5f);
    LowPass(b, 6000.0f, kRate);
    return Finish(b, SoundRole::Interface);
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
    return Finish(b, SoundRole::Interface, -1.0f, true);
}

Buffer ProbeBeep() {
    Buffer b = Tone(
        0.16f, Wave::Sine, [](float) { return 1760.0f; },
        [](float t) { return Adsr(t, 0.16f, 0.005f, 0.02f, 0.8f, 0.05f); });
    Echo(b, 0.15f, 0.4f, 3, kRate);
    return Finish(b, SoundRole::Interface, 2.0f);
}

Buffer Closing() {
    // A slow descending chord fading out: the last sound of the story.
    Buffer b;
    const float chord[] = {220.0f, 261.6f, 329.6f, 440.0f};
    for (int k = 0; k < 4; ++k) {
        float f = chord[k];
        MixInto(b,
                Tone(
                    3.2f, Wave::Triangle, [=](float t) { return f * (1.0f - 0.08f * t / 3.2f); },
                    [](float t) { return Adsr(t, 3.2f, 0.3f, 0.5f, 0.7f, 1.8f); }),
                0, 0.4f);
    }
    MixInto(b, Bell(880.0f, 2.0f, 0.6f), 0, 0.3f);
    Echo(b, 0.25f, 0.35f, 3, kRate);
    return Finish(b, SoundRole::Interface, 1.0f);
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
    std::vector<levpack::WaveEntry> list;
    // Weapons: a voice limit keeps rapid fire from piling up.
    list.push_back(Item("Laser", Laser(), 3));
    list.push_back(Item("GoodLaser", GoodLaser(), 2));
    list.push_back(Item("Ostatni", BallShot(), 3));
    list.push_back(Item("RoztahnutiLej", BeamSpread(), 2));
    list.push_back(Item("PrubehLej", BeamHum(), 1, true));
    // Explosions of three sizes.
    list.push_back(Item("Vybuch", Explosion(), 4));
    list.push_back(Item("Prstenec", Ring(), 3));
    list.push_back(Item("bumLod", ShipBlast(), 1));
    // Pick-ups.
    list.push_back(Item("Box", ItemBox(), 2));
    list.push_back(Item("BoxGun", WeaponBox(), 2));
    list.push_back(Item("Baterie", BlackBox(), 2));
    list.push_back(Item("Lifepack", Lifepack(), 1));
    list.push_back(Item("Energypack", EnergyCharge(), 1));
    // Special items.
    list.push_back(Item("Ochranne koule", Orbs(), 1));
    list.push_back(Item("Disky", Discs(), 2));
    list.push_back(Item("Kamaradi", Wingmen(), 1));
    list.push_back(Item("Nesmrtelnost", Invulnerable(), 1));
    // Signals.
    list.push_back(Item("Outenergie", LowEnergy(), 1));
    list.push_back(Item("Prepnuti", SwitchOver(), 2));
    list.push_back(Item(
        "Vlajky",
        Finish(Fanfare({523.25f, 659.26f, 783.99f, 1046.5f}, {0.12f, 0.12f, 0.12f, 0.45f}), SoundRole::Reward), 1));
    // Menu and story.
    list.push_back(Item("Najeti", Hover(), 2));
    list.push_back(Item("Klik", Click(), 2));
    list.push_back(Item("Text", Typing(), 1, true));
    list.push_back(Item("Sonda", ProbeBeep(), 1));
    list.push_back(Item("Konec", Closing(), 1));
    list.push_back(Item("Zasah", Hit(), 3));
    return list;
}
