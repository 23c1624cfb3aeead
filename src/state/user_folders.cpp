// The XDG base directories as the game uses them: a variable that holds an
// absolute path wins, else the default under the home folder ($HOME, or the
// password database when HOME is unset).
#include "state/user_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && entry->pw_dir[0] == '/')
        return entry->pw_dir;
    return std::string();
}

// The game's folder under an XDG base directory. A relative value of the
// variable is ignored, as the base directory rules ask.
std::string GameFolderUnder(const char* variable, const char* defaultUnderHome) {
    const char* base = std::getenv(variable);
    if (base && base[0] == '/') return (std::filesystem::path(base) / "kavrix").string();
    const std::string home = HomeFolder();
    if (home.empty()) return std::string();
    return (std::filesystem::path(home) / defaultUnderHome / "kavrix").string();
}

}  // namespace

std::string UserDataFolder() { return GameFolderUnder("XDG_DATA_HOME", ".local/share"); }

std::string UserConfigFolder() { return GameFolderUnder("XDG_CONFIG_HOME", ".config"); }

void CreateUserFolder(const std::string& folder) {
    std::filesystem::path path;
    struct stat st;
    for (const std::filesystem::path& part : std::filesystem::path(folder)) {
        path /= part;
        // A folder that is there is passed by: the browser's file system
        // answers mkdir(".") with EINVAL rather than EEXIST.
        if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
        if (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) continue;
        throw std::runtime_error("Cannot create folder '" + path.string() + "': " + std::strerror(errno));
    }
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        throw std::runtime_error("Cannot create folder '" + folder + "': a file of that name is in the way");
}
