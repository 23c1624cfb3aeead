// The asset generator: draws every picture and synthesises every wave and
// module of the game into a data directory, deterministically.
#pragma once
#include <string>

// Writes video/rakety.lev, video/obrazky.lev, video/menu.lev, video/mesto.lev
// and video/velkalod.lev under outDir.
void GeneratePictures(const std::string& outDir);
// Writes audio/zvuky.lev and audio/intro.mod, audio/song01.mod .. song05.mod.
void GenerateAudio(const std::string& outDir);
// Renders every picture of every collection with its name into a PNG.
void WriteContactSheet(const std::string& pngPath);
// Renders every wave and each module to WAV files under dir, for listening,
// with summary.txt (loudness, range, true peak, centroid of each) and a
// spectrogram PNG per module.
void RenderAudioPreview(const std::string& dir);
