// The menu played through the kavrix program with input scripts (mouse
// moves, clicks, typed characters): a new game's profile, the Start button
// waiting for a finished name, all slots taken, deleting and loading a
// profile, continue before any game, and quitting through Escape.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <string>

#include "state/saved_files.h"
#include "test_support.h"

namespace {

// Where a player points: items, page fields and buttons.
constexpr int kItemY = 298;
int ItemX(int i) { return 102 + 119 * i; }
constexpr int kNameX = 150, kNameY = 478;
constexpr int kStartX = 720, kStartY = 554;
constexpr int kLoadX = 700, kLoadY = 424;
constexpr int kDeleteX = 700, kDeleteY = 534;
constexpr int kYesX = 300, kAnswerY = 480;
constexpr int kOkX = 390, kOkY = 505;
int SlotX(int k) { return k <= 3 ? 170 : 450; }
int SlotY(int k) { return 432 + 48 * ((k - 1) % 3); }

// An input script built line by line; every event names its frame.
struct Script {
    std::string text = "0 type 32\n";  // any key ends the intro
    Script& Line(int frame, const std::string& what) {
        text += std::to_string(frame) + " " + what + "\n";
        return *this;
    }
    Script& Move(int frame, int x, int y) { return Line(frame, "move " + std::to_string(x) + " " + std::to_string(y)); }
    Script& Click(int frame, int x, int y) {
        Move(frame, x, y);
        return Line(frame, "click");
    }
    Script& Type(int frame, std::initializer_list<int> codes) {
        for (int code : codes) Line(frame++, "type " + std::to_string(code));
        return *this;
    }
};

// Runs the script headless for the frames in dir (the save directory) and
// returns the dumped state; the exit status goes to status.
std::string Play(const std::string& dir, const Script& script, int frames, int* status = nullptr) {
    std::ofstream(dir + "/script.txt", std::ios::binary) << script.text;
    const int rc = RunCommand("cd '" + dir + "' && '" + KavrixBinary() + "' --headless --data '" + TestDataDir() +
                              "' --save-dir '" + dir + "' --frames " + std::to_string(frames) +
                              " --input script.txt --dump-state state.json >out.txt 2>err.txt");
    if (status) *status = rc;
    EXPECT_EQ(rc, 0) << ReadTextFile(dir + "/err.txt");
    return ReadTextFile(dir + "/state.json");
}

std::vector<uint8_t> ProfilesWith(std::initializer_list<std::pair<int, ProgressRecord>> slots) {
    SavedFiles saved;
    DefaultProfiles(saved);
    for (const auto& [k, progress] : slots) saved.ProfileTable[k] = progress;
    std::vector<uint8_t> bytes;
    for (int k = 1; k <= 6; ++k) {
        const auto slot = EncodeProgress(saved.ProfileTable[k]);
        bytes.insert(bytes.end(), slot.begin(), slot.end());
    }
    return bytes;
}

ProgressRecord Named(const char* name) {
    ProgressRecord p;
    p.PlayerName.Assign(name);
    p.Level = 1;
    return p;
}

std::string SlotName(const std::vector<uint8_t>& file, int k) {
    const size_t at = kProgressRecordSize * size_t(k - 1) + 31;
    return std::string(file.begin() + long(at) + 1, file.begin() + long(at) + 1 + file[at]);
}

}  // namespace

