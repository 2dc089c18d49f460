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

// Folds 64-byte blocks four lanes at a time with carry-less multiplication,
// reduces to 128 bits, folds the remaining 16-byte blocks, then reduces to 32
// bits by Barrett reduction. The fold constants are x^(n) mod P for the bit-
// reflected polynomial; bytes that do not fill a 16-byte block go through the
// table loop.
__attribute__((target("pclmul,sse4.1"))) static inline __m128i Fold128(__m128i acc, __m128i next, __m128i k) {
  const __m128i lo = _mm_clmulepi64_si128(acc, k, 0x00);
  const __m128i hi = _mm_clmulepi64_si128(acc, k, 0x11);
  return _mm_xor_si128(_mm_xor_si128(hi, next), lo);
}

__attribute__((target("pclmul,sse4.1"))) uint32_t Crc32Clmul(uint32_t Crc, const uint8_t* buf, size_t Len) {
  if (Len < 64) return Crc32Slice8(Crc, buf, Len);
  alignas(16) static const uint64_t k1k2[2] = {0x0154442bd4ull, 0x01c6e41596ull};
  alignas(16) static const uint64_t k3k4[2] = {0x01751997d0ull, 0x00ccaa009eull};
  alignas(16) static const uint64_t k5k0[2] = {0x0163cd6124ull, 0};
  alignas(16) static const uint64_t poly[2] = {0x01db710641ull, 0x01f7011641ull};

  const uint8_t* p = buf;
  size_t len = Len;
  __m128i x1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 0x00));
  __m128i x2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 0x10));
  __m128i x3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 0x20));
  __m128i x4 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 0x30));
  x1 = _mm_xor_si128(x1, _mm_cvtsi32_si128(static_cast<int>(Crc)));
  __m128i k = _mm_load_si128(reinterpret_cast<const __m128i*>(k1k2));
  p += 64;
  len -= 64;

  while (len >= 64) {
    const __m128i a1 = _mm_clmulepi64_si128(x1, k, 0x00);
    const __m128i a2 = _mm_clmulepi64_si128(x2, k, 0x00);
    const __m128i a3 = _mm_clmulepi64_si128(x3, k, 0x00);
    const __m128i a4 = _mm_clmulepi64_si128(x4, k, 0x00);
    x1 = _mm_clmulepi64_si128(x1, k, 0x11);
    x2 = _mm_clmulepi64_si128(x2, k, 0x11);
    x3 = _mm_clmulepi64_si128(x3, k, 0x11);
    x4 = _mm_clmulepi64_si128(x4, k, 0x11);
    x1 = _mm_xor_si128(_mm_xor_si128(x1, a1), _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 0x00)));
    x2 = _mm_xor_si128(_mm_xor_si128(x2, a2), _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 0x10)));
    x3 = _mm_xor_si128(_mm_xor_si128(x3, a3), _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 0x20)));
    x4 = _mm_xor_si128(_mm_xor_si128(x4, a4), _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 0x30)));
    p += 64;
    len -= 64;
  }

  // Four lanes into one.
  k = _mm_load_si128(reinterpret_cast<const __m128i*>(k3k4));
  x1 = Fold128(x1, x2, k);
  x1 = Fold128(x1, x3, k);
  x1 = Fold128(x1, x4, k);
  while (len >= 16) {
    x1 = Fold128(x1, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), k);
    p += 16;
    len -= 16;
  }

  // 128 bits to 64.
  x2 = _mm_clmulepi64_si128(x1, k, 0x10);
  const __m128i mask32 = _mm_setr_epi32(~0, 0, ~0, 0);
  x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2);
  k = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(k5k0));
  x2 = _mm_srli_si128(x1, 4);
  x1 = _mm_and_si128(x1, mask32);
  x1 = _mm_clmulepi64_si128(x1, k, 0x00);
  x1 = _mm_xor_si128(x1, x2);

  // Barrett reduction to 32 bits.
  k = _mm_load_si128(reinterpret_cast<const __m128i*>(poly));
  x2 = _mm_and_si128(x1, mask32);
  x2 = _mm_clmulepi64_si128(x2, k, 0x10);
  x2 = _mm_and_si128(x2, mask32);
  x2 = _mm_clmulepi64_si128(x2, k, 0x00);
  x1 = _mm_xor_si128(x1, x2);
  const uint32_t r = static_cast<uint32_t>(_mm_extract_epi32(x1, 1));
  return Crc32Slice8(r, p, len);
}

#else

bool Crc32HasClmul() { return false; }
uint32_t Crc32Clmul(uint32_t Crc, const uint8_t* Data, size_t Len) { return Crc32Slice8(Crc, Data, Len); }

#endif

}  // namespace detail

uint32_t CRC32Update(uint32_t Crc, const void* Data, size_t Len) {
  const auto* p = static_cast<const uint8_t*>(Data);
#ifdef KYN_CRC_X86
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
