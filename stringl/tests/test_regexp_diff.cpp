// TGrep's matcher against a direct transcription of the backtracking
// recursion, and the pathological patterns that make that recursion take
// exponential time.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "grep_reference.h"
#include "kyn/stringl.h"

using kyn::String;
using kyn::TGrep;
using kyn::TGrepToken;
using kyntest::Reference;

namespace {

String RandomText(std::mt19937& rng, const std::u16string& alphabet, size_t maxLen) {
  String s(rng() % (maxLen + 1), u' ');
  for (char16_t& c : s) c = alphabet[rng() % alphabet.size()];
  return s;
}

}  // namespace

TEST(GrepDifferential, FastMatcherEqualsPlainRecursion) {
  std::mt19937 rng(20261211);
  const std::u16string patternChars = u"aaabbA.*+??*[]^$()-\\";
  int matches = 0, searches = 0;
  for (int round = 0; round < 4000; ++round) {
    const String pattern = RandomText(rng, patternChars, 12);
    const bool ignoreCase = rng() % 4 == 0;
    // Factor 0 always uses the table of failures, 1 usually starts plain and
    // switches over mid-search, the default mostly stays plain.
    for (int32_t factor : {0, 1, 4}) {
      TGrep g(nullptr);
      g.SetStopOnError(false);
      g.SetPlainSearchFactor(factor);
      g.SetIgnoreCase(ignoreCase);
      g.SetRegExp(pattern);
      Reference ref(g);
      std::mt19937 inputs(static_cast<uint32_t>(round));
      for (int i = 0; i < 6; ++i) {
        const String in = RandomText(inputs, u"aaabbcA", 16);
        const int32_t start = static_cast<int32_t>(inputs() % (in.size() + 4)) - 1;
        g.SetSearchStartPos(start);
        int32_t pos = -5, refPos = -5;
        const bool got = g.MatchString(in, pos);
        const bool want = ref.MatchString(in, start, refPos);
        const std::string where = kyn::StringToUtf8(pattern) + " in " + kyn::StringToUtf8(in) +
                                  " from " + std::to_string(start) + " factor " + std::to_string(factor);
        ASSERT_EQ(got, want) << where;
        ASSERT_EQ(pos, refPos) << where;
        ASSERT_EQ(g.MatchStartPos(), ref.StartPos()) << where;
        ASSERT_EQ(g.MatchEndPos(), ref.EndPos()) << where;
        for (int32_t k = 1; k <= g.NrOfRegExpTokens(); ++k)
          ASSERT_EQ(g.GetRegExpToken(k).ValidFrom, ref.ValidFrom(k)) << where << " token " << k;
        ++searches;
        matches += got;
      }
    }
  }
  // The random cases must exercise both outcomes.
  EXPECT_GT(matches, searches / 10);
  EXPECT_LT(matches, searches - searches / 10);
}

TEST(GrepDifferential, PathologicalPatternsStayExact) {
  // Small enough for the plain recursion, large enough to need the table.
  struct Case {
    const char* pattern;
    std::u16string input;
  } cases[] = {
      {"a*a*a*a*a*a*b", std::u16string(18, u'a')},
      {"a*a*a*a*a*a*b", std::u16string(18, u'a') + u"b"},
      {"(aa)*a*.*a+a?(aa)+c", std::u16string(16, u'a')},
      {"x.*.*.*.*.*y$", u"x" + std::u16string(14, u'y') + u"z"},
      {"[ab]*[ab]*a+b?[ab]*c", u"ababbabababaabab"},
  };
  for (const Case& c : cases) {
    TGrep g(nullptr);
    g.SetRegExp(kyn::S(c.pattern));
    Reference ref(g);
    int32_t pos = 0, refPos = 0;
    const bool got = g.MatchString(c.input, pos);
    ASSERT_EQ(got, ref.MatchString(c.input, 1, refPos)) << c.pattern;
    EXPECT_EQ(pos, refPos) << c.pattern;
    EXPECT_EQ(g.MatchEndPos(), ref.EndPos()) << c.pattern;
    for (int32_t k = 1; k <= g.NrOfRegExpTokens(); ++k)
      EXPECT_EQ(g.GetRegExpToken(k).ValidFrom, ref.ValidFrom(k)) << c.pattern << " token " << k;
  }
}

TEST(GrepDifferential, PathologicalPatternOnALongInputFinishes) {
  TGrep g(nullptr);
  g.SetRegExp(u"a*a*a*a*a*a*a*a*b");
  String in(100000, u'a');
  int32_t pos = 0;
  EXPECT_FALSE(g.MatchString(in, pos));
  EXPECT_EQ(pos, 100001);  // token 1 passes at every start, the last is L + 1
  for (int32_t k = 1; k <= 8; ++k) EXPECT_EQ(g.GetRegExpToken(k).ValidFrom, 100001) << k;
  EXPECT_EQ(g.GetRegExpToken(9).ValidFrom, 0);  // "b" never passed

  in.back() = u'b';
  EXPECT_TRUE(g.MatchString(in, pos));
  EXPECT_EQ(pos, 1);
  EXPECT_EQ(g.MatchEndPos(), 100000);

  // Quantified sets and groups in the middle, anchored at the end.
  g.SetRegExp(u"[a]*(a)*.*[ab]+a?.*c$");
  in.back() = u'a';
  EXPECT_FALSE(g.MatchString(in, pos));
}
