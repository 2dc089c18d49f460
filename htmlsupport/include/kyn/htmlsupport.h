// Umbrella header of the htmlsupport module.
#pragma once

#include "kyn/kynbase.h"
