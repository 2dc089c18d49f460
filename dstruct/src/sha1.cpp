// SHA-1 (FIPS 180-1): portable block function, the processor's SHA
// instructions where present, the incremental context and the digest
// helpers.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "kyn/dstruct/checksums.h"
#include "kyn/kynbase/numscan.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define KYN_SHA_X86 1
#endif

namespace kyn {

namespace {

inline uint32_t Rol(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

inline uint32_t Load32BE(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// Volatile writes so that wiping a context that is about to die is not
// removed by the optimiser.
void SecureZero(void* p, size_t n) {
  volatile uint8_t* v = static_cast<volatile uint8_t*>(p);
  while (n--) *v++ = 0;
}

#ifdef KYN_SHA_X86
bool HasShaNi() {
  static const bool has = [] {
    __builtin_cpu_init();
    // The SHA extensions: leaf 7, EBX bit 29 (not every compiler's
    // __builtin_cpu_supports knows them). They use only SSE registers.
    unsigned a = 0, b = 0, c = 0, d = 0;
    const bool sha = __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & (1u << 29)) != 0;
    return sha && __builtin_cpu_supports("sse4.1") && __builtin_cpu_supports("ssse3");
  }();
  return has;
}
#endif

}  // namespace

namespace detail {

void Sha1BlocksPortable(uint32_t State[5], const uint8_t* Data, size_t Blocks) {
  uint32_t w[16];
  for (; Blocks > 0; --Blocks, Data += 64) {
    for (int i = 0; i < 16; ++i) w[i] = Load32BE(Data + 4 * i);
    uint32_t a = State[0], b = State[1], c = State[2], d = State[3], e = State[4];
    // The schedule is kept in a ring of 16 words: W[t] for t >= 16 is
    // rol1(W[t-3] ^ W[t-8] ^ W[t-14] ^ W[t-16]).
    auto sched = [&w](int t) {
      uint32_t& x = w[t & 15];
      x = Rol(w[(t - 3) & 15] ^ w[(t - 8) & 15] ^ w[(t - 14) & 15] ^ x, 1);
      return x;
    };
    auto round = [&](uint32_t f, uint32_t k, uint32_t wt) {
      const uint32_t tmp = Rol(a, 5) + f + e + k + wt;
      e = d;
      d = c;
      c = Rol(b, 30);
      b = a;
      a = tmp;
    };
    for (int t = 0; t < 16; ++t) round((b & c) | (~b & d), 0x5A827999u, w[t]);
    for (int t = 16; t < 20; ++t) round((b & c) | (~b & d), 0x5A827999u, sched(t));
    for (int t = 20; t < 40; ++t) round(b ^ c ^ d, 0x6ED9EBA1u, sched(t));
    for (int t = 40; t < 60; ++t) round((b & c) | (b & d) | (c & d), 0x8F1BBCDCu, sched(t));
    for (int t = 60; t < 80; ++t) round(b ^ c ^ d, 0xCA62C1D6u, sched(t));
    State[0] += a;
    State[1] += b;
    State[2] += c;
    State[3] += d;
    State[4] += e;
  }
  SecureZero(w, sizeof w);
}

#ifdef KYN_SHA_X86

bool Sha1HasShaNi() { return HasShaNi(); }

#define KYN_SHA_TARGET __attribute__((target("sha,sse4.1,ssse3")))

// Each sha1rnds4 runs four rounds; the E input of the next four rounds is
// derived (sha1nexte) from the ABCD value before these rounds. The message
// vectors follow W[t..t+3] = msg2(msg1(W[t-16..]) ^ W[t-8..], W[t-4..]).
KYN_SHA_TARGET void Sha1BlocksShaNi(uint32_t State[5], const uint8_t* Data, size_t Blocks) {
  const __m128i mask = _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
  __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(State)), 0x1B);
  __m128i e0 = _mm_set_epi32(static_cast<int>(State[4]), 0, 0, 0);

