// UU coding: known lines, round trips, leniency, and the standard tools.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "kyn/stringl/uucode.h"

using namespace kyn;
using namespace std::literals;

namespace {

String Bytes(const std::string& b) {
  String s;
  for (unsigned char c : b) s += static_cast<char16_t>(c);
  return s;
}

std::string ToBytes(StringView s) {
  std::string b;
  for (char16_t c : s) b += static_cast<char>(c);
  return b;
}

String Pseudo(size_t n, unsigned seed) {
  String s;
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    s += static_cast<char16_t>((seed >> 16) & 0xFF);
  }
  return s;
}

bool HaveTool(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

}  // namespace

TEST(UUCode, KnownLines) {
  EXPECT_EQ(UUEncodeStr(u"Cat"), u"#0V%T");
  EXPECT_EQ(UUEncodeStr(u"a"), u"!80``");  // zero bits as "`", never a blank
  EXPECT_EQ(UUEncodeStr(u""), u"");
  EXPECT_EQ(UUDecodeStr(u"#0V%T"), u"Cat");
  EXPECT_EQ(UUDecodeStr(u"!80  "), u"a");  // blanks for zero are read too
  EXPECT_EQ(UUDecodeStr(u"!80"), u"a");    // stripped trailing blanks
}

TEST(UUCode, LinesOfFortyFiveBytes) {
  const String s = Pseudo(100, 1);
  const String enc = UUEncodeStr(s);
  // 45 + 45 + 10 bytes: "M" lines of 61 characters, then "*" + 16.
  ASSERT_EQ(enc.size(), 61u + 1 + 61 + 1 + 17);
  EXPECT_EQ(enc[0], u'M');
  EXPECT_EQ(enc[62], u'M');
  EXPECT_EQ(enc[124], u'*');
  EXPECT_EQ(enc.find(u' '), String::npos);
  EXPECT_EQ(UUDecodeStr(enc), s);
}

TEST(UUCode, RoundTripEveryLength) {
  for (size_t n = 0; n < 200; ++n) {
    const String s = Pseudo(n, static_cast<unsigned>(n) + 7);
    ASSERT_EQ(UUDecodeStr(UUEncodeStr(s)), s) << n;
  }
  String all;
  for (unsigned c = 0; c < 256; ++c) all += static_cast<char16_t>(c);
  EXPECT_EQ(UUDecodeStr(UUEncodeStr(all)), all);
}

TEST(UUCode, InvalidInput) {
  EXPECT_EQ(UUEncodeStr(u"a\u0100"), u"");  // not a byte string
  EXPECT_EQ(UUDecodeStr(u"#0v%T"), u"");    // "v" is outside 32..96
  EXPECT_EQ(UUDecodeStr(u"\x7f" u"abc"), u"");
  EXPECT_EQ(UUDecodeStr(u""), u"");
}

TEST(UUCode, FramesAndLineEnds) {
  EXPECT_EQ(UUDecodeStr(u"begin 644 cat.txt\r\n#0V%T\r\n`\r\nend\r\n"), u"Cat");
  EXPECT_EQ(UUDecodeStr(u"#0V%T\n\n#0V%T\n`\n#0V%T"), u"CatCat");  // stops at the zero-length line
  EXPECT_EQ(UUDecodeStr(u"#0V%T\nend\n#0V%T"), u"Cat");
}

TEST(UUCode, StandardUudecodeReadsOurLines) {
  if (!HaveTool("uudecode")) GTEST_SKIP() << "uudecode (sharutils) not installed";
  char dir[] = "/tmp/kyn-uu-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string d = dir;
  const String data = Pseudo(1000, 99) + u"\0\xFF\n\r"s;
  {
    std::ofstream f(d + "/in.uu", std::ios::binary);
    f << "begin 644 out.bin\n" << ToBytes(UUEncodeStr(data)) << "\n`\nend\n";
  }
  ASSERT_EQ(std::system(("uudecode -o " + d + "/out.bin " + d + "/in.uu").c_str()), 0);
  EXPECT_EQ(Bytes(ReadFile(d + "/out.bin")), data);
  const int rc = std::system(("rm -rf " + d).c_str());
  (void)rc;
}

TEST(UUCode, WeReadTheStandardUuencode) {
  if (!HaveTool("uuencode")) GTEST_SKIP() << "uuencode (sharutils) not installed";
  char dir[] = "/tmp/kyn-uu-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string d = dir;
  const String data = Pseudo(500, 5);
  {
    std::ofstream f(d + "/in.bin", std::ios::binary);
    f << ToBytes(data);
  }
  ASSERT_EQ(std::system(("uuencode " + d + "/in.bin x > " + d + "/out.uu").c_str()), 0);
  EXPECT_EQ(UUDecodeStr(Bytes(ReadFile(d + "/out.uu"))), data);
  const int rc = std::system(("rm -rf " + d).c_str());
  (void)rc;
}
