// Locale-aware case mapping and comparison, the one place where the library
// uses the system's locale rules (through ICU). Everything else folds case
// with the plain ASCII rule.
//
// The locale is the process default (taken from the environment). The POSIX
// "C" locale, which ICU collates code unit by code unit so that case would
// matter, is compared with the root (language-neutral) rules instead.
// Lone surrogates pass through unchanged. Safe to call from several threads.
#pragma once

#include "kyn/platform/string.h"

namespace kyn {

// Full locale case mapping; the length may change ("ß" upper-cases to "SS").
String LocaleUpper(StringView s);
String LocaleLower(StringView s);

// Collation order of a and b without regard to case (accents still count):
// negative when a sorts before b, 0 when they are equal, positive after.
int LocaleCompareText(StringView a, StringView b);
// True when LocaleCompareText(a, b) == 0.
bool LocaleSameText(StringView a, StringView b);

}  // namespace kyn
