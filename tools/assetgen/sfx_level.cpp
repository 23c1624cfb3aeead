// Loudness levelling of the sound effects (see sfx_level.h). Each pass
// measures the sound through the game's own wave conversion with
// libebur128, corrects the gain towards the target and, when the true peak
// would pass the ceiling, runs a tanh saturator a little below it.
#include "sfx_level.h"

#include <algorithm>
#include <cmath>

#include "loudness.h"
#include "media/wave.h"

namespace {

constexpr double kCeilingDb = -1.4;  // true peak aimed at, under the -1 dBTP limit

Loudness Measure(const synth::Buffer& buf, int rate) {
    levpack::WaveEntry w;
    w.sampleRate = rate;
    w.samples = synth::ToPcm16(buf);
    return MeasureLoudness(WaveAsPlayed(w), 44100);
}

void Scale(synth::Buffer& buf, double db) {
    const float k = float(FromDb(db));
    for (float& s : buf) s *= k;
}

}  // namespace

std::vector<float> WaveAsPlayed(const levpack::WaveEntry& wave) {
    WaveData data;
    data.format.channels = uint16_t(wave.channels);
    data.format.sampleRate = uint32_t(wave.sampleRate);
    data.format.bitsPerSample = uint16_t(wave.bitsPerSample);
    data.format.blockAlign = uint16_t(wave.channels * wave.bitsPerSample / 8);
    data.format.byteRate = data.format.blockAlign * data.format.sampleRate;
    data.samples = wave.samples;
    return ConvertToMixFormat(data);
}

double RoleLevel(SoundRole role) {
    const RoleTarget& t = TargetOf(role);
    return 0.5 * (t.lowLufs + t.highLufs);
}

synth::Buffer LevelTo(synth::Buffer buf, int rate, double targetLufs) {
    synth::Normalize(buf, 0.5f);
    for (int pass = 0; pass < 24; ++pass) {
        Loudness l = Measure(buf, rate);
        Scale(buf, targetLufs - l.momentaryMax);
        l = Measure(buf, rate);
        if (l.truePeak <= kCeilingDb + 0.3 && std::fabs(l.momentaryMax - targetLufs) < 0.15) break;
        if (l.truePeak > kCeilingDb + 0.3) {
            // Round the peaks off just under the ceiling; quieter parts pass
            // almost unchanged, so the next pass can lift the whole sound.
            const float c = float(FromDb(kCeilingDb - 0.6));
            for (float& s : buf) s = c * std::tanh(s / c);
        }
    }
    // Whatever the passes reached, the true peak stays under the limit.
    const Loudness l = Measure(buf, rate);
    if (l.truePeak > kCeilingDb) Scale(buf, kCeilingDb - l.truePeak);
    return buf;
}
