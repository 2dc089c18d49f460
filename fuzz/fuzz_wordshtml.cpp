// CountWordsHTML: bounded counts, and a text split right after a ">" counts
// the same in two pieces as in one.
#include <cstdint>
#include <cstdlib>

#include "fuzz_helpers.h"
#include "latin1.h"
#include "kyn/htmlsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const uint8_t flags = in.take<uint8_t>();
  const uint16_t cut = in.take<uint16_t>();
  const kyn::String text = kynfuzz::Latin1(in.rest());
  const bool skip = flags & 1;
  bool inside = flags & 2;
  const bool startInside = inside;
  const int32_t whole = kyn::CountWordsHTML(text, skip, inside);
  if (whole < 0 || static_cast<size_t>(whole) > text.size() / 2) abort();

  const size_t gt = text.find(u'>', text.empty() ? 0 : cut % text.size());
  if (gt != kyn::String::npos) {
    bool in2 = startInside;
    const kyn::StringView v(text);
    const int32_t a = kyn::CountWordsHTML(v.substr(0, gt + 1), skip, in2);
    const int32_t b = kyn::CountWordsHTML(v.substr(gt + 1), skip, in2);
    if (a + b != whole || in2 != inside) abort();
  }
  return 0;
}
