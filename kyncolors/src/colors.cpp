#include "kyn/kyncolors/colors.h"

#include <cmath>
#include <cstdint>

#include "kyn/kynbase/numscan.h"
#include "kyn/platform/random.h"
#include "rounding.h"

namespace kyn {

namespace {

using LD = long double;

// Saturates a value that is already integral to the 32-bit range; NaN gives 0.
int32_t SaturateI32(LD v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0L) return INT32_MAX;
  if (v <= -2147483648.0L) return INT32_MIN;
  return static_cast<int32_t>(v);
}

int32_t Rounded(LD x) { return SaturateI32(detail::RoundHalfEven(x)); }

int32_t Truncated(LD x) { return SaturateI32(std::trunc(x)); }

// Clamps to 0..1; NaN becomes NanValue.
LD Clamp01(LD x, LD NanValue = 0) {
  if (std::isnan(x)) return NanValue;
  if (x < 0) return 0;
  if (x > 1) return 1;
  return x;
}

int32_t BlendChannel(uint8_t a, uint8_t b, LD frac) {
  return Truncated(static_cast<LD>(a) + (static_cast<LD>(b) - static_cast<LD>(a)) * frac);
}

// Blend with an already clamped fraction.
TColor Blend(TColor c1, TColor c2, LD frac) {
  return RGBToColor(BlendChannel(ColorRed(c1), ColorRed(c2), frac),
                    BlendChannel(ColorGreen(c1), ColorGreen(c2), frac),
                    BlendChannel(ColorBlue(c1), ColorBlue(c2), frac));
}

uint8_t LowByte(int32_t v) { return static_cast<uint8_t>(static_cast<uint32_t>(v) & 0xFFu); }

}  // namespace

TColor InterpolateColor(TColor Color1, TColor Color2, double Fraction) {
  return Blend(Color1, Color2, Clamp01(Fraction, 1));
}

TColor Interpolate3Colors(TColor Color1, TColor Color2, TColor Color3, double Fraction) {
  const LD f = Clamp01(Fraction, 1);
  if (f > 0.5L) return Blend(Color2, Color3, (f - 0.5L) * 2);
  return Blend(Color1, Color2, f * 2);
}

TColor MeanColor(TColor Color1, TColor Color2) { return InterpolateColor(Color1, Color2, 0.5); }

void HSItoRGB(double Hue, double Saturation, double Intensity, int32_t& Red, int32_t& Green,
              int32_t& Blue) {
  const LD s = Clamp01(Saturation);
  const LD v = Clamp01(Intensity);
  LD hue = Hue;
  if (std::isnan(hue) || hue < 0 || hue >= 360) hue = 0;
  if (s == 0) {
    Red = Green = Blue = Rounded(255 * v);
    return;
  }
  const LD h = hue / 60;
  int32_t i = Truncated(h);
  if (i > 5) i = 5;  // hue just below 360 cannot reach 6; guard the table anyway
  const LD f = h - i;
  const LD p = v * (1 - s);
  const LD q = v * (1 - s * f);
  const LD t = v * (1 - s * (1 - f));
  LD r = 0, g = 0, b = 0;
  switch (i) {
    case 0: r = v; g = t; b = p; break;
    case 1: r = q; g = v; b = p; break;
    case 2: r = p; g = v; b = t; break;
    case 3: r = p; g = q; b = v; break;
    case 4: r = t; g = p; b = v; break;
    default: r = v; g = p; b = q; break;
  }
  Red = Rounded(255 * r);
  Green = Rounded(255 * g);
  Blue = Rounded(255 * b);
}

void RGBtoHSI(int32_t Red, int32_t Green, int32_t Blue, double& Hue, double& Saturation,
              double& Intensity) {
  // Ties go to the earlier channel: red, then green, then blue.
  int which = 0;
  int32_t mx = Red;
  if (Green > mx) { mx = Green; which = 1; }
  if (Blue > mx) { mx = Blue; which = 2; }
  int32_t mn = Red;
  if (Green < mn) mn = Green;
  if (Blue < mn) mn = Blue;
  const LD delta = static_cast<LD>(mx) - static_cast<LD>(mn);
  Intensity = static_cast<double>(static_cast<LD>(mx) / 255);
  if (mx == 0) {
    Saturation = 0;
    Hue = 0;
    return;
  }
  const LD sat = delta / mx;
  Saturation = static_cast<double>(sat);
  if (sat == 0) {
    Hue = -1;
    return;
  }
  const LD r = Red, g = Green, b = Blue;
  LD h;
  if (which == 0) h = (g - b) / delta;
  else if (which == 1) h = (b - r) / delta + 2;
  else h = (r - g) / delta + 4;
  h *= 60;
  if (h < 0) h += 360;
  Hue = static_cast<double>(h);
}

