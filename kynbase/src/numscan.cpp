#include "kyn/kynbase/numscan.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

#include <array>
#include <cstring>
#include <string>

#include "kyn/univconst.h"

namespace kyn {

namespace {

// The decimal conversion must not depend on the process's LC_NUMERIC.
locale_t CLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

enum CharClass : uint8_t { kSep, kSign, kBlank, kDigit, kExp, kOther, kDot, kComma };

// Classes of the ASCII characters (upper and lower case alike); the full stop
// and the comma have codes of their own that each call maps to kSep or
// kOther by its DecSepMode.
constexpr std::array<uint8_t, 128> kAsciiClass = [] {
  std::array<uint8_t, 128> t{};
  for (uint8_t& x : t) x = kOther;
  t['+'] = t['-'] = kSign;
  t[' '] = kBlank;
  for (int c = '0'; c <= '9'; ++c) t[static_cast<size_t>(c)] = kDigit;
  t['E'] = t['e'] = kExp;
  t['.'] = kDot;
  t[','] = kComma;
  return t;
}();

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

// The collected number text: on the stack for ordinary numbers, on the heap
// only for very long ones.
class NumberText {
 public:
  void push_back(char c) {
    if (n_ < kSmall) {
      small_[n_++] = c;
      return;
    }
    if (big_.empty()) big_.assign(small_, n_);
    big_ += c;
    ++n_;
  }
  size_t size() const { return n_; }
  char back() const { return big_.empty() ? small_[n_ - 1] : big_.back(); }
  // NUL-terminated text.
  const char* c_str() {
    if (!big_.empty()) return big_.c_str();
    small_[n_] = '\0';
    return small_;
  }

