// Umbrella header of the dstruct module.
#pragma once

#include "kyn/kynbase.h"
// Associative array; checksums, digests and encodings.
#include "kyn/dstruct/assocarray.h"
#include "kyn/dstruct/checksums.h"
