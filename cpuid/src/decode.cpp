// Decoding rules of the processor identification data and the speed
// measurement over given clocks.
#include "kyn/cpuid/decode.h"

#include <sys/resource.h>

#include <cerrno>

#include "kyn/kynbase/errors.h"
#include "kyn/kynbase/numscan.h"

namespace kyn {

String CPUWordToText(uint32_t Word) {
  String s(4, u'\0');
  for (size_t i = 0; i < 4; ++i) s[i] = static_cast<char16_t>((Word >> (8 * i)) & 0xFF);
  return s;
}

String CPUVendorText(const TCPUIDRegs& Leaf0) {
  return CPUWordToText(Leaf0.EBX) + CPUWordToText(Leaf0.EDX) + CPUWordToText(Leaf0.ECX);
}

static String RegsToText(const TCPUIDRegs& R) {
  return CPUWordToText(R.EAX) + CPUWordToText(R.EBX) + CPUWordToText(R.ECX) + CPUWordToText(R.EDX);
}

String CPUMarketNameText(const TCPUIDRegs& Brand1, const TCPUIDRegs& Brand2, const TCPUIDRegs& Brand3) {
  const String all = RegsToText(Brand1) + RegsToText(Brand2) + RegsToText(Brand3);
  size_t first = 0, last = all.size();
  while (first < last && all[first] <= 32) ++first;
  while (last > first && all[last - 1] <= 32) --last;
  String name = all.substr(first, last - first);
  for (char16_t c : name)
    if (c < 32) return u"unknown";
  return name;
}

String CPUSerialNumberText(const TCPUIDRegs& First, const TCPUIDRegs& Second) {
  return IntToHexStr(First.EAX, 8) + IntToHexStr(Second.EDX, 8) + IntToHexStr(Second.ECX, 8);
}

TCPUIDRegs CPUIDQuery(uint32_t Leaf, int32_t Repeat, bool Supported, const TCPUIDExecutor& Exec) {
  if (!Supported) throw EKYNCpuIdError(String(cpuidErrNotSupported));
  const uint32_t highestStd = Exec(cpuidLeafVendor).EAX;
  // The highest extended leaf is asked for only when the standard range does
  // not cover the leaf.
  if (CPUIDBeyondStandard(Leaf, highestStd) &&
      CPUIDLeafRefused(Leaf, highestStd, Exec(cpuidLeafExtMax).EAX))
    throw EKYNCpuIdError(String(cpuidErrLevel));
  TCPUIDRegs r = Exec(Leaf);
  for (int32_t i = 1; i < Repeat; ++i) r = Exec(Leaf);
  return r;
}

// ------------------------------------------------------------ clock speed

long double CPUSpeedFromCounts(uint64_t C0, uint64_t C1, uint32_t MeasureMs) {
  const long double ms = MeasureMs == 0 ? 1.0L : static_cast<long double>(MeasureMs);
  const long double counts = static_cast<long double>(C1 - C0);
  return counts / (1000000.0L / (1000.0L / ms));
}

namespace {

// Raises the calling thread to the lowest nice value it is allowed to take
// and restores the previous value when destroyed. On Linux the nice value
// belongs to the thread, so it stands for both the process priority class
// and the thread priority of systems that keep them apart. A real-time
// scheduling class is not used: a busy wait under it could starve the
// machine.
class TPriorityRaise {
 public:
  TPriorityRaise() {
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, 0);
    if (current == -1 && errno != 0) return;
    FOld = current;
    for (int nice = -20; nice < current; ++nice) {
      if (setpriority(PRIO_PROCESS, 0, nice) == 0) {
        FRaised = true;
        break;
      }
    }
  }
  ~TPriorityRaise() {
    if (FRaised) setpriority(PRIO_PROCESS, 0, FOld);
  }
  TPriorityRaise(const TPriorityRaise&) = delete;
  TPriorityRaise& operator=(const TPriorityRaise&) = delete;

 private:
  int FOld = 0;
  bool FRaised = false;
};

}  // namespace

float CPUSpeedMeasure(uint32_t MeasureMs, const TCPUSpeedClocks& Clocks) {
  if (MeasureMs == 0) MeasureMs = 1;
  uint64_t c0 = 0, c1 = 0;
  {
    TPriorityRaise raise;
    const uint64_t t0 = Clocks.TickMs();
    while (Clocks.TickMs() == t0) {
    }
    c0 = Clocks.Counter();
    // 64-bit ticks: t0 + MeasureMs cannot wrap.
    const uint64_t end = t0 + MeasureMs;
    while (Clocks.TickMs() < end) {
    }
    c1 = Clocks.Counter();
  }
  return static_cast<float>(CPUSpeedFromCounts(c0, c1, MeasureMs));
}

}  // namespace kyn