 private:
  static constexpr size_t kSmall = 64;
  char small_[kSmall + 1];  // room for the terminating NUL
  size_t n_ = 0;
  std::string big_;
};

// Exact powers of ten up to 10^27 (5^27 < 2^64, so all fit the 64-bit
// significand).
constexpr long double kPow10[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
                                  1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
                                  1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

// 10^k for k = -345..310, each the nearest 80-bit value (the compiler rounds
// the literals correctly).
constexpr int kPow10Low = -345;
constexpr int kPow10High = 310;
constexpr long double kPow10Near[] = {
    1e-345L, 1e-344L, 1e-343L, 1e-342L, 1e-341L, 1e-340L, 1e-339L, 1e-338L,
    1e-337L, 1e-336L, 1e-335L, 1e-334L, 1e-333L, 1e-332L, 1e-331L, 1e-330L,
    1e-329L, 1e-328L, 1e-327L, 1e-326L, 1e-325L, 1e-324L, 1e-323L, 1e-322L,
    1e-321L, 1e-320L, 1e-319L, 1e-318L, 1e-317L, 1e-316L, 1e-315L, 1e-314L,
    1e-313L, 1e-312L, 1e-311L, 1e-310L, 1e-309L, 1e-308L, 1e-307L, 1e-306L,
    1e-305L, 1e-304L, 1e-303L, 1e-302L, 1e-301L, 1e-300L, 1e-299L, 1e-298L,
    1e-297L, 1e-296L, 1e-295L, 1e-294L, 1e-293L, 1e-292L, 1e-291L, 1e-290L,
    1e-289L, 1e-288L, 1e-287L, 1e-286L, 1e-285L, 1e-284L, 1e-283L, 1e-282L,
    1e-281L, 1e-280L, 1e-279L, 1e-278L, 1e-277L, 1e-276L, 1e-275L, 1e-274L,
    1e-273L, 1e-272L, 1e-271L, 1e-270L, 1e-269L, 1e-268L, 1e-267L, 1e-266L,
    1e-265L, 1e-264L, 1e-263L, 1e-262L, 1e-261L, 1e-260L, 1e-259L, 1e-258L,
    1e-257L, 1e-256L, 1e-255L, 1e-254L, 1e-253L, 1e-252L, 1e-251L, 1e-250L,
    1e-249L, 1e-248L, 1e-247L, 1e-246L, 1e-245L, 1e-244L, 1e-243L, 1e-242L,
    1e-241L, 1e-240L, 1e-239L, 1e-238L, 1e-237L, 1e-236L, 1e-235L, 1e-234L,
    1e-233L, 1e-232L, 1e-231L, 1e-230L, 1e-229L, 1e-228L, 1e-227L, 1e-226L,
    1e-225L, 1e-224L, 1e-223L, 1e-222L, 1e-221L, 1e-220L, 1e-219L, 1e-218L,
    1e-217L, 1e-216L, 1e-215L, 1e-214L, 1e-213L, 1e-212L, 1e-211L, 1e-210L,
    1e-209L, 1e-208L, 1e-207L, 1e-206L, 1e-205L, 1e-204L, 1e-203L, 1e-202L,
    1e-201L, 1e-200L, 1e-199L, 1e-198L, 1e-197L, 1e-196L, 1e-195L, 1e-194L,
    1e-193L, 1e-192L, 1e-191L, 1e-190L, 1e-189L, 1e-188L, 1e-187L, 1e-186L,
    1e-185L, 1e-184L, 1e-183L, 1e-182L, 1e-181L, 1e-180L, 1e-179L, 1e-178L,
    1e-177L, 1e-176L, 1e-175L, 1e-174L, 1e-173L, 1e-172L, 1e-171L, 1e-170L,
    1e-169L, 1e-168L, 1e-167L, 1e-166L, 1e-165L, 1e-164L, 1e-163L, 1e-162L,
    1e-161L, 1e-160L, 1e-159L, 1e-158L, 1e-157L, 1e-156L, 1e-155L, 1e-154L,
    1e-153L, 1e-152L, 1e-151L, 1e-150L, 1e-149L, 1e-148L, 1e-147L, 1e-146L,
    1e-145L, 1e-144L, 1e-143L, 1e-142L, 1e-141L, 1e-140L, 1e-139L, 1e-138L,
    1e-137L, 1e-136L, 1e-135L, 1e-134L, 1e-133L, 1e-132L, 1e-131L, 1e-130L,
    1e-129L, 1e-128L, 1e-127L, 1e-126L, 1e-125L, 1e-124L, 1e-123L, 1e-122L,
    1e-121L, 1e-120L, 1e-119L, 1e-118L, 1e-117L, 1e-116L, 1e-115L, 1e-114L,
    1e-113L, 1e-112L, 1e-111L, 1e-110L, 1e-109L, 1e-108L, 1e-107L, 1e-106L,
    1e-105L, 1e-104L, 1e-103L, 1e-102L, 1e-101L, 1e-100L, 1e-99L, 1e-98L,
    1e-97L, 1e-96L, 1e-95L, 1e-94L, 1e-93L, 1e-92L, 1e-91L, 1e-90L,
    1e-89L, 1e-88L, 1e-87L, 1e-86L, 1e-85L, 1e-84L, 1e-83L, 1e-82L,
    1e-81L, 1e-80L, 1e-79L, 1e-78L, 1e-77L, 1e-76L, 1e-75L, 1e-74L,
    1e-73L, 1e-72L, 1e-71L, 1e-70L, 1e-69L, 1e-68L, 1e-67L, 1e-66L,
    1e-65L, 1e-64L, 1e-63L, 1e-62L, 1e-61L, 1e-60L, 1e-59L, 1e-58L,
    1e-57L, 1e-56L, 1e-55L, 1e-54L, 1e-53L, 1e-52L, 1e-51L, 1e-50L,
    1e-49L, 1e-48L, 1e-47L, 1e-46L, 1e-45L, 1e-44L, 1e-43L, 1e-42L,
    1e-41L, 1e-40L, 1e-39L, 1e-38L, 1e-37L, 1e-36L, 1e-35L, 1e-34L,
    1e-33L, 1e-32L, 1e-31L, 1e-30L, 1e-29L, 1e-28L, 1e-27L, 1e-26L,
    1e-25L, 1e-24L, 1e-23L, 1e-22L, 1e-21L, 1e-20L, 1e-19L, 1e-18L,
    1e-17L, 1e-16L, 1e-15L, 1e-14L, 1e-13L, 1e-12L, 1e-11L, 1e-10L,
    1e-9L, 1e-8L, 1e-7L, 1e-6L, 1e-5L, 1e-4L, 1e-3L, 1e-2L,
    1e-1L, 1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L,
    1e7L, 1e8L, 1e9L, 1e10L, 1e11L, 1e12L, 1e13L, 1e14L,
    1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L,
    1e23L, 1e24L, 1e25L, 1e26L, 1e27L, 1e28L, 1e29L, 1e30L,
    1e31L, 1e32L, 1e33L, 1e34L, 1e35L, 1e36L, 1e37L, 1e38L,
    1e39L, 1e40L, 1e41L, 1e42L, 1e43L, 1e44L, 1e45L, 1e46L,
    1e47L, 1e48L, 1e49L, 1e50L, 1e51L, 1e52L, 1e53L, 1e54L,
    1e55L, 1e56L, 1e57L, 1e58L, 1e59L, 1e60L, 1e61L, 1e62L,
    1e63L, 1e64L, 1e65L, 1e66L, 1e67L, 1e68L, 1e69L, 1e70L,
    1e71L, 1e72L, 1e73L, 1e74L, 1e75L, 1e76L, 1e77L, 1e78L,
    1e79L, 1e80L, 1e81L, 1e82L, 1e83L, 1e84L, 1e85L, 1e86L,
    1e87L, 1e88L, 1e89L, 1e90L, 1e91L, 1e92L, 1e93L, 1e94L,
    1e95L, 1e96L, 1e97L, 1e98L, 1e99L, 1e100L, 1e101L, 1e102L,
    1e103L, 1e104L, 1e105L, 1e106L, 1e107L, 1e108L, 1e109L, 1e110L,
    1e111L, 1e112L, 1e113L, 1e114L, 1e115L, 1e116L, 1e117L, 1e118L,
    1e119L, 1e120L, 1e121L, 1e122L, 1e123L, 1e124L, 1e125L, 1e126L,
    1e127L, 1e128L, 1e129L, 1e130L, 1e131L, 1e132L, 1e133L, 1e134L,
    1e135L, 1e136L, 1e137L, 1e138L, 1e139L, 1e140L, 1e141L, 1e142L,
    1e143L, 1e144L, 1e145L, 1e146L, 1e147L, 1e148L, 1e149L, 1e150L,
    1e151L, 1e152L, 1e153L, 1e154L, 1e155L, 1e156L, 1e157L, 1e158L,
    1e159L, 1e160L, 1e161L, 1e162L, 1e163L, 1e164L, 1e165L, 1e166L,
    1e167L, 1e168L, 1e169L, 1e170L, 1e171L, 1e172L, 1e173L, 1e174L,
    1e175L, 1e176L, 1e177L, 1e178L, 1e179L, 1e180L, 1e181L, 1e182L,
    1e183L, 1e184L, 1e185L, 1e186L, 1e187L, 1e188L, 1e189L, 1e190L,
    1e191L, 1e192L, 1e193L, 1e194L, 1e195L, 1e196L, 1e197L, 1e198L,
    1e199L, 1e200L, 1e201L, 1e202L, 1e203L, 1e204L, 1e205L, 1e206L,
    1e207L, 1e208L, 1e209L, 1e210L, 1e211L, 1e212L, 1e213L, 1e214L,
    1e215L, 1e216L, 1e217L, 1e218L, 1e219L, 1e220L, 1e221L, 1e222L,
    1e223L, 1e224L, 1e225L, 1e226L, 1e227L, 1e228L, 1e229L, 1e230L,
    1e231L, 1e232L, 1e233L, 1e234L, 1e235L, 1e236L, 1e237L, 1e238L,
    1e239L, 1e240L, 1e241L, 1e242L, 1e243L, 1e244L, 1e245L, 1e246L,
    1e247L, 1e248L, 1e249L, 1e250L, 1e251L, 1e252L, 1e253L, 1e254L,
    1e255L, 1e256L, 1e257L, 1e258L, 1e259L, 1e260L, 1e261L, 1e262L,
    1e263L, 1e264L, 1e265L, 1e266L, 1e267L, 1e268L, 1e269L, 1e270L,
    1e271L, 1e272L, 1e273L, 1e274L, 1e275L, 1e276L, 1e277L, 1e278L,
    1e279L, 1e280L, 1e281L, 1e282L, 1e283L, 1e284L, 1e285L, 1e286L,
    1e287L, 1e288L, 1e289L, 1e290L, 1e291L, 1e292L, 1e293L, 1e294L,
    1e295L, 1e296L, 1e297L, 1e298L, 1e299L, 1e300L, 1e301L, 1e302L,
    1e303L, 1e304L, 1e305L, 1e306L, 1e307L, 1e308L, 1e309L, 1e310L,
};

// Converts the texts the state machine collects (blanks, sign, digits with
// an optional ".", optional "E", sign and digits) without the full decimal
// conversion where the double result is certain to equal the C library's
// 80-bit conversion rounded to double. Returns false when the text needs the
// full conversion. Two cases:
//  - at most 19 significant digits and a decimal scale within 10^27: the
//    value is one correctly rounded multiplication or division of two exact
//    80-bit values, i.e. exactly the correctly rounded 80-bit value;
//  - at most 19 significant digits, a normal double result, and an 80-bit
//    approximation (error below 2 units in its last place) that lies more
//    than 8 such units away from the midpoint between two doubles: then the
//    exact value, its 80-bit rounding and the approximation all round to the
//    same double.
bool FastConvert(const char* p, long double& value) {
  while (*p == ' ') ++p;
  bool neg = false;
  if (*p == '+' || *p == '-') neg = *p++ == '-';
  uint64_t mant = 0;
  int sig = 0;          // significant digits in mant
  int scale = 0;        // decimal exponent adjustment from the point
  bool anyDigit = false;
  bool point = false;
  for (;; ++p) {
    if (*p == '.') {
      point = true;
      continue;
    }
    if (*p < '0' || *p > '9') break;
    anyDigit = true;
    if (mant == 0 && *p == '0') {
      if (point) --scale;
      continue;
    }
    if (++sig > 19) return false;
    mant = mant * 10 + static_cast<uint64_t>(*p - '0');
    if (point) --scale;
  }
  if (!anyDigit || mant == 0) {
    value = anyDigit && neg ? -0.0L : 0.0L;  // no digit at all reads as 0
    return true;
  }
  int exp = 0;
  if (*p == 'E') {
    ++p;
    bool expNeg = false;
    if (*p == '+' || *p == '-') expNeg = *p++ == '-';
    for (; *p >= '0' && *p <= '9'; ++p)
      if (exp < 100000) exp = exp * 10 + (*p - '0');
    if (expNeg) exp = -exp;
  }
  const int e = exp + scale;
  long double v = static_cast<long double>(mant);
  if (e >= -27 && e <= 27) {
    v = e >= 0 ? v * kPow10[e] : v / kPow10[-e];
  } else {
    if (e < kPow10Low || e > kPow10High) return false;
    v *= kPow10Near[e - kPow10Low];
    if (!(v >= 0x1p-1022L && v <= 0x1p1023L)) return false;
    // The 11 significand bits below double precision; 0x400 is the midpoint.
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const int low = static_cast<int>(bits & 0x7FF);
    if (low > 0x400 - 8 && low < 0x400 + 8) return false;
  }
  value = neg ? -v : v;
  return true;
}
}  // namespace

double ScanFPNum(StringView Text, bool ExpAllowed, int32_t DecSepMode, int32_t& ScanPos) {
  NumberText num;
  int32_t expValue = 0;  // saturates above the limit, so the test below stays true
  constexpr int32_t kExpLimit = 4200;
  int state = 1;
  int64_t pos = ScanPos;  // 64 bits: stepping past INT32_MAX must not overflow
  const auto len = static_cast<int64_t>(Text.size());
  const uint8_t dotClass = (DecSepMode == 1 || DecSepMode == 3) ? kSep : kOther;
  const uint8_t commaClass = (DecSepMode == 2 || DecSepMode == 3) ? kSep : kOther;
  const int expNext = ExpAllowed ? 6 : 9;
  while (state >= 1 && state <= 8) {
    // Past the end the character counts as Z: outside any number.
    char16_t c = u'Z';
    uint8_t cls = kOther;
    if (pos >= 1 && pos <= len) {
      c = Text[static_cast<size_t>(pos - 1)];
      if (c < 128) cls = kAsciiClass[c];
    }
    ++pos;
    if (cls == kDot) cls = dotClass;
    else if (cls == kComma) cls = commaClass;
    int next = kNext[state][cls];
    if (next == 0) next = expNext;
    if (cls == kDigit && next == 8) {
      const int32_t d = c - u'0';
      if (state != 8) expValue = d;  // the first exponent digit sets
      else if (expValue <= kExpLimit) expValue = expValue * 10 + d;  // later ones add
    }
    state = next;
    // Separators are kept as ".", the exponent marker upper-cased.
    if (state >= 1 && state <= 8 && expValue <= kExpLimit)
      num.push_back(cls == kSep ? '.' : (cls == kExp ? 'E' : static_cast<char>(c)));
  }
  long double value = 0;
  if (state == 9) {
    if (num.size() > 0 && num.back() == '.') num.push_back('0');
    if (!FastConvert(num.c_str(), value)) value = strtold_l(num.c_str(), nullptr, CLocale());
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
