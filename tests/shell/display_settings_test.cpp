// kavrix.conf, the window settings the game remembers: a missing file gives
// the defaults quietly; a damaged line or an unknown key is reported once and
// the rest is read; the player's own lines survive the next write and a
// damaged file is kept aside before it; only a regular file of a bounded
// size is read; a folder that cannot be written is reported once and the
// game goes on; --window and --fullscreen hold for one run while --scaling
// (and its older spellings --filter and --integer-scale) is kept; a file of
// the older game does not hold the player at whole factors; the language and
// the keys of the player's choosing are read, a bad binding line is reported
// and its action keeps its default keys; where nothing chose the language,
// the windowed game follows the player's locale.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "shell/display_settings.h"
#include "shell/input_script.h"
#include "shell/locale_language.h"
#include "shell/options.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

TEST(DisplaySettingsFile, MissingDamagedAndUnknownLines) {
    const std::string dir = MakeTempDir("conf-read");
    DisplaySettingsFile missing(dir + "/none/kavrix.conf");
    testing::internal::CaptureStderr();
    DisplaySettings s = missing.Load();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "no file is no news";
    EXPECT_TRUE(s.fullScreen);
    EXPECT_EQ(s.scaling, ScaleMode::Sharp);

    const std::string path = dir + "/kavrix.conf";
    WriteText(path,
              "# mine\n fullscreen = off \nfilter=blurry\ninteger-scale\nvsync=on\n\x01\x02garbage\n"
              "integer-scale=off\n");
    DisplaySettingsFile file(path);
    testing::internal::CaptureStderr();
    s = file.Load();
    const std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(s.fullScreen) << "spaces around keys and values are allowed";
    EXPECT_EQ(s.scaling, ScaleMode::Sharp) << "a bad value leaves the default";
    // One message naming the file and each line it ignored.
    EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
    EXPECT_NE(warning.find(path), std::string::npos);
    EXPECT_NE(warning.find("3 'filter=blurry'"), std::string::npos) << warning;
    EXPECT_NE(warning.find("5 'vsync=on' (unknown)"), std::string::npos) << warning;

    // The first write keeps the damaged file whole, then writes the known
    // keys into the player's own lines: comments and unknown keys stay where
    // they stood, damaged lines are gone, a missing key is added at the end.
    const std::string original = ReadTextFile(path);
    s.scaling = ScaleMode::Linear;
    testing::internal::CaptureStderr();
    file.Save(s);
    file.Save(s);
    const std::string saving = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadTextFile(path + ".damaged"), original);
    EXPECT_EQ(std::count(saving.begin(), saving.end(), '\n'), 1) << "kept once: " << saving;
    EXPECT_EQ(ReadTextFile(path), "# mine\nfullscreen=off\nvsync=on\nscaling=linear\n")
        << "the older scaling keys give way to scaling=";
    DisplaySettingsFile again(path);
    EXPECT_EQ(again.Load().scaling, ScaleMode::Linear);
}

TEST(DisplaySettingsFile, OnlyARegularFileOfAFewLinesIsReadAndMessagesQuoteLittle) {
    const std::string dir = MakeTempDir("conf-kinds");
    // A named pipe never holds up the start; it is moved aside, not written
    // through, at the first write.
    const std::string pipe = dir + "/pipe.conf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    DisplaySettingsFile fromPipe(pipe);
    testing::internal::CaptureStderr();
    DisplaySettings s = fromPipe.Load();
    s.fullScreen = false;
    fromPipe.Save(s);
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("is a named pipe, not a file"), std::string::npos) << errors;
    struct stat kept {};
    ASSERT_EQ(::lstat((pipe + ".damaged").c_str(), &kept), 0);
    EXPECT_TRUE(S_ISFIFO(kept.st_mode));
    EXPECT_NE(ReadTextFile(pipe).find("fullscreen=off\n"), std::string::npos);

    // A file far larger than any settings file is refused unread.
    const std::string huge = dir + "/huge.conf";
    WriteText(huge, "fullscreen=off\n" + std::string(10 << 20, 'x'));
    testing::internal::CaptureStderr();
    EXPECT_TRUE(DisplaySettingsFile(huge).Load().fullScreen);
    errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("is larger than 64 KB"), std::string::npos) << errors.substr(0, 200);
    EXPECT_LT(errors.size(), 400u);

    // A long damaged line with control codes is quoted short and printable.
    const std::string noisy = dir + "/noisy.conf";
    WriteText(noisy, "filter=\x1b[2J" + std::string(5000, 'y') + "\n");
    testing::internal::CaptureStderr();
    DisplaySettingsFile(noisy).Load();
    errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("'filter=\\x1B[2Jyyy"), std::string::npos) << errors;
    EXPECT_EQ(errors.find('\x1b'), std::string::npos);
    EXPECT_LT(errors.size(), 400u);

    // A write that fails is told even after a warning about reading.
    WriteText(dir + "/blocker", "a file where the folder should be");
    DisplaySettingsFile blocked(dir + "/blocker/kavrix.conf");
    testing::internal::CaptureStderr();
    blocked.Load();
    blocked.Save(s);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not remembered"), std::string::npos);
    fs::create_directories(dir + "/sub");
    fs::copy_file(noisy, dir + "/sub/kavrix.conf");
    DisplaySettingsFile warnedFirst(dir + "/sub/kavrix.conf");
    testing::internal::CaptureStderr();
    warnedFirst.Load();
    fs::rename(dir + "/sub", dir + "/sub-gone");
    WriteText(dir + "/sub", "a file where the folder was");
    warnedFirst.Save(s);
    errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("not remembered"), std::string::npos) << errors;
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
    EXPECT_NE(testing::internal::GetCapturedStderr().find("is a folder, not a file"), std::string::npos);
}

