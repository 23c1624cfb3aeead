// Program start and end: loading the collections, priming the sounds,
// reading the saved files, resetting the game and starting the music library.
#pragma once
#include <cstdint>

struct World;

// Throws MediaError / std::runtime_error when a collection cannot be loaded.
void StartUp(World& w);
void LoadAssets(World& w);
// The part of LoadAssets that reads the data directory: the five collections
// in their order, the texts and the fonts. Throws MediaError naming the file.
void LoadGameData(World& w);
void ShutDown(World& w);
// The value the random source is seeded with "from the clock": the --seed
// value when one was given (so runs and replays repeat), else the wall clock.
uint32_t ClockSeed(const World& w);
