// kyn format / kyn scan: the number formatters and the numeric text scanners.
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <locale.h>
#include <memory>
#include <string>

#include "cli.h"
#include "kyn/kynbase.h"
#include "kyn/stringl.h"

namespace {

using kyn::cli::U16;
using kyn::cli::U8;

// The whole argument as a long double, read in the C locale.
long double ParseValue(const std::string& text) {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  char* end = nullptr;
  const long double v = strtold_l(text.c_str(), &end, c);
  if (text.empty() || end != text.c_str() + text.size())
    throw kyn::cli::UsageError("not a number: \"" + text + "\"");
  return v;
}

struct FormatArgs {
  std::string value;
  int width = 0;
  int decimals = 2;
  std::string mode = "strff";
  int digits = 4;
};

kyn::String Format(const FormatArgs& a) {
  const long double v = ParseValue(a.value);
  if (a.mode == "strff") return kyn::strff(v, a.width, a.decimals);
  if (a.mode == "plus") return kyn::strffForcePlus(v, a.width, a.decimals);
  if (a.mode == "data") return kyn::FormatData(static_cast<double>(v), a.width, a.decimals);
  if (a.mode == "sigdig") return kyn::SigDigStr(static_cast<double>(v), a.width, a.digits);
  return kyn::AutoFormatData(static_cast<double>(v), a.digits);
}

struct ScanArgs {
  std::string text;
  std::string kind = "fp";
  int pos = 1;
};

std::string Scan(const ScanArgs& a) {
  const kyn::String text = U16(a.text);
  int32_t pos = a.pos;
  std::string value;
  if (a.kind == "dec") {
    value = std::to_string(kyn::ScanDecimal(text, pos));
  } else if (a.kind == "hex") {
    value = std::to_string(kyn::ScanHexNum(text, pos));
  } else {
    char buf[64];
    const double v = kyn::ScanFPNum(text, true, 3, pos);
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    value.assign(buf, r.ptr);
  }
  return value + ' ' + std::to_string(pos);
}

const bool registered = kyn::cli::RegisterFamily("numbers", [](CLI::App& app) {
  auto fa = std::make_shared<FormatArgs>();
  auto* format = app.add_subcommand("format", "Format a number as text (strff and its relatives)");
  format->add_option("VALUE", fa->value, "The number (C locale; nan and inf accepted; put -- before -inf)")->required();
  format->add_option("--width,-w", fa->width, "Field width; negative pads with zeros")->capture_default_str();
  format->add_option("--decimals,-d", fa->decimals, "Decimals; -2 = scientific with two exponent digits")
      ->capture_default_str();
  format->add_option("--mode,-m", fa->mode, "strff, plus, data, sigdig or auto")
      ->check(CLI::IsMember({"strff", "plus", "data", "sigdig", "auto"}))
      ->capture_default_str();
  format->add_option("--digits,-n", fa->digits, "Significant digits of sigdig and auto")->capture_default_str();
  format->callback([fa] { std::cout << U8(Format(*fa)) << '\n'; });

  auto sa = std::make_shared<ScanArgs>();
  auto* scan = app.add_subcommand("scan", "Scan a number from text; prints VALUE and the end position");
  scan->add_option("TEXT", sa->text, "The text to scan")->required();
  scan->add_option("--kind,-k", sa->kind, "fp (floating point), dec or hex")
      ->check(CLI::IsMember({"fp", "dec", "hex"}))
      ->capture_default_str();
  scan->add_option("--pos,-p", sa->pos, "Start position, counted from 1")->capture_default_str();
  scan->callback([sa] { std::cout << Scan(*sa) << '\n'; });
});

const bool demoScan = kyn::cli::RegisterDemo(10, "Numeric text scanners", [](kyn::cli::DemoContext& ctx) {
  const ScanArgs samples[] = {{"  -12.5e3x", "fp", 1}, {"1,5", "fp", 1}, {"1.5.3", "fp", 1},
                              {" +42abc", "dec", 1}, {"$00FF00", "hex", 1}};
  for (const ScanArgs& s : samples)
    ctx.out << "  scan " << s.kind << " \"" << s.text << "\" -> value and end position " << Scan(s) << '\n';
  ctx.out << "  IntToHexStr(305419896, 4) = " << U8(kyn::IntToHexStr(305419896, 4)) << '\n';
});

const bool demoFormat = kyn::cli::RegisterDemo(20, "Number formatting", [](kyn::cli::DemoContext& ctx) {
  auto show = [&](const std::string& call, const kyn::String& s) {
    ctx.out << "  " << call << " = [" << U8(s) << "]\n";
  };
  show("strff(3.14159, 8, 2)", kyn::strff(3.14159L, 8, 2));
  show("strff(-3.5, -8, 2)", kyn::strff(-3.5L, -8, 2));
  show("strff(1234.56, 10, -2)", kyn::strff(1234.56L, 10, -2));
  show("strff(1.5E120, 8, -2)", kyn::strff(1.5E120L, 8, -2));
  show("strffForcePlus(3.14159, 8, 2)", kyn::strffForcePlus(3.14159L, 8, 2));
  show("FormatData(1234567, 10, 2)", kyn::FormatData(1234567, 10, 2));
  show("SigDigStr(0.00123456, 10, 3)", kyn::SigDigStr(0.00123456, 10, 3));
  show("AutoFormatData(12345.678, 4)", kyn::AutoFormatData(12345.678, 4));
  show("BoolToStr(true, 2)", kyn::BoolToStr(true, 2));
  show("TimeString(3725.5, 0)", kyn::TimeString(3725.5, 0));
});

}  // namespace
