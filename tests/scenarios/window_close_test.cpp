// The windowed game (SDL's dummy video and audio drivers) closed from outside,
// as the window's close button or the end of the session closes it: the
// settings changed during play are saved as the menu's quit saves them, the
// game ends with status 0, and the window settings file is left alone; a
// language chosen on the help page is remembered, one chosen by --lang is not;
// where nothing chose one, the player's locale decides.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "test_support.h"

namespace {

TEST(WindowClose, ClosingTheWindowSavesTheSettingsLikeTheMenusQuit) {
    const std::string dir = MakeTempDir("window-close");
    std::ofstream(dir + "/keys.txt") << "2 down F2   # sound off\n5 up F2\n10 down F3  # music off\n12 up F3\n";
    // SIGTERM reaches SDL as the same quit event as the close button.
    const std::string command = "cd '" + dir + "' && (SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME='" +
                                dir + "/config' '" + KavrixBinary() + "' --data '" + TestDataDir() +
                                "' --window --save-dir . --input keys.txt >out.txt 2>err.txt & pid=$!; sleep 3; "
                                "kill -TERM $pid; wait $pid)";
    ASSERT_EQ(RunCommand(command), 0) << ReadTextFile(dir + "/err.txt");
    const auto settings = ReadFileBytes(dir + "/nastaveni.lev");
    ASSERT_EQ(settings.size(), 3u) << ReadTextFile(dir + "/err.txt");
    EXPECT_EQ(settings[0], 0) << "sound off";
    EXPECT_EQ(settings[1], 0) << "music off";
    EXPECT_EQ(settings[2], 100);
    EXPECT_FALSE(std::filesystem::exists(dir + "/config/kavrix/kavrix.conf")) << "nothing to remember";
}

TEST(WindowClose, TheLanguageChosenOnTheHelpPageIsRemembered) {
    const std::string dir = MakeTempDir("window-language");
    auto play = [&](const std::string& args, const std::string& locale = "") {
        return RunCommand("cd '" + dir + "' && " + locale +
                          " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME='" + dir + "/config' '" +
                          KavrixBinary() + "' --data '" + TestDataDir() + "' --window --save-dir . " + args +
                          " >out.txt 2>err.txt");
    };
    const std::string conf = dir + "/config/kavrix/kavrix.conf";
    ASSERT_EQ(play("--lang en --frames 20"), 0) << ReadTextFile(dir + "/err.txt");
    EXPECT_FALSE(std::filesystem::exists(conf)) << "--lang holds for one run";
    // An English locale, nothing chosen: the game speaks English (its
    // recording says so) and remembers nothing.
    ASSERT_EQ(play("--frames 20 --record en.rec", "LANG=en_GB.UTF-8"), 0) << ReadTextFile(dir + "/err.txt");
    EXPECT_NE(ReadTextFile(dir + "/en.rec").find("\nlanguage en\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(conf));
    // Escape ends the intro; the help item, then ENGLISH in the page's title bar.
    std::ofstream(dir + "/help.txt") << "5 type 27\n20 move 578 298\n21 click\n30 move 724 374\n31 click\n";
    ASSERT_EQ(play("--frames 40 --input help.txt"), 0) << ReadTextFile(dir + "/err.txt");
    EXPECT_NE(ReadTextFile(conf).find("language=en\n"), std::string::npos) << ReadTextFile(conf);
    // ČEŠTINA chosen under an English locale is remembered over it.
    std::ofstream(dir + "/czech.txt") << "5 type 27\n20 move 578 298\n21 click\n30 move 638 374\n31 click\n";
    ASSERT_EQ(play("--frames 40 --input czech.txt", "LANGUAGE=en"), 0) << ReadTextFile(dir + "/err.txt");
    EXPECT_NE(ReadTextFile(conf).find("language=cs\n"), std::string::npos) << ReadTextFile(conf);
    ASSERT_EQ(play("--frames 20 --record cs.rec", "LANGUAGE=en"), 0) << ReadTextFile(dir + "/err.txt");
    EXPECT_EQ(ReadTextFile(dir + "/cs.rec").find("\nlanguage "), std::string::npos) << "Czech says no language";
}

}  // namespace
