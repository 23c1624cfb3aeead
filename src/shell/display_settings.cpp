// Reading and writing kavrix.conf, and the run's window options built on it.
#include "shell/display_settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <iterator>

#include "media/utf8_path.h"
#include "media/whole_file.h"
#include "shell/input_script.h"
#include "shell/locale_language.h"
#include "shell/options.h"
#include "state/damaged_saves.h"
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

bool ParseScaling(const std::string& value, ScaleMode& scaling) {
    if (value == "sharp") scaling = ScaleMode::Sharp;
    else if (value == "integer") scaling = ScaleMode::Integer;
    else if (value == "linear") scaling = ScaleMode::Linear;
    else return false;
    return true;
}

const char* ScalingName(ScaleMode scaling) {
    return scaling == ScaleMode::Integer ? "integer" : scaling == ScaleMode::Linear ? "linear" : "sharp";
}

// The settings as the lines are read, with what the older keys said.
struct ReadState {
    DisplaySettings settings;
    bool scalingGiven = false;
    bool olderLinear = false;  // filter=linear
};

PresentPath ParsePresentPath(const std::string& name) {
    if (name == "gpu") return PresentPath::Gpu;
    if (name == "surface") return PresentPath::Surface;
    return PresentPath::Auto;
}

const char* Switch(bool on) { return on ? "on" : "off"; }

// The keys the game knows: how each reads its value and how it writes it.
// The older game's two scaling keys are read but no longer written: their
// lines go at the next write, when "scaling" takes their place. That game
// wrote every key whenever it saved, so integer-scale=on only says it was
// the default then, and is not taken as a choice; whole factors are chosen
// anew with --scaling integer. filter=linear was a choice (nearest was the
// default) and stays one; integer-scale=off filled the screen, as sharp
// scaling now does by default. The language and the keys are written where
// the player has a line for them, and added only when the player chose them
// (the language) or they differ from the default (the keys), so the locale
// and the game's defaults still decide for players who chose nothing.
struct SettingKey {
    std::string name;
    std::function<bool(const std::string& value, ReadState& read)> parse;
    std::function<std::string(const DisplaySettings& settings)> format;  // empty: read only
    std::function<bool(const DisplaySettings& settings)> isDefault;      // empty: always written
};

std::vector<SettingKey> MakeSettingKeys() {
    std::vector<SettingKey> keys = {
        {"fullscreen", [](const std::string& v, ReadState& r) { return ParseSwitch(v, r.settings.fullScreen); },
         [](const DisplaySettings& s) { return std::string(Switch(s.fullScreen)); }, nullptr},
        {"scaling",
         [](const std::string& v, ReadState& r) { return r.scalingGiven = ParseScaling(v, r.settings.scaling); },
         [](const DisplaySettings& s) { return std::string(ScalingName(s.scaling)); }, nullptr},
        {"filter",
         [](const std::string& v, ReadState& r) {
             r.olderLinear = v == "linear";
             return v == "linear" || v == "nearest";
         },
         nullptr, nullptr},
        {"integer-scale",
         [](const std::string& v, ReadState&) {
             bool ignored = false;
             return ParseSwitch(v, ignored);
         },
         nullptr, nullptr},
        {"language",
         [](const std::string& v, ReadState& r) {
             return r.settings.languageChosen = LanguageFromCode(v, r.settings.language);
         },
         [](const DisplaySettings& s) { return std::string(LanguageCode(s.language)); },
         [](const DisplaySettings& s) { return !s.languageChosen; }},
        {"board",
         [](const std::string& v, ReadState& r) {
             const bool web = v.rfind("http://", 0) == 0 || v.rfind("https://", 0) == 0;
             if (web) r.settings.board = v;
             return web;
         },
         [](const DisplaySettings& s) { return s.board; }, [](const DisplaySettings& s) { return s.board.empty(); }},
    };
    const KeyBindings& defaults = DefaultKeyBindings();
    for (int a = 0; a < kKeyActionCount; ++a) {
        keys.push_back({std::string("key.") + KeyActionName(KeyAction(a)),
                        [a](const std::string& v, ReadState& r) {
                            std::string bad;
                            return ParseKeyList(v, r.settings.bindings.actions[a], bad);
                        },
                        [a](const DisplaySettings& s) { return FormatKeyList(s.bindings.actions[a]); },
                        [a, &defaults](const DisplaySettings& s) {
                            return FormatKeyList(s.bindings.actions[a]) == FormatKeyList(defaults.actions[a]);
                        }});
    }
    for (int a = 0; a < kPadActionCount; ++a) {
        keys.push_back({std::string("pad.") + PadActionName(PadAction(a)),
                        [a](const std::string& v, ReadState& r) {
                            std::string bad;
                            return ParsePadButtons(v, r.settings.bindings.pad[a], bad);
                        },
                        [a](const DisplaySettings& s) { return FormatPadButtons(s.bindings.pad[a]); },
                        [a, &defaults](const DisplaySettings& s) { return s.bindings.pad[a] == defaults.pad[a]; }});
    }
    return keys;
}

