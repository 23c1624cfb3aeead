// Loads the game's two hidden text lists: the story and commander messages
// (Texty) and the menu terminal's lines (Prikazy), converted once from the
// UTF-8 source to the cp1250 bytes the game draws.
#include "frontend/texts.h"

#include <stdexcept>
#include <string_view>
#include <vector>

#include "media/cp1250.h"
#include "state/world.h"

namespace texts_data {
extern const std::vector<std::string_view> kTexty;
extern const std::vector<std::string_view> kPrikazy;
}  // namespace texts_data

namespace {

std::vector<std::string> Convert(const std::vector<std::string_view>& lines, const char* listName) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        try {
            out.push_back(Utf8ToCp1250(lines[i]));
        } catch (const std::exception& e) {
            throw std::runtime_error(std::string(listName) + " line " + std::to_string(i) + ": " + e.what());
        }
    }
    return out;
}

}  // namespace

void LoadTexts(World& w) {
    w.front.Texty = Convert(texts_data::kTexty, "Texty");
    w.front.Prikazy = Convert(texts_data::kPrikazy, "Prikazy");
}
