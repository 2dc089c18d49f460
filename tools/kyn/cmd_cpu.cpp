// kyn cpu: identification and clock speed of the processor.
#include <cstdint>
#include <iomanip>
#include <iostream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "cli.h"
#include "kyn/cpuid.h"

namespace {

using kyn::cli::U8;

// Short tags of the feature bits, in bit order (the TCPUFeatures names
// without their prefix).
constexpr const char* kFeatureTags[32] = {
    "fpu",  "vme",  "de",   "pse",    "tsc",     "msr",       "pae",  "mce",
    "cx8",  "apic", "sepamd", "sep",  "mtrr",    "pge",       "mca",  "cmov",
    "pat",  "pse36", "serial", "clflush", "reserved1", "dts", "acpi", "mmx",
    "xsr",  "simd", "simd2", "ss",    "reserved2", "tm",      "ia64", "3dnow"};

// Text the processor reports, with control characters shown as '.'.
std::string Printable(const kyn::String& s) {
  kyn::String t = s;
  for (char16_t& c : t)
    if (c < 32) c = u'.';
  return U8(t);
}

std::string Hex8(uint32_t v) { return U8(kyn::IntToHexStr(v, 8)); }

void Line(std::ostream& out, const std::string& label, const std::string& value) {
  out << std::left << std::setw(20) << (label + ":") << value << '\n';
}

void PrintSignature(std::ostream& out) {
  const uint32_t sig = kyn::CPU_Signature();
  const kyn::TCPUSignatureFields f = kyn::CPUSignatureFields(sig);
  Line(out, "Signature", Hex8(sig));
  Line(out, "  Stepping", std::to_string(f.Stepping));
  Line(out, "  Model", std::to_string(f.Model));
  Line(out, "  Family", std::to_string(f.Family));
  Line(out, "  Type", std::to_string(f.Type));
  Line(out, "  Extended model", std::to_string(f.ExModel));
  Line(out, "  Extended family", std::to_string(f.ExFamily));
  Line(out, "  OverDrive", kyn::CPU_OverDrive() ? "yes" : "no");
}

void PrintFeatures(std::ostream& out) {
  const uint32_t features = kyn::CPU_FeatureSet();
  Line(out, "Features", Hex8(features) + "  ([x] = present)");
  for (int bit = 0; bit < 32; ++bit) {
    const auto ft = static_cast<kyn::TCPUFeatures>(bit);
    out << "  [" << (kyn::CPUHasFeature(features, ft) ? 'x' : ' ') << "] " << std::right << std::setw(2) << bit
        << ' ' << std::left << std::setw(10) << kFeatureTags[bit] << U8(kyn::String(kyn::CPUFeatureNames[ft]))
        << '\n';
  }
  Line(out, "Extended features", Hex8(kyn::CPU_ExtendedFeatureSet()));
}

std::string Mhz(float mhz) {
  std::ostringstream s;
  s << std::fixed << std::setprecision(1) << mhz << " MHz";
  return s.str();
}

void RunCpu(int64_t speedMs) {
  std::ostream& out = std::cout;
  if (kyn::CPU_IDSupport()) {
    Line(out, "Vendor", Printable(kyn::CPU_VendorString()));
    PrintSignature(out);
    Line(out, "Market name", Printable(kyn::CPU_MarketName()));
    Line(out, "Brand index", std::to_string(kyn::CPU_BrandID()));
    Line(out, "Serial number", U8(kyn::CPU_SerialNumber()));
    PrintFeatures(out);
  } else {
    Line(out, "CPUID", "not supported");
  }
  Line(out, "FDIV fault", kyn::CPU_FDIVBugPresent() ? "present" : "absent");
  Line(out, "Processors", std::to_string(kyn::CPU_Count()));
  if (speedMs >= 0) {
    const float mhz = kyn::CPU_Speed(static_cast<uint32_t>(speedMs));
    Line(out, "Speed", Mhz(mhz) + " (measured over " + std::to_string(speedMs) + " ms)");
  }
}

const bool registered = kyn::cli::RegisterFamily("cpu", [](CLI::App& app) {
  auto* sub = app.add_subcommand("cpu", "Processor identification, features and clock speed");
  auto speed = std::make_shared<int64_t>(-1);
  sub->add_option("--speed", *speed,
                  "Also measure the clock rate over MS milliseconds (1 to 60000; 100 or more for a steady value)")
      ->type_name("MS")
      ->check(CLI::Range(int64_t{1}, int64_t{60000}));
  sub->callback([speed] {
    try {
      RunCpu(*speed);
    } catch (const kyn::EKYNCpuIdError& e) {
      throw kyn::cli::Failure(e.what(), 1);
    }
  });
});

const bool demo = kyn::cli::RegisterDemo(80, "CPU", [](kyn::cli::DemoContext& ctx) {
  std::ostream& out = ctx.out;
  if (!kyn::CPU_IDSupport()) {
    out << "This processor has no CPUID instruction.\n";
  } else {
    const kyn::TCPUSignatureFields f = kyn::CPUSignatureFields(kyn::CPU_Signature());
    out << "Vendor " << Printable(kyn::CPU_VendorString()) << ", \"" << Printable(kyn::CPU_MarketName())
        << "\"\n";
    out << "Signature " << Hex8(kyn::CPU_Signature()) << ": family " << f.Family << " (extended " << f.ExFamily
        << "), model " << f.Model << " (extended " << f.ExModel << "), stepping " << f.Stepping << '\n';
    const uint32_t features = kyn::CPU_FeatureSet();
    out << "Features:";
    for (int bit = 0; bit < 32; ++bit)
      if (kyn::CPUHasFeature(features, static_cast<kyn::TCPUFeatures>(bit))) out << ' ' << kFeatureTags[bit];
    out << '\n';
  }
  out << "Processors: " << kyn::CPU_Count() << '\n';
  out << "Clock rate over 50 ms: " << Mhz(kyn::CPU_Speed(50)) << '\n';
});

}  // namespace
