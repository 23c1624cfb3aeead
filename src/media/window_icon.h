// The game's icon for its window (the one the desktop's task bar and window
// switcher show): the 64 x 64 PNG of the desktop icon, read from the icon
// theme installed beside the program or from the build folder's icons.
#pragma once
#include <cstdint>
#include <vector>

// The icon as size x size pixels of four bytes each, red, green, blue and
// alpha; false (and nothing read) when no icon file is found or readable,
// and always on Windows, where the window has the program's own icon.
bool ReadWindowIcon(std::vector<uint8_t>& rgba, int& size);
