// Radix-2 FFT power spectra and the spectral centroid used by the audio
// review (summary table and spectrograms).
#include "spectrum.h"

#include <cmath>
#include <complex>

namespace {

void Fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double angle = -2.0 * M_PI / double(len);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w(1.0, 0.0);
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

}  // namespace

std::vector<double> PowerSpectrum(const std::vector<float>& stereo, size_t start, int size) {
    const size_t frames = stereo.size() / 2;
    std::vector<std::complex<double>> a(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i) {
        const size_t f = start + size_t(i);
        const double mono = f < frames ? 0.5 * (double(stereo[2 * f]) + double(stereo[2 * f + 1])) : 0.0;
        const double hann = 0.5 - 0.5 * std::cos(2.0 * M_PI * i / size);
        a[size_t(i)] = mono * hann;
    }
    Fft(a);
    std::vector<double> power(size_t(size) / 2 + 1);
    for (size_t k = 0; k < power.size(); ++k) power[k] = std::norm(a[k]);
    return power;
}

double SpectralCentroid(const std::vector<float>& stereo, int rate) {
    constexpr int kSize = 4096;
    const size_t frames = stereo.size() / 2;
    double weighted = 0.0, total = 0.0;
    for (size_t start = 0; start < frames; start += kSize / 2) {
        const std::vector<double> power = PowerSpectrum(stereo, start, kSize);
        for (size_t k = 1; k < power.size(); ++k) {
            weighted += power[k] * double(k) * rate / kSize;
            total += power[k];
        }
    }
    return total > 0.0 ? weighted / total : 0.0;
}

double PowerAboveDb(const std::vector<float>& stereo, int rate, double hz) {
    constexpr int kSize = 4096;
    const size_t frames = stereo.size() / 2;
    double above = 0.0, total = 0.0;
    for (size_t start = 0; start < frames; start += kSize / 2) {
        const std::vector<double> power = PowerSpectrum(stereo, start, kSize);
        for (size_t k = 1; k < power.size(); ++k) {
            total += power[k];
            if (double(k) * rate / kSize >= hz) above += power[k];
        }
    }
    return total > 0.0 && above > 0.0 ? 10.0 * std::log10(above / total) : -120.0;
}
