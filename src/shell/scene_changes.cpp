// The scene changes asked for during a frame, carried out after the scene
// step that asked: leaving a lost game for the menu's score page, the ending
// after the mother ship, the save at the finish line, the menu after the
// intro and after the story.
#include "shell/scene_changes.h"

#include "frontend/story.h"
#include "state/saved_files.h"
#include "state/world.h"

namespace {

// The game is lost: back to the menu's score page, which enters the score
// that Progress still holds. The played profile cannot be continued.
void LeaveLostGame(World& w) {
    w.shell.CurrentScene = Scene::Menu;
    w.front.MenuPage = Page::Scores;
    w.front.IdleTimer = 1500;
    w.front.GameActive = 0;
    BASS_ChannelStop(w.media.music, w.shell.MusicChannel);
    // With no active slot (CurrentProfile 0) this touches no slot and no file.
    ClearProfileSlot(w);
    w.front.HoverButton = 0;
}

// The one save point of a game. Without an active slot (a game not started
// from the menu, or one lost in the same frame) there is no slot to write
// into. The crossing is the game scene's last step, so Progress is still as
// it was at the line.
void SaveProgress(World& w) {
    const int32_t slot = w.saved.CurrentProfile;
    if (slot < 1 || slot > 6) return;
    w.saved.ProfileTable[slot] = w.game.Progress;
    SaveProfiles(w);
}

void Apply(World& w, SceneRequest request) {
    switch (request) {
        case SceneRequest::GameLost: LeaveLostGame(w); break;
        case SceneRequest::BattleWon: w.shell.CurrentScene = Scene::Animace; break;
        case SceneRequest::SaveProgress: SaveProgress(w); break;
        case SceneRequest::IntroEnded: w.shell.CurrentScene = Scene::Menu; break;
        case SceneRequest::StoryEnded: EndStory(w); break;
    }
}

}  // namespace

void ApplySceneRequests(World& w) {
    // Taken off the list first: a change that fails (a save that cannot be
    // written) ends the frame, and the ones after it are dropped with it, as
    // the rest of a frame is when an error stops it.
    const SceneRequests asked = w.shell.requests;
    w.shell.requests.count = 0;
    for (int i = 0; i < asked.count; ++i) Apply(w, asked.asked[i]);
}
