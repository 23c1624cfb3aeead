// The menu's pointer moved by a pad's left stick: slowly near the centre for
// aiming at a button, fast at full deflection.
#pragma once

// The pointer's next place from (x, y) for a stick at (stickX, stickY), each
// -1000..1000; false when the stick rests in its dead zone (no move).
bool PadPointerStep(int x, int y, int stickX, int stickY, int& nextX, int& nextY);
