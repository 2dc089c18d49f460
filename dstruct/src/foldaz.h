// Case folding of the ASCII letters A-Z only, shared by the associative
// array's lookup and its XML reader.
#pragma once

#include "kyn/platform/string.h"

namespace kyn::detail {

inline char16_t FoldAZ(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

inline String LowerAZ(StringView s) {
  String r(s);
  for (char16_t& c : r) c = FoldAZ(c);
  return r;
}

}  // namespace kyn::detail
