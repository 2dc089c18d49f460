// TByteMatrix: a matrix of bytes addressed by column ix and row iy (both from
// 1), with access to single bits, mirroring and bitwise combination.
//
// Every setter (SetByte, SetBit, ToggleBit) fires OnChange whenever its
// arguments are in range, also when the value stays the same; Fill and the
// mirrors always fire it; Resize fires it when the size changed. CombineWith
// and Assign do not fire it. Out-of-range arguments are ignored by setters and
// answered with 0 or false by getters. EKYNDStructError ("not enough memory on
// heap") is raised only when the storage cannot be allocated; the matrix is
// then unchanged.
#pragma once

#include <cstdint>
#include <vector>

#include "kyn/dstruct/logicop.h"
#include "kyn/kynbase/types.h"
#include "kyn/platform/classes.h"

namespace kyn {

class TByteMatrix : public TComponent {
 public:
  explicit TByteMatrix(TComponent* AOwner);
  String ClassName() const override { return u"TByteMatrix"; }

  int32_t NrOfColumns() const { return FNrCols; }
  int32_t NrOfRows() const { return FNrRows; }
  // Resize with the other dimension unchanged; a value <= 0 is taken as 1.
  void SetNrOfColumns(int32_t v);
  void SetNrOfRows(int32_t v);

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent f) { FOnChange = std::move(f); }

  // True if the size changed; false without any change when the size is the
  // same or either value is <= 0. Bytes present in both shapes keep their
  // values, new bytes are 0.
  bool Resize(int32_t NrColumns, int32_t NrRows);

  uint8_t GetByte(int32_t ix, int32_t iy) const;
  uint8_t Byte(int32_t ix, int32_t iy) const { return GetByte(ix, iy); }
  void SetByte(int32_t ix, int32_t iy, uint8_t value);
  // ixBit 0..7, 0 the least significant bit.
  bool GetBit(int32_t ix, int32_t iy, int32_t ixBit) const;
  bool Bit(int32_t ix, int32_t iy, int32_t ixBit) const { return GetBit(ix, iy, ixBit); }
  void SetBit(int32_t ix, int32_t iy, int32_t ixBit, bool value);
  void ToggleBit(int32_t col, int32_t row, int32_t ixBit);

  void Fill(uint8_t value);
  void MirrorColumns();
  void MirrorRows();
  // Every byte becomes a op b; nothing unless both matrices have the same
  // column and row counts. Does not fire OnChange.
  void CombineWith(const TByteMatrix* SecondByteMatrix, TLogicOp Operation);
  // Calls OnChange(this) if a handler is set.
  void Changed();

  // Copies the sizes, all bytes and Source's OnChange handler, without firing.
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

 private:
  bool InRange(int32_t ix, int32_t iy) const {
    return ix >= 1 && ix <= FNrCols && iy >= 1 && iy <= FNrRows;
  }
  // Column-major: column ix's bytes are contiguous.
  size_t Offset(int32_t ix, int32_t iy) const {
    return static_cast<size_t>(ix - 1) * static_cast<size_t>(FNrRows) + static_cast<size_t>(iy - 1);
  }

  int32_t FNrCols = 1;
  int32_t FNrRows = 1;
  std::vector<uint8_t> FByteMat;
  TNotifyEvent FOnChange;
};

}  // namespace kyn
