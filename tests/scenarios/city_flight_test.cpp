// The city through the kavrix program: a new game in level 4 sees the city
// grow in from the top one row per 101 frames, thin out into open space as
// it ages, come out the same for the same seed, and stay away from level 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

struct Block {
    int column, cell, picture, frame;
};

struct Flight {
    std::string dump;
    std::vector<Block> city;
};

Flight Fly(const std::string& tag, int level, int seed, int frames) {
    const std::string dir = MakeTempDir("city-" + tag);
    const std::string dumpFile = dir + "/state.json";
    std::ostringstream command;
    command << "'" << KavrixBinary() << "' --headless --frames " << frames << " --seed " << seed << " --data '"
            << TestDataDir() << "' --save-dir '" << dir << "' --new-game Pilot --difficulty 1 --level " << level
            << " --dump-state '" << dumpFile << "' > '" << dir << "/output.txt' 2>&1";
    EXPECT_EQ(RunCommand(command.str()), 0) << tag;
    std::ifstream in(dumpFile);
    std::stringstream text;
    text << in.rdbuf();
    Flight flight{text.str(), {}};
    const size_t start = flight.dump.find("\"CityGrid\":[");
    if (start == std::string::npos) {
        ADD_FAILURE() << "no CityGrid in the state dump of " << tag;
        return flight;
    }
    const size_t end = flight.dump.find(']', start);
    size_t at = flight.dump.find('{', start);
    while (at != std::string::npos && at < end) {
        Block b{};
        if (std::sscanf(flight.dump.c_str() + at, "{\"column\":%d,\"cell\":%d,\"Picture\":%d,\"Frame\":%d", &b.column,
                        &b.cell, &b.picture, &b.frame) == 4)
            flight.city.push_back(b);
        else ADD_FAILURE() << "unreadable city block in " << tag << ": " << flight.dump.substr(at, 60);
        at = flight.dump.find('{', at + 1);
    }
    return flight;
}

int LowestRow(const Flight& f) {
    int lowest = -1;
    for (const Block& b : f.city) lowest = std::max(lowest, b.cell);
    return lowest;
}

int BlocksInRow(const Flight& f, int row) {
    int n = 0;
    for (const Block& b : f.city) n += b.cell == row;
    return n;
}

TEST(CityFlight, GrowsInFromTheTopARowEvery101Frames) {
    // The first city frame shifts at once (the scroll starts at 100), then
    // every 101 frames: after 150 frames two rows, after 650 seven.
    const Flight early = Fly("early", 4, 7, 150);
    EXPECT_EQ(LowestRow(early), 1);
    EXPECT_GT(BlocksInRow(early, 0), 3);
    EXPECT_GT(BlocksInRow(early, 1), 3);

    const Flight full = Fly("full", 4, 7, 650);
    EXPECT_EQ(LowestRow(full), 6);
    for (const Block& b : full.city) {
        EXPECT_GE(b.column, 1);
        EXPECT_LE(b.column, 9);
        const int p = b.picture;
        EXPECT_TRUE((p >= 0 && p <= 17) || p == 100 || (p >= 103 && p <= 117) || (p >= 203 && p <= 242)) << p;
    }
    // The same seed flies the same city.
    const Flight again = Fly("again", 4, 7, 650);
    ASSERT_EQ(again.city.size(), full.city.size());
    for (size_t i = 0; i < full.city.size(); ++i) {
        EXPECT_EQ(again.city[i].column, full.city[i].column);
        EXPECT_EQ(again.city[i].cell, full.city[i].cell);
        EXPECT_EQ(again.city[i].picture, full.city[i].picture);
        EXPECT_EQ(again.city[i].frame, full.city[i].frame);
    }
}

TEST(CityFlight, AnOldCityGivesWayToOpenSpaceAndLevelOneHasNone) {
    // By frame 900 the city has aged past 699 frames at its last two shifts:
    // the two top rows are open space while the older rows still stand.
    const Flight aged = Fly("aged", 4, 11, 900);
    EXPECT_EQ(BlocksInRow(aged, 0), 0);
    EXPECT_EQ(BlocksInRow(aged, 1), 0);
    EXPECT_GT(BlocksInRow(aged, 5), 3);

    const Flight open = Fly("level1", 1, 11, 300);
    EXPECT_TRUE(open.city.empty());
}

}  // namespace
