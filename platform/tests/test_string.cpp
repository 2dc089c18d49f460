// UTF-8 and Windows-1252 conversions.
#include <gtest/gtest.h>

#include "kyn/platform/string.h"

using namespace kyn;

TEST(Utf8, RoundTripsEveryPlane) {
  const std::string text = "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a ä € 😀 z
  const String s = Utf8ToString(text);
  EXPECT_EQ(s, String(u"a\u00E4\u20AC\U0001F600z"));
  EXPECT_EQ(StringToUtf8(s), text);
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
  struct Case {
    std::string in;
    String out;
  } cases[] = {
      {"\xC3", u"\uFFFD"},                  // cut short
      {"\xC0\xAF", u"\uFFFD"},              // overlong
      {"\xED\xA0\x80", u"\uFFFD"},          // encoded surrogate
      {"a\xFF" "b", u"a\uFFFDb"},           // invalid lead byte
      {"\xF4\x90\x80\x80", u"\uFFFD"},      // above U+10FFFF
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToString(c.in), c.out) << c.in;
  // A lone surrogate cannot be written as UTF-8.
  EXPECT_EQ(StringToUtf8(String(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Ansi, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const String wide = AnsiToString(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(StringToAnsi(wide), all);
  EXPECT_EQ(wide[0x80], u'\u20AC');
  EXPECT_EQ(wide[0x9F], u'\u0178');
  EXPECT_EQ(wide[0xE4], u'\u00E4');
}

TEST(Ansi, CharactersOutsideTheCodePageAreReplaced) {
  EXPECT_EQ(WideCharToAnsi(u'\u20AC'), 0x80);
  EXPECT_EQ(WideCharToAnsi(u'\u0100'), -1);
  EXPECT_EQ(StringToAnsi(u"x\u0100y\u4E2D"), "x?y?");
  EXPECT_EQ(StringToAnsi(u"\u0100", '_'), "_");
}
