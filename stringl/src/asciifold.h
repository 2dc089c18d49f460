// ASCII case folding shared by the module's sources: only A-Z and a-z change.
#pragma once

#include "kyn/platform/string.h"

namespace kyn::detail {

inline char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }
inline char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

inline String AsciiLowerStr(StringView s) {
  String r(s);
  for (char16_t& c : r) c = AsciiLower(c);
  return r;
}

}  // namespace kyn::detail
