// The scroll distance at which a built level has the most objects in play at
// once, found by flying it with nothing shooting; benches that measure a
// level at its busiest start there.
#pragma once
#include <cstdint>

struct World;

int32_t BusiestScroll(World& w);
