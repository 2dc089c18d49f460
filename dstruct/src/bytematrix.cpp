#include "kyn/dstruct/bytematrix.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "kyn/kynbase/errors.h"

namespace kyn {

TByteMatrix::TByteMatrix(TComponent* AOwner) : TComponent(AOwner), FByteMat(1, 0) {}

bool TByteMatrix::Resize(int32_t NrColumns, int32_t NrRows) {
  if (NrColumns <= 0 || NrRows <= 0) return false;
  if (NrColumns == FNrCols && NrRows == FNrRows) return false;
  std::vector<uint8_t> m;
  try {
    m.assign(static_cast<size_t>(NrColumns) * static_cast<size_t>(NrRows), 0);
  } catch (const std::bad_alloc&) {
    throw EKYNDStructError(ComponentMessage(*this, u"not enough memory on heap"));
  } catch (const std::length_error&) {
    throw EKYNDStructError(ComponentMessage(*this, u"not enough memory on heap"));
  }
  const int32_t cols = std::min(NrColumns, FNrCols);
  const size_t rows = static_cast<size_t>(std::min(NrRows, FNrRows));
  for (int32_t c = 0; c < cols; ++c) {
    const auto from = FByteMat.begin() + static_cast<std::ptrdiff_t>(Offset(c + 1, 1));
    std::copy(from, from + static_cast<std::ptrdiff_t>(rows),
              m.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(c) * static_cast<size_t>(NrRows)));
  }
  FByteMat.swap(m);
  FNrCols = NrColumns;
  FNrRows = NrRows;
  Changed();
  return true;
}

void TByteMatrix::SetNrOfColumns(int32_t v) { Resize(std::max(v, 1), FNrRows); }
void TByteMatrix::SetNrOfRows(int32_t v) { Resize(FNrCols, std::max(v, 1)); }

uint8_t TByteMatrix::GetByte(int32_t ix, int32_t iy) const {
  return InRange(ix, iy) ? FByteMat[Offset(ix, iy)] : uint8_t{0};
}

void TByteMatrix::SetByte(int32_t ix, int32_t iy, uint8_t value) {
  if (!InRange(ix, iy)) return;
  FByteMat[Offset(ix, iy)] = value;
  Changed();
}

bool TByteMatrix::GetBit(int32_t ix, int32_t iy, int32_t ixBit) const {
  if (!InRange(ix, iy) || ixBit < 0 || ixBit > 7) return false;
  return (FByteMat[Offset(ix, iy)] >> ixBit) & 1;
}

void TByteMatrix::SetBit(int32_t ix, int32_t iy, int32_t ixBit, bool value) {
  if (!InRange(ix, iy) || ixBit < 0 || ixBit > 7) return;
  uint8_t& b = FByteMat[Offset(ix, iy)];
  const auto mask = static_cast<uint8_t>(1u << ixBit);
  b = value ? static_cast<uint8_t>(b | mask) : static_cast<uint8_t>(b & ~mask);
  Changed();
}

void TByteMatrix::ToggleBit(int32_t col, int32_t row, int32_t ixBit) {
  if (!InRange(col, row) || ixBit < 0 || ixBit > 7) return;
  FByteMat[Offset(col, row)] ^= static_cast<uint8_t>(1u << ixBit);
  Changed();
}

void TByteMatrix::Fill(uint8_t value) {
  std::fill(FByteMat.begin(), FByteMat.end(), value);
  Changed();
}

void TByteMatrix::MirrorColumns() {
  for (int32_t a = 1, b = FNrCols; a < b; ++a, --b) {
    const auto pa = FByteMat.begin() + static_cast<std::ptrdiff_t>(Offset(a, 1));
    const auto pb = FByteMat.begin() + static_cast<std::ptrdiff_t>(Offset(b, 1));
    std::swap_ranges(pa, pa + FNrRows, pb);
  }
  Changed();
}

void TByteMatrix::MirrorRows() {
  for (int32_t c = 1; c <= FNrCols; ++c) {
    const auto p = FByteMat.begin() + static_cast<std::ptrdiff_t>(Offset(c, 1));
    std::reverse(p, p + FNrRows);
  }
  Changed();
}

void TByteMatrix::CombineWith(const TByteMatrix* SecondByteMatrix, TLogicOp Operation) {
  if (SecondByteMatrix == nullptr || SecondByteMatrix->FNrCols != FNrCols ||
      SecondByteMatrix->FNrRows != FNrRows)
    return;
  for (size_t i = 0; i < FByteMat.size(); ++i)
    FByteMat[i] = ApplyLogicOp(FByteMat[i], SecondByteMatrix->FByteMat[i], Operation);
}

void TByteMatrix::Changed() {
  if (FOnChange) FOnChange(this);
}

void TByteMatrix::Assign(const TPersistent* Source) {
  if (const auto* src = dynamic_cast<const TByteMatrix*>(Source)) {
    if (src == this) return;
    try {
      FByteMat = src->FByteMat;
    } catch (const std::bad_alloc&) {
      throw EKYNDStructError(ComponentMessage(*this, u"not enough memory on heap"));
    }
    FNrCols = src->FNrCols;
    FNrRows = src->FNrRows;
    FOnChange = src->FOnChange;
    return;
  }
  TComponent::Assign(Source);
}

void TByteMatrix::AssignTo(TPersistent* Dest) const {
  if (auto* dst = dynamic_cast<TByteMatrix*>(Dest)) {
    dst->Assign(this);
    return;
  }
  TComponent::AssignTo(Dest);
}

}  // namespace kyn
