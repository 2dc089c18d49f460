// TGrep: compilation, errors, matching strategy, token access and listing.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "kyn/stringl.h"

using kyn::S;
using kyn::String;
using kyn::TGrep;
using kyn::TGrepToken;

namespace {

struct Found {
  bool ok;
  int32_t start;
  int32_t end;
};

Found Match(TGrep& g, const String& input) {
  int32_t pos = -7;
  const bool ok = g.MatchString(input, pos);
  if (ok) {
    EXPECT_EQ(pos, g.MatchStartPos());
  }
  return {ok, g.MatchStartPos(), g.MatchEndPos()};
}

// A grep that records errors instead of raising them.
struct Quiet : TGrep {
  Quiet() : TGrep(nullptr) { SetStopOnError(false); }
  explicit Quiet(const std::string& pattern, bool ignoreCase = false) : Quiet() {
    SetIgnoreCase(ignoreCase);
    SetRegExp(S(pattern));
  }
};

String Literal(const TGrepToken& t) {
  return String(t.Params.data() + 1, static_cast<size_t>(t.NumChars));
}

}  // namespace

TEST(Grep, NewComponentState) {
  TGrep g(nullptr);
  EXPECT_FALSE(g.IgnoreCase());
  EXPECT_TRUE(g.StopOnError());
  EXPECT_EQ(g.SearchStartPos(), 1);
  EXPECT_EQ(g.MatchStartPos(), 0);
  EXPECT_EQ(g.MatchEndPos(), 0);
  EXPECT_EQ(g.RegExp(), u"");
  EXPECT_EQ(g.NrOfRegExpTokens(), 0);
  EXPECT_EQ(g.LastError(), 0);
}

TEST(Grep, ErrorCodesAndTexts) {
  struct Case {
    const char* pattern;
    int32_t code;
  } cases[] = {
      {"*a", 1},    {"$", 1},      {"+", 1},      {"?x", 1},    {"a**", 9},   {"^*", 9},
      {"[a]**", 9}, {"(a)+?", 9},  {"a$*", 3},    {"a^", 2},    {"(a^)", 2},  {"[a]^", 2},
      {"(a)^", 2},  {"[]", 4},     {"[a^]", 5},   {"a]", 6},    {"]", 6},     {"[a]]", 6},
      {"(a)]", 6},  {"[-a]", 7},   {"[a]-", 7},   {"[^-a]", 7}, {"a)", 8},    {")", 8},
      {"[a])", 8},  {"(a))", 8},   {"ab$c", 3},   {"a$$", 3},   {"[a-z", 0},  {"(ab", 0},
      {"a-b", 0},   {"(a)-", 0},   {"[a-]]", 0},  {"[^]", 0},   {"\\*a", 0},  {"a.b?c+d*", 0},
  };
  for (const Case& c : cases) {
    Quiet g(c.pattern);
    EXPECT_EQ(g.LastError(), c.code) << c.pattern;
  }
  const char* texts[] = {"no errors",
                         "reg.exp. must not start with $, *, ?, or +",
                         "circumflex not allowed here",
                         "no character allowed after end of line",
                         "empty set",
                         "circumflex has to be quoted in set",
                         "mismatch of set brackets",
                         "minus not allowed here",
                         "mismatch of group brackets",
                         "*, ?, + have to be applied to groups or sets only"};
  for (int code = 0; code <= 9; ++code) EXPECT_EQ(TGrep::ErrorText(code), S(texts[code])) << code;
  EXPECT_EQ(TGrep::ErrorText(-1), u"");
  EXPECT_EQ(TGrep::ErrorText(kyn::grepErrLast + 1), u"");
}

