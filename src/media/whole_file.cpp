// Reading regular files whole with a size bound, and writing files by
// replacement through a temporary file beside them (see whole_file.h).
#include "media/whole_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

std::string SizeText(size_t bytes) {
    if (bytes >= (size_t(1) << 20) && bytes % (size_t(1) << 20) == 0) return std::to_string(bytes >> 20) + " MB";
    if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes >> 10) + " KB";
    return std::to_string(bytes) + " bytes";
}

WholeFileRead Problem(WholeFileStatus status, std::string problem) { return {status, std::move(problem)}; }

[[noreturn]] void WriteFailed(const std::string& label, const std::string& path, const char* what, int error) {
    throw std::runtime_error("Cannot write " + label + "'" + path + "': " + what + " (" + ErrnoText(error) + ")");
}

// The rename of a new file lasts through a power cut only once the folder
// that holds the name is written out too. A folder that cannot be opened for
// reading, or a file system that cannot flush one (EINVAL, read-only), leaves
// nothing more to do: the file itself is in place.
void FlushFolderOf(const std::string& label, const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0 && error != EINVAL && error != EROFS && error != ENOTSUP)
        WriteFailed(label, path, "flush of its folder failed", error);
}

// Creates PATH.tmpXXXXXX beside path; returns its descriptor and name.
int CreateTemporary(const std::string& label, const std::string& path, std::string& temporary) {
    std::vector<char> name(path.begin(), path.end());
    const char suffix[] = ".tmpXXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix);  // with the terminating zero
    const int fd = ::mkstemp(name.data());
    if (fd < 0) WriteFailed(label, path, "cannot create a temporary file beside it", errno);
    temporary = name.data();
    // A file the game writes is readable by the user like any other.
    ::fchmod(fd, 0644);
    return fd;
}

// Temporary files that a signal removes: fixed slots of plain bytes, so the
// handler reads them without anything that is not safe inside a signal.
constexpr int kSignalSlots = 4;
constexpr size_t kSlotBytes = 4096;
char signalPaths[kSignalSlots][kSlotBytes];
volatile sig_atomic_t signalSlotUsed[kSignalSlots];
bool handlersInstalled = false;

void RemoveTemporariesAndDie(int signalNumber) {
    for (int i = 0; i < kSignalSlots; ++i)
        if (signalSlotUsed[i]) ::unlink(signalPaths[i]);
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

int RegisterForSignals(const std::string& temporary) {
    if (temporary.size() >= kSlotBytes) return -1;
    if (!handlersInstalled) {
        struct sigaction action {};
        action.sa_handler = RemoveTemporariesAndDie;
        sigemptyset(&action.sa_mask);
        for (int s : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(s, &action, nullptr);
        handlersInstalled = true;
    }
    for (int i = 0; i < kSignalSlots; ++i) {
        if (signalSlotUsed[i]) continue;
        std::memcpy(signalPaths[i], temporary.c_str(), temporary.size() + 1);
        signalSlotUsed[i] = 1;
        return i;
    }
    return -1;
}

void UnregisterForSignals(int& slot) {
    if (slot >= 0) signalSlotUsed[slot] = 0;
    slot = -1;
}

}  // namespace

const char* FileKindName(unsigned mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISLNK(mode)) return "a symbolic link";
    return "something other than a file";
}

WholeFileRead ReadWholeFile(const std::string& path, size_t maxBytes, std::string& bytes) {
    bytes.clear();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        // A file in the place of one of its folders leaves no room for it either.
        if (errno == ENOENT || errno == ENOTDIR) return Problem(WholeFileStatus::Missing, "does not exist");
        return Problem(WholeFileStatus::Unreadable, "cannot be examined (" + ErrnoText(errno) + ")");
    }
    if (!S_ISREG(st.st_mode))
        return Problem(WholeFileStatus::NotAFile, std::string("is ") + FileKindName(st.st_mode) + ", not a file");
    if (size_t(st.st_size) > maxBytes)
        return Problem(WholeFileStatus::TooLarge, "is larger than " + SizeText(maxBytes));
    // Opened without waiting and looked at once more, in case something else
    // took the file's place in between.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Problem(WholeFileStatus::Unreadable, "cannot be opened (" + ErrnoText(errno) + ")");
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Problem(WholeFileStatus::NotAFile, "is not a file");
    }
    // Read until the end, stopping one byte past the bound: a file that grew
    // since it was looked at is still refused.
    bytes.reserve(size_t(st.st_size));
    char chunk[65536];
    int readError = 0;
    while (bytes.size() <= maxBytes) {
        const ssize_t n = ::read(fd, chunk, std::min(sizeof chunk, maxBytes + 1 - bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) readError = errno;
        if (n <= 0) break;
        bytes.append(chunk, size_t(n));
    }
    ::close(fd);
    if (readError != 0) {
        bytes.clear();
        return Problem(WholeFileStatus::Unreadable, "cannot be read (" + ErrnoText(readError) + ")");
    }
    if (bytes.size() > maxBytes) {
        bytes.clear();
        return Problem(WholeFileStatus::TooLarge, "is larger than " + SizeText(maxBytes));
    }
    return {};
}

