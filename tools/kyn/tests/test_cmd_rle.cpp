// kyn rle encode|decode.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "kyn_runner.h"

using kyntest::RunKyn;
using kyntest::TempDir;

namespace {

// Binary data with long runs, NUL bytes, lead-in bytes and runs above 255.
std::string SampleBytes() {
  std::mt19937 rng(11);
  std::string s;
  while (s.size() < 200000) {
    const char v = static_cast<char>(rng() % 3 == 0 ? 0xA5 : rng() % 4);
    s.append(rng() % 10 == 0 ? rng() % 700 : rng() % 3 + 1, v);
  }
  s.append(std::string("\0\xA5\xFF\n\r", 5));
  return s;
}

}  // namespace

TEST(KynRle, KnownCodedForm) {
  const auto r = RunKyn({"rle", "encode"}, "AAAAB");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, std::string("\xA5\x04" "A\xA5\x01" "B"));
  const auto empty = RunKyn({"rle", "encode"});
  EXPECT_EQ(empty.out, std::string("\xA5\0\0", 3));
  const auto back = RunKyn({"rle", "decode"}, r.out);
  EXPECT_EQ(back.status, 0) << back.err;
  EXPECT_EQ(back.out, "AAAAB");
}

TEST(KynRle, RoundTripOfABinaryFile) {
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  const std::string data = SampleBytes();
  const std::string file = dir.Write("data.bin", data);
  const auto enc = RunKyn({"rle", "encode", file});
  ASSERT_EQ(enc.status, 0) << enc.err;
  EXPECT_LT(enc.out.size(), data.size());
  // The same bytes through standard input code the same.
  EXPECT_EQ(RunKyn({"rle", "encode"}, data).out, enc.out);
  const auto decStdin = RunKyn({"rle", "decode"}, enc.out);
  ASSERT_EQ(decStdin.status, 0) << decStdin.err;
  EXPECT_TRUE(decStdin.out == data);
  const auto decFile = RunKyn({"rle", "decode", dir.Write("data.rle", enc.out)});
  ASSERT_EQ(decFile.status, 0) << decFile.err;
  EXPECT_TRUE(decFile.out == data);
}

TEST(KynRle, Failures) {
  struct Case {
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string errPart;
  };
  const Case cases[] = {
      {{"rle"}, "", 2, "subcommand"},
      {{"rle", "squash"}, "", 2, "subcommand"},
      {{"rle", "encode", "a", "b"}, "", 2, "b"},
      {{"rle", "encode", "/no/such/file"}, "", 1, "/no/such/file"},
      {{"rle", "decode"}, "x\xA5\x03", 1, "inside a run item"},
      {{"rle", "decode"}, "x\xA5", 1, "inside a run item"},
  };
  for (const Case& c : cases) {
    const auto r = RunKyn(c.args, c.input);
    EXPECT_EQ(r.status, c.status) << c.args.back();
    EXPECT_NE(r.err.find(c.errPart), std::string::npos) << r.err;
  }
  // What was decoded before the truncated item still comes out.
  EXPECT_EQ(RunKyn({"rle", "decode"}, "xy\xA5\x03").out, "xy");
}

TEST(KynRle, Help) {
  const auto r = RunKyn({"rle", "encode", "--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("FILE"), std::string::npos);
}
