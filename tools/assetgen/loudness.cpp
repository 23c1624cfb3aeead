// EBU R 128 measurements through libebur128. The loudest momentary and
// short-term windows are found by feeding the sound in short steps and
// reading the window that ends at each step.
#include "loudness.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "spectrum.h"

namespace {

struct State {
    ebur128_state* st;
    State(int rate, int mode) : st(ebur128_init(2, unsigned(rate), mode)) {
        if (!st) throw std::runtime_error("libebur128 cannot measure at " + std::to_string(rate) + " Hz");
    }
    ~State() { ebur128_destroy(&st); }
    void Add(const float* stereo, size_t frames) {
        if (frames && ebur128_add_frames_float(st, stereo, frames) != EBUR128_SUCCESS)
            throw std::runtime_error("libebur128 refused the samples");
    }
};

double Finite(double lufs) { return std::isfinite(lufs) ? lufs : -120.0; }

}  // namespace

double ToDb(double linear) { return linear > 0.0 ? 20.0 * std::log10(linear) : -120.0; }
double FromDb(double db) { return std::pow(10.0, db / 20.0); }

Loudness MeasureLoudness(const std::vector<float>& stereo, int rate) {
    State s(rate, EBUR128_MODE_I | EBUR128_MODE_LRA | EBUR128_MODE_M | EBUR128_MODE_S | EBUR128_MODE_TRUE_PEAK);
    std::vector<float> padded = stereo;
    const size_t minFrames = size_t(rate) * 2 / 5;
    if (padded.size() / 2 < minFrames) padded.resize(minFrames * 2, 0.0f);
    // 10 ms steps for effects; songs are read in 100 ms steps, the hop of
    // the measurement's own blocks.
    const size_t frames = padded.size() / 2, step = size_t(rate) / (frames > size_t(rate) * 10 ? 10 : 100);
    Loudness out;
    out.seconds = double(stereo.size() / 2) / rate;
    out.momentaryMax = out.shortTermMax = -120.0;
    for (size_t at = 0; at < frames; at += step) {
        const size_t n = std::min(step, frames - at);
        s.Add(padded.data() + 2 * at, n);
        double m = 0.0, st = 0.0;
        if (at + n >= minFrames && ebur128_loudness_momentary(s.st, &m) == EBUR128_SUCCESS)
            out.momentaryMax = std::max(out.momentaryMax, Finite(m));
        if (ebur128_loudness_shortterm(s.st, &st) == EBUR128_SUCCESS)
            out.shortTermMax = std::max(out.shortTermMax, Finite(st));
    }
    double value = 0.0;
    ebur128_loudness_global(s.st, &value);
    out.integrated = Finite(value);
    if (ebur128_loudness_range(s.st, &value) == EBUR128_SUCCESS) out.range = std::isfinite(value) ? value : 0.0;
    double peak = 0.0;
    for (unsigned ch = 0; ch < 2; ++ch) {
        double p = 0.0;
        ebur128_true_peak(s.st, ch, &p);
        peak = std::max(peak, p);
    }
    out.truePeak = ToDb(peak);
    out.centroidHz = SpectralCentroid(stereo, rate);
    return out;
}

double IntegratedLoudness(const std::vector<float>& stereo, int rate) {
    State s(rate, EBUR128_MODE_I);
    s.Add(stereo.data(), stereo.size() / 2);
    double value = 0.0;
    ebur128_loudness_global(s.st, &value);
    return Finite(value);
}

std::vector<double> ShortTermCurve(const std::vector<float>& stereo, int rate, double stepSeconds) {
    State s(rate, EBUR128_MODE_S);
    const size_t frames = stereo.size() / 2, step = size_t(stepSeconds * rate);
    std::vector<double> curve;
    for (size_t at = 0; at + step <= frames; at += step) {
        s.Add(stereo.data() + 2 * at, step);
        double st = 0.0;
        ebur128_loudness_shortterm(s.st, &st);
        curve.push_back(Finite(st));
    }
    return curve;
}
