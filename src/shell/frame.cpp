// Placeholder until the frame is built; replaced by its own implementation.
#include "shell/frame.h"

#include "shell/world.h"

void SampleInput(World& w) {
    Platform* platform = w.media.platform;
    if (!platform) return;
    UpdateInput(w.media.input, StatesFromKeys(platform->HeldKeys()) | platform->JoystickStates());
}
void DXTimerTimer(World&) {}
void RunGameScene(World&) {}
