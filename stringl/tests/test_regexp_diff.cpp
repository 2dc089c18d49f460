// TGrep's matcher against a direct transcription of the backtracking
// recursion, and the pathological patterns that make that recursion take
// exponential time.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "kyn/stringl.h"

using kyn::String;
using kyn::TGrep;
using kyn::TGrepToken;

namespace {

// The plain recursion over a copy of the compiled tokens, with its own
// ValidFrom fields and match positions.
class Reference {
 public:
  explicit Reference(const TGrep& g) : n_(g.NrOfRegExpTokens()), ignoreCase_(g.IgnoreCase()) {
    tok_.resize(static_cast<size_t>(n_) + 1);
    for (int32_t k = 1; k <= n_; ++k) tok_[static_cast<size_t>(k)] = g.GetRegExpToken(k);
  }

  bool MatchString(const String& in, int32_t searchStart, int32_t& matchPos) {
    L_ = static_cast<int32_t>(in.size());
    if (n_ == 1 && tok_[1].Action == kyn::taMult0) {
      if (L_ >= searchStart || L_ == 0) {
        endPos_ = L_;
        startPos_ = matchPos = 1;
        tok_[1].ValidFrom = 1;
        return true;
      }
      return false;
    }
    const int32_t first = searchStart < 1 ? 1 : searchStart;
    if (n_ == 0) {
      if (first > L_ + 1) return false;
      startPos_ = matchPos = first;
      endPos_ = first - 1;
      return true;
    }
    s_ = in;
    if (ignoreCase_)
      for (char16_t& c : s_)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    bool found = false;
    for (int32_t i = first; i <= L_ + 1 && !found; ++i) {
      found = Match(i, 1);
      if (tok_[1].Action == kyn::taBol) break;
    }
    startPos_ = matchPos = tok_[1].ValidFrom;
    return found;
  }

  int32_t StartPos() const { return startPos_; }
  int32_t EndPos() const { return endPos_; }
  int32_t ValidFrom(int32_t k) const { return tok_[static_cast<size_t>(k)].ValidFrom; }

 private:
  char16_t At(int32_t p) const { return s_[static_cast<size_t>(p - 1)]; }
  bool Member(const TGrepToken& t, int32_t p) const { return At(p) < 256 && t.Params[At(p)] == u'*'; }
  bool Literal(const TGrepToken& t, int32_t p) const {
    if (p + t.NumChars - 1 > L_) return false;
    for (int32_t j = 1; j <= t.NumChars; ++j)
      if (At(p + j - 1) != t.Params[static_cast<size_t>(j)]) return false;
    return true;
  }
  // Length of the item's occurrence at p, 0 if none.
  int32_t Item(const TGrepToken& t, int32_t p) const {
    if (t.NumChars == 0) return p <= L_ ? 1 : 0;
    if (t.NumChars < 0) return p <= L_ && Member(t, p) ? 1 : 0;
    return Literal(t, p) ? t.NumChars : 0;
  }
  int32_t Chain(const TGrepToken& t, int32_t p) const {
    int32_t q = p;
    while (int32_t l = Item(t, q)) q += l;
    return q - 1;
  }

  bool Match(int32_t p, int32_t k) {
    TGrepToken& t = tok_[static_cast<size_t>(k)];
    bool pass = false;
    switch (t.Action) {
      case kyn::taNormal: pass = t.NumChars == 0 ? p <= L_ + 1 : Literal(t, p); break;
      case kyn::taAnyByte: pass = p <= L_; break;
      case kyn::taSet: pass = p <= L_ && Member(t, p); break;
      case kyn::taBol: pass = p == 1; break;
      case kyn::taEol: pass = p == L_ + 1 && k == n_; break;
      case kyn::taMult0:
      case kyn::taOpti: pass = true; break;
      case kyn::taMult1: pass = Item(t, p) > 0; break;
    }
    if (!pass) return false;
    t.ValidFrom = p;
    if (k == n_) {
      switch (t.Action) {
        case kyn::taNormal: endPos_ = p + t.NumChars - 1; break;
        case kyn::taAnyByte:
        case kyn::taSet: endPos_ = p; break;
        case kyn::taEol: endPos_ = L_; break;
        case kyn::taBol: endPos_ = 1; break;
        case kyn::taMult0:
        case kyn::taMult1: endPos_ = t.NumChars == 0 ? L_ : Chain(t, p); break;
        case kyn::taOpti:
          endPos_ = t.NumChars == 0 ? (p <= L_ ? p : L_) : p + Item(t, p) - 1;
          break;
      }
      return true;
    }
    switch (t.Action) {
      case kyn::taNormal: return Match(p + t.NumChars, k + 1);
      case kyn::taAnyByte:
      case kyn::taSet: return Match(p + 1, k + 1);
      case kyn::taBol: return Match(1, k + 1);
      case kyn::taMult0:
      case kyn::taMult1: {
        int32_t q = t.Action == kyn::taMult0 ? p : p + Item(t, p);
        for (;;) {
          if (Match(q, k + 1)) return true;
          const int32_t l = Item(t, q);
          if (l == 0) return false;
          q += l;
        }
      }
      case kyn::taOpti: {
        if (Match(p, k + 1)) return true;
        const int32_t l = Item(t, p);
        return l > 0 && Match(p + l, k + 1);
      }
      case kyn::taEol: return false;
    }
    return false;
  }

  std::vector<TGrepToken> tok_;
  int32_t n_;
  bool ignoreCase_;
  String s_;
  int32_t L_ = 0;
  int32_t startPos_ = 0;
  int32_t endPos_ = 0;
};

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
