// TColorArray: a colour scale, an ordered list of TColor values that other
// components index to colour data.
//
// Positions run from 1 to Size(). The array is built with 1000 rainbow
// colours and never holds fewer than one. Every change raises OnChange with
// the array as sender; Assign copies without notifying.
//
// Colour array text file (ASCII, CR LF line ends):
//   line 1:      first and last position, e.g. "1 1000"
//   lines 2...:  one colour per position, eight upper-case hexadecimal digits
//                00BBGGRR (ColorToHexStr).
// A colour file is untrusted input: a header that asks for more than
// MaxFileColors positions reads as malformed (result false, array untouched),
// and the reader's work is bounded by the array's size plus the length of the
// file, whatever positions the header names.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "kyn/kynbase/types.h"
#include "kyn/platform/classes.h"
#include "kyn/platform/string.h"
#include "kyn/platform/textfile.h"

namespace kyn {

class TColorArray : public TComponent {
 public:
  // The largest last position a colour file may name: 2^20 colours (4 MiB),
  // far beyond any colour scale a display can show.
  static constexpr int32_t MaxFileColors = 1024 * 1024;

  // 1000 colours interpolated from ColorArray_Rainbow. Raises
  // EKYNColArrayError ("not enough memory on heap") when the storage cannot
  // be had.
  explicit TColorArray(TComponent* AOwner);
  ~TColorArray() override;

  String ClassName() const override { return u"TColorArray"; }

  int32_t Size() const { return FNColors; }
  // Ignores n <= 0 and the current size; otherwise Resize(n).
  void SetSize(int32_t n);
  // Equal size: true, no notification. n <= 0: false, nothing changes.
  // Otherwise keeps the leading colours, zeroes new ones, notifies and returns
  // true. A failure (the change callback's included) raises
  // EKYNColArrayError ("not enough memory"); when the storage itself cannot
  // be changed, size and colours stay as they were.
  bool Resize(int32_t n);

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent v) { FOnChange = std::move(v); }

  // Positions below 1 read element 1, above Size() element Size().
  TColor GetColorElem(int32_t ix) const;
  // Stores and notifies for 1 <= ix <= Size(); ignores other positions.
  void SetColorElem(int32_t ix, TColor Value);

  void Fill(TColor Color);
  // Fills the array from the key colours (at least one; an empty list leaves
  // the array alone). Position i takes the colour at point H*k/N of the
  // scale (N = Size(), H = number of colours - 1, k = i). DiscreteLevels L > 0
  // rounds k to steps of N/L, giving L + 1 bands of constant colour. Where the
  // scale index would fall below the first colour (more intervals than
  // elements), the position takes the first colour.
  void FillByInterpolation(int32_t DiscreteLevels, std::span<const TColor> Colors);
  void FillByInterpolation(int32_t DiscreteLevels, std::initializer_list<TColor> Colors) {
    FillByInterpolation(DiscreteLevels, std::span<const TColor>(Colors.begin(), Colors.size()));
  }

  // The first position nearest to cl (RGBColorDistance); distance receives
  // that distance. A colour at distance 1 from every element gives 1.
  int32_t ColorToIndex(TColor cl, double& distance) const;

  // Copies source positions SourceElemLo..SourceElemHi (each clamped to the
  // source's range, exchanged when reversed) to DestElem onwards, skipping
  // targets outside 1..Size(), then notifies. A null source does nothing.
  // Copying within one array behaves as if the source range were read first.
  void CopyFrom(const TColorArray* ColArraySource, int32_t SourceElemLo, int32_t SourceElemHi,
                int32_t DestElem);
  void MirrorColors();
  void InvertColors();
  // Same size and the same 32-bit values.
  bool IsEqual(const TColorArray& OtherColorArray) const;

  // Copies size and colours from another TColorArray (OnChange is neither
  // copied nor raised); other sources raise EConvertError.
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  // Raises OnChange when a handler is installed.
  void Changed();

  // Writes positions FirstElem..LastElem (exchanged when reversed, clamped to
  // 1..Size()). Write failures end the writing silently; the result is true.
  bool WriteToOpenTextFile(TTextFile& f, int32_t FirstElem, int32_t LastElem);
  // Reads a colour file from the current position. With AdjustSize the array
  // is first resized to the file's last position. True when the header was
  // read and its last position fits the array; malformed element lines store
  // whatever hexadecimal digits they start with.
  bool ReadFromOpenTextFile(TTextFile& f, bool AdjustSize);
  // By file name; false when the file cannot be created or opened. Never raise.
  bool StoreOnFile(int32_t FirstElem, int32_t LastElem, const String& FileName);
  bool LoadFromFile(const String& FileName, bool AdjustSize);

 private:
  int32_t FNColors = 0;
  std::vector<TColor> FColArray;
  TNotifyEvent FOnChange;
};

}  // namespace kyn
