// The three scanners on arbitrary text from arbitrary start positions.
// Invariants: from a valid start (1..Length+1) ScanPos never moves before the
// start nor beyond Length+1; from any other start it stays where it was; the
// floating value is finite and within +-uc_MaxDouble.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "fuzz_helpers.h"
#include "kyn/kynbase/numscan.h"
#include "kyn/univconst.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const uint8_t mode = in.take<uint8_t>();
  const int32_t rawStart = in.take<int32_t>();
  // Low bit of mode: text as one byte per character (finds number syntax
  // quickly) or as raw UTF-16 code units.
  kyn::String text;
  if (mode & 1) {
    const std::string bytes = in.rest();
    text.assign(bytes.begin(), bytes.end());
    for (char16_t& c : text) c &= 0xFF;
  } else {
    text = in.rest16();
  }
  const int64_t len = static_cast<int64_t>(text.size());
  // Mostly starts near the text, sometimes any 32-bit value.
  const int32_t start = (mode & 2) ? rawStart : static_cast<int32_t>(rawStart % (len + 8)) - 3;
  const bool valid = start >= 1 && start <= len + 1;

  int32_t pos = start;
  switch ((mode >> 2) % 3) {
    case 0: {
      const double v = kyn::ScanFPNum(text, (mode & 32) != 0, (mode >> 6) % 5, pos);
      KYN_FUZZ_FAIL_IF(!std::isfinite(v) || std::fabs(v) > static_cast<double>(kyn::uc_MaxDouble));
      KYN_FUZZ_FAIL_IF(!valid && v != 0);
      break;
    }
    case 1: {
      const int32_t v = kyn::ScanDecimal(text, pos);
      KYN_FUZZ_FAIL_IF(!valid && v != 0);
      break;
    }
    default: {
      const uint32_t v = kyn::ScanHexNum(text, pos);
      KYN_FUZZ_FAIL_IF(!valid && v != 0);
      break;
    }
  }
  if (valid) {
    KYN_FUZZ_FAIL_IF(pos < start || pos > len + 1);
  } else {
    KYN_FUZZ_FAIL_IF(pos != start);
  }
  return 0;
}
