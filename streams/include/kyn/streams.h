// Umbrella header of the streams module.
#pragma once

#include "kyn/kynbase.h"
#include "kyn/streams/streamio.h"
#include "kyn/streams/xmltags.h"
