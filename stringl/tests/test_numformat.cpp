// Number formatting: the examples and edge cases of every function, as tables.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "kyn/stringl/numformat.h"

namespace {

using kyn::StringToUtf8;

constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
constexpr long double kInf = std::numeric_limits<long double>::infinity();

struct FmtCase {
  long double value;
  int width;
  int decimals;
  const char* text;
};

TEST(Strff, Examples) {
  const FmtCase cases[] = {
      {3.14159L, 8, 2, "    3.14"},
      {3.14159L, -8, 2, "00003.14"},
      {-3.5L, -8, 2, "-0003.50"},
      {1234.56L, 10, -2, " 1.235E+03"},
      {1.5E120L, 8, -2, "********"},
      {3.14L, -8, -2, "03.1E+00"},
      {123456.7L, 3, 1, "123456.7"},
      {1234.56L, 12, -1, " 1.235E+0003"},     // scientific, four exponent digits
      {-1234.56L, 12, -7, "-1.235E+0003"},
      {0, 12, -1, " 0.000E+0000"},
      {0, 5, 0, "    0"},
      {-0.0L, 5, 1, "  0.0"},                  // negative zero is zero
      {0.25L, 0, 3, "0.250"},
      {-0.001L, 6, 2, " -0.00"},
      {9.9996L, 12, -1, " 1.000E+0001"},       // rounding carries into the exponent
      {1E100L, 10, -2, "**********"},
      {9.99E99L, 10, -2, " 9.990E+99"},
      {1E-99L, 10, -2, " 1.000E-99"},
      {9.9E-100L, 10, -2, "**********"},
      {9.9996E99L, 10, -2, "**********"},     // rounding carries the exponent to 100
      {-2.5E-5L, -12, -2, "-2.50000E-05"},
      {42, -12, -2, "04.20000E+01"},
      {-7, -1, 0, "-7"},
      {LDBL_TRUE_MIN, 12, -1, " 3.645E-4951"},
      {LDBL_MAX, 12, -1, " 1.190E+4932"},
      {1.5L, 4, -1, " 1.5E+0000"},             // narrow field: one digit after the point
      {1.0L / 3, 30, -1, "     3.33333333333333333E-0001"},  // wide field: 18 digits at most
  };
  for (const FmtCase& c : cases)
    EXPECT_EQ(StringToUtf8(kyn::strff(c.value, c.width, c.decimals)), c.text)
        << static_cast<double>(c.value) << " " << c.width << " " << c.decimals;
}

TEST(Strff, TwoDigitExponentFormIsExactlyTheWidth) {
  const long double values[] = {0, 1, -1, 3.14159L, -2.5E-7L, 6.02E23L, -9.999E99L, 1E-99L, 123456789.0L};
  for (int width = 10; width <= 26; ++width)
    for (long double v : values)
      for (int sign : {1, -1}) {
        const std::string s = StringToUtf8(kyn::strff(v, sign * width, -2));
        EXPECT_EQ(s.size(), static_cast<size_t>(width)) << s;
        EXPECT_EQ(s.find('*'), std::string::npos) << s;
        EXPECT_EQ(s[s.size() - 4], 'E') << s;
      }
}

TEST(Strff, NonFiniteValues) {
  const FmtCase cases[] = {
      {kNaN, 6, 2, "   NAN"},  {kInf, 6, 2, "   INF"},     {-kInf, 6, 2, "  -INF"},
      {kNaN, 10, -2, "       NAN"}, {-kInf, -10, -2, "      -INF"}, {kInf, -8, 3, "     INF"},
      {kInf, 0, -1, "INF"},    {-kNaN, 2, 0, "NAN"},
  };
  for (const FmtCase& c : cases)
    EXPECT_EQ(StringToUtf8(kyn::strff(c.value, c.width, c.decimals)), c.text) << c.text;
  EXPECT_EQ(StringToUtf8(kyn::strffForcePlus(kInf, 6, 2)), "  +INF");
  EXPECT_EQ(StringToUtf8(kyn::strffForcePlus(kNaN, 6, 2)), "   NAN");
}

TEST(Strff, HugeArgumentsAreBounded) {
  EXPECT_EQ(kyn::strff(1, INT_MAX, 2).size(), 10000u);
  EXPECT_EQ(kyn::strff(1, INT_MIN, 2).size(), 10000u);
  EXPECT_EQ(kyn::strff(1, INT_MIN, -2).size(), 10000u);
  EXPECT_EQ(kyn::strff(1, 0, INT_MAX).size(), 5002u);  // "1." and 5000 decimals
  EXPECT_EQ(kyn::strff(-1, 3, INT_MIN), u"-1.0E+0000");
  const kyn::String big = kyn::strff(LDBL_MAX, 0, 0);
  EXPECT_EQ(big.size(), 4933u);
}

TEST(StrffForcePlus, Examples) {
  const FmtCase cases[] = {
      {3.14159L, 8, 2, "   +3.14"},
      {3.14159L, -8, 2, "+0003.14"},
      {0.5L, 0, 2, "+0.50"},
      {0, 1, 0, "+0"},
      {3.14159L, 0, 2, "+3.14"},
      {-3.14159L, 8, 2, "   -3.14"},
      {1234.56L, 10, -2, "+1.235E+03"},
      {3.14L, -8, -2, "+3.1E+00"},
      {1.5E120L, 8, -2, "+********"},
  };
  for (const FmtCase& c : cases)
    EXPECT_EQ(StringToUtf8(kyn::strffForcePlus(c.value, c.width, c.decimals)), c.text) << c.text;
}

struct DblCase {
  double value;
  int width;
  int n;
  const char* text;
};

TEST(FormatData, Examples) {
  const DblCase cases[] = {
      {123.456, 10, 2, "    123.46"},
      {1234567, 10, 2, " 1.234567000E+06"},
      {0.004, 10, 2, " 4.000000000E-03"},
      {0, 10, 2, "      0.00"},
      {5, 6, 9, " 5.00000E+00"},
      {5, 6, -1, " 5.00000E+00"},
      {999999999, 12, 0, "   999999999"},
      {1000000000, 12, 0, " 1.00000000000E+09"},
      {0.5, 6, 0, " 5.00000E-01"},
      {1, 6, 0, "     1"},
      {0.99999999, 12, 8, "  0.99999999"},
      {1e-8, 12, 8, "  0.00000001"},
      {-123.456, -10, 2, "-000123.46"},
      {-1234567, -10, 2, "-1.234567000E+06"},
      {1234567, -10, 2, "01.234567000E+06"},
      {std::nan(""), 4, 2, "       NAN"},
      {HUGE_VAL, 4, 2, "       INF"},
  };
  for (const DblCase& c : cases)
    EXPECT_EQ(StringToUtf8(kyn::FormatData(c.value, c.width, c.n)), c.text) << c.text;
}

TEST(SigDigStr, Examples) {
  const DblCase cases[] = {
      {123.456, 10, 5, "    123.46"},
      {0.00123456, 10, 3, "   0.00123"},
      {0.00123456, 6, 3, " 1.23E-03"},
      {123456, 10, 3, "    123456"},
      {123456, 5, 3, " 1.23E+05"},
      {0, 8, 3, "    0.00"},
      {0, 12, 0, " 0.000E+0000"},      // zero, no digits: scientific, four-digit exponent
      {0, 12, -1, " 0.000E+0000"},
      {-0.05, 10, 2, "    -0.050"},
      {std::nan(""), 3, 4, "       NAN"},
      {-HUGE_VAL, 12, 4, "        -INF"},
      {5e-324, 10, 3, "**********"},   // the exponent needs three digits
  };
  for (const DblCase& c : cases)
    EXPECT_EQ(StringToUtf8(kyn::SigDigStr(c.value, c.width, c.n)), c.text) << c.text;
  EXPECT_EQ(StringToUtf8(kyn::SigDigStr(0.00123456, 10, 3, true)), "0.00123");
  EXPECT_EQ(StringToUtf8(kyn::SigDigStr(0.00123456, 10, 3, false)), "   0.00123");
  EXPECT_EQ(kyn::SigDigStr(1.5, INT_MAX, INT_MAX).size(), 10000u);
  EXPECT_FALSE(kyn::SigDigStr(1.5, INT_MIN, INT_MIN).empty());
}

TEST(AutoFormatData, Examples) {
  const DblCase cases[] = {
      {3.14159, 0, 4, "3.142"},
      {0.5, 0, 3, "0.50"},
      {12345.678, 0, 4, " 1.235E+04"},
      {0.05, 0, 3, " 5.00E-02"},
      {0, 0, 3, "0.00"},
      {-3.14159, 0, 4, "-3.142"},
      {3.14159, 0, 1, "3.1"},            // clamped to 2
      {3.14159, 0, 20, "3.141590000000000"},  // clamped to 16
      {std::nan(""), 0, 4, "       NAN"},
  };
  for (const DblCase& c : cases)
    EXPECT_EQ(StringToUtf8(kyn::AutoFormatData(c.value, c.n)), c.text) << c.text;
}

TEST(BoolToStr, AllKinds) {
  const char* spellings[8][2] = {{"TRUE", "FALSE"}, {"T", "F"},  {".T.", ".F."}, {"1", "0"},
                                 {"-1", "0"},       {"FF", "00"}, {"YES", "NO"},  {"GOOD", "BAD"}};
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(StringToUtf8(kyn::BoolToStr(true, k)), spellings[k][0]);
    EXPECT_EQ(StringToUtf8(kyn::BoolToStr(false, k)), spellings[k][1]);
  }
  EXPECT_EQ(kyn::BoolToStr(true, 99), u"TRUE");
  EXPECT_EQ(kyn::BoolToStr(false, -1), u"FALSE");
}

