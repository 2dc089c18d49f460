// HexStrToColor on arbitrary text: blanks around the text do not matter, a
// plain run of up to eight hexadecimal digits reads as its value, and every
// value survives ColorToHexStr and back.
//
// Input: the first four bytes are a colour value; the rest is UTF-16 text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_helpers.h"
#include "kyn/kyncolors/colors.h"

namespace {

bool IsHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const auto value = in.take<uint32_t>();
  if (kyn::HexStrToColor(kyn::ColorToHexStr(value)) != value) __builtin_trap();
  if (kyn::HexStrToColor(u"$" + kyn::ColorToHexStr(value)) != value) __builtin_trap();

  const kyn::String text = in.rest16();
  const kyn::TColor c = kyn::HexStrToColor(text);
  if (kyn::HexStrToColor(u"  " + text + u"   ") != c) __builtin_trap();

  bool plain = !text.empty() && text.size() <= 8;
  std::string narrow;
  for (char16_t ch : text) {
    plain = plain && IsHexDigit(ch);
    narrow += static_cast<char>(ch & 0x7F);
  }
  if (plain && c != std::strtoul(narrow.c_str(), nullptr, 16)) __builtin_trap();
  return 0;
}
