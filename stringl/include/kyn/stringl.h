// String module: number formatting, string toolbox, regular expressions.
#pragma once

#include "kyn/kynbase.h"
#include "kyn/stringl/numformat.h"
#include "kyn/stringl/strings.h"
