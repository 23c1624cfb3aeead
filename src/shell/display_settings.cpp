// Reading and writing kavrix.conf, and the run's window options built on it.
#include "shell/display_settings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "shell/options.h"
#include "state/saved_files.h"
#include "state/user_folders.h"

namespace {

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool ParseSwitch(const std::string& value, bool& on) {
    if (value == "on" || value == "yes" || value == "true" || value == "1") on = true;
    else if (value == "off" || value == "no" || value == "false" || value == "0") on = false;
    else return false;
    return true;
}

bool ParseFilter(const std::string& value, ScaleFilter& filter) {
    if (value == "nearest") filter = ScaleFilter::Nearest;
    else if (value == "linear") filter = ScaleFilter::Linear;
    else return false;
    return true;
}

PresentPath ParsePresentPath(const std::string& name) {
    if (name == "gpu") return PresentPath::Gpu;
    if (name == "surface") return PresentPath::Surface;
    return PresentPath::Auto;
}

}  // namespace

void DisplaySettingsFile::Warn(const std::string& message) {
    if (warned_) return;
    warned_ = true;
    std::cerr << "Kavrix: " << message << "\n";
}

DisplaySettings DisplaySettingsFile::Load() {
    DisplaySettings settings;
    unknownLines_.clear();
    std::error_code ec;
    if (path_.empty() || !std::filesystem::exists(path_, ec)) return settings;
    std::ifstream in(path_);
    if (!in || std::filesystem::is_directory(path_, ec)) {
        Warn("settings file '" + path_ + "' cannot be read; the defaults are used");
        return settings;
    }
    std::string line, problems;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string text = Trim(line);
        if (text.empty() || text[0] == '#') continue;
        const size_t equals = text.find('=');
        const std::string key = equals == std::string::npos ? text : Trim(text.substr(0, equals));
        const std::string value = equals == std::string::npos ? std::string() : Trim(text.substr(equals + 1));
        bool known = true, good = equals != std::string::npos;
        if (key == "fullscreen") good = good && ParseSwitch(value, settings.fullScreen);
        else if (key == "integer-scale") good = good && ParseSwitch(value, settings.integerScale);
        else if (key == "filter") good = good && ParseFilter(value, settings.filter);
        else known = false;
        if (known && good) continue;
        if (!known && equals != std::string::npos) unknownLines_.push_back(text);
        problems += (problems.empty() ? "" : ", ") + std::to_string(number) + " '" + text + "'";
        if (!known) problems += " (unknown)";
    }
    if (!problems.empty())
        Warn("settings file '" + path_ + "': line " + problems + " ignored; the defaults stand for what it names");
    return settings;
}

void DisplaySettingsFile::Save(const DisplaySettings& settings) {
    if (path_.empty()) return;
    std::string text = "# Kavrix: window and scaling, written by the game\n";
    text += std::string("fullscreen=") + (settings.fullScreen ? "on" : "off") + "\n";
    text += std::string("filter=") + (settings.filter == ScaleFilter::Linear ? "linear" : "nearest") + "\n";
    text += std::string("integer-scale=") + (settings.integerScale ? "on" : "off") + "\n";
    for (const std::string& line : unknownLines_) text += line + "\n";
    try {
        CreateUserFolder(std::filesystem::path(path_).parent_path().string());
        WriteFileAtomically(path_, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    } catch (const std::exception& error) {
        Warn(std::string(error.what()) + "; the window settings are not remembered");
    }
}

std::string DisplaySettingsPath() {
    const std::string folder = UserConfigFolder();
    return folder.empty() ? std::string() : (std::filesystem::path(folder) / kDisplaySettingsFileName).string();
}

SdlOptions WindowOptions(const RunOptions& options, DisplaySettingsFile& file, DisplaySettings& settings) {
    settings = file.Load();
    const DisplaySettings loaded = settings;
    if (!options.filter.empty()) ParseFilter(options.filter, settings.filter);
    if (options.integerScale >= 0) settings.integerScale = options.integerScale == 1;
    if (settings.filter != loaded.filter || settings.integerScale != loaded.integerScale) file.Save(settings);

    SdlOptions sdl;
    // --scale asks for a window of that size, so it opens windowed too.
    const bool window = options.window || (options.scale > 0 && !options.fullScreen);
    sdl.fullScreen = window ? false : options.fullScreen ? true : settings.fullScreen;
    sdl.scale = options.scale > 0 ? options.scale : 1;
    sdl.filter = settings.filter;
    sdl.integerScale = settings.integerScale;
    std::string renderer = options.renderer;
    if (renderer.empty()) {
        const char* variable = std::getenv("KAVRIX_RENDERER");
        renderer = variable ? variable : "auto";
        if (renderer != "auto" && renderer != "gpu" && renderer != "surface") {
            std::cerr << "Kavrix: KAVRIX_RENDERER='" << renderer << "' is not auto, gpu or surface; auto is used\n";
            renderer = "auto";
        }
    }
    sdl.present = ParsePresentPath(renderer);
    sdl.title = "Kavrix";
    return sdl;
}
