// Loading a language: its variants of the collections with words and its
// text set, loaded aside and put in place together.
#include "frontend/language.h"

#include <utility>

#include "frontend/texts.h"
#include "media/asset_path.h"
#include "media/collection_file.h"
#include "media/media_error.h"
#include "state/world.h"

namespace {

PictureCollection LoadWordsCollection(const World& w, Language language, const char* assetName) {
    const std::string path = ResolveAssetPath(w.shell.options.dataDir, LanguageAssetName(language, assetName));
    PictureCollection collection;
    try {
        LoadPictureCollection(collection, path);
    } catch (const std::exception& error) {
        throw MediaError(std::string("Cannot load collection file '") + path + "': " + error.what());
    }
    return collection;
}

}  // namespace

std::string LanguageAssetName(Language language, const char* assetName) {
    if (language == Language::Czech) return assetName;
    const std::string name = assetName;
    const size_t folderEnd = name.find('\\') + 1;  // "video\"
    return name.substr(0, folderEnd) + LanguageCode(language) + "\\" + name.substr(folderEnd);
}

void UseLanguage(World& w, Language language) {
    PictureCollection menu = LoadWordsCollection(w, language, kMenuAsset);
    PictureCollection obrazky = LoadWordsCollection(w, language, kObrazkyAsset);
    const Language before = w.shell.language;
    w.shell.language = language;
    try {
        LoadTexts(w);
    } catch (...) {
        w.shell.language = before;
        throw;
    }
    w.media.MenuObr = std::move(menu);
    w.media.Obrazky = std::move(obrazky);
}
