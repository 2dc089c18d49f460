// ReadNextTagInStream against a direct transcription of its rules that
// searches the whole enclosed text again after every ">".
// Input: one byte for the list size (1..4), then per entry a length byte
// (0..7) and the entry's bytes, then the stream.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_helpers.h"
#include "latin1.h"
#include "kyn/streams.h"
#include "kyn/stringl.h"

namespace {

kyn::String Fold(kyn::String s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return s;
}

int32_t Lookup(const kyn::String& name, const kyn::TStrArray& list) {
  const kyn::String f = Fold(name);
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == f) return static_cast<int32_t>(i);
  return static_cast<int32_t>(list.size()) - 1;
}

struct Ref {
  const std::string& bytes;
  size_t pos = 0;
  bool Read(char16_t& c) {
    if (pos >= bytes.size()) return false;
    c = static_cast<unsigned char>(bytes[pos++]);
    return true;
  }
};

int32_t ReferenceRead(Ref& r, const kyn::TStrArray& list, kyn::String& attrs, kyn::String& enclosed) {
  attrs.clear();
  enclosed.clear();
  kyn::String tag;
  for (;;) {
    char16_t c = 0;
    bool ok;
    do ok = r.Read(c);
    while (ok && c != u'<');
    tag.clear();
    while (ok && c != u'>') {
      ok = r.Read(c);
      if (ok) tag += c;
    }
    if (tag.empty() || tag[0] != u'!') break;
  }
  const size_t blank = tag.find(u' ');
  if (tag.find(u"/>") != kyn::String::npos) {
    if (blank == kyn::String::npos) return Lookup(tag.substr(0, tag.size() - 2), list);
    attrs = kyn::StripLTBlanks(tag.substr(blank + 1, tag.size() - 2 - (blank + 1)));
    return Lookup(tag.substr(0, blank), list);
  }
  if (blank != kyn::String::npos) {
    attrs = kyn::StripLTBlanks(tag.substr(blank + 1, tag.size() - 1 - (blank + 1)));
    tag = tag.substr(0, blank) + tag.back();
  }
  if (!tag.empty()) tag.pop_back();
  const kyn::String name = Fold(tag);
  const int32_t result = Lookup(name, list);
  if (!name.empty() && name[0] != u'/') {
    const kyn::String endTag = u"</" + name + u">";
    char16_t c;
    while (r.Read(c)) {
      enclosed += c;
      if (c == u'>') {
        const size_t q = Fold(enclosed).find(endTag);
        if (q != kyn::String::npos) {
          enclosed.resize(q);
          break;
        }
      }
    }
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const size_t n = 1 + in.take<uint8_t>() % 4;
  kyn::TStrArray list;
  for (size_t i = 0; i < n; ++i) {
    list.push_back(kynfuzz::Latin1(in.bytes(in.take<uint8_t>() % 8)));
  }
  const std::string bytes = in.rest();
  kyn::TStringStream stream{std::string_view(bytes)};
  Ref ref{bytes};
  // Each call consumes at least one byte until the end; one more call there.
  for (size_t calls = 0; calls <= bytes.size() + 1; ++calls) {
    const bool atEnd = ref.pos >= bytes.size();
    kyn::String attrs, enclosed, refAttrs, refEnclosed;
    const int32_t got = kyn::ReadNextTagInStream(stream, list, attrs, enclosed);
    const int32_t want = ReferenceRead(ref, list, refAttrs, refEnclosed);
    if (got != want || attrs != refAttrs || enclosed != refEnclosed) abort();
    if (got < 0 || got >= static_cast<int32_t>(list.size())) abort();
    if (stream.Position() != static_cast<int64_t>(ref.pos)) abort();
    if (atEnd) break;
  }
  return 0;
}
