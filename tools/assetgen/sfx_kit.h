// Building blocks of the sound effects: tones and noises whose pitch, cutoff
// and gain follow functions of time, bell-like notes, and the last touch of
// every effect (level for its role, then a click-free end).
#pragma once
#include <functional>
#include <vector>

#include "audio_assets.h"
#include "sound_roles.h"
#include "synth.h"

namespace sfx {

using synth::Buffer;
using Curve = std::function<float(float)>;  // of time in seconds
constexpr int kRate = kSfxRate;

Buffer Tone(float seconds, synth::Wave wave, const Curve& freq, const Curve& gain);
Buffer Noise(float seconds, uint32_t seed, const Curve& gain);
// Noise through a two-pole low-pass whose cutoff follows a curve.
Buffer SweptNoise(float seconds, uint32_t seed, const Curve& cutoff, const Curve& gain);
// A sine with a fast attack and an exponential decay.
Buffer Chime(float freq, float seconds, float tau);
// A chime with a touch of its octave and twelfth.
Buffer Bell(float freq, float seconds, float tau);
// Soft saturation: drives the sound into tanh for grit and density.
void Drive(Buffer& buf, float amount);
// Levels the sound for its role and fades its last 5 ms (not for loops).
Buffer Finish(Buffer buf, SoundRole role, float offsetLu = 0.0f, bool looped = false);

}  // namespace sfx
