// Levels through the kavrix program: a new game started in level 8 and flown
// headless with the fire key held is repeated exactly by the same script,
// and the craft it meets reach the ship.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "test_support.h"

namespace {

std::string RunLevel(const std::string& tag, int level, int seed, int frames) {
    const std::string dir = MakeTempDir("level-" + tag);
    const std::string scriptFile = dir + "/input.txt";
    const std::string dumpFile = dir + "/state.json";
    // Fire held from the moment the first craft come in (the gun's energy
    // lasts about fifty volleys), with a short drift to the left.
    std::ofstream(scriptFile) << "seed " << seed << "\n250 down Space\n700 down Left\n712 up Left\n";
    std::ostringstream command;
    command << "'" << KavrixBinary() << "' --headless --frames " << frames << " --data '" << TestDataDir()
            << "' --save-dir '" << dir << "' --new-game Pilot --difficulty 1 --level " << level << " --input '"
            << scriptFile << "' --dump-state '" << dumpFile << "' > '" << dir << "/output.txt' 2>&1";
    EXPECT_EQ(RunCommand(command.str()), 0) << tag;
    std::ifstream in(dumpFile);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(LevelReplay, TheSameScriptFliesTheSameLevelEight) {
    const std::string first = RunLevel("a", 8, 31, 1500);
    const std::string again = RunLevel("b", 8, 31, 1500);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, again);
    // The level's craft and their fire reach the ship on the way.
    EXPECT_LT(DumpInt(first, "Energy"), 100);
    EXPECT_EQ(DumpInt(first, "Level"), 8);
    // Another seed gives another layout, and so another game.
    const std::string other = RunLevel("c", 8, 32, 1500);
    EXPECT_NE(first, other);
}

}  // namespace
