// Register words through the decoding rules: the market-name rule, the
// serial-number layout, the signature fields and the leaf refusal rule of the
// query must hold for any values.
#include <cstdint>
#include <vector>

#include "fuzz_helpers.h"
#include "kyn/cpuid.h"
#include "kyn/kynbase/errors.h"

namespace {

kyn::TCPUIDRegs TakeRegs(kynfuzz::Input& in) {
  kyn::TCPUIDRegs r;
  r.EAX = in.take<uint32_t>();
  r.EBX = in.take<uint32_t>();
  r.ECX = in.take<uint32_t>();
  r.EDX = in.take<uint32_t>();
  return r;
}

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool IsHexDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const kyn::TCPUIDRegs b1 = TakeRegs(in), b2 = TakeRegs(in), b3 = TakeRegs(in);
  const kyn::String name = kyn::CPUMarketNameText(b1, b2, b3);
  if (name != u"unknown") {
    Check(name.size() <= 48);
    if (!name.empty()) Check(name.front() > 32 && name.back() > 32);
    for (char16_t c : name) Check(c >= 32 && c <= 255);
  }

  const kyn::TCPUIDRegs s1 = TakeRegs(in), s2 = TakeRegs(in);
  const kyn::String serial = kyn::CPUSerialNumberText(s1, s2);
  Check(serial.size() == 24);
  for (char16_t c : serial) Check(IsHexDigit(c));
  Check(serial.substr(0, 8) == kyn::IntToHexStr(s1.EAX, 8));

  const uint32_t sig = in.take<uint32_t>();
  const kyn::TCPUSignatureFields f = kyn::CPUSignatureFields(sig);
  const uint32_t rebuilt = static_cast<uint32_t>(f.Stepping) | static_cast<uint32_t>(f.Model) << 4 |
                           static_cast<uint32_t>(f.Family) << 8 | static_cast<uint32_t>(f.Type) << 12 |
                           static_cast<uint32_t>(f.ExModel) << 16 | static_cast<uint32_t>(f.ExFamily) << 20;
  Check(rebuilt == (sig & 0x0FFF3FFF));

  // The query on a scripted processor agrees with the refusal rule.
  const uint32_t leaf = in.take<uint32_t>(), highestStd = in.take<uint32_t>(), highestExt = in.take<uint32_t>();
  const int32_t repeat = in.take<int8_t>();
  std::vector<uint32_t> executed;
  const kyn::TCPUIDExecutor exec = [&](uint32_t l) {
    executed.push_back(l);
    kyn::TCPUIDRegs r;
    r.EAX = l == 0 ? highestStd : l == 0x80000000 ? highestExt : l;
    return r;
  };
  const bool refused = kyn::CPUIDLeafRefused(leaf, highestStd, highestExt);
  // A leaf with the top bit set is refused only after a highest standard
  // leaf that is itself negative as a signed number.
  if ((leaf & 0x80000000u) && !(highestStd & 0x80000000u)) Check(!refused);
  try {
    const kyn::TCPUIDRegs r = kyn::CPUIDQuery(leaf, repeat, true, exec);
    Check(!refused);
    Check(executed.back() == leaf);
    (void)r;
  } catch (const kyn::EKYNCpuIdError&) {
    Check(refused);
    Check(executed.back() == 0x80000000u);
  }
  return 0;
}
