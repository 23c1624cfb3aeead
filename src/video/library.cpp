// Opens FFmpeg's libraries by the names this build was compiled against
// (libavformat.so.59 and so on) and looks up each function the video writer
// uses in them, once per run.
#include "video/library.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

namespace video {

namespace {

struct Loaded {
    FFmpegLibrary functions;
    std::string error;
};

std::string SharedName(const char* library, int major) {
    return std::string("lib") + library + ".so." + std::to_string(major);
}

Loaded Load() {
    Loaded loaded;
    const std::string names[] = {
        SharedName("avutil", LIBAVUTIL_VERSION_MAJOR),
        SharedName("swresample", LIBSWRESAMPLE_VERSION_MAJOR),
        SharedName("avcodec", LIBAVCODEC_VERSION_MAJOR),
        SharedName("avformat", LIBAVFORMAT_VERSION_MAJOR),
    };
    void* handles[4] = {};
    for (int i = 0; i < 4; ++i) {
        handles[i] = ::dlopen(names[i].c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handles[i]) {
            const char* reason = ::dlerror();
            loaded.error = "cannot load " + names[i] + " (FFmpeg, needed for videos): " + (reason ? reason : "");
            return loaded;
        }
    }
    auto find = [&](const char* name) -> void* {
        for (void* handle : handles)
            if (void* symbol = ::dlsym(handle, name)) return symbol;
        if (loaded.error.empty()) loaded.error = std::string("FFmpeg has no function ") + name;
        return nullptr;
    };
#define KAVRIX_FFMPEG_FIND(name) loaded.functions.name = reinterpret_cast<decltype(&::name)>(find(#name));
    KAVRIX_FFMPEG_FUNCTIONS(KAVRIX_FFMPEG_FIND)
#undef KAVRIX_FFMPEG_FIND
    return loaded;  // the libraries stay loaded for the rest of the run
}

}  // namespace

const FFmpegLibrary& FFmpeg() {
    static const Loaded loaded = Load();
    if (!loaded.error.empty()) throw std::runtime_error(loaded.error);
    return loaded.functions;
}

}  // namespace video
