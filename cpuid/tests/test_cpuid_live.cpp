// The running processor, checked against what the operating system reports.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "kyn/cpuid.h"

using namespace kyn;

namespace {

// The fields of the first processor in /proc/cpuinfo, and every "cpu MHz".
struct CpuInfo {
  std::map<std::string, std::string> first;
  std::vector<double> mhz;
  bool Has(const std::string& key) const { return first.count(key) != 0; }
  std::set<std::string> Flags() const {
    std::set<std::string> flags;
    if (!Has("flags")) return flags;
    std::istringstream in(first.at("flags"));
    for (std::string f; in >> f;) flags.insert(f);
    return flags;
  }
};

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

CpuInfo ReadCpuInfo() {
  CpuInfo info;
  std::ifstream in("/proc/cpuinfo");
  int block = 0;
  for (std::string line; std::getline(in, line);) {
    if (Trim(line).empty()) {
      if (!info.first.empty()) block = 1;
      continue;
    }
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = Trim(line.substr(0, colon)), value = Trim(line.substr(colon + 1));
    if (key == "cpu MHz") info.mhz.push_back(std::atof(value.c_str()));
    if (block == 0) info.first[key] = value;
  }
  return info;
}

// Family and model as the operating system shows them: the extended family
// adds to family 15, the extended model extends families 6 and up.
int DisplayFamily(const TCPUSignatureFields& f) { return f.Family + (f.Family == 15 ? f.ExFamily : 0); }
int DisplayModel(const TCPUSignatureFields& f) {
  return f.Model + (DisplayFamily(f) >= 6 ? f.ExModel << 4 : 0);
}

// Frequencies in MHz the system reports for the processor: current ("cpu
// MHz", scaling_cur_freq), nominal (base_frequency, the "@ x.xxGHz" of the
// marketing name) and the maximum.
std::vector<double> ReportedFrequencies(const CpuInfo& info) {
  std::vector<double> mhz = info.mhz;
  for (const char* name : {"base_frequency", "cpuinfo_max_freq", "scaling_cur_freq", "cpuinfo_cur_freq"}) {
    std::ifstream in(std::string("/sys/devices/system/cpu/cpu0/cpufreq/") + name);
    double khz = 0;
    if (in >> khz && khz > 0) mhz.push_back(khz / 1000);
  }
  if (info.Has("model name")) {
    std::smatch m;
    const std::string name = info.first.at("model name");
    if (std::regex_search(name, m, std::regex(R"(@\s*([0-9.]+)\s*([GM])Hz)")))
      mhz.push_back(std::atof(m[1].str().c_str()) * (m[2] == "G" ? 1000 : 1));
  }
  std::vector<double> positive;
  for (double f : mhz)
    if (f > 0) positive.push_back(f);
  return positive;
}

bool IsX86() {
#if defined(__x86_64__) || defined(__i386__)
  return true;
#else
  return false;
#endif
}

class CpuLive : public testing::Test {
 protected:
  void SetUp() override {
    if (!IsX86()) GTEST_SKIP() << "not an x86 processor";
    info = ReadCpuInfo();
    if (!info.Has("vendor_id")) GTEST_SKIP() << "/proc/cpuinfo has no x86 processor fields";
  }
  CpuInfo info;
};

}  // namespace

TEST(CpuNonX86, QueriesRaiseTheFirstError) {
  if (IsX86()) GTEST_SKIP() << "x86 processor";
  EXPECT_FALSE(CPU_IDSupport());
  try {
    CPU_VendorString();
    FAIL() << "no error";
  } catch (const EKYNCpuIdError& e) {
    EXPECT_EQ(e.Message(), u"Cannot acquire CPU information (CPUID not supported)");
  }
  EXPECT_EQ(CPU_Speed(10), 0.0f);
}

