// A helper the library's readers share (not part of the umbrella header): an
// incremental search for a pattern in text that arrives character by
// character, ignoring the case of the ASCII letters (Knuth-Morris-Pratt):
// feeding n characters costs O(n) however the text is split.
#pragma once

#include <cstddef>
#include <vector>

#include "kyn/platform/string.h"

namespace kyn::detail {

class TFoldMatcher {
 public:
  // An empty pattern never matches.
  explicit TFoldMatcher(StringView Pattern) : FPat(AsciiLowerCase(Pattern)), FFail(FPat.size(), 0) {
    size_t k = 0;
    for (size_t i = 1; i < FPat.size(); ++i) {
      while (k > 0 && FPat[i] != FPat[k]) k = FFail[k - 1];
      if (FPat[i] == FPat[k]) ++k;
      FFail[i] = k;
    }
  }

  size_t Length() const { return FPat.size(); }

  // Takes the next character of the text; true when an occurrence of the
  // pattern ends with it.
  bool Feed(char16_t c) {
    if (FPat.empty()) return false;
    c = AsciiLower(c);
    while (FMatched > 0 && c != FPat[FMatched]) FMatched = FFail[FMatched - 1];
    if (c == FPat[FMatched]) ++FMatched;
    if (FMatched == FPat.size()) {
      FMatched = FFail[FMatched - 1];
      return true;
    }
    return false;
  }

 private:
  String FPat;
  std::vector<size_t> FFail;
  size_t FMatched = 0;
};

}  // namespace kyn::detail
