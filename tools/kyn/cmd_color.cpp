// kyn colorscale and kyn color: colour scales as colour array files and PNG
// strips, and the colour conversions; plus the "Colours" section of the demo.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "cli.h"
#include "kyn/kyncolors.h"
#include "kyn/platform/image.h"

namespace {

using kyn::TColor;
using kyn::cli::Failure;
using kyn::cli::UsageError;

struct Scale {
  const char* name;
  std::span<const TColor> colors;
};

const std::vector<Scale>& Scales() {
  static const std::vector<Scale> scales = {
      {"geo1", kyn::ColorArray_Geo1},           {"geo2", kyn::ColorArray_Geo2},
      {"geo3", kyn::ColorArray_Geo3},           {"rainbow", kyn::ColorArray_Rainbow},
      {"circle", kyn::ColorArray_Circle},       {"morgenstemning", kyn::ColorArray_MorgenStemning},
      {"contrast", kyn::ColorArray_Contrast},
  };
  return scales;
}

std::string ScaleNames() {
  std::string s;
  for (const Scale& sc : Scales()) s += (s.empty() ? "" : ", ") + std::string(sc.name);
  return s;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string Hex(TColor c) { return kyn::cli::U8(kyn::ColorToHexStr(c)); }

std::string Num(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

// A colour as HexStrToColor reads it, but only when the text is one to eight
// hexadecimal digits (blanks around them and a leading "$" allowed).
TColor ParseColor(const std::string& text) {
  size_t a = text.find_first_not_of(' '), e = text.find_last_not_of(' ');
  std::string t = a == std::string::npos ? std::string() : text.substr(a, e - a + 1);
  const std::string digits = !t.empty() && t[0] == '$' ? t.substr(1) : t;
  if (digits.empty() || digits.size() > 8 ||
      !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c) != 0; }))
    throw UsageError("not a hexadecimal colour value (00BBGGRR): \"" + text + "\"");
  return kyn::HexStrToColor(kyn::cli::U16(t));
}

