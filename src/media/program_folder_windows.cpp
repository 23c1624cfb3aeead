// The running program's folder on Windows: the module's own file name, asked
// in UTF-16 and given back in UTF-8.
#include "media/program_folder.h"

#include <vector>

#include "media/wide_text_windows.h"

std::string ProgramFolder() {
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), DWORD(name.size()));
        if (length == 0) return std::string();
        if (length < name.size()) {
            std::wstring path(name.data(), length);
            const size_t slash = path.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::string() : Utf8FromWide(path.substr(0, slash));
        }
        name.resize(name.size() * 2);  // a long path: asked again with room for it
    }
}
