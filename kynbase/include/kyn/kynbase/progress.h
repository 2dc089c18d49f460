// Progress globals shared by the suite's long-running computations. Nothing in
// this library reads or writes them after start-up (which sets ProcStat to 0).
// Plain shared variables: callers serialise access from several threads.
#pragma once

#include "kyn/kynbase/types.h"

namespace kyn {

extern double ProcStat;
extern double LastProcStat;
extern bool AbortMathProc;
extern FeedBackProcType MathFeedBackProc;

}  // namespace kyn
