// libFuzzer entry for the input-script reader, which also reads recordings
// and replays: any text either parses or is refused with "NAME:LINE: reason",
// everything parsed is in frame order and writes back as lines that read as
// the same events, as a recording's lines must, and a script accepted as a
// recording has its hashes close together and its end line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/input_script.h"
#include "shell/replay.h"

namespace {

[[noreturn]] void Fault(const char* what, const std::string& detail) {
    std::fprintf(stderr, "input script fuzz: %s: %s\n", what, detail.c_str());
    std::abort();
}

bool SameEvent(const ScriptEvent& a, const ScriptEvent& b) {
    if (a.frame != b.frame || a.kind != b.kind) return false;
    switch (a.kind) {
        case ScriptEventKind::Down:
        case ScriptEventKind::Up: return a.key == b.key;
        case ScriptEventKind::Type: return a.code == b.code;
        case ScriptEventKind::Move: return a.x == b.x && a.y == b.y;
        case ScriptEventKind::Click: return true;
        case ScriptEventKind::Pad: return a.pad == b.pad;
        case ScriptEventKind::Hash:
            return a.hash == b.hash && a.hasSurfaceHash == b.hasSurfaceHash &&
                   (!a.hasSurfaceHash || a.surfaceHash == b.surfaceHash);
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    InputScript script;
    std::string error;
    if (!ParseInputScript(text, "fuzz", script, error)) {
        if (error.rfind("fuzz:", 0) != 0) Fault("a refusal that names no file and line", error);
        return 0;
    }
    int64_t lastFrame = -1, lastHash = -1;
    for (const ScriptEvent& e : script.events) {
        if (e.frame < lastFrame) Fault("events out of frame order", FormatScriptEvent(e));
        lastFrame = e.frame;
        if (e.kind == ScriptEventKind::Hash) {
            if (e.frame <= lastHash) Fault("hash frames not rising", FormatScriptEvent(e));
            lastHash = e.frame;
        }
        const std::string line = FormatScriptEvent(e);
        InputScript again;
        if (!ParseInputScript(line, "again", again, error)) Fault("a written line is refused", line + " / " + error);
        if (again.events.size() != 1 || !SameEvent(e, again.events[0])) Fault("a written line reads otherwise", line);
    }
    if (script.LastFrame() != lastFrame) Fault("LastFrame", std::to_string(script.LastFrame()));
    if (script.hasNewGame) {
        const std::string line = FormatNewGameLine(script.newGame);
        InputScript again;
        if (!ParseInputScript(line, "again", again, error) || !again.hasNewGame ||
            again.newGame.name != script.newGame.name || again.newGame.level != script.newGame.level ||
            again.newGame.difficulty != script.newGame.difficulty)
            Fault("a written newgame line reads otherwise", line);
    }
    // A script the replay accepts as a recording has what a recording has.
    if (CheckRecording(script, "fuzz", error)) {
        int64_t previous = 0;
        bool any = false;
        for (const ScriptEvent& e : script.events) {
            if (e.kind != ScriptEventKind::Hash) continue;
            if (e.frame - previous > kReplayHashInterval)
                Fault("a recording with a gap between hashes", FormatScriptEvent(e));
            previous = e.frame;
            any = true;
        }
        if (!any || !script.hasEnd || script.endFrame != previous || script.LastFrame() > script.endFrame)
            Fault("a recording accepted without its hashes and end", std::to_string(script.endFrame));
        InputScript end;
        if (!ParseInputScript(FormatEndLine(script.endFrame), "again", end, error) || end.endFrame != script.endFrame)
            Fault("a written end line reads otherwise", FormatEndLine(script.endFrame));
    } else if (error.rfind("fuzz:", 0) != 0) {
        Fault("a recording refused without naming file and line", error);
    }
    return 0;
}
