// The character scrambler: a seeded permutation of the codes 1..255.
#include "kyn/platform/random.h"
#include "kyn/platform/startup.h"
#include "kyn/stringl/strings.h"

namespace kyn {

namespace {
// Plain zero-initialised arrays: InitScramble runs during static
// initialisation (module start-up), before any dynamic initialiser of this
// file could have run.
uint8_t g_forward[256];
uint8_t g_inverse[256];

String MapThrough(StringView s, const uint8_t (&table)[256]) {
  EnsureModulesStarted();
  String r(s);
  for (char16_t& c : r)
    if (c < 256) c = table[c];
  return r;
}
}  // namespace

void InitScramble(int32_t Seed) {
  RandSeed(static_cast<uint32_t>(Seed));
  for (int i = 0; i < 256; ++i) g_forward[i] = g_inverse[i] = 0;
  for (int i = 1; i <= 255; ++i) {
    int a;
    do {
      a = RandomInt(255) + 1;
    } while (g_inverse[a] != 0);
    g_forward[i] = static_cast<uint8_t>(a);
    g_inverse[a] = static_cast<uint8_t>(i);
  }
}

String Scramble(StringView s) { return MapThrough(s, g_forward); }
String DeScramble(StringView s) { return MapThrough(s, g_inverse); }

}  // namespace kyn
