// Input scripts: the one text format of scripted runs, recordings and
// replays. Lines: "version V NOTE", "seed S", "language cs|en", "newgame
// DIFFICULTY LEVEL NAME", "game DATE FRAMES SCORE LEVEL RANK NAME", "state
// WORDS...", "N down KEY", "N up KEY", "N type CODE", "N move X Y", "N click",
// "N pad STATES", "hash N STATE [SCREEN]", "end N"; '#' starts a comment
// (except in a newgame or game line, whose name runs to the end of the line).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "media/input.h"
#include "state/language.h"

enum class ScriptEventKind { Down, Up, Type, Move, Click, Pad, Hash };

struct ScriptEvent {
    int64_t frame = 0;  // applied before this frame runs (hash: after this many frames)
    ScriptEventKind kind = ScriptEventKind::Click;
    GameKey key = GameKey::Up;    // Down, Up
    uint8_t code = 0;             // Type: cp1250 character code
    int x = 0, y = 0;             // Move
    InputSet pad{};               // Pad: the joystick's input states from this frame on
    uint64_t hash = 0;            // Hash: the game state's hash
    bool hasSurfaceHash = false;  // Hash: recordings before screen hashes have none
    uint64_t surfaceHash = 0;     // Hash: the back surface's hash
    int line = 0;                 // line in the script, for messages
};

// A game started straight away, as --new-game starts it.
struct ScriptNewGame {
    std::string name;  // UTF-8
    int difficulty = 2;
    int level = 1;
};

// The highest frame a script may name: some 44 hours of play, far beyond a
// whole game (about 110 000 frames), so a damaged number cannot make a run
// of years.
constexpr int64_t kMaxScriptFrame = 10'000'000;
// The largest script or recording read: a recording of the whole game is
// about 100 KB.
constexpr size_t kMaxScriptBytes = size_t(16) << 20;

// What a kept replay says of its game, for lists: when it began (local
// time, "2026-03-14T21:05:33"), its length in frames, the score it ended
// with, the highest level it reached, the rank its score took in the score
// table (0 none) and the player's name (UTF-8).
struct ScriptGame {
    std::string date;
    int64_t frames = 0;
    int32_t score = 0;
    int level = 1;
    int rank = 0;
    std::string name;
};

struct InputScript {
    // "version V NOTE": the game version that made a recording (see
    // kRecordingVersion) and what the program said of itself.
    bool hasVersion = false;
    int version = 0;
    std::string versionNote;
    int versionLine = 0;
    bool hasGame = false;
    ScriptGame game;
    // The words of the "state" lines in order: the starting state of a kept
    // replay (shell/starting_state.h); empty for a game from start-up.
    std::string startingState;
    int stateLine = 0;  // the first "state" line
    bool hasSeed = false;
    uint32_t seed = 0;
    // The language the run plays in; a recording plays in the language it
    // was made in.
    bool hasLanguage = false;
    Language language = Language::Czech;
    bool hasNewGame = false;
    ScriptNewGame newGame;
    std::vector<ScriptEvent> events;  // in frame order; lines of one frame keep their order
    // "end N": a recording closed after N frames (a recording without it
    // was cut off).
    bool hasEnd = false;
    int64_t endFrame = 0;
    int endLine = 0;
    int lines = 0;              // lines in the file
    int64_t LastFrame() const;  // the highest frame any line names, -1 when none
};

// A player's name as the menu takes it: 1 to 20 characters, each with a
// Windows-1250 code (the profile slot's layout); utf8 is UTF-8.
bool IsPlayerName(const std::string& utf8);

// Parses the text; on a bad line returns false with "NAME:LINE: reason".
// Hash lines must name rising frames, frames stay within kMaxScriptFrame,
// the end line comes last, and a newgame line's name is a player's name (1
// to 20 characters that Windows-1250 can hold).
bool ParseInputScript(const std::string& text, const std::string& name, InputScript& script, std::string& error);
// Reads and parses a file; a file that cannot be read (a folder, a pipe,
// larger than kMaxScriptBytes) is an error naming it as what it is ("input
// script", "recording").
bool LoadInputScript(const std::string& path, InputScript& script, std::string& error,
                     const char* what = "input script");
// One line of the format (without the newline), as recordings write it.
std::string FormatScriptEvent(const ScriptEvent& event);
// The same into text of the caller's, so a frame that records a line never
// touches the heap; the view points into text.
struct ScriptLineText {
    char bytes[96];
};
std::string_view FormatScriptEvent(const ScriptEvent& event, ScriptLineText& text);
std::string FormatNewGameLine(const ScriptNewGame& game);
std::string FormatGameLine(const ScriptGame& game);
std::string FormatEndLine(int64_t frame);
std::string FormatLanguageLine(Language language);
