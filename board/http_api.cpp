// The routes. Every JSON answer goes through Send, which escapes < > & in
// its strings too (so no answer can be read as HTML); every database call
// through WithStorage, whose failure answers 503.
#include "http_api.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <iostream>

#include "board_page.h"
#include "submission.h"

namespace board {

using nlohmann::json;

namespace {

void Send(httplib::Response& res, int status, const json& body) {
    std::string text = body.dump(-1, ' ', false, json::error_handler_t::replace);
    std::string safe;
    for (char c : text) {
        if (c == '<') safe += "\\u003c";
        else if (c == '>') safe += "\\u003e";
        else if (c == '&') safe += "\\u0026";
        else safe += c;
    }
    res.status = status;
    res.set_content(safe + "\n", "application/json");
}

void SendError(httplib::Response& res, int status, const std::string& why) { Send(res, status, {{"error", why}}); }

json RecordJson(const ReplayRecord& r) {
    return {{"id", r.id},           {"status", r.status},           {"reason", r.reason}, {"name", r.name},
            {"score", r.score},     {"difficulty", r.difficulty},   {"level", r.level},   {"frames", r.frames},
            {"version", r.version}, {"date", DateOf(r.submittedAt)}};
}

// The number in "/api/replays/12/...".
int64_t IdOf(const httplib::Request& req) { return std::stoll(req.matches[1]); }

// A whole number in low..high from a query parameter, or fallback.
bool Parameter(const httplib::Request& req, const char* name, int low, int high, int fallback, int& value) {
    if (!req.has_param(name)) return value = fallback, true;
    const std::string text = req.get_param_value(name);
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::stoi(text);
    return value >= low && value <= high;
}

// Runs a database call; the answer is 503 when the database fails.
template <class F>
void Database(ApiContext& c, httplib::Response& res, F&& call) {
    try {
        WithStorage(c.pool, call);
    } catch (const std::exception& e) {
        std::cerr << "kavrix-board: database: " << e.what() << "\n";
        SendError(res, 503, "the board's database cannot be reached; try again later");
    }
}

void Submit(ApiContext& c, const httplib::Request& req, httplib::Response& res) {
    int wait = 0;
    if (!c.limiter.Take(req.remote_addr, wait)) {
        res.set_header("Retry-After", std::to_string(wait));
        return SendError(res, 429, "too many replays from this address; try again in " + std::to_string(wait) + " s");
    }
    SubmittedReplay replay;
    std::string error;
    if (!ReadSubmission(req.body, replay, error)) return SendError(res, 400, "not a kept replay: " + error);
    NewReplay stored{replay.fingerprint, req.body, req.remote_addr, UnixNow(), replay.frames, replay.version};
    Database(c, res, [&](Storage& s) {
        int64_t existing = 0;
        if (const std::optional<int64_t> id = s.Submit(stored, existing)) {
            c.jobs.Notify();
            return Send(res, 202, {{"id", *id}, {"status", "queued"}});
        }
        Send(res, 409,
             {{"id", existing}, {"error", "this game was sent before, as replay " + std::to_string(existing)}});
    });
}

void Scores(ApiContext& c, const httplib::Request& req, httplib::Response& res) {
    int difficulty = 0, limit = 0;
    if (!Parameter(req, "difficulty", 1, 3, 2, difficulty)) return SendError(res, 400, "difficulty must be 1, 2 or 3");
    if (!Parameter(req, "limit", 1, 1000, 10, limit)) return SendError(res, 400, "limit must be 1..1000");
    Database(c, res, [&](Storage& s) {
        json list = json::array();
        int rank = 0;
        for (const ScoreRow& row : s.Scores(difficulty, limit))
            list.push_back({{"rank", ++rank},
                            {"id", row.id},
                            {"name", row.name},
                            {"score", row.score},
                            {"level", row.level},
                            {"date", DateOf(row.submittedAt)},
                            {"version", row.version}});
        Send(res, 200, {{"scores", list}});
    });
}

void Page(ApiContext& c, const httplib::Request& req, httplib::Response& res) {
    const PageLanguage language =
        ChoosePageLanguage(req.get_header_value("Accept-Language"), req.get_param_value("lang"));
    Database(c, res, [&](Storage& s) {
        std::vector<DifficultyList> lists;
        for (int d = 1; d <= 3; ++d) lists.push_back({d, s.Scores(d, c.settings.scoresOnPage)});
        res.set_header("Vary", "Accept-Language");
        res.set_header("Content-Security-Policy", "default-src 'self'; style-src 'unsafe-inline'; script-src 'none'");
        res.set_content(BoardPage(lists, language, c.settings.siteDir.empty() ? "" : "/play/"),
                        "text/html; charset=utf-8");
    });
}

// Hide, show or delete: only with the admin's token.
void Admin(ApiContext& c, const httplib::Request& req, httplib::Response& res, const std::string& action) {
    const std::string& token = c.settings.adminToken;
    const std::string given = req.get_header_value("Authorization");
    if (token.empty()) return SendError(res, 403, "this board takes no admin actions (started without --admin-token)");
    // Compared in full whatever differs, so the time taken tells nothing.
    const std::string expected = "Bearer " + token;
    unsigned char differs = given.size() != expected.size();
    for (size_t i = 0; i < expected.size(); ++i) differs |= uint8_t(expected[i] ^ (i < given.size() ? given[i] : 0));
    if (differs) return SendError(res, 401, "the admin token is missing or wrong");
    const int64_t id = IdOf(req);
    Database(c, res, [&](Storage& s) {
        const bool done = action == "delete" ? s.Delete(id) : s.SetHidden(id, action == "hide");
        if (!done) return SendError(res, 404, "there is no replay " + std::to_string(id));
        Send(res, 200, {{"id", id}, {"done", action}});
    });
}

void AddApiRoutes(httplib::Server& server, ApiContext& c) {
    server.Post("/api/replays", [&c](const auto& req, auto& res) { Submit(c, req, res); });
    server.Get(R"(/api/replays/(\d{1,18}))", [&c](const auto& req, auto& res) {
        Database(c, res, [&](Storage& s) {
            const std::optional<ReplayRecord> r = s.Find(IdOf(req));
            if (!r || r->hidden) return SendError(res, 404, "there is no replay " + std::string(req.matches[1]));
            Send(res, 200, RecordJson(*r));
        });
    });
    server.Get(R"(/api/replays/(\d{1,18})/file)", [&c](const auto& req, auto& res) {
        Database(c, res, [&](Storage& s) {
            const std::optional<std::string> file = s.File(IdOf(req));
            if (!file) return SendError(res, 404, "there is no replay " + std::string(req.matches[1]));
            res.set_header("Access-Control-Allow-Origin", "*");  // replays are public; any page may play one
            res.set_content(*file, "text/plain; charset=utf-8");
        });
    });
    server.Get("/api/scores", [&c](const auto& req, auto& res) { Scores(c, req, res); });
    for (const char* action : {"hide", "show"})
        server.Post(std::string(R"(/api/replays/(\d{1,18})/)") + action,
                    [&c, action](const auto& req, auto& res) { Admin(c, req, res, action); });
    server.Delete(R"(/api/replays/(\d{1,18}))", [&c](const auto& req, auto& res) { Admin(c, req, res, "delete"); });
}

void AddOtherRoutes(httplib::Server& server, ApiContext& c) {
    server.Get("/", [&c](const auto& req, auto& res) { Page(c, req, res); });
    server.Get("/healthz", [&c](const auto&, auto& res) {
        Database(c, res, [&](Storage& s) {
            s.Count();
            res.set_content("ok\n", "text/plain");
        });
    });
    server.Get("/metrics", [&c](const auto&, auto& res) {
        Database(c, res, [&](Storage& s) {
            res.set_content(c.metrics.Text(s.Count()), "text/plain; version=0.0.4; charset=utf-8");
        });
    });
    if (!c.settings.siteDir.empty()) {
        server.set_file_extension_and_mimetype_mapping("wasm", "application/wasm");
        server.set_file_extension_and_mimetype_mapping("data", "application/octet-stream");
        if (!server.set_mount_point("/play", c.settings.siteDir))
            throw std::runtime_error("the site folder '" + c.settings.siteDir + "' cannot be served");
    }
}

}  // namespace

int64_t UnixNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void SetUpServer(httplib::Server& server, ApiContext& c) {
    const ApiSettings& s = c.settings;
    server.new_task_queue = [threads = s.threads] { return new httplib::ThreadPool(size_t(threads)); };
    server.set_tcp_nodelay(true);
    server.set_payload_max_length(s.maxReplayBytes);
    server.set_read_timeout(s.timeoutSeconds, 0);
    server.set_write_timeout(s.timeoutSeconds, 0);
    server.set_keep_alive_timeout(5);
    server.set_keep_alive_max_count(1000);
    server.set_default_headers({{"X-Content-Type-Options", "nosniff"}, {"Referrer-Policy", "no-referrer"}});
    // Answers without a body of their own get one saying what went wrong.
    const httplib::Server::HandlerWithResponse fillIn = [&c](const httplib::Request& req, httplib::Response& res) {
        if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        // The HTTP library reads a form body of more than 8 KB as too large,
        // whatever the bound; curl's --data-binary sends one unless told.
        const bool form = req.get_header_value("Content-Type") == "application/x-www-form-urlencoded";
        const size_t length = std::strtoull(req.get_header_value("Content-Length").c_str(), nullptr, 10);
        if (res.status == 413 && form && length <= c.settings.maxReplayBytes)
            SendError(res, 415, "send the replay as application/octet-stream, not as a form");
        else if (res.status == 413)
            SendError(res, 413,
                      "the replay is larger than " + std::to_string(c.settings.maxReplayBytes >> 10) +
                          " KB, the most this board takes (a 20-minute game is about 200 KB)");
        else if (res.status == 404) SendError(res, 404, "there is nothing here");
        else SendError(res, res.status, "the request could not be answered");
        return httplib::Server::HandlerResponse::Handled;
    };
    server.set_error_handler(fillIn);
    server.set_logger([&c](const auto&, const auto& res) { c.metrics.Answered(res.status); });
    AddApiRoutes(server, c);
    AddOtherRoutes(server, c);
}

}  // namespace board
