// Colour values and conversions: blending, colour models, grey, distance,
// wavelength, hexadecimal text, random colours and the exported tables.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "kyn/kyncolors/colors.h"
#include "kyn/platform/random.h"

using namespace kyn;

namespace {

struct BlendCase {
  TColor a, b;
  double f;
  TColor want;
};

TEST(InterpolateColor, TruncatesClampsAndDropsTheTopByte) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const BlendCase cases[] = {
      {0x000000, 0xFFFFFF, 0.5, 0x7F7F7F},          // 127.5 truncated
      {0xFFFFFF, 0x000000, 0.5, 0x7F7F7F},          // 255 - 127.5 truncated
      {0x000000, 0xFFFFFF, 2.0, 0xFFFFFF},          // clamped to 1
      {0x000000, 0xFFFFFF, -1.0, 0x000000},         // clamped to 0
      {0x102030, 0xFFFFFF, nan, 0xFFFFFF},          // NaN counts as 1
      {0xFF00000F, 0x000000, 0.0, 0x00000F},        // system colour: low bytes only
      {0x0000FF, 0xFF0000, 0.25, 0x3F00BF},         // red 255-63.75=191.25 -> 191, blue 63.75 -> 63
  };
  for (const auto& c : cases)
    EXPECT_EQ(InterpolateColor(c.a, c.b, c.f), c.want) << std::hex << c.a << " " << c.b << " " << c.f;
  EXPECT_EQ(MeanColor(0x000000, 0xFFFFFF), 0x7F7F7Fu);
}

TEST(Interpolate3Colors, SplitsAtTheMiddle) {
  EXPECT_EQ(Interpolate3Colors(0x000000, 0x0000FF, 0xFFFFFF, 0.5), 0x0000FFu);
  EXPECT_EQ(Interpolate3Colors(0x000000, 0x0000FF, 0xFFFFFF, 0.75),
            InterpolateColor(0x0000FF, 0xFFFFFF, 0.5));
  EXPECT_EQ(Interpolate3Colors(0x000000, 0x0000FF, 0xFFFFFF, 0.25),
            InterpolateColor(0x000000, 0x0000FF, 0.5));
  EXPECT_EQ(Interpolate3Colors(0x000000, 0x0000FF, 0xFFFFFF, 7), 0xFFFFFFu);
  EXPECT_EQ(Interpolate3Colors(0x123456, 0x0000FF, 0xFFFFFF, -7), 0x123456u);
}

struct HsiCase {
  double h, s, i;
  int32_t r, g, b;
};

TEST(HSItoRGB, SectorsGreyAndClamping) {
  const HsiCase cases[] = {
      {0, 0, 0.5, 128, 128, 128},      // 127.5 rounds half to even
      {123, 0, 0.5, 128, 128, 128},
      {0, 1, 1, 255, 0, 0},
      {360, 1, 1, 255, 0, 0},          // 360 counts as 0
      {-10, 1, 1, 255, 0, 0},
      {60, 1, 1, 255, 255, 0},
      {120, 1, 1, 0, 255, 0},
      {180, 1, 1, 0, 255, 255},
      {240, 1, 1, 0, 0, 255},
      {300, 1, 1, 255, 0, 255},
      {30, 1, 1, 255, 128, 0},         // t = 0.5 -> 127.5 -> 128
      {90, 1, 1, 128, 255, 0},
      {330, 0.5, 1, 255, 128, 191},    // q = 0.75 -> 191.25
      {0, 2, 3, 255, 0, 0},            // clamped to 1, 1
      {0, -1, 0.2, 51, 51, 51},        // saturation clamped to 0
  };
  for (const auto& c : cases) {
    int32_t r = -1, g = -1, b = -1;
    HSItoRGB(c.h, c.s, c.i, r, g, b);
    EXPECT_EQ(r, c.r) << c.h << " " << c.s << " " << c.i;
    EXPECT_EQ(g, c.g) << c.h << " " << c.s << " " << c.i;
    EXPECT_EQ(b, c.b) << c.h << " " << c.s << " " << c.i;
  }
  int32_t r, g, b;
  HSItoRGB(std::nan(""), std::nan(""), std::nan(""), r, g, b);
  EXPECT_EQ(r + g + b, 0);
}

