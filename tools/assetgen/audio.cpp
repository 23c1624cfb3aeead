// Placeholder until the sound and music generators are built.
#include "assetgen.h"
void GenerateAudio(const std::string&) {}
void RenderAudioPreview(const std::string&) {}
