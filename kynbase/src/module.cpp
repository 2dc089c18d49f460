// Start-up and shut-down of the constants and base modules; see
// kyn/platform/startup.h.
#include "kyn/kynbase/progress.h"
#include "kyn/platform/startup.h"

namespace kyn {

double ProcStat = 0;
double LastProcStat = 0;
bool AbortMathProc = false;
FeedBackProcType MathFeedBackProc = nullptr;

namespace detail {

void Startup_univconst() {}
void Shutdown_univconst() {}

void Startup_kynbase() { ProcStat = 0; }
// The XML name tables are constant data; nothing to release.
void Shutdown_kynbase() {}

}  // namespace detail
}  // namespace kyn
