// Brings a finished sound effect to the loudness of its role: measured as
// the game plays it, scaled, and where the peak would pass the ceiling,
// rounded off by a soft saturator so that dense sounds (explosions) can be
// loud without their true peak passing -1 dBTP.
#pragma once
#include <vector>

#include "levpack.h"
#include "sound_roles.h"
#include "synth.h"

// The wave as the game's mixer holds it: 44100 Hz stereo float.
std::vector<float> WaveAsPlayed(const levpack::WaveEntry& wave);

// Levels buf (mono at rate) so that its loudest 400 ms lies at targetLufs
// (as the game plays it); saturates gently where the ceiling demands it.
// Looped sounds keep their loop joint: nothing is faded.
synth::Buffer LevelTo(synth::Buffer buf, int rate, double targetLufs);
// The middle of the role's band.
double RoleLevel(SoundRole role);
