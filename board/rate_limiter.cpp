// The token buckets.
#include "rate_limiter.h"

#include <algorithm>
#include <cmath>

namespace board {

bool RateLimiter::Take(const std::string& address, int& waitSeconds) {
    const Clock::time_point now = Clock::now();
    const double perSecond = perMinute_ / 60.0;
    std::lock_guard<std::mutex> hold(lock_);
    if (now - lastSweep_ > std::chrono::minutes(1)) {
        lastSweep_ = now;
        std::erase_if(buckets_, [&](const auto& entry) {
            return entry.second.tokens + std::chrono::duration<double>(now - entry.second.at).count() * perSecond >=
                   perMinute_;
        });
    }
    auto [it, added] = buckets_.try_emplace(address, Bucket{double(perMinute_), now});
    Bucket& b = it->second;
    b.tokens = std::min<double>(perMinute_, b.tokens + std::chrono::duration<double>(now - b.at).count() * perSecond);
    b.at = now;
    if (b.tokens >= 1) {
        b.tokens -= 1;
        return true;
    }
    waitSeconds = int(std::ceil((1 - b.tokens) / perSecond));
    return false;
}

}  // namespace board