TEST(RGBtoHSI, GreyBlackAndHueFormulas) {
  struct Case {
    int32_t r, g, b;
    double h, s, i;
  } const cases[] = {
      {0, 0, 0, 0, 0, 0},
      {50, 50, 50, -1, 0, 50.0 / 255},
      {255, 0, 0, 0, 1, 1},
      {255, 255, 0, 60, 1, 1},   // tie: red wins, hue (g - b)/delta = 1
      {0, 255, 255, 180, 1, 1},  // tie: green wins, (b - r)/delta + 2 = 3
      {0, 0, 255, 240, 1, 1},
      {255, 0, 255, 300, 1, 1},  // red wins: (0 - 255)/255 = -1 -> -60 + 360
      {200, 100, 50, 20, 0.75, 200.0 / 255},
  };
  for (const auto& c : cases) {
    double h, s, i;
    RGBtoHSI(c.r, c.g, c.b, h, s, i);
    EXPECT_DOUBLE_EQ(h, c.h) << c.r << " " << c.g << " " << c.b;
    EXPECT_DOUBLE_EQ(s, c.s) << c.r << " " << c.g << " " << c.b;
    EXPECT_DOUBLE_EQ(i, c.i) << c.r << " " << c.g << " " << c.b;
  }
  // Round trip over a coarse grid of the RGB cube.
  for (int r = 0; r < 256; r += 17)
    for (int g = 0; g < 256; g += 17)
      for (int b = 0; b < 256; b += 17) {
        double h, s, i;
        RGBtoHSI(r, g, b, h, s, i);
        int32_t r2, g2, b2;
        HSItoRGB(h, s, i, r2, g2, b2);
        ASSERT_EQ(RGBToColor(r2, g2, b2), RGBToColor(r, g, b)) << r << " " << g << " " << b;
      }
}

TEST(CMY, ConversionsAndClamping) {
  uint8_t r, g, b;
  CMYtoRGB(0, 0.5, 1, r, g, b);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 128);  // 127.5 half to even
  EXPECT_EQ(b, 0);
  CMYtoRGB(-3, 7, std::nan(""), r, g, b);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 0);
  EXPECT_EQ(b, 255);

  double c, m, y, k;
  RGBtoCMY(255, 0, 51, c, m, y);
  EXPECT_DOUBLE_EQ(c, 0);
  EXPECT_DOUBLE_EQ(m, 1);
  EXPECT_DOUBLE_EQ(y, 0.8);

  c = 0.5, m = 0.25, y = 1.5;
  CMYtoCMYK(c, m, y, k);
  EXPECT_DOUBLE_EQ(k, 0.25);
  EXPECT_DOUBLE_EQ(c, 0.25);
  EXPECT_DOUBLE_EQ(m, 0);
  EXPECT_DOUBLE_EQ(y, 0.75);
  CMYKtoCMY(c, m, y, k);
  EXPECT_DOUBLE_EQ(c, 0.5);
  EXPECT_DOUBLE_EQ(m, 0.25);
  EXPECT_DOUBLE_EQ(y, 1);
  c = 0.9, m = 0.1, y = -2;
  CMYKtoCMY(c, m, y, 0.5);
  EXPECT_DOUBLE_EQ(c, 1);
  EXPECT_DOUBLE_EQ(m, 0.6);
  EXPECT_DOUBLE_EQ(y, 0);
}

TEST(Gray, WeightsRoundingAndPacking) {
  EXPECT_EQ(RGBtoGray(255, 255, 255), 255);
  EXPECT_EQ(RGBtoGray(255, 0, 0), 76);   // 76.5 -> 76 (even)
  EXPECT_EQ(RGBtoGray(0, 255, 0), 150);  // 150.45
  EXPECT_EQ(RGBtoGray(0, 0, 255), 28);   // 28.05
  EXPECT_EQ(RGBtoGray(5, 0, 0), 2);      // 1.5 -> 2 (even)
  EXPECT_EQ(RGBtoGrayColor(255, 0, 0), 0x4C4C4Cu);
  EXPECT_EQ(RGBtoGrayColor(1000, 1000, 1000), 0xE8E8E8u);  // level 1000, low byte E8
  EXPECT_EQ(ColorToGray(0xFF0000FF), 76);                  // top byte ignored
  EXPECT_EQ(ColorToGrayColor(0x0000FF), 0x4C4C4Cu);
}

TEST(RGBColorDistance, ScaledToOne) {
  EXPECT_DOUBLE_EQ(RGBColorDistance(0x000000, 0xFFFFFF), 1.0);
  EXPECT_DOUBLE_EQ(RGBColorDistance(0x123456, 0x123456), 0.0);
  EXPECT_DOUBLE_EQ(RGBColorDistance(0x0000FF, 0x000000), std::sqrt(1.0 / 3));
  EXPECT_DOUBLE_EQ(RGBColorDistance(0xFF0000FF, 0x000000FF), 0.0);
}

TEST(WavelengthToColor, RangesAndIntensityFactor) {
  EXPECT_EQ(WavelengthToColor(379, 0.8), 0u);
  EXPECT_EQ(WavelengthToColor(780, 0.8), 0u);
  EXPECT_EQ(WavelengthToColor(-5, 0.8), 0u);
  EXPECT_EQ(WavelengthToColor(700, 1), 0x0000FFu);          // factor 1
  EXPECT_EQ(WavelengthToColor(701, 1), 0x0000FDu);          // 255 * 0.99125 = 252.77
  EXPECT_EQ(WavelengthToColor(645, 1), 0x0000FFu);
  EXPECT_EQ(WavelengthToColor(510, 1), 0x00FF00u);
  EXPECT_EQ(WavelengthToColor(490, 1), 0xFFFF00u);
  EXPECT_EQ(WavelengthToColor(440, 1), 0xFF0000u);
  // 380: red (440-380)/60 = 1, factor 0.3 -> 76.5 -> 76 (half to even).
  EXPECT_EQ(WavelengthToColor(380, 1), 0x4C004Cu);
  // 779: factor 0.30875 -> 78.73 -> 79.
  EXPECT_EQ(WavelengthToColor(779, 1), 0x00004Fu);
  // 465 with gamma 0.5: green 0.5 -> 255 * sqrt(0.5) = 180.3.
  EXPECT_EQ(WavelengthToColor(465, 0.5), 0xFFB400u);
  // Gamma 0 makes every non-zero channel full.
  EXPECT_EQ(WavelengthToColor(600, 0), 0x00FFFFu);
}