TEST(MenuScenario, NewGameWithoutAProfileFileTakesSlotOneOnceTheNameIsClosed) {
    const std::string dir = MakeTempDir("menu-new-game");
    Script script;
    script.Click(5, ItemX(0), kItemY)
        .Click(8, kStartX, kStartY)  // no name yet: Start is dead
        .Click(10, kNameX, kNameY)
        .Type(12, {'A', 'l'})
        .Click(14, kStartX, kStartY)  // the field is still open
        .Type(16, {'e', 0x9A, 13})    // "Aleš", closed by Enter
        .Line(19, "click")            // the pointer has not moved onto Start since
        .Move(20, 400, 450)
        .Click(21, kStartX, kStartY);
    const std::string json = Play(dir, script, 40);
    EXPECT_EQ(DumpString(json, "CurrentScene"), "Uvod");
    EXPECT_EQ(DumpInt(json, "CurrentProfile"), 1);
    EXPECT_EQ(DumpInt(json, "GameActive"), 1);
    EXPECT_EQ(DumpString(json, "PlayerName"), "Aleš");
    EXPECT_EQ(DumpInt(json, "LevelEnd"), 9400) << "level 1 is built";

    const auto file = ReadFileBytes(dir + "/profily.lev");
    ASSERT_EQ(file.size(), kProfilesFileSize);
    EXPECT_EQ(SlotName(file, 1), "Ale\x9A");
    EXPECT_EQ(file[52], 1) << "level 1";
    EXPECT_EQ(file[24], 2) << "the difficulty shown when the page opened";
    for (int k = 2; k <= 6; ++k) EXPECT_EQ(SlotName(file, k), "") << "slot " << k;
}

TEST(MenuScenario, AllSlotsTakenLeadToTheProfilesWhereOneIsDeletedForTheNewGame) {
    const std::string dir = MakeTempDir("menu-full");
    const auto full = ProfilesWith({{1, Named("Adam")},
                                    {2, Named("Bara")},
                                    {3, Named("Cyril")},
                                    {4, Named("Dana")},
                                    {5, Named("Emil")},
                                    {6, Named("Fanda")}});
    // Every run starts from the same six taken slots.
    auto play = [&](const Script& script, int frames) {
        WriteFileBytes(dir + "/profily.lev", full);
        return Play(dir, script, frames);
    };
    Script script;
    script.Click(5, ItemX(0), kItemY).Click(8, kNameX, kNameY);
    EXPECT_EQ(DumpInt(play(script, 12), "MenuPage"), 6);

    script.Click(12, kOkX, kOkY);
    EXPECT_EQ(DumpInt(play(script, 16), "MenuPage"), 2);

    script.Click(16, SlotX(4), SlotY(4)).Click(18, kDeleteX, kDeleteY).Click(20, kYesX, kAnswerY);
    std::string json = play(script, 24);
    EXPECT_EQ(DumpInt(json, "MenuPage"), 2);
    EXPECT_EQ(DumpInt(json, "CurrentProfile"), 0);
    auto file = ReadFileBytes(dir + "/profily.lev");
    ASSERT_EQ(file.size(), kProfilesFileSize);
    EXPECT_EQ(SlotName(file, 4), "");
    EXPECT_EQ(SlotName(file, 5), "Emil");

    // The freed slot takes the next new game.
    script.Click(24, ItemX(0), kItemY).Click(26, kNameX, kNameY).Type(28, {'G', 'i', 't', 'a', 13});
    script.Move(34, kStartX, kStartY).Line(35, "click");
    json = play(script, 40);
    EXPECT_EQ(DumpString(json, "CurrentScene"), "Uvod");
    EXPECT_EQ(DumpInt(json, "CurrentProfile"), 4);
    file = ReadFileBytes(dir + "/profily.lev");
    EXPECT_EQ(SlotName(file, 4), "Gita");
    EXPECT_EQ(SlotName(file, 6), "Fanda");
}

