// Quoted names, parameter lists, line coordinates and tags in strings.
#include <gtest/gtest.h>

#include "kyn/stringl/strparse.h"

using namespace kyn;

namespace {

// Feeds text to ParseQuotedName until the name is complete; returns the name
// and the number of characters fed.
std::pair<String, size_t> ParseName(StringView text, char16_t quote, TQuotedStrState& st) {
  String name = u"old";
  st = vsStart;
  size_t fed = 0;
  while (fed < text.size() && st != vsEnd) ParseQuotedName(text[fed++], quote, name, st);
  return {name, fed};
}

}  // namespace

TEST(ParseQuotedName, QuotedAndPlainNames) {
  struct {
    const char16_t* text;
    const char16_t* name;
    size_t fed;
    TQuotedStrState state;
  } cases[] = {
      {u"  abc def", u"abc", 6, vsEnd},
      {u"\"a b\" c", u"a b", 6, vsEnd},
      {u"\"a\"\"b\" c", u"a\"b", 7, vsEnd},
      {u"\"\"x", u"", 3, vsEnd},
      {u"\"open", u"open", 5, vs1stQuote},  // text ended inside the quotes
      {u"plain", u"plain", 5, vsNormal},
      {u"a\"b c", u"a\"b", 4, vsEnd},       // a quote inside a plain name is kept
      {u"x\ty", u"x", 2, vsEnd},
      {u"   ", u"old", 3, vsStart},         // no name started: Name untouched
      {u"\"ab\"", u"ab", 4, vsQuote},       // closing quote read, end still open
  };
  for (const auto& c : cases) {
    TQuotedStrState st;
    const auto [name, fed] = ParseName(c.text, u'"', st);
    EXPECT_EQ(name, c.name) << StringToUtf8(c.text);
    EXPECT_EQ(fed, c.fed) << StringToUtf8(c.text);
    EXPECT_EQ(st, c.state) << StringToUtf8(c.text);
  }
  // Once complete, further characters change nothing.
  String name = u"n";
  TQuotedStrState st = vsEnd;
  ParseQuotedName(u'x', u'"', name, st);
  EXPECT_EQ(name, u"n");
  EXPECT_EQ(st, vsEnd);
}

