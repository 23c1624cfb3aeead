// The --submit command: the replay found by name or path and checked as
// the game checks a replay before it plays one, the board's address, then
// a BoardSubmission polled ten times a second, each change of its stage
// told as it happens.
#include "shell/submit_command.h"

#include <chrono>
#include <ostream>
#include <thread>

#include "media/whole_file.h"
#include "shell/board_submission.h"
#include "shell/display_settings.h"
#include "shell/options.h"
#include "shell/replay_library.h"
#include "shell/runner.h"

namespace {

// The player's board: --board, else kavrix.conf's board= line.
std::string BoardUrl(const RunOptions& options) {
    if (!options.boardUrl.empty()) return options.boardUrl;
    DisplaySettingsFile file(DisplaySettingsPath());
    return file.Load().board;
}

int Verdict(const BoardSubmission::State& s, const std::string& board, std::ostream& out, std::ostream& err) {
    switch (s.stage) {
        case BoardSubmission::Stage::Verified:
            out << "Verified: " << s.name << ", " << s.score << " points at difficulty " << s.difficulty << ", level "
                << s.level << " reached; on the board at " << board
                << (s.sentBefore ? " (sent before, as replay " + std::to_string(s.id) + ")" : "") << "\n";
            return 0;
        case BoardSubmission::Stage::Refused:
            err << "Kavrix: the board refused the replay: " << s.reason << "\n";
            return 3;
        default: err << "Kavrix: the replay was not verified: " << s.reason << "\n"; return 1;
    }
}

}  // namespace

int SubmitKeptReplay(const RunOptions& options, std::ostream& out, std::ostream& err) {
    const std::string board = BoardUrl(options);
    if (board.empty()) {
        err << "Kavrix: no score board is named: give --board URL, or put board=URL in kavrix.conf\n";
        return 2;
    }
    const std::string path = ResolveReplayFile(options, options.submitReplay);
    InputScript replay;
    std::string error, text;
    // A replay of another version may still be sent: a board may hold that
    // version's game.
    const ReplayFileStatus status = LoadReplayFile(path, replay, error);
    if (status != ReplayFileStatus::Ok && status != ReplayFileStatus::OtherVersion) {
        err << "Kavrix: " << error << "\n";
        return 2;
    }
    if (replay.startingState.empty() || !replay.hasGame) {
        err << "Kavrix: '" << path << "' is not a kept replay: only the replays the game keeps of its games can be "
            << "sent (kavrix --list-replays lists them)\n";
        return 2;
    }
    ReadWholeFile(path, kMaxScriptBytes, text);
    out << "Sending '" << path << "' (" << replay.game.name << ", " << replay.game.score << " points) to " << board
        << "...\n";
    BoardSubmission submission(board, text);
    BoardSubmission::Stage told = BoardSubmission::Stage::Sending;
    for (;;) {
        if (submission.CurrentStage() == told) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            continue;
        }
        const BoardSubmission::State s = submission.Poll();
        if (BoardSubmission::Finished(s.stage)) return Verdict(s, board, out, err);
        if (s.stage == BoardSubmission::Stage::Waiting) {
            out << (s.sentBefore ? "The board had it already, as replay " : "The board took it as replay ") << s.id
                << "; waiting for its verification...\n"
                << std::flush;
        }
        told = s.stage;
    }
}
