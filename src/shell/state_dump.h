// The state dump of the headless runner: the scene, Progress, the counters
// of the game and the shell, the menu page, the saved tables, the in-use
// elements of every entity array and the back surface's hash, as JSON.
#pragma once
#include <string>

struct World;

std::string StateDumpJson(const World& w);
// Writes StateDumpJson to path; throws std::runtime_error naming the file.
void WriteStateDump(const World& w, const std::string& path);