TEST(ExtractParam, QuotesBlanksAndDefaults) {
  const String p = u" 12, \"a, b\" ,x y ,, \"\" ,'q' , \"say \"\"hi\"\"\"";
  struct {
    int32_t ix;
    const char16_t* want;
  } cases[] = {
      {0, u"12"}, {1, u"a, b"}, {2, u"x y"}, {3, u"DEF"}, {4, u""},
      {5, u"'q'"}, {6, u"say \"hi\""}, {7, u"DEF"}, {-1, u"DEF"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractParam(p, c.ix, u',', u'"', u"DEF"), c.want) << c.ix;
  EXPECT_EQ(ExtractParam(u"\" a \"", 0, u',', u'"', u""), u" a ");   // quoted blanks stay
  EXPECT_EQ(ExtractParam(u"a\"b;c\"d;e", 1, u';', u'"', u""), u"e");  // quotes mid-parameter
  EXPECT_EQ(ExtractParam(u"a\"b;c\"d;e", 0, u';', u'"', u""), u"ab;cd");
  EXPECT_EQ(ExtractParam(u"\"a,b\",c", 1, u',', 0, u""), u"b\"");    // quoting off
  EXPECT_EQ(ExtractParam(u"", 0, u',', u'"', u"d"), u"d");
  EXPECT_EQ(ExtractParam(u"\"unterminated, x", 0, u',', u'"', u"d"), u"unterminated, x");
  EXPECT_EQ(ExtractParam(u"\"unterminated, x", 1, u',', u'"', u"d"), u"d");
}

TEST(TextLineCoords, LineEnds) {
  const String s = u"ab\ncd\r\nef\rg";
  struct {
    int32_t pos, line, col;
  } cases[] = {
      {1, 1, 1}, {3, 1, 3},  {4, 2, 1}, {6, 2, 3}, {7, 2, 4}, {8, 3, 1},
      {10, 3, 3}, {11, 4, 1}, {12, 4, 2}, {0, 0, 0}, {13, 0, 0}, {-5, 0, 0},
  };
  for (const auto& c : cases) {
    int32_t line = -1, col = -1;
    TextLineCoords(s, c.pos, line, col);
    EXPECT_EQ(line, c.line) << c.pos;
    EXPECT_EQ(col, c.col) << c.pos;
  }
  int32_t line = -1, col = -1;
  TextLineCoords(u"", 1, line, col);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(col, 1);
}

TEST(ReadNextTagInString, ElementsLikeTheStreamReader) {
  const TStrArray tags{u"font", u"text", u""};
  const String s = u"<!-- x --><font size=\"3\">Hello <b>x</b></FONT><item a=\"1\" /><br/></font><text>t";
  int32_t pos = 1;
  String attr, enc;
  EXPECT_EQ(ReadNextTagInString(s, pos, tags, attr, enc), 0);
  EXPECT_EQ(attr, u"size=\"3\"");
  EXPECT_EQ(enc, u"Hello <b>x</b>");
  EXPECT_EQ(s.substr(static_cast<size_t>(pos - 1), 5), u"<item");

  EXPECT_EQ(ReadNextTagInString(s, pos, tags, attr, enc), 2);  // item: not listed
  EXPECT_EQ(attr, u"a=\"1\"");
  EXPECT_EQ(enc, u"");
  EXPECT_EQ(ReadNextTagInString(s, pos, TStrArray{u"br", u"x"}, attr, enc), 0);
  EXPECT_EQ(attr, u"");
  EXPECT_EQ(ReadNextTagInString(s, pos, tags, attr, enc), 2);  // closing tag
  EXPECT_EQ(enc, u"");
  EXPECT_EQ(ReadNextTagInString(s, pos, tags, attr, enc), 1);  // unterminated element
  EXPECT_EQ(enc, u"t");
  EXPECT_EQ(pos, static_cast<int32_t>(s.size()) + 1);
  EXPECT_EQ(ReadNextTagInString(s, pos, tags, attr, enc), 2);  // end: empty name
  EXPECT_EQ(ReadNextTagInString(s, pos, TStrArray{}, attr, enc), -1);
}

TEST(ReadNextTagInString, NameEndsOnlyAtABlankAndNestedSameNameEndsEarly) {
  const TStrArray tags{u"font\nsize=\"3\"", u"a", u"other"};
  int32_t pos = 1;
  String attr, enc;
  EXPECT_EQ(ReadNextTagInString(u"<font\nsize=\"3\">x</font\nsize=\"3\">", pos, tags, attr, enc), 0);
  EXPECT_EQ(attr, u"");
  EXPECT_EQ(enc, u"x");
  pos = 1;
  EXPECT_EQ(ReadNextTagInString(u"<a><a>in</a>out</a>", pos, tags, attr, enc), 1);
  EXPECT_EQ(enc, u"<a>in");
  EXPECT_EQ(pos, 13);
}

TEST(DetectNextTagInString, WalksWithoutReadingContent) {
  const TStrArray tags{u"a", u"b", u"?"};
  const String s = u"x<!c><a k=1>t<b/></A >";
  int32_t pos = 1, start = -1;
  String attr;
  bool endTag = true;
  EXPECT_EQ(DetectNextTagInString(s, pos, start, tags, attr, endTag), 0);
  EXPECT_EQ(start, 6);
  EXPECT_EQ(pos, 13);
  EXPECT_EQ(attr, u"k=1");
  EXPECT_FALSE(endTag);
  EXPECT_EQ(DetectNextTagInString(s, pos, start, tags, attr, endTag), 1);
  EXPECT_EQ(start, 14);
  EXPECT_EQ(attr, u"");
  EXPECT_FALSE(endTag);
  EXPECT_EQ(DetectNextTagInString(s, pos, start, tags, attr, endTag), 0);
  EXPECT_TRUE(endTag);
  EXPECT_EQ(start, 18);
  EXPECT_EQ(DetectNextTagInString(s, pos, start, tags, attr, endTag), -1);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(pos, static_cast<int32_t>(s.size()) + 1);
}
