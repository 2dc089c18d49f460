// ScanForXMLAttrib and the pair scanner on arbitrary attribute texts.
// Input: one length byte, that many bytes of attribute name, then the
// attribute text (one byte per character).
#include <cstdint>
#include <cstdlib>

#include "fuzz_helpers.h"
#include "latin1.h"
#include "kyn/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const size_t nameLen = in.take<uint8_t>() % 16;
  const kyn::String name = kynfuzz::Latin1(in.bytes(nameLen));
  const kyn::String text = kynfuzz::Latin1(in.rest());

  // A value is a run of the text, so it stands in it.
  const kyn::String value = kyn::ScanForXMLAttrib(text, name);
  if (!value.empty() && text.find(value) == kyn::String::npos) abort();

  // The pair scanner always advances and ends with "nothing left".
  int32_t pos = 1;
  kyn::String n, v;
  size_t scans = 0;
  for (;;) {
    const int32_t before = pos;
    const int32_t code = kyn::ScanXMLAttribPair(text, pos, n, v);
    if (code == kyn::xacNothingLeft) break;
    if (code < 0 || code > 3 || pos <= before || pos > static_cast<int32_t>(text.size()) + 1) abort();
    if (!n.empty() && (n.front() == u' ' || n.back() == u' ')) abort();
    if (++scans > text.size()) abort();
  }
  return 0;
}
