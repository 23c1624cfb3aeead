// The game's generated sound assets in memory: the wave collection items of
// "audio\zvuky.lev" and the tracker modules of the intro, menu and game.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "levpack.h"

// Every sound effect, in collection order (the first 26 are primed at
// start-up); 16-bit mono PCM at kSfxRate.
constexpr int kSfxRate = 22050;
std::vector<levpack::WaveEntry> MakeSoundEffects();

struct ModuleFile {
    std::string fileName;  // e.g. "intro.mod", placed under audio/
    std::vector<uint8_t> bytes;
};
// "intro.mod" and "song01.mod" .. "song05.mod".
std::vector<ModuleFile> MakeModules();
