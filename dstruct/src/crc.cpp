// CRC-16 and CRC-32: one-byte table steps, slicing loops and the
// carry-less-multiplication fold for CRC-32.
#include <algorithm>
#include <cstring>
#include <vector>

#include "kyn/dstruct/checksums.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KYN_CRC_X86 1
#endif

namespace kyn {

namespace {

// Tables of the slicing loops: entry [k][x] is the CRC register after the byte
// x followed by k zero bytes, starting from a zero register. Row 0 is the
// one-byte table.
struct Crc32Tables {
  uint32_t t[8][256];
};
struct Crc16Tables {
  uint16_t t[16][256];
};

constexpr Crc32Tables MakeCrc32Tables() {
  Crc32Tables r{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    r.t[0][i] = c;
  }
  for (int k = 1; k < 8; ++k)
    for (int i = 0; i < 256; ++i) r.t[k][i] = (r.t[k - 1][i] >> 8) ^ r.t[0][r.t[k - 1][i] & 0xFF];
  return r;
}

constexpr Crc16Tables MakeCrc16Tables() {
  Crc16Tables r{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i << 8;
    for (int k = 0; k < 8; ++k) c = (c & 0x8000) ? (c << 1) ^ 0x1021u : c << 1;
    r.t[0][i] = static_cast<uint16_t>(c);
  }
  for (int k = 1; k < 16; ++k)
    for (int i = 0; i < 256; ++i) {
      const uint16_t p = r.t[k - 1][i];
      r.t[k][i] = static_cast<uint16_t>((p << 8) ^ r.t[0][p >> 8]);
    }
  return r;
}

constexpr Crc32Tables kCrc32 = MakeCrc32Tables();
constexpr Crc16Tables kCrc16 = MakeCrc16Tables();

static_assert(kCrc32.t[0][1] == 0x77073096u);
static_assert(kCrc16.t[0][1] == 0x1021 && kCrc16.t[0][2] == 0x2042);

inline uint32_t Load32LE(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap32(v);
#endif
  return v;
}

size_t ClampCount(const TBytes& Buf, int32_t Count) {
  if (Count <= 0) return 0;
  return std::min(static_cast<size_t>(Count), Buf.size());
}

#ifdef KYN_CRC_X86
bool HasClmul() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
  }();
  return has;
}
bool HasVpclmul() {
  static const bool has = [] {
    __builtin_cpu_init();
    return HasClmul() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
           __builtin_cpu_supports("vpclmulqdq");
  }();
  return has;
}
#endif

}  // namespace

uint16_t CalcNextCRC16(uint8_t b, uint16_t crc) {
  return static_cast<uint16_t>(kCrc16.t[0][((crc >> 8) ^ b) & 0xFF] ^ ((crc << 8) & 0xFFFF));
}

uint32_t CalcNextCRC32(uint8_t b, uint32_t crc) {
  return kCrc32.t[0][(crc ^ b) & 0xFF] ^ (crc >> 8);
}

