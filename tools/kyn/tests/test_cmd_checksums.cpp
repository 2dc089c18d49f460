// kyn crc32 / crc16 / sha1 / ascii85 / comb / perm.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "kyn_runner.h"

using kyntest::RunKyn;

namespace {

// A folder in /tmp with a few files of different sizes and contents.
struct Files {
  Files() {
    std::string big;
    for (uint32_t i = 0; i < 300000; ++i) big += static_cast<char>((i * 7919u) >> 3);
    tmp.Write("empty", "");
    tmp.Write("digits", "123456789");
    tmp.Write("text with blank.txt", "The quick brown fox\njumps over the lazy dog\n");
    tmp.Write("big.bin", big);
    for (const char* name : {"empty", "digits", "text with blank.txt", "big.bin"}) paths.push_back(tmp.File(name));
  }
  kyntest::TempDir tmp;
  const std::string& dir = tmp.path();
  std::vector<std::string> paths;
};

// Standard output of a shell command.
std::string Shell(const std::string& cmd) {
  std::string out;
  FILE* f = popen(cmd.c_str(), "r");
  if (!f) return out;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), f)) > 0) out.append(buf.data(), n);
  pclose(f);
  return out;
}

std::string Quoted(const std::vector<std::string>& paths) {
  std::string s;
  for (const std::string& p : paths) s += " '" + p + "'";
  return s;
}

}  // namespace

TEST(CmdChecksums, StandardInputCheckValues) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const Case cases[] = {
      {{"crc32"}, "cbf43926  -\n"},
      {{"crc16"}, "31c3  -\n"},
      {{"crc16", "--mode", "zmodem"}, "31c3  -\n"},
      {{"crc16", "--mode", "ccitt"}, "29b1  -\n"},
      {{"sha1"}, "f7c3bc1d808e04732adf679965ccc34ca7ae3441  -\n"},
      {{"sha1", "-"}, "f7c3bc1d808e04732adf679965ccc34ca7ae3441  -\n"},
  };
  for (const Case& c : cases) {
    const auto r = RunKyn(c.args, "123456789");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out) << c.args[0];
  }
}

TEST(CmdChecksums, Sha1AgreesWithSha1sum) {
  Files f;
  std::vector<std::string> args{"sha1"};
  args.insert(args.end(), f.paths.begin(), f.paths.end());
  const auto r = RunKyn(args);
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string want = Shell("sha1sum" + Quoted(f.paths));
  ASSERT_FALSE(want.empty());
  EXPECT_EQ(r.out, want);
}

TEST(CmdChecksums, Crc32AgreesWithZlib) {
  Files f;
  std::vector<std::string> args{"crc32"};
  args.insert(args.end(), f.paths.begin(), f.paths.end());
  const auto r = RunKyn(args);
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string want = Shell(
      "python3 -c 'import sys, zlib\nfor p in sys.argv[1:]:\n"
      "    print(\"%08x  %s\" % (zlib.crc32(open(p, \"rb\").read()), p))'" + Quoted(f.paths));
  ASSERT_FALSE(want.empty());
  EXPECT_EQ(r.out, want);
}

TEST(CmdChecksums, UnreadableFilesAreReportedAndTheRestPrinted) {
  Files f;
  const auto r = RunKyn({"crc32", f.dir + "/missing", f.dir + "/digits"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "cbf43926  " + f.dir + "/digits\n");
  EXPECT_NE(r.err.find("missing"), std::string::npos);
  EXPECT_EQ(RunKyn({"sha1", f.dir}).status, 1);  // a folder
}

TEST(CmdChecksums, Ascii85EncodeAndDecode) {
  auto r = RunKyn({"ascii85", "encode"}, "Man ");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "9jqo^~>\n");
  r = RunKyn({"ascii85", "decode"}, "9jqo^\n!b~>");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Man A");
  // Binary data through both directions, from a file.
  Files f;
  r = RunKyn({"ascii85", "encode", f.dir + "/big.bin"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto back = RunKyn({"ascii85", "decode"}, r.out);
  EXPECT_EQ(back.status, 0) << back.err;
  std::ifstream in(f.dir + "/big.bin", std::ios::binary);
  const std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(back.out == original);
  EXPECT_EQ(RunKyn({"ascii85", "encode"}).out, "~>\n");
}

TEST(CmdChecksums, Ascii85DecodeFailsOnBadInput) {
  auto r = RunKyn({"ascii85", "decode"}, "9j o^~>");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("status -1"), std::string::npos) << r.err;
  r = RunKyn({"ascii85", "decode"}, "9zqo^~>");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("status -2"), std::string::npos) << r.err;
  EXPECT_EQ(RunKyn({"ascii85", "recode"}).status, 2);
  EXPECT_EQ(RunKyn({"ascii85"}).status, 2);
  EXPECT_EQ(RunKyn({"ascii85", "decode", "/nonexistent/kyn-file"}).status, 1);
}

TEST(CmdChecksums, CombinationsAndPermutations) {
  auto r = RunKyn({"comb", "2", "4"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1 2\n1 3\n1 4\n2 3\n2 4\n3 4\n");
  r = RunKyn({"comb", "3", "3"});
  EXPECT_EQ(r.out, "1 2 3\n");
  r = RunKyn({"perm", "3"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1 2 3\n2 1 3\n2 3 1\n1 3 2\n3 1 2\n3 2 1\n");
  EXPECT_EQ(RunKyn({"perm", "1"}).out, "1\n");
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"comb", "3", "2"}, {"comb", "0", "4"}, {"comb", "2", "256"}, {"comb", "x", "4"},
        {"comb", "2"}, {"perm", "0"}, {"perm", "256"}, {"perm"}, {"crc16", "--mode", "kermit"}}) {
    const auto b = RunKyn(bad);
    EXPECT_EQ(b.status, 2) << bad[0] << " " << (bad.size() > 1 ? bad[1] : "");
    EXPECT_FALSE(b.err.empty());
    EXPECT_TRUE(b.out.empty());
  }
}

TEST(CmdChecksums, EverySubcommandHasHelp) {
  for (const char* sub : {"crc32", "crc16", "sha1", "ascii85", "comb", "perm"}) {
    const auto r = RunKyn({sub, "--help"});
    EXPECT_EQ(r.status, 0) << sub;
    EXPECT_NE(r.out.find(sub), std::string::npos) << sub;
  }
}

TEST(CmdChecksums, DemoSection) {
  kyntest::TempDir tmp;
  const auto r = RunKyn({"demo", "--dir", tmp.File("out")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("## Checksums and encodings"), std::string::npos);
  EXPECT_NE(r.out.find("cbf43926"), std::string::npos);
  EXPECT_NE(r.out.find("read back: yes, 3 entries"), std::string::npos);
}
