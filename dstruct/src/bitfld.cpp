#include "kyn/dstruct/bitfld.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <new>
#include <stdexcept>

#include "kyn/kynbase/errors.h"
#include "kyn/platform/random.h"

namespace kyn {

namespace {

constexpr std::array<uint8_t, 256> MakePopCountTable() {
  std::array<uint8_t, 256> t{};
  for (int i = 0; i < 256; ++i) {
    int c = 0;
    for (int v = i; v != 0; v >>= 1) c += v & 1;
    t[static_cast<size_t>(i)] = static_cast<uint8_t>(c);
  }
  return t;
}
constexpr std::array<uint8_t, 256> kPopCount = MakePopCountTable();

size_t StorageBytes(int32_t size) { return static_cast<size_t>(size / 8) + 2; }

// Mask of bits 0..k of a byte (k in 0..7).
uint8_t LowMask(int32_t k) { return static_cast<uint8_t>((2u << k) - 1u); }

// round(r * Size) with r uniform in [0, 1), halves to even; exact in long
// double for every 32-bit r and Size.
int32_t RandomIndex(int32_t size) {
  const long double x = static_cast<long double>(RandomFloat()) * size;
  return static_cast<int32_t>(std::nearbyint(x));
}

}  // namespace

TBitFld::TBitFld(TComponent* AOwner) : TComponent(AOwner) {
  try {
    FBitArray.assign(StorageBytes(FSize), 0);
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
}

void TBitFld::OutOfMemory() const {
  throw EKYNDStructError(ComponentMessage(*this, u"not enough memory on heap"));
}

void TBitFld::SetSize(int32_t v) {
  if (v <= 0 || v == FSize) return;
  try {
    FBitArray.resize(StorageBytes(v), 0);
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  } catch (const std::length_error&) {
    OutOfMemory();
  }
  FSize = v;
}

bool TBitFld::GetBit(int32_t ix) const {
  if (ix < 0 || ix > FSize) return false;
  return (FBitArray[static_cast<size_t>(ix / 8)] >> (ix % 8)) & 1;
}

void TBitFld::SetBit(int32_t ix, bool value) {
  if (ix < 0 || ix > FSize) return;
  uint8_t& b = FBitArray[static_cast<size_t>(ix / 8)];
  const auto mask = static_cast<uint8_t>(1u << (ix % 8));
  b = value ? static_cast<uint8_t>(b | mask) : static_cast<uint8_t>(b & ~mask);
}

void TBitFld::ToggleBit(int32_t ix) {
  if (ix < 0 || ix > FSize) return;
  FBitArray[static_cast<size_t>(ix / 8)] ^= static_cast<uint8_t>(1u << (ix % 8));
}

void TBitFld::Clear() { std::fill(FBitArray.begin(), FBitArray.end(), uint8_t{0}); }

void TBitFld::Invert() {
  const size_t last = static_cast<size_t>(FSize / 8);
  for (size_t i = 0; i <= last; ++i) FBitArray[i] = static_cast<uint8_t>(~FBitArray[i]);
}

int32_t TBitFld::CountTrueBits() const {
  const size_t full = static_cast<size_t>(FSize / 8);
  int32_t n = 0;
  for (size_t i = 0; i < full; ++i) n += kPopCount[FBitArray[i]];
  return n + kPopCount[FBitArray[full] & LowMask(FSize % 8)];
}

int32_t TBitFld::FirstTrueBit() const {
  const size_t full = static_cast<size_t>(FSize / 8);
  for (size_t i = 0; i <= full; ++i) {
    uint8_t b = FBitArray[i];
    if (i == full) b &= LowMask(FSize % 8);
    if (b != 0) return static_cast<int32_t>(8 * i) + std::countr_zero(b);
  }
  return -1;
}

void TBitFld::MakeListOfBits(TIntArray& BitList, bool State) const {
  BitList.clear();
  for (int32_t i = 0; i <= FSize; ++i)
    if (GetBit(i) == State) BitList.push_back(i);
}

void TBitFld::RandomFill(double Percent) {
  if (!(Percent > 0)) Percent = 0;  // NaN too
  if (Percent > 100) Percent = 100;
  const long double x = static_cast<long double>(Percent) * 0.01L * FSize;
  Fill(static_cast<int32_t>(std::nearbyint(x)));
}

void TBitFld::RandomFill(int32_t NBits) { Fill(std::clamp(NBits, 0, FSize)); }

// Leaves exactly n (0..Size) of the bits 0..Size true. Drawing the minority
// value keeps the expected number of draws below about 0.7 * (Size + 1).
void TBitFld::Fill(int32_t n) {
  const bool setMany = n > FSize / 2;
  std::fill(FBitArray.begin(), FBitArray.end(), setMany ? uint8_t{0xFF} : uint8_t{0});
  const bool wanted = !setMany;
  int32_t todo = setMany ? FSize + 1 - n : n;
  while (todo > 0) {
    const int32_t ix = RandomIndex(FSize);
    if (GetBit(ix) == wanted) continue;
    SetBit(ix, wanted);
    --todo;
  }
}

void TBitFld::CombineWith(const TBitFld* SecondBArray, TLogicOp Operation) {
  if (SecondBArray == nullptr || SecondBArray->FSize != FSize) return;
  const size_t last = static_cast<size_t>(FSize / 8);
  for (size_t i = 0; i <= last; ++i)
    FBitArray[i] = ApplyLogicOp(FBitArray[i], SecondBArray->FBitArray[i], Operation);
}

void TBitFld::CopyFrom(const TBitFld& Source) {
  if (&Source == this) return;
  SetSize(Source.FSize);
  FBitArray = Source.FBitArray;
}

void TBitFld::Clone(const TBitFld* Source) {
  if (Source != nullptr) CopyFrom(*Source);
}

void TBitFld::Assign(const TPersistent* Source) {
  if (const auto* src = dynamic_cast<const TBitFld*>(Source)) {
    CopyFrom(*src);
    return;
  }
  TComponent::Assign(Source);
}

void TBitFld::AssignTo(TPersistent* Dest) const {
  if (auto* dst = dynamic_cast<TBitFld*>(Dest)) {
    dst->Assign(this);
    return;
  }
  TComponent::AssignTo(Dest);
}

}  // namespace kyn
