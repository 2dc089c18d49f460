// The XML form of TAssocArray and the attribute-text reader.
#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "kyn/dstruct/assocarray.h"

namespace kyn {

namespace {

// Kind names in the order of TVarType.
constexpr const char* kTypeNames[] = {"empty",  "null",     "boolean", "shortint", "smallint", "integer",
                                      "int64",  "byte",     "word",    "longword", "uint64",   "single",
                                      "double", "currency", "date",    "string"};
constexpr int kTypeCount = sizeof kTypeNames / sizeof kTypeNames[0];
static_assert(kTypeCount == static_cast<int>(TVarType::String) + 1);

constexpr const char* kSignature = "Quarnelix";

inline bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::string Ascii(StringView s) {
  std::string r;
  r.reserve(s.size());
  for (char16_t c : s) {
    if (c > 127) return std::string("\x01");  // never a valid number
    r += static_cast<char>(c);
  }
  return r;
}

// ------------------------------------------------------------ escaping

void AppendEscaped(std::string& out, StringView s) {
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    switch (c) {
      case u'&': out += "&amp;"; continue;
      case u'<': out += "&lt;"; continue;
      case u'>': out += "&gt;"; continue;
      case u'"': out += "&quot;"; continue;
      default: break;
    }
    const int b = WideCharToAnsi(c);
    if (c >= 0x20 && !(c >= 0x80 && c <= 0x9F) && b >= 0) {
      out += static_cast<char>(b);
      continue;
    }
    uint32_t cp = c;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((uint32_t(c) - 0xD800) << 10) + (uint32_t(s[i + 1]) - 0xDC00);
      ++i;
    }
    out += "&#" + std::to_string(cp) + ";";
  }
}

// Decodes &amp; &lt; &gt; &quot; &apos; &#N; &#xH;. Anything else that
// starts with & stays as it is.
String Unescape(StringView s) {
  String r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != u'&') {
      r += s[i];
      continue;
    }
    const size_t semi = s.find(u';', i + 1);
    if (semi == StringView::npos || semi - i > 12) {
      r += s[i];
      continue;
    }
    const StringView ent = s.substr(i + 1, semi - i - 1);
    char16_t named = 0;
    if (ent == u"amp") named = u'&';
    else if (ent == u"lt") named = u'<';
    else if (ent == u"gt") named = u'>';
    else if (ent == u"quot") named = u'"';
    else if (ent == u"apos") named = u'\'';
    if (named) {
      r += named;
      i = semi;
      continue;
    }
    uint32_t cp = 0;
    bool ok = ent.size() >= 2 && ent[0] == u'#';
    if (ok) {
      const bool hex = ent[1] == u'x' || ent[1] == u'X';
      const std::string digits = Ascii(ent.substr(hex ? 2 : 1));
      const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), cp, hex ? 16 : 10);
      ok = !digits.empty() && res.ec == std::errc() && res.ptr == digits.data() + digits.size() && cp <= 0x10FFFF;
    }
    if (!ok) {
      r += s[i];
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      r += static_cast<char16_t>(0xD800 + (cp >> 10));
      r += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      r += static_cast<char16_t>(cp);
    }
    i = semi;
  }
  return r;
}

// ------------------------------------------------------------ attributes

struct Attr {
  String Name;  // as written
  String Value;
};

