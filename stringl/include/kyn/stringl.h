// String module: number formatting, string toolbox, regular expressions.
#pragma once

#include "kyn/kynbase.h"
#include "kyn/stringl/numformat.h"
#include "kyn/stringl/regexp.h"
#include "kyn/stringl/strings.h"
#include "kyn/stringl/strparse.h"
#include "kyn/stringl/uucode.h"
