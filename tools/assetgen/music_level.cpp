// Module levelling: render, measure the integrated loudness, scale every
// volume (the C effect of each cell and each sample's default volume) by the
// difference, and repeat until the song lies within a quarter LU of the
// target. Volume slides and silences keep their meaning.
#include "music_level.h"

#include <algorithm>
#include <cmath>

#include "loudness.h"
#include "module_render.h"

namespace {

void ScaleVolumes(mod::Module& module, double factor) {
    auto scale = [&](int v) { return v == 0 ? 0 : std::clamp(int(std::lround(v * factor)), 1, 64); };
    for (mod::Sample& s : module.samples) s.volume = scale(s.volume);
    for (mod::Pattern& p : module.patterns)
        for (auto& row : p.rows)
            for (mod::Cell& c : row)
                if (c.effect == 0xC) c.param = scale(c.param);
}

}  // namespace

mod::Module LevelModule(mod::Module module, const std::string& name) {
    for (int pass = 0; pass < 5; ++pass) {
        const RenderedModule r = RenderModule(mod::WriteModule(module), 44100, name);
        const double lufs = IntegratedLoudness(r.stereo, 44100);
        if (std::fabs(lufs - kSongLufs) < 0.25) break;
        ScaleVolumes(module, FromDb(kSongLufs - lufs));
    }
    return module;
}
