// kavrix.conf, the window settings the game remembers: a missing file gives
// the defaults quietly; a damaged line or an unknown key is reported once and
// the rest is read (unknown lines survive the next write); a folder that
// cannot be written is reported once and the game goes on; --window and
// --fullscreen hold for one run while --filter and --integer-scale are kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "shell/display_settings.h"
#include "shell/options.h"
#include "test_support.h"

namespace {

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

TEST(DisplaySettingsFile, MissingDamagedAndUnknownLines) {
    const std::string dir = MakeTempDir("conf-read");
    DisplaySettingsFile missing(dir + "/none/kavrix.conf");
    testing::internal::CaptureStderr();
    DisplaySettings s = missing.Load();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "no file is no news";
    EXPECT_TRUE(s.fullScreen);
    EXPECT_EQ(s.filter, ScaleFilter::Nearest);
    EXPECT_TRUE(s.integerScale);

    const std::string path = dir + "/kavrix.conf";
    WriteText(path, "# mine\n fullscreen = off \nfilter=blurry\ninteger-scale\nvsync=on\n\x01\x02garbage\n"
                    "integer-scale=off\n");
    DisplaySettingsFile file(path);
    testing::internal::CaptureStderr();
    s = file.Load();
    const std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(s.fullScreen) << "spaces around keys and values are allowed";
    EXPECT_EQ(s.filter, ScaleFilter::Nearest) << "a bad value leaves the default";
    EXPECT_FALSE(s.integerScale);
    // One message naming the file and each line it ignored.
    EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
    EXPECT_NE(warning.find(path), std::string::npos);
    EXPECT_NE(warning.find("3 'filter=blurry'"), std::string::npos) << warning;
    EXPECT_NE(warning.find("5 'vsync=on' (unknown)"), std::string::npos) << warning;

    s.filter = ScaleFilter::Linear;
    file.Save(s);
    EXPECT_EQ(ReadTextFile(path),
              "# Kavrix: window and scaling, written by the game\n"
              "fullscreen=off\nfilter=linear\ninteger-scale=off\nvsync=on\n");
    DisplaySettingsFile again(path);
    EXPECT_EQ(again.Load().filter, ScaleFilter::Linear);
}

TEST(DisplaySettingsFile, AFolderThatCannotBeWrittenIsReportedOnceAndTheGameGoesOn) {
    const std::string dir = MakeTempDir("conf-blocked");
    // A file where the config folder should be (permissions alone do not stop root).
    WriteText(dir + "/kavrix", "not a folder");
    DisplaySettingsFile file(dir + "/kavrix/kavrix.conf");
    testing::internal::CaptureStderr();
    DisplaySettings s = file.Load();
    s.fullScreen = false;
    file.Save(s);
    s.fullScreen = true;
    file.Save(s);
    const std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
    EXPECT_NE(warning.find("not remembered"), std::string::npos) << warning;

    // A folder in the file's place is read as no settings, with a word.
    std::filesystem::create_directories(dir + "/other/kavrix.conf");
    DisplaySettingsFile folder(dir + "/other/kavrix.conf");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(folder.Load().fullScreen);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot be read"), std::string::npos);
}

TEST(DisplaySettingsFile, RunOptionsOverTheRememberedSettings) {
    const std::string dir = MakeTempDir("conf-options");
    const std::string path = dir + "/kavrix.conf";
    WriteText(path, "fullscreen=on\nfilter=nearest\ninteger-scale=on\n");
    const std::string before = ReadTextFile(path);
    auto windowFor = [&](std::initializer_list<const char*> args, DisplaySettings& settings) {
        std::vector<const char*> argv = {"kavrix"};
        argv.insert(argv.end(), args);
        RunOptions options;
        std::string error;
        EXPECT_TRUE(ParseOptions(int(argv.size()), argv.data(), options, error)) << error;
        DisplaySettingsFile file(path);
        return WindowOptions(options, file, settings);
    };
    DisplaySettings settings;
    EXPECT_FALSE(windowFor({"--window"}, settings).fullScreen);
    EXPECT_TRUE(windowFor({}, settings).fullScreen);
    EXPECT_FALSE(windowFor({"--scale", "2"}, settings).fullScreen) << "a scaled window is a window";
    EXPECT_EQ(windowFor({"--scale", "2"}, settings).scale, 2);
    EXPECT_EQ(ReadTextFile(path), before) << "one run's window or size is not remembered";
    EXPECT_EQ(windowFor({"--renderer", "surface"}, settings).present, PresentPath::Surface);

    const SdlOptions linear = windowFor({"--filter", "linear", "--integer-scale", "off"}, settings);
    EXPECT_EQ(linear.filter, ScaleFilter::Linear);
    EXPECT_FALSE(linear.integerScale);
    const SdlOptions next = windowFor({}, settings);
    EXPECT_EQ(next.filter, ScaleFilter::Linear) << "the filter is remembered";
    EXPECT_FALSE(next.integerScale);

    RunOptions bad;
    std::string error;
    const char* both[] = {"kavrix", "--window", "--fullscreen"};
    EXPECT_FALSE(ParseOptions(3, both, bad, error));
    const char* blurry[] = {"kavrix", "--filter", "blurry"};
    EXPECT_FALSE(ParseOptions(3, blurry, bad, error));
    EXPECT_NE(error.find("blurry"), std::string::npos);
}

}  // namespace
