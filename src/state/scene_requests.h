// Scene changes asked for during a frame: the game is lost, the battle is
// won, the progress is saved at the finish line, the intro or the story has
// ended. The routine that notices one asks for it here; the frame carries
// the requests out in the order asked, right after the scene step that asked
// (shell/scene_changes.cpp), and no routine writes another layer's state.
#pragma once
#include <cstdint>

enum class SceneRequest : uint8_t {
    GameLost,      // the last ship is gone: the menu's score page, the profile slot freed
    BattleWon,     // the mother ship has fallen: the ending "Animace"
    SaveProgress,  // the finish line is crossed: Progress into the active profile slot
    IntroEnded,    // the title has been shown: the menu
    StoryEnded,    // the ending is over: the menu's score page, the profile slot freed
};

// The requests of one scene step, in the order asked. A step asks for three
// at most (the game scene: the battle won, the game lost, the finish line).
struct SceneRequests {
    static constexpr int kCapacity = 8;
    SceneRequest asked[kCapacity] = {};
    int count = 0;
};

inline void AskFor(SceneRequests& requests, SceneRequest request) {
    if (requests.count < SceneRequests::kCapacity) requests.asked[requests.count++] = request;
}
