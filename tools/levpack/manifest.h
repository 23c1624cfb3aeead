// The levpack command's input: a text manifest naming PNG pictures or raw
// PCM sounds with their item properties, packed into one collection file.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "levpack.h"

namespace levpack {

// A manifest line or input file that cannot be used; the message names the
// manifest, its line and the fault.
struct ManifestError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads a PNG file into 0xBBGGRR pixels. Pixels with alpha below 128 become
// `clearColour` (the picture's transparent colour).
void ReadPng(const std::string& path, uint32_t clearColour, int& width, int& height, std::vector<uint32_t>& pixels);

// Picture manifest, one item a line ('#' starts a comment):
//   NAME FILE.png [pattern=WxH] [skip=WxH] [transparent=yes|no] [key=COLOUR]
//                 [system=yes|no] [data=dib|bitmap|jpeg] [quality=1..100]
// COLOUR is 0xBBGGRR, a decimal number, or a name such as clFuchsia.
// Wave manifest:
//   NAME FILE.raw [rate=22050] [channels=1] [bits=16] [looped=yes|no] [max=N]
// where FILE.raw holds the PCM samples as they go into the "data" chunk.
// File names are relative to the manifest's directory.
std::vector<PictureEntry> ReadPictureManifest(const std::string& manifestPath);
std::vector<WaveEntry> ReadWaveManifest(const std::string& manifestPath);

// The whole command: "pictures OUT MANIFEST" or "waves OUT MANIFEST".
// Returns the exit status; messages go to `errors`.
int RunLevpack(const std::vector<std::string>& args, std::string& errors);

}  // namespace levpack
