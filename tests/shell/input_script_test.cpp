// Input scripts and command-line options: the lines of the format, the
// errors that name the bad line or option, and recorded lines read back.
#include "shell/input_script.h"

#include <gtest/gtest.h>

#include "shell/options.h"

TEST(InputScript, ReadsEveryKindOfLineInFrameOrder) {
    const std::string text =
        "# a test\n"
        "seed 12345   # fixed\n"
        "0 down Right\n"
        "36 up Right\n"
        "51 click\n"
        "40 type 13\n"
        "50 move 70 300\n"
        "\n"
        "40 down KP+\n"
        "hash 300 00000000deadbeef\n";
    InputScript s;
    std::string error;
    ASSERT_TRUE(ParseInputScript(text, "t.txt", s, error)) << error;
    EXPECT_TRUE(s.hasSeed);
    EXPECT_EQ(s.seed, 12345u);
    ASSERT_EQ(s.events.size(), 7u);
    EXPECT_EQ(s.events[0].kind, ScriptEventKind::Down);
    EXPECT_EQ(s.events[0].key, GameKey::Right);
    EXPECT_EQ(s.events[1].frame, 36);
    EXPECT_EQ(s.events[1].kind, ScriptEventKind::Up);
    // Lines of one frame keep their order; frames are sorted.
    EXPECT_EQ(s.events[2].kind, ScriptEventKind::Type);
    EXPECT_EQ(s.events[2].code, 13);
    EXPECT_EQ(s.events[3].kind, ScriptEventKind::Down);
    EXPECT_EQ(s.events[3].key, GameKey::KPPlus);
    EXPECT_EQ(s.events[4].kind, ScriptEventKind::Move);
    EXPECT_EQ(s.events[4].x, 70);
    EXPECT_EQ(s.events[4].y, 300);
    EXPECT_EQ(s.events[5].kind, ScriptEventKind::Click);
    EXPECT_EQ(s.events[6].kind, ScriptEventKind::Hash);
    EXPECT_EQ(s.events[6].hash, 0xdeadbeefu);
    EXPECT_EQ(s.LastFrame(), 300);
}

TEST(InputScript, BadLinesAreRejectedNamingFileAndLine) {
    using namespace std::string_literals;
    struct Case {
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {"0 down Right\n5 down Shift\n", "keys.txt:2: unknown key 'Shift'"},
        {"seed -4\n", "keys.txt:1:"},
        {"x down Up\n", "keys.txt:1:"},
        {"3 type 300\n", "keys.txt:1:"},
        {"\n\n3 move 10\n", "keys.txt:3:"},
        {"3 jump\n", "keys.txt:1: unknown action 'jump'"},
        {"3\n", "keys.txt:1:"},
        {"3 click now\n", "keys.txt:1:"},
        {"hash 300 notahex\n", "keys.txt:1:"},
        {"hash 300 1 2 3\n", "keys.txt:1:"},
        {"hash 600 1\nhash 300 2\n", "keys.txt:2: hash frame 300 does not follow frame 600"},
        {"hash 300 1\nhash 300 1\n", "keys.txt:2:"},
        {"newgame 4 1 Jan\n", "keys.txt:1:"},
        {"newgame 2 1\n", "keys.txt:1:"},
        {"newgame 2 1 \r\r\n", "keys.txt:1:"},        // no name, only line ends
        {"newgame 3\0junk 2 Jan\n"s, "keys.txt:1:"},  // a NUL inside a number
        {"hash 300 1\0f\n"s, "keys.txt:1:"},
    };
    for (const Case& c : cases) {
        InputScript s;
        std::string error;
        EXPECT_FALSE(ParseInputScript(c.text, "keys.txt", s, error)) << c.text;
        EXPECT_EQ(error.rfind(c.expected, 0), 0u) << "got: " << error;
    }
    InputScript s;
    std::string error;
    EXPECT_FALSE(LoadInputScript("/nonexistent/dir/keys.txt", s, error));
    EXPECT_NE(error.find("/nonexistent/dir/keys.txt"), std::string::npos);
}

