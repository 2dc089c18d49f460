// URLDecode and URLEncode on arbitrary UTF-16 text.
#include <cstdint>
#include <cstdlib>

#include "fuzz_helpers.h"
#include "kyn/htmlsupport.h"

namespace {

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// One decoding pass, written out on its own as the reference.
kyn::String DecodeOnce(const kyn::String& s) {
  kyn::String r;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'%' && i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
      r += static_cast<char16_t>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
      i += 2;
    } else {
      r += s[i];
    }
  }
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const kyn::String s = in.rest16();
  const kyn::String d = kyn::URLDecode(s);
  kynfuzz::Check(d.size() <= s.size());
  kynfuzz::Check(d == DecodeOnce(DecodeOnce(s)));
  const kyn::String e = kyn::URLEncode(s);
  kynfuzz::Check(e.size() >= s.size() && e.size() <= 3 * s.size());
  // Encoding escapes "%", so the first decoding pass gives s back and the
  // second decodes what s itself holds.
  kynfuzz::Check(kyn::URLDecode(e) == DecodeOnce(s));
  kyn::ExtractHTTPPath(s);
  return 0;
}
