// Word separators, words, sub-strings, Tokenize and ReadLnString.
#include <gtest/gtest.h>

#include "kyn/stringl/strings.h"

using namespace kyn;
using namespace std::literals;

TEST(WordSeps, ExactlyTheTwentySixSeparators) {
  const StringView members = u"\0\n\r \"#%'()*+,-./:;<=>[\\]{}"sv;
  ASSERT_EQ(members.size(), 26u);
  for (unsigned c = 0; c < 0x10000; ++c)
    ASSERT_EQ(WordSeps.Contains(static_cast<char16_t>(c)), members.find(static_cast<char16_t>(c)) != StringView::npos)
        << "code " << c;
}

TEST(Words, CountWords) {
  struct {
    const char16_t* s;
    int32_t want;
  } cases[] = {
      {u"", 0},          {u"ab cd", 1},         {u"ab cd.", 2},        {u"a bc ", 1},
      {u"a, b, cc,", 1}, {u"ab\tcd ", 1},       {u"ab!cd?", 0},        {u"one two,three ", 3},
  };
  for (const auto& c : cases) EXPECT_EQ(CountWords(c.s), c.want) << StringToUtf8(c.s);
  EXPECT_EQ(CountWords(u"ab\0"sv), 1);  // code 0 is a separator
}

TEST(Words, ExtractWordFromString) {
  struct {
    const char16_t* s;
    int32_t pos;
    const char16_t* want;
    int32_t b, e;
  } cases[] = {
      {u"one two,three", 6, u"two", 5, 7},
      {u"one two,three", 5, u"two", 5, 7},
      {u"one two,three", 8, u",", 8, 8},
      {u"one two,three", 13, u"three", 9, 13},
      {u"one two,three", 1, u"one", 1, 3},
      {u"abc", 0, u"", 0, 0},
      {u"abc", 4, u"", 0, 0},
      {u"", 1, u"", 0, 0},
      {u"a\tb c", 1, u"a\tb", 1, 3},
  };
  for (const auto& c : cases) {
    int32_t b = -1, e = -1;
    EXPECT_EQ(ExtractWordFromString(c.s, c.pos, b, e), c.want) << StringToUtf8(c.s) << " @" << c.pos;
    EXPECT_EQ(b, c.b) << StringToUtf8(c.s) << " @" << c.pos;
    EXPECT_EQ(e, c.e) << StringToUtf8(c.s) << " @" << c.pos;
    EXPECT_EQ(ExtractWordFromString(c.s, c.pos), c.want);
  }
}