TEST(Grep, StopOnErrorRaisesWithComponentMessageAndKeepsPartialTokens) {
  TGrep g(nullptr);
  g.SetName(u"Finder");
  try {
    g.SetRegExp(u"ab[]");
    FAIL() << "no exception";
  } catch (const kyn::EKYNStringlError& e) {
    EXPECT_EQ(e.Message(), u"Component \"Finder\": error in regular expression - empty set");
  }
  EXPECT_EQ(g.RegExp(), u"ab[]");
  EXPECT_EQ(g.LastError(), 4);
  ASSERT_EQ(g.NrOfRegExpTokens(), 2);  // "ab" and the unfinished set
  EXPECT_EQ(g.GetRegExpToken(1).Action, kyn::taNormal);
  EXPECT_EQ(g.GetRegExpToken(2).Action, kyn::taSet);
  // The partial list is in force.
  int32_t pos = 0;
  EXPECT_FALSE(g.MatchString(u"xxab", pos));

  // The IgnoreCase writer only records.
  g.SetIgnoreCase(true);
  EXPECT_EQ(g.LastError(), 4);
  g.SetStopOnError(false);
  g.SetRegExp(u"a)");
  EXPECT_EQ(g.LastError(), 8);
  g.SetRegExp(u"ok");
  EXPECT_EQ(g.LastError(), 0);
}

TEST(Grep, MatchTable) {
  struct Case {
    const char* pattern;
    const char* input;
    int32_t startPos;
    bool ignoreCase;
    Found want;
  } cases[] = {
      {"abc", "xxabcxx", 1, false, {true, 3, 5}},
      {"a.*b", "a1b2b", 1, false, {true, 1, 3}},      // shortest in the middle
      {"ab*", "abbbc", 1, false, {true, 1, 4}},       // longest at the end
      {"a.*", "a1b2b", 1, false, {true, 1, 5}},
      {"x[0-9]+", "x123y", 1, false, {true, 1, 4}},
      {"(ab)+", "ababx", 1, false, {true, 1, 4}},
      {"x(ab)*", "xaba", 1, false, {true, 1, 3}},     // whole repetitions only
      {"x(ab)?", "xaba", 1, false, {true, 1, 3}},
      {"x(ab)?", "xa", 1, false, {true, 1, 1}},
      {"ab*", "a", 1, false, {true, 1, 1}},
      {"a$", "ba", 1, false, {true, 2, 2}},
      {"a.$", "ab", 1, false, {true, 1, 2}},
      {"a.$", "a", 1, false, {false, 0, 0}},
      {"b*$", "a", 1, false, {true, 2, 1}},           // empty match at the end
      {"x?", "abc", 1, false, {true, 1, 0}},          // empty match at the start
      {".?", "", 1, false, {true, 1, 0}},
      {"a.?", "ab", 1, false, {true, 1, 2}},
      {"a*", "bbb", 1, false, {true, 1, 3}},          // single zero-or-more token
      {"a*", "", 1, false, {true, 1, 0}},
      {"a*", "bbb", 4, false, {false, 0, 0}},
      {"a*", "", 5, false, {true, 1, 0}},
      {"^ab", "abab", 2, false, {false, 0, 0}},
      {"^ab", "abab", 1, false, {true, 1, 2}},
      {"^.*$", "abc", 1, false, {true, 1, 3}},
      {"ab", "abab", 2, false, {true, 3, 4}},
      {"ABC", "xAbc", 1, true, {true, 2, 4}},
      {"abc", "xAbc", 1, false, {false, 0, 0}},
      {"[A-C]+", "xAbc", 1, true, {true, 2, 4}},
      {"\\#41", "A", 1, true, {false, 0, 0}},          // folded input never holds "A"
      {"\\#41", "xA", 1, false, {true, 2, 2}},
      {"ca\\#2A", "bcaaa", 1, false, {true, 2, 5}},    // the escape yields "*"
      {"\\\\#41", "\\#41", 1, false, {true, 1, 4}},    // escaped backslash: no escape
      {"[^a]", "a", 1, false, {false, 0, 0}},
      {"[^a]", "ab", 1, false, {true, 2, 2}},
      {"[a-c]x", "dbx", 1, false, {true, 2, 3}},
      {"[\\]]", "a]", 1, false, {true, 2, 2}},
      {"[a-]]", "]", 1, false, {true, 1, 1}},         // "-" takes "]" as the range end
      {"a()*b", "axxb", 1, false, {true, 1, 4}},       // "()*" stands for ".*"
      {"a.*b", "axxb", 1, false, {true, 1, 4}},
      {"(a.b)", "xa.b", 1, false, {true, 2, 4}},
      {"(a.b)", "xaxb", 1, false, {false, 0, 0}},
      {"a\\.b", "axb a.b", 1, false, {true, 5, 7}},
      {"[\xce\xbb]", "x", 1, false, {false, 0, 0}},   // error 12 leaves a set without members
      {"a+b", "caaab", 1, false, {true, 2, 5}},
      {"a+", "caaab", 1, false, {true, 2, 4}},
      {".+", "abc", 1, false, {true, 1, 3}},
      {"x.*", "axbc", 1, false, {true, 2, 4}},
      {"x.+$", "axbc", 1, false, {true, 2, 4}},
      {"ab", "ab", 3, false, {false, 0, 0}},
      {"ab", "xab", 0, false, {true, 2, 3}},          // start below 1 searches from 1
      {"ab", "ab", 9, false, {false, 0, 0}},
  };
  for (const Case& c : cases) {
    Quiet g(c.pattern, c.ignoreCase);
    g.SetSearchStartPos(c.startPos);
    const Found got = Match(g, S(c.input));
    EXPECT_EQ(got.ok, c.want.ok) << c.pattern << " in " << c.input;
    if (c.want.ok && got.ok) {
      EXPECT_EQ(got.start, c.want.start) << c.pattern << " in " << c.input;
      EXPECT_EQ(got.end, c.want.end) << c.pattern << " in " << c.input;
    }
  }
}

