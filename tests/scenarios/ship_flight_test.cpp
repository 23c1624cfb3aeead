// Flying and firing through the kavrix program itself: a new game is started
// headless, an input script holds the keys, and the dumped state is checked.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "test_support.h"

namespace {

struct RunResult {
    int status = -1;
    std::string dump;
};

// Runs `frames` frames of a new level-1 game with the given input script.
RunResult RunScript(const std::string& tag, const std::string& script, int frames) {
    const std::string dir = MakeTempDir("ship-" + tag);
    const std::string scriptFile = dir + "/input.txt";
    const std::string dumpFile = dir + "/state.json";
    std::ofstream(scriptFile) << script;
    std::ostringstream command;
    command << "'" << KavrixBinary() << "' --headless --frames " << frames << " --data '" << TestDataDir()
            << "' --save-dir '" << dir << "' --new-game Pilot --input '" << scriptFile << "' --dump-state '" << dumpFile
            << "' > '" << dir << "/output.txt' 2>&1";
    RunResult result;
    result.status = RunCommand(command.str());
    std::ifstream in(dumpFile);
    std::stringstream text;
    text << in.rdbuf();
    result.dump = text.str();
    return result;
}

TEST(ShipFlightScript, HoldingRightFromRest) {
    // 36 frames to top speed; steps 2,3,4,5,6 over the speed bands, then 7.
    RunResult r = RunScript("right", "0 down Right\n", 36);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(DumpInt(r.dump, "SpeedX"), 36);
    EXPECT_EQ(DumpInt(r.dump, "PlayerX"), 400 + 153);

    RunResult more = RunScript("right37", "0 down Right\n", 37);
    ASSERT_EQ(more.status, 0);
    EXPECT_EQ(DumpInt(more.dump, "SpeedX"), 35);
    EXPECT_EQ(DumpInt(more.dump, "PlayerX"), 400 + 160);
}

TEST(ShipFlightScript, ReversingFromThirty) {
    RunResult r = RunScript("reverse", "0 down Right\n30 up Right\n30 down Left\n", 31);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(DumpInt(r.dump, "SpeedX"), 10);
}

TEST(ShipFlightScript, StoppingFromTopSpeedTakes36Frames) {
    RunResult r = RunScript("stop71", "0 down Right\n36 up Right\n", 71);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(DumpInt(r.dump, "SpeedX"), 1);
    RunResult s = RunScript("stop72", "0 down Right\n36 up Right\n", 72);
    ASSERT_EQ(s.status, 0);
    EXPECT_EQ(DumpInt(s.dump, "SpeedX"), 0);
}

TEST(ShipFlightScript, RightEdgeStopsTheShipOneStepPast762) {
    // 553 after 36 frames, then 7 a frame: 756 is below the bound, 763 is not.
    RunResult r = RunScript("edge", "0 down Right\n", 120);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(DumpInt(r.dump, "PlayerX"), 763);
    RunResult up = RunScript("top", "0 down Up\n", 150);
    ASSERT_EQ(up.status, 0);
    EXPECT_GE(DumpInt(up.dump, "PlayerY"), 36);
    EXPECT_LE(DumpInt(up.dump, "PlayerY"), 40);
}

TEST(ShipFlightScript, FireWaitsForTheArrivalThenOpensEvery16Frames) {
    // The arrival zoom ends on frame 80; volleys on 80, 96, 112, 128.
    RunResult r = RunScript("fire", "0 down Space\n", 130);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(DumpInt(r.dump, "ArrivalWidth"), 72);
    EXPECT_EQ(DumpInt(r.dump, "FireHeld"), 0);
    EXPECT_EQ(DumpInt(r.dump, "ReloadTimer"), 1);  // last shot on frame 128
    EXPECT_EQ(DumpInt(r.dump, "WeaponEnergy"), 110 - 4 * 2);

    RunResult early = RunScript("early", "0 down Space\n", 80);
    ASSERT_EQ(early.status, 0);
    EXPECT_EQ(DumpInt(early.dump, "WeaponEnergy"), 110);
    EXPECT_EQ(DumpInt(early.dump, "ReloadTimer"), 15);
}

}  // namespace
