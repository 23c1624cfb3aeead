// Loads the texts of the language in use: the story and commander messages
// (Texty), the menu terminal's lines (Prikazy) and the other words, converted
// once from the UTF-8 source to the cp1250 bytes the game draws. The message
// boxes' sentences stay UTF-8, as the window system shows them.
#include "frontend/texts.h"

#include <stdexcept>
#include <string_view>
#include <vector>

#include "frontend/text_sources.h"
#include "media/cp1250.h"
#include "state/world.h"

namespace {

std::string Convert(std::string_view line, const std::string& where) {
    try {
        return Utf8ToCp1250(line);
    } catch (const std::exception& e) {
        throw std::runtime_error(where + ": " + e.what());
    }
}

std::vector<std::string> ConvertList(const std::vector<std::string_view>& lines, const char* listName) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        out.push_back(Convert(lines[i], std::string(listName) + " line " + std::to_string(i)));
    return out;
}

// The drawn words in cp1250; the message boxes' sentences as written.
Words ConvertWords(const Words& source) {
    Words words = source;
    for (ItemCaption& caption : words.items)
        for (ItemCaption::Line& line : caption.lines) line.text = Convert(line.text, "caption");
    words.ending = Convert(source.ending, "ending caption");
    words.storyPrompt = Convert(source.storyPrompt, "story prompt");
    for (std::string* word : {&words.keys.space, &words.keys.up, &words.keys.down, &words.keys.left, &words.keys.right,
                              &words.keys.arrows, &words.keys.orWord, &words.keys.stick, &words.keys.dpad})
        *word = Convert(*word, "key word");
    return words;
}

}  // namespace

void LoadTexts(World& w) {
    const TextSource& source = TextsOf(w.shell.language);
    w.front.Texty = ConvertList(source.texty, "Texty");
    w.front.Prikazy = ConvertList(source.prikazy, "Prikazy");
    w.front.words = ConvertWords(source.words);
}
