// The levpack command's manifests: parsing the item lines, reading PNG
// pictures and raw PCM sounds, and writing the collection file.
#include "manifest.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include <png.h>

namespace levpack {
namespace {

struct Line {
    std::string where;  // "MANIFEST:N"
    std::string name, file;
    std::vector<std::pair<std::string, std::string>> options;
};

std::string Directory(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::vector<Line> ReadLines(const std::string& manifestPath) {
    std::ifstream in(manifestPath);
    if (!in) throw ManifestError("Cannot open manifest " + manifestPath);
    const std::string dir = Directory(manifestPath);
    std::vector<Line> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        const size_t hash = text.find('#');
        if (hash != std::string::npos) text.resize(hash);
        std::istringstream words(text);
        Line line;
        line.where = manifestPath + ":" + std::to_string(number);
        if (!(words >> line.name)) continue;
        if (!(words >> line.file)) throw ManifestError(line.where + ": missing file name after " + line.name);
        if (line.file[0] != '/') line.file = dir + line.file;
        std::string option;
        while (words >> option) {
            const size_t eq = option.find('=');
            if (eq == std::string::npos || eq == 0)
                throw ManifestError(line.where + ": option '" + option + "' is not KEY=VALUE");
            line.options.emplace_back(option.substr(0, eq), option.substr(eq + 1));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

[[noreturn]] void BadValue(const Line& line, const std::string& key, const std::string& value) {
    throw ManifestError(line.where + ": bad value '" + value + "' for " + key);
}

long Number(const Line& line, const std::string& key, const std::string& value, long lo, long hi) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(value.c_str(), &end, 0);
    if (value.empty() || *end != 0 || errno != 0 || v < lo || v > hi) BadValue(line, key, value);
    return v;
}

bool YesNo(const Line& line, const std::string& key, const std::string& value) {
    if (value == "yes" || value == "true" || value == "1") return true;
    if (value == "no" || value == "false" || value == "0") return false;
    BadValue(line, key, value);
}

void Pair(const Line& line, const std::string& key, const std::string& value, int& a, int& b) {
    const size_t x = value.find('x');
    if (x == std::string::npos) BadValue(line, key, value);
    a = int(Number(line, key, value.substr(0, x), 0, 16384));
    b = int(Number(line, key, value.substr(x + 1), 0, 16384));
}

struct Colour {
    const char* name;
    uint32_t value;
};
constexpr Colour kColours[] = {
    {"clBlack", 0x000000},  {"clMaroon", 0x000080},  {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000},   {"clPurple", 0x800080},  {"clTeal", 0x808000},  {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF},     {"clLime", 0x00FF00},  {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},  {"clWhite", 0xFFFFFF},
};

uint32_t ColourValue(const Line& line, const std::string& value) {
    for (const Colour& c : kColours)
        if (value == c.name) return c.value;
    return uint32_t(Number(line, "key", value, 0, 0xFFFFFF));
}

}  // namespace

void ReadPng(const std::string& path, uint32_t clearColour, int& width, int& height, std::vector<uint32_t>& pixels) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        throw ManifestError("Cannot read PNG " + path + ": " + image.message);
    image.format = PNG_FORMAT_RGBA;
    if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
        png_image_free(&image);
        throw ManifestError("PNG " + path + " has an unusable size");
    }
    std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr))
        throw ManifestError("Cannot read PNG " + path + ": " + image.message);
    width = int(image.width);
    height = int(image.height);
    pixels.resize(size_t(width) * size_t(height));
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint8_t* p = &rgba[i * 4];
        pixels[i] = p[3] < 128 ? clearColour : uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
    }
}

std::vector<PictureEntry> ReadPictureManifest(const std::string& manifestPath) {
    std::vector<PictureEntry> descs;
    for (const Line& line : ReadLines(manifestPath)) {
        PictureEntry p;
        p.name = line.name;
        for (const auto& [key, value] : line.options) {
            if (key == "pattern") Pair(line, key, value, p.patternWidth, p.patternHeight);
            else if (key == "skip") Pair(line, key, value, p.skipWidth, p.skipHeight);
            else if (key == "transparent") p.transparent = YesNo(line, key, value);
            else if (key == "system") p.systemMemory = YesNo(line, key, value);
            else if (key == "key") p.transparentColor = ColourValue(line, value);
            else if (key == "quality") p.jpegQuality = int(Number(line, key, value, 1, 100));
            else if (key == "data") {
                if (value == "dib") p.data = PictureData::Dib;
                else if (value == "bitmap") p.data = PictureData::Bitmap;
                else if (value == "jpeg") p.data = PictureData::Jpeg;
                else BadValue(line, key, value);
            } else {
                throw ManifestError(line.where + ": unknown option '" + key + "'");
            }
        }
        try {
            ReadPng(line.file, p.transparentColor, p.width, p.height, p.pixels);
        } catch (const ManifestError& e) {
            throw ManifestError(line.where + ": " + e.what());
        }
        descs.push_back(std::move(p));
    }
    return descs;
}

std::vector<WaveEntry> ReadWaveManifest(const std::string& manifestPath) {
    std::vector<WaveEntry> descs;
    for (const Line& line : ReadLines(manifestPath)) {
        WaveEntry w;
        w.name = line.name;
        for (const auto& [key, value] : line.options) {
            if (key == "rate") w.sampleRate = int(Number(line, key, value, 1, 384000));
            else if (key == "channels") w.channels = int(Number(line, key, value, 1, 8));
            else if (key == "bits") {
                w.bitsPerSample = int(Number(line, key, value, 8, 32));
                if (w.bitsPerSample % 8 != 0) BadValue(line, key, value);
            } else if (key == "looped") w.looped = YesNo(line, key, value);
            else if (key == "max") w.maxPlayingCount = int(Number(line, key, value, 0, 1000));
            else throw ManifestError(line.where + ": unknown option '" + key + "'");
        }
        std::ifstream raw(line.file, std::ios::binary);
        if (!raw) throw ManifestError(line.where + ": cannot open " + line.file);
        w.samples.assign(std::istreambuf_iterator<char>(raw), std::istreambuf_iterator<char>());
        descs.push_back(std::move(w));
    }
    return descs;
}

int RunLevpack(const std::vector<std::string>& args, std::string& errors) {
    if (args.size() != 3 || (args[0] != "pictures" && args[0] != "waves")) {
        errors = "usage: levpack pictures|waves OUT.lev MANIFEST.txt\n";
        return 2;
    }
    try {
        const std::vector<uint8_t> bytes = args[0] == "pictures" ? WritePictureCollection(ReadPictureManifest(args[2]))
                                                                 : WriteWaveCollection(ReadWaveManifest(args[2]));
        WriteFile(args[1], bytes);
    } catch (const std::exception& e) {
        errors = std::string("levpack: ") + e.what() + "\n";
        return 1;
    }
    return 0;
}

}  // namespace levpack
