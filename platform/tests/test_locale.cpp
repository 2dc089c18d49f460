// Locale case mapping and comparison.
#include <gtest/gtest.h>

#include "kyn/platform/locale.h"

using namespace kyn;

TEST(Locale, CaseMappingBeyondAscii) {
  EXPECT_EQ(LocaleUpper(S("ärger straße ω")), S("ÄRGER STRASSE Ω"));
  EXPECT_EQ(LocaleLower(S("ÄRGER Ω ABC")), S("ärger ω abc"));
  EXPECT_EQ(LocaleUpper(u""), u"");
  const String lone = u"a\xD800z";  // a lone surrogate passes through
  EXPECT_EQ(LocaleUpper(lone), u"A\xD800Z");
  const String longText(5000, u'q');
  EXPECT_EQ(LocaleUpper(longText), String(5000, u'Q'));
}

TEST(Locale, CompareTextIgnoresCaseOnly) {
  EXPECT_EQ(LocaleCompareText(S("Ärger"), S("äRGER")), 0);
  EXPECT_TRUE(LocaleSameText(u"Hello", u"hELLO"));
  EXPECT_FALSE(LocaleSameText(u"resume", S("résumé")));
  EXPECT_LT(LocaleCompareText(u"apple", u"Banana"), 0);  // not code-unit order
  EXPECT_GT(LocaleCompareText(u"b", u"A"), 0);
  EXPECT_TRUE(LocaleSameText(u"", u""));
}
