// Everything of kynbasepack.
#pragma once

#include "kyn/univconst.h"
#include "kyn/kynbase.h"
#include "kyn/kyncolors.h"
#include "kyn/stringl.h"
#include "kyn/streams.h"
#include "kyn/htmlsupport.h"
#include "kyn/dstruct.h"
#include "kyn/cpuid.h"
#include "kyn/filesys.h"
