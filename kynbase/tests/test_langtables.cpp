// The language tables: capacities, character set, index ranges and the
// entries callers rely on.
#include <gtest/gtest.h>

#include <string>

#include "kyn/kynbase/langtables.h"
#include "kyn/platform/string.h"

namespace {

using kyn::LangEntry;

// Every entry fits its capacity and consists of Windows-1252 characters only.
template <typename Range>
void ExpectStorable(const Range& entries, size_t capacity, const char* table) {
  for (const LangEntry& e : entries) {
    EXPECT_FALSE(e.empty()) << table;
    EXPECT_LE(e.size(), capacity) << table << ": " << kyn::StringToUtf8(e);
    for (char16_t c : e) EXPECT_GE(kyn::WideCharToAnsi(c), 0) << table << ": " << kyn::StringToUtf8(e);
    EXPECT_EQ(kyn::AnsiToString(kyn::StringToAnsi(e)), e) << table;
  }
}

TEST(LangTables, EveryEntryFitsItsCapacityInWindows1252) {
  for (int lg = kyn::lgUnknown; lg <= kyn::lgSpanish; ++lg) {
    ExpectStorable(kyn::MonthShort[lg], kyn::MonthShortCapacity, "MonthShort");
    ExpectStorable(kyn::MonthLong[lg], kyn::MonthLongCapacity, "MonthLong");
    ExpectStorable(kyn::WeekDayShort[lg], kyn::WeekDayShortCapacity, "WeekDayShort");
    ExpectStorable(kyn::WeekDayLong[lg], kyn::WeekDayLongCapacity, "WeekDayLong");
    ExpectStorable(kyn::NumWords[lg], kyn::NumWordsCapacity, "NumWords");
    ExpectStorable(kyn::LanguageID[lg], kyn::LanguageIDCapacity, "LanguageID");
  }
  ExpectStorable(kyn::ISO639_2Char, kyn::ISO639_2CharCapacity, "ISO639_2Char");
  ExpectStorable(kyn::ISO639_3Char, kyn::ISO639_3CharCapacity, "ISO639_3Char");
  ExpectStorable(kyn::HTMLLat1Entities, kyn::HTMLLat1EntitiesCapacity, "HTMLLat1Entities");
}

TEST(LangTables, IndexRangesStartWhereTheCalendarDoes) {
  EXPECT_EQ(kyn::MonthShort[kyn::lgEnglish][1], u"Jan");
  EXPECT_EQ(kyn::MonthShort[kyn::lgEnglish][12], u"Dec");
  EXPECT_EQ(kyn::MonthLong[kyn::lgUnknown][12], u"M12");
  EXPECT_EQ(kyn::WeekDayShort[kyn::lgEnglish][1], u"Mon");
  EXPECT_EQ(kyn::WeekDayLong[kyn::lgGerman][7], u"Sonntag");
  EXPECT_EQ(kyn::NumWords[kyn::lgEnglish][0], u"zero");
  EXPECT_EQ(kyn::NumWords[kyn::lgSpanish][12], u"doce");
  EXPECT_EQ(kyn::HTMLLat1Entities[160], u"&nbsp;");
  EXPECT_EQ(kyn::HTMLLat1Entities[255], u"&yuml;");
  EXPECT_EQ(kyn::MonthShort[0].size(), 12u);
  EXPECT_EQ(kyn::WeekDayLong[0].size(), 7u);
  EXPECT_EQ(kyn::NumWords[0].size(), 13u);
  EXPECT_EQ(kyn::HTMLLat1Entities.size(), 96u);
}

TEST(LangTables, TableContentsThatLookLikeMistakesAreKept) {
  EXPECT_EQ(kyn::MonthLong[kyn::lgFrench][2], u"février ");
  EXPECT_EQ(kyn::MonthLong[kyn::lgFrench][2].size(), 8u);
  EXPECT_EQ(kyn::MonthLong[kyn::lgSpanish][5], u"mai");
  EXPECT_EQ(kyn::NumWords[kyn::lgFrench][1], u"celui");
  EXPECT_EQ(kyn::MonthShort[kyn::lgFrench][6], u"juin");  // the one four-character short month
}

TEST(LangTables, AccentedEntriesHoldTheirWindows1252Bytes) {
  EXPECT_EQ(kyn::StringToAnsi(kyn::MonthShort[kyn::lgGerman][1]), "J\xE4n");
  EXPECT_EQ(kyn::StringToAnsi(kyn::WeekDayLong[kyn::lgSpanish][3]), "mi\xE9rcoles");
  EXPECT_EQ(kyn::StringToAnsi(kyn::LanguageID[kyn::lgGerman][kyn::lgFrench]), "franz\xF6sisch");
  EXPECT_EQ(kyn::StringToAnsi(kyn::NumWords[kyn::lgGerman][12]), "zw\xF6lf");
}

TEST(LangTables, LanguageNamesAndCodes) {
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(kyn::LanguageID[kyn::lgUnknown][i], u"???");
    EXPECT_EQ(kyn::LanguageID[i][kyn::lgUnknown], u"???");
  }
  EXPECT_EQ(kyn::LanguageID[kyn::lgEnglish][kyn::lgGerman], u"German");
  EXPECT_EQ(kyn::LanguageID[kyn::lgSpanish][kyn::lgSpanish], u"español");
  EXPECT_EQ(kyn::ISO639_2Char[kyn::lgFrench], u"fr");
  EXPECT_EQ(kyn::ISO639_3Char[kyn::lgGerman], u"ger");
  EXPECT_EQ(kyn::ISO639_3Char[kyn::lgFrench], u"fre");
}

TEST(LangTables, HtmlEntitiesAreNamedReferencesOfTheirCharacters) {
  EXPECT_EQ(kyn::HTMLLat1Entities[173], u"&shy;");
  EXPECT_EQ(kyn::HTMLLat1Entities[215], u"&times;");
  EXPECT_EQ(kyn::HTMLLat1Entities[223], u"&szlig;");
  EXPECT_EQ(kyn::HTMLLat1Entities[247], u"&divide;");
  for (const LangEntry& e : kyn::HTMLLat1Entities) {
    ASSERT_GE(e.size(), 4u);
    EXPECT_EQ(e.front(), u'&');
    EXPECT_EQ(e.back(), u';');
  }
  // Capital and small letters have the same name up to ASCII case.
  auto fold = [](LangEntry e) {
    std::u16string r(e);
    for (char16_t& c : r)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return r;
  };
  for (int c = 192; c <= 222; ++c) {
    if (c == 215) continue;  // times and divide
    EXPECT_EQ(fold(kyn::HTMLLat1Entities[c]), fold(kyn::HTMLLat1Entities[c + 32])) << c;
    EXPECT_NE(kyn::HTMLLat1Entities[c], kyn::HTMLLat1Entities[c + 32]) << c;
  }
}

}  // namespace
