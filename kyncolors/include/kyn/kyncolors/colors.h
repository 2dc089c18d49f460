// Colour values and conversions: blending, HSI/CMY/CMYK/grey conversions,
// colour distance, wavelength to colour, hexadecimal text, random colours,
// and the exported tables of named colours and colour scales.
//
// TColor is 0x00BBGGRR for an RGB colour (red in the low byte). A top byte of
// 0xFF marks a system colour (index in the low byte); 0x1FFFFFFF is "no
// colour" and 0x20000000 the default colour. The functions here never resolve
// symbolic colours: they read the low three bytes of any input as red, green
// and blue, and every colour they return has a top byte of 0.
//
// Rounding: "truncated" goes toward zero, "rounded" to the nearest integer
// with halves to the even neighbour. Intermediate values are long double.
// No function raises. A floating-point input that is not a number counts as 0
// wherever it is clamped (as 1 for the fraction of the blends); a rounded
// value beyond the 32-bit range saturates before its low byte is taken.
#pragma once

#include <array>
#include <cstdint>

#include "kyn/kynbase/types.h"
#include "kyn/platform/string.h"

namespace kyn {

// Packs the low bytes of the three channel values into an RGB colour.
constexpr TColor RGBToColor(int32_t Red, int32_t Green, int32_t Blue) {
  return (static_cast<uint32_t>(Red) & 0xFFu) | ((static_cast<uint32_t>(Green) & 0xFFu) << 8) |
         ((static_cast<uint32_t>(Blue) & 0xFFu) << 16);
}
constexpr uint8_t ColorRed(TColor c) { return static_cast<uint8_t>(c & 0xFFu); }
constexpr uint8_t ColorGreen(TColor c) { return static_cast<uint8_t>((c >> 8) & 0xFFu); }
constexpr uint8_t ColorBlue(TColor c) { return static_cast<uint8_t>((c >> 16) & 0xFFu); }

// Symbolic colours of the drawing platform.
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
// The system colour with the given index (0..255).
constexpr TColor SystemColor(uint8_t Index) { return 0xFF000000u + Index; }

// Blend of two colours per channel: truncated(first + (second - first) *
// Fraction). Fraction is clamped to 0..1 (NaN counts as 1).
TColor InterpolateColor(TColor Color1, TColor Color2, double Fraction);
// Blend along first -> middle -> last; 0.5 gives the middle colour exactly.
TColor Interpolate3Colors(TColor Color1, TColor Color2, TColor Color3, double Fraction);
// InterpolateColor of the two colours at 0.5 (000000 and FFFFFF give 7F7F7F).
TColor MeanColor(TColor Color1, TColor Color2);

// Hue in degrees (below 0 or at least 360 counts as 0), saturation and
// intensity in 0..1 (clamped). Outputs in 0..255.
void HSItoRGB(double Hue, double Saturation, double Intensity, int32_t& Red, int32_t& Green,
              int32_t& Blue);
// Hue in 0..360 (-1 for a grey), saturation and intensity in 0..1 for inputs
// in 0..255; the inputs are not clamped.
void RGBtoHSI(int32_t Red, int32_t Green, int32_t Blue, double& Hue, double& Saturation,
              double& Intensity);

// Cyan, magenta, yellow in 0..1 (clamped) to bytes: rounded((1 - x) * 255).
void CMYtoRGB(double Cyan, double Magenta, double Yellow, uint8_t& Red, uint8_t& Green,
              uint8_t& Blue);
void RGBtoCMY(uint8_t Red, uint8_t Green, uint8_t Blue, double& Cyan, double& Magenta,
              double& Yellow);
// Adds Black to each of the three, then clamps them to 0..1.
void CMYKtoCMY(double& Cyan, double& Magenta, double& Yellow, double Black);
// Clamps the three to 0..1, takes Black as their minimum and subtracts it.
void CMYtoCMYK(double& Cyan, double& Magenta, double& Yellow, double& Black);

// rounded(0.3 red + 0.59 green + 0.11 blue).
int32_t RGBtoGray(int32_t Red, int32_t Green, int32_t Blue);
// The grey level's low byte in all three channels.
TColor RGBtoGrayColor(int32_t Red, int32_t Green, int32_t Blue);
int32_t ColorToGray(TColor Color);
TColor ColorToGrayColor(TColor Color);

// Euclidean channel distance scaled so that black to white is 1.
double RGBColorDistance(TColor Color1, TColor Color2);

// The colour of light of the given wavelength (nanometres, visible from 380
// to 779), each channel raised to the power Gamma. Black outside that range.
TColor WavelengthToColor(int32_t Wavelength, double Gamma);

// Red and blue exchanged.
TColor ReverseRGBColor(TColor Color);
// 255 minus each channel.
TColor InvertColor(TColor Color);

// Eight upper-case hexadecimal digits of the whole value (00BBGGRR, FF0000nn).
String ColorToHexStr(TColor Color);
// Reads the numeric TColor value from hexadecimal text (blanks around it and a
// leading "$" allowed): "FF" is red, "FF0000" blue. Empty text gives 0.
TColor HexStrToColor(StringView Text);

// Three draws 0..255 from the process-wide generator: blue, green, red.
TColor RandomColor();
// Per channel, drawn in the order blue, green, red: Lo + RandomInt(Hi + 1 -
// Lo), low byte kept. With Lo above Hi the platform's RandomInt gets a count of
// 0 or less and returns 0, so the channel is Lo.
TColor RandomColor(uint8_t RedLo, uint8_t RedHi, uint8_t GreenLo, uint8_t GreenHi, uint8_t BlueLo,
                   uint8_t BlueHi);

// ------------------------------------------------------------------ tables
// The tables are indexed from 0: entry n of a table is Table[n - 1].

// 145 colours in the order of the alphabetical X11 colour names (the web
// variants of grey, green, maroon and purple after violet). Entry 126 holds
// F0CAA6.
extern const std::array<TColor, 145> X11Colors;
// The 16 basic colours, four extra named colours, the system colours, the
// default colour (entry 30) and "no colour" (entry 41).
extern const std::array<TColor, 47> PredefinedColors;

// Colour scales for TColorArray::FillByInterpolation.
extern const std::array<TColor, 11> ColorArray_Geo1;
extern const std::array<TColor, 11> ColorArray_Geo2;
extern const std::array<TColor, 11> ColorArray_Geo3;
// Dark violet through blue, cyan, green, yellow and orange to dark red.
extern const std::array<TColor, 11> ColorArray_Rainbow;
// The hue circle from red back to red.
extern const std::array<TColor, 7> ColorArray_Circle;
extern const std::array<TColor, 7> ColorArray_MorgenStemning;
extern const std::array<TColor, 16> ColorArray_Contrast;

}  // namespace kyn
