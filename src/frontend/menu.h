// The main menu scene: monitor, terminal, item row and the open page; the
// score entry of a finished game.
#pragma once

struct World;

void RunMenu(World& w);
// The scene "Menu": the intro song again when none plays, the menu, and the
// menu's own pointer on top.
void RunMenuScene(World& w);
// Enters Progress.Score into the score table when the game has ended.
void EnterFinishedScore(World& w);