namespace detail {

uint32_t Crc32Slice8(uint32_t Crc, const uint8_t* p, size_t Len) {
  const auto& t = kCrc32.t;
  while (Len >= 8) {
    const uint32_t lo = Load32LE(p) ^ Crc;
    const uint32_t hi = Load32LE(p + 4);
    Crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
          t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
    p += 8;
    Len -= 8;
  }
  while (Len--) Crc = t[0][(Crc ^ *p++) & 0xFF] ^ (Crc >> 8);
  return Crc;
}

uint16_t Crc16Slice16(uint16_t Crc, const uint8_t* p, size_t Len) {
  const auto& t = kCrc16.t;
  while (Len >= 16) {
    const uint32_t c = Crc;
    Crc = static_cast<uint16_t>(
        t[15][p[0] ^ (c >> 8)] ^ t[14][p[1] ^ (c & 0xFF)] ^ t[13][p[2]] ^ t[12][p[3]] ^ t[11][p[4]] ^
        t[10][p[5]] ^ t[9][p[6]] ^ t[8][p[7]] ^ t[7][p[8]] ^ t[6][p[9]] ^ t[5][p[10]] ^ t[4][p[11]] ^
        t[3][p[12]] ^ t[2][p[13]] ^ t[1][p[14]] ^ t[0][p[15]]);
    p += 16;
    Len -= 16;
  }
  while (Len--) Crc = static_cast<uint16_t>(t[0][((Crc >> 8) ^ *p++) & 0xFF] ^ ((Crc << 8) & 0xFFFF));
  return Crc;
}

#ifdef KYN_CRC_X86

bool Crc32HasClmul() { return HasClmul(); }
bool Crc32HasVpclmul() { return HasVpclmul(); }

// Carry-less folding: a 128-bit lane of data a distance of D bits before the
// rest is folded forward by multiplying its halves with x^(D+32) and
// x^(D-32) mod P (bit-reflected, in the low and high half of the constant).
// The two ends are the same for both vector widths: at least one 128-bit
// lane is loaded with the start value xored in, and the folded value is
// reduced to 32 bits by Barrett reduction.
alignas(16) const uint64_t kFold128[2] = {0x01751997d0ull, 0x00ccaa009eull};
alignas(16) const uint64_t kFold512[2] = {0x0154442bd4ull, 0x01c6e41596ull};
alignas(16) const uint64_t kFold2048[2] = {0x011542778aull, 0x01322d1430ull};
alignas(16) const uint64_t kFold64[2] = {0x0163cd6124ull, 0};
alignas(16) const uint64_t kBarrett[2] = {0x01db710641ull, 0x01f7011641ull};

#define KYN_CLMUL_TARGET __attribute__((target("pclmul,sse4.1")))
#define KYN_VPCLMUL_TARGET __attribute__((target("avx512f,avx512vl,vpclmulqdq,pclmul,sse4.1")))

KYN_CLMUL_TARGET static inline __m128i Fold128(__m128i acc, __m128i next, __m128i k) {
  const __m128i lo = _mm_clmulepi64_si128(acc, k, 0x00);
  const __m128i hi = _mm_clmulepi64_si128(acc, k, 0x11);
  return _mm_xor_si128(_mm_xor_si128(hi, next), lo);
}

inline __m128i Load128(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// Folds the remaining 16-byte blocks into x1, reduces it to the 32-bit
// register value and finishes the last bytes with the table loop.
KYN_CLMUL_TARGET static uint32_t Crc32Finish(__m128i x1, const uint8_t* p, size_t len) {
  __m128i k = _mm_load_si128(reinterpret_cast<const __m128i*>(kFold128));
  for (; len >= 16; p += 16, len -= 16) x1 = Fold128(x1, Load128(p), k);

  // 128 bits to 64.
  __m128i x2 = _mm_clmulepi64_si128(x1, k, 0x10);
  const __m128i mask32 = _mm_setr_epi32(~0, 0, ~0, 0);
  x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2);
  k = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kFold64));
  x2 = _mm_srli_si128(x1, 4);
  x1 = _mm_and_si128(x1, mask32);
  x1 = _mm_clmulepi64_si128(x1, k, 0x00);
  x1 = _mm_xor_si128(x1, x2);

  // Barrett reduction to 32 bits.
  k = _mm_load_si128(reinterpret_cast<const __m128i*>(kBarrett));
  x2 = _mm_and_si128(x1, mask32);
  x2 = _mm_clmulepi64_si128(x2, k, 0x10);
  x2 = _mm_and_si128(x2, mask32);
  x2 = _mm_clmulepi64_si128(x2, k, 0x00);
  x1 = _mm_xor_si128(x1, x2);
  return Crc32Slice8(static_cast<uint32_t>(_mm_extract_epi32(x1, 1)), p, len);
}

// Four 128-bit lanes, 64 bytes per step.
KYN_CLMUL_TARGET uint32_t Crc32Clmul(uint32_t Crc, const uint8_t* p, size_t len) {
  if (len < 64) return Crc32Slice8(Crc, p, len);
  __m128i x1 = _mm_xor_si128(Load128(p), _mm_cvtsi32_si128(static_cast<int>(Crc)));
  __m128i x2 = Load128(p + 16), x3 = Load128(p + 32), x4 = Load128(p + 48);
  p += 64;
  len -= 64;
  const __m128i k = _mm_load_si128(reinterpret_cast<const __m128i*>(kFold512));
  for (; len >= 64; p += 64, len -= 64) {
    x1 = Fold128(x1, Load128(p), k);
    x2 = Fold128(x2, Load128(p + 16), k);
    x3 = Fold128(x3, Load128(p + 32), k);
    x4 = Fold128(x4, Load128(p + 48), k);
  }
  const __m128i k1 = _mm_load_si128(reinterpret_cast<const __m128i*>(kFold128));
  x1 = Fold128(x1, x2, k1);
  x1 = Fold128(x1, x3, k1);
  x1 = Fold128(x1, x4, k1);
  return Crc32Finish(x1, p, len);
}

