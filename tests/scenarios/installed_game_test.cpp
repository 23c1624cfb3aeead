// The kavrix program as a packager installs it and a player starts it: a
// copy moved anywhere finds its data above itself or through KAVRIX_DATA and
// names every place it tried when none holds it; the windowed game keeps its
// saves in the per-user data folder; a missing font stops start-up by name.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// Runs the program with a clean environment for the game's own variables;
// stdout and stderr go to out.txt and err.txt in dir.
int RunProgram(const std::string& dir, const std::string& env, const std::string& program, const std::string& args) {
    return RunCommand("cd '" + dir + "' && env -u KAVRIX_DATA -u XDG_DATA_HOME " + env + " '" + program + "' " + args +
                      " >out.txt 2>err.txt");
}

}  // namespace

TEST(InstalledGame, MovedProgramFindsItsDataAboveItselfOrNamesEveryPlaceTried) {
    const std::string root = MakeTempDir("installed-moved");
    fs::create_directories(root + "/game/bin");
    fs::create_directories(root + "/elsewhere");
    const std::string program = root + "/game/bin/kavrix";
    fs::copy_file(KavrixBinary(), program);
    const std::string elsewhere = root + "/elsewhere";

    if (fs::exists(fs::path(KAVRIX_INSTALLED_DATA) / "video")) {
        std::cout << "the build's install prefix holds game data: the not-found message is not checked\n";
    } else {
        EXPECT_EQ(RunProgram(elsewhere, "", program, "--headless --frames 3"), 1);
        const std::string err = ReadTextFile(elsewhere + "/err.txt");
        for (const std::string& place : {elsewhere, root + "/game/bin/data", root + "/game/share/kavrix",
                                         std::string(KAVRIX_INSTALLED_DATA), std::string("--data DIR")})
            EXPECT_NE(err.find(place), std::string::npos) << place << " is not named in:\n" << err;
    }

    // ../share/kavrix relative to the program: the layout of an install.
    fs::create_directories(root + "/game/share");
    fs::create_directory_symlink(TestDataDir(), root + "/game/share/kavrix");
    EXPECT_EQ(RunProgram(elsewhere, "", program, "--headless --frames 3"), 0) << ReadTextFile(elsewhere + "/err.txt");

    // Without it, KAVRIX_DATA leads to the data.
    fs::remove(root + "/game/share/kavrix");
    EXPECT_EQ(RunProgram(elsewhere, "KAVRIX_DATA='" + TestDataDir() + "'", program, "--headless --frames 3"), 0)
        << ReadTextFile(elsewhere + "/err.txt");
}

TEST(InstalledGame, WindowedGameSavesIntoThePerUserDataFolder) {
    const std::string root = MakeTempDir("installed-saves");
    const std::string home = root + "/home", work = root + "/work";
    fs::create_directories(home);
    fs::create_directories(work);
    const std::string display = "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy HOME='" + home + "'";
    const std::string game = "--window --frames 3 --new-game Eva --data '" + TestDataDir() + "'";

    // By default under ~/.local/share, made on the first save, private to the player.
    ASSERT_EQ(RunProgram(work, display, KavrixBinary(), game), 0) << ReadTextFile(work + "/err.txt");
    const std::string folder = home + "/.local/share/kavrix";
    EXPECT_EQ(ReadFileBytes(folder + "/profily.lev").size(), 648u);
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_FALSE(fs::exists(work + "/profily.lev")) << "the working directory is not the save folder";

    // XDG_DATA_HOME moves it; --save-dir overrides both.
    ASSERT_EQ(RunProgram(work, display + " XDG_DATA_HOME='" + root + "/xdg'", KavrixBinary(), game), 0)
        << ReadTextFile(work + "/err.txt");
    EXPECT_TRUE(fs::exists(root + "/xdg/kavrix/profily.lev"));
    fs::create_directories(root + "/own");
    ASSERT_EQ(RunProgram(work, display, KavrixBinary(), game + " --save-dir '" + root + "/own'"), 0)
        << ReadTextFile(work + "/err.txt");
    EXPECT_TRUE(fs::exists(root + "/own/profily.lev"));
}

TEST(InstalledGame, MissingFontStopsStartUpNamingTheFaceAskedFor) {
    // A system whose fontconfig knows only DejaVu: it would offer DejaVu Sans
    // for "Arial", whose metrics differ, so the game must refuse it.
    const std::string dir = MakeTempDir("installed-fonts");
    std::ofstream(dir + "/fonts.conf") << "<?xml version=\"1.0\"?>\n"
                                          "<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir>"
                                          "<cachedir>"
                                       << dir << "/cache</cachedir></fontconfig>\n";
    EXPECT_EQ(RunProgram(dir, "FONTCONFIG_FILE='" + dir + "/fonts.conf'", KavrixBinary(),
                         "--headless --frames 3 --data '" + TestDataDir() + "'"),
              1);
    const std::string err = ReadTextFile(dir + "/err.txt");
    EXPECT_NE(err.find("Cannot find the font \"Arial\""), std::string::npos) << err;
}
