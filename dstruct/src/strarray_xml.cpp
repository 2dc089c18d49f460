// TStringArray: the XML element "strarray" (layout in strarray.h).
#include <cstring>
#include <string>
#include <vector>

#include "kyn/dstruct/strarray.h"
#include "kyn/stringl/strings.h"
#include "strarray_impl.h"

namespace kyn {

namespace {

constexpr char16_t kSignature[] = u"Quarnelix";

String Dec(int64_t v) { return S(std::to_string(v)); }

// Cell bytes (or identifier characters) as element text.
String Escape(StringView s) {
  String out;
  out.reserve(s.size());
  for (char16_t c : s) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'"': out += u"&quot;"; break;
      default:
        if (c < 32) out += u"&#" + Dec(c) + u";";
        else out.push_back(c);
    }
  }
  return out;
}

// Decimal or hexadecimal (x prefix) code of a character reference, -1 if bad.
int64_t RefCode(StringView t) {
  bool hex = !t.empty() && (t[0] == u'x' || t[0] == u'X');
  if (hex) t.remove_prefix(1);
  if (t.empty() || t.size() > 6) return -1;
  int64_t v = 0;
  for (char16_t c : t) {
    int d;
    if (c >= u'0' && c <= u'9') d = c - u'0';
    else if (hex && c >= u'a' && c <= u'f') d = c - u'a' + 10;
    else if (hex && c >= u'A' && c <= u'F') d = c - u'A' + 10;
    else return -1;
    v = v * (hex ? 16 : 10) + d;
  }
  return v <= 0xFFFF ? v : -1;
}

String Unescape(StringView s) {
  String out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'&') {
      const size_t semi = s.find(u';', i);
      if (semi != StringView::npos && semi - i <= 8) {
        const StringView name = s.substr(i + 1, semi - i - 1);
        int64_t code = -1;
        if (name == u"amp") code = u'&';
        else if (name == u"lt") code = u'<';
        else if (name == u"gt") code = u'>';
        else if (name == u"quot") code = u'"';
        else if (name == u"apos") code = u'\'';
        else if (!name.empty() && name[0] == u'#') code = RefCode(name.substr(1));
        if (code >= 0) {
          out.push_back(static_cast<char16_t>(code));
          i = semi;
          continue;
        }
      }
    }
    out.push_back(s[i]);
  }
  return out;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

// One element on one line: its name, attributes and text content.
struct Element {
  String name;  // lower-cased (A-Z)
  std::vector<std::pair<String, String>> attrs;  // names lower-cased, values unescaped
  String content;                                // unescaped

  const String* Attr(StringView n) const {
    for (const auto& a : attrs)
      if (a.first == n) return &a.second;
    return nullptr;
  }
  // A non-negative decimal attribute, -1 when absent or malformed.
  int64_t Num(StringView n) const {
    const String* v = Attr(n);
    if (!v) return -1;
    const String t = StripLTBlanks(*v);
    if (t.empty() || t.size() > 10) return -1;
    int64_t x = 0;
    for (char16_t c : t) {
      if (c < u'0' || c > u'9') return -1;
      x = x * 10 + (c - u'0');
    }
    return x;
  }
};

// Parses "<name a="v" b=w ...>content</name>" or "<name ... />"; false when
// the line holds no element.
bool ParseElement(StringView line, Element& e) {
  size_t i = 0;
  while (i < line.size() && IsSpace(line[i])) ++i;
  if (i >= line.size() || line[i] != u'<') return false;
  ++i;
  const size_t ns = i;
  if (i < line.size() && line[i] == u'/') ++i;  // end tag
  while (i < line.size() && !IsSpace(line[i]) && line[i] != u'>' && line[i] != u'/') ++i;
  e.name = AsciiLowerCase(line.substr(ns, i - ns));
  for (;;) {
    while (i < line.size() && IsSpace(line[i])) ++i;
    if (i >= line.size()) return true;
    if (line[i] == u'/') return true;  // empty element
    if (line[i] == u'>') break;
    const size_t as = i;
    while (i < line.size() && line[i] != u'=' && !IsSpace(line[i]) && line[i] != u'>' && line[i] != u'/') ++i;
    String an = AsciiLowerCase(line.substr(as, i - as));
    String av;
    if (i < line.size() && line[i] == u'=') {
      ++i;
      if (i < line.size() && line[i] == u'"') {
        const size_t q = line.find(u'"', i + 1);
        const size_t end = q == StringView::npos ? line.size() : q;
        av = Unescape(line.substr(i + 1, end - i - 1));
        i = q == StringView::npos ? line.size() : q + 1;
      } else {
        const size_t vs = i;
        while (i < line.size() && !IsSpace(line[i]) && line[i] != u'>' && line[i] != u'/') ++i;
        av = Unescape(line.substr(vs, i - vs));
      }
    }
    if (an.empty()) ++i;  // stray character: step over it
    else e.attrs.emplace_back(std::move(an), std::move(av));
  }
  const size_t cs = i + 1;
  const size_t ce = line.find(u'<', cs);
  e.content = Unescape(line.substr(cs, (ce == StringView::npos ? line.size() : ce) - cs));
  return true;
}

bool IsStartLine(StringView line, const String& id) {
  const String low = AsciiLowerCase(line);
  if (low.find(u"<strarray") == String::npos || low.find(AsciiLowerCase(kSignature)) == String::npos) return false;
  if (id.empty()) return true;
  Element e;
  if (!ParseElement(line, e) || e.name != u"strarray") return false;
  const String* v = e.Attr(u"id");
  return v && AsciiLowerCase(StripLTBlanks(*v)) == id;
}

}  // namespace

