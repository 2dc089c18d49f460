// Start-up and shut-down of the module; see kyn/platform/startup.h.
#include "kyn/platform/startup.h"

namespace kyn::detail {

void Startup_cpuid() {}
// The feature-name table is constant data; nothing to release.
void Shutdown_cpuid() {}

}  // namespace kyn::detail
