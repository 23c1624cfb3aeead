// Paths made from the game's text, which is UTF-8 everywhere. On Linux a
// path is its bytes; on Windows std::filesystem reads narrow text in the
// ANSI code page, so every path built from a string goes through Utf8Path,
// and path::string() gives UTF-8 back on both.
#pragma once
#include <filesystem>
#include <string_view>

inline std::filesystem::path Utf8Path(std::string_view text) {
    return std::filesystem::path(std::u8string_view(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}
