// Playing the scenes around the game as a person at the mouse and keyboard
// would: a key to leave the intro; on the menu the pointer moves to the new
// game item, the name field, the difficulty and Start, and the name is typed
// letter by letter (cp1250 codes); a key to show the story text at once and
// another to begin; and, to come back to a saved game, the load page, the
// profile's name and the load button. One event at a time, with pauses.
#pragma once
#include <string>
#include <vector>

#include "shell/input_script.h"

struct World;

namespace autopilot {

class FrontEndPilot {
public:
    // name: cp1250 bytes of the player's name.
    FrontEndPilot(std::string name, int difficulty) : name_(std::move(name)), difficulty_(difficulty) {}

    void Intro(const World& w, std::vector<ScriptEvent>& events);
    // A new game from the menu.
    void NewGame(const World& w, std::vector<ScriptEvent>& events);
    // Back into the saved game of this profile slot.
    void LoadProfile(const World& w, int slot, std::vector<ScriptEvent>& events);
    void TextScreen(const World& w, std::vector<ScriptEvent>& events);

private:
    std::string name_;
    int difficulty_;
    int wait_ = 0;
    bool difficultyChosen_ = false;
    int sceneFrames_ = 0;
    int pointerX_ = -1, pointerY_ = -1;

    // Moves the pointer a step toward (x, y); true once it is there.
    bool PointTo(const World& w, int x, int y, std::vector<ScriptEvent>& events);
    void Click(std::vector<ScriptEvent>& events, int pause);
    void Type(uint8_t code, std::vector<ScriptEvent>& events, int pause);
};

}  // namespace autopilot
