// Reading regular files whole and writing files by replacement (see
// whole_file.h), on Windows: UTF-16 names at every call, what stands at a
// name told by the handle's own type (a device name such as NUL or COM1 by
// its name, in any folder and with any extension), and the replacement put
// in place by MoveFileExW, which replaces the old file and is written
// through before it returns. The temporary file is marked for deletion from
// the moment it exists until the commit, so Windows removes it however the
// program ends.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "media/whole_file.h"
#include "media/wide_text_windows.h"

namespace {

enum class Kind { Nothing, File, Link, Folder, Device, Pipe, Other, Unknown };

struct Standing {
    Kind kind = Kind::Unknown;
    DWORD error = 0;  // why it could not be looked at (Kind::Unknown)
};

const char* KindName(Kind kind) {
    switch (kind) {
        case Kind::Folder: return "a folder";
        case Kind::Device: return "a device";
        case Kind::Pipe: return "a named pipe";
        case Kind::Link: return "a symbolic link";
        default: return "something other than a file";
    }
}

std::string SizeText(size_t bytes) {
    if (bytes >= (size_t(1) << 20) && bytes % (size_t(1) << 20) == 0) return std::to_string(bytes >> 20) + " MB";
    if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes >> 10) + " KB";
    return std::to_string(bytes) + " bytes";
}

WholeFileRead Problem(WholeFileStatus status, std::string problem) { return {status, std::move(problem)}; }

[[noreturn]] void WriteFailed(const std::string& label, const std::string& path, const char* what,
                              const std::string& why) {
    throw std::runtime_error("Cannot write " + label + "'" + path + "': " + what + " (" + why + ")");
}

// CON, PRN, AUX, NUL, COM1..9, LPT1..9 and the console's own names stand for
// devices in every folder, also with an extension ("nul.png").
bool IsDeviceName(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/:");
    std::wstring name = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ') name.pop_back();
    for (wchar_t& c : name) c = wchar_t(::towupper(c));
    if (name == L"CON" || name == L"PRN" || name == L"AUX" || name == L"NUL" || name == L"CONIN$" || name == L"CONOUT$")
        return true;
    return name.size() == 4 && (name.compare(0, 3, L"COM") == 0 || name.compare(0, 3, L"LPT") == 0) &&
           name[3] >= L'1' && name[3] <= L'9';
}

Kind KindOf(HANDLE handle) {
    switch (::GetFileType(handle)) {
        case FILE_TYPE_CHAR: return Kind::Device;
        case FILE_TYPE_PIPE: return Kind::Pipe;
        case FILE_TYPE_DISK: break;
        default: return Kind::Other;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) return Kind::Other;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return Kind::Link;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Kind::Folder;
    return Kind::File;
}

// What stands at path, opened for no access at all (a folder too), the link
// at its end followed or looked at itself.
Standing LookAt(const std::wstring& path, bool followLink) {
    if (IsDeviceName(path)) return {Kind::Device, 0};
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    HANDLE handle = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {Kind::Nothing, error};
        return {Kind::Unknown, error};
    }
    const Kind kind = KindOf(handle);
    ::CloseHandle(handle);
    return {kind, 0};
}

