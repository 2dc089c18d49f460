// kyn cpu: the report agrees with the library on this processor; bad
// arguments are usage errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "kyn/cpuid.h"
#include "kyn_runner.h"

using kyntest::RunKyn;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

// The value of the line "Label:   value", or "" when absent.
std::string Value(const std::string& out, const std::string& label) {
  for (const std::string& l : Lines(out)) {
    if (l.rfind(label + ":", 0) != 0) continue;
    const auto v = l.find_first_not_of(' ', label.size() + 1);
    return v == std::string::npos ? "" : l.substr(v);
  }
  return "";
}

}  // namespace

TEST(KynCpu, ReportMatchesTheLibrary) {
  const auto r = RunKyn({"cpu"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;
  EXPECT_EQ(Value(r.out, "Processors"), std::to_string(kyn::CPU_Count()));
  EXPECT_EQ(Value(r.out, "Speed"), "");
  if (!kyn::CPU_IDSupport()) {
    EXPECT_EQ(Value(r.out, "CPUID"), "not supported");
    return;
  }
  EXPECT_EQ(Value(r.out, "Vendor"), kyn::StringToUtf8(kyn::CPU_VendorString()));
  const uint32_t sig = kyn::CPU_Signature();
  EXPECT_EQ(Value(r.out, "Signature"), kyn::StringToUtf8(kyn::IntToHexStr(sig, 8)));
  const kyn::TCPUSignatureFields f = kyn::CPUSignatureFields(sig);
  EXPECT_EQ(Value(r.out, "  Family"), std::to_string(f.Family));
  EXPECT_EQ(Value(r.out, "  Extended family"), std::to_string(f.ExFamily));
  EXPECT_EQ(Value(r.out, "  Model"), std::to_string(f.Model));
  EXPECT_EQ(Value(r.out, "  Extended model"), std::to_string(f.ExModel));
  EXPECT_EQ(Value(r.out, "  Stepping"), std::to_string(f.Stepping));

  // One row per feature bit: "  [x]  4 tsc  Time Stamp Counter ...".
  const uint32_t features = kyn::CPU_FeatureSet();
  const std::regex row(R"(  \[([x ])\] +(\d+) (\S+) +(.*))");
  int rows = 0;
  for (const std::string& l : Lines(r.out)) {
    std::smatch m;
    if (!std::regex_match(l, m, row)) continue;
    const int bit = std::atoi(m[2].str().c_str());
    ASSERT_EQ(bit, rows);
    const auto ft = static_cast<kyn::TCPUFeatures>(bit);
    EXPECT_EQ(m[1] == "x", kyn::CPUHasFeature(features, ft)) << l;
    EXPECT_EQ(m[4].str(), kyn::StringToUtf8(kyn::String(kyn::CPUFeatureNames[ft])));
    ++rows;
  }
  EXPECT_EQ(rows, 32);
}

TEST(KynCpu, SpeedOptionMeasures) {
  const auto r = RunKyn({"cpu", "--speed", "50"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::smatch m;
  const std::string speed = Value(r.out, "Speed");
  ASSERT_TRUE(std::regex_match(speed, m, std::regex(R"(([0-9]+\.[0-9]) MHz \(measured over 50 ms\))"))) << speed;
#if defined(__x86_64__) || defined(__i386__)
  EXPECT_GT(std::atof(m[1].str().c_str()), 0.0);
#endif
}

TEST(KynCpu, BadArgumentsAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"cpu", "--speed", "0"},   {"cpu", "--speed", "60001"}, {"cpu", "--speed", "-5"},
      {"cpu", "--speed", "abc"}, {"cpu", "--speed"},          {"cpu", "extra"},
      {"cpu", "--bogus"}};
  for (const auto& args : cases) {
    const auto r = RunKyn(args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_FALSE(r.err.empty()) << args.back();
    EXPECT_TRUE(r.out.empty()) << args.back();
  }
}

TEST(KynCpu, HelpAndDemo) {
  const auto help = RunKyn({"cpu", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--speed"), std::string::npos);

  kyntest::TempDir tmp;
  const auto demo = RunKyn({"demo", "--dir", tmp.File("out")});
  ASSERT_EQ(demo.status, 0) << demo.err;
  const auto at = demo.out.find("## CPU\n");
  ASSERT_NE(at, std::string::npos);
  const std::string section = demo.out.substr(at);
  EXPECT_NE(section.find("Processors: " + std::to_string(kyn::CPU_Count())), std::string::npos);
  EXPECT_NE(section.find("Clock rate over 50 ms: "), std::string::npos);
  if (kyn::CPU_IDSupport()) {
    EXPECT_NE(section.find("Vendor " + kyn::StringToUtf8(kyn::CPU_VendorString())), std::string::npos);
  }
}
