// What a score board needs from a replay, found by the game itself: that the
// replay begins as a new game at level 1 (its starting state made anew here
// by the game's own Start and compared field by field), and what the game
// then did: the player, the difficulty, the score it ended with, the level
// reached and whether it ended. Written as JSON by --verify-new-game.
#pragma once
#include <cstdint>
#include <string>

struct World;

// Makes a new game's starting state from the replay's state read into w and
// compares every field of the two; w is left as it was. Returns "" when the
// replay begins as a new game, else why not, naming the first field that
// differs ("Progress.Lives: the replay has 9, a new game 3").
//
// A new game is made as the game makes one: the menu's Start (the scene
// "Uvod") or the command line's --new-game (the scene "HlavniHra"), at level
// 1, for the replay's player name and difficulty, from the position of the
// random source where that game began (found by stepping the generator back
// from where the replay stands). Fields a new game leaves as the session had
// them (the menu, the saved tables, animation counters that run for the
// whole program) are the replay's own.
std::string CheckBegunAsNewGame(World& w);

// Follows the replayed game frame by frame, as the recorder of kept replays
// does: the score it ends with (the score page zeroes it when it enters the
// table), the highest level, the lowest difficulty it was played at, and the
// frame after which it ended.
class NewGameVerdict {
public:
    explicit NewGameVerdict(const World& w);
    void BeforeFrame(const World& w);
    void AfterFrame(const World& w, int64_t framesRun);
    // The verdict as JSON.
    std::string Json(int64_t framesRun) const;

private:
    std::string player_;  // UTF-8
    int difficulty_ = 0;
    int32_t score_ = 0;
    int levelReached_ = 1;
    uint32_t gamesBegun_ = 0;
    bool overAtFrameStart_ = false;
    int64_t endedAfter_ = -1;        // frames run when the game ended, -1 not yet
    int64_t anotherGameBegan_ = -1;  // frames run when a game began, -1 none
};