TEST(DisplaySettingsFile, RunOptionsOverTheRememberedSettings) {
    const std::string dir = MakeTempDir("conf-options");
    const std::string path = dir + "/kavrix.conf";
    // As the older game wrote it on every save: integer-scale=on was only its
    // default, so it does not keep the player at whole factors (1 x on a
    // 1920 x 1080 screen); filter=linear was a choice and is kept.
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
    EXPECT_EQ(windowFor({}, settings).scaling, ScaleMode::Sharp);
    EXPECT_FALSE(windowFor({"--window"}, settings).fullScreen);
    EXPECT_TRUE(windowFor({}, settings).fullScreen);
    EXPECT_FALSE(windowFor({"--scale", "2"}, settings).fullScreen) << "a scaled window is a window";
    EXPECT_EQ(windowFor({"--scale", "2"}, settings).scale, 2);
    EXPECT_EQ(ReadTextFile(path), before) << "one run's window or size is not remembered";
    EXPECT_EQ(windowFor({"--renderer", "surface"}, settings).present, PresentPath::Surface);

    EXPECT_EQ(windowFor({"--filter", "linear", "--integer-scale", "off"}, settings).scaling, ScaleMode::Linear);
    EXPECT_EQ(windowFor({}, settings).scaling, ScaleMode::Linear) << "the scaling is remembered";
    EXPECT_EQ(ReadTextFile(path), "fullscreen=on\nscaling=linear\n");
    EXPECT_EQ(windowFor({"--integer-scale", "on"}, settings).scaling, ScaleMode::Integer);
    EXPECT_EQ(windowFor({}, settings).scaling, ScaleMode::Integer) << "chosen again, whole factors stay";
    EXPECT_EQ(windowFor({"--scaling", "sharp"}, settings).scaling, ScaleMode::Sharp);
    WriteText(path, "filter=linear\ninteger-scale=off\n");
    EXPECT_EQ(windowFor({}, settings).scaling, ScaleMode::Linear) << "the older game's linear filter stays";

    RunOptions bad;
    std::string error;
    const char* both[] = {"kavrix", "--window", "--fullscreen"};
    EXPECT_FALSE(ParseOptions(3, both, bad, error));
    const char* blurry[] = {"kavrix", "--filter", "blurry"};
    EXPECT_FALSE(ParseOptions(3, blurry, bad, error));
    EXPECT_NE(error.find("blurry"), std::string::npos);
    const char* soft[] = {"kavrix", "--scaling", "soft"};
    EXPECT_FALSE(ParseOptions(3, soft, bad, error));
    EXPECT_NE(error.find("'soft' is not sharp, integer or linear"), std::string::npos) << error;
}

