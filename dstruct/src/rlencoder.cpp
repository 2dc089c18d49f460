#include "kyn/dstruct/rlencoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "kyn/kynbase/errors.h"

namespace kyn {

namespace {
// The work buffer reserves 4 * BufLeng bytes up front, but no more than this;
// beyond it, it grows only as output actually waits.
constexpr size_t kMaxReserve = size_t{1} << 24;
constexpr size_t kMaxWaiting = static_cast<size_t>(std::numeric_limits<int32_t>::max());
}  // namespace

TRLEncoder::TRLEncoder(TComponent* AOwner) : TComponent(AOwner) {
  Reserve(4 * static_cast<size_t>(FBufLeng));
}

void TRLEncoder::Reserve(size_t more) {
  const size_t need = FBuffer.size() + more;
  if (need - FHead > kMaxWaiting)
    throw EKYNDStructError(ComponentMessage(*this, u"not enough memory on heap"));
  if (need <= FBuffer.capacity()) return;
  // Drop the bytes already handed out before growing.
  if (FHead > 0) {
    FBuffer.erase(FBuffer.begin(), FBuffer.begin() + static_cast<std::ptrdiff_t>(FHead));
    FHead = 0;
    if (FBuffer.size() + more <= FBuffer.capacity()) return;
  }
  try {
    FBuffer.reserve(std::max(FBuffer.size() + more, 2 * FBuffer.capacity()));
  } catch (const std::bad_alloc&) {
    throw EKYNDStructError(ComponentMessage(*this, u"not enough memory on heap"));
  } catch (const std::length_error&) {
    throw EKYNDStructError(ComponentMessage(*this, u"not enough memory on heap"));
  }
}

void TRLEncoder::SetBufLeng(int32_t v) {
  if (v < 1 || v == FBufLeng) return;
  FBufLeng = v;
  const size_t want = std::min(4 * static_cast<size_t>(v), kMaxReserve);
  if (FBuffer.size() < want) Reserve(want - FBuffer.size());
}

void TRLEncoder::Append(uint8_t b) {
  Reserve(1);
  FBuffer.push_back(b);
}

void TRLEncoder::AppendRun(uint8_t count, uint8_t value) {
  Reserve(3);
  FBuffer.push_back(LeadInByte);
  FBuffer.push_back(count);
  FBuffer.push_back(value);
}

void TRLEncoder::AppendRepeated(uint8_t value, uint8_t count) {
  Reserve(count);
  FBuffer.insert(FBuffer.end(), count, value);
}

// Writes the pending run as literals or a run item and leaves no run pending.
void TRLEncoder::CloseRun() {
  if (FCount <= 2 && FLastB != LeadInByte)
    AppendRepeated(FLastB, FCount);
  else
    AppendRun(FCount, FLastB);
  FCount = 0;
}

void TRLEncoder::EncodeByte(uint8_t a) {
  if (FCount == 0) {
    FCount = 1;
    FLastB = a;
  } else if (a == FLastB) {
    if (++FCount == 255) {
      AppendRun(255, FLastB);
      FCount = 0;
    }
  } else {
    CloseRun();
    FCount = 1;
    FLastB = a;
  }
}

bool TRLEncoder::Encode(std::span<const uint8_t> InBuf) {
  FFinishing = false;
  // At most 3 output bytes per input byte: reserve once for a portion of
  // moderate size; larger ones let the buffer grow as output comes.
  if (InBuf.size() <= kMaxReserve / 3) Reserve(3 * InBuf.size());
  for (const uint8_t a : InBuf) EncodeByte(a);
  return BlockWaiting();
}

bool TRLEncoder::Encode(const TBytes& InBuf, int32_t NumBytes) {
  const size_t n = NumBytes <= 0 ? 0 : std::min(static_cast<size_t>(NumBytes), InBuf.size());
  return Encode(std::span<const uint8_t>(InBuf.data(), n));
}

bool TRLEncoder::Decode(uint8_t InByte) {
  switch (FDecodeSt) {
    case rlData:
      if (InByte == LeadInByte)
        FDecodeSt = rlLeadin;
      else
        Append(InByte);
      break;
    case rlLeadin:
      FCount = InByte;
      FDecodeSt = rlCnt;
      break;
    case rlCnt:
      AppendRepeated(InByte, FCount);
      FCount = 0;
      FDecodeSt = rlData;
      break;
  }
  return BlockWaiting();
}

bool TRLEncoder::Decode(std::span<const uint8_t> InBuf) {
  for (const uint8_t b : InBuf) Decode(b);
  return BlockWaiting();
}

void TRLEncoder::HandOut(TBytes& OutBuf, int32_t n) {
  if (n <= 0) return;
  if (OutBuf.size() < static_cast<size_t>(FBufLeng)) OutBuf.resize(static_cast<size_t>(FBufLeng));
  std::memcpy(OutBuf.data(), FBuffer.data() + FHead, static_cast<size_t>(n));
  FHead += static_cast<size_t>(n);
  if (FHead == FBuffer.size()) {
    FBuffer.clear();
    FHead = 0;
  } else if (FHead >= FBuffer.size() / 2) {
    FBuffer.erase(FBuffer.begin(), FBuffer.begin() + static_cast<std::ptrdiff_t>(FHead));
    FHead = 0;
  }
}

bool TRLEncoder::GetResult(TBytes& OutBuf) {
  if (!BlockWaiting()) return false;
  HandOut(OutBuf, FBufLeng);
  return true;
}

int32_t TRLEncoder::Finish(TBytes& OutBuf) {
  if (!FFinishing) {
    AppendRun(FCount, FLastB);
    FCount = 0;
    FFinishing = true;
  }
  return FinishDecode(OutBuf);
}

int32_t TRLEncoder::FinishDecode(TBytes& OutBuf) {
  const int32_t n = std::min(BytesWaiting(), FBufLeng);
  HandOut(OutBuf, n);
  return n;
}

void TRLEncoder::Reset() {
  FBuffer.clear();
  FHead = 0;
  FCount = 0;
  FLastB = 0;
  FDecodeSt = rlData;
  FFinishing = false;
}

}  // namespace kyn
