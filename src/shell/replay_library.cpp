// The replay folder: names by the time a game began, lists from each file's
// game line, the score table's replays found again by score, name and rank,
// and the writer thread that writes a finished recording atomically and
// prunes the folder to the last ten games and the score table's replays.
#include "shell/replay_library.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <set>
#include <system_error>

#include "media/cp1250.h"
#include "media/utf8_path.h"
#include "media/whole_file.h"
#include "shell/replay.h"
#include "state/damaged_saves.h"
#include "state/user_folders.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kReplayExtension = ".replay";

bool IsReplayFileName(const std::string& name) {
    const size_t n = std::strlen(kReplayExtension);
    return name.size() > n && name.compare(name.size() - n, n, kReplayExtension) == 0 && name[0] != '.';
}

// The lines before the starting state: enough to list a replay. A file of
// another version still lists (it is not damaged, only not playable here).
bool ReadHeader(const std::string& path, KeptReplay& replay, std::string& error, bool& missing) {
    std::string text;
    const WholeFileRead read = ReadWholeFile(path, kMaxScriptBytes, text);
    missing = read.status == WholeFileStatus::Missing;
    if (!read.Ok()) {
        error = "replay '" + path + "' " + read.problem;
        return false;
    }
    std::string head;
    for (size_t from = 0; from < text.size();) {
        size_t to = text.find('\n', from);
        if (to == std::string::npos) to = text.size();
        const std::string_view line(text.data() + from, to - from);
        if (line.rfind("state", 0) == 0 || line.rfind("hash", 0) == 0 ||
            (!line.empty() && line[0] >= '0' && line[0] <= '9'))
            break;
        head.append(line).append("\n");
        from = to + 1;
    }
    InputScript script;
    if (!ParseInputScript(head, path, script, error)) return false;
    if (!script.hasGame) {
        error = path + ": it has no game line, so it is not a kept replay";
        return false;
    }
    replay.game = script.game;
    return true;
}

}  // namespace

std::string ReplayFolderIn(const std::string& saveFolder) { return (Utf8Path(saveFolder) / "replays").string(); }

ReplayFileStatus LoadReplayFile(const std::string& path, InputScript& script, std::string& error) {
    std::string text;
    const WholeFileRead read = ReadWholeFile(path, kMaxScriptBytes, text);
    if (!read.Ok()) {
        error = "recording '" + path + "' " + read.problem;
        return read.status == WholeFileStatus::Missing ? ReplayFileStatus::Missing : ReplayFileStatus::Damaged;
    }
    if (!ParseInputScript(text, path, script, error)) return ReplayFileStatus::Damaged;
    if (CheckRecording(script, path, error)) return ReplayFileStatus::Ok;
    // Another version's recording is not damaged: that version plays it.
    return script.hasVersion && script.version != kRecordingVersion ? ReplayFileStatus::OtherVersion
                                                                    : ReplayFileStatus::Damaged;
}

std::string MoveDamagedReplayAside(const std::string& path, const std::string& problem) {
    const std::string keepAs = DamagedKeepName(path);
    std::error_code ec;
    fs::rename(Utf8Path(path), Utf8Path(keepAs), ec);
    const std::string where = ec ? "the damaged replay '" + path + "' could not be moved aside: " + ec.message()
                                 : "the damaged replay is kept as '" + keepAs + "'";
    std::cerr << "Kavrix: " << problem << "\nKavrix: " << where << "\n";
    return problem + "\n" + where;
}

ReplayLibrary::ReplayLibrary(std::string folder) : folder_(std::move(folder)) {}

ReplayLibrary::~ReplayLibrary() {
    WaitForWrites();
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (writer_.joinable()) writer_.join();
}

std::string ReplayLibrary::PathOf(const std::string& name) const {
    return (Utf8Path(folder_) / Utf8Path(name + kReplayExtension)).string();
}

std::vector<KeptReplay> ReplayLibrary::List(std::vector<std::string>* damaged) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(Utf8Path(folder_), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string file = it->path().filename().string();
        if (IsReplayFileName(file)) names.push_back(file.substr(0, file.size() - std::strlen(kReplayExtension)));
    }
    std::sort(names.begin(), names.end());
    std::vector<KeptReplay> replays;
    for (const std::string& name : names) {
        KeptReplay replay;
        replay.name = name;
        replay.path = PathOf(name);
        std::string error;
        bool missing = false;
        if (ReadHeader(replay.path, replay, error, missing)) replays.push_back(replay);
        else if (!missing) {
            const std::string told = MoveDamagedReplayAside(replay.path, error);
            if (damaged) damaged->push_back(told);
        }
    }
    return replays;
}

