// Writes the game's sounds: the wave collection "audio/zvuky.lev" and the six
// tracker modules; and renders all of them to WAV files for listening.
#include <libopenmpt/libopenmpt.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "assetgen.h"
#include "audio_assets.h"
#include "levpack.h"

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// A plain 16-bit PCM WAV file for the listening preview.
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

void LogToStderr(const char* message, void*) {
    if (message) std::fprintf(stderr, "libopenmpt: %s\n", message);
}

std::vector<uint8_t> RenderModule(const ModuleFile& file, int rate) {
    openmpt_module* module = openmpt_module_create_from_memory2(
        file.bytes.data(), file.bytes.size(), LogToStderr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!module) throw std::runtime_error("libopenmpt cannot load " + file.fileName);
    std::vector<uint8_t> pcm;
    std::vector<int16_t> buffer(2 * 4096);
    while (true) {
        size_t frames = openmpt_module_read_interleaved_stereo(module, rate, 4096, buffer.data());
        if (frames == 0) break;
        for (size_t i = 0; i < frames * 2; ++i) PutU16(pcm, static_cast<uint16_t>(buffer[i]));
    }
    openmpt_module_destroy(module);
    return pcm;
}

}  // namespace

void GenerateAudio(const std::string& outDir) {
    std::filesystem::create_directories(outDir + "/audio");
    levpack::WriteFile(outDir + "/audio/zvuky.lev", levpack::WriteWaveCollection(MakeSoundEffects()));
    for (const ModuleFile& m : MakeModules()) levpack::WriteFile(outDir + "/audio/" + m.fileName, m.bytes);
}

void RenderAudioPreview(const std::string& dir) {
    std::filesystem::create_directories(dir);
    for (const levpack::WaveEntry& w : MakeSoundEffects())
        levpack::WriteFile(dir + "/wave_" + w.name + ".wav", WavFile(w.channels, w.sampleRate, w.samples));
    for (const ModuleFile& m : MakeModules()) {
        std::string stem = m.fileName.substr(0, m.fileName.find('.'));
        levpack::WriteFile(dir + "/module_" + stem + ".wav", WavFile(2, 44100, RenderModule(m, 44100)));
    }
}