TEST(Words, ExtractSubString) {
  struct {
    const char16_t* s;
    int32_t ix;
    const char16_t* delim;
    const char16_t* want;
  } cases[] = {
      {u"a;bb;;c", 0, u";", u"a"},  {u"a;bb;;c", 1, u";", u"bb"},  {u"a;bb;;c", 2, u";", u""},
      {u"a;bb;;c", 3, u";", u"c"},  {u"a;bb;;c", 4, u";", u""},    {u"a;bb;;c", -1, u";", u""},
      {u"", 0, u";", u""},          {u"a::b", 1, u"::", u"b"},     {u"x--y", 1, u"--", u"y"},
      {u"abXYc", 0, u"xy", u"abXYc"},  // the search is case-sensitive
      {u"XYab", 0, u"xy", u""},        // but a part beginning with the delimiter in any case is ""
      {u"abc", 0, u"", u"abc"},     {u"abc", 1, u"", u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExtractSubString(c.s, c.ix, c.delim), c.want)
        << StringToUtf8(c.s) << " [" << c.ix << "] by " << StringToUtf8(c.delim);
  // Locale folding for the "begins with" test.
  EXPECT_EQ(ExtractSubString(S("ÄBc"), 0, S("äb")), u"");
  // Code 0 does not end the string.
  EXPECT_EQ(ExtractSubString(u"a\0b;c"sv, 1, u";"), u"c");
}

TEST(Tokenize, Plain) {
  TOpenStringArray parts;
  EXPECT_EQ(Tokenize(u"a,b,,c", u",", parts), 4);
  EXPECT_EQ(parts, (TOpenStringArray{u"a", u"b", u"", u"c"}));
  EXPECT_EQ(Tokenize(u"", u",", parts), 1);
  EXPECT_EQ(parts, (TOpenStringArray{u""}));
  EXPECT_EQ(Tokenize(u"a,", u",", parts), 2);
  EXPECT_EQ(parts, (TOpenStringArray{u"a", u""}));
  EXPECT_EQ(Tokenize(u"a<->b<->c", u"<->", parts), 3);
  EXPECT_EQ(parts, (TOpenStringArray{u"a", u"b", u"c"}));
  EXPECT_EQ(Tokenize(u"a,b", u"", parts), 1);
  EXPECT_EQ(parts, (TOpenStringArray{u"a,b"}));
}

TEST(Tokenize, AtMostHundredPartsTheLastKeepsTheRest) {
  String s;
  for (int i = 0; i < 150; ++i) s += u"x,";
  TOpenStringArray parts;
  ASSERT_EQ(Tokenize(s, u",", parts), 100);
  ASSERT_EQ(parts.size(), 100u);
  EXPECT_EQ(parts[98], u"x");
  String rest;
  for (int i = 0; i < 51; ++i) rest += u"x,";
  EXPECT_EQ(parts[99], rest);

  String exact;  // 99 delimiters: 100 parts, the last without delimiters
  for (int i = 0; i < 99; ++i) exact += u"y;";
  ASSERT_EQ(Tokenize(exact + u"z", u";", parts), 100);
  EXPECT_EQ(parts[99], u"z");
}

TEST(Tokenize, WithEscape) {
  struct {
    const char16_t* s;
    TOpenStringArray want;
  } cases[] = {
      {u"a\\,b,c", {u"a,b", u"c"}},
      {u"a\\\\b,c", {u"a\\b", u"c"}},
      {u"\\,", {u","}},
      {u",a", {u"", u"a"}},          // no predecessor at the start
      {u"a\\,\\,b", {u"a,,b"}},
      {u"a\\\\,b", {u"a,b"}},  // no split after an escape; "\\" -> "\", then "\," -> ","
      {u"a\\", {u"a\\"}},
  };
  for (const auto& c : cases) {
    TOpenStringArray parts;
    EXPECT_EQ(Tokenize(c.s, u",", u'\\', parts), static_cast<int32_t>(c.want.size())) << StringToUtf8(c.s);
    EXPECT_EQ(parts, c.want) << StringToUtf8(c.s);
  }
  // Replacements in the parts fold ASCII case: escape + "X" also stands for "x".
  TOpenStringArray parts;
  EXPECT_EQ(Tokenize(u"1\\X2x3", u"x", u'\\', parts), 2);
  EXPECT_EQ(parts, (TOpenStringArray{u"1x2", u"3"}));
}

TEST(ReadLnString, Modes) {
  struct Step {
    const char16_t* line;
    int32_t pos;
    bool end;
  };
  struct {
    StringView s;
    int32_t mode;
    std::vector<Step> steps;
  } cases[] = {
      {u"ab", 0, {{u"ab", 3, true}}},
      {u"ab\n", 0, {{u"ab", 4, false}, {u"", 4, true}}},
      {u"a\tb\n", 0, {{u"ab", 5, false}}},
      {u"a\r\nb", 0, {{u"a", 4, false}, {u"b", 5, true}}},
      {u"a\r\nb", 1, {{u"a", 3, false}, {u"b", 5, true}}},
      {u"a\r\nb", 2, {{u"a", 3, false}, {u"", 4, false}, {u"b", 5, true}}},
      {u"a\n\rb\rc", 3, {{u"a", 4, false}, {u"bc", 7, true}}},
      {u"a\r\nb\nc", 4, {{u"a", 4, false}, {u"bc", 7, true}}},
      {u"\na", 4, {{u"a", 3, true}}},
      {u"a\nb", 7, {{u"ab", 4, true}}},
      {u"", 0, {{u"", 1, true}}},
  };
  for (const auto& c : cases) {
    int32_t pos = 1;
    for (const Step& st : c.steps) {
      bool end = false;
      EXPECT_EQ(ReadLnString(c.s, pos, end, c.mode), st.line) << StringToUtf8(c.s) << " mode " << c.mode;
      EXPECT_EQ(pos, st.pos) << StringToUtf8(c.s) << " mode " << c.mode;
      EXPECT_EQ(end, st.end) << StringToUtf8(c.s) << " mode " << c.mode;
    }
  }
  // A position before the start counts as 1; one beyond the end reports the end.
  int32_t pos = -3;
  bool end = true;
  EXPECT_EQ(ReadLnString(u"xy\n", pos, end, 0), u"xy");
  EXPECT_FALSE(end);
  pos = 99;
  EXPECT_EQ(ReadLnString(u"xy", pos, end, 0), u"");
  EXPECT_TRUE(end);
  EXPECT_EQ(pos, 99);
}
