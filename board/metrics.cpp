// Writing the metrics, each with its HELP and TYPE lines.
#include "metrics.h"

#include <cstdio>

namespace board {

namespace {

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

void Head(std::string& out, const char* name, const char* type, const char* help) {
    out += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
}

}  // namespace

void Metrics::Verified(const std::string& status, double seconds) {
    std::lock_guard<std::mutex> hold(lock_);
    ++verdicts_[status];
    ++count_;
    sum_ += seconds;
    for (size_t i = 0; i < kBuckets.size(); ++i)
        if (seconds <= kBuckets[i]) ++buckets_[i];
}

void Metrics::Answered(int httpStatus) {
    std::lock_guard<std::mutex> hold(lock_);
    ++answers_[httpStatus];
}

std::string Metrics::Text(const Counts& db) const {
    std::string out;
    Head(out, "kavrix_board_queue_length", "gauge", "Replays waiting for verification or being verified.");
    out += "kavrix_board_queue_length " + std::to_string(db.queued + db.verifying) + "\n";
    Head(out, "kavrix_board_replays", "gauge", "Replays in the database by status.");
    for (const auto& [status, n] : {std::pair<const char*, int64_t>{"queued", db.queued},
                                    {"verifying", db.verifying},
                                    {"verified", db.verified},
                                    {"refused", db.refused}})
        out += std::string("kavrix_board_replays{status=\"") + status + "\"} " + std::to_string(n) + "\n";
    Head(out, "kavrix_board_verified_total", "counter", "Replays verified (all processes, from the database).");
    out += "kavrix_board_verified_total " + std::to_string(db.verified) + "\n";
    Head(out, "kavrix_board_refused_total", "counter", "Replays refused (all processes, from the database).");
    out += "kavrix_board_refused_total " + std::to_string(db.refused) + "\n";
    Head(out, "kavrix_board_verification_seconds_total", "counter",
         "Wall seconds spent verifying (all processes, from the database).");
    out += "kavrix_board_verification_seconds_total " + Number(db.verifySeconds) + "\n";

    std::lock_guard<std::mutex> hold(lock_);
    Head(out, "kavrix_board_verification_seconds", "histogram", "Wall seconds of this process's verifications.");
    for (size_t i = 0; i < kBuckets.size(); ++i)
        out += "kavrix_board_verification_seconds_bucket{le=\"" + Number(kBuckets[i]) + "\"} " +
               std::to_string(buckets_[i]) + "\n";
    out += "kavrix_board_verification_seconds_bucket{le=\"+Inf\"} " + std::to_string(count_) + "\n";
    out += "kavrix_board_verification_seconds_sum " + Number(sum_) + "\n";
    out += "kavrix_board_verification_seconds_count " + std::to_string(count_) + "\n";
    Head(out, "kavrix_board_verdicts_total", "counter", "Verdicts this process's workers stored.");
    for (const auto& [status, n] : verdicts_)
        out += "kavrix_board_verdicts_total{status=\"" + status + "\"} " + std::to_string(n) + "\n";
    Head(out, "kavrix_board_http_responses_total", "counter", "HTTP responses of this process by status code.");
    for (const auto& [code, n] : answers_)
        out += "kavrix_board_http_responses_total{code=\"" + std::to_string(code) + "\"} " + std::to_string(n) + "\n";
    return out;
}

}  // namespace board
