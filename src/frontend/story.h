// The ending animation "Animace" after the mother ship is destroyed.
#pragma once

struct World;

void RunStoryAnimation(World& w);
// Ends the story: the menu's score page, the profile slot freed. The frame
// calls it when the story asks at its natural end; a key press, at once.
void EndStory(World& w);
