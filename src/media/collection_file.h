// Reading collection files (".lev"): the resource header, the "TPF0" object
// stream with its tagged values, picture items with their bitmap data
// ("TDIB", "TBitmap", "TJPEGImage") and wave items with their RIFF images.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "media/picture.h"
#include "media/sound.h"

// Both throw MediaError with the messages "Cannot open file <name>",
// "Invalid stream format", "DIB is invalid", "Wave is invalid" or a read
// error naming the property; the collection then holds the items read so far.
void LoadPictureCollection(PictureCollection& collection, const std::string& path);
void LoadWaveCollection(WaveCollection& collection, const std::string& path);
// The same from bytes already in memory (tests, fuzzer).
void ReadPictureCollection(PictureCollection& collection, const std::vector<uint8_t>& bytes);
void ReadWaveCollection(WaveCollection& collection, const std::vector<uint8_t>& bytes);

// Decoders of the picture data classes; throw MediaError "DIB is invalid"
// (or a JPEG error) on damaged data.
RgbImage DecodePackedDib(const uint8_t* data, size_t size);
RgbImage DecodeBmpFile(const uint8_t* data, size_t size);
RgbImage DecodeJpeg(const uint8_t* data, size_t size);
// Maps "clFuchsia" and the other colour identifiers; false if unknown.
bool ColorFromIdentifier(const std::string& name, uint32_t& colour);
