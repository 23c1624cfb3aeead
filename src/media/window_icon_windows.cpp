// The window's icon on Windows is the program's own: the icon resource
// linked into kavrix.exe (windows/kavrix.rc), which SDL gives its window
// class in both sizes Windows asks for (the task bar's and the title bar's,
// for the screen's scale). A single picture set on the window afterwards
// could only replace those with one scaled size, so none is read here.
#include "media/window_icon.h"

bool ReadWindowIcon(std::vector<uint8_t>&, int&) { return false; }
