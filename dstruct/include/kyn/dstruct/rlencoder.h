// TRLEncoder: streaming run-length encoder and decoder.
//
// Coded form: a sequence of items, each either
//   - a literal: one byte v other than 0xA5, standing for v, or
//   - a run: 0xA5, n, v, standing for n copies of v (n = 0 stands for
//     nothing).
// The encoder writes a run of n equal bytes v as v (n = 1, v <> 0xA5), as v, v
// (n = 2, v <> 0xA5) and as 0xA5, n, v otherwise. A run reaching 255 bytes is
// written at once as 0xA5, 0xFF, v, and the next byte starts a new run even if
// it equals v. The run pending when Finish is called is always written as
// 0xA5, n, v (n = 0 included).
//
// Use one instance for one direction at a time (both share the work buffer):
//   encoding: Reset; Encode portions, taking blocks with GetResult while it
//             returns true; then Finish until it returns less than BufLeng.
//   decoding: Reset; Decode byte by byte (or Decode a portion), taking blocks
//             with GetResult while it returns true; then FinishDecode until
//             it returns less than BufLeng.
//
// The work buffer starts with room for 4 * BufLeng bytes and grows when more
// output waits than that (a caller that does not take its blocks, a large
// Encode portion, a decoded run of 255 bytes with a small BufLeng), so no
// input can write past its end. It raises EKYNDStructError ("not enough
// memory on heap") only if it cannot grow (or would exceed 2^31 - 1 bytes).
//
// FinishDecode hands out the last block of decoded output, which may be
// shorter than BufLeng; GetResult hands out full blocks only.
//
// BufLeng values below 1 are ignored. Changing BufLeng keeps the output that
// is waiting and the coding states.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "kyn/kynbase/types.h"
#include "kyn/platform/classes.h"

namespace kyn {

enum TDecodeSt : uint8_t { rlData, rlLeadin, rlCnt };

class TRLEncoder : public TComponent {
 public:
  explicit TRLEncoder(TComponent* AOwner);
  String ClassName() const override { return u"TRLEncoder"; }

  // The block length of the output, 256 after construction.
  int32_t BufLeng() const { return FBufLeng; }
  void SetBufLeng(int32_t v);

  // Encodes InBuf[0..NumBytes-1] (NumBytes clamped to 0..InBuf.size()); true
  // when at least one block of output is waiting.
  bool Encode(const TBytes& InBuf, int32_t NumBytes);
  bool Encode(std::span<const uint8_t> InBuf);
  // One byte of coded input; true when at least one block is waiting.
  bool Decode(uint8_t InByte);
  bool Decode(std::span<const uint8_t> InBuf);

  // If at least BufLeng bytes wait, hands out the first BufLeng of them in
  // OutBuf[0..BufLeng-1] (OutBuf grows to BufLeng if shorter) and returns
  // true; otherwise leaves OutBuf untouched and returns false.
  bool GetResult(TBytes& OutBuf);
  // Encoder end: appends the pending run as 0xA5, n, v, then hands out all
  // waiting bytes if fewer than BufLeng wait, else one block. Returns the
  // number of bytes written to OutBuf (which grows to BufLeng if shorter). A
  // caller that receives BufLeng calls Finish again for the rest. Only the
  // first Finish after Reset or Encode appends the end item; further calls
  // just hand out what waits (appending an empty item 0xA5, 0, v on each call
  // would never run dry with BufLeng <= 3).
  int32_t Finish(TBytes& OutBuf);
  // Decoder end: hands out the waiting decoded bytes, at most BufLeng of them
  // per call, and returns their number (0 when nothing waits). Call it again
  // while it returns BufLeng. The decoder state is left as it is, so
  // DecodeState() tells whether the input ended inside a run item.
  int32_t FinishDecode(TBytes& OutBuf);

  // Empties the work buffer and resets both coding states.
  void Reset();

  // Output bytes waiting in the work buffer.
  int32_t BytesWaiting() const { return static_cast<int32_t>(FBuffer.size() - FHead); }
  TDecodeSt DecodeState() const { return FDecodeSt; }

  static constexpr uint8_t LeadInByte = 0xA5;

 private:
  void Append(uint8_t b);
  void AppendRun(uint8_t count, uint8_t value);
  void AppendRepeated(uint8_t value, uint8_t count);
  void EncodeByte(uint8_t a);
  void CloseRun();
  // Moves n waiting bytes (n <= BytesWaiting()) to OutBuf.
  void HandOut(TBytes& OutBuf, int32_t n);
  void Reserve(size_t more);
  bool BlockWaiting() const { return BytesWaiting() >= FBufLeng; }

  int32_t FBufLeng = 256;
  // Waiting output is FBuffer[FHead..end); taken blocks advance FHead and the
  // front is dropped once it makes up half of the buffer.
  std::vector<uint8_t> FBuffer;
  size_t FHead = 0;
  TDecodeSt FDecodeSt = rlData;
  uint8_t FCount = 0;
  uint8_t FLastB = 0;
  // Finish has written the end item; cleared by Encode and Reset.
  bool FFinishing = false;
};

}  // namespace kyn
