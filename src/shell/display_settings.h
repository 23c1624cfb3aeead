// The settings the game remembers between runs, in a small file of its own
// ("kavrix.conf", plain key=value lines in the per-user config folder),
// apart from the game's three saved files: full screen or window, how the
// picture is scaled, the language, and the player's keys and pad buttons
// for every action (key.ACTION=KEY..., pad.ACTION=BUTTON...). A missing file
// means the defaults. The file is read as the saved files are: only a regular file,
// of a bounded size. A damaged line or an unknown key is reported once on
// stderr and the game goes on; a damaged or unreadable file is kept as
// kavrix.conf.damaged before the game first writes over it. Writing keeps
// the player's own lines (comments, keys of a newer game) where they stand.
#pragma once
#include <string>
#include <vector>

#include "media/key_bindings.h"
#include "media/platform.h"
#include "state/language.h"
#include "state/saved_state.h"

struct RunOptions;
struct InputScript;

struct DisplaySettings {
    bool fullScreen = true;
    ScaleMode scaling = ScaleMode::Sharp;
    Language language = Language::Czech;
    // A language= line was read or the player chose on the help page: the
    // player's locale no longer decides.
    bool languageChosen = false;
    KeyBindings bindings = DefaultKeyBindings();
    // The player's score board (board=URL), where --submit sends replays;
    // none by default, so nothing is sent unless the player names one.
    std::string board;
};

constexpr const char* kDisplaySettingsFileName = "kavrix.conf";
// A settings file is a few lines; anything this large is not one.
constexpr size_t kMaxSettingsFileBytes = 64 * 1024;

// The text of a settings file read: the settings it names, its lines as
// they are kept for writing (comments, blank lines and unknown keys as they
// stand, known keys by their name alone, damaged lines left out), and what
// was wrong with it.
struct SettingsText {
    DisplaySettings settings;
    std::vector<std::string> lines;
    int problems = 0;      // lines ignored: damaged or unknown
    bool damaged = false;  // some of them damaged (not only unknown keys)
    std::string report;    // "3 'filter=blurry', 5 'vsync=on' (unknown)", quoting at most 40 characters a line
};
SettingsText ParseSettingsText(const std::string& text);
// The file's text for these settings, written into lines kept by
// ParseSettingsText: each known key's first line takes its value, later
// ones are dropped, missing keys are added at the end (the language and the
// keys only where they are not the defaults; a new file begins with a line
// saying what it is).
std::string FormatSettingsText(const std::vector<std::string>& lines, const DisplaySettings& settings);

class DisplaySettingsFile {
public:
    // An empty path: nothing is read or written (no home folder is known).
    explicit DisplaySettingsFile(std::string path) : path_(std::move(path)) {}
    DisplaySettings Load();
    // Writes the settings into the lines read before (each known key's
    // first line takes its new value, later ones are dropped, missing keys
    // are added at the end); never throws. A failed write is reported once.
    void Save(const DisplaySettings& settings);
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::vector<std::string> lines_;  // as SettingsText keeps them
    DamagedSavedFile damage_;         // a damaged file, kept before the first write over it
    bool saveWarned_ = false;
};

// The per-user settings file's path, empty when no config folder is known.
std::string DisplaySettingsPath();

// This run's window: the remembered settings with the run's options over
// them. --window and --fullscreen hold for this run only (--scale opens a
// window too); --scaling (and its older spellings --filter and
// --integer-scale) is remembered (saved at once). The present path comes from
// --renderer, else $KAVRIX_RENDERER, else the automatic choice.
SdlOptions WindowOptions(const RunOptions& options, DisplaySettingsFile& file, DisplaySettings& settings);
// This run's language: a replay's is the one its recording was made in
// (Czech when it names none); otherwise --lang, else the input script's,
// else the remembered one (settings), else for the windowed game the
// player's locale (LocaleLanguage); headless runs are Czech, whatever the
// environment, so tests and tools give the same results everywhere.
Language RunLanguage(const RunOptions& options, const InputScript& script, const DisplaySettings& settings);
