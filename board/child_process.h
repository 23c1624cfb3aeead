// Running the game as a bounded child process: no shell (the program and
// its words are handed to execve as they are), a working folder of its own,
// a small fixed environment, CPU time, address space and file size bounded
// by the kernel, its output kept up to a bound and the rest read and
// dropped, a wall-clock bound after which it is killed, and killed too when
// the thread that started it dies. The caller is called about once a second
// while it runs (a worker renews its lease there) and may end it early.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace board {

struct ChildLimits {
    int cpuSeconds = 60;
    int64_t addressSpaceBytes = 0;  // 0: not bounded
    int64_t fileBytes = 64 << 20;
    double wallSeconds = 120;
    size_t outputBytes = 64 << 10;
};

struct ChildResult {
    enum class End { Exited, Signalled, TimedOut, Stopped, NotStarted };
    End end = End::NotStarted;
    int code = 0;        // the exit status, or the signal
    std::string output;  // standard output and error together, up to the bound
    bool outputCut = false;
    double wallSeconds = 0;
    std::string error;  // NotStarted: why
};

// The environment a child gets: a fixed PATH and locale, HOME and the XDG
// folders inside folder, and the sanitizers' options when the board has them.
std::vector<std::string> ChildEnvironment(const std::string& folder);

ChildResult RunChild(const std::vector<std::string>& argv, const std::string& folder, const ChildLimits& limits,
                     const std::function<bool()>& everySecond = nullptr);  // false: kill it

// "exit status 3", "killed by signal 24 (CPU time limit exceeded)", ...
std::string DescribeEnd(const ChildResult& result);

}  // namespace board
