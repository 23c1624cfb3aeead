// The board as an HTML page made by the server: the verified scores of each
// difficulty, every text escaped, in Czech or English as the reader's
// browser asks (Accept-Language, or ?lang=cs|en), each entry with "watch"
// (the browser build playing its replay) when the board serves one, and
// "download". The page carries no script.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "storage.h"

namespace board {

enum class PageLanguage { Czech, English };

// ?lang= when it names cs or en, else the Accept-Language header's most
// wanted of the two; English when it names neither.
PageLanguage ChoosePageLanguage(const std::string& acceptLanguage, const std::string& asked);

// & < > " ' as character references.
std::string EscapeHtml(std::string_view text);

struct DifficultyList {
    int difficulty = 1;
    std::vector<ScoreRow> rows;
};

// watchPath: where the browser build is served ("/play/"), empty for none.
std::string BoardPage(const std::vector<DifficultyList>& lists, PageLanguage language, const std::string& watchPath);

// "2026-03-14" for Unix seconds (UTC).
std::string DateOf(int64_t unixSeconds);

}  // namespace board
