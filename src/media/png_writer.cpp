// PNG screenshots of the back surface through libpng: each 5-6-5 pixel is
// widened to 8 bits per channel by repeating its top bits.
#include "media/png_writer.h"

#include <png.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include "media/whole_file.h"

namespace {

// The PNG into an open stream; false on any libpng error.
bool WritePngStream(const Surface& surface, std::FILE* file) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<png_byte> row(size_t(kSurfaceWidth) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, kSurfaceWidth, kSurfaceHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kSurfaceHeight; ++y) {
        for (int x = 0; x < kSurfaceWidth; ++x) {
            const uint16_t p = surface.pixels[y][x];
            const int r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
            row[size_t(x) * 3 + 0] = png_byte((r << 3) | (r >> 2));
            row[size_t(x) * 3 + 1] = png_byte((g << 2) | (g >> 4));
            row[size_t(x) * 3 + 2] = png_byte((b << 3) | (b >> 2));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const Surface& surface, const std::string& path) {
    // Written beside its name and put in place whole.
    try {
        ReplacementFile file(path);
        if (!WritePngStream(surface, file.Stream())) return false;
        file.Commit();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
