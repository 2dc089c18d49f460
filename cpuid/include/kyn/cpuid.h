// Umbrella header of the cpuid module.
#pragma once

#include "kyn/kynbase.h"
