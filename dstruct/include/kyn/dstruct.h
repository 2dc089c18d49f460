// Umbrella header of the dstruct module.
#pragma once

#include "kyn/kynbase.h"

// String array: pooled string matrix, sorting, searching, XML form.
#include "kyn/dstruct/strarray.h"
