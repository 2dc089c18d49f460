// ScanStreamFPNum and ScanStreamDecimal over arbitrary bytes. Where the bytes
// hold no TAB, LF or CR the stream scanner must agree with the text scanner.
// Input: one byte of flags (exponent switch, separator mode), then the stream.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_helpers.h"
#include "latin1.h"
#include "kyn/kynbase.h"
#include "kyn/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const uint8_t flags = in.take<uint8_t>();
  const bool exp = flags & 1;
  const int32_t mode = (flags >> 1) % 5;
  const std::string bytes = in.rest();

  kyn::TStringStream s{std::string_view(bytes)};
  const double v = kyn::ScanStreamFPNum(s, exp, mode);
  if (!std::isfinite(v) || std::fabs(v) > static_cast<double>(kyn::uc_MaxDouble)) abort();
  if (!bytes.empty() && s.Position() < 1) abort();

  if (bytes.find_first_of("\t\r\n") == std::string::npos) {
    const kyn::String text = kynfuzz::Latin1(bytes);
    int32_t pos = 1;
    const double t = kyn::ScanFPNum(text, exp, mode, pos);
    if (!(t == v) && !(t == 0 && v == 0)) abort();
  }

  // Successive numbers: every call consumes at least one byte.
  s.SetPosition(0);
  for (size_t calls = 0; s.Position() < s.Size(); ++calls) {
    const int64_t before = s.Position();
    if (calls % 2) kyn::ScanStreamDecimal(s);
    else kyn::ScanStreamFPNum(s, exp, mode);
    if (s.Position() <= before) abort();
  }
  return 0;
}
