// Damaged saved files: each of the three short, empty, a folder or unreadable
// is reported with its name, its defaults are used while the others load,
// the damaged one is kept as NAME.damaged before the first save over it, and
// a save that cannot be written is reported and loses nothing else.
#include "state/damaged_saves.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "frontend/text_sources.h"
#include "state/saved_files.h"
#include "state/world.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// One of the three files: its name, whole contents that read back as known
// values, its loader and saver, and the note of its damage.
struct FileCase {
    const char* name;
    size_t size;
    void (*load)(World&);
    void (*save)(World&);
    DamagedSavedFile SavedFiles::*damage;
};
const FileCase kFiles[] = {
    {"nastaveni.lev", kSettingsFileSize, LoadSettingsFile, SaveSettings, &SavedFiles::settingsDamage},
    {"skore.lev", kScoresFileSize, LoadScoresFile, SaveScores, &SavedFiles::scoresDamage},
    {"profily.lev", kProfilesFileSize, LoadProfilesFile, SaveProfiles, &SavedFiles::profilesDamage},
};

// Whole files with values unlike the defaults: volume 40, rank 1 at 70000,
// slot 1 named "Iva".
std::vector<uint8_t> WholeFile(const FileCase& f) {
    std::vector<uint8_t> bytes(f.size, 0);
    if (f.size == kSettingsFileSize) bytes = {0, 1, 40};
    if (f.size == kScoresFileSize) bytes[0] = 0x70, bytes[1] = 0x11, bytes[2] = 0x01;  // 70000
    if (f.size == kProfilesFileSize) bytes[31] = 3, bytes[32] = 'I', bytes[33] = 'v', bytes[34] = 'a';
    return bytes;
}

// True when the file's own values (not the defaults) are in the world.
bool Loaded(const World& w, const FileCase& f) {
    if (f.size == kSettingsFileSize) return w.shell.MusicVolume == 40;
    if (f.size == kScoresFileSize) return w.saved.ScoreTable.Scores[1] == 70000;
    return w.saved.ProfileTable[1].PlayerName.View() == "Iva";
}

struct SaveDir : SaveDirWorld {
    using SaveDirWorld::SaveDirWorld;
    // Loads all three, the stderr of it returned.
    std::string LoadAll() {
        testing::internal::CaptureStderr();
        for (const FileCase& f : kFiles) f.load(w());
        return testing::internal::GetCapturedStderr();
    }
};

}  // namespace

TEST(DamagedSavedFiles, EachFileShortOrEmptyIsNamedTheOthersLoadAndItIsKeptAtTheFirstSave) {
    for (const FileCase& damaged : kFiles) {
        for (const size_t length : {damaged.size - 1, size_t(0)}) {
            SCOPED_TRACE(std::string(damaged.name) + " of " + std::to_string(length) + " bytes");
            SaveDir s(std::string("damaged-") + std::to_string(length));
            for (const FileCase& f : kFiles) WriteFileBytes(s.Path(f.name), WholeFile(f));
            const std::vector<uint8_t> whole = WholeFile(damaged);
            const std::vector<uint8_t> bytes(whole.begin(), whole.begin() + long(length));
            WriteFileBytes(s.Path(damaged.name), bytes);

            const std::string errors = s.LoadAll();
            const std::string path = s.Path(damaged.name);
            const std::string report = "'" + path + "' is damaged (" + std::to_string(length) + " bytes, " +
                                       std::to_string(damaged.size) + " expected); its defaults are used; " +
                                       "it will be kept as '" + path + ".damaged'";
            EXPECT_NE(errors.find(report), std::string::npos) << errors;
            for (const FileCase& f : kFiles) EXPECT_EQ(Loaded(s.w(), f), &f != &damaged) << f.name;
            const std::string message = DamagedSavedFilesMessage(s.w().saved, EnglishTexts().words.messages);
            EXPECT_NE(message.find("'" + path + "' is damaged"), std::string::npos) << message;
            EXPECT_NE(message.find("defaults are in use"), std::string::npos) << message;
            EXPECT_NE(message.find("kept as '" + path + ".damaged'"), std::string::npos) << message;
            EXPECT_EQ(ReadFileBytes(path), bytes) << "loading writes nothing";

            // The first save keeps the damaged file, the second leaves the copy alone.
            testing::internal::CaptureStderr();
            damaged.save(s.w());
            damaged.save(s.w());
            const std::string saving = testing::internal::GetCapturedStderr();
            EXPECT_NE(saving.find("'" + path + "' is kept as '" + path + ".damaged'"), std::string::npos) << saving;
            EXPECT_EQ(ReadFileBytes(path + ".damaged"), bytes);
            EXPECT_EQ(ReadFileBytes(path).size(), damaged.size);
            EXPECT_EQ(std::distance(fs::directory_iterator(s.dir), fs::directory_iterator()), 4);
        }
    }
}

