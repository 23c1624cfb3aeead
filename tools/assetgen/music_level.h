// Brings a composed module to the loudness every song of the game shares,
// by scaling its note and sample volumes, measured as libopenmpt plays it.
#pragma once
#include <string>

#include "mod_writer.h"

constexpr double kSongLufs = -16.0;

// Throws std::runtime_error naming the module when it cannot be played.
mod::Module LevelModule(mod::Module module, const std::string& name);
