// Data structures: containers, checksums, digests and encodings.
#pragma once

#include "kyn/kynbase.h"

// Associative array; checksums, digests and encodings.
#include "kyn/dstruct/assocarray.h"
#include "kyn/dstruct/checksums.h"

// Bit field, byte matrix, FIFO, string accumulator, run-length coding.
#include "kyn/dstruct/bitfld.h"
#include "kyn/dstruct/bytematrix.h"
#include "kyn/dstruct/fifo.h"
#include "kyn/dstruct/logicop.h"
#include "kyn/dstruct/rlencoder.h"
#include "kyn/dstruct/stringaccu.h"

// String array with sorting and searching.
#include "kyn/dstruct/strarray.h"
