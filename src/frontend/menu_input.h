// Mouse and character input of the drawing surface: hover, clicks on the
// menu's items and buttons, typed characters, Escape and skipping keys.
#pragma once
#include <cstdint>


struct World;

void DXDrawMouseMove(World& w, int x, int y);
void DXDrawClick(World& w);
void DXDrawKeyPress(World& w, uint8_t& key);