TEST(InputScript, RecordedLinesReadBackAsTheSameEvents) {
    std::vector<ScriptEvent> events(7);
    events[0] = {.frame = 7, .kind = ScriptEventKind::Down, .key = GameKey::F12};
    events[1] = {.frame = 9, .kind = ScriptEventKind::Up, .key = GameKey::KPMinus};
    events[2] = {.frame = 10, .kind = ScriptEventKind::Type, .code = 0xE8};
    events[3] = {.frame = 11, .kind = ScriptEventKind::Move, .x = -3, .y = 599};
    events[4] = {.frame = 12, .kind = ScriptEventKind::Click};
    events[5] = {.frame = 300, .kind = ScriptEventKind::Hash, .hash = 0xFEDCBA9876543210ull};
    events[6] = {
        .frame = 600, .kind = ScriptEventKind::Hash, .hash = 1, .hasSurfaceHash = true, .surfaceHash = 0xABCull};
    // A new game's line keeps a name with spaces and a '#' whole.
    const ScriptNewGame game{"Jan # Žák", 3, 7};
    std::string text = FormatNewGameLine(game) + "\n";
    for (const ScriptEvent& e : events) text += FormatScriptEvent(e) + "\n";
    InputScript s;
    std::string error;
    ASSERT_TRUE(ParseInputScript(text, "rec", s, error)) << error << "\n" << text;
    ASSERT_EQ(s.events.size(), events.size());
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(s.events[i].frame, events[i].frame);
        EXPECT_EQ(s.events[i].kind, events[i].kind);
        EXPECT_EQ(s.events[i].key, events[i].key);
        EXPECT_EQ(s.events[i].code, events[i].code);
        EXPECT_EQ(s.events[i].x, events[i].x);
        EXPECT_EQ(s.events[i].y, events[i].y);
        EXPECT_EQ(s.events[i].hash, events[i].hash);
        EXPECT_EQ(s.events[i].hasSurfaceHash, events[i].hasSurfaceHash);
        EXPECT_EQ(s.events[i].surfaceHash, events[i].surfaceHash);
    }
    ASSERT_TRUE(s.hasNewGame);
    EXPECT_EQ(s.newGame.name, game.name);
    EXPECT_EQ(s.newGame.difficulty, 3);
    EXPECT_EQ(s.newGame.level, 7);
}

namespace {
bool Parse(std::vector<const char*> args, RunOptions& o, std::string& error) {
    args.insert(args.begin(), "kavrix");
    return ParseOptions(int(args.size()), args.data(), o, error);
}
}  // namespace

TEST(CommandLineOptions, HeadlessRunWithScreenshotsNewGameAndDirectories) {
    RunOptions o;
    std::string error;
    ASSERT_TRUE(Parse(
        {"--headless", "--frames",     "120",     "--seed",       "7",         "--data",       "d",       "--save-dir",
         "s",          "--screenshot", "0:a.png", "--screenshot", "119:b.png", "--dump-state", "st.json", "--new-game",
         "Jan",        "--difficulty", "3",       "--level",      "4",         "--input",      "in.txt"},
        o, error))
        << error;
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.frames, 120);
    EXPECT_EQ(o.seed, 7);
    EXPECT_EQ(o.dataDir, "d");
    EXPECT_EQ(o.saveDir, "s");
    ASSERT_EQ(o.screenshots.size(), 2u);
    EXPECT_EQ(o.screenshots[1].frame, 119);
    EXPECT_EQ(o.screenshots[1].file, "b.png");
    EXPECT_TRUE(o.newGame);
    EXPECT_EQ(o.newGameName, "Jan");
    EXPECT_EQ(o.difficulty, 3);
    EXPECT_EQ(o.level, 4);
    EXPECT_EQ(o.inputFile, "in.txt");
}

TEST(CommandLineOptions, BadValuesNameTheOption) {
    const std::vector<std::vector<const char*>> bad = {
        {"--frames", "ten"},
        {"--headless"},
        {"--seed", "-1"},
        {"--screenshot", "a.png"},
        {"--level", "10"},
        {"--difficulty", "2"},
        {"--new-game", "X", "--difficulty", "0"},
        {"--bogus"},
        {"--data"},
        {"--replay", "r", "--record", "q"},
    };
    const std::vector<const char*> names = {"--frames",     "--headless",   "--seed",  "--screenshot", "--level",
                                            "--difficulty", "--difficulty", "--bogus", "--data",       "--replay"};
    for (size_t i = 0; i < bad.size(); ++i) {
        RunOptions o;
        std::string error;
        EXPECT_FALSE(Parse(bad[i], o, error)) << names[i];
        EXPECT_NE(error.find(names[i]), std::string::npos) << error;
    }
}