TEST(Grep, FailureReportsLastStartWhereFirstTokenPassed) {
  Quiet g("a.c");
  EXPECT_TRUE(Match(g, u"xabc").ok);
  EXPECT_EQ(g.MatchEndPos(), 4);
  const Found f = Match(g, u"axxaxy");
  EXPECT_FALSE(f.ok);
  EXPECT_EQ(f.start, 4);  // "a" passed at 1 and 4
  EXPECT_EQ(f.end, 4);    // kept from the earlier match
  EXPECT_EQ(g.GetRegExpToken(1).ValidFrom, 4);

  // Token 1 passing nowhere leaves the value of the earlier search.
  EXPECT_FALSE(Match(g, u"zzz").ok);
  EXPECT_EQ(g.MatchStartPos(), 4);
  // Compilation clears it.
  g.SetRegExp(u"a.c");
  EXPECT_FALSE(Match(g, u"zzz").ok);
  EXPECT_EQ(g.MatchStartPos(), 0);
}

TEST(Grep, CompiledTokens) {
  {
    Quiet g("(ab)(cd)");
    ASSERT_EQ(g.NrOfRegExpTokens(), 2);
    EXPECT_EQ(g.GetRegExpToken(1).Action, kyn::taNormal);
    EXPECT_EQ(Literal(g.GetRegExpToken(1)), u"ab");
    EXPECT_EQ(Literal(g.GetRegExpToken(2)), u"cd");
  }
  {
    Quiet g("(ab)*(cd)");
    ASSERT_EQ(g.NrOfRegExpTokens(), 2);
    EXPECT_EQ(g.GetRegExpToken(1).Action, kyn::taMult0);
    EXPECT_EQ(Literal(g.GetRegExpToken(1)), u"ab");
    EXPECT_EQ(g.GetRegExpToken(2).Action, kyn::taNormal);
  }
  {
    Quiet g("abc+.?[x]*()+");
    ASSERT_EQ(g.NrOfRegExpTokens(), 5);
    const TGrepToken t1 = g.GetRegExpToken(1), t2 = g.GetRegExpToken(2), t3 = g.GetRegExpToken(3),
                     t4 = g.GetRegExpToken(4), t5 = g.GetRegExpToken(5);
    EXPECT_EQ(Literal(t1), u"ab");
    EXPECT_EQ(t2.Action, kyn::taMult1);
    EXPECT_EQ(Literal(t2), u"c");
    EXPECT_EQ(t3.Action, kyn::taOpti);
    EXPECT_EQ(t3.NumChars, 0);
    EXPECT_EQ(t4.Action, kyn::taMult0);
    EXPECT_EQ(t4.NumChars, -1);
    EXPECT_EQ(t5.Action, kyn::taMult1);
    EXPECT_EQ(t5.NumChars, 0);
  }
  {
    Quiet az("[a-z]"), za("[z-a]"), neg("[^\\^a-y]");
    EXPECT_EQ(az.GetRegExpToken(1).Params, za.GetRegExpToken(1).Params);
    const TGrepToken t = neg.GetRegExpToken(1);
    EXPECT_EQ(t.Params[u'z'], u'*');
    EXPECT_EQ(t.Params[u'b'], u' ');
    EXPECT_EQ(t.Params[u'^'], u' ');
    EXPECT_EQ(t.Params[0], u'*');
  }
  {
    // An unclosed negated set stays unnegated.
    Quiet g("[^a");
    EXPECT_EQ(g.LastError(), 0);
    EXPECT_EQ(g.GetRegExpToken(1).Params[u'a'], u'*');
    EXPECT_EQ(g.GetRegExpToken(1).Params[u'b'], u' ');
  }
  {
    // A range start after a range is its lower end: "z-a" then "-c" is a..c.
    Quiet g("[z-a-c]");
    EXPECT_EQ(g.GetRegExpToken(1).Params[u'z'], u'*');
    EXPECT_EQ(g.GetRegExpToken(1).Params[u'c'], u'*');
  }
  {
    Quiet g("a.b");
    EXPECT_EQ(g.GetRegExpToken(0).Action, kyn::taNormal);
    EXPECT_EQ(Literal(g.GetRegExpToken(0)), u"a");
    EXPECT_EQ(Literal(g.GetRegExpToken(99)), u"b");
    EXPECT_EQ(g.GetRegExpToken(2).Action, kyn::taAnyByte);
  }
}

