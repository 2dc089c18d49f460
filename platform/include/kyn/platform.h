// The platform layer: text types, locale case rules, base classes, variant,
// random generator, byte streams, text files, string list, path resolution,
// module start-up, images with PNG output.
#pragma once

#include "kyn/platform/classes.h"
#include "kyn/platform/exceptions.h"
#include "kyn/platform/image.h"
#include "kyn/platform/locale.h"
#include "kyn/platform/path.h"
#include "kyn/platform/random.h"
#include "kyn/platform/startup.h"
#include "kyn/platform/streams.h"
#include "kyn/platform/string.h"
#include "kyn/platform/stringlist.h"
#include "kyn/platform/textfile.h"
#include "kyn/platform/variant.h"
