// Umbrella header of the kyncolors module: colour values and conversions,
// named-colour tables and colour scales, the colour array.
#pragma once

#include "kyn/kynbase.h"
#include "kyn/kyncolors/colorarray.h"
#include "kyn/kyncolors/colors.h"
