// Run-length coding: decoding of any input against a plain reference decoder,
// and encode-decode round trips with random BufLeng and portion sizes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_helpers.h"
#include "kyn/dstruct/rlencoder.h"

namespace {

using kyn::TBytes;

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Feeds `in` to Decode, taking blocks as they come, then FinishDecode.
TBytes Decode(const TBytes& in, int32_t bufLeng, kyn::TDecodeSt& endState) {
  kyn::TRLEncoder rle(nullptr);
  rle.SetBufLeng(bufLeng);
  TBytes out, block;
  for (uint8_t b : in) {
    if (rle.Decode(b)) {
      Check(rle.BytesWaiting() >= bufLeng);
      while (rle.GetResult(block)) out.insert(out.end(), block.begin(), block.begin() + bufLeng);
    }
    Check(rle.BytesWaiting() < bufLeng);
  }
  for (int32_t n; (n = rle.FinishDecode(block)) > 0;) {
    Check(n <= bufLeng);
    out.insert(out.end(), block.begin(), block.begin() + n);
  }
  endState = rle.DecodeState();
  return out;
}

TBytes ReferenceDecode(const TBytes& in, kyn::TDecodeSt& endState) {
  TBytes out;
  size_t i = 0;
  while (i < in.size()) {
    if (in[i] != 0xA5) {
      out.push_back(in[i++]);
    } else if (i + 2 < in.size()) {
      out.insert(out.end(), in[i + 1], in[i + 2]);
      i += 3;
    } else {
      endState = i + 1 < in.size() ? kyn::rlCnt : kyn::rlLeadin;
      return out;
    }
  }
  endState = kyn::rlData;
  return out;
}

// Encodes in portions whose sizes come from `sizes`, sometimes leaving blocks
// waiting across portions.
TBytes Encode(const TBytes& in, int32_t bufLeng, kynfuzz::Input& sizes) {
  kyn::TRLEncoder rle(nullptr);
  rle.SetBufLeng(bufLeng);
  TBytes out, block;
  size_t pos = 0;
  while (pos < in.size()) {
    const size_t portion = std::min<size_t>(in.size() - pos, sizes.take<uint8_t>() % 97 + 1);
    const uint8_t how = sizes.take<uint8_t>();
    const bool ready = rle.Encode(std::span<const uint8_t>(in.data() + pos, portion));
    Check(ready == (rle.BytesWaiting() >= bufLeng));
    pos += portion;
    if (how % 4 != 0)  // otherwise the blocks stay waiting for now
      while (rle.GetResult(block)) out.insert(out.end(), block.begin(), block.begin() + bufLeng);
  }
  while (rle.GetResult(block)) out.insert(out.end(), block.begin(), block.begin() + bufLeng);
  int calls = 0;
  for (int32_t n; (n = rle.Finish(block)) > 0;) {
    out.insert(out.end(), block.begin(), block.begin() + n);
    Check(++calls < (1 << 20));
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const uint8_t mode = in.take<uint8_t>();
  const int32_t bufLeng = in.take<uint16_t>() % 600 + 1;
  if (mode % 2 == 0) {
    const std::string s = in.rest();
    const TBytes coded(s.begin(), s.end());
    kyn::TDecodeSt got{}, want{};
    Check(Decode(coded, bufLeng, got) == ReferenceDecode(coded, want));
    Check(got == want);
    return 0;
  }
  // Round trip: the plain bytes first, the portion sizes from what follows.
  const size_t n = in.take<uint16_t>() % 2048;
  const std::string s = in.bytes(n);
  // With mode bit 1, some bytes stretch into runs of 250..265 so that the 255
  // rule is reached.
  TBytes plain;
  for (const char c : s) {
    const auto b = static_cast<uint8_t>(c);
    plain.insert(plain.end(), (mode & 2) && b % 8 == 0 ? 250u + b % 16u : 1u, b);
  }
  kynfuzz::Input sizes = in;
  const TBytes coded = Encode(plain, bufLeng, sizes);
  // The coded form does not depend on the blocking.
  static const uint8_t kNone = 0;
  kynfuzz::Input noSizes(&kNone, 0);
  Check(coded == Encode(plain, 256, noSizes));
  // Worst case: every byte a lone lead-in (3 bytes) plus the end item.
  Check(coded.size() <= 3 * plain.size() + 3);
  kyn::TDecodeSt st{};
  Check(Decode(coded, in.take<uint8_t>() % 300 + 1, st) == plain);
  Check(st == kyn::rlData);
  return 0;
}
