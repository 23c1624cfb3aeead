// The picture table. Sizes follow from where the game draws each picture:
// hit boxes, offsets, the instrument bar's layout and the menu geometry.
#include "picture_manifest.h"

#include <algorithm>

namespace {
using levpack::PictureData;
constexpr auto R = Collection::Rakety;
constexpr auto O = Collection::Obrazky;
constexpr auto M = Collection::MenuObr;
constexpr auto C = Collection::Mesto;
constexpr auto V = Collection::Velkalod;
constexpr auto Dib = PictureData::Dib;
constexpr auto Bmp = PictureData::Bitmap;
constexpr auto Jpg = PictureData::Jpeg;

const std::vector<ManifestEntry> kManifest = {
    // Rakety: the player's fighter, the level objects by index, the shots.
    {R, 0, "Kavrix", 76, 76, 9, 2, true, Dib},
    {R, 1, "Stihac", 56, 52, 1, 0, true, Dib},  // armed
    {R, 2, "Pruzkumnik", 44, 40, 1, 0, true, Dib},
    {R, 3, "Nosic", 64, 48, 1, 0, true, Dib},
    {R, 4, "Torpedovec", 70, 60, 1, 0, true, Dib},  // armed
    {R, 5, "Bariera", 44, 44, 1, 0, true, Bmp},
    {R, 6, "Trosky", 48, 40, 1, 0, true, Dib},
    {R, 7, "Medusa", 52, 56, 1, 0, true, Dib},
    {R, 8, "Bedna", 71, 73, 1, 0, true, Dib},
    {R, 9, "Meteor1", 30, 28, 1, 0, true, Dib},
    {R, 10, "Meteor2", 44, 42, 1, 0, true, Dib},
    {R, 11, "Meteor3", 58, 56, 1, 0, true, Dib},
    {R, 12, "Meteor4", 74, 70, 1, 0, true, Dib},
    {R, 13, "Meteor5", 90, 86, 1, 0, true, Dib},
    {R, 14, "CernaSkrinka", 40, 34, 2, 0, true, Dib},
    {R, 15, "Kapsle", 40, 60, 1, 0, true, Dib},
    {R, 16, "Kriznik", 90, 70, 1, 0, true, Dib},  // armed
    {R, 17, "Vosa", 60, 50, 1, 0, true, Dib},     // armed
    {R, 18, "Strazce", 72, 64, 1, 0, true, Dib},  // armed in level 6
    {R, 19, "Spora", 46, 46, 1, 0, true, Dib},
    {R, 20, "Zvon", 58, 62, 1, 0, true, Dib},
    {R, 21, "Zivot", 45, 45, 6, 0, true, Dib},
    {R, 22, "OpacnaRaketa", 84, 72, 1, 0, true, Dib},
    {R, 23, "StrelaKoule", 8, 16, 1, 0, true, Dib},     // kind 0
    {R, 24, "StrelaPaprsek", 2, 25, 1, 0, true, Dib},   // kind 1, the red beam
    {R, 25, "StrelaPlasma", 12, 12, 1, 0, true, Dib},   // kind 2
    {R, 26, "StrelaStrepina", 6, 18, 1, 0, true, Dib},  // kind 3, the mother ship's guns

    // Obrazky: weapons, effects, the instrument bar, the story pictures.
    {O, 0, "Puma", 14, 57, 1, 0, true, Dib},
    {O, 1, "Koule", 16, 16, 1, 0, true, Dib},
    {O, 2, "Bomba", 33, 47, 1, 0, true, Dib},
    {O, 3, "Stit", 16, 16, 1, 0, true, Dib},
    {O, 4, "Navadeci", 16, 16, 1, 0, true, Dib},
    {O, 5, "VejceLeva", 12, 18, 1, 0, true, Dib},
    {O, 6, "VejcePrava", 12, 18, 1, 0, true, Dib},
    {O, 7, "Nesmrtelnost", 78, 78, 3, 2, true, Dib},
    {O, 8, "VlajkaLeva", 50, 64, 5, 0, true, Dib},
    {O, 9, "VlajkaPrava", 50, 64, 5, 0, true, Dib},
    {O, 10, "VlajkaLight", 13, 64, 2, 1, true, Dib},
    {O, 11, "Special", 45, 45, 8, 0, true, Dib},
    {O, 12, "IconGuns", 45, 45, 5, 0, true, Dib},
    {O, 13, "MalyBum", 24, 24, 3, 0, true, Dib},
    {O, 14, "Velkybum", 100, 100, 6, 0, true, Dib},
    {O, 15, "Vlna", 190, 186, 6, 0, true, Dib},
    {O, 16, "Lista", 800, 129, 1, 0, false, Bmp},
    {O, 17, "Procenta", 14, 20, 2, 0, true, Dib},
    {O, 18, "CislaBody", 22, 30, 10, 0, true, Dib},
    {O, 19, "CislaLife", 12, 20, 30, 0, true, Dib},
    {O, 20, "IcoZivot", 38, 38, 1, 0, true, Dib},
    {O, 21, "IcoBat", 40, 40, 1, 0, true, Dib},
    {O, 22, "Velitel", 72, 85, 3, 0, false, Dib},
    {O, 23, "IcoSat", 88, 88, 19, 0, false, Dib},
    {O, 24, "bila", 800, 600, 1, 0, false, Jpg},
    {O, 25, "Sonda", 64, 64, 2, 0, true, Dib},

    // MenuObr: the menu console, its pages and buttons, the intro emblem.
    {M, 0, "Podklad", 800, 600, 1, 0, true, Dib},
    {M, 1, "Sipka", 20, 28, 1, 0, true, Dib},
    {M, 2, "Kavrix", 332, 96, 1, 0, true, Dib},
    {M, 3, "Meteor", 110, 104, 1, 0, true, Dib},
    {M, 4, "Quorbant", 426, 180, 1, 0, true, Dib},
    {M, 5, "Polozky", 72, 72, 6, 0, true, Dib},
    {M, 6, "Novahra", 750, 215, 1, 0, false, Dib},
    {M, 7, "Profil", 750, 215, 1, 0, false, Dib},
    {M, 8, "Skore", 750, 215, 1, 0, false, Dib},
    {M, 9, "Helpik", 750, 215, 1, 0, false, Jpg},
    {M, 10, "Konec", 750, 215, 1, 0, false, Dib},
    {M, 11, "Vymazat", 750, 215, 1, 0, false, Dib},
    {M, 12, "Obsazeno", 750, 215, 1, 0, false, Dib},
    {M, 13, "Start", 93, 28, 1, 0, true, Bmp},
    {M, 14, "Vymaz", 91, 28, 1, 0, true, Bmp},
    {M, 15, "Nacti", 91, 28, 1, 0, true, Bmp},
    {M, 16, "Ano", 61, 23, 1, 0, true, Bmp},
    {M, 17, "Ne", 61, 23, 1, 0, true, Bmp},
    {M, 18, "Ok", 61, 24, 1, 0, true, Bmp},
    {M, 19, "Krizek", 26, 30, 1, 0, true, Dib},
    {M, 20, "Pohar", 100, 120, 10, 0, true, Dib},
    {M, 21, "Vnitrni kruh", 42, 42, 1, 0, true, Dib},
    {M, 22, "Vnejsi kruh", 66, 66, 1, 0, true, Dib},
    {M, 23, "Bodliny", 96, 96, 1, 0, true, Dib},
    {M, 24, "Napis", 312, 31, 1, 0, true, Dib},
    {M, 25, "Uvadi", 93, 18, 1, 0, true, Dib},
    {M, 26, "Nazev", 800, 600, 1, 0, true, Dib},
    {M, 27, "Cestina", 80, 22, 1, 0, true, Bmp},
    {M, 28, "English", 80, 22, 1, 0, true, Bmp},

    // Level from video/mesto.lev: the alien city.
    {C, 0, "Kostky", 101, 101, 18, 0, true, Dib},
    {C, 1, "Reaktor", 101, 101, 5, 0, true, Dib},
    {C, 2, "Animace", 101, 101, 16, 0, true, Dib},
    {C, 3, "Animace2", 101, 101, 42, 0, true, Dib},

    // Level from video/velkalod.lev: the mother ship, its wrecks and effects.
    {V, 0, "Lod", 800, 228, 1, 0, true, Dib},
    {V, 1, "Vrak00", 63, 63, 1, 0, true, Dib},
    {V, 2, "Vrak01", 21, 62, 1, 0, true, Dib},
    {V, 3, "Vrak02", 21, 62, 1, 0, true, Dib},
    {V, 4, "Vrak03", 51, 45, 1, 0, true, Dib},
    {V, 5, "Vrak04", 39, 35, 1, 0, true, Dib},
    {V, 6, "Vrak05", 39, 35, 1, 0, true, Dib},
    {V, 7, "Vrak06", 18, 22, 1, 0, true, Dib},
    {V, 8, "Vrak07", 18, 22, 1, 0, true, Dib},
    {V, 9, "Vrak08", 18, 22, 1, 0, true, Dib},
    {V, 10, "Vrak09", 18, 22, 1, 0, true, Dib},
    {V, 11, "Vrak10", 30, 29, 1, 0, true, Dib},
    {V, 12, "Vrak11", 38, 27, 1, 0, true, Dib},
    {V, 13, "Vrak12", 70, 28, 1, 0, true, Dib},
    {V, 14, "Vrak13", 34, 41, 1, 0, true, Dib},
    {V, 15, "Vrak14", 21, 62, 1, 0, true, Dib},
    {V, 16, "Vrak15", 28, 28, 1, 0, true, Dib},
    {V, 17, "Vrak16", 58, 44, 1, 0, true, Dib},
    {V, 18, "Vrak17", 68, 72, 1, 0, true, Dib},
    {V, 19, "StitJadra", 50, 76, 5, 0, true, Dib},
    {V, 20, "Sonda", 28, 23, 5, 0, true, Dib},
    {V, 21, "Hangar", 80, 90, 13, 0, true, Dib},
    {V, 22, "Odpalovac", 82, 72, 5, 0, true, Dib},
    {V, 23, "Zablesk03", 18, 22, 1, 0, true, Dib},
    {V, 24, "Zablesk04", 18, 22, 1, 0, true, Dib},
    {V, 25, "Zablesk05", 18, 22, 1, 0, true, Dib},
    {V, 26, "Zablesk06", 12, 20, 1, 0, true, Dib},
    {V, 27, "Zablesk07", 12, 20, 1, 0, true, Dib},
    {V, 28, "Zablesk08", 12, 20, 1, 0, true, Dib},
    {V, 29, "Zablesk09", 12, 20, 1, 0, true, Dib},
    {V, 30, "Zablesk00", 32, 28, 1, 0, true, Dib},
    {V, 31, "Zablesk12L", 22, 16, 1, 0, true, Dib},
    {V, 32, "Zablesk12P", 22, 16, 1, 0, true, Dib},
};
}  // namespace

