// Umbrella header of the kyncolors module.
#pragma once

#include "kyn/kynbase.h"
