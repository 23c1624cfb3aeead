// The one table of every picture the game draws: which collection file holds
// it, at which index, under which name, its frame size and count, the gap
// between frames, its colour key and the picture data class it is stored in.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "levpack.h"
#include "picture_words.h"

enum class Collection { Rakety, Obrazky, MenuObr, Mesto, Velkalod };

constexpr uint32_t kKeyFuchsia = 0xFF00FF;  // 0xBBGGRR, "clFuchsia"

struct ManifestEntry {
    Collection collection;
    int index;  // position in the collection file (0-based)
    const char* name;
    int frameWidth, frameHeight;
    int frames;  // laid out in one row, left to right
    int skip;    // gap in pixels between neighbouring frames
    bool keyed;  // Transparent with kKeyFuchsia; otherwise opaque
    levpack::PictureData data;
};

const std::vector<ManifestEntry>& Manifest();
// The entries of one collection in index order.
std::vector<ManifestEntry> ManifestOf(Collection collection);
// "video/rakety.lev" and so on, relative to the data directory.
const char* CollectionFileName(Collection collection);
// The collections whose pictures carry words, drawn once per language.
bool HasWords(Collection collection);
// A collection's file in a language: "video/menu.lev", "video/en/menu.lev".
std::string CollectionFileName(Collection collection, WordsLanguage language);
const char* CollectionName(Collection collection);
constexpr Collection kAllCollections[] = {Collection::Rakety, Collection::Obrazky, Collection::MenuObr,
                                          Collection::Mesto, Collection::Velkalod};
// Width and height of the whole stored picture of an entry.
int SheetWidth(const ManifestEntry& e);
int SheetHeight(const ManifestEntry& e);