void CMYtoRGB(double Cyan, double Magenta, double Yellow, uint8_t& Red, uint8_t& Green,
              uint8_t& Blue) {
  Red = static_cast<uint8_t>(Rounded((1 - Clamp01(Cyan)) * 255));
  Green = static_cast<uint8_t>(Rounded((1 - Clamp01(Magenta)) * 255));
  Blue = static_cast<uint8_t>(Rounded((1 - Clamp01(Yellow)) * 255));
}

void RGBtoCMY(uint8_t Red, uint8_t Green, uint8_t Blue, double& Cyan, double& Magenta,
              double& Yellow) {
  Cyan = static_cast<double>(1 - static_cast<LD>(Red) / 255);
  Magenta = static_cast<double>(1 - static_cast<LD>(Green) / 255);
  Yellow = static_cast<double>(1 - static_cast<LD>(Blue) / 255);
}

void CMYKtoCMY(double& Cyan, double& Magenta, double& Yellow, double Black) {
  Cyan = static_cast<double>(Clamp01(static_cast<LD>(Cyan) + Black));
  Magenta = static_cast<double>(Clamp01(static_cast<LD>(Magenta) + Black));
  Yellow = static_cast<double>(Clamp01(static_cast<LD>(Yellow) + Black));
}

void CMYtoCMYK(double& Cyan, double& Magenta, double& Yellow, double& Black) {
  Cyan = static_cast<double>(Clamp01(Cyan));
  Magenta = static_cast<double>(Clamp01(Magenta));
  Yellow = static_cast<double>(Clamp01(Yellow));
  Black = Cyan;
  if (Magenta < Black) Black = Magenta;
  if (Yellow < Black) Black = Yellow;
  Cyan -= Black;
  Magenta -= Black;
  Yellow -= Black;
}

int32_t RGBtoGray(int32_t Red, int32_t Green, int32_t Blue) {
  return Rounded(0.3L * Red + 0.59L * Green + 0.11L * Blue);
}

TColor RGBtoGrayColor(int32_t Red, int32_t Green, int32_t Blue) {
  const int32_t g = RGBtoGray(Red, Green, Blue);
  return RGBToColor(g, g, g);
}

int32_t ColorToGray(TColor Color) {
  return RGBtoGray(ColorRed(Color), ColorGreen(Color), ColorBlue(Color));
}

TColor ColorToGrayColor(TColor Color) {
  return RGBtoGrayColor(ColorRed(Color), ColorGreen(Color), ColorBlue(Color));
}

double RGBColorDistance(TColor Color1, TColor Color2) {
  const LD dr = static_cast<LD>(ColorRed(Color1)) - ColorRed(Color2);
  const LD dg = static_cast<LD>(ColorGreen(Color1)) - ColorGreen(Color2);
  const LD db = static_cast<LD>(ColorBlue(Color1)) - ColorBlue(Color2);
  return static_cast<double>(std::sqrt((dr * dr + dg * dg + db * db) / 195075.0L));
}

TColor WavelengthToColor(int32_t Wavelength, double Gamma) {
  const LD w = Wavelength;
  LD r = 0, g = 0, b = 0;
  if (Wavelength >= 380 && Wavelength <= 439) {
    r = (440 - w) / 60;
    b = 1;
  } else if (Wavelength >= 440 && Wavelength <= 489) {
    g = (w - 440) / 50;
    b = 1;
  } else if (Wavelength >= 490 && Wavelength <= 509) {
    g = 1;
    b = (510 - w) / 20;
  } else if (Wavelength >= 510 && Wavelength <= 579) {
    r = (w - 510) / 70;
    g = 1;
  } else if (Wavelength >= 580 && Wavelength <= 644) {
    r = 1;
    g = (645 - w) / 65;
  } else if (Wavelength >= 645 && Wavelength <= 779) {
    r = 1;
  }
  LD factor = 1;
  if (Wavelength > 700) factor = (780 - w) * 0.7L / 80 + 0.3L;
  else if (Wavelength < 420) factor = (w - 380) * 0.7L / 40 + 0.3L;
  if (factor < 0) factor = 0;
  const auto channel = [&](LD raw) -> uint8_t {
    if (factor == 0 || raw == 0) return 0;
    return LowByte(Rounded(255 * std::exp(static_cast<LD>(Gamma) * std::log(raw * factor))));
  };
  return RGBToColor(channel(r), channel(g), channel(b));
}

