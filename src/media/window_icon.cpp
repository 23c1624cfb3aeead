// Finding the generated desktop icon relative to the program (an install's
// share/icons, or a build folder's icons/) and reading it with libpng.
#include "media/window_icon.h"

#include <png.h>

#include <filesystem>
#include <string>

#include "media/program_folder.h"

namespace {

constexpr int kIconSize = 64;
constexpr const char* kIconInTheme = "hicolor/64x64/apps/kavrix.png";

bool ReadPng(const std::string& path, std::vector<uint8_t>& rgba, int& size) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    if (image.width != kIconSize || image.height != kIconSize) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(size_t(kIconSize) * kIconSize * 4);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), kIconSize * 4, nullptr)) {
        png_image_free(&image);
        return false;
    }
    rgba = std::move(pixels);
    size = kIconSize;
    return true;
}

}  // namespace

bool ReadWindowIcon(std::vector<uint8_t>& rgba, int& size) {
    const std::string folder = ProgramFolder();
    if (folder.empty()) return false;
    const std::filesystem::path program(folder);
    for (const std::filesystem::path& theme : {program / ".." / "share" / "icons", program / "icons"}) {
        std::error_code ec;
        const std::filesystem::path file = theme / kIconInTheme;
        if (std::filesystem::is_regular_file(file, ec) && ReadPng(file.string(), rgba, size)) return true;
    }
    return false;
}
