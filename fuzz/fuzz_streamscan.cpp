// ScanStreamFPNum and ScanStreamDecimal over arbitrary bytes. Where the bytes
// hold no TAB, LF or CR the stream scanner must agree with the text scanner,
// except right after an exponent mark (see below).
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
    // The one place where the two machines differ on purpose: after the
    // exponent mark or its sign, an other character (or the end) completes
    // the number for the text scanner but is an error for the stream scanner.
    auto upper = [&](int64_t i) { return i >= 0 ? static_cast<char16_t>(text[static_cast<size_t>(i)] & ~0x20) : u'\0'; };
    const int64_t end = pos - 1;  // 0-based index of the character that ended the text scan
    const bool afterMark = exp && end >= 1 &&
                           (upper(end - 1) == u'E' || ((text[static_cast<size_t>(end - 1)] == u'+' ||
                                                        text[static_cast<size_t>(end - 1)] == u'-') &&
                                                       upper(end - 2) == u'E'));
    if (!afterMark && !(t == v) && !(t == 0 && v == 0)) abort();
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