// Reads name=value pairs from Text starting at Pos; a "/" standing alone at
// the end (of a self-closing tag) ends the list. Returns false at the first
// malformed pair; Out then holds the pairs before it.
bool ParseAttributes(StringView Text, size_t Pos, std::vector<Attr>& Out) {
  const size_t n = Text.size();
  size_t i = Pos;
  for (;;) {
    while (i < n && IsBlank(Text[i])) ++i;
    if (i >= n) return true;
    if (Text[i] == u'/') {
      size_t j = i + 1;
      while (j < n && IsBlank(Text[j])) ++j;
      if (j >= n) return true;
      return false;
    }
    const size_t start = i;
    while (i < n && !IsBlank(Text[i]) && Text[i] != u'=') ++i;
    if (i == start) return false;
    Attr a;
    a.Name = String(Text.substr(start, i - start));
    while (i < n && IsBlank(Text[i])) ++i;
    if (i >= n || Text[i] != u'=') return false;
    ++i;
    while (i < n && IsBlank(Text[i])) ++i;
    if (i < n && (Text[i] == u'"' || Text[i] == u'\'')) {
      const size_t close = Text.find(Text[i], i + 1);
      if (close == StringView::npos) return false;
      a.Value = Unescape(Text.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      const size_t vs = i;
      while (i < n && !IsBlank(Text[i])) ++i;
      StringView v = Text.substr(vs, i - vs);
      // name=value/ at the end of a self-closing tag
      if (i >= n && !v.empty() && v.back() == u'/') v.remove_suffix(1);
      a.Value = Unescape(v);
    }
    Out.push_back(std::move(a));
  }
}

const String* FindAttr(const std::vector<Attr>& Attrs, StringView Name) {
  for (const Attr& a : Attrs)
    if (AsciiLowerCase(a.Name) == Name) return &a.Value;
  return nullptr;
}

// --------------------------------------------------------- tag reading

// The text between the next "<" and its ">" (a ">" inside quotes does not
// count), widened from Windows-1252. Comments, declarations and processing
// instructions are skipped. False at the end of the stream.
bool ReadTag(TStream& S, String& Tag) {
  std::string t;
  uint8_t c;
  for (;;) {
    do {
      if (S.Read(&c, 1) != 1) return false;
    } while (c != '<');
    t.clear();
    char quote = 0;
    for (;;) {
      if (S.Read(&c, 1) != 1) return false;
      const bool comment = t.size() >= 3 && t.compare(0, 3, "!--") == 0;
      if (c == '>' && quote == 0) {
        if (!comment || (t.size() >= 5 && t.compare(t.size() - 2, 2, "--") == 0)) break;
      }
      if (!comment) {
        if (quote == 0 && (c == '"' || c == '\'')) quote = static_cast<char>(c);
        else if (c == quote) quote = 0;
      }
      t += static_cast<char>(c);
    }
    if (!t.empty() && (t[0] == '!' || t[0] == '?')) continue;
    Tag = AnsiToString(t);
    return true;
  }
}

// Splits a tag into its lower-cased name and the position of its attributes.
String TagName(StringView Tag, size_t& AttrPos) {
  size_t i = 0;
  while (i < Tag.size() && !IsBlank(Tag[i]) && !(Tag[i] == u'/' && i > 0)) ++i;
  AttrPos = i;
  return AsciiLowerCase(Tag.substr(0, i));
}

bool SelfClosing(StringView Tag) {
  size_t e = Tag.size();
  while (e > 0 && IsBlank(Tag[e - 1])) --e;
  return e > 0 && Tag[e - 1] == u'/';
}

// --------------------------------------------------------------- values

template <typename T>
bool ParseInt(const String& Text, T& v) {
  const std::string a = Ascii(Text);
  const char* first = a.data();
  const auto r = std::from_chars(first, a.data() + a.size(), v);
  return !a.empty() && r.ec == std::errc() && r.ptr == a.data() + a.size();
}

template <typename T>
bool ParseFloat(const String& Text, T& v) {
  const std::string a = Ascii(Text);
  const auto r = std::from_chars(a.data(), a.data() + a.size(), v);
  return !a.empty() && r.ec == std::errc() && r.ptr == a.data() + a.size();
}

// "[-]digits[.d[d[d[d]]]]" to a count of 1/10000.
bool ParseCurrency(const String& Text, int64_t& Units) {
  const std::string a = Ascii(Text);
  size_t i = 0;
  const bool neg = !a.empty() && a[0] == '-';
  if (neg) ++i;
  uint64_t whole = 0, frac = 0;
  size_t digits = 0;
  for (; i < a.size() && a[i] >= '0' && a[i] <= '9'; ++i, ++digits) {
    if (whole > 922337203685477ull) return false;
    whole = whole * 10 + static_cast<uint64_t>(a[i] - '0');
  }
  if (digits == 0) return false;
  int fdigits = 0;
  if (i < a.size() && a[i] == '.') {
    for (++i; i < a.size() && a[i] >= '0' && a[i] <= '9'; ++i) {
      if (++fdigits > 4) return false;
      frac = frac * 10 + static_cast<uint64_t>(a[i] - '0');
    }
    if (fdigits == 0) return false;
  }
  if (i != a.size()) return false;
  for (int k = fdigits; k < 4; ++k) frac *= 10;
  const uint64_t mag = whole * 10000 + frac;
  if (mag > (neg ? 9223372036854775808ull : 9223372036854775807ull)) return false;
  Units = neg ? static_cast<int64_t>(0 - mag) : static_cast<int64_t>(mag);
  return true;
}

template <typename T>
bool IntVariant(const String& Text, Variant& v) {
  T x;
  if (!ParseInt(Text, x)) return false;
  v = Variant(x);
  return true;
}

bool ParseValue(TVarType Type, const String& Text, Variant& v) {
  switch (Type) {
    case TVarType::Empty: v = Variant(); return true;
    case TVarType::Null: v = Variant::Null(); return true;
    case TVarType::Boolean:
      if (Text == u"1") v = Variant(true);
      else if (Text == u"0") v = Variant(false);
      else return false;
      return true;
    case TVarType::ShortInt: return IntVariant<int8_t>(Text, v);
    case TVarType::SmallInt: return IntVariant<int16_t>(Text, v);
    case TVarType::Integer: return IntVariant<int32_t>(Text, v);
    case TVarType::Int64: return IntVariant<int64_t>(Text, v);
    case TVarType::Byte: return IntVariant<uint8_t>(Text, v);
    case TVarType::Word: return IntVariant<uint16_t>(Text, v);
    case TVarType::LongWord: return IntVariant<uint32_t>(Text, v);
    case TVarType::UInt64: return IntVariant<uint64_t>(Text, v);
    case TVarType::Single: {
      float f;
      if (!ParseFloat(Text, f)) return false;
      v = Variant(f);
      return true;
    }
    case TVarType::Double: case TVarType::Date: {
      double d;
      if (!ParseFloat(Text, d)) return false;
      v = Type == TVarType::Date ? Variant::Date(d) : Variant(d);
      return true;
    }
    case TVarType::Currency: {
      int64_t units;
      if (!ParseCurrency(Text, units)) return false;
      v = Variant::FromCurrencyUnits(units);
      return true;
    }
    case TVarType::String: v = Variant(Text); return true;
  }
  return false;
}

std::string FloatText(double d, bool single) {
  char buf[64];
  const auto r = single ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(d))
                        : std::to_chars(buf, buf + sizeof buf, d);
  return std::string(buf, r.ptr);
}