TEST(DamagedSavedFiles, AFolderInPlaceOfAFileIsNamedAsOneAndKeptWhole) {
    for (const FileCase& damaged : kFiles) {
        SCOPED_TRACE(damaged.name);
        SaveDir s("damaged-folder");
        for (const FileCase& f : kFiles) WriteFileBytes(s.Path(f.name), WholeFile(f));
        const std::string path = s.Path(damaged.name);
        fs::remove(path);
        fs::create_directory(path);
        WriteFileBytes(path + "/inside", {1, 2, 3});
        // An older copy keeps its name: this one takes the next.
        WriteFileBytes(path + ".damaged", {9});

        const std::string errors = s.LoadAll();
        EXPECT_NE(errors.find("'" + path + "' is a folder, not a file"), std::string::npos) << errors;
        for (const FileCase& f : kFiles) EXPECT_EQ(Loaded(s.w(), f), &f != &damaged) << f.name;

        testing::internal::CaptureStderr();
        damaged.save(s.w());
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(ReadFileBytes(path + ".damaged.2/inside"), (std::vector<uint8_t>{1, 2, 3}));
        EXPECT_EQ(ReadFileBytes(path + ".damaged"), std::vector<uint8_t>{9});
        EXPECT_EQ(ReadFileBytes(path).size(), damaged.size);
    }
}

TEST(DamagedSavedFiles, AFileWithoutReadPermissionIsNamedAndKept) {
    SaveDir s("damaged-unreadable");
    for (const FileCase& f : kFiles) WriteFileBytes(s.Path(f.name), WholeFile(f));
    const std::string path = s.Path("profily.lev");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    ASSERT_EQ(::chmod(s.dir.c_str(), 0777), 0);
    // Permission bits do not stop root from reading: the run is made in a
    // child that, when the test runs as root, becomes the user nobody.
    testing::internal::CaptureStderr();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(77);
        World& w = s.w();
        for (const FileCase& f : kFiles) f.load(w);
        const bool asExpected = Loaded(w, kFiles[0]) && Loaded(w, kFiles[1]) && !Loaded(w, kFiles[2]) &&
                                w.saved.profilesDamage.keepAs == path + ".damaged";
        try {
            SaveProfiles(w);
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(asExpected ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    const std::string errors = testing::internal::GetCapturedStderr();
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "running as root without the right to become another user: no file is unreadable here";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << errors;
    EXPECT_NE(errors.find("'" + path + "' cannot be opened (Permission denied)"), std::string::npos) << errors;
    EXPECT_NE(errors.find("'" + path + "' is kept as '" + path + ".damaged'"), std::string::npos) << errors;
    struct stat kept {};
    ASSERT_EQ(::stat((path + ".damaged").c_str(), &kept), 0);
    EXPECT_EQ(kept.st_mode & 0777, 0u) << "kept as it was";
    EXPECT_EQ(kept.st_size, off_t(kProfilesFileSize));
    EXPECT_EQ(ReadFileBytes(path).size(), kProfilesFileSize);
}

TEST(DamagedSavedFiles, ASaveThatCannotBeWrittenIsReportedAndLosesNothingElse) {
    SaveDir s("damaged-not-a-folder");
    // The save folder is a file: nothing can be read or written in it.
    const std::string notAFolder = s.Path("saves");
    WriteFileBytes(notAFolder, {7});
    s.w().shell.options.saveDir = notAFolder;
    const std::string errors = s.LoadAll();
    for (const FileCase& f : kFiles)
        EXPECT_NE(errors.find("'" + notAFolder + "/" + f.name + "' cannot be examined (Not a directory)"),
                  std::string::npos)
            << errors;
    const std::string message = DamagedSavedFilesMessage(s.w().saved, EnglishTexts().words.messages);
    EXPECT_EQ(message.find("kept as"), std::string::npos) << "nothing stands there to keep: " << message;

    s.w().saved.ProfileTable[2].PlayerName.Assign("Ota");
    for (const FileCase& f : kFiles) {
        try {
            f.save(s.w());
            ADD_FAILURE() << f.name << " was saved";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(f.name), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(s.w().saved.ProfileTable[2].PlayerName.View(), "Ota");
    EXPECT_EQ(ReadFileBytes(notAFolder), std::vector<uint8_t>{7});
    EXPECT_EQ(std::distance(fs::directory_iterator(s.dir), fs::directory_iterator()), 1);
}
