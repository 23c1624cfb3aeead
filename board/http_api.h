// The board's HTTP face: the JSON API (submit a replay, its state and file,
// the score lists, the admin's hide, show and delete), the HTML page,
// /healthz and /metrics, and the browser build at /play/ when --site gives
// one; with the bounds every connection keeps (body size, time, threads).
#pragma once
#include <httplib.h>

#include <cstddef>
#include <string>

#include "connection_pool.h"
#include "metrics.h"
#include "rate_limiter.h"
#include "worker.h"

namespace board {

struct ApiSettings {
    size_t maxReplayBytes = 1 << 20;
    std::string adminToken;  // empty: no admin actions
    std::string siteDir;     // the browser build; empty: none
    int scoresOnPage = 20;
    int threads = 256;
    int timeoutSeconds = 10;  // reading a request, writing a response
};

struct ApiContext {
    ConnectionPool& pool;
    Metrics& metrics;
    JobSignal& jobs;
    RateLimiter& limiter;
    ApiSettings settings;
};

// Sets the server's bounds and routes; context must outlive the server.
void SetUpServer(httplib::Server& server, ApiContext& context);

// Unix seconds now.
int64_t UnixNow();

}  // namespace board
