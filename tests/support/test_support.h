// Helpers shared by the tests: a World on the headless platform with the
// generated collections loaded, temporary directories, file bytes.
#pragma once
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "media/headless_platform.h"
#include "state/world.h"

// Test failures name scenes and menu pages as the game does.
inline void PrintTo(Scene scene, std::ostream* os) { *os << SceneName(scene); }
inline void PrintTo(Page page, std::ostream* os) { *os << "page " << int(page); }

// Where the build generated the game's data (video/, audio/).
std::string TestDataDir();
// Path of the kavrix binary of this build (for scenario tests).
std::string KavrixBinary();
// A golden replay of tests/replays ("level9.replay").
std::string GoldenReplay(const std::string& name);

// A world on the headless platform. With loadAssets the five collections
// and the texts are loaded as start-up loads them (no saved files are read,
// the game state is reset, the random source seeded with seed).
struct TestWorld {
    std::unique_ptr<HeadlessPlatform> platform;
    std::unique_ptr<World> world;
    World& w() { return *world; }
};
TestWorld MakeTestWorld(bool loadAssets = true, uint32_t seed = 12345);

// A fresh empty directory under the system's temporary directory.
std::string MakeTempDir(const std::string& tag);

// A world without assets whose saved files live in a fresh folder of their own.
struct SaveDirWorld {
    TestWorld t = MakeTestWorld(false);
    std::string dir;
    explicit SaveDirWorld(const std::string& tag) : dir(MakeTempDir(tag)) { t.w().shell.options.saveDir = dir; }
    World& w() { return t.w(); }
    std::string Path(const char* name) const { return dir + "/" + name; }
};
std::vector<uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::string ReadTextFile(const std::string& path);
// The integer after "key": in a state dump (written without spaces), the
// first at or after position from; a missing key fails the test.
long long DumpInt(const std::string& dump, const std::string& key, size_t from = 0);
// The string after "key":, or "<missing key>".
std::string DumpString(const std::string& dump, const std::string& key, size_t from = 0);
// Runs a shell command, returns its exit status; output goes to outputFile if given.
int RunCommand(const std::string& command);
// Runs kavrix in dir with the test data and the arguments; stdout and stderr
// go to out.txt and err.txt there. Returns its exit status.
int KavrixIn(const std::string& dir, const std::string& args);
// Writes text to path as it stands (no line-end conversion).
void WriteTextFile(const std::string& path, const std::string& text);
