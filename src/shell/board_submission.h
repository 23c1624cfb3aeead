// Sending a kept replay to a score board and waiting for its verdict, on a
// thread of its own: whoever starts one (the command line now, the score
// page later) looks at its state whenever it likes, and nothing it does
// waits for the network. No network, a refused connection or a slow board
// end it with a message in words.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

class BoardSubmission {
public:
    enum class Stage {
        Sending,   // the replay is on its way
        Waiting,   // the board took it and is verifying it
        Verified,  // it is on the board
        Refused,   // the board refused it (reason says why)
        Failed,    // it could not be sent, or no verdict came (reason says why)
    };
    struct State {
        Stage stage = Stage::Sending;
        int64_t id = 0;           // the board's number for it, once it took it
        bool sentBefore = false;  // the board had it already, as replay id
        std::string reason;       // Refused, Failed: why
        std::string name;         // Verified: as the board lists it (UTF-8)
        int64_t score = 0;
        int difficulty = 0, level = 0;
    };

    // Starts sending replayText to the board at boardUrl ("http://host:port",
    // a trailing slash or none).
    BoardSubmission(std::string boardUrl, std::string replayText);
    // Stops waiting (a request under way ends within a second).
    ~BoardSubmission();
    BoardSubmission(const BoardSubmission&) = delete;
    BoardSubmission& operator=(const BoardSubmission&) = delete;

    // The whole state (copied under a lock; it allocates for its texts).
    State Poll() const;
    // The stage alone, without a lock or an allocation: what a frame may
    // look at every time, fetching the whole state once it changed.
    Stage CurrentStage() const { return stage_.load(); }
    static bool Finished(Stage stage) { return stage != Stage::Sending && stage != Stage::Waiting; }

    // How long the board's verdict is waited for, and how often asked.
    static constexpr int kVerdictWaitSeconds = 15 * 60;

private:
    std::string url_, replay_;
    mutable std::mutex lock_;
    State state_;
    std::atomic<Stage> stage_{Stage::Sending};
    std::atomic<bool> cancel_{false};
    std::thread thread_;

    void Run();
    void Set(const State& state);
    void WaitForVerdict(State state);
};

// A top-level field of a JSON object as the board writes them: a string
// (unescaped) or a number's text; "" when it is not there.
std::string JsonField(const std::string& json, const std::string& name);
