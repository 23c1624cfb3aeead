// The player's locale read as one of the game's two languages.
#include "shell/locale_language.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace {

// "cs_CZ.UTF-8", "sk", "en-GB", "C.UTF-8", "POSIX": the language part in
// lower case ("c" and "posix" for the plain locales).
std::string LanguagePart(const std::string& locale) {
    std::string part = locale.substr(0, locale.find_first_of("_-.@"));
    for (char& c : part) c = char(std::tolower(static_cast<unsigned char>(c)));
    return part;
}

Language LanguageOfLocale(const std::string& locale) {
    const std::string part = LanguagePart(locale);
    if (part == "cs" || part == "sk" || part == "c" || part == "posix" || part.empty()) return Language::Czech;
    return Language::English;
}

}  // namespace

Language LocaleLanguage(const std::function<const char*(const char* name)>& variable) {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = variable(name);
        if (!value || !*value) continue;
        std::string locale = value;
        // LANGUAGE is a list in the player's order ("sk:cs:en"): its first entry.
        if (std::string(name) == "LANGUAGE") {
            const size_t first = locale.find_first_not_of(':');
            if (first == std::string::npos) continue;
            locale = locale.substr(first, locale.find(':', first) - first);
        }
        return LanguageOfLocale(locale);
    }
    return Language::Czech;
}

Language LocaleLanguage() {
    return LocaleLanguage([](const char* name) { return static_cast<const char*>(std::getenv(name)); });
}