TEST(MenuScenario, LoadingResumesTheSavedGameAtItsFinishLine) {
    const std::string dir = MakeTempDir("menu-load");
    ProgressRecord saved = Named("Zden\xECk");
    saved.Level = 3;
    saved.LevelEnd = 12800;
    saved.PlayerY = 310;
    saved.ScrollDistance = 12800 + 310;  // where the finish line met the ship
    saved.Score = 12345;
    saved.HasRockets = 1;
    saved.HasBombs = 1;
    saved.LastWeapon = 4;
    saved.Lives = 2;
    saved.Energy = 80;
    saved.BlackBoxCount = 3;
    saved.ItemSlots[1] = 2;
    saved.ItemSlots[3] = 6;
    WriteFileBytes(dir + "/profily.lev", ProfilesWith({{1, Named("Adam")}, {4, saved}}));

    Script script;
    script.Click(5, ItemX(2), kItemY).Click(8, SlotX(4), SlotY(4)).Click(10, kLoadX, kLoadY);
    const std::string json = Play(dir, script, 30);
    EXPECT_EQ(DumpString(json, "CurrentScene"), "HlavniHra");
    EXPECT_EQ(DumpInt(json, "GameActive"), 1);
    EXPECT_EQ(DumpInt(json, "CurrentProfile"), 4);
    const size_t live = json.find("\"Progress\"");
    EXPECT_EQ(DumpString(json, "PlayerName", live), "Zdeněk");
    EXPECT_EQ(DumpInt(json, "Level", live), 3);
    EXPECT_EQ(DumpInt(json, "ScrollDistance", live), 12800 + 310 + 20) << "one row a frame from frame 10 on";
    EXPECT_EQ(DumpInt(json, "LevelEnd", live), 12800);
    EXPECT_EQ(DumpInt(json, "Score", live), 12345);
    EXPECT_EQ(DumpInt(json, "HasRockets", live), 1);
    EXPECT_EQ(DumpInt(json, "HasBombs", live), 1);
    EXPECT_EQ(DumpInt(json, "HasGoodLaser", live), 0);
    EXPECT_EQ(DumpInt(json, "LastWeapon", live), 4);
    EXPECT_EQ(DumpInt(json, "Lives", live), 2);
    EXPECT_EQ(DumpInt(json, "BlackBoxCount", live), 3);
    EXPECT_NE(json.find("\"ItemSlots\":[2,0,6]", live), std::string::npos);
    // Level 3 is not built again at its finish: no object stands in the level.
    const size_t objects = json.find("\"LevelObjects\"");
    const size_t objectsEnd = json.find(']', objects);
    int placed = 0;
    for (size_t at = json.find("\"index\":", objects); at < objectsEnd; at = json.find("\"index\":", at + 1))
        placed += DumpInt(json, "Y", at) != 0 || DumpInt(json, "Picture", at) != 0 ? 1 : 0;
    EXPECT_EQ(placed, 0);
}

TEST(MenuScenario, ContinueBeforeAnyGameDoesNothingAndEscapeAsksToQuit) {
    const std::string dir = MakeTempDir("menu-quit");
    Script script;
    script.Click(5, ItemX(1), kItemY);
    std::string json = Play(dir, script, 10);
    EXPECT_EQ(DumpString(json, "CurrentScene"), "Menu");
    EXPECT_EQ(DumpInt(json, "MenuPage"), -1);

    script.Type(10, {27, 27});
    json = Play(dir, script, 20);
    EXPECT_EQ(DumpInt(json, "MenuPage"), 5) << "a second Escape keeps the question";
    EXPECT_FALSE(std::ifstream(dir + "/nastaveni.lev").good());

    // Yes ends the program before its frames run out, with the settings saved.
    script.Line(20, "down F2").Line(21, "up F2").Click(24, kYesX, kAnswerY);
    int status = -1;
    json = Play(dir, script, 5000, &status);
    EXPECT_EQ(status, 0);
    const auto settings = ReadFileBytes(dir + "/nastaveni.lev");
    ASSERT_EQ(settings.size(), kSettingsFileSize);
    EXPECT_EQ(settings[0], 0) << "sound was switched off with F2";
    EXPECT_EQ(settings[1], 1);
    EXPECT_EQ(settings[2], 100);
    EXPECT_GE(DumpInt(json, "IdleTimer"), 1499) << "the program ends at once";
}
