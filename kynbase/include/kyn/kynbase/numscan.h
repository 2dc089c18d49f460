// Numeric text scanners and the fixed-width hexadecimal formatter shared by
// the whole library.
//
// The scanners take the text and a 1-based position ScanPos (by reference)
// where scanning starts; on return ScanPos indexes the character that ended
// the number, so several numbers can be read from one string in sequence.
// Valid start positions are 1..Length(Text)+1. A position below 1 is treated
// like one past the end: nothing is read and ScanPos stays where it was.
#pragma once

#include <cstdint>

#include "kyn/platform/string.h"

namespace kyn {

// Floating-point number by the library's state machine. DecSepMode: 1 accepts
// "." as decimal separator, 2 ",", 3 either, anything else none. Leading
// blanks are skipped; the exponent stops growing once its digits exceed 4200.
// The value is computed in 80 bits, clamped to +-uc_MaxDouble and returned as
// a double; malformed input gives 0 with ScanPos on the offending character.
// A text without mantissa digits that still completes (".E5", "-.") converts
// as the C library reads it: to 0.
double ScanFPNum(StringView Text, bool ExpAllowed, int32_t DecSepMode, int32_t& ScanPos);

// Decimal integer: skips blanks (never the last character), an optional sign,
// then digits, wrapping modulo 2^32. Text without digits gives 0.
int32_t ScanDecimal(StringView Text, int32_t& ScanPos);

// Hexadecimal integer: skips blanks like ScanDecimal; a "$" is skipped only
// at position 1; digits 0-9, A-F, a-f, wrapping modulo 2^32. No sign.
uint32_t ScanHexNum(StringView Text, int32_t& ScanPos);

// Exactly Digits (clamped to 1..8) upper-case hexadecimal digits of the low
// 4*Digits bits of Value, leading zeros included.
String IntToHexStr(uint32_t Value, int Digits);

}  // namespace kyn