void TStringArray::WriteToOpenXMLFile(TTextFile& f, bool CreateHeader, const String& DataID) const {
  if (CreateHeader) f.WriteLn(u"<?xml version=\"1.0\"?>");
  f.WriteLn();
  f.WriteLn(u"<!-- TStringArray / Kyn Component Suite -->");
  f.WriteLn(u"<strarray sig=\"" + String(kSignature) + u"\" vers=\"1.0\" id=\"" + Escape(DataID) + u"\">");
  f.WriteLn(u"  <size cols=\"" + Dec(FNCol) + u"\" rows=\"" + Dec(FNRow) + u"\" />");
  for (int32_t c = 1; c <= FNCol; ++c)
    if (GetColAttrib(c) != 0)
      f.WriteLn(u"  <colattr c=\"" + Dec(c) + u"\" val=\"" + Dec(GetColAttrib(c)) + u"\" />");
  for (int32_t r = 1; r <= FNRow; ++r)
    if (GetRowAttrib(r) != 0)
      f.WriteLn(u"  <rowattr r=\"" + Dec(r) + u"\" val=\"" + Dec(GetRowAttrib(r)) + u"\" />");
  for (int32_t r = 1; r <= FNRow; ++r)
    for (int32_t c = 0; c <= FNCol; ++c) {
      const String t = GetString(c, r);
      if (!t.empty())
        f.WriteLn(u"  <cell c=\"" + Dec(c) + u"\" r=\"" + Dec(r) + u"\">" + Escape(t) + u"</cell>");
    }
  f.WriteLn(u"</strarray>");
}

bool TStringArray::ReadFromOpenXMLFile(TTextFile& f, const String& DataID) {
  const String id = AsciiLowerCase(StripLTBlanks(DataID));
  bool header = false;
  while (!header && !f.Eof()) header = IsStartLine(f.ReadLn(), id);
  if (!header) return false;

  struct Cell {
    int32_t c, r;
    AnsiString text;
  };
  int64_t cols = -1, rows = -1;
  std::vector<Cell> cells;
  std::vector<std::pair<int32_t, uint8_t>> rowAttr, colAttr;
  bool ended = false;
  while (!ended && !f.Eof()) {
    const String line = f.ReadLn();
    Element e;
    if (!ParseElement(line, e)) continue;
    if (e.name == u"/strarray") {
      ended = true;
    } else if (e.name == u"size") {
      cols = e.Num(u"cols");
      rows = e.Num(u"rows");
    } else if (e.name == u"cell") {
      const int64_t c = e.Num(u"c"), r = e.Num(u"r");
      if (c >= 0 && r >= 1 && c <= INT32_MAX && r <= INT32_MAX)
        cells.push_back({static_cast<int32_t>(c), static_cast<int32_t>(r), detail::EncodeCellText(e.content)});
    } else if (e.name == u"rowattr" || e.name == u"colattr") {
      const int64_t k = e.Num(e.name == u"rowattr" ? u"r" : u"c"), v = e.Num(u"val");
      if (k >= 1 && k <= INT32_MAX && v >= 0 && v <= 255)
        (e.name == u"rowattr" ? rowAttr : colAttr).emplace_back(static_cast<int32_t>(k), static_cast<uint8_t>(v));
    }
  }
  if (!ended || cols < 1 || rows < 1 || cols > INT32_MAX || rows > INT32_MAX) return false;

  // Build the new contents aside, then take them over whole.
  TStringArray tmp(nullptr);
  tmp.SetAllocRowsBy(FAllocRowsBy);
  if (!tmp.Resize(static_cast<int32_t>(cols), static_cast<int32_t>(rows))) return false;
  for (const Cell& c : cells)
    if (c.c <= tmp.FNCol && c.r <= tmp.FNRow)
      tmp.StoreText(c.c, c.r, reinterpret_cast<const uint8_t*>(c.text.data()), static_cast<uint32_t>(c.text.size()));
  for (const auto& [r, v] : rowAttr)
    if (r <= tmp.FNRow) tmp.FRowAttrib[r - 1] = v;
  for (const auto& [c, v] : colAttr)
    if (c <= tmp.FNCol) tmp.FColAttrib[c - 1] = v;
  std::swap(FNCol, tmp.FNCol);
  std::swap(FNRow, tmp.FNRow);
  std::swap(FRAllocated, tmp.FRAllocated);
  std::swap(FNumPoolAddr, tmp.FNumPoolAddr);
  FFirstFree.swap(tmp.FFirstFree);
  FPoiArray.swap(tmp.FPoiArray);
  FSortIx.swap(tmp.FSortIx);
  FStgPool.swap(tmp.FStgPool);
  FRowAttrib.swap(tmp.FRowAttrib);
  FColAttrib.swap(tmp.FColAttrib);
  FFitFrom = tmp.FFitFrom;
  Changed();
  return true;
}

void TStringArray::SaveAsXMLFile(const String& FName, const String& DataID) const {
  TTextFile f;
  f.Rewrite(FName);
  WriteToOpenXMLFile(f, true, DataID);
  f.Close();
}

bool TStringArray::LoadFromXMLFile(const String& FName, const String& DataID) {
  TTextFile f;
  f.Reset(FName);
  const bool ok = ReadFromOpenXMLFile(f, DataID);
  f.Close();
  return ok;
}

}  // namespace kyn
