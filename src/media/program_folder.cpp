// The running program's folder: SDL knows it on every platform it runs on;
// /proc/self/exe answers on Linux when SDL cannot.
#include "media/program_folder.h"

#include <SDL.h>

#include <filesystem>
#include <system_error>

std::string ProgramFolder() {
    if (char* base = SDL_GetBasePath()) {
        std::string folder = base;
        SDL_free(base);
        // SDL ends the path with a separator; the game joins names itself.
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        return folder;
    }
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : program.parent_path().string();
}
