// Umbrella header of the streams module.
#pragma once

#include "kyn/kynbase.h"
