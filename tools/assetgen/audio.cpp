// Writes the game's sounds: the wave collection "audio/zvuky.lev" and the six
// tracker modules.
#include <filesystem>
#include <string>

#include "assetgen.h"
#include "audio_assets.h"
#include "levpack.h"

void GenerateAudio(const std::string& outDir) {
    std::filesystem::create_directories(outDir + "/audio");
    levpack::WriteFile(outDir + "/audio/zvuky.lev", levpack::WriteWaveCollection(MakeSoundEffects()));
    for (const ModuleFile& m : MakeModules()) levpack::WriteFile(outDir + "/audio/" + m.fileName, m.bytes);
}
