// Trimming, padding, searching, replacing, character classes and case.
#include <gtest/gtest.h>

#include <functional>

#include "kyn/stringl/strings.h"

using namespace kyn;

namespace {

struct StrCase {
  const char* what;
  String got;
  String want;
};

void ExpectAll(const std::vector<StrCase>& cases) {
  for (const StrCase& c : cases)
    EXPECT_EQ(StringToUtf8(c.got), StringToUtf8(c.want)) << c.what;
}

}  // namespace

TEST(Strip, BlanksAndChars) {
  ExpectAll({
      {"LT both ends", StripLTBlanks(u"  a b  "), u"a b"},
      {"LT blanks only", StripLTBlanks(u"   "), u""},
      {"LT leaves tabs", StripLTBlanks(u"\ta"), u"\ta"},
      {"LT empty", StripLTBlanks(u""), u""},
      {"leading", StripLeadingBlanks(u"  a "), u"a "},
      {"leading blanks only keep one", StripLeadingBlanks(u"   "), u" "},
      {"leading empty", StripLeadingBlanks(u""), u""},
      {"trailing", StripTrailingBlanks(u" a  "), u" a"},
      {"trailing blanks only keep one", StripTrailingBlanks(u"   "), u" "},
      {"trailing chars", StripTrailingChars(u'x', u"axxx"), u"a"},
      {"trailing chars only c", StripTrailingChars(u'x', u"xxx"), u"x"},
      {"trailing chars none", StripTrailingChars(u'x', u"xa"), u"xa"},
      {"leading chars", StripLeadingChars(u'x', u"xxab"), u"ab"},
      {"leading chars only c", StripLeadingChars(u'x', u"xxx"), u""},
  });
}

TEST(Pad, LeftRightCenterAbbrevMulti) {
  ExpectAll({
      {"left pads", LeftString(u"ab", 4), u"ab  "},
      {"left cuts", LeftString(u"abcdef", 3), u"abc"},
      {"left zero", LeftString(u"abc", 0), u""},
      {"right pads", RightString(u"ab", 4), u"  ab"},
      {"right cuts to first", RightString(u"abcdef", 3), u"abc"},
      {"center odd", CenterString(u"ab", 5), u" ab  "},
      {"center even", CenterString(u"ab", 6), u"  ab  "},
      {"center cuts", CenterString(u"abcdef", 3), u"abc"},
      {"center exact", CenterString(u"abc", 3), u"abc"},
      {"abbrev long", AbbrevString(u"abcdefgh", 5), u"abc.."},
      {"abbrev fits", AbbrevString(u"abc", 3), u"abc"},
      {"abbrev max 1", AbbrevString(u"abc", 1), u".."},
      {"abbrev negative", AbbrevString(u"", -1), u".."},
      {"multi 0", MultiChar(u'x', 0), u"x"},
      {"multi negative", MultiChar(u'x', -5), u"x"},
      {"multi 3", MultiChar(u'x', 3), u"xxx"},
      {"bkslash add", EnsureTrailingBkSlash(u"c:\\dir"), u"c:\\dir\\"},
      {"bkslash keep", EnsureTrailingBkSlash(u"c:\\"), u"c:\\"},
      {"bkslash empty", EnsureTrailingBkSlash(u""), u""},
      {"trailing char", EnsureTrailingChar(u'/', u"a"), u"a/"},
      {"trailing char empty", EnsureTrailingChar(u'/', u""), u""},
      {"leading char", EnsureLeadingChar(u'.', u"txt"), u".txt"},
      {"leading char keep", EnsureLeadingChar(u'.', u".txt"), u".txt"},
      {"leading char empty", EnsureLeadingChar(u'.', u""), u""},
  });
  EXPECT_EQ(MultiChar(u'x', 300).size(), 255u);
  EXPECT_EQ(FindFirstNonBlank(u"  a"), 3);
  EXPECT_EQ(FindFirstNonBlank(u"   "), 0);
  EXPECT_EQ(FindFirstNonBlank(u""), 0);
  EXPECT_EQ(FindFirstNonBlank(u"\t"), 1);
}