// Opens the regular file at path for reading, after looking at what stands
// there; on failure returns INVALID_HANDLE_VALUE with problem set.
HANDLE OpenToRead(const std::string& path, WholeFileRead& problem, WholeFileStatus unexaminable) {
    const std::wstring wide = WideFromUtf8(path);
    const Standing standing = LookAt(wide, true);
    if (standing.kind == Kind::Nothing) problem = Problem(WholeFileStatus::Missing, "does not exist");
    else if (standing.kind == Kind::Unknown)
        problem = Problem(unexaminable, "cannot be examined (" + WindowsErrorText(standing.error) + ")");
    else if (standing.kind != Kind::File)
        problem = Problem(WholeFileStatus::NotAFile, std::string("is ") + KindName(standing.kind) + ", not a file");
    if (!problem.Ok()) return INVALID_HANDLE_VALUE;
    HANDLE handle = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        problem = Problem(WholeFileStatus::Unreadable, "cannot be opened (" + WindowsErrorText(::GetLastError()) + ")");
        return handle;
    }
    // Looked at once more, in case something else took the file's place.
    if (KindOf(handle) != Kind::File) {
        ::CloseHandle(handle);
        problem = Problem(WholeFileStatus::NotAFile, "is not a file");
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

// Reads up to size bytes into out; false with the error's words in why.
bool ReadUpTo(HANDLE handle, char* out, size_t size, size_t& got, std::string& why) {
    got = 0;
    while (got < size) {
        DWORD n = 0;
        const DWORD ask = DWORD(std::min<size_t>(size - got, 1 << 20));
        if (!::ReadFile(handle, out + got, ask, &n, nullptr)) {
            why = WindowsErrorText(::GetLastError());
            return false;
        }
        if (n == 0) break;
        got += n;
    }
    return true;
}

// Six letters and digits that differ between calls and between processes.
std::string TemporarySuffix() {
    static unsigned long long counter = 0;
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    unsigned long long x = (unsigned long long)now.QuadPart ^ (++counter << 40) ^ ::GetCurrentProcessId();
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    x ^= x >> 31;
    const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string suffix;
    for (int i = 0; i < 6; ++i, x /= 62) suffix += letters[x % 62];
    return suffix;
}

// Marks the open file to be removed when its last handle closes, or takes
// that back.
bool SetRemovedOnClose(HANDLE handle, bool removed) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = removed ? TRUE : FALSE;
    return ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

// Creates PATH.tmpXXXXXX beside path, marked for removal on close; returns
// its C runtime descriptor and name.
int CreateTemporary(const std::string& label, const std::string& path, std::string& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = path + ".tmp" + TemporarySuffix();
        HANDLE handle =
            ::CreateFileW(WideFromUtf8(name).c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            WriteFailed(label, path, "cannot create a temporary file beside it", WindowsErrorText(error));
        }
        SetRemovedOnClose(handle, true);
        const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_WRONLY);
        if (fd < 0) {
            ::CloseHandle(handle);
            ::DeleteFileW(WideFromUtf8(name).c_str());
            WriteFailed(label, path, "cannot open the temporary file", std::strerror(errno));
        }
        temporary = name;
        return fd;
    }
    WriteFailed(label, path, "cannot create a temporary file beside it", "every name tried was taken");
}

// Renames from over to. A reader elsewhere (a virus scanner, a backup) may
// hold the old file for a moment: the rename is tried again for half a second.
bool ReplaceWith(const std::wstring& from, const std::wstring& to, DWORD& error) {
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        error = ::GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == 10) return false;
        ::Sleep(50);
    }
}

}  // namespace

const char* FileKindName(unsigned mode) {
    switch (mode & _S_IFMT) {
        case _S_IFDIR: return "a folder";
        case _S_IFIFO: return "a named pipe";
        case _S_IFCHR: return "a device";
        default: return "something other than a file";
    }
}

WholeFileRead ReadWholeFile(const std::string& path, size_t maxBytes, std::string& bytes) {
    bytes.clear();
    WholeFileRead problem;
    HANDLE handle = OpenToRead(path, problem, WholeFileStatus::Unreadable);
    if (handle == INVALID_HANDLE_VALUE) return problem;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(handle, &size) && size_t(size.QuadPart) > maxBytes) {
        ::CloseHandle(handle);
        return Problem(WholeFileStatus::TooLarge, "is larger than " + SizeText(maxBytes));
    }
    // Read until the end, stopping one byte past the bound: a file that grew
    // since it was looked at is still refused.
    bytes.reserve(size_t(size.QuadPart));
    char chunk[65536];
    std::string why;
    while (bytes.size() <= maxBytes) {
        size_t got = 0;
        if (!ReadUpTo(handle, chunk, std::min(sizeof chunk, maxBytes + 1 - bytes.size()), got, why)) break;
        if (got == 0) break;
        bytes.append(chunk, got);
    }
    ::CloseHandle(handle);
    if (!why.empty()) {
        bytes.clear();
        return Problem(WholeFileStatus::Unreadable, "cannot be read (" + why + ")");
    }
    if (bytes.size() > maxBytes) {
        bytes.clear();
        return Problem(WholeFileStatus::TooLarge, "is larger than " + SizeText(maxBytes));
    }
    return {};
}

