// kavrix-board: a world score board for Kavrix. It answers HTTP (the JSON
// API, the page, /healthz, /metrics) and verifies the replays sent to it
// with worker threads, or only verifies (--worker-only); it stops cleanly on
// SIGTERM or SIGINT, and a stop of any kind loses no submission.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <thread>
#include <vector>

#include "board_options.h"
#include "game_binaries.h"
#include "http_api.h"
#include "worker.h"

using namespace board;

namespace {

std::string AdminToken(const BoardOptions& o) {
    if (!o.adminTokenFile.empty()) {
        std::ifstream in(o.adminTokenFile);
        std::string token;
        if (!in || !std::getline(in, token)) throw std::runtime_error("cannot read '" + o.adminTokenFile + "'");
        while (!token.empty() && (token.back() == '\r' || token.back() == ' ')) token.pop_back();
        if (token.size() < 16)
            throw std::runtime_error("the admin token in '" + o.adminTokenFile +
                                     "' is shorter "
                                     "than 16 characters");
        return token;
    }
    if (!o.adminToken.empty()) return o.adminToken;
    const char* env = std::getenv("KAVRIX_BOARD_ADMIN_TOKEN");
    return env ? env : "";
}

std::string WorkRoot() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

// Starts the HTTP server on its own thread; returns the address it took.
std::string StartServer(httplib::Server& server, ApiContext& context, const std::string& listen, std::thread& thread) {
    const size_t colon = listen.rfind(':');
    if (colon == std::string::npos) throw std::runtime_error("--listen '" + listen + "' is not HOST:PORT");
    std::string host = listen.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);  // [::1]
    const int port = std::atoi(listen.c_str() + colon + 1);
    SetUpServer(server, context);
    const int bound = port == 0 ? server.bind_to_any_port(host) : (server.bind_to_port(host, port) ? port : -1);
    if (bound < 0) throw std::runtime_error("cannot listen on " + listen);
    thread = std::thread([&server] { server.listen_after_bind(); });
    return host + ":" + std::to_string(bound);
}

int Run(const BoardOptions& o) {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);  // every thread started from here on too
    signal(SIGPIPE, SIG_IGN);
    // PostgreSQL's connections give up after 10 s unless the URL or the
    // operator says otherwise (set before any thread reads the environment).
    setenv("PGCONNECT_TIMEOUT", "10", 0);

    const std::string url = o.database.empty() ? "sqlite:" + StateFolder(o) + "/board.sqlite" : o.database;
    OpenStorage(url);  // reachable, and its schema up to date, before anything is taken
    VerifierSettings verifier;
    verifier.games =
        AskGameVersions(o.games.empty() ? std::vector<std::string>{"/usr/games/kavrix"} : o.games, WorkRoot());
    verifier.dataDir = o.dataDir;
    verifier.workRoot = WorkRoot();
    verifier.framesPerCpuSecond = o.verifySpeed;
    verifier.addressSpaceBytes = int64_t(o.childMemoryMb) << 20;

    Metrics metrics;
    JobSignal jobs;
    httplib::Server server;
    ConnectionPool pool(url, 16);
    RateLimiter limiter(o.ratePerMinute);
    ApiSettings api;
    api.maxReplayBytes = size_t(o.maxReplayKb) << 10;
    api.adminToken = AdminToken(o);
    api.siteDir = o.siteDir;
    api.threads = o.threads;
    ApiContext context{pool, metrics, jobs, limiter, api};
    // Listening first: a board that cannot listen stops before any job is taken.
    std::thread http;
    std::string where = "verifying only";
    if (!o.workerOnly) where = "listening on http://" + StartServer(server, context, o.listen, http) + "/";

    std::atomic<bool> stopping{false};
    std::vector<std::thread> workers;
    char host[256] = "host";
    gethostname(host, sizeof host - 1);
    for (int i = 0; i < o.workers; ++i) {
        WorkerSettings w{url, std::string(host) + ":" + std::to_string(getpid()) + ":" + std::to_string(i + 1),
                         o.jobTimeout};
        workers.emplace_back(
            [w, &verifier, &metrics, &jobs, &stopping] { RunWorker(w, verifier, metrics, jobs, stopping); });
    }
    std::cout << "kavrix-board: " << where << " (" << BackendOf(url) << ", " << o.workers << " workers, game "
              << HeldVersions(verifier.games) << ")" << std::endl;

    int signalNumber = 0;
    sigwait(&stopSignals, &signalNumber);
    stopping = true;
    jobs.Notify();
    if (http.joinable()) {
        server.stop();
        http.join();
    }
    for (std::thread& t : workers) t.join();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    BoardOptions options;
    std::string error;
    if (!ParseBoardOptions(argc, argv, options, error)) {
        std::cerr << "kavrix-board: " << error << "\nTry 'kavrix-board --help'.\n";
        return 2;
    }
    if (options.help) {
        std::cout << BoardHelpText();
        return 0;
    }
    if (options.version) {
        std::cout << "kavrix-board " KAVRIX_VERSION "\n";
        return 0;
    }
    try {
        return Run(options);
    } catch (const std::exception& e) {
        std::cerr << "kavrix-board: " << e.what() << "\n";
        return 1;
    }
}
