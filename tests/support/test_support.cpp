// Helpers shared by the tests (see test_support.h).
#include "test_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "game/reset.h"
#include "shell/startup.h"

namespace {

// The windowed game speaks the player's locale when nothing else chose its
// language; the tests, like the golden replays, assume the game's own
// language, so every test program and the games it starts run without one.
const bool kNoLocale = [] {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) ::unsetenv(name);
    return true;
}();

}  // namespace

std::string TestDataDir() { return KAVRIX_TEST_DATA_DIR; }
std::string KavrixBinary() { return KAVRIX_BINARY; }

std::string GoldenReplay(const std::string& name) { return std::string(KAVRIX_GOLDEN_REPLAYS) + "/" + name; }

TestWorld MakeTestWorld(bool loadAssets, uint32_t seed) {
    TestWorld t;
    t.platform = CreateHeadlessPlatform();
    t.world = std::make_unique<World>();
    World& w = *t.world;
    w.media.platform = t.platform.get();
    w.media.dataDir = TestDataDir();
    w.shell.options.dataDir = TestDataDir();
    w.media.music.mixer = w.media.mixer.get();
    w.media.music.dataDir = TestDataDir();
    t.platform->OpenAudio(*w.media.mixer);
    SeedRandom(w.random, seed);
    if (loadAssets) LoadGameData(w);
    ResetGameState(w);
    return t;
}

std::string MakeTempDir(const std::string& tag) {
    namespace fs = std::filesystem;
    static int counter = 0;
    fs::path base = fs::temp_directory_path() /
                    ("kavrix-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(base);
    fs::create_directories(base);
    return base.string();
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

int RunCommand(const std::string& command) {
    int status = std::system(command.c_str());
    if (status == -1) return -1;
    return WEXITSTATUS(status);
}

int KavrixIn(const std::string& dir, const std::string& args) {
    return RunCommand("cd '" + dir + "' && '" + KavrixBinary() + "' --data '" + TestDataDir() + "' " + args +
                      " >out.txt 2>err.txt");
}

void WriteTextFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string ReadTextFile(const std::string& path) {
    const auto bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

long long DumpInt(const std::string& dump, const std::string& key, size_t from) {
    const std::string needle = "\"" + key + "\":";
    const size_t at = dump.find(needle, from);
    if (at == std::string::npos) {
        ADD_FAILURE() << "no " << key << " in the state dump";
        return -999999;
    }
    return std::strtoll(dump.c_str() + at + needle.size(), nullptr, 10);
}

std::string DumpString(const std::string& dump, const std::string& key, size_t from) {
    const std::string needle = "\"" + key + "\":\"";
    const size_t at = dump.find(needle, from);
    if (at == std::string::npos) return "<missing " + key + ">";
    const size_t start = at + needle.size();
    return dump.substr(start, dump.find('"', start) - start);
}
