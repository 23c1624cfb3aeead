// The gameplay-state hash (FNV-1a over every field in a fixed order) and the
// recorder of played games.
#include "shell/replay.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "state/state_fields.h"
#include "state/world.h"

namespace {

// FNV-1a over the values of the state's field list, each as 8 little-endian
// bytes (texts with their length first): every element of every array, in
// use or not, and the counters the dump leaves out.
class Hasher {
public:
    uint64_t value = 1469598103934665603ull;

    void Int(const char*, int64_t v) { I(v); }
    void Hidden(const char*, int64_t v) { I(v); }
    void Text(const char*, std::string_view s) { HashText(s); }
    void HiddenText(const char*, std::string_view s) { HashText(s); }
    void Key(const char*) {}
    void BeginObject() {}
    void EndObject() {}
    void BeginArray(const char*) {}
    void EndArray() {}
    bool Element(bool) { return true; }

private:
    void Bytes(const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i) {
            value ^= p[i];
            value *= 1099511628211ull;
        }
    }
    void I(int64_t v) {
        uint8_t b[8];
        for (int i = 0; i < 8; ++i) b[i] = uint8_t(uint64_t(v) >> (8 * i));
        Bytes(b, 8);
    }
    void HashText(std::string_view s) {
        I(int64_t(s.size()));
        Bytes(s.data(), s.size());
    }
};

}  // namespace

uint64_t GameStateHash(const World& w) {
    Hasher h;
    state_fields::World(h, w);
    return h.value;
}

ScriptEvent HashLine(const World& w, int64_t frame) {
    ScriptEvent e;
    e.kind = ScriptEventKind::Hash;
    e.frame = frame;
    e.hash = GameStateHash(w);
    e.hasSurfaceHash = true;
    e.surfaceHash = SurfaceHash(*w.media.back);
    return e;
}

bool CheckHashLine(const World& w, const ScriptEvent& recorded, std::string& message) {
    const ScriptEvent now = HashLine(w, recorded.frame);
    const bool stateDiffers = now.hash != recorded.hash;
    const bool screenDiffers = recorded.hasSurfaceHash && now.surfaceHash != recorded.surfaceHash;
    if (!stateDiffers && !screenDiffers) return true;
    char text[240];
    if (stateDiffers && screenDiffers)
        std::snprintf(text, sizeof text,
                      "state and screen hashes differ after frame %lld (line %d): recorded %016llx %016llx, "
                      "replayed %016llx %016llx",
                      (long long)recorded.frame, recorded.line, (unsigned long long)recorded.hash,
                      (unsigned long long)recorded.surfaceHash, (unsigned long long)now.hash,
                      (unsigned long long)now.surfaceHash);
    else if (stateDiffers)
        std::snprintf(text, sizeof text, "state hash differs after frame %lld (line %d): recorded %016llx, replayed %016llx",
                      (long long)recorded.frame, recorded.line, (unsigned long long)recorded.hash,
                      (unsigned long long)now.hash);
    else
        std::snprintf(text, sizeof text, "screen hash differs after frame %lld (line %d): recorded %016llx, replayed %016llx",
                      (long long)recorded.frame, recorded.line, (unsigned long long)recorded.surfaceHash,
                      (unsigned long long)now.surfaceHash);
    message = text;
    return false;
}

Recorder::Recorder(const std::string& path_, uint32_t seed, const ScriptNewGame* newGame) : path(path_) {
    file = std::fopen(path.c_str(), "w");
    if (!file) throw std::runtime_error("cannot create recording '" + path + "': " + std::strerror(errno));
    std::fprintf(file, "# Kavrix recording: replay with kavrix --headless --replay FILE and the same saved files\n");
    std::fprintf(file, "seed %u\n", seed);
    if (newGame) {
        std::string line = FormatNewGameLine(*newGame);  // one line, whatever the name holds
        for (char& c : line)
            if (uint8_t(c) < 0x20) c = '?';
        std::fprintf(file, "%s\n", line.c_str());
    }
}

Recorder::~Recorder() {
    if (file) std::fclose(file);
}

void Recorder::Line(const std::string& text) {
    if (!file) return;
    std::fputs(text.c_str(), file);
    std::fputc('\n', file);
}

void Recorder::Keys(int64_t frame, const KeySet& held) {
    const KeySet changed = held ^ lastKeys;
    if (changed.none()) return;
    for (int k = 0; k < int(GameKey::Count); ++k) {
        if (!changed.test(size_t(k))) continue;
        ScriptEvent e;
        e.frame = frame;
        e.key = GameKey(k);
        e.kind = held.test(size_t(k)) ? ScriptEventKind::Down : ScriptEventKind::Up;
        Line(FormatScriptEvent(e));
    }
    lastKeys = held;
}

void Recorder::Event(const ScriptEvent& event) { Line(FormatScriptEvent(event)); }

void Recorder::Hash(const ScriptEvent& hashLine) { Line(FormatScriptEvent(hashLine)); }

void Recorder::Close() {
    if (!file) return;
    const bool failed = std::fclose(file) != 0;
    file = nullptr;
    if (failed) throw std::runtime_error("cannot write recording '" + path + "'");
}
