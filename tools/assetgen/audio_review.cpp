// The listening and review aids of `assetgen --render-audio DIR`: every wave
// and module as a WAV file, a one-page summary table of their loudness,
// range, true peak and spectral centroid (summary.txt), and a spectrogram
// with the short-term loudness curve of each module (spectrogram_*.png).
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "assetgen.h"
#include "audio_assets.h"
#include "levpack.h"
#include "loudness.h"
#include "media/music.h"
#include "module_render.h"
#include "sfx_level.h"
#include "sound_roles.h"
#include "spectrum.h"

namespace {

constexpr int kRate = 44100;

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// A plain 16-bit PCM WAV file for listening.
std::vector<uint8_t> WavFile(int channels, int rate, const std::vector<uint8_t>& pcm) {
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    PutU32(out, static_cast<uint32_t>(36 + pcm.size()));
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutU32(out, 16);
    PutU16(out, 1);
    PutU16(out, channels);
    PutU32(out, rate);
    PutU32(out, rate * channels * 2);
    PutU16(out, channels * 2);
    PutU16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutU32(out, static_cast<uint32_t>(pcm.size()));
    out.insert(out.end(), pcm.begin(), pcm.end());
    return out;
}

std::vector<uint8_t> Pcm16(const std::vector<float>& samples) {
    std::vector<uint8_t> pcm;
    pcm.reserve(samples.size() * 2);
    for (float s : samples) PutU16(pcm, uint16_t(int16_t(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f))));
    return pcm;
}

std::string Fmt(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// ---- Spectrogram --------------------------------------------------------

constexpr int kPlotW = 1200, kPlotH = 400, kStripH = 130, kLeft = 60, kTop = 30, kGap = 24;
constexpr double kLowHz = 40.0, kHighHz = 16000.0;

double RowHz(double y) { return kLowHz * std::pow(kHighHz / kLowHz, 1.0 - y / kPlotH); }
double HzRow(double hz) { return kPlotH * (1.0 - std::log(hz / kLowHz) / std::log(kHighHz / kLowHz)); }

// Dark violet through red and orange to pale yellow for -100 .. -10 dBFS.
void HeatColour(double db, uint8_t rgb[3]) {
    static const double stops[][3] = {{0, 0, 0}, {60, 15, 100}, {190, 40, 60}, {245, 140, 20}, {255, 250, 190}};
    double t = std::clamp((db + 100.0) / 90.0, 0.0, 1.0) * 4.0;
    int i = std::min(3, int(t));
    double f = t - i;
    for (int c = 0; c < 3; ++c) rgb[c] = uint8_t(stops[i][c] + (stops[i + 1][c] - stops[i][c]) * f);
}

void Label(cairo_t* cr, double x, double y, const std::string& text) {
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
}

void WriteSpectrogram(const std::string& path, const std::string& title, const std::vector<float>& stereo) {
    const int width = kLeft + kPlotW + 20, height = kTop + kPlotH + kGap + kStripH + 40;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.12, 0.12, 0.14);
    cairo_paint(cr);
    cairo_surface_flush(surface);

    const size_t frames = stereo.size() / 2;
    const double seconds = double(frames) / kRate;
    constexpr int kFft = 4096;
    // A full-scale sine through the Hann window peaks at (kFft / 4)^2.
    const double reference = double(kFft) * kFft / 16.0;
    unsigned char* pixels = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int col = 0; col < kPlotW; ++col) {
        const size_t start = size_t(double(col) / kPlotW * double(frames));
        const std::vector<double> power = PowerSpectrum(stereo, start, kFft);
        for (int row = 0; row < kPlotH; ++row) {
            const double hzTop = RowHz(row), hzBottom = RowHz(row + 1);
            size_t k0 = size_t(hzBottom * kFft / kRate), k1 = size_t(hzTop * kFft / kRate);
            k1 = std::max(k1, k0);
            double p = 0.0;
            for (size_t k = k0; k <= k1 && k < power.size(); ++k) p = std::max(p, power[k]);
            uint8_t rgb[3];
            HeatColour(10.0 * std::log10(p / reference + 1e-14), rgb);
            unsigned char* px = pixels + (kTop + row) * stride + (kLeft + col) * 4;
            px[0] = rgb[2], px[1] = rgb[1], px[2] = rgb[0];
        }
    }
    cairo_surface_mark_dirty(surface);

    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 13);
    cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
    Label(cr, kLeft, 20, title + "  (" + Fmt("%.1f", seconds) + " s; colour -100..-10 dBFS; log frequency)");
    cairo_set_font_size(cr, 11);
    cairo_set_line_width(cr, 1.0);
    for (double hz : {100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0}) {
        const double y = kTop + HzRow(hz) + 0.5;
        cairo_set_source_rgba(cr, 1, 1, 1, hz == 2000.0 ? 0.55 : 0.25);
        cairo_move_to(cr, kLeft, y);
        cairo_line_to(cr, kLeft + kPlotW, y);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
        Label(cr, 8, y + 4, hz >= 1000 ? Fmt("%.0fk", hz / 1000) : Fmt("%.0f", hz));
    }
    // Short-term loudness strip: -40 .. -5 LUFS, with the songs' -16 LUFS line.
    const double stripTop = kTop + kPlotH + kGap;
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.07);
    cairo_rectangle(cr, kLeft, stripTop, kPlotW, kStripH);
    cairo_fill(cr);
    auto lufsY = [&](double l) { return stripTop + kStripH * (1.0 - (std::clamp(l, -40.0, -5.0) + 40.0) / 35.0); };
    for (double l : {-30.0, -20.0, -16.0, -10.0}) {
        cairo_set_source_rgba(cr, 1, 1, 1, l == -16.0 ? 0.5 : 0.2);
        cairo_move_to(cr, kLeft, lufsY(l) + 0.5);
        cairo_line_to(cr, kLeft + kPlotW, lufsY(l) + 0.5);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
        Label(cr, 8, lufsY(l) + 4, Fmt("%.0f", l));
    }
    Label(cr, kLeft + 4, stripTop + 12, "short-term loudness, LUFS");
    const double step = 0.1;
    const std::vector<double> curve = ShortTermCurve(stereo, kRate, step);
    cairo_set_source_rgb(cr, 0.4, 0.9, 1.0);
    cairo_set_line_width(cr, 1.5);
    for (size_t i = 0; i < curve.size(); ++i) {
        const double x = kLeft + (i + 1) * step / seconds * kPlotW, y = lufsY(curve[i]);
        if (i == 0) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
    }
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1.0);
    for (int t = 0; t <= int(seconds); t += 10) {
        const double x = kLeft + t / seconds * kPlotW + 0.5;
        cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
        cairo_move_to(cr, x, kTop + kPlotH);
        cairo_line_to(cr, x, kTop + kPlotH + 6);
        cairo_move_to(cr, x, stripTop + kStripH);
        cairo_line_to(cr, x, stripTop + kStripH + 6);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
        Label(cr, x - 8, stripTop + kStripH + 20, std::to_string(t) + "s");
    }
    cairo_destroy(cr);
    const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot write " + path);
}

