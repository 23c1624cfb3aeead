// The page's own controls as the game's input in the browser build: the touch
// screen's buttons and its drag (input states, as a pad's buttons and stick
// give them), its taps (the pointer moved there and clicked) and the
// characters typed into the on-screen keyboard's field. The page calls the
// kavrix_page_* functions between frames (web/touch.js); the platform takes
// what they left before each frame and tells the page which controls the
// scene wants.
#pragma once
#include <vector>

#include "media/input.h"
#include "media/platform.h"

// The pointer moves and clicks the page sent since the last call, and the
// next character typed (one a frame, as the menu takes them).
void TakePageEvents(std::vector<PlatformEvent>& events);
// The input states the page's controls hold now.
InputSet PageInputStates();
// Tells the page the controls the scene wants (only when they change).
void ShowPageControls(const ControlsHint& hint);
