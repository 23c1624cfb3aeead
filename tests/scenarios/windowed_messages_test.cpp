// The windowed game's message boxes, run through SDL's dummy display: damaged
// saved files are told in one box at start-up, in the game's language, and
// the game goes on; settings that cannot be saved on quitting are told and
// the game ends all the same.
// The SDL platform writes every box it shows to stderr as "Kavrix: MESSAGE".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "state/saved_files.h"
#include "test_support.h"

namespace {

// Runs kavrix in a window (SDL's dummy drivers) or headless, saved files in
// dir; stderr goes to dir/err.txt.
int Kavrix(const std::string& dir, bool window, const std::string& args) {
    return RunCommand("cd '" + dir + "' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" + KavrixBinary() +
                      "' --data '" + TestDataDir() + "' --save-dir '" + dir + "' " +
                      (window ? "--window " : "--headless ") + args + " >out.txt 2>err.txt");
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(WindowedMessages, DamagedSavedFilesAreToldInOneBoxAndTheGameGoesOn) {
    const std::string dir = MakeTempDir("window-damaged");
    WriteFileBytes(dir + "/profily.lev", std::vector<uint8_t>(100, 1));
    std::filesystem::create_directory(dir + "/skore.lev");
    WriteFileBytes(dir + "/nastaveni.lev", {1, 0, 30});

    ASSERT_EQ(Kavrix(dir, true, "--lang en --frames 5 --dump-state s.json"), 0) << ReadTextFile(dir + "/err.txt");
    const std::string err = ReadTextFile(dir + "/err.txt");
    EXPECT_EQ(Count(err, "Kavrix: Kavrix could not use all of its saved files."), 1) << err;
    const size_t box = err.find("Kavrix could not use all of its saved files.");
    EXPECT_NE(err.find("The saved file '" + dir +
                           "/profily.lev' is damaged (100 bytes, 648 expected).\n"
                           "Its defaults are in use. Before the game first saves over it, it will be kept as '" +
                           dir + "/profily.lev.damaged'.",
                       box),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("The saved file '" + dir + "/skore.lev' is a folder, not a file.", box), std::string::npos)
        << err;
    EXPECT_EQ(err.find("nastaveni.lev", box), std::string::npos) << "a good file is not mentioned";
    EXPECT_EQ(DumpInt(ReadTextFile(dir + "/s.json"), "MusicVolume"), 30) << "the good file loads";

    // The box speaks the game's language: Czech unless asked otherwise.
    ASSERT_EQ(Kavrix(dir, true, "--frames 5"), 0);
    EXPECT_EQ(Count(ReadTextFile(dir + "/err.txt"), "Kavrix: Kavrix nemohl použít všechny své uložené soubory."), 1);

    // Headless runs report on stderr only.
    ASSERT_EQ(Kavrix(dir, false, "--frames 5"), 0);
    EXPECT_EQ(Count(ReadTextFile(dir + "/err.txt"), "could not use all of its saved files"), 0);
}

TEST(WindowedMessages, QuittingWorksWhenTheSettingsCannotBeSaved) {
    const std::string dir = MakeTempDir("window-quit");
    // The save folder is a file: the settings cannot be written.
    WriteFileBytes(dir + "/saves", {1});
    const std::string script = "0 type 32\n2 type 27\n4 move 300 480\n5 click\n";
    WriteFileBytes(dir + "/quit.txt", std::vector<uint8_t>(script.begin(), script.end()));
    const std::string args =
        "--lang en --save-dir '" + dir + "/saves' --frames 5000 --input quit.txt --dump-state s.json";
    for (const bool window : {true, false}) {
        SCOPED_TRACE(window ? "window" : "headless");
        ASSERT_EQ(Kavrix(dir, window, args), 0) << ReadTextFile(dir + "/err.txt");
        EXPECT_GE(DumpInt(ReadTextFile(dir + "/s.json"), "IdleTimer"), 1490) << "the game ended at once";
        const std::string err = ReadTextFile(dir + "/err.txt");
        EXPECT_NE(err.find("Kavrix: Cannot write saved file '" + dir + "/saves/nastaveni.lev'"), std::string::npos)
            << err;
        EXPECT_EQ(Count(err, "The game ends all the same."), window ? 1 : 0) << err;
    }
}
