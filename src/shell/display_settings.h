// The window settings the game remembers between runs, in a small file of
// its own ("kavrix.conf", plain key=value lines in the per-user config
// folder), apart from the game's three saved files: full screen or window,
// the scaling filter, whole-number scaling. A missing file means the
// defaults; a damaged line, an unknown key or a file that cannot be written
// is reported once on stderr and the game goes on.
#pragma once
#include <string>
#include <vector>

#include "media/platform.h"

struct RunOptions;

struct DisplaySettings {
    bool fullScreen = true;
    ScaleFilter filter = ScaleFilter::Nearest;
    bool integerScale = true;
};

constexpr const char* kDisplaySettingsFileName = "kavrix.conf";

class DisplaySettingsFile {
public:
    // An empty path: nothing is read or written (no home folder is known).
    explicit DisplaySettingsFile(std::string path) : path_(std::move(path)) {}
    DisplaySettings Load();
    // Writes the settings with the unknown lines read before; never throws.
    void Save(const DisplaySettings& settings);
    const std::string& Path() const { return path_; }

private:
    void Warn(const std::string& message);
    std::string path_;
    std::vector<std::string> unknownLines_;  // kept for a newer game that wrote them
    bool warned_ = false;
};

// The per-user settings file's path, empty when no config folder is known.
std::string DisplaySettingsPath();

// This run's window: the remembered settings with the run's options over
// them. --window and --fullscreen hold for this run only (--scale opens a
// window too); --filter and
// --integer-scale are remembered (saved at once). The present path comes from
// --renderer, else $KAVRIX_RENDERER, else the automatic choice.
SdlOptions WindowOptions(const RunOptions& options, DisplaySettingsFile& file, DisplaySettings& settings);
