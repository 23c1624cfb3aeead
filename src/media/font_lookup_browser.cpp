// The game's font faces in the browser build, where there is no fontconfig:
// the files of Debian's fonts-liberation and fonts-dejavu-core, at the paths
// Debian installs them. The page carries them in its data at those paths, and
// the build for node reads them from the host, which has the packages.
#include "media/font_lookup.h"

#include <fstream>

#include "media/media_error.h"

namespace {

struct BundledFont {
    const char* asked;  // the face as the game names it, for messages
    const char* path;
};
constexpr BundledFont kBundledFonts[kGameFontCount] = {
    {"Arial", "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"},
    {"Arial bold", "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"},
    {"System", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"},
};

}  // namespace

FontLocation FindGameFont(GameFont font) {
    const BundledFont& bundled = kBundledFonts[font];
    if (!std::ifstream(bundled.path))
        throw MediaError(std::string("Cannot find the font \"") + bundled.asked + "\": '" + bundled.path +
                         "' is missing from the game's data");
    return FontLocation{bundled.path, 0};
}
