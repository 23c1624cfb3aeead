// Recording and replaying games: the consistency value of the gameplay
// state that recordings carry every 300 frames, and the recorder that writes
// a game's input in the input-script format.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "media/input.h"
#include "shell/input_script.h"

struct World;

constexpr int64_t kReplayHashInterval = 300;

// A stable hash of the gameplay state, field by field (never raw bytes with
// padding), with the scene and the random source's position.
uint64_t GameStateHash(const World& w);

// Writes the input of a game as it is played: the seed, every key change,
// character, mouse move and click with its frame, and the hash lines.
class Recorder {
public:
    // Throws std::runtime_error naming the file when it cannot be created.
    // note: a comment line saying how the game was started (a replay needs
    // the same start options and saved files).
    Recorder(const std::string& path, uint32_t seed, const std::string& note = "");
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Key changes between the held keys of the last frame and these.
    void Keys(int64_t frame, const KeySet& held);
    void Event(const ScriptEvent& event);
    void Hash(int64_t frame, uint64_t value);
    void Close();

private:
    std::FILE* file = nullptr;
    std::string path;
    KeySet lastKeys;
    void Line(const std::string& text);
};
