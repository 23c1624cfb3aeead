// The browser build's frame loop: the page's animation frames call the
// game's tick once for every 16 ms that has passed, so the game keeps its
// 62.5 frames a second on any display. The desktop loops in the runner and
// has no use for it.
#pragma once
#include <functional>

// Calls tick() for every 16 ms tick due, until it returns false; then
// finished(), whose status ends the program. Returns to the browser at once:
// what runs afterwards runs from the page's frames.
void RunFrameLoop(std::function<bool()> tick, std::function<int()> finished);
