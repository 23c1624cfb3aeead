// Damaged saved files: noted at start-up, told to the player, and moved to
// NAME.damaged (or NAME.damaged.2, ... when that is taken) just before the
// game first writes the file anew.
#include "state/damaged_saves.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <system_error>

#include "media/utf8_path.h"

namespace {

// Anything at all seen at path, a dangling symbolic link too.
bool NameTaken(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(Utf8Path(path), ec);
    return !ec && status.type() != std::filesystem::file_type::not_found;
}

// The first of NAME.damaged, NAME.damaged.2, ... that nothing stands on, so
// that a copy kept by an earlier run is never replaced.
std::string FreeKeepName(const std::string& path) {
    const std::string base = path + ".damaged";
    if (!NameTaken(base)) return base;
    for (int n = 2; n < 1000; ++n) {
        const std::string name = base + "." + std::to_string(n);
        if (!NameTaken(name)) return name;
    }
    return base + ".1000";
}

}  // namespace

std::string DamagedKeepName(const std::string& path) { return FreeKeepName(path); }

void NoteDamagedSavedFile(DamagedSavedFile& note, const std::string& path, const std::string& problem, bool keepable) {
    note = DamagedSavedFile{};
    note.path = path;
    note.problem = problem;
    if (keepable) note.keepAs = FreeKeepName(path);
    std::cerr << "Kavrix: saved file '" << path << "' " << problem << "; its defaults are used";
    if (keepable) std::cerr << "; it will be kept as '" << note.keepAs << "' before the game first saves over it";
    std::cerr << "\n";
}

std::string FillMessage(const std::string& sentence, const std::string& file, const std::string& problem) {
    std::string text;
    for (size_t at = 0; at < sentence.size();) {
        if (sentence.compare(at, 6, "{file}") == 0) {
            text += file;
            at += 6;
        } else if (sentence.compare(at, 9, "{problem}") == 0) {
            text += problem;
            at += 9;
        } else {
            text += sentence[at++];
        }
    }
    return text;
}

std::string DamagedSavedFilesMessage(const SavedFiles& saved, const MessageWords& words) {
    std::string message;
    for (const DamagedSavedFile* note : {&saved.settingsDamage, &saved.scoresDamage, &saved.profilesDamage}) {
        if (note->path.empty()) continue;
        message += "\n\n" + FillMessage(words.savedFileProblem, note->path, note->problem) + "\n" + words.defaultsInUse;
        if (!note->keepAs.empty()) message += " " + FillMessage(words.keptAs, note->keepAs);
    }
    if (message.empty()) return message;
    return words.savedFilesIntro + message;
}

void KeepDamagedSavedFile(DamagedSavedFile& note, const std::string& path) {
    if (note.kept || note.keepAs.empty() || note.path != path) return;
    // Something may have taken the name since the start.
    if (NameTaken(note.keepAs)) note.keepAs = FreeKeepName(path);
    std::error_code ec;
    std::filesystem::rename(Utf8Path(path), Utf8Path(note.keepAs), ec);
    if (!ec) {
        std::cerr << "Kavrix: the damaged file '" << path << "' is kept as '" << note.keepAs << "'\n";
    } else if (ec != std::errc::no_such_file_or_directory) {  // gone since the start: nothing left to keep
        throw std::runtime_error("Cannot keep the damaged file '" + path + "' as '" + note.keepAs + "' (" +
                                 ec.message() + "); it is not saved over");
    }
    note.kept = true;
}
