// The game's font faces in the Windows build, where there is no fontconfig
// (and Windows' own Arial draws other pixels than Liberation Sans): the font
// files of Debian's fonts-liberation and fonts-dejavu-core that the game
// carries in fonts\ beside the program.
#include "media/font_lookup.h"

#include <filesystem>

#include "media/media_error.h"
#include "media/program_folder.h"
#include "media/utf8_path.h"

namespace {

struct BundledFont {
    const char* asked;  // the face as the game names it, for messages
    const char* file;
};
constexpr BundledFont kBundledFonts[kGameFontCount] = {
    {"Arial", "LiberationSans-Regular.ttf"},
    {"Arial bold", "LiberationSans-Bold.ttf"},
    {"System", "DejaVuSans-Bold.ttf"},
};

}  // namespace

FontLocation FindGameFont(GameFont font) {
    const BundledFont& bundled = kBundledFonts[font];
    const std::string path = (Utf8Path(ProgramFolder()) / "fonts" / bundled.file).string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(Utf8Path(path), ec))
        throw MediaError(std::string("Cannot find the font \"") + bundled.asked + "\": '" + path +
                         "' is missing; reinstall the game");
    return FontLocation{path, 0};
}