// The val text of a value; false for the kinds that have none.
bool ValueText(const Variant& v, std::string& out) {
  switch (v.VarType()) {
    case TVarType::Empty: case TVarType::Null: return false;
    case TVarType::Boolean: out.assign(1, v.ToBool() ? '1' : '0'); return true;
    case TVarType::ShortInt: case TVarType::SmallInt: case TVarType::Integer: case TVarType::Int64:
      out = std::to_string(v.SignedValue());
      return true;
    case TVarType::Byte: case TVarType::Word: case TVarType::LongWord: case TVarType::UInt64:
      out = std::to_string(v.UnsignedValue());
      return true;
    case TVarType::Single: out = FloatText(v.FloatValue(), true); return true;
    case TVarType::Double: case TVarType::Date: out = FloatText(v.FloatValue(), false); return true;
    case TVarType::Currency: out = StringToAnsi(v.ToString()); return true;
    case TVarType::String: out.clear(); AppendEscaped(out, v.StringValue()); return true;
  }
  return false;
}

}  // namespace

int32_t TAssocArray::AddXMLAttributes(const String& Attributes) {
  std::vector<Attr> attrs;
  ParseAttributes(Attributes, 0, attrs);
  for (const Attr& a : attrs) Add(a.Name, Variant(a.Value));
  return static_cast<int32_t>(attrs.size());
}

