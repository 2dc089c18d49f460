// The number formatters with arbitrary values (NaN, infinities, denormals
// included), widths and decimal counts. Invariants: strff with decimals -2 is
// exactly |width| characters for 10 <= |width| <= 26 (asterisks or not); a
// fixed-form result reads back to the value within half a unit of its last
// decimal; strffForcePlus marks non-negative values with a leading "+";
// AutoFormatData reads back within its significant digits; every text stays
// within the documented size limits.
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_helpers.h"
#include "kyn/stringl/numformat.h"

namespace {

std::string Narrow(const kyn::String& s) {
  std::string r;
  for (char16_t c : s) {
    KYN_FUZZ_FAIL_IF(c > 127);  // the formatters write ASCII only
    r += static_cast<char>(c);
  }
  return r;
}

// Text to long double, ignoring surrounding blanks; false when not a number.
bool ReadBack(const std::string& s, long double& v) {
  char* end = nullptr;
  v = strtold(s.c_str(), &end);
  while (*end == ' ') ++end;
  return end != s.c_str() && *end == '\0';
}

constexpr size_t kMaxText = 10000 + 5000 + 4933 + 2;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const uint8_t mode = in.take<uint8_t>();
  long double value;
  if (mode & 1) {
    value = in.take<double>();
  } else {
    volatile long double raw = in.take<long double>();
    value = raw + 0.0L;  // unsupported x87 encodings become NaN
  }
  int32_t width = in.take<int32_t>();
  int32_t decimals = in.take<int32_t>();
  if (!(mode & 2)) width = width % 40;
  if (!(mode & 4)) decimals = decimals % 30;
  const int32_t digits = in.take<int8_t>();

  const std::string s = Narrow(kyn::strff(value, width, decimals));
  KYN_FUZZ_FAIL_IF(s.size() > kMaxText);

  const int64_t w = std::llabs(static_cast<int64_t>(width));
  const std::string sci = Narrow(kyn::strff(value, width, -2));
  KYN_FUZZ_FAIL_IF(w >= 10 && w <= 26 && sci.size() != static_cast<size_t>(w));

  if (decimals >= 0 && decimals <= 30 && std::isfinite(value) && std::fabs(value) < 1e30L) {
    long double back;
    KYN_FUZZ_FAIL_IF(!ReadBack(s, back));
    const long double tolerance = 0.5L * std::pow(10.0L, -decimals) * (1 + 1e-12L) + std::fabs(value) * 1e-18L;
    KYN_FUZZ_FAIL_IF(std::fabs(back - value) > tolerance);
  }

  const std::string plus = Narrow(kyn::strffForcePlus(value, width, decimals));
  if (value >= 0) {
    const size_t first = plus.find_first_not_of(' ');
    KYN_FUZZ_FAIL_IF(first == std::string::npos || plus[first] != '+');
  } else {
    KYN_FUZZ_FAIL_IF(plus != s);
  }
  KYN_FUZZ_FAIL_IF(plus.size() > s.size() + 1);

  const double d = static_cast<double>(value);
  KYN_FUZZ_FAIL_IF(Narrow(kyn::FormatData(d, width, decimals)).size() > kMaxText);
  KYN_FUZZ_FAIL_IF(Narrow(kyn::SigDigStr(d, width, digits, (mode & 8) != 0)).size() > kMaxText);

  const std::string autoText = Narrow(kyn::AutoFormatData(d, digits));
  const int clamped = digits < 2 ? 2 : (digits > 16 ? 16 : digits);
  long double back;
  if (std::isfinite(d) && autoText.find('*') == std::string::npos) {
    KYN_FUZZ_FAIL_IF(!ReadBack(autoText, back));
    const long double bound = std::fabs(static_cast<long double>(d)) * std::pow(10.0L, 2 - clamped);
    KYN_FUZZ_FAIL_IF(std::fabs(back - d) > bound);
  }

  const std::string t = Narrow(kyn::TimeString(d, mode));
  KYN_FUZZ_FAIL_IF(mode <= 5 && t.empty());
  return 0;
}
