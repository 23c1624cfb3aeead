// The page's two text sets, the choice between them, escaping, and the
// page itself in the game's colours (deep space, phosphor green).
#include "board_page.h"

#include <cstdlib>
#include <ctime>

namespace board {

namespace {

struct PageTexts {
    const char* code;
    const char* title;
    const char* lead;
    const char* difficulty;
    const char* difficulties[3];
    const char* columns[5];  // rank, name, points, level, date
    const char* watch;
    const char* download;
    const char* empty;
    const char* otherLanguage;  // the link to the other language
};

const PageTexts kCzech = {
    "cs",
    "Kavrix — světová tabulka",
    "Každé skóre tu ověřil server: přehrál celou hru a dostal tytéž kontrolní součty.",
    "Obtížnost:",
    {"LEHKÁ", "STŘEDNÍ", "TĚŽKÁ"},
    {"#", "JMÉNO", "BODY", "ÚROVEŇ", "DATUM"},
    "sledovat",
    "stáhnout",
    "Zatím žádná ověřená hra.",
    "<a href=\"?lang=en\" hreflang=\"en\">English</a>",
};

const PageTexts kEnglish = {
    "en",
    "Kavrix — world score board",
    "Every score here was verified: the server replayed the whole game and got the same hashes.",
    "Difficulty:",
    {"EASY", "NORMAL", "HARD"},
    {"#", "NAME", "POINTS", "LEVEL", "DATE"},
    "watch",
    "download",
    "No verified game yet.",
    "<a href=\"?lang=cs\" hreflang=\"cs\">Česky</a>",
};

constexpr const char* kStyle =
    "body{background:#05070D;color:#00D500;font-family:'DejaVu Sans',sans-serif;margin:2em auto;max-width:52em;"
    "padding:0 1em}h1{color:#9CC7FF}h2{color:#00FF00;border-bottom:1px solid #2B3A4F}"
    "table{border-collapse:collapse;width:100%;margin-bottom:2em;table-layout:fixed}"
    "th,td{padding:.25em .6em;text-align:left;overflow:hidden;white-space:nowrap}"
    "th:nth-child(1){width:2.5em}th:nth-child(3){width:5em}th:nth-child(4){width:5em}th:nth-child(5){width:6em}"
    "th:nth-child(6){width:10em}th:nth-child(1),th:nth-child(3),th:nth-child(4){text-align:right}"
    "th{color:#9CC7FF;background:#1E2228}tr:nth-child(even) td{background:#0B0F18}"
    "td.n{text-align:right}a{color:#FFB000}.lang{float:right}";

// The q value of one Accept-Language entry ("cs;q=0.8" gives 0.8).
double Quality(const std::string& entry) {
    const size_t q = entry.find(";q=");
    return q == std::string::npos ? 1.0 : std::atof(entry.c_str() + q + 3);
}

void Row(std::string& out, const PageTexts& t, int rank, const ScoreRow& row, const std::string& watchPath) {
    const std::string id = std::to_string(row.id);
    out += "<tr><td class=\"n\">" + std::to_string(rank) + "</td><td>" + EscapeHtml(row.name) +
           "</td><td class=\"n\">" + std::to_string(row.score) + "</td><td class=\"n\">" + std::to_string(row.level) +
           "</td><td>" + DateOf(row.submittedAt) + "</td><td>";
    if (!watchPath.empty())
        out += "<a href=\"" + watchPath + "?replay=%2Fapi%2Freplays%2F" + id + "%2Ffile\">" + t.watch + "</a> ";
    out += "<a href=\"/api/replays/" + id + "/file\" download=\"kavrix-" + id + ".replay\">" + t.download +
           "</a></td></tr>\n";
}

}  // namespace

PageLanguage ChoosePageLanguage(const std::string& acceptLanguage, const std::string& asked) {
    if (asked == "cs") return PageLanguage::Czech;
    if (asked == "en") return PageLanguage::English;
    double czech = 0, english = 0;
    for (size_t from = 0; from < acceptLanguage.size();) {
        size_t to = acceptLanguage.find(',', from);
        if (to == std::string::npos) to = acceptLanguage.size();
        std::string entry = acceptLanguage.substr(from, to - from);
        from = to + 1;
        entry.erase(0, entry.find_first_not_of(' '));
        const std::string primary = entry.substr(0, entry.find_first_of("-;"));
        if (primary == "cs") czech = std::max(czech, Quality(entry));
        if (primary == "en") english = std::max(english, Quality(entry));
    }
    return czech > english ? PageLanguage::Czech : PageLanguage::English;
}

std::string EscapeHtml(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string DateOf(int64_t unixSeconds) {
    const std::time_t t = std::time_t(unixSeconds);
    std::tm parts{};
    gmtime_r(&t, &parts);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return text;
}

std::string BoardPage(const std::vector<DifficultyList>& lists, PageLanguage language, const std::string& watchPath) {
    const PageTexts& t = language == PageLanguage::Czech ? kCzech : kEnglish;
    std::string out = std::string("<!DOCTYPE html>\n<html lang=\"") + t.code +
                      "\"><head><meta charset=\"utf-8\"><meta name=\"viewport\" content=\"width=device-width\">"
                      "<title>" +
                      t.title + "</title><style>" + kStyle + "</style></head><body>\n<p class=\"lang\">" +
                      t.otherLanguage + "</p><h1>" + t.title + "</h1>\n<p>" + t.lead + "</p>\n";
    for (const DifficultyList& list : lists) {
        out += std::string("<h2>") + t.difficulty + " " + t.difficulties[(list.difficulty - 1) % 3] + "</h2>\n";
        if (list.rows.empty()) {
            out += std::string("<p>") + t.empty + "</p>\n";
            continue;
        }
        out += "<table><tr>";
        for (const char* column : t.columns) out += std::string("<th>") + column + "</th>";
        out += "<th></th></tr>\n";
        for (size_t i = 0; i < list.rows.size(); ++i) Row(out, t, int(i + 1), list.rows[i], watchPath);
        out += "</table>\n";
    }
    return out + "</body></html>\n";
}

}  // namespace board
