// The role of each of the game's sounds and the loudness its role asks for.
// Loudness is the loudest 400 ms window (momentary, LUFS) of the sound alone
// at full sound volume, played as the game plays it: the mono wave on both
// speakers. Most effects are shorter than a 3 s short-term window, so the
// 400 ms window is the one that hears the sound itself.
#pragma once
#include <string>

enum class SoundRole { Impact, Weapon, Reward, Warning, Interface };

struct RoleTarget {
    const char* title;
    double lowLufs;   // loudest 400 ms of every sound of the role lies in
    double highLufs;  // lowLufs .. highLufs
};

// Throws std::invalid_argument for a name the game does not play.
SoundRole RoleOf(const std::string& soundName);
const RoleTarget& TargetOf(SoundRole role);
// Every sound at most this true peak (dBTP).
constexpr double kMaxTruePeakDb = -1.0;
