// A small in-memory image with 32-bit pixels and PNG output.
//
// Pixels are TColor-style values 0xAABBGGRR: red in the low byte, then green,
// blue, and in the top byte the opacity (0xFF opaque), which is used only when
// HasAlpha() is set. Without alpha the top byte is ignored and the PNG is 8-bit
// RGB; with alpha it is 8-bit RGBA. Row 0 is the top row.
//
// Errors raise EImageError (invalid size, encoder failure) or EFCreateError
// (the file cannot be created); both stand outside the EKYNError family.
#pragma once

#include <cstdint>
#include <vector>

#include "kyn/platform/exceptions.h"
#include "kyn/platform/string.h"

namespace kyn {

class EImageError : public Exception { using Exception::Exception; };

class TImage32 {
 public:
  // Each side at most this many pixels.
  static constexpr int32_t MaxSide = 65536;
  // At most this many pixels in all (256 MiB of pixel data).
  static constexpr int64_t MaxPixels = int64_t{1} << 26;

  // Width x Height pixels, all Fill. Raises EImageError unless both sides are
  // in 1..MaxSide and the area at most MaxPixels.
  TImage32(int32_t Width, int32_t Height, uint32_t Fill = 0);

  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  bool HasAlpha() const { return FHasAlpha; }
  void SetHasAlpha(bool v) { FHasAlpha = v; }

  // Pixel access; positions outside the image read 0 and are not written.
  uint32_t Pixel(int32_t X, int32_t Y) const;
  void SetPixel(int32_t X, int32_t Y, uint32_t Value);
  // Fills the rectangle [X0, X1) x [Y0, Y1), clipped to the image.
  void FillRect(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1, uint32_t Value);
  const std::vector<uint32_t>& Pixels() const { return FPixels; }

  // Writes the image as a PNG file (named through ResolvePath), replacing an
  // existing file.
  void WriteToPNG(const String& FileName) const;

 private:
  int32_t FWidth;
  int32_t FHeight;
  bool FHasAlpha = false;
  std::vector<uint32_t> FPixels;
};

}  // namespace kyn
