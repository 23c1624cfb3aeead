// The stand-in for builds without libcurl's header (the browser's, for one):
// every request fails, saying why.
#include "shell/board_http.h"

BoardReply BoardRequest(const std::string&, const std::string&, const std::string&, const std::atomic<bool>&) {
    BoardReply reply;
    reply.error = "this build of Kavrix cannot send replays (it was built without libcurl)";
    return reply;
}
