// kyn grep and kyn regex.
#include <gtest/gtest.h>

#include <fstream>

#include "kyn_runner.h"

using kyntest::RunKyn;

TEST(KynGrep, PrintsMatchingLinesWithPositions) {
  const auto r = RunKyn({"grep", "a.*b"}, "xa1b2b\nnothing\r\nab\rzzz\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1:2:4:xa1b2b\n3:1:2:ab\n");
  EXPECT_TRUE(r.err.empty());
}

TEST(KynGrep, OptionsAndExitStatus) {
  struct Case {
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string out;
  } cases[] = {
      {{"grep", "ABC"}, "xAbc\n", 1, ""},
      {{"grep", "-i", "ABC"}, "xAbc\n", 0, "1:2:4:xAbc\n"},
      {{"grep", "--start", "2", "^ab"}, "abab\n", 1, ""},
      {{"grep", "--start", "2", "ab"}, "abab\n", 0, "1:3:4:abab\n"},
      {{"grep", "b*$"}, "a\n", 0, "1:2:1:a\n"},
      {{"grep", "\xce\xbb+x"}, "\xc3\xa9\xce\xbb\xce\xbbx\n", 0, "1:2:4:\xc3\xa9\xce\xbb\xce\xbbx\n"},
      {{"grep", "x"}, "", 1, ""},
  };
  for (const Case& c : cases) {
    const auto r = RunKyn(c.args, c.input);
    EXPECT_EQ(r.status, c.status) << c.args.back() << r.err;
    EXPECT_EQ(r.out, c.out) << c.args.back();
  }
}

TEST(KynGrep, BadPatternIsStatus2WithLibraryText) {
  const auto r = RunKyn({"grep", "[]"}, "abc\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("error in regular expression - empty set"), std::string::npos) << r.err;
  const auto q = RunKyn({"grep", "a**"}, "abc\n");
  EXPECT_EQ(q.status, 2);
  EXPECT_NE(q.err.find("*, ?, + have to be applied to groups or sets only"), std::string::npos) << q.err;
}

TEST(KynGrep, ReadsFiles) {
  kyntest::TempDir tmp;
  const std::string a = tmp.Write("a.txt", "key=1\nother\n"), b = tmp.Write("b.txt", "none\nkey=\n");
  auto r = RunKyn({"grep", "^key=.*", a});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1:1:5:key=1\n");
  r = RunKyn({"grep", "^key=.*", a, b});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, a + ":1:1:5:key=1\n" + b + ":2:1:4:key=\n");
  r = RunKyn({"grep", "x", tmp.File("missing.txt")});
  EXPECT_EQ(r.status, 2);
  EXPECT_FALSE(r.err.empty());
}

TEST(KynRegex, PrintsTheTokenListing) {
  auto r = RunKyn({"regex", "--print", "ab*[0-9]"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, " taNormal: a\n  taMult0: (string) b\n    taSet: 0123456789\nno errors\n");
  r = RunKyn({"regex", "--print", "a]"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, " taNormal: a\nmismatch of set brackets\n");
  EXPECT_NE(r.err.find("mismatch of set brackets"), std::string::npos);
  r = RunKyn({"regex", "ab"});
  EXPECT_EQ(r.status, 2);
}
