// The faces the game draws text in, found through fontconfig: "Arial" (any
// face with Arial's metrics, Liberation Sans on most systems), regular and
// bold, and "System" (DejaVu Sans Bold).
#pragma once
#include <string>

enum GameFont { kArialRegular, kArialBold, kSystem, kGameFontCount };

struct FontLocation {
    std::string path;
    int index = 0;  // the face within a collection file
};

// Where the face's font file is. Throws MediaError naming the face asked for
// when no installed font has its metrics and weight.
FontLocation FindGameFont(GameFont font);
