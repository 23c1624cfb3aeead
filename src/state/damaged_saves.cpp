// Damaged saved files: noted at start-up, told to the player, and moved to
// NAME.damaged (or NAME.damaged.2, ... when that is taken) just before the
// game first writes the file anew.
#include "state/damaged_saves.h"

#include <sys/stat.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <stdexcept>

namespace {

bool NameTaken(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
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
    if (std::rename(path.c_str(), note.keepAs.c_str()) == 0) {
        std::cerr << "Kavrix: the damaged file '" << path << "' is kept as '" << note.keepAs << "'\n";
    } else if (errno != ENOENT) {  // gone since the start: there is nothing left to keep
        throw std::runtime_error("Cannot keep the damaged file '" + path + "' as '" + note.keepAs + "' (" +
                                 std::strerror(errno) + "); it is not saved over");
    }
    note.kept = true;
}
