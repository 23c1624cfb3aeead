// The player's own folder on Windows, the counterpart of the XDG folders:
// %APPDATA%\Kavrix (the roaming application data) holds the saved files and
// kavrix.conf alike. An APPDATA that holds an absolute path wins, as the XDG
// variables do on Linux; else Windows is asked for the folder itself.
#include <shlobj.h>

#include <filesystem>
#include <stdexcept>

#include "media/environment.h"
#include "media/utf8_path.h"
#include "media/wide_text_windows.h"
#include "state/user_folders.h"

namespace {

std::string RoamingAppData() {
    const std::string variable = EnvironmentVariable("APPDATA");
    if (!variable.empty() && Utf8Path(variable).is_absolute()) return variable;
    wchar_t* folder = nullptr;
    std::string found;
    if (::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder) == S_OK)
        found = Utf8FromWide(folder);
    ::CoTaskMemFree(folder);
    return found;
}

std::string GameFolder() {
    const std::string base = RoamingAppData();
    return base.empty() ? std::string() : (Utf8Path(base) / "Kavrix").string();
}

}  // namespace

std::string UserDataFolder() { return GameFolder(); }

std::string UserConfigFolder() { return GameFolder(); }

void CreateUserFolder(const std::string& folder) {
    // Every missing folder on the way is made; the user's profile already
    // keeps what is under it to the user.
    std::filesystem::path path;
    for (const std::filesystem::path& part : Utf8Path(folder)) {
        path /= part;
        if (!path.has_relative_path()) continue;  // the drive ("C:\") is there
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (::CreateDirectoryW(path.c_str(), nullptr)) continue;
        const DWORD error = ::GetLastError();
        if (error == ERROR_ALREADY_EXISTS) continue;
        throw std::runtime_error("Cannot create folder '" + path.string() + "': " + WindowsErrorText(error));
    }
    const DWORD attributes = ::GetFileAttributesW(Utf8Path(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw std::runtime_error("Cannot create folder '" + folder + "': a file of that name is in the way");
}
