#include "kyn/platform/startup.h"

#include <cstdlib>

namespace kyn {

namespace {
// 0: not started, 1: starting (re-entrant calls during start-up return at
// once), 2: started, 3: shut down.
int g_state = 0;

void AtExit() { ShutdownModules(); }
}  // namespace

bool StartupModules() {
  if (g_state != 0) return false;
  g_state = 1;
  detail::Startup_univconst();
  detail::Startup_kynbase();
  detail::Startup_kyncolors();
  detail::Startup_stringl();
  detail::Startup_streams();
  detail::Startup_htmlsupport();
  detail::Startup_dstruct();
  detail::Startup_cpuid();
  detail::Startup_filesys();
  g_state = 2;
  std::atexit(AtExit);
  return true;
}

bool ModulesStarted() { return g_state >= 2; }

void ShutdownModules() {
  if (g_state != 2) return;
  g_state = 3;
  detail::Shutdown_filesys();
  detail::Shutdown_cpuid();
  detail::Shutdown_dstruct();
  detail::Shutdown_htmlsupport();
  detail::Shutdown_streams();
  detail::Shutdown_stringl();
  detail::Shutdown_kyncolors();
  detail::Shutdown_kynbase();
  detail::Shutdown_univconst();
}

namespace {
// Start at load time, as a loaded library's modules would.
const bool g_started_at_load = StartupModules();
}  // namespace

}  // namespace kyn
