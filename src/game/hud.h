// The instrument bar: gauges, digits, radar, items and weapons, the energy
// refill, invulnerability light, losing a life and game over.
#pragma once
#include <cstdint>

struct World;

void UpdateHud(World& w);
void DrawNumber(World& w, int32_t value, int mode);
