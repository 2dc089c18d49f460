// Umbrella header of the cpuid module: processor identification and speed.
#pragma once

#include "kyn/cpuid/cpuid.h"
#include "kyn/cpuid/decode.h"
#include "kyn/kynbase.h"
