// assetgen: generates the game's data directory, or a contact sheet of every
// picture for review.
//   assetgen --out DIR
//   assetgen --contact-sheet FILE.png
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "assetgen.h"

int main(int argc, char** argv) {
    std::string out, sheet;
    for (int i = 1; i + 1 < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--out") out = argv[++i];
        else if (arg == "--contact-sheet") sheet = argv[++i];
    }
    if (out.empty() && sheet.empty()) {
        std::fprintf(stderr, "usage: assetgen --out DIR | --contact-sheet FILE.png\n");
        return 2;
    }
    try {
        if (!out.empty()) {
            std::filesystem::create_directories(out + "/video");
            std::filesystem::create_directories(out + "/audio");
            GeneratePictures(out);
            GenerateAudio(out);
        }
        if (!sheet.empty()) WriteContactSheet(sheet);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
