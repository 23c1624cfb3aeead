// Recording each game of a session: its starting state proved by "hash 0",
// the input and hash lines as the run's recorder writes them, and at its
// end the game line (date, length, score, level reached, the rank its score
// took, the player) put before it, handed to the replay folder, and its
// replay put beside the entry it made in the score table.
#include "shell/game_recorder.h"

#include <algorithm>
#include <iostream>

#include "media/cp1250.h"
#include "shell/replay.h"
#include "shell/replay_library.h"
#include "shell/starting_state.h"
#include "state/world.h"

GameRecorder::GameRecorder(ReplayLibrary& library, const World& w)
    : library_(library), gamesBegun_(w.front.GamesBegun) {}

GameRecorder::~GameRecorder() = default;

void GameRecorder::BeforeFrame(World& w, uint32_t clock) {
    if (w.front.GamesBegun != gamesBegun_) {
        gamesBegun_ = w.front.GamesBegun;
        if (recorder_) End(w, 0);
        Begin(w, clock);
    }
    if (!recorder_) return;
    const ProgressRecord& p = w.game.Progress;
    overAtFrameStart_ = !w.front.GameActive;
    scoreToEnter_ = p.Lives == 0 && p.Score > 0;
}

void GameRecorder::Input(const KeySet& keys, const InputSet& pad) {
    if (!recorder_) return;
    recorder_->Keys(frame_, keys);
    recorder_->Pad(frame_, pad);
}

void GameRecorder::Event(const ScriptEvent& event) {
    if (!recorder_) return;
    ScriptEvent e = event;
    e.frame = frame_;
    recorder_->Event(e);
}

void GameRecorder::AfterFrame(World& w) {
    if (!recorder_) return;
    ++frame_;
    const ProgressRecord& p = w.game.Progress;
    game_.level = std::max(game_.level, int(p.Level));
    if (p.Score > 0) game_.score = p.Score;  // entering the table sets it to 0
    if (frame_ % kReplayHashInterval == 0) recorder_->Hash(HashLine(w, frame_));
    if (!overAtFrameStart_) return;
    // The score page entered the score in this frame when it took it.
    End(w, scoreToEnter_ && p.Score == 0 ? w.front.NewScoreRank : 0);
}

void GameRecorder::Finish(World& w) {
    if (recorder_) End(w, 0);
}

void GameRecorder::Begin(World& w, uint32_t clock) {
    recorder_ = std::make_unique<Recorder>();
    name_ = library_.NewName(game_.date);
    const ProgressRecord& p = w.game.Progress;
    game_.name = Cp1250ToUtf8(p.PlayerName.View());
    // One line, whatever the name holds.
    for (char& c : game_.name)
        if (uint8_t(c) < 0x20) c = '?';
    game_.level = std::clamp(int(p.Level), 1, 9);
    game_.score = std::max(p.Score, 0);
    game_.rank = 0;
    frame_ = 0;
    language_ = w.shell.language;
    WriteStartingState(w, clock, recorder_->Buffer());
    ScriptEvent start;
    start.kind = ScriptEventKind::Hash;
    start.frame = 0;
    start.hash = GameStateHash(w);
    recorder_->Hash(start);
}

void GameRecorder::End(World& w, int rank) {
    std::unique_ptr<Recorder> recorder = std::move(recorder_);
    if (frame_ == 0) return;  // begun and left before a frame ran: nothing to watch
    if (frame_ % kReplayHashInterval != 0) recorder->Hash(HashLine(w, frame_));
    recorder->End(frame_);
    if (recorder->Full()) {
        std::cerr << "Kavrix: this game is not kept as a replay: its recording grew beyond " << (kMaxScriptBytes >> 20)
                  << " MB\n";
        return;
    }
    game_.frames = frame_;
    game_.rank = rank;
    std::string text = "# Kavrix replay: kavrix --replay FILE plays it, kavrix --list-replays lists the kept ones\n";
    text += VersionLine() + "\n" + FormatGameLine(game_) + "\n";
    if (language_ != Language::Czech) text += FormatLanguageLine(language_) + "\n";
    text += recorder->Text();
    if (rank >= 1 && rank <= 10) w.saved.ScoreReplays[rank].Assign(name_);
    library_.Keep(name_, std::move(text), w.saved.ScoreTable);
}
