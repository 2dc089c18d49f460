// String toolbox. Strings are kyn::String (UTF-16); positions count from 1 and
// 0 means "not found". A blank is the character with code 32 only.
#pragma once

#include <array>
#include <cstdint>

#include "kyn/platform/string.h"

namespace kyn {

// A set of character codes 0..255, bit c set for code c. Characters above
// 255 are never members.
struct TCharSet256 {
  std::array<uint8_t, 32> bits{};
  constexpr bool Contains(char16_t c) const { return c < 256 && (bits[c >> 3] >> (c & 7)) & 1; }
};

// The word separators: codes 0, 10, 13, the blank, the double quote and
// #%'()*+,-./:;<=>[\]{}.
extern const TCharSet256 WordSeps;

// s without leading and trailing blanks; a string of blanks only gives "".
String StripLTBlanks(StringView s);
// s with every OldChar replaced by NewChar.
String ReplaceCharInString(StringView s, char16_t OldChar, char16_t NewChar);

}  // namespace kyn
