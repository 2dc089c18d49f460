// Universal constants: mathematical constants, the limits of the floating
// formats as the library counts them, and their natural logarithms. Each is an
// 80-bit extended value given by its exact bit pattern (hexadecimal literal of
// the 64-bit significand), so no decimal rounding can move it.
#pragma once

#include <array>
#include <cfloat>

static_assert(LDBL_MANT_DIG == 64, "kynbasepack needs the 80-bit extended long double");

namespace kyn {

// e; stored as 4000 ADF85458A2BB4A9A
inline constexpr long double uc_e = 0xADF85458A2BB4A9Ap-62L;
// 1/e; stored as 3FFD BC5AB1B16779BE36
inline constexpr long double uc_etom1 = 0xBC5AB1B16779BE36p-65L;
// log10(2); stored as 3FFD 9A209A84FBCFF798
inline constexpr long double uc_lg2 = 0x9A209A84FBCFF798p-65L;
// log10(5); stored as 3FFE B2EFB2BD82180434
inline constexpr long double uc_lg5 = 0xB2EFB2BD82180434p-64L;
// log10(e); stored as 3FFD DE5BD8A937287195
inline constexpr long double uc_lge = 0xDE5BD8A937287195p-65L;
// log10(pi); stored as 3FFD FE8A6D98DD1DD807
inline constexpr long double uc_lgPi = 0xFE8A6D98DD1DD807p-65L;
// ln(10); stored as 4000 935D8DDDAAA8AC17
inline constexpr long double uc_ln10 = 0x935D8DDDAAA8AC17p-62L;
// ln(2); stored as 3FFE B17217F7D1CF79AB
inline constexpr long double uc_ln2 = 0xB17217F7D1CF79ABp-64L;
// ln(pi); stored as 3FFF 928682473D0DE85E
inline constexpr long double uc_lnPi = 0x928682473D0DE85Ep-63L;
// pi/2; stored as 3FFF C90FDAA22168C235
inline constexpr long double uc_PiH = 0xC90FDAA22168C235p-63L;
// pi squared; stored as 4002 9DE9E64DF22EF2D2
inline constexpr long double uc_PiSqr = 0x9DE9E64DF22EF2D2p-60L;
// 1/pi; stored as 3FFD A2F9836E4E441529
inline constexpr long double uc_Pitom1 = 0xA2F9836E4E441529p-65L;
// square root of 2; stored as 3FFF B504F333F9DE6485
inline constexpr long double uc_sqrt2 = 0xB504F333F9DE6485p-63L;
// square root of 2 pi; stored as 4000 A06C98FFB1382CB2
inline constexpr long double uc_sqrt2pi = 0xA06C98FFB1382CB2p-62L;
// 1 / square root of 2 pi; stored as 3FFD CC42299EA1B28468
inline constexpr long double uc_sqrt2pitom1 = 0xCC42299EA1B28468p-65L;
// golden ratio; stored as 3FFF CF1BBCDCBFA53E0A
inline constexpr long double uc_GoldenR = 0xCF1BBCDCBFA53E0Ap-63L;
// smallest 6-byte real magnitude, 2.9E-39; stored as 3F7E FCA0293C42765B07
inline constexpr long double uc_MinReal = 0xFCA0293C42765B07p-192L;
// largest 6-byte real, 1.7E38; stored as 407D FFC99E3C66FD68D2
inline constexpr long double uc_MaxReal = 0xFFC99E3C66FD68D2p63L;
// smallest single magnitude, 1.5E-45; stored as 3F6A 89040A0F4C80569D
inline constexpr long double uc_MinSingle = 0x89040A0F4C80569Dp-212L;
// largest single, 3.4E38; stored as 407E FFC99E3C66FD68D2
inline constexpr long double uc_MaxSingle = 0xFFC99E3C66FD68D2p64L;
// smallest double magnitude, 5.0E-324; stored as 3BCD 818995CE7AA0E1B2
inline constexpr long double uc_MinDouble = 0x818995CE7AA0E1B2p-1137L;
// largest double as the library counts it, 1.7E308; stored as 43FE F2168983B9DBB273
inline constexpr long double uc_MaxDouble = 0xF2168983B9DBB273p960L;
// smallest positive extended denormal, 2^-16445; stored as 0000 0000000000000001
inline constexpr long double uc_MinExtended = 0x0000000000000001p-16445L;
// largest extended as the library counts it, 1.1E4932; stored as 7FFE ECB12AED7F5875E1
inline constexpr long double uc_MaxExtended = 0xECB12AED7F5875E1p16320L;
// ln(5.0E-324); stored as C008 BA1B6684AC474500
inline constexpr long double uc_lnMinDouble = -0xBA1B6684AC474500p-54L;
// ln(1.7E308); stored as 4008 B16E847EE37C422E
inline constexpr long double uc_lnMaxDouble = 0xB16E847EE37C422Ep-54L;
// ln(1.1E4932); stored as 400C B171C7AB26A28A52
inline constexpr long double uc_lnMaxExtended = 0xB171C7AB26A28A52p-50L;
// ln(3.6E-4951); stored as C00C B21B457D80BDDC0C
inline constexpr long double uc_lnMinExtended = -0xB21B457D80BDDC0Cp-50L;
// ln(2.9E-39); stored as C005 B178E32221D34F6D
inline constexpr long double uc_lnMinReal = -0xB178E32221D34F6Dp-57L;
// ln(1.7E38); stored as 4005 B00EC6F8CBF2E56F
inline constexpr long double uc_lnMaxReal = 0xB00EC6F8CBF2E56Fp-57L;
// ln(1.5E-45); stored as C005 CE6BF66052006FA1
inline constexpr long double uc_lnMinSingle = -0xCE6BF66052006FA1p-57L;
// ln(3.4E38); stored as 4005 B171AB28BB968462
inline constexpr long double uc_lnMaxSingle = 0xB171AB28BB968462p-57L;

// ln(n!) for n = 0..1000, each rounded to 15 significant decimal digits and
// then to the nearest double.
extern const std::array<double, 1001> uc_LnFactorial;

}  // namespace kyn
