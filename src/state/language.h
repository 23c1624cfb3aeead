// The languages the game speaks: Czech, its own and the default, and
// English. A language is data only (its text set and its pictures with
// words); no rule of the game depends on it.
#pragma once
#include <cstdint>
#include <string_view>

enum class Language : uint8_t { Czech, English };

constexpr Language kLanguages[] = {Language::Czech, Language::English};

// The code a player writes (--lang, language= in kavrix.conf, recordings).
constexpr const char* LanguageCode(Language language) { return language == Language::English ? "en" : "cs"; }

constexpr bool LanguageFromCode(std::string_view code, Language& language) {
    for (Language candidate : kLanguages) {
        if (code != LanguageCode(candidate)) continue;
        language = candidate;
        return true;
    }
    return false;
}
