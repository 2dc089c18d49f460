// Umbrella header of the filesys module.
#pragma once

#include "kyn/kynbase.h"