KYN_VPCLMUL_TARGET static inline __m512i Fold512(__m512i acc, __m512i next, __m512i k) {
  const __m512i lo = _mm512_clmulepi64_epi128(acc, k, 0x00);
  const __m512i hi = _mm512_clmulepi64_epi128(acc, k, 0x11);
  return _mm512_ternarylogic_epi64(lo, hi, next, 0x96);  // lo ^ hi ^ next
}

KYN_VPCLMUL_TARGET static inline __m512i Broadcast128(const uint64_t* k) {
  const auto lo = static_cast<long long>(k[0]), hi = static_cast<long long>(k[1]);
  return _mm512_set_epi64(hi, lo, hi, lo, hi, lo, hi, lo);
}

KYN_VPCLMUL_TARGET static inline __m512i Load512(const uint8_t* p) { return _mm512_loadu_si512(p); }

// Four 512-bit registers, 256 bytes per step.
KYN_VPCLMUL_TARGET uint32_t Crc32Vpclmul(uint32_t Crc, const uint8_t* p, size_t len) {
  if (len < 256) return Crc32Clmul(Crc, p, len);
  __m512i x0 = _mm512_xor_si512(Load512(p), _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(Crc))));
  __m512i x1 = Load512(p + 64), x2 = Load512(p + 128), x3 = Load512(p + 192);
  p += 256;
  len -= 256;
  const __m512i k2048 = Broadcast128(kFold2048);
  for (; len >= 256; p += 256, len -= 256) {
    x0 = Fold512(x0, Load512(p), k2048);
    x1 = Fold512(x1, Load512(p + 64), k2048);
    x2 = Fold512(x2, Load512(p + 128), k2048);
    x3 = Fold512(x3, Load512(p + 192), k2048);
  }
  const __m512i k512 = Broadcast128(kFold512);
  x0 = Fold512(x0, x1, k512);
  x0 = Fold512(x0, x2, k512);
  x0 = Fold512(x0, x3, k512);
  for (; len >= 64; p += 64, len -= 64) x0 = Fold512(x0, Load512(p), k512);
  // The four lanes of x0 into one.
  const __m128i k128 = _mm_load_si128(reinterpret_cast<const __m128i*>(kFold128));
  alignas(64) uint8_t lanes[64];
  _mm512_store_si512(lanes, x0);
  __m128i x = Load128(lanes);
  x = Fold128(x, Load128(lanes + 16), k128);
  x = Fold128(x, Load128(lanes + 32), k128);
  x = Fold128(x, Load128(lanes + 48), k128);
  return Crc32Finish(x, p, len);
}

#else

bool Crc32HasClmul() { return false; }
bool Crc32HasVpclmul() { return false; }
uint32_t Crc32Clmul(uint32_t Crc, const uint8_t* Data, size_t Len) { return Crc32Slice8(Crc, Data, Len); }
uint32_t Crc32Vpclmul(uint32_t Crc, const uint8_t* Data, size_t Len) { return Crc32Slice8(Crc, Data, Len); }

#endif

}  // namespace detail

uint32_t CRC32Update(uint32_t Crc, const void* Data, size_t Len) {
  const auto* p = static_cast<const uint8_t*>(Data);
#ifdef KYN_CRC_X86
  if (HasVpclmul()) return detail::Crc32Vpclmul(Crc, p, Len);
  if (HasClmul()) return detail::Crc32Clmul(Crc, p, Len);
#endif
  return detail::Crc32Slice8(Crc, p, Len);
}

uint16_t CRC16Update(uint16_t Crc, const void* Data, size_t Len) {
  return detail::Crc16Slice16(Crc, static_cast<const uint8_t*>(Data), Len);
}

uint16_t CRC16ofBuffer(const TBytes& Buf, int32_t Count, TCRC16Mode Mode) {
  const uint16_t start = Mode == crcCCITT ? 0xFFFF : 0x0000;
  return CRC16Update(start, Buf.data(), ClampCount(Buf, Count));
}

uint32_t CRC32ofBuffer(const TBytes& Buf, int32_t Count) {
  return ~CRC32Update(0xFFFFFFFFu, Buf.data(), ClampCount(Buf, Count));
}

uint32_t CalcCRC32ofFile(const String& FileName) {
  uint32_t crc = 0xFFFFFFFFu;
  try {
    TFileStream f(FileName, fmOpenRead);
    uint8_t block[4096];
    for (;;) {
      const int64_t n = f.Read(block, sizeof block);
      if (n <= 0) break;
      crc = CRC32Update(crc, block, static_cast<size_t>(n));
    }
  } catch (const Exception&) {
    crc = 0xFFFFFFFFu;
  }
  return ~crc;
}

}  // namespace kyn
