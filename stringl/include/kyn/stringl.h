// Umbrella header of the stringl module.
#pragma once

#include "kyn/kynbase.h"
