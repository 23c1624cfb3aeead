// The one place where the scene changes that the game and the front end ask
// for (state/scene_requests.h) are carried out.
#pragma once

struct World;

// Carries out the requests asked for so far, in the order asked, and clears
// them. The frame calls it after each of its scene steps.
void ApplySceneRequests(World& w);
