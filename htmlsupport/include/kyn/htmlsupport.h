// Umbrella header of the htmlsupport module.
#pragma once

#include "kyn/htmlsupport/htmlproducer.h"
#include "kyn/htmlsupport/htmltext.h"
#include "kyn/kynbase.h"
