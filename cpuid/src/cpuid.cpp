// The processor operations: CPUID, the flags-register ID bit and the
// time-stamp counter on x86; the decoding lives in decode.cpp.
#include "kyn/cpuid/cpuid.h"

#include <unistd.h>

#include <chrono>
#include <climits>

#if defined(__x86_64__) || defined(__i386__)
#define KYN_CPUID_X86 1
#include <cpuid.h>
#include <x86intrin.h>
#else
#define KYN_CPUID_X86 0
#endif

namespace kyn {

namespace {

#if KYN_CPUID_X86

bool IDBitToggles() {
  unsigned long before = 0, after = 0;
#if defined(__x86_64__)
  // The pushes stay clear of the 128-byte red zone below the stack pointer,
  // where the compiler may keep locals. The original flags are put back.
  asm volatile(
      "sub $128, %%rsp\n\t"
      "pushfq\n\t"
      "pop %0\n\t"
      "mov %0, %1\n\t"
      "xor $0x200000, %1\n\t"
      "push %1\n\t"
      "popfq\n\t"
      "pushfq\n\t"
      "pop %1\n\t"
      "push %0\n\t"
      "popfq\n\t"
      "add $128, %%rsp"
      : "=&r"(before), "=&r"(after)
      :
      : "cc");
#else
  asm volatile(
      "pushfl\n\t"
      "pop %0\n\t"
      "mov %0, %1\n\t"
      "xor $0x200000, %1\n\t"
      "push %1\n\t"
      "popfl\n\t"
      "pushfl\n\t"
      "pop %1\n\t"
      "push %0\n\t"
      "popfl"
      : "=&r"(before), "=&r"(after)
      :
      : "cc");
#endif
  return ((before ^ after) & 0x200000UL) != 0;
}

TCPUIDRegs ExecCPUID(uint32_t Leaf) {
  unsigned a = 0, b = 0, c = 0, d = 0;
  __cpuid_count(Leaf, 0, a, b, c, d);
  return {a, b, c, d};
}

uint64_t ReadCounter() { return __rdtsc(); }

uint64_t MonotonicMs() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

#else

bool IDBitToggles() { return false; }
TCPUIDRegs ExecCPUID(uint32_t) { return {}; }

#endif

uint32_t SignatureWord() { return CPUIDQuery(cpuidLeafSignature).EAX; }
TCPUSignatureFields Fields() { return CPUSignatureFields(SignatureWord()); }

}  // namespace

bool CPU_IDSupport() { return IDBitToggles(); }

TCPUIDRegs CPUIDQuery(uint32_t Leaf, int32_t Repeat) {
  return CPUIDQuery(Leaf, Repeat, CPU_IDSupport(), ExecCPUID);
}

int32_t CPU_Count() {
  const long n = sysconf(_SC_NPROCESSORS_ONLN);
  if (n < 1) return 1;
  return n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n);
}

String CPU_VendorString() { return CPUVendorText(CPUIDQuery(cpuidLeafVendor)); }
uint32_t CPU_Signature() { return SignatureWord(); }
uint32_t CPU_FeatureSet() { return CPUIDQuery(cpuidLeafSignature).EDX; }
uint32_t CPU_ExtendedFeatureSet() { return CPUIDQuery(cpuidLeafExtFeatures).EDX; }
int32_t CPU_BrandID() { return static_cast<int32_t>(CPUIDQuery(cpuidLeafSignature).EBX & 0xFF); }

int32_t CPU_Type() { return Fields().Type; }
int32_t CPU_Family() { return Fields().Family; }
int32_t CPU_ExFamily() { return Fields().ExFamily; }
int32_t CPU_Model() { return Fields().Model; }
int32_t CPU_ExModel() { return Fields().ExModel; }
int32_t CPU_Stepping() { return Fields().Stepping; }
bool CPU_OverDrive() { return Fields().Type == 1; }

bool CPU_FDIVBugPresent() {
  // volatile keeps the compiler from folding the division at build time.
  volatile double x = 4195835.0;
  volatile double y = 3145727.0;
  const double r = x / y * y - x;
  return r != 0.0;
}

String CPU_SerialNumber() {
  const TCPUIDRegs first = CPUIDQuery(cpuidLeafSignature);
  const TCPUIDRegs second = CPUIDQuery(cpuidLeafSignature);
  return CPUSerialNumberText(first, second);
}

String CPU_MarketName() {
  const TCPUIDRegs b1 = CPUIDQuery(cpuidLeafBrand1);
  const TCPUIDRegs b2 = CPUIDQuery(cpuidLeafBrand2);
  const TCPUIDRegs b3 = CPUIDQuery(cpuidLeafBrand3);
  return CPUMarketNameText(b1, b2, b3);
}

float CPU_Speed(uint32_t MeasureMs) {
#if KYN_CPUID_X86
  return CPUSpeedMeasure(MeasureMs, {MonotonicMs, ReadCounter});
#else
  (void)MeasureMs;
  return 0.0f;
#endif
}

}  // namespace kyn
