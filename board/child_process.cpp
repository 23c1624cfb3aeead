// fork and execve with the bounds set between them (only system calls run
// there: the board is multi-threaded), one pipe for the child's output read
// with poll, and waitpid once it is closed.
#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace board {

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// In the child, between fork and execve: system calls only.
[[noreturn]] void BecomeChild(char* const* argv, char* const* env, const char* folder, int output, pid_t parent,
                              const ChildLimits& limits) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);  // the parent is already gone
    setpgid(0, 0);
    // The board blocks its stop signals and ignores SIGPIPE; the game gets
    // the defaults.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    const int nothing = open("/dev/null", O_RDONLY);
    if (nothing < 0 || dup2(nothing, 0) < 0 || dup2(output, 1) < 0 || dup2(output, 2) < 0) _exit(127);
    close_range(3, ~0u, 0);
    const rlim_t cpu = rlim_t(limits.cpuSeconds);
    const rlimit cpuLimit{cpu, cpu + 1};  // SIGXCPU at the bound, SIGKILL a second later
    const rlimit fileLimit{rlim_t(limits.fileBytes), rlim_t(limits.fileBytes)};
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CPU, &cpuLimit);
    setrlimit(RLIMIT_FSIZE, &fileLimit);
    setrlimit(RLIMIT_CORE, &noCore);
    if (limits.addressSpaceBytes > 0) {
        const rlimit space{rlim_t(limits.addressSpaceBytes), rlim_t(limits.addressSpaceBytes)};
        setrlimit(RLIMIT_AS, &space);
    }
    if (chdir(folder) != 0) _exit(127);
    execve(argv[0], argv, env);
    const char message[] = "kavrix-board: cannot start the game\n";
    if (write(2, message, sizeof message - 1) < 0) _exit(127);
    _exit(127);
}

std::vector<char*> Pointers(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Reads what the child writes until it closes its end, keeping up to the
// bound; kills it when the wall-clock bound passes.
void ReadOutput(int fd, pid_t pid, const ChildLimits& limits, Clock::time_point start,
                const std::function<bool()>& everySecond, ChildResult& result) {
    Clock::time_point lastCall = start;
    char buffer[16384];
    for (;;) {
        pollfd waiting{fd, POLLIN, 0};
        const int ready = poll(&waiting, 1, 200);
        if (ready > 0) {
            const ssize_t got = read(fd, buffer, sizeof buffer);
            if (got == 0) return;
            if (got < 0 && errno != EINTR && errno != EAGAIN) return;
            if (got > 0) {
                const size_t room = limits.outputBytes - std::min(limits.outputBytes, result.output.size());
                result.output.append(buffer, std::min(room, size_t(got)));
                result.outputCut = result.outputCut || size_t(got) > room;
            }
        }
        const bool ending = result.end == ChildResult::End::TimedOut || result.end == ChildResult::End::Stopped;
        if (!ending && Since(start) > limits.wallSeconds) result.end = ChildResult::End::TimedOut;
        if (!ending && everySecond && Clock::now() - lastCall >= std::chrono::seconds(1)) {
            lastCall = Clock::now();
            if (!everySecond()) result.end = ChildResult::End::Stopped;
        }
        if (!ending && result.end != ChildResult::End::NotStarted) {
            kill(-pid, SIGKILL);
            kill(pid, SIGKILL);
        }
    }
}

}  // namespace

std::vector<std::string> ChildEnvironment(const std::string& folder) {
    std::vector<std::string> env = {"PATH=/usr/bin:/bin",
                                    "LANG=C.UTF-8",
                                    "HOME=" + folder,
                                    "XDG_DATA_HOME=" + folder + "/data",
                                    "XDG_CONFIG_HOME=" + folder + "/config",
                                    "SDL_AUDIODRIVER=dummy",
                                    "SDL_VIDEODRIVER=dummy"};
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"})
        if (const char* value = std::getenv(name)) env.push_back(std::string(name) + "=" + value);
    return env;
}

ChildResult RunChild(const std::vector<std::string>& argv, const std::string& folder, const ChildLimits& limits,
                     const std::function<bool()>& everySecond) {
    ChildResult result;
    std::vector<std::string> words = argv, env = ChildEnvironment(folder);
    const std::vector<char*> argvPointers = Pointers(words), envPointers = Pointers(env);
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        result.error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return result;
    }
    const Clock::time_point start = Clock::now();
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) BecomeChild(argvPointers.data(), envPointers.data(), folder.c_str(), pipeEnds[1], parent, limits);
    close(pipeEnds[1]);
    if (pid < 0) {
        close(pipeEnds[0]);
        result.error = std::string("cannot start a process: ") + std::strerror(errno);
        return result;
    }
    ReadOutput(pipeEnds[0], pid, limits, start, everySecond, result);
    close(pipeEnds[0]);
    // The output closed: the child is ending (or has closed it and goes on,
    // which the wall-clock bound still ends).
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Since(start) > limits.wallSeconds && result.end != ChildResult::End::TimedOut) {
            kill(pid, SIGKILL);
            result.end = ChildResult::End::TimedOut;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    result.wallSeconds = Since(start);
    if (result.end == ChildResult::End::TimedOut || result.end == ChildResult::End::Stopped) return result;
    if (WIFEXITED(status)) {
        result.end = ChildResult::End::Exited;
        result.code = WEXITSTATUS(status);
    } else {
        result.end = ChildResult::End::Signalled;
        result.code = WTERMSIG(status);
    }
    return result;
}

std::string DescribeEnd(const ChildResult& result) {
    switch (result.end) {
        case ChildResult::End::Exited: return "exit status " + std::to_string(result.code);
        case ChildResult::End::Signalled:
            return "killed by signal " + std::to_string(result.code) + " (" + strsignal(result.code) + ")";
        case ChildResult::End::TimedOut: return "killed after its time ran out";
        case ChildResult::End::Stopped: return "stopped: the board is stopping";
        case ChildResult::End::NotStarted: return "not started: " + result.error;
    }
    return "";
}

}  // namespace board
