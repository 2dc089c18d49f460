// Byte streams and text files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "kyn/platform.h"

using namespace kyn;

namespace {

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/kyn-platform-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }
  String Name(const char* leaf) const { return Utf8ToString(dir_ + "/" + leaf); }
  std::string Slurp(const char* leaf) const {
    std::ifstream f(dir_ + "/" + leaf, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  }
  void Put(const char* leaf, const std::string& bytes) const {
    std::ofstream(dir_ + "/" + leaf, std::ios::binary) << bytes;
  }
  std::string dir_;
};

}  // namespace

TEST(MemoryStream, ReadWriteSeekAndShortReads) {
  TMemoryStream m;
  m.WriteBuffer("hello", 5);
  EXPECT_EQ(m.Size(), 5);
  m.Seek(8, TSeekOrigin::soBeginning);  // past the end: a write fills the gap
  m.WriteBuffer("!", 1);
  EXPECT_EQ(m.Size(), 9);
  EXPECT_EQ(m.Bytes()[6], 0);
  m.SetPosition(3);
  char buf[16];
  EXPECT_EQ(m.Read(buf, 16), 6);
  m.SetPosition(7);
  EXPECT_THROW(m.ReadBuffer(buf, 5), EReadError);
  EXPECT_THROW(m.Seek(-1, TSeekOrigin::soBeginning), EStreamError);
  EXPECT_EQ(m.Seek(-2, TSeekOrigin::soEnd), 7);
}

TEST(StringStream, HoldsTextOneBytePerCharacter) {
  TStringStream s(String(u"\u00E4\u20AC\u0100"));
  EXPECT_EQ(s.DataString(), "\xE4\x80?");
  EXPECT_EQ(s.DataText(), u"\u00E4\u20AC?");
}

TEST_F(TempDir, FileStreamMixesBufferedReadsWritesAndSeeks) {
  {
    TFileStream f(Name("a.bin"), fmCreate);
    std::string big(200000, 'x');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + i % 26);
    f.WriteBuffer(big.data(), static_cast<int64_t>(big.size()));
    EXPECT_EQ(f.Size(), 200000);  // pending bytes count
    f.SetPosition(100);
    f.WriteBuffer("XYZ", 3);
    f.SetPosition(99);
    char b[5] = {};
    f.ReadBuffer(b, 5);  // reads across the overwritten bytes
    EXPECT_EQ(std::string(b, 5), "vXYZz");
    f.Seek(0, TSeekOrigin::soEnd);
    f.WriteBuffer("END", 3);
  }
  const std::string all = Slurp("a.bin");
  ASSERT_EQ(all.size(), 200003u);
  EXPECT_EQ(all.substr(99, 5), "vXYZz");
  EXPECT_EQ(all.substr(200000), "END");

  TFileStream r(Name("a.bin"), fmOpenRead);
  std::string got;
  char c;
  while (r.Read(&c, 1) == 1) got += c;  // one byte per call, as readers do
  EXPECT_EQ(got, all);
  EXPECT_THROW(r.WriteBuffer("x", 1), EWriteError);
}

TEST_F(TempDir, FileStreamOpenFailuresArePlatformErrors) {
  EXPECT_THROW(TFileStream(Name("missing"), fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(Name("no/such/dir/x"), fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream(Utf8ToString(dir_), fmOpenRead), EFOpenError);
}

TEST_F(TempDir, TextFileReadsEveryLineEndAndCharacters) {
  Put("t.txt", std::string("one\r\ntwo\nthree\rfour\xE4\r\n\r\nlast"));
  TTextFile f;
  f.Reset(Name("t.txt"));
  std::vector<String> lines;
  while (!f.Eof()) lines.push_back(f.ReadLn());
  EXPECT_EQ(lines, (std::vector<String>{u"one", u"two", u"three", u"four\u00E4", u"", u"last"}));
  f.Reset();
  String chars;
  for (int i = 0; i < 5; ++i) chars += f.ReadChar();
  EXPECT_EQ(chars, u"one\r\n");
  f.Close();
  EXPECT_THROW(f.ReadLn(), EInOutError);
}

TEST_F(TempDir, TextFileWritesCrLfInEitherEncodingAndAppends) {
  TTextFile w;
  w.Rewrite(Name("w.txt"));
  w.WriteLn(u"\u00E4\u20AC");
  w.Write(u"x");
  w.Close();
  EXPECT_EQ(Slurp("w.txt"), "\xE4\x80\r\nx");
  w.SetEncoding(TTextEncoding::Utf8);
  w.Append(Name("w.txt"));
  w.WriteLn(u"\U0001F600");
  w.Close();
  EXPECT_EQ(Slurp("w.txt"), "\xE4\x80\r\nx\xF0\x9F\x98\x80\r\n");
  w.Append(Name("new.txt"));  // created when missing
  w.WriteLn(u"n");
  w.Close();
  EXPECT_EQ(Slurp("new.txt"), "n\r\n");

  TTextFile r;
  r.SetEncoding(TTextEncoding::Utf8);
  r.Reset(Name("w.txt"));
  EXPECT_EQ(r.ReadLn(), u"\uFFFD");  // the 8-bit bytes are no UTF-8
  EXPECT_EQ(r.ReadLn(), u"x\U0001F600");
  EXPECT_THROW(r.Write(u"no"), EInOutError);
}

TEST_F(TempDir, TextFileReadsIntegerTokens) {
  Put("n.txt", "  12 -7\r\n+3\n\t99999999999 12x");
  TTextFile f;
  f.Reset(Name("n.txt"));
  EXPECT_EQ(f.ReadInteger(), 12);
  EXPECT_EQ(f.ReadInteger(), -7);
  EXPECT_EQ(f.ReadInteger(), 3);
  EXPECT_EQ(f.ReadInteger(), 99999999999);
  EXPECT_THROW(f.ReadInteger(), EInOutError);
  EXPECT_TRUE(f.Eof());
  EXPECT_EQ(f.ReadInteger(), 0);
}
