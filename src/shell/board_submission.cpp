// The submission's thread: POST /api/replays, then GET /api/replays/ID once
// a second until the board says verified or refused; every answer that is
// not one of those becomes a message.
#include "shell/board_submission.h"

#include <chrono>
#include <cstdlib>

#include "shell/board_http.h"

namespace {

// Appends the UTF-8 of a code point below 0x10000.
void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xc0 | (code >> 6));
        out += char(0x80 | (code & 0x3f));
    } else {
        out += char(0xe0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3f));
        out += char(0x80 | (code & 0x3f));
    }
}

// The board's own words for a failed request, else the status.
std::string Said(const BoardReply& reply) {
    const std::string error = JsonField(reply.body, "error");
    return error.empty() ? "the board answered with HTTP status " + std::to_string(reply.status) : error;
}

}  // namespace

std::string JsonField(const std::string& json, const std::string& name) {
    const std::string key = "\"" + name + "\":";
    size_t at = json.find(key);
    if (at == std::string::npos) return "";
    at += key.size();
    if (at >= json.size()) return "";
    if (json[at] != '"') return json.substr(at, json.find_first_of(",}", at) - at);
    std::string text;
    for (size_t i = at + 1; i < json.size() && json[i] != '"'; ++i) {
        if (json[i] != '\\' || i + 1 >= json.size()) {
            text += json[i];
            continue;
        }
        const char c = json[++i];
        if (c == 'u' && i + 4 < json.size()) {
            AppendUtf8(text, unsigned(std::strtoul(json.substr(i + 1, 4).c_str(), nullptr, 16)));
            i += 4;
        } else {
            text += c == 'n' ? '\n' : c == 't' ? '\t' : c;
        }
    }
    return text;
}

BoardSubmission::BoardSubmission(std::string boardUrl, std::string replayText)
    : url_(std::move(boardUrl)), replay_(std::move(replayText)) {
    while (!url_.empty() && url_.back() == '/') url_.pop_back();
    thread_ = std::thread([this] { Run(); });
}

BoardSubmission::~BoardSubmission() {
    cancel_ = true;
    thread_.join();
}

BoardSubmission::State BoardSubmission::Poll() const {
    std::lock_guard<std::mutex> hold(lock_);
    return state_;
}

void BoardSubmission::Set(const State& state) {
    std::lock_guard<std::mutex> hold(lock_);
    state_ = state;
    stage_ = state.stage;
}

void BoardSubmission::Run() {
    State state;
    const BoardReply reply = BoardRequest("POST", url_ + "/api/replays", replay_, cancel_);
    if (reply.status == 202 || reply.status == 409) {
        state.stage = Stage::Waiting;
        state.id = std::atoll(JsonField(reply.body, "id").c_str());
        state.sentBefore = reply.status == 409;
        Set(state);
        return WaitForVerdict(state);
    }
    state.stage = Stage::Failed;
    state.reason = reply.status == 0 ? "cannot reach the board at " + url_ + ": " + reply.error : Said(reply);
    Set(state);
}

void BoardSubmission::WaitForVerdict(State state) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(kVerdictWaitSeconds);
    const std::string url = url_ + "/api/replays/" + std::to_string(state.id);
    while (!cancel_ && std::chrono::steady_clock::now() < until) {
        const BoardReply reply = BoardRequest("GET", url, "", cancel_);
        const std::string status = JsonField(reply.body, "status");
        if (reply.status == 200 && (status == "verified" || status == "refused")) {
            state.stage = status == "verified" ? Stage::Verified : Stage::Refused;
            state.reason = JsonField(reply.body, "reason");
            state.name = JsonField(reply.body, "name");
            state.score = std::atoll(JsonField(reply.body, "score").c_str());
            state.difficulty = std::atoi(JsonField(reply.body, "difficulty").c_str());
            state.level = std::atoi(JsonField(reply.body, "level").c_str());
            return Set(state);
        }
        if (reply.status != 200 && reply.status != 503 && reply.status != 0) {
            state.stage = Stage::Failed;
            state.reason = Said(reply);
            return Set(state);
        }
        for (int tenth = 0; tenth < 10 && !cancel_; ++tenth)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    state.stage = Stage::Failed;
    state.reason = cancel_ ? "stopped before the board's verdict came"
                           : "no verdict came in " + std::to_string(kVerdictWaitSeconds / 60) + " minutes; see " + url;
    Set(state);
}
