// assetgen: generates the game's data directory, or a contact sheet of every
// picture for review.
//   assetgen --out DIR
//   assetgen --contact-sheet FILE.png
//   assetgen --render-audio DIR   (every wave and module as WAV files, a summary
//                                  table and a spectrogram per module)
//   assetgen --icons DIR          (the desktop icon in the hicolor layout)
//   assetgen --web-icons DIR      (the browser page's icons)
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "assetgen.h"
#include "icon.h"

int main(int argc, char** argv) {
    std::string out, sheet, preview, icons, webIcons;
    for (int i = 1; i + 1 < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--out") out = argv[++i];
        else if (arg == "--contact-sheet") sheet = argv[++i];
        else if (arg == "--render-audio") preview = argv[++i];
        else if (arg == "--icons") icons = argv[++i];
        else if (arg == "--web-icons") webIcons = argv[++i];
    }
    if (out.empty() && sheet.empty() && preview.empty() && icons.empty() && webIcons.empty()) {
        std::fprintf(stderr,
                     "usage: assetgen --out DIR | --contact-sheet FILE.png | --render-audio DIR | --icons DIR | "
                     "--web-icons DIR\n");
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
        if (!preview.empty()) RenderAudioPreview(preview);
        if (!icons.empty()) WriteIcons(icons);
        if (!webIcons.empty()) WriteWebIcons(webIcons);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
