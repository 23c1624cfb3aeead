// Loudness of the game's sounds as a listener meets them, measured with
// libebur128 (EBU R 128): integrated loudness, loudness range, the loudest
// 400 ms (momentary) and 3 s (short-term) windows, true peak, and the
// spectral centroid; on interleaved stereo float at any rate.
#pragma once
#include <vector>

struct Loudness {
    double seconds = 0;
    double integrated = 0;    // LUFS; -inf (or very low) for silence
    double range = 0;         // LU (0 for sounds shorter than a few seconds)
    double momentaryMax = 0;  // LUFS, loudest 400 ms window
    double shortTermMax = 0;  // LUFS, loudest 3 s window
    double truePeak = 0;      // dBTP (4x oversampled)
    double centroidHz = 0;    // power-weighted mean frequency
};

// Short sounds are measured as if followed by silence up to 400 ms, so that
// every sound has at least one full momentary window.
Loudness MeasureLoudness(const std::vector<float>& stereo, int rate);

// Integrated loudness alone (quicker than the full measurement).
double IntegratedLoudness(const std::vector<float>& stereo, int rate);

// Short-term loudness (3 s window) every stepSeconds, in LUFS.
std::vector<double> ShortTermCurve(const std::vector<float>& stereo, int rate, double stepSeconds);

// dB of a linear amplitude ratio, and back.
double ToDb(double linear);
double FromDb(double db);
