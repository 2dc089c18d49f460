// kyn str: the string toolbox subcommands.
#include <gtest/gtest.h>

#include "kyn_runner.h"

using kyntest::RunKyn;

TEST(KynStr, FunctionsOnArguments) {
  struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"str", "tokenize", "a,b,,c"}, "a\nb\n\nc\n"},
      {{"str", "tokenize", "-d", "::", "x::y"}, "x\ny\n"},
      {{"str", "tokenize", "-e", "\\", "a\\,b,c"}, "a,b\nc\n"},
      {{"str", "tokenize", "--count", "a,b,,c"}, "4\n"},
      {{"str", "strip", "  a b  "}, "a b\n"},
      {{"str", "strip", "--leading", "   "}, " \n"},
      {{"str", "strip", "--trailing", "  a  "}, "  a\n"},
      {{"str", "strip", "--leading", "--char", "0", "0042"}, "42\n"},
      {{"str", "strip", "--trailing", "--char", "0", "000"}, "0\n"},
      {{"str", "center", "ab", "5"}, " ab  \n"},
      {{"str", "center", "abcdef", "3"}, "abc\n"},
      {{"str", "abbrev", "abcdefgh", "5"}, "abc..\n"},
      {{"str", "capitalize", "hello world-wide 2nd"}, "Hello World-Wide 2nd\n"},
      {{"str", "countwords", "ab cd."}, "2\n"},
      {{"str", "expanddiphthongs", "Äpfel ÄRGER Straße"}, "Aepfel AERGER Strasse\n"},
      {{"str", "urlsafe", "Grüße aus Köln!"}, "Gr__e_aus_K_ln_\n"},
      {{"str", "changecase", "Ärger"}, "äRGER\n"},
      {{"str", "hexchars", "A\\#42C"}, "ABC\n"},
  };
  for (const auto& c : cases) {
    const auto r = RunKyn(c.args);
    EXPECT_EQ(r.status, 0) << c.args[1] << ": " << r.err;
    EXPECT_EQ(r.out, c.out) << c.args[1] << " " << c.args.back();
  }
}

TEST(KynStr, TextFromStandardInput) {
  const auto r = RunKyn({"str", "capitalize"}, "two words\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Two Words\n");
  EXPECT_EQ(RunKyn({"str", "tokenize"}, "p,q\r\n").out, "p\nq\n");
}

TEST(KynStr, ScrambleRoundTrips) {
  const std::string text = "Grüße, \\ Welt! 42 \t zeilen\n";
  for (const char* seed : {"5807", "1"}) {
    const auto sc = RunKyn({"str", "scramble", "--seed", seed, "--escape", text});
    ASSERT_EQ(sc.status, 0) << sc.err;
    ASSERT_NE(sc.out, text + "\n");
    std::string escaped = sc.out.substr(0, sc.out.size() - 1);
    // Every control character is escaped, so the line is one line.
    EXPECT_EQ(escaped.find('\n'), std::string::npos);
    const auto de = RunKyn({"str", "descramble", "--seed", seed, "--escaped", escaped});
    EXPECT_EQ(de.status, 0) << de.err;
    EXPECT_EQ(de.out, text + "\n");
  }
  // The default seed is the one of the module start-up, and another seed does
  // not restore the text.
  const auto a = RunKyn({"str", "scramble", "-x", "secret"});
  EXPECT_EQ(a.out, RunKyn({"str", "scramble", "-x", "-s", "5807", "secret"}).out);
  const std::string enc = a.out.substr(0, a.out.size() - 1);
  EXPECT_NE(RunKyn({"str", "descramble", "-x", "-s", "2", enc}).out, "secret\n");
  EXPECT_EQ(RunKyn({"str", "descramble", "-x", enc}).out, "secret\n");
}

TEST(KynStr, BadArgumentsAreUsageErrors) {
  const std::vector<std::vector<std::string>> bad = {
      {"str"},
      {"str", "nosuch"},
      {"str", "center", "ab", "256"},
      {"str", "center", "ab", "-1"},
      {"str", "center", "ab"},
      {"str", "abbrev", "ab", "x"},
      {"str", "tokenize", "-e", "ab", "x"},
      {"str", "strip", "--char", "x", "xax"},
      {"str", "strip", "--leading", "--trailing", "x"},
  };
  for (const auto& args : bad) {
    const auto r = RunKyn(args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_FALSE(r.err.empty()) << args.back();
    EXPECT_TRUE(r.out.empty()) << args.back();
  }
}

TEST(KynStr, EverySubcommandHasHelp) {
  for (const char* sub : {"tokenize", "strip", "center", "abbrev", "capitalize", "countwords", "expanddiphthongs",
                          "urlsafe", "changecase", "hexchars", "scramble", "descramble"}) {
    const auto r = RunKyn({"str", sub, "--help"});
    EXPECT_EQ(r.status, 0) << sub;
    EXPECT_NE(r.out.find("Usage"), std::string::npos) << sub;
  }
}

TEST(KynStr, DemoSection) {
  kyntest::TempDir tmp;
  const auto r = RunKyn({"demo", "--dir", tmp.File("out")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("## String toolbox"), std::string::npos);
  EXPECT_NE(r.out.find("[Aepfel, Strasse]"), std::string::npos);
  EXPECT_NE(r.out.find("DeScramble -> [secret]"), std::string::npos);
}