TEST(Search, NumberedPosAndPosLast) {
  struct {
    const char16_t* sub;
    const char16_t* s;
    int32_t start, n;
    bool ic;
    int32_t want;
  } cases[] = {
      {u"ab", u"xabyabab", 1, 2, false, 5},
      {u"ab", u"xabyabab", 3, 1, false, 5},
      {u"ab", u"xabyabab", 1, 3, false, 7},
      {u"ab", u"xabyabab", 1, 4, false, 0},
      {u"ab", u"xabyabab", 1, 0, false, 0},
      {u"ab", u"xabyabab", 1, -1, false, 0},
      {u"ab", u"xabyabab", -7, 1, false, 2},
      {u"ab", u"xabyabab", 9, 1, false, 0},
      {u"aa", u"aaaa", 1, 2, false, 3},  // no overlap
      {u"aa", u"aaaa", 2, 1, false, 2},
      {u"AB", u"xaBy", 1, 1, true, 2},
      {u"AB", u"xaBy", 1, 1, false, 0},
      {u"", u"abc", 1, 1, false, 0},
      {u"abc", u"ab", 1, 1, false, 0},
      {u"\u00C4", u"\u00E4\u00C4", 1, 1, true, 2},  // only A-Z fold
  };
  for (const auto& c : cases)
    EXPECT_EQ(NumberedPos(c.sub, c.s, c.start, c.n, c.ic), c.want)
        << StringToUtf8(c.sub) << " in " << StringToUtf8(c.s) << " start " << c.start << " n " << c.n;
  EXPECT_EQ(PosLast(u"ab", u"xabyab"), 5);
  EXPECT_EQ(PosLast(u"aa", u"aaa"), 1);
  EXPECT_EQ(PosLast(u"q", u"abc"), 0);
  EXPECT_EQ(PosLast(u"", u"abc"), 0);
}

TEST(Search, StringIxAndCounting) {
  const TStrArray list{u"alpha", u"Beta", u"beta", u""};
  EXPECT_EQ(StringIx(u"beta", list), 3);
  EXPECT_EQ(StringIx(u"BETA", list), 0);
  EXPECT_EQ(StringIx(u"", list), 4);
  EXPECT_EQ(StringIx(u"BETA", false, list), 2);
  EXPECT_EQ(StringIx(u"BETA", true, list), 0);
  EXPECT_EQ(StringIx(u"x", TStrArray{}), 0);

  EXPECT_EQ(CountStringInString(u"aa", u"aaaaa", true), 2);
  EXPECT_EQ(CountStringInString(u"Ab", u"abAB ab", false), 3);
  EXPECT_EQ(CountStringInString(u"Ab", u"abAB ab", true), 0);
  EXPECT_EQ(CountStringInString(u"", u"abc", true), 0);
  EXPECT_EQ(CountCharInString(u'a', u"aAbA", true), 1);
  EXPECT_EQ(CountCharInString(u'a', u"aAbA", false), 3);
  EXPECT_EQ(CountCharInString(u'\u00E4', S("äÄ"), false), 1);

  EXPECT_TRUE(TestAllChar(u"xxx", u'x'));
  EXPECT_FALSE(TestAllChar(u"xxy", u'x'));
  EXPECT_FALSE(TestAllChar(u"", u'x'));
}

