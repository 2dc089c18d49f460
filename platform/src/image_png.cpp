#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "kyn/platform/image.h"
#include "kyn/platform/path.h"

namespace kyn {

TImage32::TImage32(int32_t Width, int32_t Height, uint32_t Fill) : FWidth(Width), FHeight(Height) {
  if (Width < 1 || Height < 1 || Width > MaxSide || Height > MaxSide ||
      static_cast<int64_t>(Width) * Height > MaxPixels)
    throw EImageError("Invalid image size " + std::to_string(Width) + " x " + std::to_string(Height));
  FPixels.assign(static_cast<size_t>(Width) * static_cast<size_t>(Height), Fill);
}

uint32_t TImage32::Pixel(int32_t X, int32_t Y) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
  return FPixels[static_cast<size_t>(Y) * static_cast<size_t>(FWidth) + static_cast<size_t>(X)];
}

void TImage32::SetPixel(int32_t X, int32_t Y, uint32_t Value) {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  FPixels[static_cast<size_t>(Y) * static_cast<size_t>(FWidth) + static_cast<size_t>(X)] = Value;
}

void TImage32::FillRect(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1, uint32_t Value) {
  X0 = std::max(X0, 0);
  Y0 = std::max(Y0, 0);
  X1 = std::min(X1, FWidth);
  Y1 = std::min(Y1, FHeight);
  for (int32_t y = Y0; y < Y1; ++y)
    for (int32_t x = X0; x < X1; ++x)
      FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)] = Value;
}

void TImage32::WriteToPNG(const String& FileName) const {
  const int channels = FHasAlpha ? 4 : 3;
  std::vector<uint8_t> bytes(FPixels.size() * static_cast<size_t>(channels));
  uint8_t* p = bytes.data();
  for (const uint32_t v : FPixels) {
    *p++ = static_cast<uint8_t>(v & 0xFF);
    *p++ = static_cast<uint8_t>((v >> 8) & 0xFF);
    *p++ = static_cast<uint8_t>((v >> 16) & 0xFF);
    if (FHasAlpha) *p++ = static_cast<uint8_t>(v >> 24);
  }

  const std::string path = ResolvePath(FileName);
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file)
    throw EFCreateError("Cannot create file \"" + path + "\". " + std::strerror(errno));

  // The simplified libpng interface reports errors through its return value
  // and message instead of a long jump.
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(FWidth);
  image.height = static_cast<png_uint_32>(FHeight);
  image.format = FHasAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  const int ok = png_image_write_to_stdio(&image, file.get(), 0, bytes.data(),
                                          static_cast<png_int_32>(FWidth * channels), nullptr);
  const std::string message = image.message;
  png_image_free(&image);
  if (!ok) throw EImageError("Cannot write PNG file \"" + path + "\": " + message);
  FILE* f = file.release();
  if (std::fflush(f) != 0 || std::ferror(f)) {
    std::fclose(f);
    throw EImageError("Cannot write PNG file \"" + path + "\"");
  }
  if (std::fclose(f) != 0) throw EImageError("Cannot write PNG file \"" + path + "\"");
}

}  // namespace kyn