  for (; Blocks > 0; --Blocks, Data += 64) {
    const __m128i abcdSave = abcd;
    const __m128i eSave = e0;
    __m128i m0 = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Data + 0)), mask);
    __m128i m1 = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Data + 16)), mask);
    __m128i m2 = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Data + 32)), mask);
    __m128i m3 = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Data + 48)), mask);
    __m128i e1;

    // Rounds 0-3.
    e0 = _mm_add_epi32(e0, m0);
    e1 = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e0, 0);
    // Rounds 4-7.
    e1 = _mm_sha1nexte_epu32(e1, m1);
    e0 = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e1, 0);
    m0 = _mm_sha1msg1_epu32(m0, m1);
    // Rounds 8-11.
    e0 = _mm_sha1nexte_epu32(e0, m2);
    e1 = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e0, 0);
    m1 = _mm_sha1msg1_epu32(m1, m2);
    m0 = _mm_xor_si128(m0, m2);

// One group of four rounds from round 12 on. A, B: the E registers (A is
// consumed, B receives the current ABCD); W: the message vector of these
// rounds; N: next vector to finish with msg2; P: vector to start with msg1;
// X: vector to xor into. F: round function.
#define KYN_SHA_GROUP(A, B, W, N, P, X, F)      \
  A = _mm_sha1nexte_epu32(A, W);                \
  B = abcd;                                     \
  N = _mm_sha1msg2_epu32(N, W);                 \
  abcd = _mm_sha1rnds4_epu32(abcd, A, F);       \
  P = _mm_sha1msg1_epu32(P, W);                 \
  X = _mm_xor_si128(X, W);

    KYN_SHA_GROUP(e1, e0, m3, m0, m2, m1, 0)  // 12-15
    KYN_SHA_GROUP(e0, e1, m0, m1, m3, m2, 0)  // 16-19
    KYN_SHA_GROUP(e1, e0, m1, m2, m0, m3, 1)  // 20-23
    KYN_SHA_GROUP(e0, e1, m2, m3, m1, m0, 1)  // 24-27
    KYN_SHA_GROUP(e1, e0, m3, m0, m2, m1, 1)  // 28-31
    KYN_SHA_GROUP(e0, e1, m0, m1, m3, m2, 1)  // 32-35
    KYN_SHA_GROUP(e1, e0, m1, m2, m0, m3, 1)  // 36-39
    KYN_SHA_GROUP(e0, e1, m2, m3, m1, m0, 2)  // 40-43
    KYN_SHA_GROUP(e1, e0, m3, m0, m2, m1, 2)  // 44-47
    KYN_SHA_GROUP(e0, e1, m0, m1, m3, m2, 2)  // 48-51
    KYN_SHA_GROUP(e1, e0, m1, m2, m0, m3, 2)  // 52-55
    KYN_SHA_GROUP(e0, e1, m2, m3, m1, m0, 2)  // 56-59
    KYN_SHA_GROUP(e1, e0, m3, m0, m2, m1, 3)  // 60-63
    KYN_SHA_GROUP(e0, e1, m0, m1, m3, m2, 3)  // 64-67
#undef KYN_SHA_GROUP

    // Rounds 68-71.
    e1 = _mm_sha1nexte_epu32(e1, m1);
    e0 = abcd;
    m2 = _mm_sha1msg2_epu32(m2, m1);
    abcd = _mm_sha1rnds4_epu32(abcd, e1, 3);
    m3 = _mm_xor_si128(m3, m1);
    // Rounds 72-75.
    e0 = _mm_sha1nexte_epu32(e0, m2);
    e1 = abcd;
    m3 = _mm_sha1msg2_epu32(m3, m2);
    abcd = _mm_sha1rnds4_epu32(abcd, e0, 3);
    // Rounds 76-79.
    e1 = _mm_sha1nexte_epu32(e1, m3);
    e0 = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e1, 3);

    e0 = _mm_sha1nexte_epu32(e0, eSave);
    abcd = _mm_add_epi32(abcd, abcdSave);
  }

  abcd = _mm_shuffle_epi32(abcd, 0x1B);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(State), abcd);
  State[4] = static_cast<uint32_t>(_mm_extract_epi32(e0, 3));
}

