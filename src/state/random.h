// The one random source of the game: RandomInt(n) is uniform over 0..n-1.
// Every gameplay rule depends on the order of its draws, so there is exactly
// one generator, seeded from the clock at start-up (or from --seed).
#pragma once
#include <cstdint>

struct Random {
    uint32_t seed = 0;
};

inline void SeedRandom(Random& random, uint32_t seed) { random.seed = seed; }
// A 32-bit linear congruential step; n <= 0 gives 0.
inline int32_t RandomInt(Random& random, int32_t n) {
    random.seed = random.seed * 0x08088405u + 1u;
    if (n <= 0) return 0;
    return int32_t((uint64_t(random.seed) * uint64_t(uint32_t(n))) >> 32);
}