TEST(DisplaySettingsFile, LanguageAndTheKeysOfEveryAction) {
    const std::string dir = MakeTempDir("conf-keys");
    const std::string path = dir + "/kavrix.conf";
    WriteText(path,
              "language=en\nkey.up=W up\nkey.fire = Space, LeftCtrl\nkey.help=\npad.fire=A RightShoulder\n"
              "key.down=Nowhere\nkey.jump=J\nkey.item1=1 2 3 4 5\npad.menu=Turbo\n");
    DisplaySettingsFile file(path);
    testing::internal::CaptureStderr();
    DisplaySettings s = file.Load();
    const std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_EQ(s.language, Language::English);
    const KeyBindings& defaults = DefaultKeyBindings();
    auto keysOf = [&](KeyAction a) { return FormatKeyList(s.bindings.Of(a)); };
    EXPECT_EQ(keysOf(KeyAction::Up), "W Up") << "in the player's order, any letter case";
    EXPECT_EQ(keysOf(KeyAction::Fire), "Space LeftCtrl");
    EXPECT_EQ(keysOf(KeyAction::Help), "") << "an empty list leaves the action without a key";
    EXPECT_EQ(s.bindings.pad[int(PadAction::Fire)], (1u << int(PadButton::A)) | (1u << int(PadButton::RightShoulder)));
    // Bad lines: reported together, once; their actions keep their defaults.
    EXPECT_EQ(keysOf(KeyAction::Down), FormatKeyList(defaults.Of(KeyAction::Down)));
    EXPECT_EQ(keysOf(KeyAction::Item1), FormatKeyList(defaults.Of(KeyAction::Item1)));
    EXPECT_EQ(s.bindings.pad[int(PadAction::Menu)], defaults.pad[int(PadAction::Menu)]);
    EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
    EXPECT_NE(warning.find("6 'key.down=Nowhere'"), std::string::npos) << warning;
    EXPECT_NE(warning.find("7 'key.jump=J' (unknown)"), std::string::npos) << warning;
    EXPECT_NE(warning.find("8 'key.item1=1 2 3 4 5'"), std::string::npos) << warning;
    EXPECT_NE(warning.find("9 'pad.menu=Turbo'"), std::string::npos) << warning;

    // Written back: the player's keys where their lines stood, the unknown
    // action kept for a newer game, nothing added for defaults.
    s.language = Language::Czech;
    testing::internal::CaptureStderr();
    file.Save(s);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadTextFile(path),
              "language=cs\nkey.up=W Up\nkey.fire=Space LeftCtrl\nkey.help=\n"
              "pad.fire=A RightShoulder\nkey.jump=J\nfullscreen=on\nscaling=sharp\n");
    EXPECT_EQ(DisplaySettingsFile(path).Load().bindings, s.bindings);
}

TEST(DisplaySettingsFile, TheLocaleDecidesTheLanguageOnlyWhereNothingChoseIt) {
    struct Case {
        const char *language, *all, *messages, *lang;
        Language expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, nullptr, Language::Czech},  // no locale: the game's own language
        {nullptr, nullptr, nullptr, "C.UTF-8", Language::Czech},
        {nullptr, "POSIX", nullptr, "en_US.UTF-8", Language::Czech},  // the first set one decides
        {nullptr, nullptr, nullptr, "cs_CZ.UTF-8", Language::Czech},
        {nullptr, nullptr, "sk_SK", "en_GB.UTF-8", Language::Czech},
        {"", "", nullptr, "de_DE.UTF-8", Language::English},  // empty counts as not set
        {"en_GB:cs", nullptr, nullptr, "cs_CZ.UTF-8", Language::English},
        {":sk:en", "en_US.UTF-8", nullptr, nullptr, Language::Czech},  // LANGUAGE's first entry
        {"cs-CZ", "de_DE", nullptr, nullptr, Language::Czech},         // as a browser names it
        {nullptr, nullptr, nullptr, "csb_PL", Language::English},      // Kashubian is not Czech
    };
    for (const Case& c : cases) {
        const char* values[] = {c.language, c.all, c.messages, c.lang};
        const char* names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
        const Language got = LocaleLanguage([&](const char* name) -> const char* {
            for (int i = 0; i < 4; ++i)
                if (std::string(name) == names[i]) return values[i];
            return nullptr;
        });
        EXPECT_EQ(got, c.expected) << (c.language ? c.language : "-") << " " << (c.all ? c.all : "-") << " "
                                   << (c.messages ? c.messages : "-") << " " << (c.lang ? c.lang : "-");
    }

    // The order of the deciders: a replay's recording, --lang, the script,
    // a language= line; the locale only in a window.
    ::setenv("LANG", "de_DE.UTF-8", 1);
    RunOptions window;
    InputScript script;
    DisplaySettings settings;
    EXPECT_EQ(RunLanguage(window, script, settings), Language::English) << "the locale decides";
    RunOptions headless;
    headless.headless = true;
    EXPECT_EQ(RunLanguage(headless, script, settings), Language::Czech) << "headless runs ignore the locale";
    settings = ParseSettingsText("language=cs\n").settings;
    EXPECT_EQ(RunLanguage(window, script, settings), Language::Czech) << "a chosen Czech outlives an English locale";
    EXPECT_NE(FormatSettingsText({}, settings).find("language=cs\n"), std::string::npos) << "and is written";
    window.language = "en";
    EXPECT_EQ(RunLanguage(window, script, settings), Language::English);
    RunOptions replay;
    replay.replayFile = "game.replay";
    EXPECT_EQ(RunLanguage(replay, script, ParseSettingsText("language=en\n").settings), Language::Czech)
        << "a recording without a language line is Czech";
    ::unsetenv("LANG");
    EXPECT_EQ(FormatSettingsText({}, DisplaySettings{}).find("language="), std::string::npos)
        << "nothing chosen, nothing written: the locale keeps deciding";
}

}  // namespace
