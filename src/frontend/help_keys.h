// The keys the player has bound, written on the help page beside the
// actions its picture names: the keyboard's keys of every action and the
// pad's buttons, in the words of the language in use.
#pragma once

struct World;

// Draws the bound keys into the open help page's columns.
void DrawHelpKeys(World& w);
