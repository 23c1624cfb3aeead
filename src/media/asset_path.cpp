// Resolves asset names like "video\rakety.lev" under the data directory,
// matching each path component without regard to letter case, since the
// names in the game's code and the files on disk need not agree on case.
#include "media/asset_path.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "media/utf8_path.h"

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::vector<std::string> SplitName(const std::string& name) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : name) {
        if (c == '\\' || c == '/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

}  // namespace

std::string ResolveAssetPath(const std::string& dataDir, const std::string& assetName) {
    namespace fs = std::filesystem;
    const std::vector<std::string> parts = SplitName(assetName);
    const fs::path base = dataDir.empty() ? fs::path(".") : Utf8Path(dataDir);

    fs::path resolved = base;
    bool found = true;
    for (const std::string& part : parts) {
        std::error_code ec;
        if (part == "." || part == "..") {
            resolved /= part;
            continue;
        }
        if (fs::exists(resolved / Utf8Path(part), ec)) {
            resolved /= Utf8Path(part);
            continue;
        }
        bool matched = false;
        for (fs::directory_iterator it(resolved, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string entry = it->path().filename().string();
            if (SameIgnoringCase(entry, part)) {
                resolved /= it->path().filename();
                matched = true;
                break;
            }
        }
        if (!matched) {
            found = false;
            break;
        }
    }
    if (found) return resolved.string();

    fs::path fallback = base;
    for (const std::string& part : parts) fallback /= Utf8Path(part);
    return fallback.string();
}
