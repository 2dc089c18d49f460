#include "kyn/htmlsupport/htmltext.h"

#include <array>
#include <string>

#include "kyn/kynbase/langtables.h"
#include "kyn/stringl/strings.h"

namespace kyn {

namespace {

struct TNamedChar {
  const char16_t* name;
  char16_t code;
};
constexpr TNamedChar kXmlEntities[] = {
    {u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"quot", u'"'}, {u"apos", u'\''},
};

bool IsHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

int HexValue(char16_t c) {
  if (c <= u'9') return c - u'0';
  return (c | 0x20) - u'a' + 10;
}

bool IsSurrogate(uint32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

String Decimal(uint32_t v) {
  const std::string d = std::to_string(v);
  return String(d.begin(), d.end());
}

void AppendCodePoint(String& out, uint32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
    return;
  }
  cp -= 0x10000;
  out += static_cast<char16_t>(0xD800 + (cp >> 10));
  out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
}

// The code point of a reference written without "&" and ";", or -1.
int64_t DecodeReference(StringView body) {
  if (body.empty()) return -1;
  if (body[0] == u'#') {
    size_t i = 1;
    const bool hex = i < body.size() && (body[i] == u'x' || body[i] == u'X');
    if (hex) ++i;
    if (i >= body.size()) return -1;
    uint32_t v = 0;
    for (; i < body.size(); ++i) {
      const char16_t c = body[i];
      if (hex ? !IsHexDigit(c) : (c < u'0' || c > u'9')) return -1;
      v = v * (hex ? 16 : 10) + static_cast<uint32_t>(hex ? HexValue(c) : c - u'0');
      if (v > 0x10FFFF) return -1;
    }
    if (v == 0 || IsSurrogate(v)) return -1;
    return v;
  }
  for (const auto& e : kXmlEntities)
    if (body == e.name) return e.code;
  for (int c = HTMLLat1Entities.low(); c <= HTMLLat1Entities.high(); ++c) {
    const StringView full = HTMLLat1Entities[c];
    if (body == full.substr(1, full.size() - 2)) return c;
  }
  return -1;
}

String URLDecodePass(StringView s) {
  String out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'%' && i + 2 < s.size() && IsHexDigit(s[i + 1]) && IsHexDigit(s[i + 2])) {
      out += static_cast<char16_t>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

bool IsHtmlSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Position of the first element tag "<name" (folded text) at or after From
// that is followed by ">", "/", white space or the end; npos when none.
size_t FindElement(const String& Folded, StringView OpenText, size_t From) {
  for (size_t p = Folded.find(OpenText, From); p != String::npos; p = Folded.find(OpenText, p + 1)) {
    const size_t after = p + OpenText.size();
    if (after >= Folded.size() || Folded[after] == u'>' || Folded[after] == u'/' || IsHtmlSpace(Folded[after]))
      return p;
  }
  return String::npos;
}

// Index just after the ">" that closes the tag whose inside begins at From;
// quoted attribute values may hold ">". Text's size when there is no ">".
size_t TagEnd(StringView Text, size_t From) {
  char16_t quote = 0;
  for (size_t i = From; i < Text.size(); ++i) {
    const char16_t c = Text[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (c == u'>') {
      return i + 1;
    }
  }
  // An unbalanced quote: the first ">" ends the tag after all.
  const size_t gt = Text.find(u'>', From);
  return gt == StringView::npos ? Text.size() : gt + 1;
}

bool IsBlockElement(StringView name) {
  static constexpr const char16_t* kBlocks[] = {
      u"address", u"article", u"aside", u"blockquote", u"br", u"caption", u"dd", u"div", u"dl", u"dt",
      u"fieldset", u"figcaption", u"figure", u"footer", u"form", u"h1", u"h2", u"h3", u"h4", u"h5", u"h6",
      u"header", u"hr", u"li", u"main", u"nav", u"ol", u"p", u"pre", u"section", u"table", u"tr", u"ul"};
  for (const char16_t* b : kBlocks)
    if (name == b) return true;
  return false;
}

}  // namespace

// ------------------------------------------------------------ words and URLs

int32_t CountWordsHTML(StringView Text, bool SkipNumbers, bool& InsideTag) {
  uint32_t count = 0;
  size_t run = 0;
  char16_t first = 0;
  for (const char16_t c : Text) {
    if (c == u'<') InsideTag = true;
    else if (c == u'>') InsideTag = false;
    if (InsideTag) continue;
    if (WordSeps.Contains(c)) {
      if (run >= 2 && !(SkipNumbers && first >= u'0' && first <= u'9')) ++count;
      run = 0;
    } else {
      if (run == 0) first = c;
      ++run;
    }
  }
  return static_cast<int32_t>(count);
}

String ExtractHTTPPath(StringView URL) {
  String r(URL);
  const size_t p = AsciiLowerCase(URL).find(u"http://");
  if (p != String::npos) r.erase(0, p + 7);
  const size_t slash = r.rfind(u'/');
  if (slash == String::npos) return String();
  r.resize(slash + 1);
  return r;
}

String URLEncode(StringView s) {
  static constexpr char16_t kReserved[] = u"!*();:@&=+$,/?%#[] ";
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  String out;
  out.reserve(s.size());
  for (const char16_t c : s) {
    if (StringView(kReserved).find(c) != StringView::npos) {
      out += u'%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += c;
    }
  }
  return out;
}

String URLDecode(StringView s) { return URLDecodePass(URLDecodePass(s)); }

// ------------------------------------------------------------ references

String AnsiToHTMLEntity(char16_t c) {
  switch (c) {
    case u'&': return u"&amp;";
    case u'<': return u"&lt;";
    case u'>': return u"&gt;";
    case u'"': return u"&quot;";
    case u'\'': return u"&#39;";
    default: break;
  }
  if (c >= 160 && c <= 255) return String(HTMLLat1Entities[c]);
  if (c >= 127 && !IsSurrogate(c)) return u"&#" + Decimal(c) + u";";
  return String(1, c);
}

String MakeStringHTMLCompatible(StringView s) {
  String out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (!IsSurrogate(c)) {
      out += AnsiToHTMLEntity(c);
    } else if (c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      const uint32_t cp = 0x10000 + ((static_cast<uint32_t>(c) - 0xD800) << 10) + (s[i + 1] - 0xDC00u);
      out += u"&#" + Decimal(cp) + u";";
      ++i;
    } else {
      out += u"&#65533;";
    }
  }
  return out;
}

char16_t HTMLEntityToAnsi(StringView Entity) {
  if (!Entity.empty() && Entity.front() == u'&') Entity.remove_prefix(1);
  if (!Entity.empty() && Entity.back() == u';') Entity.remove_suffix(1);
  const int64_t cp = DecodeReference(Entity);
  return cp < 0 || cp > 0xFFFF ? char16_t{0} : static_cast<char16_t>(cp);
}

String ResolveHTMLEntities(StringView s) {
  // The longest reference body looked for; a stray "&" costs no more than this.
  constexpr size_t kMaxBody = 32;
  String out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] == u'&') {
      const size_t semi = s.substr(i + 1, kMaxBody + 1).find(u';');
      if (semi != StringView::npos) {
        const int64_t cp = DecodeReference(s.substr(i + 1, semi));
        if (cp >= 0) {
          AppendCodePoint(out, static_cast<uint32_t>(cp));
          i += semi + 2;
          continue;
        }
      }
    }
    out += s[i++];
  }
  return out;
}

