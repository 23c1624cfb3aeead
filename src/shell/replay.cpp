// The gameplay-state hash (FNV-1a over every field in a fixed order) and the
// recorder of played games.
#include "shell/replay.h"

#include <cstdio>
#include <stdexcept>

#include "media/whole_file.h"

#include "state/state_fields.h"
#include "state/world.h"

namespace {

// FNV-1a over the values of the state's field list, each as 8 little-endian
// bytes (texts with their length first): every element of every array, in
// use or not, and the counters the dump leaves out.
class Hasher {
public:
    uint64_t value = 1469598103934665603ull;

    template <class T>
    void Int(const char*, const T& v) {
        I(int64_t(v));
    }
    template <class T>
    void Hidden(const char*, const T& v) {
        I(int64_t(v));
    }
    void Index(const char*, int64_t v) { I(v); }
    template <class T>
    void Text(const char*, const T& s) {
        HashText(FieldText(s));
    }
    template <class T>
    void HiddenText(const char*, const T& s) {
        HashText(FieldText(s));
    }
    template <class T>
    void Carried(const char*, const T&) {}
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

bool CheckRecording(const InputScript& recording, const std::string& name, std::string& error) {
    auto fail = [&](int line, const std::string& reason) {
        error = name + ":" + std::to_string(line) + ": " + reason;
        return false;
    };
    int64_t lastHash = 0;
    int hashes = 0;
    for (const ScriptEvent& e : recording.events) {
        if (e.kind != ScriptEventKind::Hash) continue;
        if (e.frame - lastHash > kReplayHashInterval)
            return fail(e.line, "hash of frame " + std::to_string(e.frame) + " comes " +
                                    std::to_string(e.frame - lastHash) + " frames after the one before it; a " +
                                    "recording holds one every " + std::to_string(kReplayHashInterval));
        lastHash = e.frame;
        ++hashes;
    }
    if (hashes == 0) return fail(recording.lines, "it holds no hash lines: it is not a recording");
    if (!recording.hasEnd)
        return fail(recording.lines, "the recording has no end line: it was cut off (a recording made before end "
                                     "lines existed replays once 'end " + std::to_string(lastHash) +
                                     "' is added after its last hash)");
    if (recording.endFrame != lastHash)
        return fail(recording.endLine, "the recording ends at frame " + std::to_string(recording.endFrame) +
                                           " but its last hash is of frame " + std::to_string(lastHash));
    return true;
}

Recorder::Recorder(const std::string& path, uint32_t seed, const ScriptNewGame* newGame)
    : file(std::make_unique<ReplacementFile>(path, false, "recording ")) {
    std::FILE* out = file->Stream();
    std::fprintf(out, "# Kavrix recording: replay with kavrix --headless --replay FILE and the same saved files\n");
    std::fprintf(out, "seed %u\n", seed);
    if (newGame) {
        std::string line = FormatNewGameLine(*newGame);  // one line, whatever the name holds
        for (char& c : line)
            if (uint8_t(c) < 0x20) c = '?';
        std::fprintf(out, "%s\n", line.c_str());
    }
}

// A recording never closed (the run failed) leaves its name as it was.
Recorder::~Recorder() = default;

void Recorder::Line(const std::string& text) {
    if (!file) return;
    std::FILE* out = file->Stream();
    std::fputs(text.c_str(), out);
    std::fputc('\n', out);
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

void Recorder::Close(int64_t frames) {
    if (!file) return;
    Line(FormatEndLine(frames));
    std::unique_ptr<ReplacementFile> closing = std::move(file);
    closing->Commit();
}
