// The frame: clear, input, the active scene's routines, the global keys,
// the frame-rate text and presenting. Runs once per 16 ms tick.
#pragma once

struct World;

void RunFrame(World& w);
