// TImage32 and its PNG writer, checked by decoding the written file with
// libpng.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <type_traits>
#include <vector>

#include "kyn/kynbase/errors.h"
#include "kyn/platform/image.h"

using namespace kyn;
namespace fs = std::filesystem;

namespace {

struct Decoded {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgba;  // 4 bytes per pixel
};

Decoded ReadPng(const std::string& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  Decoded d;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ADD_FAILURE() << image.message;
    return d;
  }
  image.format = PNG_FORMAT_RGBA;
  d.width = image.width;
  d.height = image.height;
  d.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, d.rgba.data(), 0, nullptr)) ADD_FAILURE() << image.message;
  return d;
}

class ImagePng : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("kyn-image-" + std::to_string(getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(ImagePng, RgbRoundTrip) {
  TImage32 img(7, 3, 0x00112233);
  img.SetPixel(0, 0, 0x000000FF);      // red
  img.SetPixel(6, 2, 0xAB00FF00);      // green; top byte ignored without alpha
  img.FillRect(2, 1, 4, 99, 0x00FF0000);  // blue, clipped at the bottom
  img.SetPixel(-1, 0, 0x00FFFFFF);     // outside: ignored
  EXPECT_EQ(img.Pixel(99, 0), 0u);
  const std::string path = (dir / "rgb.png").string();
  img.WriteToPNG(Utf8ToString(path));

  const Decoded d = ReadPng(path);
  ASSERT_EQ(d.width, 7u);
  ASSERT_EQ(d.height, 3u);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 7; ++x) {
      const uint32_t v = img.Pixel(x, y);
      const uint8_t* p = &d.rgba[(static_cast<size_t>(y) * 7 + static_cast<size_t>(x)) * 4];
      EXPECT_EQ(p[0], v & 0xFF) << x << "," << y;
      EXPECT_EQ(p[1], (v >> 8) & 0xFF) << x << "," << y;
      EXPECT_EQ(p[2], (v >> 16) & 0xFF) << x << "," << y;
      EXPECT_EQ(p[3], 0xFF) << x << "," << y;  // opaque
    }
  EXPECT_EQ(d.rgba[(1 * 7 + 3) * 4 + 2], 0xFF);  // inside the blue rectangle
}

TEST_F(ImagePng, AlphaRoundTrip) {
  TImage32 img(2, 1);
  img.SetHasAlpha(true);
  img.SetPixel(0, 0, 0x80102030);
  img.SetPixel(1, 0, 0xFF0000FF);
  const std::string path = (dir / "rgba.png").string();
  img.WriteToPNG(Utf8ToString(path));
  const Decoded d = ReadPng(path);
  ASSERT_EQ(d.rgba.size(), 8u);
  const std::vector<uint8_t> want = {0x30, 0x20, 0x10, 0x80, 0xFF, 0x00, 0x00, 0xFF};
  EXPECT_EQ(d.rgba, want);
}

TEST_F(ImagePng, ErrorsArePlatformErrors) {
  static_assert(!std::is_base_of_v<EKYNError, EImageError>);
  EXPECT_THROW(TImage32(0, 5), EImageError);
  EXPECT_THROW(TImage32(5, -1), EImageError);
  EXPECT_THROW(TImage32(TImage32::MaxSide + 1, 1), EImageError);
  EXPECT_THROW(TImage32(TImage32::MaxSide, TImage32::MaxSide), EImageError);
  TImage32 img(1, 1);
  EXPECT_THROW(img.WriteToPNG(Utf8ToString((dir / "no" / "such" / "x.png").string())), EFCreateError);
}

}  // namespace
