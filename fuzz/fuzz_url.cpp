// URLDecode and URLEncode on arbitrary UTF-16 text.
#include <cstdint>
#include <cstdlib>

#include "fuzz_helpers.h"
#include "kyn/htmlsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const kyn::String s = in.rest16();
  const kyn::String d = kyn::URLDecode(s);
  if (d.size() > s.size()) abort();
  const kyn::String e = kyn::URLEncode(s);
  if (e.size() < s.size() || e.size() > 3 * s.size()) abort();
  // Encoding escapes "%", so decoding gives the text back.
  if (kyn::URLDecode(e) != s) abort();
  kyn::ExtractHTTPPath(s);
  return 0;
}