TEST(TimeString, Layouts) {
  struct {
    double seconds;
    int layout;
    const char* text;
  } const cases[] = {
      {3725.5, 0, "01:02:05.50"},  {3725.5, 1, "01:02:05"}, {3725.5, 2, " 1h02"},
      {3725.5, 3, " 1h02'05\""},   {3725.5, 4, "01:02"},    {3725.5, 5, " 1:02a"},
      {3725.5, 6, ""},             {3725.5, 255, ""},
      {-5, 1, "00:00:00"},         {59.999, 0, "00:00:59.99"},
      {std::nan(""), 0, "00:00:00.00"},
      {0, 5, "12:00a"},            {12 * 3600 + 60, 5, "12:01p"}, {13 * 3600 + 120, 5, " 1:02p"},
      {23 * 3600 + 59 * 60, 5, "11:59p"},
      {123 * 3600.0, 1, "123:00:00"}, {123 * 3600.0, 2, "123h00"},
      {65536 * 3600.0, 1, "65536:00:00"},
      {HUGE_VAL, 4, "277777777777777:46"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StringToUtf8(kyn::TimeString(c.seconds, static_cast<uint8_t>(c.layout))), c.text) << c.text;
}

TEST(BinString, PicksByValue) {
  EXPECT_EQ(kyn::BinString(true, u"on", u"off"), u"on");
  EXPECT_EQ(kyn::BinString(false, u"on", u"off"), u"off");
}

}  // namespace
