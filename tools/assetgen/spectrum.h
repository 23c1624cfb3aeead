// Power spectra of audio for the review aids: a radix-2 FFT over Hann
// windows of the mono sum of interleaved stereo float samples.
#pragma once
#include <cstddef>
#include <vector>

// Power per bin (size/2 + 1 bins, bin k at k * rate / size) of the window of
// `size` frames (a power of two) starting at frame `start`; frames past the
// end count as silence.
std::vector<double> PowerSpectrum(const std::vector<float>& stereo, size_t start, int size);
// Power-weighted mean frequency of the whole sound, in Hz.
double SpectralCentroid(const std::vector<float>& stereo, int rate);
// Share of the sound's power above hz, in dB (0 = all of it).
double PowerAboveDb(const std::vector<float>& stereo, int rate, double hz);
