// Loading a language: its variants of the collections with words (over the
// Czech ones) and its text set, loaded aside and put in place together.
#include "frontend/language.h"

#include <utility>

#include "frontend/texts.h"
#include "media/asset_path.h"
#include "media/collection_file.h"
#include "media/media_error.h"
#include "state/world.h"

namespace {

void LoadCollectionFile(PictureCollection& collection, const std::string& path) {
    try {
        LoadPictureCollection(collection, path);
    } catch (const std::exception& error) {
        throw MediaError(std::string("Cannot load collection file '") + path + "': " + error.what());
    }
}

}  // namespace

void LoadWordsCollection(PictureCollection& collection, const std::string& dataDir, Language language,
                         const char* assetName) {
    LoadCollectionFile(collection, ResolveAssetPath(dataDir, assetName));
    if (language == Language::Czech) return;
    const std::string path = ResolveAssetPath(dataDir, LanguageAssetName(language, assetName));
    PictureCollection variant;
    LoadCollectionFile(variant, path);
    for (PictureItem& item : variant.items) {
        const PictureItem* czech = nullptr;
        try {
            czech = &FindPicture(collection, item.Name);
        } catch (const MediaError&) {
            throw MediaError("Cannot load collection file '" + path + "': its picture '" + item.Name + "' is not in '" +
                             ResolveAssetPath(dataDir, assetName) + "'");
        }
        collection.items[size_t(czech - collection.items.data())] = std::move(item);
    }
}

std::string LanguageAssetName(Language language, const char* assetName) {
    if (language == Language::Czech) return assetName;
    const std::string name = assetName;
    const size_t folderEnd = name.find('\\') + 1;  // "video\"
    return name.substr(0, folderEnd) + LanguageCode(language) + "\\" + name.substr(folderEnd);
}

void UseLanguage(World& w, Language language) {
    PictureCollection menu, obrazky;
    LoadWordsCollection(menu, w.shell.options.dataDir, language, kMenuAsset);
    LoadWordsCollection(obrazky, w.shell.options.dataDir, language, kObrazkyAsset);
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
