// The frame: clear, input, the active scene's routines, the global keys,
// the frame-rate text and presenting. Runs once per 16 ms tick.
#pragma once


struct World;

void DXTimerTimer(World& w);
// The gameplay steps of scene "HlavniHra" (music upkeep .. finish-line save).
void RunGameScene(World& w);
// Samples keyboard and joystick into the input states (UpdateInput).
void SampleInput(World& w);