TEST(CharClasses, TokensAndListedCharacters) {
  struct {
    const char16_t* s;
    const char16_t* list;
    bool contains, otherThan;
  } cases[] = {
      {u"abc1", u"//dig", true, true},
      {u"abc", u"//lc", true, false},
      {u"ABC", u"//uc", true, false},
      {u"ABC", u"//lc", false, true},
      {u"#", u"//dig//lc//uc//31dwn//128up", false, true},
      {u"#", u"/#/dig", true, false},  // "/", "#", "d", "i", "g" listed, not the digits
      {u"5", u"/#/dig", false, true},
      {u"aB", u"//lc//uc", true, false},
      {u"a\tb", u"//lc", true, true},
      {u"a\tb", u"//lc//31dwn", true, false},
      {u"\u00E9", u"//128up", true, false},
      {u"x", u"xyz", true, false},
      {u"x/", u"//lc", true, true},  // "/" of a token is not a member
      {u"/", u"///lc", true, false},  // the first "/" is a plain member
      {u"", u"//lc", false, false},
      {u"abc", u"", false, true},
      {u"\u4E2D", u"//128up", false, true},  // above 255: never a member
      {u"a", u"\u0161a", true, false},       // list character above 255 ignored
      {u"5", u"//dig//dig", true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StringContains(c.s, c.list), c.contains) << StringToUtf8(c.s) << " / " << StringToUtf8(c.list);
    EXPECT_EQ(StringContainsOtherThan(c.s, c.list), c.otherThan)
        << StringToUtf8(c.s) << " / " << StringToUtf8(c.list);
  }
}

TEST(Replace, ReplaceStringInString) {
  ExpectAll({
      {"plain", ReplaceStringInString(u"a-b-c", u"-", u"+", false), u"a+b+c"},
      {"grows, terminates", ReplaceStringInString(u"aaa", u"a", u"aa", false), u"aaaaaa"},
      {"no overlap", ReplaceStringInString(u"aaaa", u"aa", u"b", false), u"bb"},
      {"replacement not re-searched", ReplaceStringInString(u"ab", u"ab", u"aab", false), u"aab"},
      {"ignore case keeps replacement", ReplaceStringInString(u"xAbyaB", u"ab", u"Q", true), u"xQyQ"},
      {"case sensitive", ReplaceStringInString(u"xAbyab", u"ab", u"Q", false), u"xAbyQ"},
      {"delete", ReplaceStringInString(u"a--b", u"-", u"", false), u"ab"},
      {"empty find", ReplaceStringInString(u"abc", u"", u"x", false), u"abc"},
      {"not found", ReplaceStringInString(u"abc", u"z", u"x", false), u"abc"},
      {"char", ReplaceCharInString(u"a.b.c", u'.', u','), u"a,b,c"},
      {"remove char", RemoveCharInString(u"a.b.c", u'.'), u"abc"},
      {"remove controls", RemoveControlChars(u"a\tb\r\n\x1F c\x7F"), u"ab c\x7F"},
      {"az09", ReduceStringToAZ09(S("Grüße, Welt 42!")), u"Gr__e__Welt_42_"},
      {"fn83 allowed kept", ReduceStringToFN83CompliantChars(u"!#$%&'()-.09@AZ^_`az{}~"),
       u"!#$%&'()-.09@AZ^_`az{}~"},
      {"fn83 replaced", ReduceStringToFN83CompliantChars(S(" \"*+,/:;<=>?[\\]|\x7f\tä")), String(19, u'_')},
      {"reverse", ReverseString(u"abc"), u"cba"},
      {"reverse empty", ReverseString(u""), u""},
  });
}

TEST(Replace, ProcessHexChars) {
  ExpectAll({
      {"escape", ProcessHexChars(u"A\\#42C"), u"ABC"},
      {"lower hex", ProcessHexChars(u"\\#4a"), u"J"},
      {"doubled backslash", ProcessHexChars(u"\\\\#41"), u"\\#41"},
      {"two doubled", ProcessHexChars(u"\\\\\\\\"), u"\\\\"},
      {"lone backslash kept", ProcessHexChars(u"a\\b"), u"a\\b"},
      {"last backslash kept", ProcessHexChars(u"ab\\"), u"ab\\"},
      {"result not re-read", ProcessHexChars(u"\\#5C\\#41"), u"\\A"},
      {"high code", ProcessHexChars(u"\\#E4"), u"\u00E4"},
      {"one digit at end", ProcessHexChars(u"x\\#7"), u"x\x07"},
      {"no digits", ProcessHexChars(u"\\#zzq"), String(1, u'\0') + u"q"},
      {"nothing after #", ProcessHexChars(u"\\#"), String(1, u'\0')},
  });
}

