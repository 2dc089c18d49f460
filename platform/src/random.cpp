#include "kyn/platform/random.h"

#include "kyn/platform/startup.h"

namespace kyn {

namespace {
uint32_t g_seed = 0;

uint32_t Next() {
  EnsureModulesStarted();
  g_seed = g_seed * 134775813u + 1u;
  return g_seed;
}
}  // namespace

void RandSeed(uint32_t seed) {
  EnsureModulesStarted();
  g_seed = seed;
}

uint32_t RandSeed() {
  EnsureModulesStarted();
  return g_seed;
}

int32_t RandomInt(int32_t n) {
  const uint32_t r = Next();
  if (n <= 0) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(r) * static_cast<uint32_t>(n)) >> 32);
}

double RandomFloat() { return Next() * (1.0 / 4294967296.0); }

}  // namespace kyn
