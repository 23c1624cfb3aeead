// Mouse and character input of the drawing surface: hover, clicks on the
// menu's items and buttons, typed characters, Escape and skipping keys.
#pragma once
#include <cstdint>

struct World;

void OnMouseMove(World& w, int x, int y);
void OnClick(World& w);
void OnKey(World& w, uint8_t& key);