// ---- Summary table ------------------------------------------------------

std::string Pad(const std::string& s, size_t width) {
    return s.size() >= width ? s : s + std::string(width - s.size(), ' ');
}
std::string Num(const char* format, double v, size_t width) {
    std::string s = Fmt(format, v);
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

}  // namespace

void RenderAudioPreview(const std::string& dir) {
    std::filesystem::create_directories(dir);
    std::string table;
    table += "Kavrix sounds: review summary (assetgen --render-audio)\n\n";
    table += "Waves as the game plays them (44100 Hz, mono on both speakers, full sound volume).\n";
    table += "Loudest 400 ms = the role's measure; the role's band in the last column.\n\n";
    table += Pad("wave", 16) + Pad("role", 11) +
             "   dur s  integ LUFS  LRA LU  max400ms  max3s   TP dBTP  centroid Hz  band\n";
    for (const levpack::WaveEntry& w : MakeSoundEffects()) {
        levpack::WriteFile(dir + "/wave_" + w.name + ".wav", WavFile(w.channels, w.sampleRate, w.samples));
        const Loudness l = MeasureLoudness(WaveAsPlayed(w), kRate);
        const RoleTarget& target = TargetOf(RoleOf(w.name));
        const bool inBand = l.momentaryMax >= target.lowLufs && l.momentaryMax <= target.highLufs;
        table += Pad(w.name, 16) + Pad(target.title, 11) + Num("%.2f", l.seconds, 8) + Num("%.1f", l.integrated, 12) +
                 Num("%.1f", l.range, 8) + Num("%.1f", l.momentaryMax, 10) + Num("%.1f", l.shortTermMax, 7) +
                 Num("%.1f", l.truePeak, 10) + Num("%.0f", l.centroidHz, 13) + "  " + Fmt("%.1f", target.lowLufs) +
                 ".." + Fmt("%.1f", target.highLufs) + (inBand ? "" : " (outside)") +
                 (l.truePeak > kMaxTruePeakDb ? " (peak)" : "") + "\n";
    }
    table += "\nModules as libopenmpt plays them (44100 Hz stereo, unscaled; the game mixes music volume 100 at " +
             Fmt("%.1f", 20.0 * std::log10(double(MusicGain(100)))) + " dB).\n\n";
    table += Pad("module", 12) +
             "  dur ms  integ LUFS  LRA LU  max3s  TP dBTP  centroid Hz  0-10 s: centroid, power >2 kHz\n";
    for (const ModuleFile& m : MakeModules()) {
        const std::string stem = m.fileName.substr(0, m.fileName.find('.'));
        const RenderedModule r = RenderModule(m.bytes, kRate, m.fileName);
        levpack::WriteFile(dir + "/module_" + stem + ".wav", WavFile(2, kRate, Pcm16(r.stereo)));
        WriteSpectrogram(dir + "/spectrogram_" + stem + ".png", m.fileName, r.stereo);
        const Loudness l = MeasureLoudness(r.stereo, kRate);
        const std::vector<float> opening(r.stereo.begin(),
                                         r.stereo.begin() + long(std::min(r.stereo.size(), size_t(2 * 10 * kRate))));
        table += Pad(m.fileName, 12) + Num("%.0f", double(r.durationMs), 8) + Num("%.1f", l.integrated, 12) +
                 Num("%.1f", l.range, 8) + Num("%.1f", l.shortTermMax, 7) + Num("%.1f", l.truePeak, 9) +
                 Num("%.0f", l.centroidHz, 13) + Num("%.0f", SpectralCentroid(opening, kRate), 17) +
                 Num("%.1f dB", PowerAboveDb(opening, kRate, 2000.0), 12) +
                 (r.log.empty() ? "" : "  libopenmpt: " + r.log.front()) + "\n";
    }
    std::ofstream(dir + "/summary.txt") << table;
    std::fputs(table.c_str(), stdout);
}
