// TFifo: a byte ring buffer with normal, forcing and push-back insertion and
// non-destructive peeking.
//
// The ring has Size storage bytes and holds at most Size - 1 of them: it is
// empty when the read position equals the write position and full when the
// read position is one ahead of the write position (cyclically). So a FIFO of
// Size 1 is always both empty and full. Every operation is constant time and
// nothing allocates except construction and SetSize.
//
// Changing Size while bytes are held keeps them in order as far as they fit
// (Size - 1 of them): the newest are kept, the oldest beyond the new capacity
// are dropped; the positions are laid anew inside the new storage.
#pragma once

#include <cstdint>
#include <vector>

#include "kyn/platform/classes.h"

namespace kyn {

class TFifo : public TComponent {
 public:
  explicit TFifo(TComponent* AOwner);
  String ClassName() const override { return u"TFifo"; }

  // Number of storage bytes (256 after construction). Writing a value <= 0 or
  // the current one is ignored. Raises EKYNDStructError ("FIFO structure too
  // large") when the storage cannot be allocated; the FIFO is then unchanged.
  int32_t Size() const { return FLength; }
  void SetSize(int32_t n);

  // False if full.
  bool PutByte(uint8_t InByte);
  // Stores InByte, dropping the oldest byte first when full; true if one was
  // dropped.
  bool ForceByte(uint8_t InByte);
  // Puts InByte in front of the oldest byte, so that it is read next; false
  // and no change if full.
  bool LoadBack(uint8_t InByte);
  // Takes the oldest byte; false if empty.
  bool GetByte(uint8_t& OutByte);
  // The ix-th byte to be read (0 = next) without removing it; false if ix is
  // negative or not below CountBytes.
  bool SenseByte(int32_t ix, uint8_t& OutByte) const;
  int32_t CountBytes() const;
  void Clear();

 private:
  bool Full() const { return Next(FInPoi) == FOutPoi; }
  int32_t Next(int32_t p) const { return p + 1 >= FLength ? 0 : p + 1; }

  int32_t FInPoi = 0;
  int32_t FOutPoi = 0;
  int32_t FLength = 256;
  std::vector<uint8_t> FData;
};

}  // namespace kyn
