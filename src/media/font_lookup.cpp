// The game's font faces through fontconfig, so the game finds them on any
// distribution: fontconfig's own aliases turn "Arial" into Liberation Sans or
// another face with the same metrics, and the answer is checked against the
// families that really have them.
#include "media/font_lookup.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include "media/media_error.h"

namespace {

// What the game asks fontconfig for, and which families it accepts as the
// answer: text is laid out by pixel, so a face with other metrics (which
// fontconfig offers when nothing fits) would break the screens.
struct FontRequest {
    const char* asked;   // the face as the game names it, for messages
    const char* family;  // the family fontconfig is asked for
    bool bold;
    const char* const* accepted;  // families with the same metrics, null-ended
    const char* install;          // what to install when none is there
};
constexpr const char* kArialMetrics[] = {"Arial",       "Liberation Sans", "Arimo",     "Albany AMT",
                                         "Nimbus Sans", "Nimbus Sans L",   "Helvetica", nullptr};
constexpr const char* kSystemMetrics[] = {"DejaVu Sans", "Bitstream Vera Sans", nullptr};
constexpr FontRequest kFontRequests[kGameFontCount] = {
    {"Arial", "Arial", false, kArialMetrics, "Liberation Sans (Debian: fonts-liberation)"},
    {"Arial bold", "Arial", true, kArialMetrics, "Liberation Sans Bold (Debian: fonts-liberation)"},
    {"System", "DejaVu Sans", true, kSystemMetrics, "DejaVu Sans Bold (Debian: fonts-dejavu-core)"},
};

bool Accepted(const FontRequest& request, FcPattern* match) {
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        for (const char* const* name = request.accepted; *name; ++name)
            if (::strcasecmp(reinterpret_cast<const char*>(family), *name) == 0) return true;
    return false;
}

// Asks fontconfig for the face; throws MediaError naming the face asked for
// when no installed font has its metrics and weight.
FontLocation FindFont(const FontRequest& request) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.family));
    FcPatternAddInteger(pattern, FC_WEIGHT, request.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    FontLocation found;
    if (match) {
        FcChar8* file = nullptr;
        int weight = FC_WEIGHT_REGULAR, index = 0;
        FcBool scalable = FcFalse;
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternGetBool(match, FC_SCALABLE, 0, &scalable);
        const bool weightFits = request.bold ? weight >= FC_WEIGHT_DEMIBOLD : weight < FC_WEIGHT_DEMIBOLD;
        if (Accepted(request, match) && weightFits && scalable &&
            FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            found.path = reinterpret_cast<const char*>(file);
            found.index = index & 0xFFFF;  // the upper bits name a variable font's instance
        }
        FcPatternDestroy(match);
    }
    if (found.path.empty())
        throw MediaError(std::string("Cannot find the font \"") + request.asked +
                         "\": fontconfig knows no face with its metrics; install " + request.install);
    return found;
}

}  // namespace

FontLocation FindGameFont(GameFont font) { return FindFont(kFontRequests[font]); }
