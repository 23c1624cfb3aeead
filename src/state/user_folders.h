// The player's own folders on a Linux desktop (the XDG base directories;
// on Windows %APPDATA%\Kavrix for both, user_folders_windows.cpp): where the
// windowed game keeps its saved files, and where its settings go. Each is
// created only when something is first written into it.
#pragma once
#include <string>

// $XDG_DATA_HOME/kavrix, by default ~/.local/share/kavrix; empty when
// neither the variable nor a home folder is known.
std::string UserDataFolder();
// $XDG_CONFIG_HOME/kavrix, by default ~/.config/kavrix; empty likewise.
std::string UserConfigFolder();
// Creates the folder and any missing parents, private to the user (0700).
// Throws std::runtime_error naming the folder when that fails.
void CreateUserFolder(const std::string& folder);