const std::vector<SettingKey>& SettingKeys() {
    static const std::vector<SettingKey> keys = MakeSettingKeys();
    return keys;
}

const SettingKey* FindKey(const std::string& name) {
    for (const SettingKey& key : SettingKeys())
        if (name == key.name) return &key;
    return nullptr;
}

// A line of the file as a message may quote it: at most 40 characters of
// text, anything but printable ASCII written as \xNN, so a damaged file can
// neither flood the terminal nor send it control codes.
std::string Excerpt(const std::string& line) {
    constexpr size_t kShown = 40;
    std::string text;
    size_t used = 0;
    for (; used < line.size(); ++used) {
        const unsigned char c = static_cast<unsigned char>(line[used]);
        char piece[5] = {char(c), 0};
        if (c < 0x20 || c >= 0x7F) std::snprintf(piece, sizeof piece, "\\x%02X", c);
        if (text.size() + std::strlen(piece) > kShown) break;
        text += piece;
    }
    if (used < line.size()) text += "...";
    return text;
}

void Warn(const std::string& message) { std::cerr << "Kavrix: " << message << "\n"; }

}  // namespace

SettingsText ParseSettingsText(const std::string& text) {
    constexpr int kProblemsShown = 5;
    SettingsText read;
    ReadState state;
    size_t from = 0;
    for (int number = 1; from < text.size(); ++number) {
        size_t to = text.find('\n', from);
        if (to == std::string::npos) to = text.size();
        const std::string line = text.substr(from, to - from);
        from = to + 1;
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') {
            read.lines.push_back(line);
            continue;
        }
        const size_t equals = trimmed.find('=');
        const std::string key = equals == std::string::npos ? trimmed : Trim(trimmed.substr(0, equals));
        const std::string value = equals == std::string::npos ? std::string() : Trim(trimmed.substr(equals + 1));
        const SettingKey* known = FindKey(key);
        if (known && equals != std::string::npos && known->parse(value, state)) {
            if (known->format) read.lines.push_back(key);
            continue;
        }
        // A key of a newer game stays for it; a damaged line is dropped (the
        // whole file is kept aside before the first write).
        const bool unknown =
            !known && equals != std::string::npos && !key.empty() && line.find('\0') == std::string::npos;
        if (unknown) read.lines.push_back(line);
        else read.damaged = true;
        if (++read.problems <= kProblemsShown) {
            read.report += (read.report.empty() ? "" : ", ") + std::to_string(number) + " '" + Excerpt(trimmed) + "'";
            if (unknown) read.report += " (unknown)";
        }
    }
    if (read.problems > kProblemsShown)
        read.report += " and " + std::to_string(read.problems - kProblemsShown) + " more";
    read.settings = state.settings;
    if (!state.scalingGiven && state.olderLinear) read.settings.scaling = ScaleMode::Linear;
    return read;
}

std::string FormatSettingsText(const std::vector<std::string>& lines, const DisplaySettings& settings) {
    std::string text;
    if (lines.empty()) text = "# Kavrix: window, scaling, language and keys, written by the game\n";
    const std::vector<SettingKey>& keys = SettingKeys();
    std::vector<bool> written(keys.size());
    auto writeKey = [&](size_t index) {
        const SettingKey& key = keys[index];
        if (!written[index] && key.format) text += key.name + "=" + key.format(settings) + "\n";
        written[index] = true;
    };
    for (const std::string& line : lines) {
        if (const SettingKey* key = FindKey(line)) {
            writeKey(size_t(key - keys.data()));
        } else {
            text += line + "\n";
        }
    }
    for (size_t i = 0; i < keys.size(); ++i)
        if (!keys[i].isDefault || !keys[i].isDefault(settings)) writeKey(i);
    return text;
}

