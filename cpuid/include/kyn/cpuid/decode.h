// Processor identification data and the rules that turn it into results.
//
// Nothing here executes CPUID or reads the time-stamp counter: every function
// works on register words, or on the CPUID executor and clocks it is given.
// kyn/cpuid/cpuid.h applies these rules to the running processor.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "kyn/platform/string.h"

namespace kyn {

// The four words of one CPUID execution for a leaf (the value placed in EAX).
struct TCPUIDRegs {
  uint32_t EAX = 0;
  uint32_t EBX = 0;
  uint32_t ECX = 0;
  uint32_t EDX = 0;
};

// Leaves the module asks for.
inline constexpr uint32_t cpuidLeafVendor = 0;            // highest standard leaf, vendor
inline constexpr uint32_t cpuidLeafSignature = 1;         // signature, brand index, features
inline constexpr uint32_t cpuidLeafExtMax = 0x80000000;   // highest extended leaf
inline constexpr uint32_t cpuidLeafExtFeatures = 0x80000001;
inline constexpr uint32_t cpuidLeafBrand1 = 0x80000002;   // marketing name, 16 characters
inline constexpr uint32_t cpuidLeafBrand2 = 0x80000003;   // each in these three leaves
inline constexpr uint32_t cpuidLeafBrand3 = 0x80000004;

// Value i names bit i of a 32-bit feature word.
enum TCPUFeatures : uint8_t {
  cpuft_fpu, cpuft_vme, cpuft_de, cpuft_pse, cpuft_tsc, cpuft_msr, cpuft_pae, cpuft_mce,
  cpuft_cx8, cpuft_apic, cpuft_sepamd, cpuft_sep, cpuft_mtrr, cpuft_pge, cpuft_mca, cpuft_cmov,
  cpuft_pat, cpuft_pse36, cpuft_serial, cpuft_clflush, cpuft_reserved1, cpuft_dts, cpuft_acpi,
  cpuft_mmx, cpuft_xsr, cpuft_simd, cpuft_simd2, cpuft_ss, cpuft_reserved2, cpuft_tm,
  cpuft_ia64, cpuft_3dnow
};

// Descriptions of the feature bits, indexed by TCPUFeatures. Constant data.
inline constexpr std::array<StringView, 32> CPUFeatureNames = {
    u"Floating Point Unit",
    u"V86 Mode Extensions",
    u"Debug Extensions - I/O breakpoints supported",
    u"Page Size Extensions (4 MB pages supported)",
    u"Time Stamp Counter and RDTSC instruction are available",
    u"Model Specific Registers",
    u"Physical Address Extensions (36-bit address, 2MB pages)",
    u"Machine Check Exception supported",
    u"Compare Exchange Eight Byte instruction available",
    u"Local APIC present (multiprocessor operation support)",
    u"Fast system calls (AMD only)",
    u"Fast system calls",
    u"Memory Type Range Registers",
    u"Page Global Enable",
    u"Machine Check Architecture",
    u"Conditional MOVe instructions",
    u"Page Attribute Table",
    u"36 bit Page Size Extensions",
    u"Processor Serial Number",
    u"Cache Flush",
    u"reserved",
    u"Debug Trace Store",
    u"ACPI support",
    u"MultiMedia Extensions",
    u"FXSAVE and FXRSTOR instructions",
    u"SSE instructions",
    u"SSE2 (WNI) instructions",
    u"self snoop",
    u"reserved",
    u"Automatic clock control",
    u"IA64 instructions",
    u"3DNow! instructions available",
};

// True when bit Feature of the feature word Word is set.
constexpr bool CPUHasFeature(uint32_t Word, TCPUFeatures Feature) {
  return (Word >> static_cast<unsigned>(Feature)) & 1u;
}

// The error texts of the CPUID query.
inline constexpr StringView cpuidErrNotSupported = u"Cannot acquire CPU information (CPUID not supported)";
inline constexpr StringView cpuidErrLevel = u"CPUID: execution level not supported";

// Four characters, one per byte of Word, lowest byte first; each byte value
// is the character code, so a zero byte gives U+0000.
String CPUWordToText(uint32_t Word);

// The fields of a leaf-1 signature (EAX). A signature of 0 gives all 0.
struct TCPUSignatureFields {
  int32_t Stepping = 0;  // bits 0-3
  int32_t Model = 0;     // bits 4-7
  int32_t Family = 0;    // bits 8-11
  int32_t Type = 0;      // bits 12-13; 1 marks an OverDrive processor
  int32_t ExModel = 0;   // bits 16-19
  int32_t ExFamily = 0;  // bits 20-27
};
constexpr TCPUSignatureFields CPUSignatureFields(uint32_t Signature) {
  TCPUSignatureFields f;
  f.Stepping = static_cast<int32_t>(Signature & 0xF);
  f.Model = static_cast<int32_t>((Signature >> 4) & 0xF);
  f.Family = static_cast<int32_t>((Signature >> 8) & 0xF);
  f.Type = static_cast<int32_t>((Signature >> 12) & 0x3);
  f.ExModel = static_cast<int32_t>((Signature >> 16) & 0xF);
  f.ExFamily = static_cast<int32_t>((Signature >> 20) & 0xFF);
  return f;
}

// The 12-character vendor text of leaf 0: EBX, EDX, ECX in that order.
String CPUVendorText(const TCPUIDRegs& Leaf0);

// The marketing name from the three brand leaves (EAX, EBX, ECX, EDX of each,
// 48 characters): characters with codes up to 32 are removed at both ends;
// if a character below 32 remains, the result is "unknown". A name of zero
// bytes only thus gives "".
String CPUMarketNameText(const TCPUIDRegs& Brand1, const TCPUIDRegs& Brand2, const TCPUIDRegs& Brand3);

// The 24-digit serial-number text: EAX of the first leaf-1 result, then EDX
// and ECX of the second, 8 upper-case hexadecimal digits each.
String CPUSerialNumberText(const TCPUIDRegs& First, const TCPUIDRegs& Second);

// The leaf refusal rule. HighestStd is EAX of leaf 0, HighestExt EAX of leaf
// 0x80000000. A leaf is refused when HighestStd < Leaf as signed 32-bit
// numbers and Leaf > HighestExt as unsigned ones. So a leaf with the top bit
// set is never refused (as long as HighestStd has its top bit clear, as on
// every processor), and a standard leaf above the highest standard leaf only
// when it also exceeds the highest extended leaf.
constexpr bool CPUIDBeyondStandard(uint32_t Leaf, uint32_t HighestStd) {
  return static_cast<int32_t>(HighestStd) < static_cast<int32_t>(Leaf);
}
constexpr bool CPUIDLeafRefused(uint32_t Leaf, uint32_t HighestStd, uint32_t HighestExt) {
  return CPUIDBeyondStandard(Leaf, HighestStd) && Leaf > HighestExt;
}

// Executes CPUID for a leaf (sub-leaf 0) and returns its four words.
using TCPUIDExecutor = std::function<TCPUIDRegs(uint32_t Leaf)>;

// The CPUID query on a given executor. Raises EKYNCpuIdError with
// cpuidErrNotSupported when Supported is false, with cpuidErrLevel when the
// leaf is refused (leaf 0x80000000 is executed only when the leaf lies beyond
// the highest standard leaf). Otherwise executes the leaf Repeat times and
// returns the words of the last execution; a Repeat below 1 executes it once.
TCPUIDRegs CPUIDQuery(uint32_t Leaf, int32_t Repeat, bool Supported, const TCPUIDExecutor& Exec);

// --------------------------------------------------------- clock speed

// Counter increments per microsecond: (C1 - C0) / (1000000 / (1000 / MeasureMs))
// in extended precision, with C1 - C0 taken modulo 2^64. A MeasureMs of 0 is
// taken as 1 ms (it would otherwise divide by zero).
long double CPUSpeedFromCounts(uint64_t C0, uint64_t C1, uint32_t MeasureMs);

// The clocks of a speed measurement: a millisecond tick that never wraps and
// the processor's time-stamp counter.
struct TCPUSpeedClocks {
  std::function<uint64_t()> TickMs;
  std::function<uint64_t()> Counter;
};

// Measures the counter rate in MHz against TickMs over MeasureMs milliseconds
// (0 is taken as 1): waits for the tick to change from t0, reads the counter,
// waits while the tick is below t0 + MeasureMs, reads the counter again and
// applies CPUSpeedFromCounts. The calling thread runs at the highest
// scheduling priority it may take for the duration (on Linux the lowest nice
// value allowed; where none lower is allowed it keeps its own) and gets its
// previous priority back before the function returns or throws.
float CPUSpeedMeasure(uint32_t MeasureMs, const TCPUSpeedClocks& Clocks);

}  // namespace kyn
