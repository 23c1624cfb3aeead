// Small sound-synthesis kit of the asset generator: a deterministic noise
// source, oscillators, envelopes and filters working on float buffers, and
// the conversion of a finished buffer to the PCM bytes the game stores.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace synth {

using Buffer = std::vector<float>;
constexpr float kPi = 3.14159265358979f;

// xorshift generator: the same sequence on every machine and compiler, so
// the generated sounds never change between builds.
class Rng {
public:
    explicit Rng(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t Next();
    float Uniform();   // 0 .. 1
    float Bipolar();   // -1 .. 1
    int Below(int n);  // 0 .. n-1
private:
    uint32_t state_;
};

enum class Wave { Sine, Triangle, Saw, Square };
// One cycle of a waveform at phase 0..1 (any real value wraps).
float Osc(Wave wave, float phase);

// Samples for the given seconds at rate.
inline int Frames(float seconds, int rate) { return static_cast<int>(seconds * rate + 0.5f); }

// Attack-decay-sustain-release gain at time t of a note lasting `length`.
float Adsr(float t, float length, float attack, float decay, float sustain, float release);
// exp(-t / tau)
float Decay(float t, float tau);

// One-pole low-pass and high-pass filters, run in place.
void LowPass(Buffer& buf, float cutoffHz, int rate);
void HighPass(Buffer& buf, float cutoffHz, int rate);
// Adds src, scaled, into dst starting at offset (dst grows when needed).
void MixInto(Buffer& dst, const Buffer& src, int offset, float gain);
// Feedback echo: delayed copies decaying by feedback each repeat.
void Echo(Buffer& buf, float delaySeconds, float feedback, int repeats, int rate);
// Scales the buffer so that its largest magnitude is peak.
void Normalize(Buffer& buf, float peak);
float Peak(const Buffer& buf);

// Buffer as little-endian signed 16-bit PCM bytes (clamped).
std::vector<uint8_t> ToPcm16(const Buffer& buf);
// Buffer as signed 8-bit samples (clamped), as tracker modules store them.
std::vector<int8_t> ToPcm8(const Buffer& buf);

}  // namespace synth
