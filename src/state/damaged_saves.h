// Saved files found damaged at start-up: the report on stderr, the message
// the windowed game shows, and keeping the damaged file under a name of its
// own before the game first saves over it, so that nothing the player had
// is lost.
#pragma once
#include <string>

#include "state/saved_state.h"
#include "state/words.h"

// Notes that the file at path could not be used (problem says why, as
// "is damaged (100 bytes, 648 expected)") and reports it on stderr. A file
// that stands there (keepable) gets the free name it will be kept under.
void NoteDamagedSavedFile(DamagedSavedFile& note, const std::string& path, const std::string& problem, bool keepable);
// What the windowed game tells the player at start-up, in the sentences of
// the language in use: every damaged file with what was wrong, that its
// defaults are in use and where it is kept. Empty when every file was read
// or missing.
std::string DamagedSavedFilesMessage(const SavedFiles& saved, const MessageWords& words);
// The sentence with "{file}" and "{problem}" filled in.
std::string FillMessage(const std::string& sentence, const std::string& file, const std::string& problem = "");
// The name a damaged file at path is kept under: the first of
// NAME.damaged, NAME.damaged.2, ... that nothing stands on.
std::string DamagedKeepName(const std::string& path);
// Before the first save over a damaged file: moves it to its keepAs name
// and says so on stderr; later saves do nothing here. Throws
// std::runtime_error naming both when it cannot be moved, so that the save
// does not go ahead and write over it.
void KeepDamagedSavedFile(DamagedSavedFile& note, const std::string& path);
