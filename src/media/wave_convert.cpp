// Turns a wave as stored in the collection (8-bit unsigned or 16-bit signed
// PCM, mono or stereo, any rate) into the mixer's format: interleaved float
// stereo at 44100 Hz, resampled once at load with a windowed-sinc filter.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "media/media_error.h"
#include "media/wave.h"

namespace {

// Rates outside this range are not sound effects but damaged headers; the
// upper output length keeps a bad header from asking for gigabytes.
constexpr uint32_t kMinRate = 1000;
constexpr uint32_t kMaxRate = 384000;
constexpr double kMaxSeconds = 120.0;

// The filter: a sinc with kHalfTaps zero crossings on each side under a
// Blackman window, tabulated at kTableSteps points per crossing and read with
// linear interpolation.
constexpr int kHalfTaps = 16;
constexpr int kTableSteps = 256;
constexpr double kPi = 3.14159265358979323846;

const std::vector<float>& KernelTable() {
    static const std::vector<float> table = [] {
        std::vector<float> t(kHalfTaps * kTableSteps + 2);
        for (size_t i = 0; i < t.size(); ++i) {
            double x = double(i) / kTableSteps;
            if (x >= kHalfTaps) {
                t[i] = 0.0f;
                continue;
            }
            double sinc = x == 0.0 ? 1.0 : std::sin(kPi * x) / (kPi * x);
            double window = 0.42 + 0.5 * std::cos(kPi * x / kHalfTaps) + 0.08 * std::cos(2.0 * kPi * x / kHalfTaps);
            t[i] = float(sinc * window);
        }
        return t;
    }();
    return table;
}

// Kernel value at distance x, measured in zero crossings.
float Kernel(const std::vector<float>& table, double x) {
    x = std::fabs(x) * kTableSteps;
    size_t i = size_t(x);
    if (i + 1 >= table.size()) return 0.0f;
    float frac = float(x - double(i));
    return table[i] + (table[i + 1] - table[i]) * frac;
}

[[noreturn]] void Unsupported(const std::string& what) { throw MediaError("Wave format not supported: " + what); }

}  // namespace

std::vector<float> ConvertToMixFormat(const WaveData& wave) {
    const WaveFormat& f = wave.format;
    // An empty wave stays empty: it plays as silence of no length.
    if (wave.samples.empty()) return {};
    if (f.formatTag != 1) Unsupported("format tag " + std::to_string(f.formatTag) + " is not PCM");
    if (f.channels != 1 && f.channels != 2)
        Unsupported(std::to_string(f.channels) + " channels (only mono and stereo play)");
    if (f.bitsPerSample != 8 && f.bitsPerSample != 16)
        Unsupported(std::to_string(f.bitsPerSample) + " bits per sample (only 8 and 16)");
    if (f.sampleRate < kMinRate || f.sampleRate > kMaxRate)
        Unsupported("sample rate " + std::to_string(f.sampleRate) + " Hz");
    const size_t bytesPerSample = f.bitsPerSample / 8;
    const size_t block = bytesPerSample * f.channels;
    if (wave.samples.size() % block != 0)
        Unsupported("data of " + std::to_string(wave.samples.size()) + " bytes is not a whole number of " +
                    std::to_string(block) + "-byte frames");
    const size_t inFrames = wave.samples.size() / block;
    const double seconds = double(inFrames) / f.sampleRate;
    if (seconds > kMaxSeconds) Unsupported("longer than " + std::to_string(int(kMaxSeconds)) + " seconds");

    // Decode to float stereo at the wave's own rate.
    std::vector<float> in(inFrames * 2);
    const uint8_t* p = wave.samples.data();
    for (size_t i = 0; i < inFrames; ++i) {
        float ch[2] = {0.0f, 0.0f};
        for (int c = 0; c < f.channels; ++c) {
            if (bytesPerSample == 1) {
                ch[c] = (float(*p) - 128.0f) / 128.0f;
            } else {
                int16_t s = int16_t(uint16_t(p[0]) | uint16_t(p[1]) << 8);
                ch[c] = float(s) / 32768.0f;
            }
            p += bytesPerSample;
        }
        in[2 * i] = ch[0];
        in[2 * i + 1] = f.channels == 2 ? ch[1] : ch[0];
    }
    if (f.sampleRate == uint32_t(kMixRate)) return in;

    // Resample. Each output frame sits at source position t; the filter's
    // cutoff drops below the source's Nyquist when the rate goes down, so
    // higher waves do not fold back as aliases.
    const double step = double(f.sampleRate) / kMixRate;  // source frames per output frame
    const double cutoff = std::min(1.0, 1.0 / step);
    const double reach = kHalfTaps / cutoff;  // half-width in source frames
    const size_t outFrames = size_t(std::ceil(double(inFrames) / step));
    const std::vector<float>& table = KernelTable();
    std::vector<float> out(outFrames * 2);
    // Where the output frames fall between source frames repeats (twice a
    // frame from 22050 Hz): the taps' weights of a position already seen are
    // taken again, bit for bit what the kernel gives, without reading it anew.
    struct Phase {
        double fraction = -1.0;
        long firstOffset = 0;
        std::vector<float> taps;
        double weights = 0.0;
    };
    constexpr size_t kPhases = 8;
    std::vector<Phase> phases;
    phases.reserve(kPhases);
    for (size_t o = 0; o < outFrames; ++o) {
        const double t = double(o) * step;
        const long first = long(std::floor(t - reach)) + 1;
        const long last = long(std::floor(t + reach));
        const double whole = std::floor(t);
        const double fraction = t - whole;
        const long firstOffset = first - long(whole);
        const size_t count = size_t(last - first + 1);
        const Phase* phase = nullptr;
        for (const Phase& p : phases)
            if (p.fraction == fraction && p.firstOffset == firstOffset && p.taps.size() == count) phase = &p;
        if (!phase && phases.size() < kPhases) {
            Phase p{fraction, firstOffset, std::vector<float>(count), 0.0};
            for (long j = first; j <= last; ++j) {
                const float w = Kernel(table, (t - double(j)) * cutoff);
                p.taps[size_t(j - first)] = w;
                p.weights += w;
            }
            phases.push_back(std::move(p));
            phase = &phases.back();
        }
        double sumL = 0.0, sumR = 0.0, weights = 0.0;
        if (phase) {
            weights = phase->weights;
            const long from = std::max(first, 0L), to = std::min(last, long(inFrames) - 1);
            for (long j = from; j <= to; ++j) {
                const float w = phase->taps[size_t(j - first)];
                sumL += w * in[2 * size_t(j)];
                sumR += w * in[2 * size_t(j) + 1];
            }
        } else {
            for (long j = first; j <= last; ++j) {
                float w = Kernel(table, (t - double(j)) * cutoff);
                weights += w;
                if (j < 0 || j >= long(inFrames)) continue;
                sumL += w * in[2 * size_t(j)];
                sumR += w * in[2 * size_t(j) + 1];
            }
        }
        // Normalised by the whole kernel's weight (also taps beyond the ends),
        // so a constant level passes unchanged and the ends fade naturally.
        const double norm = weights > 0.0 ? 1.0 / weights : 0.0;
        out[2 * o] = float(sumL * norm);
        out[2 * o + 1] = float(sumR * norm);
    }
    return out;
}