#else

bool Sha1HasShaNi() { return false; }
void Sha1BlocksShaNi(uint32_t State[5], const uint8_t* Data, size_t Blocks) {
  Sha1BlocksPortable(State, Data, Blocks);
}

#endif

}  // namespace detail

// ----------------------------------------------------------------- context

TSHA1Context::TSHA1Context(bool UseHardware) : FBlocks(detail::Sha1BlocksPortable) {
#ifdef KYN_SHA_X86
  if (UseHardware && HasShaNi()) FBlocks = detail::Sha1BlocksShaNi;
#else
  (void)UseHardware;
#endif
  Reset();
}

void TSHA1Context::Reset() {
  FState[0] = 0x67452301u;
  FState[1] = 0xEFCDAB89u;
  FState[2] = 0x98BADCFEu;
  FState[3] = 0x10325476u;
  FState[4] = 0xC3D2E1F0u;
  FBitCount = 0;
  FFill = 0;
  std::memset(FBlock, 0, sizeof FBlock);
}

void TSHA1Context::Wipe() {
  SecureZero(FState, sizeof FState);
  SecureZero(&FBitCount, sizeof FBitCount);
  SecureZero(FBlock, sizeof FBlock);
  SecureZero(&FFill, sizeof FFill);
}

void TSHA1Context::Update(const void* Data, size_t Len) {
  const auto* p = static_cast<const uint8_t*>(Data);
  FBitCount += static_cast<uint64_t>(Len) * 8;
  if (FFill > 0) {
    const size_t take = std::min<size_t>(Len, 64 - FFill);
    std::memcpy(FBlock + FFill, p, take);
    FFill += static_cast<uint32_t>(take);
    p += take;
    Len -= take;
    if (FFill < 64) return;
    FBlocks(FState, FBlock, 1);
    FFill = 0;
    SecureZero(FBlock, sizeof FBlock);
  }
  if (Len >= 64) {
    FBlocks(FState, p, Len / 64);
    p += Len / 64 * 64;
    Len %= 64;
  }
  if (Len > 0) {
    std::memcpy(FBlock, p, Len);
    FFill = static_cast<uint32_t>(Len);
  }
}

TSHACode TSHA1Context::Final() {
  uint8_t pad[128] = {0x80};
  const size_t padLen = (FFill < 56 ? 56 : 120) - FFill;
  uint8_t len[8];
  for (int i = 0; i < 8; ++i) len[i] = static_cast<uint8_t>(FBitCount >> (56 - 8 * i));
  Update(pad, padLen);
  Update(len, 8);
  TSHACode r;
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 4; ++j) r[static_cast<size_t>(4 * i + j)] = static_cast<uint8_t>(FState[i] >> (24 - 8 * j));
  Wipe();
  Reset();
  return r;
}

// --------------------------------------------------------------- functions

TSHACode SHA1FromString(const String& S) {
  const std::string utf8 = StringToUtf8(S);
  TSHA1Context ctx;
  ctx.Update(utf8.data(), utf8.size());
  return ctx.Final();
}

TSHACode SHA1FromStream(TStream& Stream) {
  TSHA1Context ctx;
  std::vector<uint8_t> buf(64 * 1024);
  for (;;) {
    const int64_t n = Stream.Read(buf.data(), static_cast<int64_t>(buf.size()));
    if (n <= 0) break;
    ctx.Update(buf.data(), static_cast<size_t>(n));
  }
  SecureZero(buf.data(), buf.size());
  return ctx.Final();
}

TSHACode SHA1FromFile(const String& FileName) {
  TFileStream f(FileName, fmOpenRead);
  return SHA1FromStream(f);
}

String SHA1DigestToHex(const TSHACode& Digest) {
  String r;
  r.reserve(40);
  for (uint8_t b : Digest) r += IntToHexStr(b, 2);
  return r;
}

}  // namespace kyn
