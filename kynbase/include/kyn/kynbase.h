// Base module: shared types, enumerations and their XML names, the error
// family, progress globals, language tables and the numeric text scanners.
#pragma once

#include "kyn/kynbase/errors.h"
#include "kyn/kynbase/langtables.h"
#include "kyn/kynbase/numscan.h"
#include "kyn/kynbase/progress.h"
#include "kyn/kynbase/types.h"
#include "kyn/kynbase/xmlnames.h"
#include "kyn/platform.h"
#include "kyn/univconst.h"
