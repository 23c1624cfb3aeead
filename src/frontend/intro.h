// The intro: the emblem builds up, the title over the stars, then the menu.
#pragma once

struct World;

void RunIntro(World& w);
