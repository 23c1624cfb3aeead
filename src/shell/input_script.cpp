// Reading and writing input scripts. Every malformed line is rejected with
// the file name, the line number and what was expected there.
#include "shell/input_script.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "media/cp1250.h"
#include "media/whole_file.h"

namespace {

bool ToInteger(const std::string& text, int64_t low, int64_t high, int64_t& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    // The whole word must be the number: a NUL inside it ends strtoll early.
    if (errno != 0 || end != text.c_str() + text.size() || v < low || v > high) return false;
    value = v;
    return true;
}

bool ToHash(const std::string& text, uint64_t& value) {
    if (text.empty() || text.size() > 16) return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(text.c_str(), &end, 16);
    if (errno != 0 || end != text.c_str() + text.size()) return false;
    value = v;
    return true;
}

// A player's name standing as the rest of a line. Blanks and a Windows line
// end around it are not part of it; a line with no name at all is refused.
bool ReadNameToLineEnd(std::istringstream& in, std::string& name) {
    std::string rest;
    std::getline(in, rest);
    const size_t first = rest.find_first_not_of(" \t\r");
    const size_t last = rest.find_last_not_of(" \t\r");
    if (first == std::string::npos) return false;
    name = rest.substr(first, last - first + 1);
    return IsPlayerName(name);
}

// "newgame DIFFICULTY LEVEL NAME": the name is the rest of the line.
bool ParseNewGame(const std::string& line, ScriptNewGame& game) {
    std::istringstream in(line);
    std::string word, difficulty, level;
    if (!(in >> word >> difficulty >> level) || word != "newgame") return false;
    int64_t d = 0, l = 0;
    if (!ToInteger(difficulty, 1, 3, d) || !ToInteger(level, 1, 9, l)) return false;
    if (!ReadNameToLineEnd(in, game.name)) return false;
    game.difficulty = int(d);
    game.level = int(l);
    return true;
}

// "YYYY-MM-DDTHH:MM:SS", as a kept replay's game line writes its date.
bool IsGameDate(const std::string& text) {
    static constexpr char kPattern[] = "dddd-dd-ddTdd:dd:dd";
    if (text.size() != sizeof kPattern - 1) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i]) return false;
    }
    return true;
}

// "game DATE FRAMES SCORE LEVEL RANK NAME": the name is the rest of the line.
bool ParseGame(const std::string& line, ScriptGame& game) {
    std::istringstream in(line);
    std::string word, date, frames, score, level, rank;
    if (!(in >> word >> date >> frames >> score >> level >> rank) || word != "game") return false;
    int64_t f = 0, s = 0, l = 0, r = 0;
    if (!IsGameDate(date) || !ToInteger(frames, 0, kMaxScriptFrame, f) || !ToInteger(score, 0, INT32_MAX, s) ||
        !ToInteger(level, 1, 9, l) || !ToInteger(rank, 0, 10, r))
        return false;
    if (!ReadNameToLineEnd(in, game.name)) return false;
    game.date = date;
    game.frames = f;
    game.score = int32_t(s);
    game.level = int(l);
    game.rank = int(r);
    return true;
}

}  // namespace

bool IsPlayerName(const std::string& utf8) {
    try {
        const std::string name = Utf8ToCp1250(utf8);
        return !name.empty() && name.size() <= 20;
    } catch (const std::exception&) {
        return false;  // not UTF-8, or a character the game cannot store
    }
}

int64_t InputScript::LastFrame() const {
    int64_t last = -1;
    for (const ScriptEvent& e : events) last = std::max(last, e.frame);
    return last;
}

