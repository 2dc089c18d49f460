#include "kyn/stringl/strparse.h"

#include <vector>

#include "kyn/stringl/strings.h"

namespace kyn {

namespace {

bool EndsName(char16_t c) { return c <= 32; }

// Index of the first entry equal to Name folded to lower case, else the last
// index.
int32_t LookupTag(StringView Name, const TStrArray& Tags) {
  const String folded = AsciiLowerCase(Name);
  for (size_t i = 0; i < Tags.size(); ++i)
    if (Tags[i] == folded) return static_cast<int32_t>(i);
  return static_cast<int32_t>(Tags.size()) - 1;
}

// Reads characters from s one at a time; Position is 1-based.
struct Reader {
  StringView s;
  int32_t& pos;
  bool AtEnd() const { return static_cast<size_t>(pos) > s.size(); }
  // The next character, or false when s has ended.
  bool Read(char16_t& c) {
    if (AtEnd()) return false;
    c = s[static_cast<size_t>(pos - 1)];
    ++pos;
    return true;
  }
};

// Reads up to and including the next "<"; then the tag text up to and
// including the next ">" (or the end). "<!...>" markup is skipped. Returns the
// position of the "<", 0 when none was found (the tag text is then empty).
int32_t ReadTagText(Reader& r, String& tag) {
  for (;;) {
    tag.clear();
    char16_t c = 0;
    bool ok;
    while ((ok = r.Read(c)) && c != u'<') {
    }
    if (!ok) return 0;
    const int32_t start = r.pos - 1;
    while (ok && c != u'>')
      if ((ok = r.Read(c))) tag += c;
    if (tag.empty() || tag[0] != u'!') return start;
  }
}

}  // namespace

void ParseQuotedName(char16_t Ch, char16_t Quote, String& Name, TQuotedStrState& State) {
  switch (State) {
    case vsStart:
      if (EndsName(Ch)) return;
      Name.clear();
      if (Ch == Quote) {
        State = vs1stQuote;
      } else {
        Name += Ch;
        State = vsNormal;
      }
      return;
    case vs1stQuote:
      if (Ch == Quote) State = vsQuote;
      else Name += Ch;
      return;
    case vsQuote:
      if (Ch == Quote) {
        Name += Quote;
        State = vs1stQuote;
      } else {
        State = vsEnd;
      }
      return;
    case vsNormal:
      if (EndsName(Ch)) State = vsEnd;
      else Name += Ch;
      return;
    case vsEnd:
      return;
  }
}

String ExtractParam(StringView Params, int32_t Index, char16_t Delimiter, char16_t Quote, StringView Default) {
  if (Index < 0) return String(Default);
  const bool quoting = Quote != 0 && Quote != Delimiter;
  int32_t current = 0;
  String value;
  std::vector<bool> literal;  // per character of value: taken from inside quotes
  bool quoted = false, inQuote = false;
  for (size_t i = 0; i <= Params.size(); ++i) {
    const bool atEnd = i == Params.size();
    const char16_t c = atEnd ? 0 : Params[i];
    if (atEnd || (!inQuote && c == Delimiter)) {
      if (current == Index) {
        size_t b = 0, e = value.size();
        while (b < e && value[b] == u' ' && !literal[b]) ++b;
        while (e > b && value[e - 1] == u' ' && !literal[e - 1]) --e;
        if (b == e && !quoted) return String(Default);
        return value.substr(b, e - b);
      }
      ++current;
      continue;
    }
    if (current != Index) {
      if (quoting && c == Quote) inQuote = !inQuote;  // a doubled quote toggles twice
      continue;
    }
    if (quoting && c == Quote) {
      quoted = true;
      if (inQuote && i + 1 < Params.size() && Params[i + 1] == Quote) {
        value += Quote;
        literal.push_back(true);
        ++i;
      } else {
        inQuote = !inQuote;
      }
      continue;
    }
    value += c;
    literal.push_back(inQuote);
  }
  return String(Default);
}

void TextLineCoords(StringView s, int32_t Position, int32_t& Line, int32_t& Column) {
  if (Position < 1 || static_cast<size_t>(Position) > s.size() + 1) {
    Line = Column = 0;
    return;
  }
  int32_t line = 1, lineStart = 1;
  for (int32_t i = 1; i < Position; ++i) {
    const char16_t c = s[static_cast<size_t>(i - 1)];
    const bool crBeforeLf = c == u'\r' && static_cast<size_t>(i) < s.size() && s[static_cast<size_t>(i)] == u'\n';
    if (c == u'\n' || (c == u'\r' && !crBeforeLf)) {
      ++line;
      lineStart = i + 1;
    }
  }
  Line = line;
  Column = Position - lineStart + 1;
}

int32_t ReadNextTagInString(StringView s, int32_t& Position, const TStrArray& Tags, String& AttribText,
                            String& Enclosed) {
  AttribText.clear();
  Enclosed.clear();
  if (Tags.empty()) return -1;
  if (Position < 1) Position = 1;
  Reader r{s, Position};
  String tag;
  ReadTagText(r, tag);
  const size_t blank = tag.find(u' ');
  if (tag.find(u"/>") != String::npos) {
    // Self-closing: "/>" can only stand at the end, as reading stops at ">".
    if (blank == String::npos) return LookupTag(StringView(tag).substr(0, tag.size() - 2), Tags);
    AttribText = StripLTBlanks(StringView(tag).substr(blank + 1, tag.size() - 2 - (blank + 1)));
    return LookupTag(StringView(tag).substr(0, blank), Tags);
  }
  if (blank != String::npos) {
    AttribText = StripLTBlanks(StringView(tag).substr(blank + 1, tag.size() - 1 - (blank + 1)));
    tag = tag.substr(0, blank) + tag.back();
  }
  if (!tag.empty()) tag.pop_back();
  const String name = AsciiLowerCase(tag);
  const int32_t result = LookupTag(name, Tags);
  if (!name.empty() && name[0] != u'/') {
    // The end tag contains a single ">", its last character, so it is found
    // the moment that ">" has been read: test the end of the text only.
    const String endTag = u"</" + name + u">";
    char16_t c;
    while (r.Read(c)) {
      Enclosed += c;
      if (c == u'>' && Enclosed.size() >= endTag.size() &&
          AsciiLowerCase(StringView(Enclosed).substr(Enclosed.size() - endTag.size())) == endTag) {
        Enclosed.resize(Enclosed.size() - endTag.size());
        break;
      }
    }
  }
  return result;
}

int32_t DetectNextTagInString(StringView s, int32_t& Position, int32_t& TagStart, const TStrArray& Tags,
                              String& AttribText, bool& EndTag) {
  if (Tags.empty()) return -1;
  AttribText.clear();
  EndTag = false;
  if (Position < 1) Position = 1;
  Reader r{s, Position};
  String tag;
  TagStart = ReadTagText(r, tag);
  if (TagStart == 0) return -1;
  StringView body(tag);
  if (body.ends_with(u"/>")) body.remove_suffix(2);
  else if (body.ends_with(u">")) body.remove_suffix(1);
  if (body.starts_with(u"/")) {
    EndTag = true;
    body.remove_prefix(1);
  }
  const size_t blank = body.find(u' ');
  if (blank != StringView::npos) {
    AttribText = StripLTBlanks(body.substr(blank + 1));
    body = body.substr(0, blank);
  }
  return LookupTag(body, Tags);
}

}  // namespace kyn