TEST(Grep, IgnoreCaseRecompiles) {
  Quiet g("aB");
  EXPECT_FALSE(Match(g, u"xab").ok);
  g.SetIgnoreCase(true);
  EXPECT_EQ(Literal(g.GetRegExpToken(1)), u"ab");
  EXPECT_TRUE(Match(g, u"xAB").ok);
  EXPECT_EQ(g.MatchStartPos(), 2);
  g.SetIgnoreCase(false);
  EXPECT_FALSE(Match(g, u"xab").ok);
}

TEST(Grep, HexEscapes) {
  struct Case {
    const char* pattern;
    const char* literal;  // the single literal token compiled
  } cases[] = {
      {"\\#41\\#62", "Ab"},
      {"x\\#5C#41", "xA"},   // the produced backslash starts a new escape
      {"\\\\#41", "\\#41"},  // an escaped backslash stops the escape
      {"a\\#4", "a#4"},      // fewer than two characters: no escape
      {"a\\#", "a#"},
      {"\\#zz", "\0"},       // no hexadecimal digits: code 0
  };
  for (const Case& c : cases) {
    Quiet g(c.pattern);
    EXPECT_EQ(g.LastError(), 0) << c.pattern;
    ASSERT_EQ(g.NrOfRegExpTokens(), 1) << c.pattern;
    const String want = c.literal[0] ? S(c.literal) : String(1, u'\0');
    EXPECT_EQ(Literal(g.GetRegExpToken(1)), want) << c.pattern;
  }
}

TEST(Grep, LimitsAreSafe) {
  // 64 tokens compile, a 65th is error 10.
  std::string ok, tooMany;
  for (int i = 0; i < 32; ++i) ok += "a.";
  tooMany = ok + "b";
  Quiet g64(ok), g65(tooMany);
  EXPECT_EQ(g64.LastError(), 0);
  EXPECT_EQ(g64.NrOfRegExpTokens(), 64);
  EXPECT_EQ(g65.LastError(), kyn::grepErrTooManyTokens);
  EXPECT_EQ(g65.NrOfRegExpTokens(), 64);
  EXPECT_EQ(TGrep::ErrorText(10), u"too many tokens (at most 64)");
  // Splitting a quantified character off the 64th token also counts.
  Quiet split(ok.substr(0, 126) + "xy*");
  EXPECT_EQ(split.LastError(), kyn::grepErrTooManyTokens);

  // A long literal run continues in further tokens and still matches.
  std::string lit(600, 'q');
  lit[599] = 'r';
  Quiet longLit(lit + "s*");
  EXPECT_EQ(longLit.LastError(), 0);
  EXPECT_EQ(longLit.NrOfRegExpTokens(), 4);  // 255 + 255 + 90 + "s*"
  const Found f = Match(longLit, u"x" + S(lit) + u"ss");
  EXPECT_TRUE(f.ok);
  EXPECT_EQ(f.start, 2);
  EXPECT_EQ(f.end, 603);

  // Groups are limited to 255 characters.
  Quiet g255("(" + std::string(255, 'g') + ")"), g256("(" + std::string(256, 'g') + ")");
  EXPECT_EQ(g255.LastError(), 0);
  EXPECT_EQ(g256.LastError(), kyn::grepErrGroupTooLong);
  EXPECT_EQ(TGrep::ErrorText(11), u"group longer than 255 characters");

  // Set members above code 255.
  for (const char* p : {"[\xce\xbb]", "[a-\xce\xbb]", "[\\\xce\xbb]", "[^\xce\xbb]"}) {
    Quiet g(p);
    EXPECT_EQ(g.LastError(), kyn::grepErrSetMember) << p;
  }
  EXPECT_EQ(TGrep::ErrorText(12), u"set member above code 255");
  Quiet top("[\xc3\xbf]");  // code 255 itself is fine
  EXPECT_EQ(top.LastError(), 0);

  // Trailing lone backslash or dash.
  for (const char* p : {"a\\", "\\", "[a\\", "[\\", "(a\\", "[a-", "[]\\", "[a]\\", "(a)\\"}) {
    Quiet g(p);
    EXPECT_EQ(g.LastError(), p == std::string("[]\\") ? 4 : kyn::grepErrIncompleteEnd) << p;
  }
  EXPECT_EQ(TGrep::ErrorText(13), u"pattern ends with an incomplete escape or range");
}