WholeFileRead ReadFileStart(const std::string& path, uint8_t* out, size_t size, size_t& got) {
    got = 0;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return Problem(WholeFileStatus::Missing, "does not exist");
        return Problem(WholeFileStatus::Unexaminable, "cannot be examined (" + ErrnoText(errno) + ")");
    }
    if (!S_ISREG(st.st_mode))
        return Problem(WholeFileStatus::NotAFile, std::string("is ") + FileKindName(st.st_mode) + ", not a file");
    // Opened without waiting and looked at once more, in case something else
    // took the file's place in between.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Problem(WholeFileStatus::Unreadable, "cannot be opened (" + ErrnoText(errno) + ")");
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Problem(WholeFileStatus::NotAFile, "is not a file");
    }
    int readError = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, out + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) readError = errno;
        if (n <= 0) break;
        got += size_t(n);
    }
    ::close(fd);
    if (readError != 0) return Problem(WholeFileStatus::Unreadable, "cannot be read (" + ErrnoText(readError) + ")");
    return {};
}

void CheckReplaceable(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return;  // nothing there (or nothing we may see): the write will tell
    if (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)) return;
    throw std::runtime_error("'" + path + "' is " + FileKindName(st.st_mode) + ", not a file: it is not written over");
}

void WriteFileAtomically(const std::string& path, const uint8_t* bytes, size_t size, const char* label) {
    ReplacementFile file(path, false, label);
    std::FILE* out = file.Stream();
    if (size > 0 && std::fwrite(bytes, 1, size, out) != size) WriteFailed(label, path, "write failed", errno);
    file.Commit();
}

ReplacementFile::ReplacementFile(const std::string& path, bool removeOnSignal, const char* label)
    : path_(path), label_(label) {
    CheckReplaceable(path_);
    if (!removeOnSignal) {
        fd_ = CreateTemporary(label_, path_, temporary_);
        return;
    }
    // The signals wait while the file is made and noted, so none can end the
    // program between the two and leave the file behind.
    sigset_t removing, before;
    sigemptyset(&removing);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&removing, s);
    ::sigprocmask(SIG_BLOCK, &removing, &before);
    try {
        fd_ = CreateTemporary(label_, path_, temporary_);
        signalSlot_ = RegisterForSignals(temporary_);
    } catch (...) {
        ::sigprocmask(SIG_SETMASK, &before, nullptr);
        throw;
    }
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
}

ReplacementFile::~ReplacementFile() { Discard(); }

std::FILE* ReplacementFile::Stream() {
    if (!stream_ && fd_ >= 0) {
        stream_ = ::fdopen(fd_, "wb");
        if (!stream_) WriteFailed(label_, path_, "cannot open the temporary file", errno);
    }
    return stream_;
}

void ReplacementFile::CloseHandles() {
    if (stream_) {
        std::fclose(stream_);
    } else if (fd_ >= 0) {
        ::close(fd_);
    }
    stream_ = nullptr;
    fd_ = -1;
}

void ReplacementFile::Commit() {
    if (done_) return;
    auto fail = [&](const char* what, int error) {
        Discard();
        WriteFailed(label_, path_, what, error);
    };
    if (stream_ && std::fflush(stream_) != 0) fail("write failed", errno);
    if (std::ferror(Stream())) fail("write failed", EIO);
    // The data on disk before the name moves onto it.
    if (::fsync(fd_) != 0) fail("flush failed", errno);
    const int closed = std::fclose(stream_);
    stream_ = nullptr;
    fd_ = -1;
    if (closed != 0) fail("flush failed", errno);
    // Something may have taken the name since we looked.
    try {
        CheckReplaceable(path_);
    } catch (...) {
        Discard();
        throw;
    }
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) fail("rename failed", errno);
    done_ = true;
    UnregisterForSignals(signalSlot_);
    FlushFolderOf(label_, path_);
}

void ReplacementFile::Discard() {
    if (done_) return;
    done_ = true;
    CloseHandles();
    ::unlink(temporary_.c_str());
    UnregisterForSignals(signalSlot_);
}
