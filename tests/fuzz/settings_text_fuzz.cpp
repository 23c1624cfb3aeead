// libFuzzer entry for the reader and writer of kavrix.conf's text: any text
// reads without fault; what the game writes for it reads back as the same
// settings (window, scaling, language and every key and pad binding) with
// nothing damaged, and writing that again gives the same
// text; a report quotes at most a short printable excerpt of each line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/display_settings.h"

namespace {

[[noreturn]] void Fault(const char* what, const std::string& detail) {
    std::fprintf(stderr, "settings text fuzz: %s: %s\n", what, detail.c_str());
    std::abort();
}

bool Same(const DisplaySettings& a, const DisplaySettings& b) {
    return a.fullScreen == b.fullScreen && a.scaling == b.scaling && a.language == b.language &&
           a.bindings == b.bindings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const SettingsText first = ParseSettingsText(text);
    for (char c : first.report)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
            Fault("a report quotes a byte that is not printable", first.report);
    // Five lines quoted, each number and excerpt short, and the count of the rest.
    if (first.report.size() > 5 * 70 + 30) Fault("a report too long", first.report);

    const std::string written = FormatSettingsText(first.lines, first.settings);
    const SettingsText again = ParseSettingsText(written);
    if (again.damaged) Fault("the game's own text reads as damaged", written);
    if (!Same(again.settings, first.settings)) Fault("the written settings read otherwise", written);
    if (FormatSettingsText(again.lines, again.settings) != written) Fault("writing again changes the text", written);
    return 0;
}
