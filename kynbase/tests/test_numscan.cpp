// The numeric text scanners and the hexadecimal formatter.
#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "kyn/kynbase/numscan.h"
#include "kyn/univconst.h"

namespace {

using kyn::S;

const double kMax = static_cast<double>(kyn::uc_MaxDouble);

struct FPCase {
  const char* text;
  bool expAllowed;
  int mode;
  int start;
  double value;
  int end;
};

// Each row is a consequence of the scanner's state table.
const FPCase kFPCases[] = {
    {"  -12.5e3x", true, 3, 1, -12500, 10},
    {"-", true, 3, 1, 0, 2},
    {"", true, 3, 1, 0, 1},
    {"5.", true, 3, 1, 5, 3},
    {".5", true, 3, 1, 0.5, 3},
    {"1,5", true, 3, 1, 1.5, 4},
    {"1,5", true, 1, 1, 1, 2},     // comma ends the number after digits
    {",5", true, 1, 1, 0, 1},      // ... and is an error at the start
    {"1.5", true, 2, 1, 1, 2},     // comma-only mode: the full stop ends
    {"1.5", true, 0, 1, 1, 2},     // no separator at all
    {"7.5", true, 9, 1, 7, 2},     // unknown modes accept none
    {"1E400", true, 3, 1, kMax, 6},
    {"-1E400", true, 3, 1, -kMax, 7},
    {"1.5.3", true, 3, 1, 0, 4},   // a second separator is an error
    {"1.5e3.2", true, 3, 1, 1500, 6},  // a separator after exponent digits ends
    {"12+3", true, 3, 1, 12, 3},   // a sign after digits ends
    {"- 5", true, 3, 1, 0, 2},     // blank after the sign: error
    {"1e 5", true, 3, 1, 0, 3},    // blank after the exponent marker: error
    {"1e- 5", true, 3, 1, 0, 4},   // blank after the exponent sign: error
    {"1e5 7", true, 3, 1, 1e5, 4}, // blank after exponent digits ends
    {"2 3", true, 3, 1, 2, 2},
    {"+-1", true, 3, 1, 0, 2},     // second sign: error
    {"e5", true, 3, 1, 0, 1},      // exponent marker at the start: error
    {"-e5", true, 3, 1, 0, 2},     // ... or right after the sign
    {"1e5", false, 3, 1, 1, 2},    // without exponents E ends the number
    {"1.e5", false, 3, 1, 1, 3},
    {".E5", true, 3, 1, 0, 4},     // completes; no mantissa digit reads as 0
    {"1E", true, 3, 1, 1, 3},
    {"1E-x", true, 3, 1, 1, 4},
    {"1e+2", true, 3, 1, 100, 5},
    {"1e2e3", true, 3, 1, 100, 4}, // a second marker ends
    {"1e+-2", true, 3, 1, 0, 4},
    {"1E5000", true, 3, 1, kMax, 7},
    {"1E-5000", true, 3, 1, 0, 8},
    {"1E4200", true, 3, 1, kMax, 7},
    {"1E-4201", true, 3, 1, 0, 8},         // read as 1E-420
    {"1E-0000000000005", true, 3, 1, 1e-5, 17},  // leading zeros keep the value low
    {"\t1", true, 3, 1, 0, 1},     // only the blank is skipped
    {"x 3.25", true, 3, 2, 3.25, 7},
    {"3.25", true, 3, 5, 0, 5},    // at the end: nothing to read
    {"3.25", true, 3, 9, 0, 9},    // beyond the end: nothing read, position kept
    {"3.25", true, 3, 0, 0, 0},    // below 1: likewise
    {"3.25", true, 3, -7, 0, -7},
    {"1e-400", true, 3, 1, 0, 7},
    {"4.9406564584124654e-324", true, 3, 1, 4.9406564584124654e-324, 24},
    {"1.7976931348623157e308", true, 3, 1, kMax, 23},  // above uc_MaxDouble: clamped
    {"0.000123", true, 3, 1, 0.000123, 9},
    {"12345678901234567", true, 3, 1, 12345678901234567.0, 18},
};

TEST(ScanFPNum, StateTableConsequences) {
  for (const FPCase& c : kFPCases) {
    int pos = c.start;
    const double v = kyn::ScanFPNum(S(c.text), c.expAllowed, c.mode, pos);
    EXPECT_EQ(v, c.value) << '"' << c.text << "\" mode " << c.mode;
    EXPECT_EQ(pos, c.end) << '"' << c.text << "\" mode " << c.mode;
  }
}

TEST(ScanFPNum, ReadsSeveralNumbersInSequence) {
  const kyn::String text = u"1.5 -2,25 3e2";
  int pos = 1;
  EXPECT_EQ(kyn::ScanFPNum(text, true, 3, pos), 1.5);
  EXPECT_EQ(kyn::ScanFPNum(text, true, 3, pos), -2.25);
  EXPECT_EQ(kyn::ScanFPNum(text, true, 3, pos), 300);
  EXPECT_EQ(pos, static_cast<int>(text.size()) + 1);
}

TEST(ScanFPNum, HugeInputsStayBounded) {
  kyn::String digits(10000, u'9');
  int pos = 1;
  EXPECT_EQ(kyn::ScanFPNum(digits, true, 3, pos), kMax);
  EXPECT_EQ(pos, 10001);
  kyn::String tiny = u"0." + kyn::String(10000, u'0') + u"1";
  pos = 1;
  EXPECT_EQ(kyn::ScanFPNum(tiny, true, 3, pos), 0.0);
  kyn::String longExp = u"1e" + kyn::String(5000, u'7');
  pos = 1;
  EXPECT_EQ(kyn::ScanFPNum(longExp, true, 3, pos), kMax);
  EXPECT_EQ(pos, 5003);
}

// The value is the C library's conversion of the collected text to 80 bits,
// then rounded to double; round-trip texts of random doubles and short decimal
// texts must match it exactly.
TEST(ScanFPNum, AgreesWithTheCLibraryConversion) {
  std::mt19937_64 rng(12345);
  std::uniform_int_distribution<int> digitsDist(1, 20), expDist(-40, 40), digit(0, 9);
  char buf[64];
  for (int i = 0; i < 20000; ++i) {
    std::string t;
    if (i % 2) {
      double d;
      do {
        uint64_t bits = rng();
        std::memcpy(&d, &bits, sizeof d);
      } while (!std::isfinite(d));
      std::snprintf(buf, sizeof buf, "%.*g", static_cast<int>(rng() % 19) + 1, d);
      t = buf;
    } else {
      t.append(rng() % 3, ' ');
      if (rng() & 1) t += (rng() & 1) ? '-' : '+';
      t.append(rng() % 4, '0');
      const int n = digitsDist(rng);
      const int point = static_cast<int>(rng() % static_cast<unsigned>(n + 1));
      for (int k = 0; k < n; ++k) {
        if (k == point) t += '.';
        t += static_cast<char>('0' + digit(rng));
      }
      if (rng() & 1) t += "e" + std::to_string(expDist(rng));
    }
    long double ref = strtold(t.c_str(), nullptr);
    if (ref > kyn::uc_MaxDouble) ref = kyn::uc_MaxDouble;
    if (ref < -kyn::uc_MaxDouble) ref = -kyn::uc_MaxDouble;
    int pos = 1;
    const double v = kyn::ScanFPNum(S(t), true, 3, pos);
    ASSERT_EQ(v, static_cast<double>(ref)) << t;
    ASSERT_EQ(pos, static_cast<int>(t.size()) + 1) << t;
  }
}

// Texts close to the midpoint between two doubles, where rounding first to
// 80 bits and then to double must be followed exactly.
TEST(ScanFPNum, NearMidpointsBetweenDoubles) {
  std::mt19937_64 rng(777);
  char buf[64];
  for (int i = 0; i < 20000; ++i) {
    double d;
    do {
      uint64_t bits = rng() & 0x7FEFFFFFFFFFFFFFULL;
      std::memcpy(&d, &bits, sizeof d);
    } while (!std::isnormal(d) || d > 1e300);
    const long double mid = (static_cast<long double>(d) + std::nextafter(d, HUGE_VAL)) / 2;
    std::snprintf(buf, sizeof buf, "%.*Le", static_cast<int>(rng() % 4) + 15, mid);
    int pos = 1;
    const double v = kyn::ScanFPNum(S(buf), true, 3, pos);
    ASSERT_EQ(v, static_cast<double>(strtold(buf, nullptr))) << buf;
  }
}

TEST(ScanFPNum, IgnoresTheProcessLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old ? old : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale installed";
  int pos = 1;
  const double v = kyn::ScanFPNum(u"2.5", true, 3, pos);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(v, 2.5);
}

struct IntCase {
  const char* text;
  int start;
  int64_t value;
  int end;
};

template <size_t N, typename Scanner>
void ExpectIntCases(const IntCase (&cases)[N], Scanner scan) {
  for (const IntCase& c : cases) {
    int pos = c.start;
    EXPECT_EQ(static_cast<int64_t>(scan(S(c.text), pos)), c.value) << '"' << c.text << '"';
    EXPECT_EQ(pos, c.end) << '"' << c.text << '"';
  }
}

TEST(ScanDecimal, Cases) {
  const IntCase cases[] = {
      {" +42abc", 1, 42, 5},
      {"2147483648", 1, -2147483648LL, 11},  // wraps
      {"4294967297", 1, 1, 11},
      {"-17", 1, -17, 4},
      {"--17", 1, 0, 2},
      {"abc", 1, 0, 1},
      {"", 5, 0, 5},             // empty text: position untouched
      {"   ", 1, 0, 3},          // the last character is never skipped
      {"  7", 1, 7, 4},
      {"12 34", 3, 34, 6},
      {"12", 7, 0, 7},           // outside the text
      {"12", 0, 0, 0},
      {"12", -3, 0, -3},
      {"-", 1, 0, 2},
  };
  ExpectIntCases(cases, kyn::ScanDecimal);
}

TEST(ScanHexNum, Cases) {
  const IntCase cases[] = {
      {"$00FF00", 1, 0x00FF00, 8},
      {" $FF", 1, 0, 2},          // the dollar only counts at position 1
      {"ff", 1, 255, 3},
      {"$$1", 1, 0, 2},
      {"1$2", 1, 1, 2},
      {"123456789", 1, 0x23456789, 10},  // only the last eight digits' bits remain
      {"FFFFFFFF", 1, 0xFFFFFFFF, 9},
      {"-1", 1, 0, 1},            // no sign
      {"  aBcG", 1, 0xABC, 6},
      {"", 1, 0, 1},
      {"  ", 1, 0, 2},
      {"$", 1, 0, 2},
      {"AB", 9, 0, 9},
      {"AB", 0, 0, 0},
  };
  ExpectIntCases(cases, kyn::ScanHexNum);
}

TEST(IntToHexStr, ClampsTheDigitCount) {
  EXPECT_EQ(kyn::IntToHexStr(255, 4), u"00FF");
  EXPECT_EQ(kyn::IntToHexStr(305419896, 4), u"5678");
  EXPECT_EQ(kyn::IntToHexStr(0xABCDEF12, 0), u"2");
  EXPECT_EQ(kyn::IntToHexStr(0xABCDEF12, -5), u"2");
  EXPECT_EQ(kyn::IntToHexStr(0xABCDEF12, 12), u"ABCDEF12");
  EXPECT_EQ(kyn::IntToHexStr(0, 8), u"00000000");
}

}  // namespace
