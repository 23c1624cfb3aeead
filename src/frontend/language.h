// The language's own files and the switch between languages. Czech keeps
// the game's own collection files; another language has variants of the
// collections whose pictures carry words (the menu's pages and buttons,
// the instrument bar) in a folder of its own, "video\en\menu.lev", which
// hold only the pictures whose words differ: the rest comes from the Czech
// collection. Its texts are its text set (texts.cpp). The rest is shared,
// and no rule of the game looks at the language.
#pragma once
#include <string>

#include "state/language.h"

struct World;
struct PictureCollection;

// The asset name of a collection with words in the language's variant:
// "video\menu.lev" stays as it is for Czech, "video\en\menu.lev" for English.
std::string LanguageAssetName(Language language, const char* assetName);
// The collections with words, and the asset names they load from.
constexpr const char* kMenuAsset = "video\\menu.lev";
constexpr const char* kObrazkyAsset = "video\\obrazky.lev";

// Loads a collection with words in the language: the Czech collection, its
// pictures of the same name replaced by those the language's variant holds.
// Throws MediaError naming the file that failed (a variant's picture the
// Czech collection lacks is a damaged variant).
void LoadWordsCollection(PictureCollection& collection, const std::string& dataDir, Language language,
                         const char* assetName);
// Switches the game to the language: its pictures with words and its texts
// are loaded first and put in place only when all have loaded, so a failure
// (a missing or damaged file, named in the error thrown) leaves the game as
// it was. Between frames only: it replaces collections the frame draws from.
void UseLanguage(World& w, Language language);
