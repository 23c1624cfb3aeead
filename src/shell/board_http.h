// The one HTTP request the game makes: to the score board the player named,
// when the player sends a replay. Through libcurl, opened only then (a build
// without its header has a stand-in that says so). It blocks, so it runs
// only on a thread of its own (BoardSubmission's), never in a frame.
#pragma once
#include <atomic>
#include <string>

struct BoardReply {
    long status = 0;    // the HTTP status; 0 when no answer came
    std::string body;   // the answer, at most 64 KB
    std::string error;  // status 0: why, in words ("Connection refused", ...)
};

// method "GET" or "POST" (body sent as application/octet-stream); only
// http and https, no redirects, a 10 s bound on connecting and 60 s on the
// whole request; cancel set ends it within a second.
BoardReply BoardRequest(const std::string& method, const std::string& url, const std::string& body,
                        const std::atomic<bool>& cancel);
