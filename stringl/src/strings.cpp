#include "kyn/stringl/strings.h"

namespace kyn {

namespace {
constexpr TCharSet256 MakeWordSeps() {
  TCharSet256 s{};
  constexpr char16_t members[] = u"\x01\n\r \"#%'()*+,-./:;<=>[\\]{}";
  for (char16_t c : members) {
    if (c == 0) continue;  // the terminator; code 0 is added below
    if (c == 1) c = 0;     // stands for code 0 inside the literal
    s.bits[c >> 3] = static_cast<uint8_t>(s.bits[c >> 3] | (1u << (c & 7)));
  }
  return s;
}
}  // namespace

const TCharSet256 WordSeps = MakeWordSeps();

String StripLTBlanks(StringView s) {
  const size_t b = s.find_first_not_of(u' ');
  if (b == StringView::npos) return String();
  const size_t e = s.find_last_not_of(u' ');
  return String(s.substr(b, e - b + 1));
}

String ReplaceCharInString(StringView s, char16_t OldChar, char16_t NewChar) {
  String r(s);
  for (char16_t& c : r)
    if (c == OldChar) c = NewChar;
  return r;
}

}  // namespace kyn
