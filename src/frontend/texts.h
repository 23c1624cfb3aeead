// The texts of the language in use: the two hidden text lists, Texty (story
// and commander messages) and Prikazy (menu terminal lines), and the other
// words (state/words.h), written in UTF-8 and converted to cp1250 where the
// game draws them.
#pragma once

struct World;

// Fills w.front.Texty, w.front.Prikazy and w.front.words in the language
// w.shell.language names.
void LoadTexts(World& w);