TEST_F(CpuLive, IdentificationMatchesTheSystem) {
  ASSERT_TRUE(CPU_IDSupport());
  EXPECT_EQ(StringToUtf8(CPU_VendorString()), info.first.at("vendor_id"));
  const uint32_t sig = CPU_Signature();
  const TCPUSignatureFields f = CPUSignatureFields(sig);
  EXPECT_EQ(f.Family, CPU_Family());
  EXPECT_EQ(f.ExFamily, CPU_ExFamily());
  EXPECT_EQ(f.Model, CPU_Model());
  EXPECT_EQ(f.ExModel, CPU_ExModel());
  EXPECT_EQ(f.Stepping, CPU_Stepping());
  EXPECT_EQ(f.Type, CPU_Type());
  EXPECT_EQ(CPU_OverDrive(), f.Type == 1);
  EXPECT_EQ(std::to_string(DisplayFamily(f)), info.first.at("cpu family"));
  EXPECT_EQ(std::to_string(DisplayModel(f)), info.first.at("model"));
  if (info.Has("stepping") && info.first.at("stepping") != "unknown") {
    EXPECT_EQ(std::to_string(f.Stepping), info.first.at("stepping"));
  }
}

TEST_F(CpuLive, FeatureBitsMatchTheSystemFlags) {
  const std::set<std::string> flags = info.Flags();
  ASSERT_FALSE(flags.empty());
  const uint32_t features = CPU_FeatureSet();
  const std::pair<TCPUFeatures, const char*> standard[] = {
      {cpuft_fpu, "fpu"}, {cpuft_tsc, "tsc"}, {cpuft_simd2, "sse2"},
      {cpuft_simd, "sse"}, {cpuft_cmov, "cmov"}, {cpuft_mmx, "mmx"}};
  for (const auto& [bit, flag] : standard) EXPECT_EQ(CPUHasFeature(features, bit), flags.count(flag) == 1) << flag;
  // Extended word: bit 29 long mode, bit 11 fast system calls.
  const uint32_t ext = CPU_ExtendedFeatureSet();
  EXPECT_EQ(((ext >> 29) & 1) == 1, flags.count("lm") == 1);
  EXPECT_EQ(((ext >> 11) & 1) == 1, flags.count("syscall") == 1);
}

// The marketing name is not compared with the system's "model name": virtual
// machines may report a different name to the kernel at boot than CPUID gives
// later.
TEST_F(CpuLive, SerialNumberBrandAndDivision) {
  const String serial = CPU_SerialNumber();
  ASSERT_EQ(serial.size(), 24u);
  EXPECT_EQ(serial.substr(0, 8), IntToHexStr(CPU_Signature(), 8));
  EXPECT_EQ(serial.substr(8, 8), IntToHexStr(CPU_FeatureSet(), 8));
  EXPECT_EQ(serial.substr(16, 8), IntToHexStr(CPUIDQuery(cpuidLeafSignature).ECX, 8));
  EXPECT_EQ(CPU_BrandID(), static_cast<int32_t>(CPUIDQuery(cpuidLeafSignature).EBX & 0xFF));
  EXPECT_FALSE(CPU_FDIVBugPresent());
}

TEST(CpuCount, MatchesOnlineProcessors) {
  EXPECT_EQ(CPU_Count(), static_cast<int32_t>(sysconf(_SC_NPROCESSORS_ONLN)));
  EXPECT_GE(CPU_Count(), 1);
}

TEST_F(CpuLive, SpeedIsNearTheReportedFrequency) {
  const std::vector<double> reported = ReportedFrequencies(info);
  const double measured = CPU_Speed(200);
  EXPECT_GT(measured, 0.0);
  if (reported.empty()) GTEST_SKIP() << "the system reports no processor frequency";
  bool near = false;
  std::ostringstream list;
  for (double f : reported) {
    list << f << " ";
    if (measured >= 0.8 * f && measured <= 1.2 * f) near = true;
  }
  EXPECT_TRUE(near) << "measured " << measured << " MHz; reported " << list.str();
}

TEST_F(CpuLive, SpeedRestoresTheThreadPriority) {
  int before = 0, after = 0;
  std::thread t([&] {
    setpriority(PRIO_PROCESS, 0, 3);
    before = getpriority(PRIO_PROCESS, 0);
    CPU_Speed(5);
    after = getpriority(PRIO_PROCESS, 0);
  });
  t.join();
  EXPECT_EQ(before, 3);
  EXPECT_EQ(after, 3);
}
