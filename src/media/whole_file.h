// Files the game reads whole and files it writes whole, held to one standard:
// only regular files are read (a folder, pipe or device is named as what it
// is and never opened for reading, so nothing can hold up the game), of a
// bounded size; a written file replaces the old one only when it is
// complete, through a temporary file in the same folder, and nothing that
// stands at the name and is not a file (a device, a pipe, a folder) is ever
// written over or removed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// Unexaminable: not even what stands at the path can be told (a folder on
// its way is unreadable, or a file stands in the place of one).
enum class WholeFileStatus { Ok, Missing, NotAFile, TooLarge, Unreadable, Unexaminable };

struct WholeFileRead {
    WholeFileStatus status = WholeFileStatus::Ok;
    // What was wrong, to follow the file's name in a message: "is a folder,
    // not a file", "is larger than 16 MB", "cannot be read (Permission denied)".
    std::string problem;
    bool Ok() const { return status == WholeFileStatus::Ok; }
};

// Reads the regular file at path (following a symbolic link) into bytes,
// refusing one larger than maxBytes.
WholeFileRead ReadWholeFile(const std::string& path, size_t maxBytes, std::string& bytes);

// Reads the first size bytes of the regular file at path into out; got says
// how many came (fewer when the file is shorter, a longer file is read no
// further). Missing only when nothing is at path; what is not a file is
// refused as ReadWholeFile refuses it, and never opened for reading.
WholeFileRead ReadFileStart(const std::string& path, uint8_t* out, size_t size, size_t& got);

// "a folder", "a named pipe", "a device", ... for what lstat or stat found.
const char* FileKindName(unsigned mode);

// Writes the bytes into a temporary file in the same folder and renames it
// over path, so a failed write never leaves a short file behind; the file is
// flushed before the rename and its folder after it, so the new file
// outlasts a power cut. A symbolic link at path is replaced, never written
// through. Throws std::runtime_error naming the file on any failure
// ("Cannot write LABEL'path': ...", the label saying what the file is).
void WriteFileAtomically(const std::string& path, const uint8_t* bytes, size_t size, const char* label = "");

// A file written piece by piece that replaces path only when Commit() is
// called: until then the data goes to PATH.tmpXXXXXX beside it, and a
// replacement that is dropped (an error, a run that went wrong) removes
// only that temporary file. What stands at path is left alone until the
// commit, and refused at once when it is not a regular file or a symbolic
// link. With removeOnSignal, an interrupt, terminate or hang-up signal
// removes the temporary file before the program ends.
class ReplacementFile {
public:
    // Throws std::runtime_error naming path (and what stands there).
    explicit ReplacementFile(const std::string& path, bool removeOnSignal = false, const char* label = "");
    ~ReplacementFile();  // removes the temporary file unless committed
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    const std::string& Path() const { return path_; }
    const std::string& TemporaryPath() const { return temporary_; }
    // The temporary file opened for writing with stdio (owned: Commit or
    // Discard closes it).
    std::FILE* Stream();
    // Flushes, closes and renames the temporary file over path, then flushes
    // the folder. Throws naming path; the temporary file is removed then.
    void Commit();
    // Closes and removes the temporary file; path is untouched.
    void Discard();

private:
    std::string path_, temporary_, label_;
    int fd_ = -1;
    std::FILE* stream_ = nullptr;
    int signalSlot_ = -1;
    bool done_ = false;
    void CloseHandles();
};

// Refuses (throws std::runtime_error naming path) when something other than
// a regular file or a symbolic link stands at path; nothing there is fine.
void CheckReplaceable(const std::string& path);
