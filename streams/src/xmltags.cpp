#include "kyn/streams/xmltags.h"

#include "kyn/streams/foldmatch.h"
#include "kyn/kynbase/errors.h"
#include "kyn/stringl/strings.h"

namespace kyn {

// ------------------------------------------------------------ attributes

int32_t ScanXMLAttribPair(StringView AttribText, int32_t& Pos, String& Name, String& Value) {
  Name.clear();
  Value.clear();
  const int64_t len = static_cast<int64_t>(AttribText.size());
  if (Pos < 1 || Pos > len) return xacNothingLeft;
  enum { kName, kAfterEquals, kQuoted, kUnquoted } state = kName;
  int32_t code = xacOk;
  bool done = false;
  for (;;) {
    const char16_t c = AttribText[static_cast<size_t>(Pos - 1)];
    switch (state) {
      case kName:
        if (c == u'"') { code = xacQuoteInName; done = true; }
        else if (c == u'=') state = kAfterEquals;
        else Name += c;
        break;
      case kAfterEquals:
        if (c == u'"') state = kQuoted;
        else if (c == u'=') { code = xacDoubleEquals; done = true; }
        else if (c != u' ') { Value += c; state = kUnquoted; }
        break;
      case kQuoted:
        if (c == u'"') done = true;
        else Value += c;
        break;
      case kUnquoted:
        if (c == u' ' || c == u'"') done = true;
        else if (c == u'=') { code = xacEqualsInValue; done = true; }
        else Value += c;
        break;
    }
    ++Pos;
    if (Pos > len || done) break;
  }
  Name = StripLTBlanks(Name);
  return code;
}

String ScanForXMLAttrib(StringView AttribText, StringView AttribName) {
  const String wanted = AsciiLowerCase(AttribName);
  int32_t pos = 1;
  String name, value;
  while (ScanXMLAttribPair(AttribText, pos, name, value) == xacOk)
    if (AsciiLowerCase(name) == wanted) return value;
  return String();
}

// ------------------------------------------------------------------ tags

namespace {

// The input of the tag reader: a byte stream or a text file.
class TByteSource {
 public:
  explicit TByteSource(TStream& s) : FStream(s) {}

  // Everything after the next "<" up to and including the next ">"; reading
  // stops early at the end of the stream.
  String ReadTagText() {
    uint8_t b = 0;
    bool ok;
    do ok = Next(b);
    while (ok && b != '<');
    String tag;
    while (ok && b != '>') {
      ok = Next(b);
      if (ok) tag += static_cast<char16_t>(b);
    }
    return tag;
  }

  bool NextChar(char16_t& c) {
    uint8_t b;
    if (!Next(b)) return false;
    c = b;
    return true;
  }

 private:
  bool Next(uint8_t& b) { return FStream.Read(&b, 1) > 0; }
  TStream& FStream;
};

class TCharSource {
 public:
  explicit TCharSource(TTextFile& f) : FFile(f) {}

  // As TByteSource, with the end of the file tested before each further read.
  String ReadTagText() {
    char16_t c = FFile.ReadChar();
    while (!FFile.Eof() && c != u'<') c = FFile.ReadChar();
    String tag;
    while (!FFile.Eof() && c != u'>') {
      c = FFile.ReadChar();
      tag += c;
    }
    return tag;
  }

  bool NextChar(char16_t& c) {
    if (FFile.Eof()) return false;
    c = FFile.ReadChar();
    return true;
  }

 private:
  TTextFile& FFile;
};

int32_t LookupTag(StringView Name, const TStrArray& TagList) {
  const String folded = AsciiLowerCase(Name);
  for (size_t i = 0; i < TagList.size(); ++i)
    if (TagList[i] == folded) return static_cast<int32_t>(i);
  return static_cast<int32_t>(TagList.size()) - 1;
}

template <class TSource>
int32_t ReadNextTag(TSource& Src, const TStrArray& TagList, String& Attributes, String& EnclosedText,
                    const char16_t* Caller) {
  if (TagList.empty()) throw EKYNError(String(Caller) + u": the tag list is empty");
  Attributes.clear();
  EnclosedText.clear();
  String tag;
  do tag = Src.ReadTagText();
  while (!tag.empty() && tag[0] == u'!');

  const size_t blank = tag.find(u' ');
  if (tag.find(u"/>") != String::npos) {
    // Self-closing: "/>" can only stand at the end, since ">" ends the tag text.
    if (blank == String::npos) return LookupTag(StringView(tag).substr(0, tag.size() - 2), TagList);
    const size_t attrEnd = tag.size() - 2;
    if (attrEnd > blank + 1) Attributes = StripLTBlanks(StringView(tag).substr(blank + 1, attrEnd - blank - 1));
    return LookupTag(StringView(tag).substr(0, blank), TagList);
  }
  if (blank != String::npos) {
    const size_t last = tag.size() - 1;
    if (last > blank + 1) Attributes = StripLTBlanks(StringView(tag).substr(blank + 1, last - blank - 1));
    tag = tag.substr(0, blank) + tag.back();
  }
  if (!tag.empty()) tag.pop_back();  // normally the ">"
  const String name = AsciiLowerCase(tag);
  const int32_t result = LookupTag(name, TagList);
  if (!name.empty() && name[0] != u'/') {
    detail::TFoldMatcher endTag(u"</" + name + u">");
    char16_t c;
    while (Src.NextChar(c)) {
      EnclosedText += c;
      if (endTag.Feed(c)) {
        EnclosedText.resize(EnclosedText.size() - endTag.Length());
        break;
      }
    }
  }
  return result;
}

}  // namespace

int32_t ReadNextTagInStream(TStream& InStream, const TStrArray& TagList, String& Attributes,
                            String& EnclosedText) {
  TByteSource src(InStream);
  return ReadNextTag(src, TagList, Attributes, EnclosedText, u"ReadNextTagInStream");
}

int32_t ReadNextTagInTextFile(TTextFile& InFile, const TStrArray& TagList, String& Attributes,
                              String& EnclosedText) {
  TCharSource src(InFile);
  return ReadNextTag(src, TagList, Attributes, EnclosedText, u"ReadNextTagInTextFile");
}

}  // namespace kyn