WholeFileRead ReadFileStart(const std::string& path, uint8_t* out, size_t size, size_t& got) {
    got = 0;
    WholeFileRead problem;
    HANDLE handle = OpenToRead(path, problem, WholeFileStatus::Unexaminable);
    if (handle == INVALID_HANDLE_VALUE) return problem;
    std::string why;
    const bool read = ReadUpTo(handle, reinterpret_cast<char*>(out), size, got, why);
    ::CloseHandle(handle);
    if (!read) return Problem(WholeFileStatus::Unreadable, "cannot be read (" + why + ")");
    return {};
}

void CheckReplaceable(const std::string& path) {
    const Standing standing = LookAt(WideFromUtf8(path), false);
    // Nothing there (or nothing we may see): the write will tell.
    if (standing.kind == Kind::Nothing || standing.kind == Kind::Unknown) return;
    if (standing.kind == Kind::File || standing.kind == Kind::Link) return;
    throw std::runtime_error("'" + path + "' is " + KindName(standing.kind) + ", not a file: it is not written over");
}

void WriteFileAtomically(const std::string& path, const uint8_t* bytes, size_t size, const char* label) {
    ReplacementFile file(path, false, label);
    std::FILE* out = file.Stream();
    if (size > 0 && std::fwrite(bytes, 1, size, out) != size)
        WriteFailed(label, path, "write failed", std::strerror(errno));
    file.Commit();
}

// Windows removes the temporary file itself however the program ends, so
// removeOnSignal needs nothing more.
ReplacementFile::ReplacementFile(const std::string& path, bool, const char* label) : path_(path), label_(label) {
    CheckReplaceable(path_);
    fd_ = CreateTemporary(label_, path_, temporary_);
}

ReplacementFile::~ReplacementFile() { Discard(); }

std::FILE* ReplacementFile::Stream() {
    if (!stream_ && fd_ >= 0) {
        stream_ = ::_fdopen(fd_, "wb");
        if (!stream_) WriteFailed(label_, path_, "cannot open the temporary file", std::strerror(errno));
    }
    return stream_;
}

void ReplacementFile::CloseHandles() {
    if (stream_) {
        std::fclose(stream_);
    } else if (fd_ >= 0) {
        ::_close(fd_);
    }
    stream_ = nullptr;
    fd_ = -1;
}

void ReplacementFile::Commit() {
    if (done_) return;
    auto fail = [&](const char* what, const std::string& why) {
        Discard();
        WriteFailed(label_, path_, what, why);
    };
    if (std::fflush(Stream()) != 0 || std::ferror(stream_)) fail("write failed", std::strerror(errno));
    // The data on disk before the name moves onto it, and the file kept.
    HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd_));
    if (!::FlushFileBuffers(handle)) fail("flush failed", WindowsErrorText(::GetLastError()));
    if (!SetRemovedOnClose(handle, false)) fail("cannot keep the new file", WindowsErrorText(::GetLastError()));
    const int closed = std::fclose(stream_);
    stream_ = nullptr;
    fd_ = -1;
    if (closed != 0) fail("flush failed", std::strerror(errno));
    // Something may have taken the name since we looked.
    try {
        CheckReplaceable(path_);
    } catch (...) {
        Discard();
        throw;
    }
    DWORD error = 0;
    if (!ReplaceWith(WideFromUtf8(temporary_), WideFromUtf8(path_), error))
        fail("rename failed", WindowsErrorText(error));
    done_ = true;
}

void ReplacementFile::Discard() {
    if (done_) return;
    done_ = true;
    CloseHandles();
    ::DeleteFileW(WideFromUtf8(temporary_).c_str());
}
