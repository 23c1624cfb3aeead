// The request through libcurl, opened (libcurl.so.4) the first time a
// replay is sent, so the game starts and plays without it, as it does
// without FFmpeg; each request has an easy handle of its own.
#include <dlfcn.h>

#include <algorithm>
#include <mutex>
#include <type_traits>

#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>

#include "shell/board_http.h"

namespace {

constexpr size_t kMostReplyBytes = 64 * 1024;

struct Curl {
    decltype(&::curl_global_init) global_init = nullptr;
    decltype(&::curl_easy_init) easy_init = nullptr;
    decltype(&::curl_easy_setopt) easy_setopt = nullptr;
    decltype(&::curl_easy_perform) easy_perform = nullptr;
    decltype(&::curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&::curl_slist_append) slist_append = nullptr;
    decltype(&::curl_slist_free_all) slist_free_all = nullptr;
    std::string error;  // why it could not be loaded
};

const Curl& LoadCurl() {
    static Curl curl;
    static std::once_flag once;
    std::call_once(once, [] {
        void* library = ::dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            const char* why = ::dlerror();
            curl.error = std::string("cannot load libcurl.so.4, which sending replays needs (install libcurl4): ") +
                         (why ? why : "");
            return;
        }
        auto find = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(::dlsym(library, name));
            if (!function && curl.error.empty()) curl.error = std::string("libcurl has no function ") + name;
        };
        find(curl.global_init, "curl_global_init");
        find(curl.easy_init, "curl_easy_init");
        find(curl.easy_setopt, "curl_easy_setopt");
        find(curl.easy_perform, "curl_easy_perform");
        find(curl.easy_getinfo, "curl_easy_getinfo");
        find(curl.easy_cleanup, "curl_easy_cleanup");
        find(curl.slist_append, "curl_slist_append");
        find(curl.slist_free_all, "curl_slist_free_all");
        if (curl.error.empty() && curl.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
            curl.error = "libcurl could not be initialised";
    });
    return curl;
}

size_t KeepReply(char* data, size_t size, size_t count, void* reply) {
    std::string& body = static_cast<BoardReply*>(reply)->body;
    body.append(data, std::min(size * count, kMostReplyBytes - std::min(kMostReplyBytes, body.size())));
    return size * count;
}

int StopWhenCancelled(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}

}  // namespace

BoardReply BoardRequest(const std::string& method, const std::string& url, const std::string& body,
                        const std::atomic<bool>& cancel) {
    BoardReply reply;
    const Curl& curl = LoadCurl();
    if (!curl.error.empty()) return reply.error = curl.error, reply;
    CURL* handle = curl.easy_init();
    if (!handle) return reply.error = "libcurl could not make a request", reply;
    char error[CURL_ERROR_SIZE] = "";
    curl_slist* headers = curl.slist_append(nullptr, "Content-Type: application/octet-stream");
    headers = curl.slist_append(headers, "Expect:");
    curl.easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl.easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl.easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl.easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 10L);
    curl.easy_setopt(handle, CURLOPT_TIMEOUT, 60L);
    curl.easy_setopt(handle, CURLOPT_ERRORBUFFER, error);
    curl.easy_setopt(handle, CURLOPT_USERAGENT, "kavrix");
    curl.easy_setopt(handle, CURLOPT_WRITEFUNCTION, KeepReply);
    curl.easy_setopt(handle, CURLOPT_WRITEDATA, &reply);
    curl.easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl.easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, StopWhenCancelled);
    curl.easy_setopt(handle, CURLOPT_XFERINFODATA, &cancel);
    if (method == "POST") {
        curl.easy_setopt(handle, CURLOPT_POST, 1L);
        curl.easy_setopt(handle, CURLOPT_POSTFIELDS, body.data());
        curl.easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
        curl.easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
    }
    const CURLcode done = curl.easy_perform(handle);
    if (done == CURLE_OK) curl.easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &reply.status);
    else reply.error = *error ? error : "the request failed";
    curl.easy_cleanup(handle);
    curl.slist_free_all(headers);
    return reply;
}