TEST(ReverseAndInvert, DropTheTopByte) {
  EXPECT_EQ(ReverseRGBColor(0xFF123456), 0x563412u);
  EXPECT_EQ(InvertColor(0xFF123456), 0xEDCBA9u);
  EXPECT_EQ(InvertColor(0x000000), 0xFFFFFFu);
}

TEST(HexText, BothDirections) {
  EXPECT_EQ(ColorToHexStr(SystemColor(15)), u"FF00000F");
  EXPECT_EQ(ColorToHexStr(0x0000FF), u"000000FF");
  struct Case {
    const char16_t* text;
    TColor want;
  } const cases[] = {
      {u"  $0000FF ", 0x0000FF}, {u"", 0},          {u"   ", 0},
      {u"FF", 0x0000FF},         {u"FF0000", 0xFF0000}, {u"ff00ff", 0xFF00FF},
      {u"$", 0},                 {u"12xyz", 0x12},   {u"xyz", 0},
      {u"FF00000F", 0xFF00000F}, {u"$ 1A", 0x1A},     {u"123456789", 0x23456789},
  };
  for (const auto& c : cases) EXPECT_EQ(HexStrToColor(c.text), c.want) << StringToUtf8(c.text);
  for (TColor v : {0u, 0x00ABCDEFu, 0xFFFFFFFFu, clNone, clDefault})
    EXPECT_EQ(HexStrToColor(ColorToHexStr(v)), v);
}

TEST(RandomColor, DrawsBlueGreenRedInRange) {
  RandSeed(4711);
  const int32_t b = RandomInt(256), g = RandomInt(256), r = RandomInt(256);
  RandSeed(4711);
  EXPECT_EQ(RandomColor(), RGBToColor(r, g, b));

  RandSeed(99);
  const int32_t b2 = 30 + RandomInt(11), g2 = 100 + RandomInt(1), r2 = 0 + RandomInt(256);
  RandSeed(99);
  EXPECT_EQ(RandomColor(0, 255, 100, 100, 30, 40), RGBToColor(r2, g2, b2));

  std::set<int> reds;
  for (int n = 0; n < 2000; ++n) {
    const TColor c = RandomColor(10, 13, 200, 200, 0, 255);
    ASSERT_GE(ColorRed(c), 10);
    ASSERT_LE(ColorRed(c), 13);
    ASSERT_EQ(ColorGreen(c), 200);
    ASSERT_EQ(c >> 24, 0u);
    reds.insert(ColorRed(c));
  }
  EXPECT_EQ(reds.size(), 4u);
  // Low above high: the generator gets a count of 0 or less and yields 0.
  EXPECT_EQ(ColorRed(RandomColor(200, 100, 0, 0, 0, 0)), 200);
}

TEST(Tables, StoredValues) {
  EXPECT_EQ(X11Colors[0], 0xFFF8F0u);     // entry 1
  EXPECT_EQ(X11Colors[125], 0xF0CAA6u);   // entry 126, as stored
  EXPECT_EQ(X11Colors[136], 0x808080u);   // entry 137, web grey
  EXPECT_EQ(X11Colors[144], 0x32CD9Au);   // entry 145
  EXPECT_EQ(PredefinedColors[0], 0x000000u);
  EXPECT_EQ(PredefinedColors[9], 0x0000FFu);   // red
  EXPECT_EQ(PredefinedColors[17], 0xF0CAA6u);  // sky blue
  EXPECT_EQ(PredefinedColors[24], 0xFF00000Fu);  // button face
  EXPECT_EQ(PredefinedColors[29], 0x20000000u);
  EXPECT_EQ(PredefinedColors[40], 0x1FFFFFFFu);
  EXPECT_EQ(PredefinedColors[46], 0xFF000008u);
  EXPECT_EQ(ColorArray_Rainbow.front(), 0x400020u);
  EXPECT_EQ(ColorArray_Rainbow.back(), 0x000040u);
  EXPECT_EQ(ColorArray_Circle.front(), ColorArray_Circle.back());
  EXPECT_EQ(ColorArray_Contrast[10], 0xC5CD18u);
  EXPECT_EQ(ColorArray_Geo3[5], 0x4AA885u);
  EXPECT_EQ(ColorArray_MorgenStemning[6], 0xFFFFFFu);
  for (TColor c : X11Colors) EXPECT_EQ(c >> 24, 0u);
}

}  // namespace