void ReplayLibrary::MarkScores(const std::vector<KeptReplay>& replays, const ScoreTableRecord& table,
                               NumberedArray<ReplayName, 10>& marks) {
    for (ReplayName& mark : marks) mark = ReplayName{};
    for (const KeptReplay& replay : replays) {
        if (replay.game.rank == 0) continue;
        std::string name;
        try {
            name = Utf8ToCp1250(replay.game.name);
        } catch (const std::exception&) {
            continue;
        }
        for (int rank = replay.game.rank; rank <= 10; ++rank) {
            if (marks[rank].size > 0 || table.Scores[rank] != replay.game.score || table.Names[rank].View() != name)
                continue;
            marks[rank].Assign(replay.name);
            break;
        }
    }
}

std::string ReplayLibrary::NewName(std::string& date) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32], iso[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    std::strftime(iso, sizeof iso, "%Y-%m-%dT%H:%M:%S", &local);
    date = iso;
    // Games begun within the same second get "_02", "_03", ...: two digits,
    // so that the names still sort in the order the games began.
    std::string name = stamp;
    std::lock_guard<std::mutex> guard(lock_);
    for (int n = 2; std::find(namesGiven_.begin(), namesGiven_.end(), name) != namesGiven_.end() ||
                    fs::exists(fs::symlink_status(Utf8Path(PathOf(name))));
         ++n) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "_%02d", n);
        name = std::string(stamp) + suffix;
    }
    namesGiven_.push_back(name);
    return name;
}

void ReplayLibrary::Keep(const std::string& name, std::string text, const ScoreTableRecord& table) {
    std::unique_lock<std::mutex> guard(lock_);
    jobs_.push_back(Job{name, std::move(text), table});
    if (!threadTried_) {
        threadTried_ = true;
        // The browser's build has no threads: it writes at once, between
        // frames, as where no thread is to be had.
#ifndef KAVRIX_SINGLE_THREADED
        try {
            writer_ = std::thread([this] { WriterLoop(); });
        } catch (const std::system_error&) {
        }
#endif
    }
    if (writer_.joinable()) {
        wake_.notify_one();
        return;
    }
    while (!jobs_.empty()) {
        const Job job = std::move(jobs_.front());
        jobs_.pop_front();
        guard.unlock();
        Write(job);
        guard.lock();
    }
}

void ReplayLibrary::WaitForWrites() {
    std::unique_lock<std::mutex> guard(lock_);
    idle_.wait(guard, [this] { return (jobs_.empty() && !busy_) || !writer_.joinable(); });
}

std::vector<std::string> ReplayLibrary::TakeFailures() {
    if (!failed_.load()) return {};
    std::lock_guard<std::mutex> guard(lock_);
    failed_ = false;
    std::vector<std::string> names;
    names.swap(failures_);
    return names;
}

void ReplayLibrary::WriterLoop() {
    std::unique_lock<std::mutex> guard(lock_);
    for (;;) {
        wake_.wait(guard, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) return;  // stopping, nothing left
        const Job job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        guard.unlock();
        Write(job);
        guard.lock();
        busy_ = false;
        if (jobs_.empty()) idle_.notify_all();
    }
}

void ReplayLibrary::Write(const Job& job) {
    const std::string path = PathOf(job.name);
    try {
        CreateUserFolder(folder_);
        WriteFileAtomically(path, reinterpret_cast<const uint8_t*>(job.text.data()), job.text.size(), "replay ");
    } catch (const std::exception& e) {
        std::cerr << "Kavrix: the replay of this game is not kept: " << e.what() << "\n";
        std::lock_guard<std::mutex> guard(lock_);
        failures_.push_back(job.name);
        failed_ = true;
        return;
    }
    Prune(job.table);
}

// The folder keeps the last ten games and the replays of the table's entries.
void ReplayLibrary::Prune(const ScoreTableRecord& table) {
    const std::vector<KeptReplay> replays = List();
    NumberedArray<ReplayName, 10> marks;
    MarkScores(replays, table, marks);
    std::set<std::string> keep;
    for (const ReplayName& mark : marks)
        if (mark.size > 0) keep.insert(std::string(mark.View()));
    const size_t last = replays.size() > size_t(kKeptLastGames) ? replays.size() - size_t(kKeptLastGames) : 0;
    for (size_t i = 0; i < replays.size(); ++i) {
        if (i >= last || keep.count(replays[i].name)) continue;
        std::error_code ec;
        fs::remove(Utf8Path(replays[i].path), ec);
    }
}
