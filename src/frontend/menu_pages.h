// The open page of the main menu (new game with its name field, profiles,
// score table with its cup, help, quit and delete questions, the notice of
// taken profiles) and the item captions. Used by the menu routine only.
#pragma once

struct World;

// Page content of MenuPage; the caller draws it only while IdleTimer > 0.
void DrawMenuPage(World& w);
// The caption of the hovered item on its dark plate.
void DrawItemCaption(World& w);
