// The game's two hidden text lists, Texty (story and commander messages) and
// Prikazy (menu terminal lines), written in UTF-8 and converted to cp1250.
#pragma once


struct World;

// Fills w.front.Texty and w.front.Prikazy.
void LoadTexts(World& w);
