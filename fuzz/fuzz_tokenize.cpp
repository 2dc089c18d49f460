// Tokenize, with and without an escape character: part counts, the parts
// joining back to the text, no delimiter left inside a split part.
#include <cstdlib>

#include "fuzz_helpers.h"
#include "kyn/stringl/strings.h"

namespace {

using kynfuzz::Check;
using kynfuzz::Text;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const uint8_t flags = in.take<uint8_t>();
  const bool wide = flags & 0x80;
  const size_t dlen = flags & 3;
  const kyn::String delim = Text(in.bytes(wide ? 2 * dlen : dlen), wide);
  const char16_t esc = static_cast<char16_t>(in.take<uint8_t>());
  const kyn::String s = Text(in.bytes(8192), wide);

  kyn::TOpenStringArray parts;
  const int32_t n = kyn::Tokenize(s, delim, parts);
  Check(n >= 1 && n <= 100 && static_cast<size_t>(n) == parts.size());
  kyn::String joined;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined += delim;
    joined += parts[i];
    const bool mayHoldDelim = i == 99;
    if (!delim.empty() && !mayHoldDelim) Check(parts[i].find(delim) == kyn::String::npos);
  }
  Check(joined == s);
  if (delim.empty()) Check(n == 1);

  kyn::TOpenStringArray eparts;
  const int32_t en = kyn::Tokenize(s, delim, esc, eparts);
  Check(en >= 1 && en <= n && static_cast<size_t>(en) == eparts.size());
  size_t total = 0;
  for (const auto& p : eparts) total += p.size();
  Check(total <= s.size());
  return 0;
}
