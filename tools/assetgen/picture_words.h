// The words painted into pictures, in either of the game's languages. The
// pictures are drawn once per language: Czech into the game's own files,
// English into video/en/ (menu.lev and obrazky.lev, the collections with
// words). A painter writes every word through Say with the Czech word, the
// font and the size it draws it in; Say gives the word of the language being
// drawn, and an English word must fit where its Czech counterpart stands:
// no wider than it, or than the room the table grants it (a button's face,
// a free line). A word the table does not know, or one that does not fit,
// stops the generation with a message naming it.
#pragma once
#include <cairo.h>

#include <string>

enum class WordsLanguage { Czech, English };
constexpr WordsLanguage kWordsLanguages[] = {WordsLanguage::Czech, WordsLanguage::English};

// The language the painters write in until the next call (Czech at first).
void SetWordsLanguage(WordsLanguage language);
WordsLanguage CurrentWordsLanguage();
// The folder of a language's variants under video/: "" for Czech, "en/".
const char* WordsFolder(WordsLanguage language);

// The word in the language being drawn, for czech drawn in this font.
std::string Say(cairo_t* cr, const std::string& czech, double size, bool bold, const char* face);
