// Umbrella header of the dstruct module.
#pragma once

#include "kyn/kynbase.h"
