// Number formatting: numbers, truth values and durations as text for tables,
// axis labels, reports and files. Nothing here raises: every input gives some
// text.
//
// The basic formatter turns a value into text in a field of width w >= 0:
//  - fixed form (decimals d >= 0): "-" for negative values, the integer digits
//    (at least "0"), and for d > 0 a "." with exactly d digits, rounded to
//    nearest; right-aligned by blanks, never cut;
//  - scientific form (d < 0): a sign position (blank or "-"), one digit, ".",
//    w - 9 further digits, "E", the exponent sign and four exponent digits;
//    for 10 <= w <= 26 exactly w characters.
// Both forms come from the C library's formatting of long double. Choices
// beyond that:
//  - Negative zero is formatted as zero.
//  - The scientific form shows at least 1 and at most 17 digits after the
//    point: below w = 10 the text is 10 characters (longer than the field),
//    above w = 26 it keeps 18 significant digits and is right-aligned by
//    blanks.
//  - Field widths are limited to 10000 characters (a larger |width| counts as
//    10000) and the fixed form to 5000 decimals, so no argument can make the
//    text absurdly large.
//  - NaN and infinities are spelled "NAN", "INF" and "-INF", right-aligned by
//    blanks in |width| characters, whatever the decimals; strff neither puts
//    asterisks nor padding zeros into them, and strffForcePlus gives "+INF".
#pragma once

#include <cstdint>

#include "kyn/platform/string.h"

namespace kyn {

// value in a field of |width| characters. decimals -2: the scientific form
// with a two-digit exponent, exactly |width| characters for |width| >= 8, or
// |width| asterisks when the exponent needs three or more digits. Other
// decimals: the basic formatter (fixed for >= 0, scientific with a four-digit
// exponent for other negative values). A negative width pads with zeros
// instead of blanks, a minus sign moving to the front.
String strff(long double value, int32_t width, int32_t decimals);

// As strff, with a "+" on non-negative values: it replaces the last leading
// blank, or a leading padding zero, or is put in front.
String strffForcePlus(long double value, int32_t width, int32_t decimals);

// Fixed form with the given decimals when the value fits nine digits in all
// and is not below one unit of the last place; otherwise (and for decimals
// outside 0..8, and for NaN and infinities) strff(value, width +- 6, -2), the
// scientific form six characters wider (a negative width grows to width - 6
// and keeps its zero padding). Zero is always fixed for decimals 0..8.
String FormatData(double value, int32_t width, int32_t decimals);

// value with `digits` significant digits in a field of `width`, in the fixed
// form when it fits, else strff(value, max(width, digits + 6), -2). Zero gives
// the basic formatter with digits - 1 decimals. NaN and infinities take the
// scientific branch. A negative width zero-pads as in strff.
String SigDigStr(double value, int32_t width, int32_t digits);
// As above; with trim true the blanks at both ends are removed.
String SigDigStr(double value, int32_t width, int32_t digits, bool trim);

// value with `digits` (clamped to 2..16) significant digits and no padding:
// fixed for magnitudes from 0.1 to below 10^(digits-1), else the scientific
// form with a two-digit exponent and a leading blank for non-negative values.
String AutoFormatData(double value, int32_t digits);

// One of eight spellings of a truth value: 0 TRUE/FALSE, 1 T/F, 2 .T./.F.,
// 3 1/0, 4 -1/0, 5 FF/00, 6 YES/NO, 7 GOOD/BAD; any other kind as 0.
String BoolToStr(bool value, int32_t kind);

// A duration in seconds as text. With hh/mm/ss/cc two-digit fields (a
// leading "0" below 10) and H a blank-padded field of width 2:
//   0 "hh:mm:ss.cc"   1 "hh:mm:ss"   2 "Hhmm"   3 "Hhmm'ss" and a double quote
//   4 "hh:mm"         5 12-hour clock "H:mm" then "a" or "p"
// Other layouts give "". Negative durations and NaN count as 0. Hours are not
// limited to 16 bits: 65536 hours or more are shown with all their digits
// ("65536:00:00"); durations above 1e18 seconds (and +infinity) count as 1e18
// seconds.
String TimeString(double seconds, uint8_t layout);

// WhenTrue if value is true, else WhenFalse.
String BinString(bool value, StringView WhenTrue, StringView WhenFalse);

}  // namespace kyn
