// The gameplay-state hash (FNV-1a over every field in a fixed order) and the
// recorder of played games.
#include "shell/replay.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "shell/options.h"
#include "state/state_fields.h"
#include "state/world.h"

namespace {

// FNV-1a over the values of the state's field list, each as 8 little-endian
// bytes (texts with their length first): every element of every array, in
// use or not, and the counters the dump leaves out.
class Hasher : public FlatFieldVisitor {
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
        std::snprintf(
            text, sizeof text, "state hash differs after frame %lld (line %d): recorded %016llx, replayed %016llx",
            (long long)recorded.frame, recorded.line, (unsigned long long)recorded.hash, (unsigned long long)now.hash);
    else
        std::snprintf(text, sizeof text,
                      "screen hash differs after frame %lld (line %d): recorded %016llx, replayed %016llx",
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
    // A recording of another version of the game is refused before anything
    // runs: its hashes could not match, and the player is told why.
    if (!recording.hasVersion)
        return fail(1,
                    "it has no version line, so it was made before recordings carried one; a recording made by "
                    "this game (version " +
                        std::to_string(kRecordingVersion) + ", kavrix " + ProgramVersion() + ") replays once '" +
                        VersionLine() + "' is added after its first line");
    if (recording.version != kRecordingVersion) {
        const std::string made = recording.versionNote.empty() ? "" : " (" + recording.versionNote + ")";
        return fail(recording.versionLine, "it was made by version " + std::to_string(recording.version) +
                                               " of the game" + made + "; this is version " +
                                               std::to_string(kRecordingVersion) + " (kavrix " + ProgramVersion() +
                                               "), which plays differently, so it cannot be replayed");
    }
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
        return fail(recording.lines,
                    "the recording has no end line: it was cut off (a recording made before end "
                    "lines existed replays once 'end " +
                        std::to_string(lastHash) + "' is added after its last hash)");
    if (recording.endFrame != lastHash)
        return fail(recording.endLine, "the recording ends at frame " + std::to_string(recording.endFrame) +
                                           " but its last hash is of frame " + std::to_string(lastHash));
    // A starting state is proved by the state hash before the first frame.
    if (!recording.startingState.empty()) {
        if (recording.hasNewGame)
            return fail(recording.stateLine, "a recording with a starting state starts no new game");
        const auto first = std::find_if(recording.events.begin(), recording.events.end(),
                                        [](const ScriptEvent& e) { return e.kind == ScriptEventKind::Hash; });
        if (first->frame != 0) return fail(recording.stateLine, "the starting state has no 'hash 0' line to prove it");
    }
    return true;
}

std::string VersionLine() { return "version " + std::to_string(kRecordingVersion) + " kavrix " + ProgramVersion(); }

Recorder::Recorder() : text(kMaxScriptBytes) {}

void Recorder::Line(std::string_view line) { text.Line(line); }

void Recorder::Keys(int64_t frame, const KeySet& held) {
    const KeySet changed = held ^ lastKeys;
    if (changed.none()) return;
    for (int k = 0; k < int(GameKey::Count); ++k) {
        if (!changed.test(size_t(k))) continue;
        ScriptEvent e;
        e.frame = frame;
        e.key = GameKey(k);
        e.kind = held.test(size_t(k)) ? ScriptEventKind::Down : ScriptEventKind::Up;
        Event(e);
    }
    lastKeys = held;
}

void Recorder::Pad(int64_t frame, const InputSet& states) {
    if (states == lastPad) return;
    ScriptEvent e;
    e.frame = frame;
    e.kind = ScriptEventKind::Pad;
    e.pad = states;
    Event(e);
    lastPad = states;
}

void Recorder::Event(const ScriptEvent& event) {
    ScriptLineText line;
    text.Line(FormatScriptEvent(event, line));
}

void Recorder::Hash(const ScriptEvent& hashLine) { Event(hashLine); }

void Recorder::End(int64_t frames) {
    char line[32];
    const int n = std::snprintf(line, sizeof line, "end %lld", (long long)frames);
    text.Line(std::string_view(line, size_t(n)));
}
