// The decoding rules, fed with given register values, a scripted CPUID
// executor and simulated clocks.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "kyn/cpuid.h"

using namespace kyn;

namespace {

// Three brand leaves holding the 48 bytes of Text (shorter texts are padded
// with zero bytes).
struct BrandLeaves {
  TCPUIDRegs r[3];
};
BrandLeaves BrandFrom(const std::string& Text) {
  uint8_t bytes[48] = {};
  std::memcpy(bytes, Text.data(), Text.size() < 48 ? Text.size() : 48);
  BrandLeaves b;
  for (int leaf = 0; leaf < 3; ++leaf) {
    uint32_t w[4];
    std::memcpy(w, bytes + 16 * leaf, 16);  // little-endian: lowest byte first
    b.r[leaf] = {w[0], w[1], w[2], w[3]};
  }
  return b;
}
String MarketName(const std::string& Text) {
  const BrandLeaves b = BrandFrom(Text);
  return CPUMarketNameText(b.r[0], b.r[1], b.r[2]);
}

}  // namespace

TEST(CpuDecode, SignatureFields) {
  struct Case {
    uint32_t sig;
    TCPUSignatureFields want;  // Stepping, Model, Family, Type, ExModel, ExFamily
  };
  const Case cases[] = {
      {0x000306C3, {3, 12, 6, 0, 3, 0}},
      {0x00000000, {0, 0, 0, 0, 0, 0}},
      {0x00B00F21, {1, 2, 15, 0, 0, 11}},
      {0x00001632, {2, 3, 6, 1, 0, 0}},  // an OverDrive processor
      {0xFFFFFFFF, {15, 15, 15, 3, 15, 255}},
      {0x0FFFCFFF, {15, 15, 15, 0, 15, 255}},  // bits 14-15 and 28-31 belong to no field
  };
  for (const Case& c : cases) {
    const TCPUSignatureFields f = CPUSignatureFields(c.sig);
    SCOPED_TRACE(testing::Message() << std::hex << c.sig);
    EXPECT_EQ(f.Stepping, c.want.Stepping);
    EXPECT_EQ(f.Model, c.want.Model);
    EXPECT_EQ(f.Family, c.want.Family);
    EXPECT_EQ(f.Type, c.want.Type);
    EXPECT_EQ(f.ExModel, c.want.ExModel);
    EXPECT_EQ(f.ExFamily, c.want.ExFamily);
  }
}

TEST(CpuDecode, WordsBecomeCharactersLowestByteFirst) {
  EXPECT_EQ(CPUWordToText(0x00802041), String(u"A \u0080") + u'\0');
  EXPECT_EQ(CPUWordToText(0), String(4, u'\0'));
  // The byte value is the character code, not a code-page mapping.
  EXPECT_EQ(CPUWordToText(0x9F8E8D80), u"\u0080\u008D\u008E\u009F");
  // Vendor order: EBX, EDX, ECX.
  const TCPUIDRegs leaf0{0x0D, 0x756E6547, 0x6C65746E, 0x49656E69};
  EXPECT_EQ(CPUVendorText(leaf0), u"GenuineIntel");
}

