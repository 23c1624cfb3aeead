// libFuzzer entry for one saved-file reader, chosen when it is built
// (KAVRIX_FUZZ_SAVED_FILE 1 settings, 2 scores, 3 profiles). The input is
// written as the file and read by the game's own loader; then what was read
// is checked: a whole record gives its own values, a short one the defaults
// and a note naming the file, and every record writes back as the bytes it
// was read from (names cut to 20, padding zero), and a profile slot resumes
// inside the field, in a level 1..9.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "state/damaged_saves.h"
#include "state/saved_files.h"
#include "state/world.h"

#ifndef KAVRIX_FUZZ_SAVED_FILE
#error "KAVRIX_FUZZ_SAVED_FILE must name the reader (1 settings, 2 scores, 3 profiles)"
#endif

namespace {

[[noreturn]] void Fault(const char* what) {
    std::fprintf(stderr, "saved file fuzz: %s\n", what);
    std::abort();
}

void Check(bool ok, const char* what) {
    if (!ok) Fault(what);
}

// One world for the whole run; its saved files live in a fresh directory.
World& FuzzWorld() {
    static World* world = [] {
        auto* w = new World;
        char dir[] = "/tmp/kavrix-fuzz-XXXXXX";
        if (!::mkdtemp(dir)) Fault("cannot make a directory");
        w->shell.options.saveDir = dir;
        std::cerr.setstate(std::ios::badbit);  // the loaders' reports would drown the fuzzer's
        return w;
    }();
    return *world;
}

// A new file each time: ext4 writes a file truncated and written again out
// to the disk when it is closed, which would cost milliseconds a run.
void WriteInput(const std::string& path, const uint8_t* data, size_t size) {
    ::unlink(path.c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) Fault("cannot write the input file");
    for (size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) Fault("cannot write the input file");
        done += size_t(n);
    }
    ::close(fd);
}

// The bytes a record of `size` writes back as: name lengths cut to 20, the
// padding zero.
[[maybe_unused]] void ExpectWrittenBack(const uint8_t* written, const uint8_t* read, size_t size, const size_t* names,
                                        size_t nameCount, const size_t* padding, size_t paddingCount) {
    uint8_t expected[kScoresFileSize];
    std::memcpy(expected, read, size);
    for (size_t i = 0; i < nameCount; ++i)
        if (expected[names[i]] > 20) expected[names[i]] = 20;
    for (size_t i = 0; i < paddingCount; ++i) expected[padding[i]] = 0;
    Check(std::memcmp(expected, written, size) == 0, "a record does not write back as it was read");
}

void CheckDamageNote(const DamagedSavedFile& note, const std::string& path, bool whole) {
    if (whole) {
        Check(note.path.empty(), "a whole file is noted as damaged");
        return;
    }
    Check(note.path == path && note.keepAs == path + ".damaged" && !note.problem.empty(),
          "a short file is not noted with its name and its copy's");
    Check(DamagedSavedFilesMessage(FuzzWorld().saved, MessageWords{"", "{file}: {problem}", "", "{file}", ""})
                  .find(path) != std::string::npos,
          "the message does not name the damaged file");
}

[[maybe_unused]] void CheckSettings(World& w, const uint8_t* data, size_t size) {
    LoadSettingsFile(w);
    const bool whole = size >= kSettingsFileSize;
    CheckDamageNote(w.saved.settingsDamage, SavedFilePath(w, kSettingsFileName), whole);
    if (whole)
        Check(w.shell.SoundEnabled == data[0] && w.shell.MusicEnabled == data[1] && w.shell.MusicVolume == data[2],
              "the settings are not the file's bytes");
    else
        Check(w.shell.SoundEnabled == 1 && w.shell.MusicEnabled == 1 && w.shell.MusicVolume == 100,
              "a short settings file does not give the defaults");
}

[[maybe_unused]] void CheckScores(World& w, const uint8_t* data, size_t size) {
    LoadScoresFile(w);
    const bool whole = size >= kScoresFileSize;
    CheckDamageNote(w.saved.scoresDamage, SavedFilePath(w, kScoresFileName), whole);
    const ScoreTableRecord& table = w.saved.ScoreTable;
    for (int i = 1; i <= 10; ++i) Check(table.Names[i].length <= 20, "a name longer than 20");
    if (!whole) {
        Check(table.Scores[1] == 50000 && table.Scores[10] == 5000 && table.Names[3].View() == "Kavrix",
              "a short score file does not give the defaults");
        return;
    }
    size_t names[10];
    for (size_t i = 0; i < 10; ++i) names[i] = 40 + 21 * i;
    const size_t padding[] = {250, 251};
    const auto written = EncodeScores(table);
    ExpectWrittenBack(written.data(), data, kScoresFileSize, names, 10, padding, 2);
}

[[maybe_unused]] void CheckProfiles(World& w, const uint8_t* data, size_t size) {
    LoadProfilesFile(w);
    const bool whole = size >= kProfilesFileSize;
    CheckDamageNote(w.saved.profilesDamage, SavedFilePath(w, kProfilesFileName), whole);
    for (int k = 1; k <= 6; ++k) {
        const ProgressRecord& slot = w.saved.ProfileTable[k];
        if (!whole) {
            Check(slot.PlayerName.Empty() && slot.Level == 3 && slot.ScrollDistance == 600,
                  "a short profile file does not give the defaults");
            continue;
        }
        const size_t names[] = {31};
        const size_t padding[] = {97, 98, 99, 105, 106, 107};
        const auto written = EncodeProgress(slot);
        ExpectWrittenBack(written.data(), data + kProgressRecordSize * size_t(k - 1), kProgressRecordSize, names, 1,
                          padding, 6);
        const ProgressRecord p = ResumableProgress(slot);
        Check(p.Level >= 1 && p.Level <= 9, "a resumed level outside 1..9");
        Check(p.PlayerX >= 39 && p.PlayerX <= 768 && p.PlayerY >= 36 && p.PlayerY <= 499,
              "a resumed ship outside the field");
        Check(p.Lives >= 0 && p.Lives <= 9 && p.ScrollDistance >= 0 && p.LevelEnd >= 0, "a resumed count out of range");
        const auto again = EncodeProgress(ResumableProgress(p));
        Check(again == EncodeProgress(p), "resuming twice differs from resuming once");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    World& w = FuzzWorld();
#if KAVRIX_FUZZ_SAVED_FILE == 1
    WriteInput(SavedFilePath(w, kSettingsFileName), data, size);
    CheckSettings(w, data, size);
#elif KAVRIX_FUZZ_SAVED_FILE == 2
    WriteInput(SavedFilePath(w, kScoresFileName), data, size);
    CheckScores(w, data, size);
#else
    WriteInput(SavedFilePath(w, kProfilesFileName), data, size);
    CheckProfiles(w, data, size);
#endif
    // What a run leaves in the world is let go within the run: libFuzzer
    // takes memory held past a run for a leak and looks for one every time.
    w.saved.settingsDamage = {};
    w.saved.scoresDamage = {};
    w.saved.profilesDamage = {};
    return 0;
}
