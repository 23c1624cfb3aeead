// What /metrics shows, in Prometheus's text format: the queue and the
// replays by status as the database holds them (so every process of a board
// shows the same), and this process's own verification times (a histogram)
// and HTTP answers by status code.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "storage.h"

namespace board {

class Metrics {
public:
    void Verified(const std::string& status, double seconds);
    void Answered(int httpStatus);
    std::string Text(const Counts& database) const;

private:
    static constexpr std::array<double, 9> kBuckets = {0.25, 0.5, 1, 2, 5, 10, 30, 60, 300};
    mutable std::mutex lock_;
    std::array<uint64_t, kBuckets.size()> buckets_{};
    uint64_t count_ = 0;
    double sum_ = 0;
    std::map<std::string, uint64_t> verdicts_;
    std::map<int, uint64_t> answers_;
};

}  // namespace board