void TAssocArray::WriteToXMLStream(TStream& OutStream, bool CreateHeader, const String& DataID) const {
  std::string out;
  if (CreateHeader) out += "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n";
  out += "<!-- TAssocArray / Kyn Component Suite -->\r\n";
  out += "<assocarray sig=\"";
  out += kSignature;
  out += "\" vers=\"1.0\" id=\"";
  AppendEscaped(out, DataID);
  out += FIgnoreCase ? "\" ignorecase=\"1\">\r\n" : "\" ignorecase=\"0\">\r\n";
  std::string val;
  for (int32_t e = 0; e < FNEntries; ++e) {
    const Variant& v = FDataArray[static_cast<size_t>(e)];
    out += "  <entry key=\"";
    AppendEscaped(out, FKeyArray[static_cast<size_t>(e)]);
    out += "\" type=\"";
    out += kTypeNames[static_cast<int>(v.VarType())];
    out += '"';
    if (ValueText(v, val)) {
      out += " val=\"";
      out += val;
      out += '"';
    }
    out += " />\r\n";
  }
  out += "</assocarray>\r\n";
  OutStream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

bool TAssocArray::ReadFromXMLStream(TStream& InStream, const String& DataID) {
  const String wantId = AsciiLowerCase(DataID);
  String tag;
  std::vector<Attr> attrs;
  size_t ap = 0;
  // The start element.
  for (;;) {
    if (!ReadTag(InStream, tag)) return false;
    if (TagName(tag, ap) != u"assocarray") continue;
    attrs.clear();
    if (!ParseAttributes(tag, ap, attrs)) continue;
    const String* sig = FindAttr(attrs, u"sig");
    if (!sig || AsciiLowerCase(*sig) != u"quarnelix") continue;
    const String* id = FindAttr(attrs, u"id");
    if (!wantId.empty() && (!id || AsciiLowerCase(*id) != wantId)) continue;
    break;
  }
  bool ignoreCase = FIgnoreCase;
  if (const String* ic = FindAttr(attrs, u"ignorecase")) ignoreCase = *ic != u"0";

  std::vector<String> keys;
  std::vector<Variant> values;
  if (!SelfClosing(tag)) {
    for (;;) {
      if (!ReadTag(InStream, tag)) return false;
      const String name = TagName(tag, ap);
      if (name == u"/assocarray") break;
      if (name != u"entry") continue;
      attrs.clear();
      if (!ParseAttributes(tag, ap, attrs)) return false;
      const String* key = FindAttr(attrs, u"key");
      const String* type = FindAttr(attrs, u"type");
      if (!key || !type) return false;
      int t = 0;
      const String typeName = AsciiLowerCase(*type);
      while (t < kTypeCount && typeName != Utf8ToString(kTypeNames[t])) ++t;
      if (t == kTypeCount) return false;
      const String* val = FindAttr(attrs, u"val");
      Variant v;
      if (!ParseValue(static_cast<TVarType>(t), val ? *val : String(), v)) return false;
      keys.push_back(*key);
      values.push_back(std::move(v));
    }
  }

  FNEntries = static_cast<int32_t>(keys.size());
  FKeyArray = std::move(keys);
  FDataArray = std::move(values);
  SetArrayLength(static_cast<size_t>(FNEntries) + static_cast<size_t>(std::max(FGranularity, 0)));
  FIgnoreCase = ignoreCase;
  size_t slots = 16;
  while (slots < 2 * static_cast<size_t>(FNEntries)) slots *= 2;
  IndexRebuild(slots);
  return true;
}

}  // namespace kyn