int32_t ParseChannel(const std::string& text) {
  size_t used = 0;
  int v = -1;
  try {
    v = std::stoi(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || v < 0 || v > 255)
    throw UsageError("not a channel value 0..255: \"" + text + "\"");
  return v;
}

// One hexadecimal colour, or three channel values red, green, blue.
TColor ColorOrChannels(const std::vector<std::string>& args) {
  if (args.size() == 1) return ParseColor(args[0]);
  if (args.size() == 3)
    return kyn::RGBToColor(ParseChannel(args[0]), ParseChannel(args[1]), ParseChannel(args[2]));
  throw UsageError("expected one hexadecimal colour or three channel values");
}

// A strip Height pixels high, one column per colour of the array.
void WriteStrip(const kyn::TColorArray& ca, int32_t height, const std::string& file) {
  kyn::TImage32 img(ca.Size(), height);
  for (int32_t x = 0; x < ca.Size(); ++x) img.FillRect(x, 0, x + 1, height, ca.GetColorElem(x + 1));
  img.WriteToPNG(kyn::cli::U16(file));
}

void AddColorScale(CLI::App& app) {
  struct Opts {
    std::string name, colors, txt, png;
    int32_t size = 1000, levels = 0, height = 32;
  };
  auto o = std::make_shared<Opts>();
  auto* sub = app.add_subcommand("colorscale", "Build a colour scale and write it as colour array file and/or PNG strip (without either, print the file)");
  sub->add_option("NAME", o->name, "Built-in scale: " + ScaleNames());
  auto* colors = sub->add_option("--colors", o->colors, "Key colours instead of a built-in scale: HEX,HEX,... (TColor values 00BBGGRR)");
  sub->add_option("--size", o->size, "Number of colours")->capture_default_str();
  sub->add_option("--levels", o->levels, "Discrete levels (0: continuous)")->capture_default_str();
  sub->add_option("--txt", o->txt, "Write the colour array file");
  auto* png = sub->add_option("--png", o->png, "Write a PNG strip, one column per colour");
  auto* height = sub->add_option("--height", o->height, "Height of the PNG strip in pixels")->capture_default_str();

  sub->callback([o, colors, png, height] {
    std::vector<TColor> keys;
    if (!o->name.empty() && colors->count()) throw UsageError("give a scale name or --colors, not both");
    if (colors->count()) {
      size_t start = 0;
      for (;;) {
        const size_t comma = o->colors.find(',', start);
        keys.push_back(ParseColor(o->colors.substr(start, comma - start)));
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    } else if (!o->name.empty()) {
      const std::string want = Lower(o->name);
      for (const Scale& sc : Scales())
        if (want == sc.name) keys.assign(sc.colors.begin(), sc.colors.end());
      if (keys.empty()) throw UsageError("unknown scale \"" + o->name + "\"; known: " + ScaleNames());
    } else {
      throw UsageError("give a scale name (" + ScaleNames() + ") or --colors");
    }
    if (o->size < 1 || o->size > kyn::TColorArray::MaxFileColors)
      throw UsageError("--size must be 1.." + std::to_string(kyn::TColorArray::MaxFileColors));
    if (height->count() && !png->count()) throw UsageError("--height needs --png");
    if (png->count() && (o->height < 1 || o->size > kyn::TImage32::MaxSide || o->height > kyn::TImage32::MaxSide ||
                         int64_t{o->size} * o->height > kyn::TImage32::MaxPixels))
      throw UsageError("PNG strip of " + std::to_string(o->size) + " x " + std::to_string(o->height) +
                       " pixels is out of range (each side 1.." + std::to_string(kyn::TImage32::MaxSide) + ")");

    kyn::TColorArray ca(nullptr);
    ca.SetSize(o->size);
    ca.FillByInterpolation(o->levels, keys);
    if (!o->txt.empty()) {
      if (!ca.StoreOnFile(1, ca.Size(), kyn::cli::U16(o->txt))) throw Failure("cannot write " + o->txt, 1);
      std::cout << "wrote " << o->txt << " (" << ca.Size() << " colours)\n";
    }
    if (png->count()) {
      try {
        WriteStrip(ca, o->height, o->png);
      } catch (const kyn::Exception& e) {
        throw Failure(e.what(), 1);
      }
      std::cout << "wrote " << o->png << " (" << ca.Size() << " x " << o->height << " pixels)\n";
    }
    if (o->txt.empty() && !png->count()) {
      std::cout << 1 << ' ' << ca.Size() << '\n';
      for (int32_t i = 1; i <= ca.Size(); ++i) std::cout << Hex(ca.GetColorElem(i)) << '\n';
    }
  });
}

void AddColor(CLI::App& app) {
  auto* color = app.add_subcommand("color", "Colour conversions");
  color->require_subcommand(1);

  {
    auto v = std::make_shared<std::vector<double>>();
    auto* s = color->add_subcommand("hsi2rgb", "Hue (degrees), saturation and intensity (0..1) to red, green, blue");
    s->add_option("HUE SAT INT", *v, "Hue, saturation, intensity")->required()->expected(3);
    s->callback([v] {
      int32_t r, g, b;
      kyn::HSItoRGB((*v)[0], (*v)[1], (*v)[2], r, g, b);
      std::cout << r << ' ' << g << ' ' << b << '\n';
    });
  }
  {
    auto v = std::make_shared<std::vector<std::string>>();
    auto* s = color->add_subcommand("rgb2hsi", "Red, green, blue (0..255) to hue, saturation, intensity (hue -1 for grey)");
    s->add_option("R G B", *v, "Channel values")->required()->expected(3);
    s->callback([v] {
      double h, si, in;
      kyn::RGBtoHSI(ParseChannel((*v)[0]), ParseChannel((*v)[1]), ParseChannel((*v)[2]), h, si, in);
      std::cout << Num(h) << ' ' << Num(si) << ' ' << Num(in) << '\n';
    });
  }
  for (const bool withBlack : {false, true}) {
    auto v = std::make_shared<std::vector<std::string>>();
    auto toRgb = std::make_shared<bool>(false);
    auto* s = color->add_subcommand(withBlack ? "cmyk" : "cmy",
                                    withBlack ? "Red, green, blue to cyan, magenta, yellow, black (0..1)"
                                              : "Red, green, blue to cyan, magenta, yellow (0..1)");
    s->add_option("VALUES", *v, withBlack ? "R G B, or C M Y K with --to-rgb" : "R G B, or C M Y with --to-rgb")
        ->required();
    s->add_flag("--to-rgb", *toRgb, "Convert the other way");
    s->callback([v, toRgb, withBlack] {
      if (*toRgb) {
        const size_t want = withBlack ? 4 : 3;
        if (v->size() != want) throw UsageError("expected " + std::to_string(want) + " values");
        double x[4] = {0, 0, 0, 0};
        for (size_t i = 0; i < want; ++i) {
          size_t used = 0;
          try {
            x[i] = std::stod((*v)[i], &used);
          } catch (const std::exception&) {
            used = 0;
          }
          if (used != (*v)[i].size() || !std::isfinite(x[i]))
            throw UsageError("not a number: \"" + (*v)[i] + "\"");
        }
        if (withBlack) kyn::CMYKtoCMY(x[0], x[1], x[2], x[3]);
        uint8_t r, g, b;
        kyn::CMYtoRGB(x[0], x[1], x[2], r, g, b);
        std::cout << int{r} << ' ' << int{g} << ' ' << int{b} << '\n';
        return;
      }
      if (v->size() != 3) throw UsageError("expected three channel values R G B");
      double c, m, y, k;
      kyn::RGBtoCMY(static_cast<uint8_t>(ParseChannel((*v)[0])), static_cast<uint8_t>(ParseChannel((*v)[1])),
                    static_cast<uint8_t>(ParseChannel((*v)[2])), c, m, y);
      if (withBlack) kyn::CMYtoCMYK(c, m, y, k);
      std::cout << Num(c) << ' ' << Num(m) << ' ' << Num(y);
      if (withBlack) std::cout << ' ' << Num(k);
      std::cout << '\n';
    });
  }
  {
    auto v = std::make_shared<std::vector<std::string>>();
    auto* s = color->add_subcommand("gray", "Grey level and grey colour of a colour (HEX or R G B)");
    s->add_option("COLOR", *v, "Hexadecimal colour 00BBGGRR, or R G B")->required();
    s->callback([v] {
      const TColor c = ColorOrChannels(*v);
      std::cout << kyn::ColorToGray(c) << ' ' << Hex(kyn::ColorToGrayColor(c)) << '\n';
    });
  }
  {
    auto v = std::make_shared<std::vector<std::string>>();
    auto* s = color->add_subcommand("distance", "Distance of two colours, 0 (equal) to 1 (black and white)");
    s->add_option("COLOR1 COLOR2", *v, "Hexadecimal colours")->required()->expected(2);
    s->callback([v] { std::cout << Num(kyn::RGBColorDistance(ParseColor((*v)[0]), ParseColor((*v)[1]))) << '\n'; });
  }
  {
    auto nm = std::make_shared<int32_t>(0);
    auto gamma = std::make_shared<double>(0.8);
    auto* s = color->add_subcommand("wavelength", "Colour of light of a wavelength in nanometres");
    s->add_option("NM", *nm, "Wavelength in nanometres")->required();
    s->add_option("--gamma", *gamma, "Gamma")->capture_default_str();
    s->callback([nm, gamma] {
      if (!std::isfinite(*gamma)) throw UsageError("--gamma must be finite");
      std::cout << Hex(kyn::WavelengthToColor(*nm, *gamma)) << '\n';
    });
  }
  for (const bool invert : {true, false}) {
    auto v = std::make_shared<std::string>();
    auto* s = color->add_subcommand(invert ? "invert" : "reverse",
                                    invert ? "Complement of a colour" : "Colour with red and blue exchanged");
    s->add_option("COLOR", *v, "Hexadecimal colour 00BBGGRR")->required();
    s->callback([v, invert] {
      const TColor c = ParseColor(*v);
      std::cout << Hex(invert ? kyn::InvertColor(c) : kyn::ReverseRGBColor(c)) << '\n';
    });
  }
  {
    auto v = std::make_shared<std::vector<std::string>>();
    auto* s = color->add_subcommand("hex", "A colour as eight hexadecimal digits and its channels (HEX or R G B)");
    s->add_option("COLOR", *v, "Hexadecimal colour 00BBGGRR, or R G B")->required();
    s->callback([v] {
      const TColor c = ColorOrChannels(*v);
      std::cout << Hex(c) << " red " << int{kyn::ColorRed(c)} << " green " << int{kyn::ColorGreen(c)}
                << " blue " << int{kyn::ColorBlue(c)} << '\n';
    });
  }
}

const bool registered = kyn::cli::RegisterFamily("color", [](CLI::App& app) {
  AddColorScale(app);
  AddColor(app);
});

const bool demo = kyn::cli::RegisterDemo(40, "Colours", [](kyn::cli::DemoContext& ctx) {
  int32_t r, g, b;
  kyn::HSItoRGB(30, 1, 1, r, g, b);
  double h, s, i;
  kyn::RGBtoHSI(200, 100, 50, h, s, i);
  ctx.out << "MeanColor(000000, FFFFFF)      = " << Hex(kyn::MeanColor(0x000000, 0xFFFFFF)) << " (truncated)\n"
          << "HSItoRGB(30, 1, 1)             = " << r << ' ' << g << ' ' << b << '\n'
          << "RGBtoHSI(200, 100, 50)         = hue " << Num(h) << ", saturation " << Num(s)
          << ", intensity " << Num(i) << '\n'
          << "ColorToGray(0000FF)            = " << kyn::ColorToGray(0x0000FF) << '\n'
          << "WavelengthToColor(580 nm, 0.8) = " << Hex(kyn::WavelengthToColor(580, 0.8)) << '\n'
          << "HexStrToColor(\"FF\")            = " << Hex(kyn::HexStrToColor(u"FF")) << " (red)\n";

  std::filesystem::create_directories(ctx.dir);
  ctx.out << "Colour scales as PNG strips (512 x 40) in " << ctx.dir.string() << ":\n";
  kyn::TColorArray ca(nullptr);
  ca.SetSize(512);
  for (const Scale& sc : Scales()) {
    ca.FillByInterpolation(0, sc.colors);
    const std::string file = "colorscale_" + std::string(sc.name) + ".png";
    WriteStrip(ca, 40, (ctx.dir / file).string());
    ctx.out << "  " << file << '\n';
  }
});

}  // namespace
