// ASCII85 coding between byte streams. Both directions work on 64 KiB blocks
// of the streams; the decoder hands back what it read beyond its end mark by
// seeking the source back.
#include <algorithm>
#include <vector>

#include "kyn/dstruct/checksums.h"

namespace kyn {

namespace {

constexpr size_t kBlock = 64 * 1024;
constexpr uint32_t kPow85[5] = {1, 85, 7225, 614125, 52200625};

// Collects output bytes and writes them to the target in blocks.
class BlockWriter {
 public:
  explicit BlockWriter(TStream& Target) : FTarget(Target) { FBuf.reserve(kBlock + 8); }
  uint8_t* Room(size_t n) {
    if (FBuf.size() + n > kBlock) Flush();
    const size_t at = FBuf.size();
    FBuf.resize(at + n);
    return FBuf.data() + at;
  }
  void Flush() {
    if (!FBuf.empty()) FTarget.WriteBuffer(FBuf.data(), static_cast<int64_t>(FBuf.size()));
    FBuf.clear();
  }

 private:
  TStream& FTarget;
  std::vector<uint8_t> FBuf;
};

// Reads the source in blocks; Give back returns the unread rest to it.
class BlockReader {
 public:
  explicit BlockReader(TStream& Source) : FSource(Source), FBuf(kBlock) {}
  size_t Avail() const { return FLen - FPos; }
  const uint8_t* Ptr() const { return FBuf.data() + FPos; }
  void Skip(size_t n) { FPos += n; }
  // The next character that is not CR or LF, or -1 at the end.
  int NextChar() {
    for (;;) {
      if (FPos == FLen && !Refill()) return -1;
      const uint8_t c = FBuf[FPos++];
      if (c != 0x0D && c != 0x0A) return c;
    }
  }
  void GiveBack() {
    if (Avail() > 0) FSource.Seek(-static_cast<int64_t>(Avail()), TSeekOrigin::soCurrent);
    FPos = FLen;
  }

 private:
  bool Refill() {
    if (FEnd) return false;
    const int64_t n = FSource.Read(FBuf.data(), static_cast<int64_t>(FBuf.size()));
    FPos = 0;
    FLen = n > 0 ? static_cast<size_t>(n) : 0;
    if (FLen == 0) FEnd = true;
    return FLen > 0;
  }
  TStream& FSource;
  std::vector<uint8_t> FBuf;
  size_t FPos = 0, FLen = 0;
  bool FEnd = false;
};

// v as Digits base-85 digits, most significant first, offset by 33.
inline void PutDigits(uint32_t v, int Digits, uint8_t* out) {
  for (int i = Digits - 1; i >= 0; --i) {
    out[i] = static_cast<uint8_t>(v % 85 + 33);
    v /= 85;
  }
}

}  // namespace

void EncodeASCII85(TStream& Source, TStream& Target) {
  std::vector<uint8_t> in(kBlock);
  std::vector<uint8_t> out(kBlock / 4 * 5 + 8);
  for (;;) {
    const int64_t got = Source.Read(in.data(), static_cast<int64_t>(in.size()));
    const size_t n = got > 0 ? static_cast<size_t>(got) : 0;
    const size_t full = n / 4 * 4;
    const uint8_t* p = in.data();
    uint8_t* o = out.data();
    for (const uint8_t* end = p + full; p < end; p += 4) {
      const uint32_t v = (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
      if (v == 0) {
        *o++ = 'z';
        continue;
      }
      PutDigits(v, 5, o);
      o += 5;
    }
    const bool last = n < in.size();
    if (last) {
      // The short read ends the input; its last 1..3 bytes form a short group
      // written as n + 1 digits, without padding. Then the end mark.
      const size_t rest = n - full;
      if (rest > 0) {
        uint32_t v = 0;
        for (size_t i = full; i < n; ++i) v = (v << 8) | in[i];
        PutDigits(v, static_cast<int>(rest) + 1, o);
        o += rest + 1;
      }
      *o++ = '~';
      *o++ = '>';
    }
    Target.WriteBuffer(out.data(), o - out.data());
    if (last) break;
  }
}

int32_t DecodeASCII85(TStream& Source, TStream& Target) {
  BlockReader r(Source);
  BlockWriter w(Target);
  int32_t status = 0;
  for (;;) {
    // A group of five plain digits: the common case, taken directly.
    if (r.Avail() >= 5) {
      const uint8_t* p = r.Ptr();
      if (p[0] - 33u <= 84u && p[1] - 33u <= 84u && p[2] - 33u <= 84u && p[3] - 33u <= 84u &&
          p[4] - 33u <= 84u) {
        const uint32_t v = (p[0] - 33u) * kPow85[4] + (p[1] - 33u) * kPow85[3] + (p[2] - 33u) * kPow85[2] +
                           (p[3] - 33u) * kPow85[1] + (p[4] - 33u);
        uint8_t* o = w.Room(4);
        o[0] = static_cast<uint8_t>(v >> 24);
        o[1] = static_cast<uint8_t>(v >> 16);
        o[2] = static_cast<uint8_t>(v >> 8);
        o[3] = static_cast<uint8_t>(v);
        r.Skip(5);
        continue;
      }
    }
    int c = r.NextChar();
    if (c < 0) break;
    if (c == 'z') {
      uint8_t* o = w.Room(4);
      o[0] = o[1] = o[2] = o[3] = 0;
      continue;
    }
    uint8_t g[5];
    int m = 0;
    g[m++] = static_cast<uint8_t>(c);
    while (m < 5 && (c = r.NextChar()) >= 0) g[m++] = static_cast<uint8_t>(c);
    bool last = m < 5;
    for (int i = m - 1; i >= 0; --i)
      if (g[i] == '~') {
        m = i;
        last = true;
        break;
      }
    uint32_t v = 0;
    for (int i = 0; i < m; ++i) {
      if (g[i] - 33u > 84u) status = g[i] == 'z' ? -2 : -1;
      v = v * 85u + (g[i] - 33u);
    }
    if (m > 1) {
      uint8_t* o = w.Room(static_cast<size_t>(m - 1));
      for (int i = 0; i < m - 1; ++i) o[i] = static_cast<uint8_t>(v >> (8 * (m - 2 - i)));
    }
    if (last) break;
  }
  r.GiveBack();
  w.Flush();
  return status;
}

}  // namespace kyn