TEST(Replace, ExpandDiphthongs) {
  ExpectAll({
      {"Äpfel", ExpandDiphthongs(S("Äpfel")), u"Aepfel"},
      {"ÄRGER", ExpandDiphthongs(S("ÄRGER")), u"AERGER"},
      {"Straße", ExpandDiphthongs(S("Straße")), u"Strasse"},
      {"small", ExpandDiphthongs(S("äöü")), u"aeoeue"},
      {"Ö at end", ExpandDiphthongs(S("Ö")), u"OE"},
      {"Ü before digit", ExpandDiphthongs(S("Ü1")), u"UE1"},
      {"Ü before Ü", ExpandDiphthongs(S("ÜÜber")), u"UEUeber"},
      {"Ü before ä (next not a-z)", ExpandDiphthongs(S("Üä")), u"UEae"},
      {"micro", ExpandDiphthongs(S("5µm")), u"5um"},
      {"others untouched", ExpandDiphthongs(S("é€")), S("é€")},
  });
}

TEST(CharTests, Tables) {
  const std::pair<std::function<bool(char16_t)>, const char16_t*> tests[] = {
      {IsDigit, u"0123456789"},
      {IsLetter, u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"},
      {IsDigitLetter, u"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"},
      {IsHexChar, u"0123456789abcdefABCDEF"},
      {IsUmlaut, u"\u00E4\u00F6\u00FC\u00C4\u00D6\u00DC\u00DF"},
  };
  for (const auto& [fn, members] : tests) {
    const StringView m(members);
    for (unsigned c = 0; c < 0x10000; ++c)
      ASSERT_EQ(fn(static_cast<char16_t>(c)), m.find(static_cast<char16_t>(c)) != StringView::npos)
          << "code " << c << " members " << StringToUtf8(members);
  }
}

TEST(Case, CapitalizeString) {
  ExpectAll({
      {"words", CapitalizeString(u"hello world-wide 2nd"), u"Hello World-Wide 2nd"},
      {"digit first", CapitalizeString(u"1abc"), u"1abc"},
      {"umlaut starts word unchanged", CapitalizeString(S("äbc abc")), S("äbc Abc")},
      {"punctuation", CapitalizeString(u"(a)b.c"), u"(A)B.C"},
      {"tab separates", CapitalizeString(u"a\tb"), u"A\tB"},
  });
}

TEST(Case, IsAbbreviation) {
  struct {
    const char* s;
    bool want;
  } cases[] = {{"NASA", true}, {"USB3", true}, {"PhD", false}, {"Bus", false}, {"", false},
               {"A", false},   {"AB cd", false}, {"AB c", true}, {"A-B", false}, {"ABC.de", true}};
  for (const auto& c : cases) EXPECT_EQ(IsAbbreviation(S(c.s)), c.want) << c.s;
}

TEST(Case, ChangeCaseUsesLocaleRules) {
  EXPECT_EQ(ChangeCase(u"aBc1"), u"AbC1");
  EXPECT_EQ(ChangeCase(S("äÖ")), S("Äö"));
  EXPECT_EQ(ChangeCase(S("straße")), S("STRASSE"));  // full mapping of ß
  EXPECT_EQ(ChangeCase(S("Ωω")), S("ωΩ"));
  EXPECT_EQ(ChangeCase(u""), u"");
}

TEST(Case, EqualAnsiStrings) {
  EXPECT_TRUE(EqualAnsiStrings(u"abc", u"ABC"));
  EXPECT_TRUE(EqualAnsiStrings(S("Ärger"), S("äRGER")));
  EXPECT_FALSE(EqualAnsiStrings(u"abc", u"abd"));
  EXPECT_FALSE(EqualAnsiStrings(u"e", S("é")));  // accents count
  EXPECT_FALSE(EqualAnsiStrings(u"ab", StringView(u"ab\0c", 4)));  // code 0 does not end
  EXPECT_TRUE(EqualAnsiStrings(u"", u""));
}
