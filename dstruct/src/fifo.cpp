#include "kyn/dstruct/fifo.h"

#include <algorithm>
#include <new>

#include "kyn/kynbase/errors.h"

namespace kyn {

TFifo::TFifo(TComponent* AOwner) : TComponent(AOwner) {
  try {
    FData.assign(static_cast<size_t>(FLength), 0);
  } catch (const std::bad_alloc&) {
    throw EKYNDStructError(ComponentMessage(*this, u"FIFO structure too large"));
  }
}

void TFifo::SetSize(int32_t n) {
  if (n <= 0 || n == FLength) return;
  std::vector<uint8_t> data;
  try {
    data.assign(static_cast<size_t>(n), 0);
  } catch (const std::bad_alloc&) {
    throw EKYNDStructError(ComponentMessage(*this, u"FIFO structure too large"));
  }
  // Keep the newest bytes that fit, in reading order from position 0.
  const int32_t held = CountBytes();
  const int32_t keep = std::min(held, n - 1);
  for (int32_t i = 0; i < keep; ++i) {
    uint8_t b = 0;
    SenseByte(held - keep + i, b);
    data[static_cast<size_t>(i)] = b;
  }
  FData.swap(data);
  FLength = n;
  FOutPoi = 0;
  FInPoi = keep;
}

bool TFifo::PutByte(uint8_t InByte) {
  if (Full()) return false;
  FData[static_cast<size_t>(FInPoi)] = InByte;
  FInPoi = Next(FInPoi);
  return true;
}

bool TFifo::ForceByte(uint8_t InByte) {
  const bool dropped = Full();
  if (dropped) FOutPoi = Next(FOutPoi);
  // A FIFO of Size 1 stays full after dropping: it can hold nothing.
  PutByte(InByte);
  return dropped;
}

bool TFifo::LoadBack(uint8_t InByte) {
  if (Full()) return false;
  FOutPoi = FOutPoi == 0 ? FLength - 1 : FOutPoi - 1;
  FData[static_cast<size_t>(FOutPoi)] = InByte;
  return true;
}

bool TFifo::GetByte(uint8_t& OutByte) {
  if (FOutPoi == FInPoi) return false;
  OutByte = FData[static_cast<size_t>(FOutPoi)];
  FOutPoi = Next(FOutPoi);
  return true;
}

bool TFifo::SenseByte(int32_t ix, uint8_t& OutByte) const {
  if (ix < 0 || ix >= CountBytes()) return false;
  const int64_t p = (static_cast<int64_t>(FOutPoi) + ix) % FLength;
  OutByte = FData[static_cast<size_t>(p)];
  return true;
}

int32_t TFifo::CountBytes() const {
  const int32_t d = FInPoi - FOutPoi;
  return d < 0 ? d + FLength : d;
}

void TFifo::Clear() {
  FInPoi = 0;
  FOutPoi = 0;
}

}  // namespace kyn
