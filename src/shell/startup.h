// Program start and end: loading the collections, priming the sounds,
// reading the saved files, resetting the game and starting the music library.
#pragma once


struct World;

// Throws MediaError / std::runtime_error when a collection cannot be loaded.
void FormCreate(World& w);
void LoadAssets(World& w);
void FormDestroy(World& w);
