// ReadLnString, ProcessHexChars, ExpandDiphthongs, ReplaceStringInString,
// NumberedPos and their neighbours on arbitrary text: no crash, no hang, and
// the invariants each function promises.
#include <cstdlib>

#include "fuzz_helpers.h"
#include "kyn/stringl.h"

namespace {

using kynfuzz::Check;
using kynfuzz::Text;

kyn::String Lower(kyn::StringView s) {
  kyn::String r(s);
  for (char16_t& c : r)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return r;
}

void ReadLines(const kyn::String& s, int32_t mode) {
  int32_t pos = 1;
  bool end = false;
  size_t chars = 0, calls = 0;
  while (!end) {
    const int32_t before = pos;
    const kyn::String line = kyn::ReadLnString(s, pos, end, mode);
    Check(++calls <= s.size() + 1);
    Check(pos > before || (end && before > static_cast<int32_t>(s.size())));
    for (char16_t c : line) Check(c >= 32);
    chars += line.size();
  }
  Check(chars <= s.size() && pos == static_cast<int32_t>(s.size()) + 1);
}

void Replace(const kyn::String& s, const kyn::String& find, const kyn::String& repl, bool ic) {
  const kyn::String r = kyn::ReplaceStringInString(s, find, repl, ic);
  if (find.empty()) return Check(r == s);
  const int64_t count = kyn::CountStringInString(find, s, !ic);
  const int64_t want = static_cast<int64_t>(s.size()) + count * (static_cast<int64_t>(repl.size()) -
                                                                 static_cast<int64_t>(find.size()));
  Check(static_cast<int64_t>(r.size()) == want);
  if (!ic) Check(kyn::ReplaceStringInString(s, find, find, false) == s);
}

void Positions(const kyn::String& s, const kyn::String& sub, int32_t start, int32_t n, bool ic) {
  const int32_t p = kyn::NumberedPos(sub, s, start, n, ic);
  if (p == 0) return;
  Check(n >= 1 && !sub.empty() && p >= start && p >= 1);
  Check(static_cast<size_t>(p - 1) + sub.size() <= s.size());
  const kyn::StringView at = kyn::StringView(s).substr(static_cast<size_t>(p - 1), sub.size());
  Check(ic ? Lower(at) == Lower(sub) : at == sub);
  if (n == 1 && !ic) Check(s.find(sub, static_cast<size_t>(start < 1 ? 0 : start - 1)) == static_cast<size_t>(p - 1));
  if (!ic) Check(kyn::PosLast(sub, s) >= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const uint8_t flags = in.take<uint8_t>();
  const bool wide = flags & 0x80;
  const bool ic = flags & 0x40;
  const int32_t mode = flags & 7;
  const int32_t start = in.take<int8_t>();
  const int32_t n = in.take<int8_t>();
  const size_t unit = wide ? 2 : 1;
  const kyn::String sub = Text(in.bytes(unit * (in.take<uint8_t>() % 6)), wide);
  const kyn::String repl = Text(in.bytes(unit * (in.take<uint8_t>() % 6)), wide);
  const kyn::String s = Text(in.bytes(8192), wide);

  ReadLines(s, mode);

  const kyn::String hex = kyn::ProcessHexChars(s);
  Check(hex.size() <= s.size());
  if (s.find(u'\\') == kyn::String::npos) Check(hex == s);

  const kyn::String ex = kyn::ExpandDiphthongs(s);
  Check(ex.size() >= s.size() && ex.size() <= 2 * s.size());
  Check(ex.find_first_of(u"\u00E4\u00F6\u00FC\u00DF\u00C4\u00D6\u00DC\u00B5") == kyn::String::npos);

  Replace(s, sub, repl, ic);
  Positions(s, sub, start, n, ic);

  // Neighbours that share the same inputs.
  kyn::String bytes(s);
  for (char16_t& c : bytes) c &= 0xFF;
  Check(kyn::UUDecodeStr(kyn::UUEncodeStr(bytes)) == bytes);
  (void)kyn::UUDecodeStr(s);
  Check(kyn::DeScramble(kyn::Scramble(s)) == s);
  if (sub.find(u'/') == kyn::String::npos) {
    // Without class tokens the list holds exactly its own characters.
    bool any = false, other = false;
    for (char16_t c : s) {
      const bool member = c < 256 && sub.find(c) != kyn::String::npos;
      any = any || member;
      other = other || !member;
    }
    Check(kyn::StringContains(s, sub) == any && kyn::StringContainsOtherThan(s, sub) == other);
  }
  int32_t line = 0, col = 0;
  kyn::TextLineCoords(s, start * 64 + n, line, col);
  (void)kyn::ExtractParam(s, n, sub.empty() ? u',' : sub[0], u'"', repl);
  (void)kyn::ExtractSubString(s, n, sub);
  int32_t b = 0, e = 0;
  (void)kyn::ExtractWordFromString(s, start * 64 + n, b, e);
  Check(b <= e && (b == 0 || e <= static_cast<int32_t>(s.size())));

  const kyn::TStrArray tags{sub, u"a", u""};
  int32_t pos = 1, tagStart = 0, calls = 0;
  kyn::String attr, enc;
  while (pos <= static_cast<int32_t>(s.size())) {
    const int32_t before = pos;
    Check(kyn::ReadNextTagInString(s, pos, tags, attr, enc) >= 0 && pos > before && ++calls <= 100000);
  }
  pos = 1;
  bool endTag = false;
  while (kyn::DetectNextTagInString(s, pos, tagStart, tags, attr, endTag) >= 0) Check(tagStart >= 1 && pos > tagStart);
  return 0;
}