bool ParseInputScript(const std::string& text, const std::string& name, InputScript& script, std::string& error) {
    script = InputScript{};
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    int64_t lastHashFrame = -1;
    auto fail = [&](const std::string& reason) {
        error = name + ":" + std::to_string(lineNumber) + ": " + reason;
        return false;
    };
    const std::string frameRange = "0.." + std::to_string(kMaxScriptFrame);
    while (std::getline(in, line)) {
        ++lineNumber;
        script.lines = lineNumber;
        if (line.rfind("newgame", 0) == 0) {
            if (!ParseNewGame(line, script.newGame))
                return fail(
                    "expected 'newgame DIFFICULTY LEVEL NAME' with DIFFICULTY 1..3, LEVEL 1..9 and a NAME of 1 "
                    "to 20 characters that Windows-1250 can hold");
            script.hasNewGame = true;
            continue;
        }
        if (line.rfind("game ", 0) == 0) {
            if (!ParseGame(line, script.game))
                return fail(
                    "expected 'game DATE FRAMES SCORE LEVEL RANK NAME' with DATE as 2026-03-14T21:05:33, "
                    "LEVEL 1..9, RANK 0..10 and a player's NAME");
            script.hasGame = true;
            continue;
        }
        const size_t hashMark = line.find('#');
        if (hashMark != std::string::npos) line.erase(hashMark);
        std::istringstream words(line);
        std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
        if (w.empty()) continue;
        if (script.hasEnd) return fail("a line after the end line (line " + std::to_string(script.endLine) + ")");
        int64_t number = 0;
        if (w[0] == "version") {
            if (w.size() < 2 || !ToInteger(w[1], 1, 1'000'000, number))
                return fail("expected 'version V' with V a whole number from 1");
            script.hasVersion = true;
            script.version = int(number);
            script.versionLine = lineNumber;
            for (size_t i = 2; i < w.size(); ++i) script.versionNote += (i > 2 ? " " : "") + w[i];
            continue;
        }
        if (w[0] == "state") {
            if (script.stateLine == 0) script.stateLine = lineNumber;
            for (size_t i = 1; i < w.size(); ++i) (script.startingState += w[i]) += ' ';
            continue;
        }
        if (w[0] == "seed") {
            if (w.size() != 2 || !ToInteger(w[1], 0, UINT32_MAX, number))
                return fail("expected 'seed S' with S in 0..4294967295");
            script.hasSeed = true;
            script.seed = uint32_t(number);
            continue;
        }
        if (w[0] == "language") {
            if (w.size() != 2 || !LanguageFromCode(w[1], script.language))
                return fail("expected 'language cs' or 'language en'");
            script.hasLanguage = true;
            continue;
        }
        ScriptEvent e;
        e.line = lineNumber;
        if (w[0] == "end") {
            if (w.size() != 2 || !ToInteger(w[1], 0, kMaxScriptFrame, script.endFrame))
                return fail("expected 'end FRAME' with FRAME in " + frameRange);
            if (script.endFrame < script.LastFrame())
                return fail("the end at frame " + w[1] + " comes before frame " + std::to_string(script.LastFrame()));
            script.hasEnd = true;
            script.endLine = lineNumber;
            continue;
        }
        if (w[0] == "hash") {
            if (w.size() < 3 || w.size() > 4 || !ToInteger(w[1], 0, kMaxScriptFrame, e.frame) ||
                !ToHash(w[2], e.hash) || (w.size() == 4 && !ToHash(w[3], e.surfaceHash)))
                return fail("expected 'hash FRAME STATE [SCREEN]' with FRAME in " + frameRange +
                            " and hexadecimal values");
            if (e.frame <= lastHashFrame)
                return fail("hash frame " + w[1] + " does not follow frame " + std::to_string(lastHashFrame));
            lastHashFrame = e.frame;
            e.hasSurfaceHash = w.size() == 4;
            e.kind = ScriptEventKind::Hash;
            script.events.push_back(e);
            continue;
        }
        if (!ToInteger(w[0], 0, kMaxScriptFrame, e.frame))
            return fail("'" + w[0] + "' is neither a frame number in " + frameRange +
                        " nor 'version', 'seed', 'language', 'state', 'hash' or 'end'");
        if (w.size() < 2) return fail("a frame number needs an action (down, up, type, move, click, pad)");
        const std::string& action = w[1];
        if (action == "down" || action == "up") {
            if (w.size() != 3) return fail("expected 'FRAME " + action + " KEY'");
            if (!GameKeyFromName(w[2].c_str(), e.key)) return fail("unknown key '" + w[2] + "'");
            e.kind = action == "down" ? ScriptEventKind::Down : ScriptEventKind::Up;
        } else if (action == "type") {
            if (w.size() != 3 || !ToInteger(w[2], 0, 255, number))
                return fail("expected 'FRAME type CODE' with CODE in 0..255");
            e.kind = ScriptEventKind::Type;
            e.code = uint8_t(number);
        } else if (action == "move") {
            int64_t x = 0, y = 0;
            if (w.size() != 4 || !ToInteger(w[2], -100000, 100000, x) || !ToInteger(w[3], -100000, 100000, y))
                return fail("expected 'FRAME move X Y'");
            e.kind = ScriptEventKind::Move;
            e.x = int(x);
            e.y = int(y);
        } else if (action == "click") {
            if (w.size() != 2) return fail("expected 'FRAME click'");
            e.kind = ScriptEventKind::Click;
        } else if (action == "pad") {
            uint64_t states = 0;
            if (w.size() != 3 || !ToHash(w[2], states) || states >> kInputStateCount != 0)
                return fail("expected 'FRAME pad STATES' with STATES the input states in hexadecimal");
            e.kind = ScriptEventKind::Pad;
            e.pad = InputSet(states);
        } else {
            return fail("unknown action '" + action + "' (down, up, type, move, click, pad)");
        }
        script.events.push_back(e);
    }
    std::stable_sort(script.events.begin(), script.events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    return true;
}

bool LoadInputScript(const std::string& path, InputScript& script, std::string& error, const char* what) {
    std::string text;
    const WholeFileRead read = ReadWholeFile(path, kMaxScriptBytes, text);
    if (!read.Ok()) {
        error = std::string(what) + " '" + path + "' " + read.problem;
        return false;
    }
    return ParseInputScript(text, path, script, error);
}

std::string FormatScriptEvent(const ScriptEvent& e) {
    ScriptLineText text;
    return std::string(FormatScriptEvent(e, text));
}

std::string_view FormatScriptEvent(const ScriptEvent& e, ScriptLineText& text) {
    char* buffer = text.bytes;
    const size_t size = sizeof text.bytes;
    const long long f = (long long)e.frame;
    int n = 0;
    switch (e.kind) {
        case ScriptEventKind::Down: n = std::snprintf(buffer, size, "%lld down %s", f, GameKeyName(e.key)); break;
        case ScriptEventKind::Up: n = std::snprintf(buffer, size, "%lld up %s", f, GameKeyName(e.key)); break;
        case ScriptEventKind::Type: n = std::snprintf(buffer, size, "%lld type %d", f, int(e.code)); break;
        case ScriptEventKind::Move: n = std::snprintf(buffer, size, "%lld move %d %d", f, e.x, e.y); break;
        case ScriptEventKind::Click: n = std::snprintf(buffer, size, "%lld click", f); break;
        case ScriptEventKind::Pad:
            n = std::snprintf(buffer, size, "%lld pad %llx", f, (unsigned long long)e.pad.to_ullong());
            break;
        case ScriptEventKind::Hash:
            if (e.hasSurfaceHash)
                n = std::snprintf(buffer, size, "hash %lld %016" PRIx64 " %016" PRIx64, f, e.hash, e.surfaceHash);
            else n = std::snprintf(buffer, size, "hash %lld %016" PRIx64, f, e.hash);
            break;
    }
    return std::string_view(buffer, size_t(n));
}

std::string FormatEndLine(int64_t frame) { return "end " + std::to_string(frame); }

std::string FormatLanguageLine(Language language) { return std::string("language ") + LanguageCode(language); }

std::string FormatGameLine(const ScriptGame& game) {
    return "game " + game.date + " " + std::to_string(game.frames) + " " + std::to_string(game.score) + " " +
           std::to_string(game.level) + " " + std::to_string(game.rank) + " " + game.name;
}

std::string FormatNewGameLine(const ScriptNewGame& game) {
    return "newgame " + std::to_string(game.difficulty) + " " + std::to_string(game.level) + " " + game.name;
}
