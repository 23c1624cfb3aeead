// How many replays one address may send: a bucket per address that holds
// at most a minute's share and fills at that share a minute. Buckets that
// have filled up are forgotten, so the table stays as small as the
// addresses sending now.
#pragma once
#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

namespace board {

class RateLimiter {
public:
    explicit RateLimiter(int perMinute) : perMinute_(perMinute) {}
    // True when address may send one more now; else seconds to wait.
    bool Take(const std::string& address, int& waitSeconds);

private:
    using Clock = std::chrono::steady_clock;
    struct Bucket {
        double tokens;
        Clock::time_point at;
    };
    int perMinute_;
    std::mutex lock_;
    std::unordered_map<std::string, Bucket> buckets_;
    Clock::time_point lastSweep_ = Clock::now();
};

}  // namespace board
