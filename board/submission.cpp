// Reading a submission's lines: the version line, the starting state, the
// hash lines and the end line, in the recording format the game writes.
#include "submission.h"

#include <openssl/evp.h>

#include <cstdlib>
#include <stdexcept>

namespace board {

namespace {

// Digits only, within range.
bool Number(const std::string& text, int64_t most, int64_t& value) {
    if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::strtoll(text.c_str(), nullptr, 10);
    return value <= most;
}

std::string Printable(const std::string& text, size_t most) {
    std::string shown;
    for (unsigned char c : text.substr(0, most)) shown += (c >= 0x20 && c < 0x7f) ? char(c) : '?';
    return shown;
}

}  // namespace

std::string Sha256Hex(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (!EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr))
        throw std::runtime_error("SHA-256 failed");
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < size; ++i) hex += {kHex[digest[i] >> 4], kHex[digest[i] & 15]};
    return hex;
}

bool ReadSubmission(const std::string& body, SubmittedReplay& replay, std::string& error) {
    if (body.find('\0') != std::string::npos) {
        error = "it holds a NUL byte: a replay is text";
        return false;
    }
    std::string game;  // the fingerprint's lines: all but comments and the game line
    bool hasVersion = false, hasState = false, hasEnd = false;
    int hashes = 0, lineNumber = 0;
    for (size_t from = 0; from < body.size(); ++lineNumber) {
        size_t to = body.find('\n', from);
        if (to == std::string::npos) to = body.size();
        std::string line = body.substr(from, to - from);
        from = to + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (hasEnd) {
            error = "line " + std::to_string(lineNumber + 1) + ": something follows the end line";
            return false;
        }
        const std::string word = line.substr(0, line.find(' '));
        if (word != "game") game += line + "\n";
        if (word == "version" && !hasVersion) {
            const size_t numberEnd = line.find(' ', 8);
            int64_t version = 0;
            if (!Number(line.substr(8, numberEnd == std::string::npos ? std::string::npos : numberEnd - 8), 1'000'000,
                        version)) {
                error = "line " + std::to_string(lineNumber + 1) + ": the version line names no version";
                return false;
            }
            replay.version = int(version);
            replay.versionNote = numberEnd == std::string::npos ? "" : Printable(line.substr(numberEnd + 1), 40);
            hasVersion = true;
        } else if (word == "state" || word == "hash") {
            hasState = hasState || word == "state";
            hashes += word == "hash";
        } else if (word == "end") {
            if (!Number(line.substr(4), 10'000'000, replay.frames)) {
                error = "line " + std::to_string(lineNumber + 1) + ": the end line names no frame count";
                return false;
            }
            hasEnd = true;
        }
    }
    if (!hasVersion) error = "it has no version line: it is not a recording of this game";
    else if (!hasState) error = "it carries no starting state: only a kept replay shows how its game began";
    else if (hashes == 0) error = "it holds no hash lines: it is not a recording";
    else if (!hasEnd) error = "it has no end line: it was cut off";
    if (!error.empty()) return false;
    replay.fingerprint = Sha256Hex(game);
    return true;
}

}  // namespace board
