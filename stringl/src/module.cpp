// Start-up and shut-down of the module; see kyn/platform/startup.h.
#include "kyn/platform/startup.h"
#include "kyn/stringl/strings.h"

namespace kyn::detail {

// Builds the scramble tables (and thereby seeds the random generator).
void Startup_stringl() { InitScramble(5807); }
void Shutdown_stringl() {}

}  // namespace kyn::detail
