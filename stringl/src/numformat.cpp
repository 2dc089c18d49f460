#include "kyn/stringl/numformat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "kyn/univconst.h"

namespace kyn {

namespace {

constexpr int64_t kMaxWidth = 10000;
constexpr int64_t kMaxDecimals = 5000;
constexpr int kMinSciDigits = 1;   // digits after the point, scientific form
constexpr int kMaxSciDigits = 17;

int ClampWidth(int64_t width) {
  if (width < 0) width = -width;
  return static_cast<int>(std::min(width, kMaxWidth));
}

// A signed width moved away from zero by `extra`, within the int32 range.
int32_t WidenSigned(int64_t width, int64_t extra) {
  const int64_t w = width < 0 ? width - extra : width + extra;
  return static_cast<int32_t>(std::clamp<int64_t>(w, -kMaxWidth, kMaxWidth));
}

String Widen(const char* s, size_t n) {
  String r(n, u'\0');
  for (size_t i = 0; i < n; ++i) r[i] = static_cast<unsigned char>(s[i]);
  return r;
}

// Text right-aligned in a field of w characters.
std::string RightAligned(std::string_view text, int w) {
  std::string r;
  if (static_cast<size_t>(w) > text.size()) r.assign(static_cast<size_t>(w) - text.size(), ' ');
  r += text;
  return r;
}

std::string NonFinite(long double v, int w) {
  return RightAligned(std::isnan(v) ? "NAN" : (v < 0 ? "-INF" : "INF"), w);
}

// snprintf into a string, with a stack buffer for the common short results.
template <typename... Args>
std::string Print(const char* format, Args... args) {
  char buf[128];
  const int n = std::snprintf(buf, sizeof buf, format, args...);
  if (n < 0) return {};
  if (static_cast<size_t>(n) < sizeof buf) return std::string(buf, static_cast<size_t>(n));
  std::string big(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), format, args...);
  big.resize(static_cast<size_t>(n));
  return big;
}

std::string Fixed(long double v, int w, int64_t decimals) {
  const int d = static_cast<int>(std::min(decimals, kMaxDecimals));
  return Print("%*.*Lf", w, d, v);
}

// Sign position, one digit, ".", w - 9 digits, "E", sign, four digits.
std::string Scientific(long double v, int w) {
  const int digits = std::clamp(w - 9, kMinSciDigits, kMaxSciDigits);
  char buf[64];
  const int n = std::snprintf(buf, sizeof buf, "%.*LE", digits, std::fabs(v));
  const char* e = static_cast<const char*>(std::memchr(buf, 'E', static_cast<size_t>(n)));
  const size_t mant = static_cast<size_t>(e - buf);
  const size_t expDigits = static_cast<size_t>(n) - mant - 2;
  std::string s;
  s += v < 0 ? '-' : ' ';
  s.append(buf, mant);
  s += 'E';
  s += e[1];
  if (expDigits < 4) s.append(4 - expDigits, '0');
  s.append(e + 2, expDigits);
  if (s.size() < static_cast<size_t>(w)) s.insert(0, static_cast<size_t>(w) - s.size(), ' ');
  return s;
}

// The basic formatter for a finite value.
std::string Basic(long double v, int w, int64_t decimals) {
  if (v == 0) v = 0;  // no negative zero
  return decimals >= 0 ? Fixed(v, w, decimals) : Scientific(v, w);
}

// Zero padding for a negative width: leading blanks become "0"; a minus sign
// after them moves to the front.
void ZeroPad(std::string& s) {
  size_t k = 0;
  while (k < s.size() && s[k] == ' ') s[k++] = '0';
  if (k < s.size() && s[k] == '-') {
    s[k] = '0';
    s[0] = '-';
  }
}

// strff without the two-digit exponent: the basic formatter in |width|, then
// zero padding for a negative width.
std::string Field(long double v, int64_t width, int64_t decimals) {
  const int w = ClampWidth(width);
  if (!std::isfinite(v)) return NonFinite(v, w);
  std::string s = Basic(v, w, decimals);
  if (width < 0) ZeroPad(s);
  return s;
}

std::string Strff(long double v, int32_t width, int32_t decimals) {
  if (decimals != -2 || !std::isfinite(v)) return Field(v, width, decimals);
  const int w = ClampWidth(width);
  std::string s = Basic(v, w + 2, -1);
  const size_t p = s.find('E');
  if (p != std::string::npos && s.size() == p + 6) {
    const bool fits = s[p + 2] == '0' && s[p + 3] == '0';
    s.erase(p + 2, 2);
    if (!fits) s.assign(s.size(), '*');
  }
  if (width < 0) ZeroPad(s);
  return s;
}

String ToString(const std::string& s) { return Widen(s.data(), s.size()); }

}  // namespace

String strff(long double value, int32_t width, int32_t decimals) {
  return ToString(Strff(value, width, decimals));
}

String strffForcePlus(long double value, int32_t width, int32_t decimals) {
  std::string s = Strff(value, width, decimals);
  if (value < 0 || std::isnan(value)) return ToString(s);
  size_t blanks = 0;
  while (blanks + 1 < s.size() && s[blanks] == ' ') ++blanks;
  if (blanks > 0)
    s[blanks - 1] = '+';
  else if (s.size() >= 2 && s[0] == '0' && s[1] >= '0' && s[1] <= '9')
    s[0] = '+';
  else
    s.insert(s.begin(), '+');
  return ToString(s);
}

