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

class ReplacementFile;

// Writes the input of a game as it is played: the seed, the language (when
// not Czech), every key change, character, mouse move and click with its
// frame, the hash lines, and the end line when it is closed. The file replaces what stood at its name only
// once it is closed; a recording that is never closed leaves the name as
// it was.
class Recorder {
public:
    // Throws std::runtime_error naming the file when it cannot be created.
    // newGame: how a game started straight away began (null: from the
    // intro). A game in another language than Czech says which.
    Recorder(const std::string& path, uint32_t seed, const ScriptNewGame* newGame = nullptr,
             Language language = Language::Czech);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Key changes between the held keys of the last frame and these.
    void Keys(int64_t frame, const KeySet& held);
    void Event(const ScriptEvent& event);
    void Hash(const ScriptEvent& hashLine);
    // Writes the end line after this many frames and puts the file in
    // place; throws naming the file.
    void Close(int64_t frames);

private:
    std::unique_ptr<ReplacementFile> file;
    KeySet lastKeys;
    void Line(const std::string& text);
};
