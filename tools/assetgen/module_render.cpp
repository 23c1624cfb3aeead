// Module playback for the asset generator: the whole song once, no repeat,
// at libopenmpt's default settings (the game's music service uses the same).
#include "module_render.h"

#include <libopenmpt/libopenmpt.h>

#include <stdexcept>

namespace {

void Collect(const char* message, void* user) {
    if (message) static_cast<std::vector<std::string>*>(user)->push_back(message);
}

}  // namespace

RenderedModule RenderModule(const std::vector<uint8_t>& bytes, int rate, const std::string& name) {
    RenderedModule out;
    openmpt_module* module = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), Collect, &out.log, nullptr,
                                                                nullptr, nullptr, nullptr, nullptr);
    if (!module) throw std::runtime_error("libopenmpt cannot load " + name);
    out.durationMs = int64_t(openmpt_module_get_duration_seconds(module) * 1000.0 + 0.5);
    std::vector<float> buffer(2 * 4096);
    while (size_t frames = openmpt_module_read_interleaved_float_stereo(module, rate, 4096, buffer.data()))
        out.stereo.insert(out.stereo.end(), buffer.begin(), buffer.begin() + long(2 * frames));
    openmpt_module_destroy(module);
    return out;
}
