// Plays a generated module through libopenmpt, as the game's music service
// does, into interleaved stereo float samples.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct RenderedModule {
    std::vector<float> stereo;     // interleaved, at the requested rate
    int64_t durationMs = 0;        // as the game counts the song's length
    std::vector<std::string> log;  // libopenmpt's messages (none expected)
};

// Throws std::runtime_error naming the module when libopenmpt cannot load it.
RenderedModule RenderModule(const std::vector<uint8_t>& bytes, int rate, const std::string& name);