TEST(CpuDecode, MarketNameTrimsAndRejectsInnerControls) {
  struct Case {
    std::string brand;
    String want;
  };
  const Case cases[] = {
      {std::string(48, '\0'), u""},
      {std::string(48, ' '), u""},
      {"       Intel(R) Core(TM) i7-4770 CPU @ 3.40GHz", u"Intel(R) Core(TM) i7-4770 CPU @ 3.40GHz"},
      {std::string("AMD EPYC") + std::string(40, ' '), u"AMD EPYC"},
      {std::string("\t\r\x1F  Name\n\x01", 11), u"Name"},
      {"Intel\x01" "Core", u"unknown"},
      {std::string("Intel\0Core", 10), u"unknown"},
      {"Two\twords", u"unknown"},
      {"Inner  blanks and \x7F stay", u"Inner  blanks and \u007F stay"},
      {"Caf\xE9 \xAE", u"Caf\u00E9 \u00AE"},
      {std::string(48, 'x'), String(48, u'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.brand);
    EXPECT_EQ(MarketName(c.brand), c.want);
  }
}

TEST(CpuDecode, SerialNumberTakesEaxOfTheFirstAndEdxEcxOfTheSecondResult) {
  const TCPUIDRegs first{0x000306C3, 0x11111111, 0x22222222, 0x33333333};
  const TCPUIDRegs second{0x44444444, 0x55555555, 0x7FFAFBBF, 0xBFEBFBFF};
  EXPECT_EQ(CPUSerialNumberText(first, second), u"000306C3BFEBFBFF7FFAFBBF");
  EXPECT_EQ(CPUSerialNumberText({}, {}), String(24, u'0'));
}

TEST(CpuDecode, FeatureTable) {
  EXPECT_EQ(CPUFeatureNames.size(), 32u);
  EXPECT_EQ(CPUFeatureNames[cpuft_fpu], u"Floating Point Unit");
  EXPECT_EQ(CPUFeatureNames[cpuft_reserved1], u"reserved");
  EXPECT_EQ(CPUFeatureNames[cpuft_simd2], u"SSE2 (WNI) instructions");
  EXPECT_EQ(CPUFeatureNames[cpuft_3dnow], u"3DNow! instructions available");
  EXPECT_EQ(static_cast<int>(cpuft_3dnow), 31);
  EXPECT_TRUE(CPUHasFeature(0x80000001u, cpuft_fpu));
  EXPECT_TRUE(CPUHasFeature(0x80000001u, cpuft_3dnow));
  EXPECT_FALSE(CPUHasFeature(0x80000001u, cpuft_vme));
}

// A scripted processor: answers from a table (unknown leaves give zeros) and
// records the leaves executed.
class FakeProcessor {
 public:
  explicit FakeProcessor(std::map<uint32_t, TCPUIDRegs> leaves) : leaves_(std::move(leaves)) {}
  TCPUIDExecutor Exec() {
    return [this](uint32_t leaf) {
      executed.push_back(leaf);
      TCPUIDRegs r = leaves_.count(leaf) ? leaves_.at(leaf) : TCPUIDRegs{};
      r.EBX += static_cast<uint32_t>(executed.size());  // stamps each execution
      return r;
    };
  }
  std::vector<uint32_t> executed;

 private:
  std::map<uint32_t, TCPUIDRegs> leaves_;
};

static String QueryError(uint32_t leaf, uint32_t highestStd, uint32_t highestExt, bool supported = true) {
  FakeProcessor cpu({{0, {highestStd, 0, 0, 0}}, {0x80000000, {highestExt, 0, 0, 0}}});
  try {
    CPUIDQuery(leaf, 1, supported, cpu.Exec());
  } catch (const EKYNCpuIdError& e) {
    return e.Message();
  }
  return u"";
}

TEST(CpuQuery, LeafRefusalRule) {
  struct Case {
    uint32_t leaf, highestStd, highestExt;
    bool refused;
  };
  const Case cases[] = {
      {0x0D, 0x0D, 0, false},
      {0x0E, 0x0D, 0, true},
      {0x0E, 0x0D, 0x0E, false},
      {0x0E, 0x0D, 0x80000008, false},   // below the highest extended leaf as unsigned
      {0x80000002, 0x0D, 0, false},      // top bit set: never refused
      {0x80000009, 0x0D, 0x80000008, false},
      {0xFFFFFFFF, 0x0D, 0, false},
      {0x01, 0x80000000, 0, true},       // a negative highest standard leaf refuses leaf 1
      {0x01, 0x80000000, 0x80000004, false},
      {0x80000001, 0x80000000, 0x80000000, true},  // both negative: compared as signed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.leaf << " std " << c.highestStd << " ext " << c.highestExt);
    EXPECT_EQ(CPUIDLeafRefused(c.leaf, c.highestStd, c.highestExt), c.refused);
    EXPECT_EQ(QueryError(c.leaf, c.highestStd, c.highestExt),
              c.refused ? String(u"CPUID: execution level not supported") : String());
  }
}

TEST(CpuQuery, WithoutCpuidNothingIsExecuted) {
  FakeProcessor cpu({{0, {0x0D, 0, 0, 0}}});
  try {
    CPUIDQuery(1, 1, false, cpu.Exec());
    FAIL() << "no error";
  } catch (const EKYNError& e) {
    EXPECT_NE(dynamic_cast<const EKYNCpuIdError*>(&e), nullptr);
    EXPECT_EQ(e.Message(), u"Cannot acquire CPU information (CPUID not supported)");
  }
  EXPECT_TRUE(cpu.executed.empty());
}

TEST(CpuQuery, ExtendedRangeIsAskedOnlyBeyondTheStandardRange) {
  FakeProcessor cpu({{0, {0x0D, 0, 0, 0}}, {0x80000002, {0x65746E49, 0, 0, 0}}});
  // The extended range is absent (leaf 0x80000000 would answer 0), yet the
  // leaf is executed and its answer returned.
  EXPECT_EQ(CPUIDQuery(0x80000002, 1, true, cpu.Exec()).EAX, 0x65746E49u);
  EXPECT_EQ(cpu.executed, (std::vector<uint32_t>{0, 0x80000002}));
  cpu.executed.clear();
  CPUIDQuery(0x0D, 1, true, cpu.Exec());
  EXPECT_EQ(cpu.executed, (std::vector<uint32_t>{0, 0x0D}));
  cpu.executed.clear();
  EXPECT_THROW(CPUIDQuery(0x0E, 1, true, cpu.Exec()), EKYNCpuIdError);
  EXPECT_EQ(cpu.executed, (std::vector<uint32_t>{0, 0x80000000}));
}

TEST(CpuQuery, RepeatCountReturnsTheLastExecution) {
  FakeProcessor cpu({{0, {0x0D, 0, 0, 0}}, {1, {0x306C3, 0, 0, 0}}});
  const TCPUIDRegs r = CPUIDQuery(1, 3, true, cpu.Exec());
  EXPECT_EQ(cpu.executed, (std::vector<uint32_t>{0, 1, 1, 1}));
  EXPECT_EQ(r.EBX, 4u);  // stamped by the fourth execution
  EXPECT_EQ(r.EAX, 0x306C3u);
  for (int32_t repeat : {0, -5}) {
    cpu.executed.clear();
    CPUIDQuery(1, repeat, true, cpu.Exec());
    EXPECT_EQ(cpu.executed, (std::vector<uint32_t>{0, 1}));
  }
}

TEST(CpuSpeed, CountsPerMicrosecond) {
  EXPECT_DOUBLE_EQ(static_cast<double>(CPUSpeedFromCounts(0, 3000000000ull, 1000)), 3000.0);
  EXPECT_DOUBLE_EQ(static_cast<double>(CPUSpeedFromCounts(100, 100 + 200000000ull, 100)), 2000.0);
  EXPECT_NEAR(static_cast<double>(CPUSpeedFromCounts(0, 7000000, 3)), 7000000.0 / 3000.0, 1e-9);
  // The counter difference is taken modulo 2^64.
  EXPECT_DOUBLE_EQ(static_cast<double>(CPUSpeedFromCounts(~0ull - 999, 2000, 1)), 3.0);
  // A measuring time of 0 counts as 1 ms instead of dividing by zero.
  EXPECT_DOUBLE_EQ(static_cast<double>(CPUSpeedFromCounts(0, 3000000, 0)), 3000.0);
  EXPECT_DOUBLE_EQ(static_cast<double>(CPUSpeedFromCounts(5, 5, 0)), 0.0);
}

// A simulated machine: every tick read advances time by 10 microseconds; the
// counter runs at MHz increments per microsecond.
struct SimClock {
  uint64_t us;
  uint64_t mhz;
  uint64_t tickReads = 0;
  TCPUSpeedClocks Clocks() {
    return {[this] {
              ++tickReads;
              us += 10;
              return us / 1000;
            },
            [this] { return us * mhz; }};
  }
};

TEST(CpuSpeed, MeasuresAcrossThe32BitTickBoundary) {
  // Starting 16 ms before a 32-bit millisecond count would wrap.
  for (uint64_t startMs : {uint64_t{0}, uint64_t{123456}, uint64_t{0xFFFFFFF0}}) {
    SimClock sim{startMs * 1000 + 500, 3000};
    const float mhz = CPUSpeedMeasure(100, sim.Clocks());
    SCOPED_TRACE(startMs);
    // The interval starts at the first tick change, so it is short by up to
    // one tick: between 99 and 100 ms of counts over 100 ms.
    EXPECT_GE(mhz, 2970.0f);
    EXPECT_LE(mhz, 3000.0f);
    EXPECT_GE(sim.us, (startMs + 100) * 1000);
  }
}

TEST(CpuSpeed, ZeroMeasuringTimeEndsAndStaysFinite) {
  SimClock sim{7777, 2500};
  const float mhz = CPUSpeedMeasure(0, sim.Clocks());
  EXPECT_TRUE(std::isfinite(mhz));
  EXPECT_GE(mhz, 0.0f);
  EXPECT_LT(sim.tickReads, 1000u);
}

// Runs Body on a fresh thread that starts at nice value StartNice (the nice
// value belongs to the thread on Linux, so the test process is unaffected)
// and reports the nice values seen during and after the measurement.
struct NiceSeen {
  int start = 0, during = 99, after = 99;
  bool threw = false;
};
static NiceSeen MeasureOnThread(int StartNice, bool ClockThrows) {
  NiceSeen seen;
  std::thread t([&] {
    setpriority(PRIO_PROCESS, 0, StartNice);
    seen.start = getpriority(PRIO_PROCESS, 0);
    SimClock sim{0, 1000};
    TCPUSpeedClocks clocks = sim.Clocks();
    const auto tick = clocks.TickMs;
    clocks.TickMs = [&, tick] {
      seen.during = getpriority(PRIO_PROCESS, 0);
      if (ClockThrows) throw std::runtime_error("clock failed");
      return tick();
    };
    try {
      CPUSpeedMeasure(5, clocks);
    } catch (const std::runtime_error&) {
      seen.threw = true;
    }
    seen.after = getpriority(PRIO_PROCESS, 0);
  });
  t.join();
  return seen;
}

TEST(CpuSpeed, PriorityIsRaisedForTheMeasurementAndRestored) {
  for (bool throws : {false, true}) {
    SCOPED_TRACE(throws ? "clock throws" : "normal");
    const NiceSeen seen = MeasureOnThread(5, throws);
    ASSERT_EQ(seen.start, 5);
    EXPECT_EQ(seen.threw, throws);
    EXPECT_LE(seen.during, seen.start);
    if (geteuid() == 0) {
      EXPECT_EQ(seen.during, -20);
    }
    EXPECT_EQ(seen.after, seen.start);
  }
}
