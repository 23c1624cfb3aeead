// Recording and replaying games: the consistency values that recordings
// carry every 300 frames and at their last frame (a hash of the game state
// and one of the back surface), the recorder that writes a game's input in
// the input-script format, and the check of a replay against them.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "media/input.h"
#include "shell/input_script.h"
#include "shell/line_buffer.h"

struct World;

constexpr int64_t kReplayHashInterval = 300;

// A stable hash of the whole game state, field by field (never raw bytes
// with padding), with the scene and the random source's position.
uint64_t GameStateHash(const World& w);
// The hash line of a frame: the state's and the back surface's hashes.
ScriptEvent HashLine(const World& w, int64_t frame);
// Compares the replayed world with a recorded hash line; on a difference
// returns false with a message naming the frame, the line and which of the
// two hashes differed.
bool CheckHashLine(const World& w, const ScriptEvent& recorded, std::string& message);

// The checks a recording passes before it is replayed, beyond the lines
// each being well formed: it holds hash lines, no more than a recording's
// 300 frames apart, and ends with its end line at the frame of its last
// hash (the reader already refused input after the end). On a fault returns false with
// "NAME:LINE: reason" (a recording without an end line was cut off).
bool CheckRecording(const InputScript& recording, const std::string& name, std::string& error);

// The version of the game's behaviour a recording was made by, written in
// its version line and checked before it is replayed: a recording of
// another version is refused, as its hashes could not match. Raise it with
// every intended change of behaviour (the golden replays re-recorded, see
// scripts/rerecord-replays.sh) and with every change to the field list or
// the starting state, whose values a replay reads by their place.
constexpr int kRecordingVersion = 1;
// "version 1 kavrix 1.0.0": the version and the program that wrote it.
std::string VersionLine();

// Records the input of a game as it is played, in the input-script format:
// every key change, pad change, character, mouse move and click with its
// frame, and the hash lines. The text is held in memory with its room taken
// at the start (the most a replay reads, kMaxScriptBytes), so a frame that
// records never allocates nor waits for a disk; whoever keeps the recording
// writes it once it is ended.
class Recorder {
public:
    Recorder();
    // A line as it stands (the lines before the input: version, seed,
    // language, newgame).
    void Line(std::string_view text);
    // Key changes between the held keys of the last frame and these.
    void Keys(int64_t frame, const KeySet& held);
    // The pad's input states when they changed since the last frame.
    void Pad(int64_t frame, const InputSet& states);
    void Event(const ScriptEvent& event);
    void Hash(const ScriptEvent& hashLine);
    // The end line after this many frames.
    void End(int64_t frames);
    LineBuffer& Buffer() { return text; }
    std::string_view Text() const { return text.Text(); }
    // It grew beyond what a replay reads: it cannot be kept.
    bool Full() const { return text.Full(); }

private:
    LineBuffer text;
    KeySet lastKeys;
    InputSet lastPad;
};