// ------------------------------------------------------------ page frame

String DefaultHTMLHead(const String& Title, const String& CharSet, const String& Description,
                       const String& StyleSheet, bool OpenBody) {
  const String title = StripLTBlanks(Title).empty() ? String(u"Untitled") : Title;
  String h = u"<!DOCTYPE html>\r\n<html>\r\n<head>\r\n";
  h += u"<meta charset=\"" + MakeStringHTMLCompatible(CharSet.empty() ? String(u"utf-8") : CharSet) + u"\">\r\n";
  h += u"<title>" + MakeStringHTMLCompatible(title) + u"</title>\r\n";
  if (!Description.empty())
    h += u"<meta name=\"description\" content=\"" + MakeStringHTMLCompatible(Description) + u"\">\r\n";
  if (!StyleSheet.empty())
    h += u"<link rel=\"stylesheet\" href=\"" + MakeStringHTMLCompatible(StyleSheet) + u"\">\r\n";
  h += u"</head>\r\n";
  if (OpenBody) h += u"<body>\r\n";
  return h;
}

String DefaultHTMLFoot(bool CloseBody) {
  return String(CloseBody ? u"</body>\r\n" : u"") + u"</html>\r\n";
}

// ------------------------------------------------------------ body

String ExtractHTMLBody(StringView HTML) {
  const String folded = AsciiLowerCase(HTML);
  const size_t open = FindElement(folded, u"<body", 0);
  if (open == String::npos) return String(HTML);
  const size_t start = TagEnd(HTML, open + 5);
  size_t end = FindElement(folded, u"</body", start);
  if (end == String::npos) end = HTML.size();
  return String(HTML.substr(start, end - start));
}

String ConvertHTMLBodyToText(StringView HTML, char16_t LineBreak) {
  const String body = ExtractHTMLBody(HTML);
  const String folded = AsciiLowerCase(body);
  String out;
  bool pendingSpace = false, pendingBreak = false;
  auto emitText = [&](size_t from, size_t to) {
    if (to <= from) return;
    for (const char16_t c : ResolveHTMLEntities(StringView(body).substr(from, to - from))) {
      if (IsHtmlSpace(c)) {
        pendingSpace = true;
        continue;
      }
      if (!out.empty()) {
        if (pendingBreak) out += LineBreak;
        else if (pendingSpace) out += u' ';
      }
      pendingBreak = pendingSpace = false;
      out += c;
    }
  };
  const size_t n = body.size();
  size_t textStart = 0, i = 0;
  while (i < n) {
    if (body[i] != u'<' || i + 1 >= n) {
      ++i;
      continue;
    }
    const char16_t next = body[i + 1];
    const bool closing = next == u'/';
    if (!(IsAsciiLetter(next) || next == u'!' || next == u'?' || (closing && i + 2 < n && IsAsciiLetter(body[i + 2])))) {
      ++i;  // a "<" that starts no tag is text
      continue;
    }
    emitText(textStart, i);
    if (folded.compare(i, 4, u"<!--") == 0) {
      const size_t endComment = folded.find(u"-->", i + 4);
      i = endComment == String::npos ? n : endComment + 3;
      textStart = i;
      continue;
    }
    size_t k = i + (closing ? 2 : 1);
    const size_t nameStart = k;
    while (k < n && (IsAsciiLetter(folded[k]) || (folded[k] >= u'0' && folded[k] <= u'9'))) ++k;
    const String name = folded.substr(nameStart, k - nameStart);
    i = TagEnd(body, k);
    if (!closing && (name == u"script" || name == u"style")) {
      const size_t close = FindElement(folded, u"</" + name, i);
      i = close == String::npos ? n : TagEnd(body, close + 2 + name.size());
    } else if (IsBlockElement(name)) {
      pendingBreak = true;
    } else if (name == u"td" || name == u"th") {
      pendingSpace = true;
    }
    textStart = i;
  }
  emitText(textStart, n);
  return out;
}

}  // namespace kyn
