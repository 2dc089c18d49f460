#include "kyn/platform/variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace kyn {

namespace {

String Ascii(const char* s, size_t n) { return String(s, s + n); }

String ShortestDouble(double d, bool single) {
  char buf[64];
  std::to_chars_result r = single ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(d))
                                  : std::to_chars(buf, buf + sizeof buf, d);
  return Ascii(buf, static_cast<size_t>(r.ptr - buf));
}

// Civil date from a day count since 1970-01-01 (proleptic Gregorian).
void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += (m <= 2);
}

String DateText(double days) {
  if (!std::isfinite(days) || std::fabs(days) > 1e9) return ShortestDouble(days, false);
  // Day 0 is 1899-12-30, which is 25569 days before 1970-01-01.
  double whole = std::floor(days);
  int64_t secs = std::llround((days - whole) * 86400.0);
  if (secs >= 86400) { secs -= 86400; whole += 1; }
  int64_t y; unsigned m, d;
  CivilFromDays(static_cast<int64_t>(whole) - 25569, y, m, d);
  char buf[64];
  int n;
  if (secs == 0)
    n = std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u", static_cast<long long>(y), m, d);
  else
    n = std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u %02d:%02d:%02d", static_cast<long long>(y), m, d,
                      static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60));
  return Ascii(buf, static_cast<size_t>(n));
}

String CurrencyText(int64_t units) {
  const bool neg = units < 0;
  const uint64_t a = neg ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  std::string s = std::to_string(a / 10000);
  uint64_t frac = a % 10000;
  if (frac != 0) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04u", static_cast<unsigned>(frac));
    std::string f(buf);
    while (!f.empty() && f.back() == '0') f.pop_back();
    s += "." + f;
  }
  if (neg) s.insert(s.begin(), '-');
  return Ascii(s.data(), s.size());
}

[[noreturn]] void Fail(const char* what) { throw EVariantError(std::string("Could not convert variant: ") + what); }

double ParseNumber(const String& s) {
  std::string a;
  for (char16_t c : s) {
    if (c > 127) Fail("text is not a number");
    a += static_cast<char>(c);
  }
  size_t b = a.find_first_not_of(' ');
  size_t e = a.find_last_not_of(' ');
  if (b == std::string::npos) Fail("text is not a number");
  const char* first = a.data() + b;
  const char* last = a.data() + e + 1;
  if (*first == '+') ++first;
  double v = 0;
  auto r = std::from_chars(first, last, v);
  if (r.ec != std::errc() || r.ptr != last) Fail("text is not a number");
  return v;
}

}  // namespace

Variant Variant::Currency(double amount) {
  return FromCurrencyUnits(std::llround(amount * 10000.0));
}

bool Variant::IsNumeric() const {
  switch (FType) {
    case TVarType::ShortInt: case TVarType::SmallInt: case TVarType::Integer: case TVarType::Int64:
    case TVarType::Byte: case TVarType::Word: case TVarType::LongWord: case TVarType::UInt64:
    case TVarType::Single: case TVarType::Double: case TVarType::Currency:
      return true;
    default:
      return false;
  }
}

String Variant::ToString() const {
  switch (FType) {
    case TVarType::Empty: return String();
    case TVarType::Null: Fail("Null to string");
    case TVarType::Boolean: return FU.b ? u"True" : u"False";
    case TVarType::ShortInt: case TVarType::SmallInt: case TVarType::Integer: case TVarType::Int64: {
      std::string s = std::to_string(FU.i);
      return Ascii(s.data(), s.size());
    }
    case TVarType::Byte: case TVarType::Word: case TVarType::LongWord: case TVarType::UInt64: {
      std::string s = std::to_string(FU.u);
      return Ascii(s.data(), s.size());
    }
    case TVarType::Single: return ShortestDouble(FU.d, true);
    case TVarType::Double: return ShortestDouble(FU.d, false);
    case TVarType::Currency: return CurrencyText(FU.i);
    case TVarType::Date: return DateText(FU.d);
    case TVarType::String: return FStr;
  }
  return String();
}

double Variant::ToDouble() const {
  switch (FType) {
    case TVarType::Empty: return 0;
    case TVarType::Null: Fail("Null to number");
    case TVarType::Boolean: return FU.b ? 1 : 0;
    case TVarType::ShortInt: case TVarType::SmallInt: case TVarType::Integer: case TVarType::Int64:
      return static_cast<double>(FU.i);
    case TVarType::Byte: case TVarType::Word: case TVarType::LongWord: case TVarType::UInt64:
      return static_cast<double>(FU.u);
    case TVarType::Single: case TVarType::Double: case TVarType::Date: return FU.d;
    case TVarType::Currency: return static_cast<double>(FU.i) / 10000.0;
    case TVarType::String: return ParseNumber(FStr);
  }
  return 0;
}

int64_t Variant::ToInt64() const {
  switch (FType) {
    case TVarType::ShortInt: case TVarType::SmallInt: case TVarType::Integer: case TVarType::Int64:
      return FU.i;
    case TVarType::Byte: case TVarType::Word: case TVarType::LongWord: case TVarType::UInt64:
      return static_cast<int64_t>(FU.u);
    default: {
      const double d = ToDouble();
      if (!(d > -9.3e18 && d < 9.3e18)) Fail("number out of the 64-bit range");
      return std::llround(d);
    }
  }
}

bool Variant::ToBool() const {
  if (FType == TVarType::Boolean) return FU.b;
  if (FType == TVarType::String) {
    if (FStr == u"True" || FStr == u"true" || FStr == u"TRUE") return true;
    if (FStr == u"False" || FStr == u"false" || FStr == u"FALSE") return false;
  }
  return ToDouble() != 0;
}

bool Variant::operator==(const Variant& o) const {
  if (FType != o.FType) return false;
  switch (FType) {
    case TVarType::Empty: case TVarType::Null: return true;
    case TVarType::Boolean: return FU.b == o.FU.b;
    case TVarType::Single: case TVarType::Double: case TVarType::Date: return FU.d == o.FU.d;
    case TVarType::String: return FStr == o.FStr;
    default: return FU.u == o.FU.u;
  }
}

}  // namespace kyn
