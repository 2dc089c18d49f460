// The universal constants against their stored 80-bit patterns, and the
// log-factorial table against an independent computation of its rule.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "kyn/univconst.h"

namespace {

struct Pattern {
  const char* name;
  long double value;
  uint16_t signExp;
  uint64_t significand;
};

// The patterns as sign-and-exponent word and 64-bit significand.
const Pattern kPatterns[] = {
    {"uc_e", kyn::uc_e, 0x4000, 0xADF85458A2BB4A9AULL},
    {"uc_etom1", kyn::uc_etom1, 0x3FFD, 0xBC5AB1B16779BE36ULL},
    {"uc_lg2", kyn::uc_lg2, 0x3FFD, 0x9A209A84FBCFF798ULL},
    {"uc_lg5", kyn::uc_lg5, 0x3FFE, 0xB2EFB2BD82180434ULL},
    {"uc_lge", kyn::uc_lge, 0x3FFD, 0xDE5BD8A937287195ULL},
    {"uc_lgPi", kyn::uc_lgPi, 0x3FFD, 0xFE8A6D98DD1DD807ULL},
    {"uc_ln10", kyn::uc_ln10, 0x4000, 0x935D8DDDAAA8AC17ULL},
    {"uc_ln2", kyn::uc_ln2, 0x3FFE, 0xB17217F7D1CF79ABULL},
    {"uc_lnPi", kyn::uc_lnPi, 0x3FFF, 0x928682473D0DE85EULL},
    {"uc_PiH", kyn::uc_PiH, 0x3FFF, 0xC90FDAA22168C235ULL},
    {"uc_PiSqr", kyn::uc_PiSqr, 0x4002, 0x9DE9E64DF22EF2D2ULL},
    {"uc_Pitom1", kyn::uc_Pitom1, 0x3FFD, 0xA2F9836E4E441529ULL},
    {"uc_sqrt2", kyn::uc_sqrt2, 0x3FFF, 0xB504F333F9DE6485ULL},
    {"uc_sqrt2pi", kyn::uc_sqrt2pi, 0x4000, 0xA06C98FFB1382CB2ULL},
    {"uc_sqrt2pitom1", kyn::uc_sqrt2pitom1, 0x3FFD, 0xCC42299EA1B28468ULL},
    {"uc_GoldenR", kyn::uc_GoldenR, 0x3FFF, 0xCF1BBCDCBFA53E0AULL},
    {"uc_MinReal", kyn::uc_MinReal, 0x3F7E, 0xFCA0293C42765B07ULL},
    {"uc_MaxReal", kyn::uc_MaxReal, 0x407D, 0xFFC99E3C66FD68D2ULL},
    {"uc_MinSingle", kyn::uc_MinSingle, 0x3F6A, 0x89040A0F4C80569DULL},
    {"uc_MaxSingle", kyn::uc_MaxSingle, 0x407E, 0xFFC99E3C66FD68D2ULL},
    {"uc_MinDouble", kyn::uc_MinDouble, 0x3BCD, 0x818995CE7AA0E1B2ULL},
    {"uc_MaxDouble", kyn::uc_MaxDouble, 0x43FE, 0xF2168983B9DBB273ULL},
    {"uc_MinExtended", kyn::uc_MinExtended, 0x0000, 0x0000000000000001ULL},
    {"uc_MaxExtended", kyn::uc_MaxExtended, 0x7FFE, 0xECB12AED7F5875E1ULL},
    {"uc_lnMinDouble", kyn::uc_lnMinDouble, 0xC008, 0xBA1B6684AC474500ULL},
    {"uc_lnMaxDouble", kyn::uc_lnMaxDouble, 0x4008, 0xB16E847EE37C422EULL},
    {"uc_lnMaxExtended", kyn::uc_lnMaxExtended, 0x400C, 0xB171C7AB26A28A52ULL},
    {"uc_lnMinExtended", kyn::uc_lnMinExtended, 0xC00C, 0xB21B457D80BDDC0CULL},
    {"uc_lnMinReal", kyn::uc_lnMinReal, 0xC005, 0xB178E32221D34F6DULL},
    {"uc_lnMaxReal", kyn::uc_lnMaxReal, 0x4005, 0xB00EC6F8CBF2E56FULL},
    {"uc_lnMinSingle", kyn::uc_lnMinSingle, 0xC005, 0xCE6BF66052006FA1ULL},
    {"uc_lnMaxSingle", kyn::uc_lnMaxSingle, 0x4005, 0xB171AB28BB968462ULL},
};

TEST(UnivConst, EveryConstantHasItsStoredBitPattern) {
  for (const Pattern& p : kPatterns) {
    unsigned char raw[sizeof(long double)];
    std::memcpy(raw, &p.value, sizeof raw);
    uint64_t significand;
    uint16_t signExp;
    std::memcpy(&significand, raw, 8);
    std::memcpy(&signExp, raw + 8, 2);
    EXPECT_EQ(signExp, p.signExp) << p.name;
    EXPECT_EQ(significand, p.significand) << p.name;
  }
}

TEST(UnivConst, LimitsAreShortDecimalFigures) {
  EXPECT_LT(kyn::uc_MaxDouble, static_cast<long double>(DBL_MAX));
  EXPECT_EQ(static_cast<double>(kyn::uc_MaxDouble), 1.7E308);
  EXPECT_EQ(static_cast<double>(kyn::uc_MinDouble), 5.0E-324);
  EXPECT_EQ(static_cast<float>(kyn::uc_MaxSingle), 3.4E38f);
  EXPECT_EQ(std::fpclassify(kyn::uc_MinExtended), FP_SUBNORMAL);
  EXPECT_EQ(kyn::uc_MinExtended, LDBL_TRUE_MIN);
}

// ln(n!) rounded to 15 significant digits, then to the nearest double, from
// an independent long-double computation. lgammal is good to a few units in
// the last place of 80 bits, so the rounding is done at both ends of a band of
// 2^-58 relative width around its result; where the band straddles a 15-digit
// rounding tie the two ends differ and either rounding is accepted.
struct Candidates {
  double lo, hi;
};
Candidates FifteenDigitLnFactorial(int n) {
  const long double v = lgammal(static_cast<long double>(n) + 1.0L);
  const long double eps = 0x1p-58L;
  char lo[40], hi[40];
  std::snprintf(lo, sizeof lo, "%.14Le", v * (1 - eps));
  std::snprintf(hi, sizeof hi, "%.14Le", v * (1 + eps));
  return {std::strtod(lo, nullptr), std::strtod(hi, nullptr)};
}

TEST(UnivConst, LnFactorialTellingRows) {
  const auto& t = kyn::uc_LnFactorial;
  EXPECT_EQ(t.size(), 1001u);
  EXPECT_EQ(t[0], 0.0);
  EXPECT_EQ(t[1], 0.0);
  EXPECT_EQ(t[2], 0.693147180559945);
  EXPECT_EQ(t[3], 1.79175946922806);
  EXPECT_NE(t[3], static_cast<double>(logl(6.0L)));  // the rounded figure, not ln 6
  EXPECT_EQ(t[10], 15.1044125730755);
  EXPECT_EQ(t[100], 363.739375555563);
  EXPECT_EQ(t[170], 706.573062245787);
  EXPECT_EQ(t[171], 711.71472580229);
  EXPECT_EQ(t[1000], 5912.12817848816);
}

TEST(UnivConst, LnFactorialFollowsTheFifteenDigitRule) {
  long double summed = 0;  // second, independent route: the sum of ln k
  for (int n = 2; n <= 1000; ++n) {
    summed += logl(static_cast<long double>(n));
    const Candidates c = FifteenDigitLnFactorial(n);
    const double entry = kyn::uc_LnFactorial[n];
    EXPECT_TRUE(entry == c.lo || entry == c.hi) << "n = " << n << ": " << entry << " vs " << c.lo;
    EXPECT_NEAR(entry, static_cast<double>(summed), 1e-12L * summed) << "n = " << n;
  }
}

}  // namespace
