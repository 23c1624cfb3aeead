// What the board reads of a submitted file before it stores it: that it is a
// kept replay (a version line, a starting state, hash lines, an end line),
// the game version that made it, its length, and its fingerprint. Nothing
// read here is believed about the game itself: verification replays it.
#pragma once
#include <cstdint>
#include <string>

namespace board {

struct SubmittedReplay {
    int version = 0;          // "version N kavrix X.Y.Z": N
    std::string versionNote;  // "kavrix X.Y.Z", shown in a refusal (printable, at most 40 characters)
    int64_t frames = 0;       // its end line
    // SHA-256 (hex) of the lines that make its game: every line but the
    // comments and the game line (what lists show, which the board never
    // reads), each without trailing blanks. A copy with other comments,
    // another game line or other line ends is the same game, refused as a
    // duplicate; a changed event or version is another replay, so a
    // spoiled copy sent first never stands in the way of the real one.
    std::string fingerprint;
};

// Reads the file; on anything that is not a kept replay returns false with
// why ("line 3: ...", "it has no end line: it was cut off").
bool ReadSubmission(const std::string& body, SubmittedReplay& replay, std::string& error);

// SHA-256 of bytes, in lower-case hex.
std::string Sha256Hex(const std::string& bytes);

}  // namespace board
