// The text sets of the languages as they are written (UTF-8): each holds
// the story and the commander's messages (Texty), the menu terminal's
// lines (Prikazy) and the other words (captions, prompts, the help page's
// key words, message boxes). texts.cpp loads the one in use.
#pragma once
#include <string_view>
#include <vector>

#include "state/language.h"
#include "state/words.h"

struct TextSource {
    // Lines 0..8 the story; "#<level>" opens a level's commander messages,
    // "#" separates the further messages of level 9 and ends the last block.
    std::vector<std::string_view> texty;
    // Line 0 greets the user, lines 1..4 are the credits, the rest are the
    // terminal's made-up operations shown at random.
    std::vector<std::string_view> prikazy;
    Words words;  // UTF-8 as written
};

const TextSource& CzechTexts();
const TextSource& EnglishTexts();
inline const TextSource& TextsOf(Language language) {
    return language == Language::English ? EnglishTexts() : CzechTexts();
}
