// The ending animation "Animace" after the mother ship is destroyed.
#pragma once


struct World;

void RunStoryAnimation(World& w);
// Ends the story as at its natural end (also when a key is pressed).
void EndStory(World& w);
