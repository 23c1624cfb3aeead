// The starting state a kept replay carries: the whole world as a game found
// it when it began (a new game started mid-session, a profile loaded), so the
// replay plays on its own, whatever became of the profiles and the session
// since. Written as "state" lines of the recording, read back before its
// first frame; its "hash 0" line proves what was read.
#pragma once
#include <cstdint>
#include <string>

struct World;
class LineBuffer;

// Writes the state as "state" lines: every field of the field list
// (state/state_fields.h), then what the game reads outside it: the input
// states' edges, the music as the game sees it, the canvas's pen and font,
// the scenery in place and the clock (the platform's milliseconds at the
// replay's first frame).
void WriteStartingState(const World& w, uint32_t clock, LineBuffer& out);

// Reads the words of the "state" lines back into w and returns the clock;
// the song and the scenery are loaded again and every sound is stopped.
// Throws std::runtime_error saying what is wrong (w may then be partly
// overwritten).
uint32_t ReadStartingState(World& w, const std::string& words);
