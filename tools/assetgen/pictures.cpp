// Generates the five picture collection files, and the English variants of
// the two with words (their pictures that differ from the Czech ones):
// renders every manifest entry with its painter, flattens it onto its colour
// key and writes the files through the collection writer.
#include <cairo.h>

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

#include "art.h"
#include "assetgen.h"
#include "draw_util.h"
#include "levpack.h"
#include "picture_manifest.h"

cairo_surface_t* RenderEntry(const ManifestEntry& e) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, SheetWidth(e), SheetHeight(e));
    cairo_t* cr = cairo_create(surface);
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_SLIGHT);
    cairo_set_font_options(cr, fo);
    cairo_font_options_destroy(fo);
    for (int f = 0; f < e.frames; ++f) {
        cairo_save(cr);
        cairo_translate(cr, f * (e.frameWidth + e.skip), 0);
        cairo_rectangle(cr, 0, 0, e.frameWidth, e.frameHeight);
        cairo_clip(cr);
        bool known = false;
        switch (e.collection) {
            case Collection::Rakety: known = PaintRakety(e, f, cr); break;
            case Collection::Obrazky: known = PaintObrazky(e, f, cr); break;
            case Collection::MenuObr: known = PaintMenu(e, f, cr); break;
            case Collection::Mesto: known = PaintMesto(e, f, cr); break;
            case Collection::Velkalod: known = PaintVelkalod(e, f, cr); break;
        }
        cairo_restore(cr);
        if (!known) {
            cairo_destroy(cr);
            cairo_surface_destroy(surface);
            throw std::runtime_error(std::string("no painter for picture '") + e.name + "' of " +
                                     CollectionName(e.collection));
        }
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

static levpack::PictureEntry EntryFor(const ManifestEntry& e) {
    cairo_surface_t* surface = RenderEntry(e);
    levpack::PictureEntry desc;
    desc.name = e.name;
    desc.width = SheetWidth(e);
    desc.height = SheetHeight(e);
    desc.pixels = art::Flatten(surface, e.keyed, kKeyFuchsia);
    cairo_surface_destroy(surface);
    // A single frame is stored as "the whole picture" (0), several as their size.
    desc.patternWidth = e.frames > 1 ? e.frameWidth : 0;
    desc.patternHeight = e.frames > 1 ? e.frameHeight : 0;
    desc.skipWidth = e.frames > 1 ? e.skip : 0;
    desc.transparent = e.keyed;
    desc.transparentColor = e.keyed ? kKeyFuchsia : 0;
    desc.systemMemory = SheetWidth(e) * SheetHeight(e) >= 800 * 600;
    desc.data = e.data;
    desc.jpegQuality = 92;
    return desc;
}

// Every collection in Czech, then the collections with words in each other
// language into its folder: only the pictures whose pixels differ from the
// Czech ones (those with words in them). The game takes the rest from the
// Czech collection, so a language costs the download only its own pictures.
void GeneratePictures(const std::string& outDir) {
    std::map<std::string, std::vector<uint32_t>> czech;  // the pixels of the pictures with words, by name
    for (WordsLanguage language : kWordsLanguages) {
        std::filesystem::create_directories(outDir + "/video/" + WordsFolder(language));
        SetWordsLanguage(language);
        for (Collection c : kAllCollections) {
            if (language != WordsLanguage::Czech && !HasWords(c)) continue;
            std::vector<levpack::PictureEntry> items;
            int expected = 0;
            for (const ManifestEntry& e : ManifestOf(c)) {
                if (e.index != expected++)
                    throw std::runtime_error(std::string("picture table of ") + CollectionName(c) +
                                             " has a gap before index " + std::to_string(e.index));
                levpack::PictureEntry entry = EntryFor(e);
                const std::string key = std::string(CollectionName(c)) + "/" + e.name;
                if (language == WordsLanguage::Czech) {
                    if (HasWords(c)) czech[key] = entry.pixels;
                } else if (czech[key] == entry.pixels) {
                    continue;  // no words, or the same words: the Czech picture serves
                }
                items.push_back(std::move(entry));
            }
            levpack::WriteFile(outDir + "/" + CollectionFileName(c, language), levpack::WritePictureCollection(items));
        }
    }
    SetWordsLanguage(WordsLanguage::Czech);
}