String FormatData(double value, int32_t width, int32_t decimals) {
  // One unit below the tenth digit, and one unit of the last decimal place.
  static constexpr long double kUpper[9] = {999999999.0L, 9999999.9L, 999999.99L,
                                            99999.999L,   9999.9999L, 999.99999L,
                                            99.999999L,   9.9999999L, 0.99999999L};
  static constexpr long double kLower[9] = {1.0L,    0.1L,     0.01L,     0.001L,    0.0001L,
                                            0.00001L, 0.000001L, 0.0000001L, 0.00000001L};
  if (decimals >= 0 && decimals <= 8) {
    const long double a = std::fabs(static_cast<long double>(value));
    const bool scientific = std::isnan(a) || a > kUpper[decimals] || (a > 0 && a < kLower[decimals]);
    if (!scientific) return strff(value, width, decimals);
  }
  return strff(value, WidenSigned(width, 6), -2);
}

String SigDigStr(double value, int32_t width, int32_t digits) {
  if (value == 0) return ToString(Field(0, width, static_cast<int64_t>(digits) - 1));
  const int64_t wideWidth = std::max<int64_t>(width, static_cast<int64_t>(digits) + 6);
  const auto wx = static_cast<int32_t>(std::min(wideWidth, kMaxWidth));
  if (!std::isfinite(value)) return strff(value, wx, -2);
  // Digits before the point for |value| >= 1; 0 or negative below.
  const long double lg = std::log(std::fabs(static_cast<long double>(value))) / uc_ln10;
  const int64_t e = static_cast<int64_t>(std::floor(lg + 1));
  if (digits < e) {
    if (static_cast<int64_t>(width) - 1 < e) return strff(value, wx, -2);
    return ToString(Field(value, width, 0));
  }
  if (e < static_cast<int64_t>(digits) - width + 3) return strff(value, wx, -2);
  return ToString(Field(value, width, digits - e));
}

String SigDigStr(double value, int32_t width, int32_t digits, bool trim) {
  String s = SigDigStr(value, width, digits);
  if (!trim) return s;
  const size_t first = s.find_first_not_of(u' ');
  if (first == String::npos) return String();
  return s.substr(first, s.find_last_not_of(u' ') - first + 1);
}

String AutoFormatData(double value, int32_t digits) {
  digits = std::clamp(digits, 2, 16);
  if (value == 0) return strff(0, 1, digits - 1);
  const double lg = static_cast<double>(std::log(std::fabs(static_cast<long double>(value))) / uc_ln10);
  if (digits - 1 > lg && lg > -1) {
    const int t = static_cast<int>(lg);  // toward zero
    return strff(value, 1, digits - t - 1);
  }
  return strff(value, digits + 6, -2);
}

String BoolToStr(bool value, int32_t kind) {
  static constexpr const char16_t* kSpellings[8][2] = {
      {u"FALSE", u"TRUE"}, {u"F", u"T"},   {u".F.", u".T."}, {u"0", u"1"},
      {u"0", u"-1"},       {u"00", u"FF"}, {u"NO", u"YES"},  {u"BAD", u"GOOD"}};
  if (kind < 0 || kind > 7) kind = 0;
  return kSpellings[kind][value ? 1 : 0];
}

String TimeString(double seconds, uint8_t layout) {
  constexpr double kMaxSeconds = 1e18;
  double x = seconds;
  if (!(x > 0)) x = 0;  // negative and NaN
  if (x > kMaxSeconds) x = kMaxSeconds;
  const auto whole = static_cast<uint64_t>(x);
  const uint64_t h = whole / 3600;
  const uint64_t m = whole % 3600 / 60;
  const uint64_t s = whole % 60;
  const auto c = static_cast<uint64_t>((x - std::floor(x)) * 100);
  // Appending (not prepending) keeps g++ 12 at -O3 free of a false -Wrestrict.
  auto padded = [](uint64_t n, char pad) { return std::string(n < 10 ? 1 : 0, pad) + std::to_string(n); };
  auto two = [&](uint64_t n) { return padded(n, '0'); };
  auto blank = [&](uint64_t n) { return padded(n, ' '); };
  std::string r;
  switch (layout) {
    case 0: r = two(h) + ':' + two(m) + ':' + two(s) + '.' + two(c); break;
    case 1: r = two(h) + ':' + two(m) + ':' + two(s); break;
    case 2: r = blank(h) + 'h' + two(m); break;
    case 3: r = blank(h) + 'h' + two(m) + '\'' + two(s) + '"'; break;
    case 4: r = two(h) + ':' + two(m); break;
    case 5: {
      const uint64_t clock = h == 0 ? 12 : (h > 12 ? h - 12 : h);
      r = blank(clock) + ':' + two(m) + (h < 12 ? 'a' : 'p');
      break;
    }
    default: break;
  }
  return ToString(r);
}

String BinString(bool value, StringView WhenTrue, StringView WhenFalse) {
  return String(value ? WhenTrue : WhenFalse);
}

}  // namespace kyn