const std::vector<ManifestEntry>& Manifest() { return kManifest; }

std::vector<ManifestEntry> ManifestOf(Collection collection) {
    std::vector<ManifestEntry> out;
    for (const ManifestEntry& e : kManifest)
        if (e.collection == collection) out.push_back(e);
    std::sort(out.begin(), out.end(), [](const ManifestEntry& a, const ManifestEntry& b) { return a.index < b.index; });
    return out;
}

const char* CollectionFileName(Collection collection) {
    switch (collection) {
        case Collection::Rakety: return "video/rakety.lev";
        case Collection::Obrazky: return "video/obrazky.lev";
        case Collection::MenuObr: return "video/menu.lev";
        case Collection::Mesto: return "video/mesto.lev";
        case Collection::Velkalod: return "video/velkalod.lev";
    }
    return "";
}

bool HasWords(Collection collection) { return collection == Collection::MenuObr || collection == Collection::Obrazky; }

std::string CollectionFileName(Collection collection, WordsLanguage language) {
    const std::string name = CollectionFileName(collection);
    if (language == WordsLanguage::Czech) return name;
    return "video/" + std::string(WordsFolder(language)) + name.substr(6);
}

const char* CollectionName(Collection collection) {
    switch (collection) {
        case Collection::Rakety: return "Rakety";
        case Collection::Obrazky: return "Obrazky";
        case Collection::MenuObr: return "MenuObr";
        case Collection::Mesto: return "Level (mesto)";
        case Collection::Velkalod: return "Level (velkalod)";
    }
    return "";
}

int SheetWidth(const ManifestEntry& e) { return e.frames * e.frameWidth + (e.frames - 1) * e.skip; }
int SheetHeight(const ManifestEntry& e) { return e.frameHeight; }