TColor ReverseRGBColor(TColor Color) {
  return RGBToColor(ColorBlue(Color), ColorGreen(Color), ColorRed(Color));
}

TColor InvertColor(TColor Color) {
  return RGBToColor(255 - ColorRed(Color), 255 - ColorGreen(Color), 255 - ColorBlue(Color));
}

String ColorToHexStr(TColor Color) { return IntToHexStr(Color, 8); }

TColor HexStrToColor(StringView Text) {
  size_t a = 0, e = Text.size();
  while (a < e && Text[a] == u' ') ++a;
  while (e > a && Text[e - 1] == u' ') --e;
  if (a == e) return 0;
  const StringView t = Text.substr(a, e - a);
  int32_t pos = t[0] == u'$' ? 2 : 1;
  return ScanHexNum(t, pos);
}

TColor RandomColor() {
  const int32_t b = RandomInt(256);
  const int32_t g = RandomInt(256);
  const int32_t r = RandomInt(256);
  return RGBToColor(r, g, b);
}

TColor RandomColor(uint8_t RedLo, uint8_t RedHi, uint8_t GreenLo, uint8_t GreenHi, uint8_t BlueLo,
                   uint8_t BlueHi) {
  const auto draw = [](uint8_t lo, uint8_t hi) {
    return static_cast<int32_t>(lo) + RandomInt(static_cast<int32_t>(hi) + 1 - lo);
  };
  const int32_t b = draw(BlueLo, BlueHi);
  const int32_t g = draw(GreenLo, GreenHi);
  const int32_t r = draw(RedLo, RedHi);
  return RGBToColor(r, g, b);
}

// ------------------------------------------------------------------ tables

constinit const std::array<TColor, 145> X11Colors = {
    0x00FFF8F0, 0x00D7EBFA, 0x00FFFF00, 0x00D4FF7F, 0x00FFFFF0, 0x00DCF5F5, 0x00C4E4FF, 0x00000000,
    0x00CDEBFF, 0x00FF0000, 0x00E22B8A, 0x002A2AA5, 0x0087B8DE, 0x00A09E5F, 0x0000FF7F, 0x001E69D2,
    0x00507FFF, 0x00ED9564, 0x00DCF8FF, 0x003C14DC, 0x00FFFF00, 0x008B0000, 0x008B8B00, 0x000B86B8,
    0x00A9A9A9, 0x00006400, 0x006BB7BD, 0x008B008B, 0x002F6B55, 0x00008CFF, 0x00CC3299, 0x0000008B,
    0x007A96E9, 0x008FBC8F, 0x008B3D48, 0x004F4F2F, 0x00D1CE00, 0x00D30094, 0x009314FF, 0x00FFBF00,
    0x00696969, 0x00FF901E, 0x002222B2, 0x00F0FAFF, 0x00228B22, 0x00FF00FF, 0x00DCDCDC, 0x00FFF8F8,
    0x0000D7FF, 0x0020A5DA, 0x00808080, 0x00008000, 0x002FFFAD, 0x00F0FFF0, 0x00B469FF, 0x005C5CCD,
    0x0082004B, 0x00F0FFFF, 0x008CE6F0, 0x00FAE6E6, 0x00F5F0FF, 0x0000FC7C, 0x00CDFAFF, 0x00E6D8AD,
    0x008080F0, 0x00FFFFE0, 0x0082DDEE, 0x00D3D3D3, 0x0090EE90, 0x00C1B6FF, 0x007AA0FF, 0x00AAB220,
    0x00FACE87, 0x00FF7084, 0x00998877, 0x00DEC4B0, 0x00E0FFFF, 0x0000FF00, 0x0032CD32, 0x00E6F0FA,
    0x00FF00FF, 0x00000080, 0x00AACD66, 0x00CD0000, 0x00D355BA, 0x00DB7093, 0x0071B33C, 0x00EE687B,
    0x009AFA00, 0x00CCD148, 0x008515C7, 0x00701919, 0x00FAFFF5, 0x00E1E4FF, 0x00B5E4FF, 0x00ADDEFF,
    0x00800000, 0x00E6F5FD, 0x00008080, 0x00238E6B, 0x0000A5FF, 0x000045FF, 0x00D670DA, 0x00AAE8EE,
    0x0098FB98, 0x00EEEEAF, 0x009370DB, 0x00D5EFFF, 0x00B9DAFF, 0x003F85CD, 0x00CBC0FF, 0x00DDA0DD,
    0x00E6E0B0, 0x00800080, 0x00993366, 0x000000FF, 0x008F8FBC, 0x00E16941, 0x0013458B, 0x007280FA,
    0x0060A4F4, 0x00578B2E, 0x00EEF5FF, 0x002D52A0, 0x00C0C0C0, 0x00F0CAA6, 0x00CD5A6A, 0x00908070,
    0x00FAFAFF, 0x007FFF00, 0x00B48246, 0x008CB4D2, 0x00D8BFD8, 0x004763FF, 0x00D0E040, 0x00EE82EE,
    0x00808080, 0x00008000, 0x00000080, 0x00800080, 0x00B3DEF5, 0x00FFFFFF, 0x00F5F5F5, 0x0000FFFF,
    0x0032CD9A};

