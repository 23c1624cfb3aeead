// The main loop of the kavrix program, in a window or headless: start-up,
// events between frames, one frame per tick, input scripts, screenshots,
// state dumps, recording and replaying, shutdown.
#pragma once
#include <string>

#include "shell/options.h"

struct World;

// Runs the game with these options; returns the process exit status
// (0 success, 1 start-up or run error, 3 a replay that went its own way).
int RunKavrix(const RunOptions& options);
// The data directory when --data is not given: the working directory when
// it holds video/rakety.lev, else data/ next to the program (a build tree's
// kavrix finds build/data), else the working directory.
std::string DefaultDataDir();
// What the menu's Start does, then straight into the game: the first free
// profile slot gets the new player (saved), the level is built and the game
// scene entered. Throws std::runtime_error on a name that is not cp1250 or
// longer than 20 characters.
void StartNewGame(World& w, const std::string& utf8Name, int difficulty, int level);
// Writes the back surface as an RGB PNG; throws std::runtime_error naming the file.
void WriteScreenshot(const World& w, const std::string& path);
