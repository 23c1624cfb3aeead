// One frame of play in the scene "HlavniHra": every gameplay routine in the
// game's order, each updating its state and drawing in the same call.
#include "game/game_scene.h"

#include <cstdio>

#include "game/city.h"
#include "game/finish_line.h"
#include "game/hud.h"
#include "game/level_objects.h"
#include "game/mother_ship.h"
#include "game/player_ship.h"
#include "game/starfield.h"
#include "game/weapons.h"
#include "state/world.h"

namespace {

// When a song has ended (and music is on), a random one of the five follows.
void GameMusic(World& w) {
    if (IsSongPlaying(w.media.music, w.shell.MusicChannel) == 1 || !w.shell.MusicEnabled) return;
    const int n = RandomInt(w, 5) + 1;
    char name[32];
    std::snprintf(name, sizeof name, "audio\\song0%d.mod", n);
    w.shell.MusicChannel = LoadSong(w.media.music, false, name, 0, 0, kMusicRamp);
    PlaySong(w.media.music, w.shell.MusicChannel);
}

}  // namespace

void RunGameScene(World& w) {
    ProgressRecord& p = w.game.Progress;
    GameMusic(w);
    DrawStarfield(w);
    if (p.Level == 9 && p.ScrollDistance > 10700) UpdateMotherShip(w);
    if (p.Level == 4 || p.Level == 8) UpdateCity(w);
    UpdatePlayerShip(w);
    UpdateLevelObjects(w);
    UpdateWeapons(w);
    if (p.Level != 9) DrawFinishFlags(w);
    DrawPlayerShip(w);
    UpdateHud(w);
    RunInvulnerabilityClock(w.game);
    CheckLevelEnd(w);
    CheckFinishLine(w);
}
