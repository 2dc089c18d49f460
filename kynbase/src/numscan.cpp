#include "kyn/kynbase/numscan.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

#include <string>

#include "kyn/univconst.h"

namespace kyn {

namespace {

// The decimal conversion must not depend on the process's LC_NUMERIC.
locale_t CLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

enum CharClass { kSep, kSign, kBlank, kDigit, kExp, kOther };

// Next state per state 1..8 and character class; 0 marks the two table cells
// that depend on ExpAllowed (6 when allowed, else 9).
constexpr int kNext[9][6] = {
    {},                          // unused
    {4, 2, 1, 3, -1, -1},        // 1 start
    {4, -1, -1, 3, -1, -1},      // 2 after sign
    {4, 9, 9, 3, 0, 9},          // 3 integer digits
    {-1, 9, 9, 5, 0, 9},         // 4 after separator
    {-1, 9, 9, 5, 0, 9},         // 5 fraction digits
    {-1, 7, -1, 8, -1, 9},       // 6 after exponent marker
    {-1, -1, -1, 8, -1, 9},      // 7 after exponent sign
    {9, 9, 9, 8, 9, 9},          // 8 exponent digits
};

bool InText(StringView Text, int64_t Pos) {
  return Pos >= 1 && static_cast<uint64_t>(Pos) <= Text.size();
}

}  // namespace

double ScanFPNum(StringView Text, bool ExpAllowed, int32_t DecSepMode, int32_t& ScanPos) {
  std::string num;
  int32_t expValue = 0;  // saturates above the limit, so the test below stays true
  constexpr int32_t kExpLimit = 4200;
  int state = 1;
  int64_t pos = ScanPos;  // 64 bits: stepping past INT32_MAX must not overflow
  while (state >= 1 && state <= 8) {
    char16_t c = u'Z';
    if (InText(Text, pos)) {
      c = Text[static_cast<size_t>(pos - 1)];
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    }
    ++pos;
    CharClass cls;
    if ((c == u'.' && (DecSepMode == 1 || DecSepMode == 3)) || (c == u',' && (DecSepMode == 2 || DecSepMode == 3)))
      cls = kSep;
    else if (c == u'+' || c == u'-') cls = kSign;
    else if (c == u' ') cls = kBlank;
    else if (c >= u'0' && c <= u'9') cls = kDigit;
    else if (c == u'E') cls = kExp;
    else cls = kOther;
    int next = kNext[state][cls];
    if (next == 0) next = ExpAllowed ? 6 : 9;
    if (cls == kDigit && next == 8) {
      const int32_t d = c - u'0';
      if (state != 8) expValue = d;  // the first exponent digit sets
      else if (expValue <= kExpLimit) expValue = expValue * 10 + d;  // later ones add
    }
    state = next;
    if (state >= 1 && state <= 8) {
      if (c == u',') c = u'.';
      if (expValue <= kExpLimit) num += static_cast<char>(c);
    }
  }
  long double value = 0;
  if (state == 9) {
    if (!num.empty() && num.back() == '.') num += '0';
    value = strtold_l(num.c_str(), nullptr, CLocale());
  }
  ScanPos = static_cast<int32_t>(pos - 1);
  if (value > uc_MaxDouble) value = uc_MaxDouble;
  else if (value < -uc_MaxDouble) value = -uc_MaxDouble;
  return static_cast<double>(value);
}

namespace {
void SkipBlanks(StringView Text, int32_t& ScanPos) {
  while (ScanPos >= 1 && static_cast<size_t>(ScanPos) < Text.size() && Text[static_cast<size_t>(ScanPos - 1)] == u' ')
    ++ScanPos;
}
}  // namespace

int32_t ScanDecimal(StringView Text, int32_t& ScanPos) {
  if (Text.empty()) return 0;
  SkipBlanks(Text, ScanPos);
  bool neg = false;
  if (InText(Text, ScanPos)) {
    const char16_t c = Text[static_cast<size_t>(ScanPos - 1)];
    if (c == u'-') { neg = true; ++ScanPos; }
    else if (c == u'+') ++ScanPos;
  }
  uint32_t v = 0;
  while (InText(Text, ScanPos)) {
    const char16_t c = Text[static_cast<size_t>(ScanPos - 1)];
    if (c < u'0' || c > u'9') break;
    v = v * 10u + static_cast<uint32_t>(c - u'0');
    ++ScanPos;
  }
  if (neg) v = 0u - v;
  return static_cast<int32_t>(v);
}

uint32_t ScanHexNum(StringView Text, int32_t& ScanPos) {
  uint32_t v = 0;
  SkipBlanks(Text, ScanPos);
  while (InText(Text, ScanPos)) {
    char16_t c = Text[static_cast<size_t>(ScanPos - 1)];
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    uint32_t d;
    if (c == u'$' && ScanPos == 1) {
      ++ScanPos;
      continue;
    }
    if (c >= u'0' && c <= u'9') d = c - u'0';
    else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
    else break;
    v = v * 16u + d;
    ++ScanPos;
  }
  return v;
}

String IntToHexStr(uint32_t Value, int Digits) {
  if (Digits < 1) Digits = 1;
  if (Digits > 8) Digits = 8;
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  String s(static_cast<size_t>(Digits), u'0');
  for (int i = Digits - 1; i >= 0; --i) {
    s[static_cast<size_t>(i)] = kHex[Value & 0xF];
    Value >>= 4;
  }
  return s;
}

}  // namespace kyn
