// kyn colorscale, kyn color and the "Colours" demo section.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kyn/kyncolors.h"
#include "kyn_runner.h"

using kyntest::RunKyn;
namespace fs = std::filesystem;

namespace {

// The pixels of a PNG file as 0x00BBGGRR values, row by row.
std::vector<uint32_t> PngPixels(const fs::path& file, uint32_t& width, uint32_t& height) {
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  std::vector<uint32_t> px;
  width = height = 0;
  if (!png_image_begin_read_from_file(&img, file.c_str())) return px;
  img.format = PNG_FORMAT_RGBA;  // bytes R, G, B, A: little-endian 0xAABBGGRR
  width = img.width;
  height = img.height;
  px.resize(static_cast<size_t>(width) * height);
  if (!png_image_finish_read(&img, nullptr, px.data(), 0, nullptr)) px.clear();
  for (uint32_t& v : px) v &= 0x00FFFFFF;
  return px;
}

class CmdColor : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("kyn-cmd-color-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  fs::path dir;
};

TEST_F(CmdColor, ColorscalePrintsTheArrayFromGivenColours) {
  const auto r = RunKyn({"colorscale", "--colors", "FF, $FF0000", "--size", "5"});
  ASSERT_EQ(r.status, 0) << r.err;
  kyn::TColorArray ca(nullptr);
  ca.SetSize(5);
  ca.FillByInterpolation(0, {0x0000FF, 0xFF0000});
  std::string want = "1 5\n";
  for (int32_t i = 1; i <= 5; ++i) want += kyn::StringToUtf8(kyn::ColorToHexStr(ca.GetColorElem(i))) + "\n";
  EXPECT_EQ(r.out, want);
  EXPECT_EQ(r.out.substr(r.out.size() - 9), "00FF0000\n");
}

TEST_F(CmdColor, ColorscaleWritesFileAndStrip) {
  const fs::path txt = dir / "rb.col", png = dir / "rb.png";
  const auto r = RunKyn({"colorscale", "RainBow", "--size", "300", "--levels", "4", "--txt", txt.string(),
                         "--png", png.string(), "--height", "7"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find(png.string()), std::string::npos);

  kyn::TColorArray want(nullptr);
  want.SetSize(300);
  want.FillByInterpolation(4, kyn::ColorArray_Rainbow);
  kyn::TColorArray got(nullptr);
  ASSERT_TRUE(got.LoadFromFile(kyn::Utf8ToString(txt.string()), true));
  EXPECT_TRUE(got.IsEqual(want));
  EXPECT_EQ(Slurp(txt).substr(0, 7), "1 300\r\n");

  uint32_t w, h;
  const auto px = PngPixels(png, w, h);
  ASSERT_EQ(w, 300u);
  ASSERT_EQ(h, 7u);
  ASSERT_EQ(px.size(), 2100u);
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x)
      ASSERT_EQ(px[y * w + x], want.GetColorElem(static_cast<int32_t>(x) + 1)) << x << "," << y;
}

TEST_F(CmdColor, ColorscaleBadArguments) {
  const std::vector<std::vector<std::string>> cases = {
      {"colorscale"},
      {"colorscale", "nosuchscale"},
      {"colorscale", "geo1", "--colors", "FF"},
      {"colorscale", "--colors", "FF,,00"},
      {"colorscale", "--colors", "#FF0000"},
      {"colorscale", "--colors", "123456789"},
      {"colorscale", "geo1", "--size", "0"},
      {"colorscale", "geo1", "--size", "99999999"},
      {"colorscale", "geo1", "--height", "5"},
      {"colorscale", "geo1", "--png", "x.png", "--height", "0"},
      {"colorscale", "geo1", "--size", "70000", "--png", "x.png"},
      {"colorscale", "geo1", "--size", "abc"},
  };
  for (const auto& args : cases) {
    const auto r = RunKyn(args, {}, dir.string());
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_FALSE(r.err.empty()) << args.back();
    EXPECT_TRUE(r.out.empty()) << args.back();
  }
  EXPECT_FALSE(fs::exists(dir / "x.png"));
}

TEST_F(CmdColor, ColorscaleUnwritableFileFails) {
  const auto r = RunKyn({"colorscale", "geo2", "--txt", (dir / "no" / "x.col").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("x.col"), std::string::npos);
  const auto p = RunKyn({"colorscale", "geo2", "--png", (dir / "no" / "x.png").string()});
  EXPECT_EQ(p.status, 1);
  EXPECT_NE(p.err.find("x.png"), std::string::npos);
}

TEST_F(CmdColor, Conversions) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  } const cases[] = {
      {{"hsi2rgb", "0", "0", "0.5"}, "128 128 128\n"},
      {{"hsi2rgb", "360", "1", "1"}, "255 0 0\n"},
      {{"rgb2hsi", "50", "50", "50"}, "-1 0 0.1960784314\n"},
      {{"rgb2hsi", "200", "100", "50"}, "20 0.75 0.7843137255\n"},
      {{"cmy", "255", "0", "51"}, "0 1 0.8\n"},
      {{"cmy", "--to-rgb", "0", "0.5", "1"}, "255 128 0\n"},
      {{"cmyk", "255", "255", "0"}, "0 0 1 0\n"},
      {{"cmyk", "--to-rgb", "0.5", "0.25", "0", "0.25"}, "64 128 191\n"},
      {{"gray", "FF"}, "76 004C4C4C\n"},
      {{"gray", "0", "255", "0"}, "150 00969696\n"},
      {{"distance", "000000", "FFFFFF"}, "1\n"},
      {{"distance", "$123", "123"}, "0\n"},
      {{"wavelength", "701", "--gamma", "1"}, "000000FD\n"},
      {{"wavelength", "780"}, "00000000\n"},
      {{"invert", "123456"}, "00EDCBA9\n"},
      {{"reverse", "FF123456"}, "00563412\n"},
      {{"hex", "  $ff "}, "000000FF red 255 green 0 blue 0\n"},
      {{"hex", "1", "2", "3"}, "00030201 red 1 green 2 blue 3\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"color"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto r = RunKyn(args);
    EXPECT_EQ(r.status, 0) << c.args[0] << ": " << r.err;
    EXPECT_EQ(r.out, c.out) << c.args[0];
  }
}

TEST_F(CmdColor, ConversionBadArguments) {
  const std::vector<std::vector<std::string>> cases = {
      {"color"},
      {"color", "nosuch"},
      {"color", "hsi2rgb", "1", "2"},
      {"color", "hsi2rgb", "x", "1", "1"},
      {"color", "rgb2hsi", "256", "0", "0"},
      {"color", "rgb2hsi", "1", "2", "3x"},
      {"color", "cmy", "1", "2"},
      {"color", "cmyk", "--to-rgb", "1", "2", "3"},
      {"color", "cmy", "--to-rgb", "1", "nan", "0"},
      {"color", "gray", "1", "2"},
      {"color", "distance", "FF"},
      {"color", "wavelength", "red"},
      {"color", "invert", "GG"},
      {"color", "hex", ""},
  };
  for (const auto& args : cases) {
    const auto r = RunKyn(args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_FALSE(r.err.empty()) << args.back();
  }
  const auto h = RunKyn({"color", "wavelength", "--help"});
  EXPECT_EQ(h.status, 0);
  EXPECT_NE(h.out.find("--gamma"), std::string::npos);
}

TEST_F(CmdColor, DemoWritesOneStripPerScale) {
  const fs::path out = dir / "demo-out";
  const auto r = RunKyn({"demo", "--dir", out.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("## Colours"), std::string::npos);
  EXPECT_NE(r.out.find(out.string()), std::string::npos);
  for (const char* name : {"geo1", "geo2", "geo3", "rainbow", "circle", "morgenstemning", "contrast"}) {
    uint32_t w, h;
    const auto px = PngPixels(out / ("colorscale_" + std::string(name) + ".png"), w, h);
    EXPECT_EQ(w, 512u) << name;
    EXPECT_EQ(h, 40u) << name;
    ASSERT_EQ(px.size(), size_t{512} * 40) << name;
    if (std::string(name) == "circle") {
      EXPECT_EQ(px[511], 0x0000FFu);  // the hue circle ends at red
    }
  }
}

}  // namespace
