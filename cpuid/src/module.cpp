// Start-up and shut-down of the module; see kyn/platform/startup.h.
#include "kyn/platform/startup.h"

namespace kyn::detail {

void Startup_cpuid() {}
void Shutdown_cpuid() {}

}  // namespace kyn::detail
