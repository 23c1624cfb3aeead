// The places the game looks for its data, in order, and the message that
// lists them all when none holds it. The installed places come from the build:
// KAVRIX_DATA_FROM_PROGRAM is the data folder relative to the installed
// program (../share/kavrix), so a moved install still finds its data, and
// KAVRIX_INSTALLED_DATA the data folder under the configured prefix.
#include "shell/data_folder.h"

#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

#include "media/asset_path.h"
#include "media/environment.h"
#include "media/program_folder.h"
#include "media/utf8_path.h"

#ifndef KAVRIX_DATA_FROM_PROGRAM
#define KAVRIX_DATA_FROM_PROGRAM "../share/kavrix"
#endif
#ifndef KAVRIX_INSTALLED_DATA
#define KAVRIX_INSTALLED_DATA "/usr/local/share/kavrix"
#endif

namespace fs = std::filesystem;

namespace {

constexpr const char* kCollectionFiles[] = {"video\\mesto.lev", "video\\menu.lev", "video\\rakety.lev",
                                            "video\\obrazky.lev", "audio\\zvuky.lev"};

constexpr const char* kFromVariable = "the KAVRIX_DATA variable";

struct Place {
    std::string folder;
    const char* why;
};

std::vector<Place> PlacesToLook() {
    std::vector<Place> places;
    auto add = [&](const std::string& folder, const char* why) {
        for (const Place& place : places)
            if (place.folder == folder) return;  // an install in its own prefix is one place
        places.push_back({folder, why});
    };
    if (const std::string variable = EnvironmentVariable("KAVRIX_DATA"); !variable.empty())
        add(variable, kFromVariable);
    std::error_code ec;
    const fs::path working = fs::current_path(ec);
    add(ec ? std::string(".") : working.string(), "the working directory");
    const std::string program = ProgramFolder();
    if (!program.empty()) {
        add((Utf8Path(program) / "data").string(), "data/ beside the program");
        add((Utf8Path(program) / KAVRIX_DATA_FROM_PROGRAM).lexically_normal().string(),
            "the installed data beside the program");
    }
    add(KAVRIX_INSTALLED_DATA, "the install prefix");
    return places;
}

// Whether the folder holds the five collection files.
bool HoldsGameData(const std::string& folder) {
    for (const char* name : kCollectionFiles) {
        std::error_code ec;
        if (!fs::is_regular_file(Utf8Path(ResolveAssetPath(folder, name)), ec)) return false;
    }
    return true;
}

}  // namespace

bool FindDataFolder(std::string& folder, std::string& error) {
    const std::vector<Place> places = PlacesToLook();
    for (const Place& place : places) {
        if (!HoldsGameData(place.folder)) continue;
        // A variable that names the wrong folder is worth a word, even when
        // the data turned up elsewhere.
        if (&place != &places.front() && places.front().why == kFromVariable)
            std::cerr << "Kavrix: KAVRIX_DATA names '" << places.front().folder << "', which holds no game data; "
                      << "the data in '" << place.folder << "' is used\n";
        folder = place.folder;
        return true;
    }
    error = "Cannot find the game's data (video/ and audio/ with the collection files). Looked in:\n";
    for (const Place& place : places) error += "  " + place.folder + " (" + place.why + ")\n";
    error += "Name the folder that holds video/ and audio/ with --data DIR.";
    return false;
}