TEST(Grep, InputAboveCode255IsNoSetMember) {
  Quiet neg("[^a]"), any(".");
  const String lambda = S("\xce\xbb");
  EXPECT_FALSE(Match(neg, lambda).ok);
  EXPECT_TRUE(Match(any, lambda).ok);
  Quiet lit(std::string("x") + "\xce\xbb");
  EXPECT_TRUE(Match(lit, u"ax" + lambda).ok);
  EXPECT_EQ(lit.MatchStartPos(), 2);
}

TEST(Grep, EmptyPatternMatchesEmptyStringAtStart) {
  Quiet g("");
  EXPECT_EQ(g.NrOfRegExpTokens(), 0);
  g.SetSearchStartPos(2);
  Found f = Match(g, u"abc");
  EXPECT_TRUE(f.ok);
  EXPECT_EQ(f.start, 2);
  EXPECT_EQ(f.end, 1);
  g.SetSearchStartPos(5);
  EXPECT_FALSE(Match(g, u"abc").ok);
}

TEST(Grep, ListingAndPrintRegExp) {
  struct Case {
    const char* pattern;
    std::vector<const char*> lines;
  } cases[] = {
      {"ab*[0-9]", {" taNormal: a", "  taMult0: (string) b", "    taSet: 0123456789", "no errors"}},
      {"^.(xy)?[ba]+.*$",
       {"    taBol: ", "taAnyByte: ", "   taOpti: (string) xy", "  taMult1: (set) ab",
        "  taMult0: (anychar) ", "    taEol: ", "no errors"}},
      {"a]", {" taNormal: a", "mismatch of set brackets"}},
      {"", {"no errors"}},
  };
  for (const Case& c : cases) {
    Quiet g(c.pattern);
    const std::vector<String> got = g.RegExpListing();
    ASSERT_EQ(got.size(), c.lines.size()) << c.pattern;
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], S(c.lines[i])) << c.pattern;
  }

  const std::string path = ::testing::TempDir() + "grep_listing.txt";
  {
    std::ofstream old(path);
    old << "old content that must disappear\n";
  }
  Quiet g("ab*[0-9]");
  g.PrintRegExp(S(path));
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  EXPECT_EQ(ss.str(), " taNormal: a\r\n  taMult0: (string) b\r\n    taSet: 0123456789\r\nno errors\r\n");

  EXPECT_THROW(g.PrintRegExp(u"/nonexistent-dir/x/listing.txt"), kyn::Exception);
  try {
    g.PrintRegExp(u"/nonexistent-dir/x/listing.txt");
  } catch (const kyn::EKYNError&) {
    ADD_FAILURE() << "a file failure is the platform's error";
  } catch (const kyn::Exception&) {
  }
}

TEST(Grep, OwnerDeletesComponent) {
  auto* owner = new kyn::TComponent(nullptr);
  auto* g = new TGrep(owner);
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(g->ClassName(), u"TGrep");
  delete owner;  // deletes g; leak checkers would report otherwise
}
