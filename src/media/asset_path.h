// Asset names such as "video\rakety.lev" resolved under the data directory:
// backslash as separator, each component matched without regard to case.
#pragma once
#include <string>

// Returns the path of the existing file, or dataDir + the name with slashes
// when nothing matches (so the open fails with that name).
std::string ResolveAssetPath(const std::string& dataDir, const std::string& assetName);
