// Environment variables on Windows, read in UTF-16 and given in UTF-8.
#include <cstdlib>

#include "media/environment.h"
#include "media/wide_text_windows.h"

std::string EnvironmentVariable(const char* name) {
    const wchar_t* value = ::_wgetenv(WideFromUtf8(name).c_str());
    return value ? Utf8FromWide(value) : std::string();
}