constinit const std::array<TColor, 47> PredefinedColors = {
    // the sixteen basic colours
    0x00000000, 0x00000080, 0x00008000, 0x00008080, 0x00800000, 0x00800080, 0x00808000, 0x00808080,
    0x00C0C0C0, 0x000000FF, 0x0000FF00, 0x0000FFFF, 0x00FF0000, 0x00FF00FF, 0x00FFFF00, 0x00FFFFFF,
    // money green, sky blue, cream, medium grey
    0x00C0DCC0, 0x00F0CAA6, 0x00F0FBFF, 0x00A4A0A0,
    // active border, active caption, application workspace, desktop, button
    // face, button highlight, button shadow, button text, caption text
    SystemColor(10), SystemColor(2), SystemColor(12), SystemColor(1), SystemColor(15),
    SystemColor(20), SystemColor(16), SystemColor(18), SystemColor(9),
    clDefault,
    // grey text, highlight, highlight text, inactive border, inactive caption,
    // inactive caption text, tooltip background, tooltip text, menu, menu text
    SystemColor(17), SystemColor(13), SystemColor(14), SystemColor(11), SystemColor(3),
    SystemColor(19), SystemColor(24), SystemColor(23), SystemColor(4), SystemColor(7),
    clNone,
    // scroll bar, 3D dark shadow, 3D light, window, window frame, window text
    SystemColor(0), SystemColor(21), SystemColor(22), SystemColor(5), SystemColor(6),
    SystemColor(8)};

constinit const std::array<TColor, 11> ColorArray_Geo1 = {
    0x00DED2BD, 0x00639F63, 0x0089BA88, 0x00A7CFAD, 0x00C5E5D2, 0x00CBF1F5,
    0x0096CEEA, 0x006CAED8, 0x003586BD, 0x00426594, 0x00F0FAFC};
constinit const std::array<TColor, 11> ColorArray_Geo2 = {
    0x00DFAE7F, 0x00DEB68C, 0x00E3BE9B, 0x00E2C9AD, 0x00DCCCBB, 0x0090BBAC,
    0x0099C9C6, 0x00A4D7DA, 0x00A1C8DA, 0x009AB6C5, 0x0096ACC8};
constinit const std::array<TColor, 11> ColorArray_Geo3 = {
    0x00FF8A2B, 0x00FF9C43, 0x00FFAF61, 0x00FFCA89, 0x00F9D1A8, 0x004AA885,
    0x005DCAC2, 0x0074EDF4, 0x006DC7F4, 0x005F9CC0, 0x005685C7};
constinit const std::array<TColor, 11> ColorArray_Rainbow = {
    0x00400020, 0x00800060, 0x00EF1200, 0x00F56E00, 0x00FFF400, 0x0000FF18,
    0x0000F6FF, 0x0000C1FF, 0x000013FF, 0x0000008D, 0x00000040};
constinit const std::array<TColor, 7> ColorArray_Circle = {
    0x000000FF, 0x0000FFFF, 0x0000FF00, 0x00FFFF00, 0x00FF0000, 0x00FF00FF, 0x000000FF};
constinit const std::array<TColor, 7> ColorArray_MorgenStemning = {
    0x00000000, 0x004E2F0E, 0x00742880, 0x00711BC2, 0x004C61EF, 0x002AFBFF, 0x00FFFFFF};
constinit const std::array<TColor, 16> ColorArray_Contrast = {
    0x00000000, 0x00FF0000, 0x00008000, 0x000000FF, 0x000080FF, 0x00808080, 0x00404080, 0x00FF00FF,
    0x00800000, 0x0000FF00, 0x00C5CD18, 0x00808000, 0x00FF0080, 0x0041E1EE, 0x00800080, 0x008000FF};

}  // namespace kyn