DisplaySettings DisplaySettingsFile::Load() {
    lines_.clear();
    damage_ = DamagedSavedFile{};
    if (path_.empty()) return DisplaySettings{};
    std::string text;
    const WholeFileRead file = ReadWholeFile(path_, kMaxSettingsFileBytes, text);
    if (file.status == WholeFileStatus::Missing) return DisplaySettings{};
    auto keepDamaged = [&](const std::string& problem) {
        damage_.path = path_;
        damage_.problem = problem;
        damage_.keepAs = DamagedKeepName(path_);
        return "; it will be kept as '" + damage_.keepAs + "' before the game first writes its settings";
    };
    if (!file.Ok()) {
        const std::string keeping = keepDamaged(file.problem);
        Warn("settings file '" + path_ + "' " + file.problem + "; the defaults are used" + keeping);
        return DisplaySettings{};
    }
    SettingsText read = ParseSettingsText(text);
    lines_ = std::move(read.lines);
    if (read.problems == 0) return read.settings;
    std::string message =
        "settings file '" + path_ + "': line " + read.report + " ignored; the defaults stand for what it names";
    if (read.damaged) message += keepDamaged("damaged lines");
    Warn(message);
    return read.settings;
}

void DisplaySettingsFile::Save(const DisplaySettings& settings) {
    if (path_.empty()) return;
    const std::string text = FormatSettingsText(lines_, settings);
    try {
        CreateUserFolder(Utf8Path(path_).parent_path().string());
        KeepDamagedSavedFile(damage_, path_);
        WriteFileAtomically(path_, reinterpret_cast<const uint8_t*>(text.data()), text.size(), "settings file ");
        // The next write keeps what this one wrote.
        lines_ = ParseSettingsText(text).lines;
    } catch (const std::exception& error) {
        // Every kind of trouble is told once: a failed write even after a
        // warning about reading the file.
        if (!saveWarned_) Warn(std::string(error.what()) + "; the window settings are not remembered");
        saveWarned_ = true;
    }
}

std::string DisplaySettingsPath() {
    const std::string folder = UserConfigFolder();
    return folder.empty() ? std::string() : (Utf8Path(folder) / kDisplaySettingsFileName).string();
}

SdlOptions WindowOptions(const RunOptions& options, DisplaySettingsFile& file, DisplaySettings& settings) {
    settings = file.Load();
    const DisplaySettings loaded = settings;
    // --scaling, else its older spellings: --integer-scale on is whole
    // factors, --filter linear smoothed, and the rest sharp.
    if (!options.scaling.empty()) ParseScaling(options.scaling, settings.scaling);
    else if (options.integerScale == 1) settings.scaling = ScaleMode::Integer;
    else if (options.filter == "linear") settings.scaling = ScaleMode::Linear;
    else if (options.integerScale == 0 || !options.filter.empty()) settings.scaling = ScaleMode::Sharp;
    if (settings.scaling != loaded.scaling) file.Save(settings);

    SdlOptions sdl;
    // --scale asks for a window of that size, so it opens windowed too.
    const bool window = options.window || (options.scale > 0 && !options.fullScreen);
    sdl.fullScreen = window ? false : options.fullScreen ? true : settings.fullScreen;
    sdl.scale = options.scale > 0 ? options.scale : 1;
    sdl.scaling = settings.scaling;
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
    sdl.bindings = settings.bindings;
    return sdl;
}

Language RunLanguage(const RunOptions& options, const InputScript& script, const DisplaySettings& settings) {
    Language language = settings.language;
    if (!options.replayFile.empty()) return script.hasLanguage ? script.language : Language::Czech;
    if (LanguageFromCode(options.language, language)) return language;
    if (script.hasLanguage) return script.language;
    if (settings.languageChosen) return settings.language;
    return options.headless ? Language::Czech : LocaleLanguage();
}
