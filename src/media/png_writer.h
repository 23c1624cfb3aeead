// Saves the back surface as a PNG file: screenshots of the headless runner
// and pictures for reviewing what a scene draws.
#pragma once
#include <string>

#include "media/surface.h"

// Writes the 800 x 600 surface as 8-bit RGB; false when the file cannot be written.
bool WritePng(const Surface& surface, const std::string& path);
