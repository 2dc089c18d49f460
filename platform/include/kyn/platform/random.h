// The process-wide pseudo-random generator.
//
// A 32-bit linear congruential generator (seed := seed * 134775813 + 1 mod
// 2^32). The same seed always gives the same sequence. Not thread-safe: the
// callers serialise access. The first draw or seed access runs the library's
// module start-up, which seeds the generator (InitScramble(5807)).
#pragma once

#include <cstdint>

namespace kyn {

void RandSeed(uint32_t seed);
uint32_t RandSeed();
// Uniform integer in 0..n-1; 0 for n <= 0.
int32_t RandomInt(int32_t n);
// Uniform float in [0, 1).
double RandomFloat();

}  // namespace kyn
