// THtmlProducer.Convert on arbitrary templates with a callback that returns
// texts taken from the input (tag-like ones included, which must not be
// scanned again). Input: a byte that splits the rest into replacement pool
// and template.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_helpers.h"
#include "latin1.h"
#include "kyn/htmlsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const size_t poolLen = in.take<uint8_t>() % 64;
  const kyn::String pool = kynfuzz::Latin1(in.bytes(poolLen));
  const kyn::String tmpl = kynfuzz::Latin1(in.rest());

  kyn::THtmlProducer p(nullptr);
  p.SetTemplate(tmpl);
  // Without a callback, and with one that keeps each tag, nothing changes.
  if (p.Convert() != tmpl) abort();
  size_t tagChars = 0, tags = 0;
  p.SetOnHTMLTag([&](kyn::TObject*, const kyn::String& Name, const kyn::String& Params, kyn::String& Repl) {
    if (Repl.size() < 2 || Repl[0] != u'<' || Repl[1] != u'#') abort();
    if (Name.find(u' ') != kyn::String::npos) abort();
    for (char16_t c : Name)
      if (c >= u'A' && c <= u'Z') abort();
    if (!Params.empty() && (Params.front() == u' ' || Params.back() == u' ')) abort();
    if (Name.size() + Params.size() + 2 > Repl.size()) abort();
    tagChars += Repl.size();
    ++tags;
  });
  if (p.Convert() != tmpl || p.Template() != tmpl) abort();

  // Random replacements: the result is the template with each tag swapped.
  size_t replChars = 0, k = 0;
  p.SetOnHTMLTag([&](kyn::TObject*, const kyn::String&, const kyn::String&, kyn::String& Repl) {
    const size_t from = pool.empty() ? 0 : (k * 7) % pool.size();
    const size_t len = pool.empty() ? 0 : (k * 13) % (pool.size() - from + 1);
    Repl = pool.substr(from, len) + u"<#x>";
    replChars += Repl.size();
    ++k;
  });
  const kyn::String out = p.Convert();
  if (k != tags || out.size() != tmpl.size() - tagChars + replChars) abort();
  if (out != p.ConvertedHTML()) abort();
  return 0;
}
