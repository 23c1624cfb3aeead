// Recording and replaying games: the consistency values that recordings
// carry every 300 frames and at their last frame (a hash of the game state
// and one of the back surface), the recorder that writes a game's input in
// the input-script format, and the check of a replay against them.
#pragma once
#include <cstdint>
#include <cstdio>
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

// Writes the input of a game as it is played: the seed, every key change,
// character, mouse move and click with its frame, and the hash lines.
class Recorder {
public:
    // Throws std::runtime_error naming the file when it cannot be created.
    // newGame: how a game started straight away began (null: from the intro).
    Recorder(const std::string& path, uint32_t seed, const ScriptNewGame* newGame = nullptr);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Key changes between the held keys of the last frame and these.
    void Keys(int64_t frame, const KeySet& held);
    void Event(const ScriptEvent& event);
    void Hash(const ScriptEvent& hashLine);
    void Close();

private:
    std::FILE* file = nullptr;
    std::string path;
    KeySet lastKeys;
    void Line(const std::string& text);
};
