// TBitFld: a resizable field of bits 0..Size with counting, searching, random
// filling and bitwise combination.
//
// Storage: Size div 8 + 2 bytes, bit ix in byte ix div 8 under the mask
// 1 shl (ix mod 8). The bits above Size in the last used byte and the whole
// spare byte after it are storage too, and the whole-byte operations reach
// them:
//   - Clear zeroes every storage byte; Assign and Clone copy every storage
//     byte;
//   - Invert and CombineWith work on bytes 0..Size div 8, so they also change
//     the bits above Size in the last of those bytes;
//   - growing Size keeps the existing bytes as they are (only the added bytes
//     are 0), so bits between the old and the new Size that lie in previously
//     existing bytes show what those bytes held.
// Counting and searching look only at bits 0..Size.
//
// RandomFill leaves exactly n bits of 0..Size true in both of its branches:
// for n <= Size div 2 it clears everything and sets n random bits; above
// that it sets every storage byte to 0xFF and clears Size + 1 - n random bits.
// Random indexes come from RandomFloat (kyn/platform/random.h).
//
// Out-of-range indexes and sizes are ignored by setters and answered with
// false or -1 by getters. EKYNDStructError ("not enough memory on heap") is
// raised only when the storage cannot be allocated.
#pragma once

#include <cstdint>
#include <vector>

#include "kyn/dstruct/logicop.h"
#include "kyn/kynbase/types.h"
#include "kyn/platform/classes.h"

namespace kyn {

class TBitFld : public TComponent {
 public:
  explicit TBitFld(TComponent* AOwner);
  String ClassName() const override { return u"TBitFld"; }

  // The highest bit index; the field holds Size + 1 bits. Writing a value
  // <= 0 or the current one is ignored.
  int32_t Size() const { return FSize; }
  void SetSize(int32_t v);

  // Bit ix; false outside 0..Size.
  bool GetBit(int32_t ix) const;
  bool Bit(int32_t ix) const { return GetBit(ix); }
  bool operator[](int32_t ix) const { return GetBit(ix); }
  // Ignored outside 0..Size.
  void SetBit(int32_t ix, bool value);
  void ToggleBit(int32_t ix);

  void Clear();
  void Invert();
  int32_t CountTrueBits() const;
  // Lowest index of a true bit, -1 if none.
  int32_t FirstTrueBit() const;
  // The ascending indices in 0..Size whose bit equals State.
  void MakeListOfBits(TIntArray& BitList, bool State) const;

  // About Percent % of the bits (clamped to 0..100; n = Percent * 0.01 * Size
  // rounded half to even) true at random places, the rest false.
  void RandomFill(double Percent);
  // NBits (clamped to 0..Size) bits true at random places, the rest false.
  void RandomFill(int32_t NBits);

  // Byte by byte a op b over bytes 0..Size div 8; nothing unless both fields
  // have the same Size (or SecondBArray is absent).
  void CombineWith(const TBitFld* SecondBArray, TLogicOp Operation);
  // Takes Size and every storage byte of Source; nothing if Source is absent.
  void Clone(const TBitFld* Source);

  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  // The raw storage (Size div 8 + 2 bytes), for inspection.
  const std::vector<uint8_t>& Storage() const { return FBitArray; }

 private:
  void Fill(int32_t n);
  void CopyFrom(const TBitFld& Source);
  [[noreturn]] void OutOfMemory() const;

  int32_t FSize = 1000;
  std::vector<uint8_t> FBitArray;
};

}  // namespace kyn
