// CRC-16, CRC-32, SHA-1, ASCII85, combinations, permutations, nearest value.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cmath>
#include <random>
#include <set>
#include <string>

#include "kyn/dstruct/checksums.h"

using namespace kyn;

namespace {

TBytes Bytes(std::string_view s) { return TBytes(s.begin(), s.end()); }

TBytes RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  TBytes b(n);
  for (auto& x : b) x = static_cast<uint8_t>(gen());
  return b;
}

uint32_t Crc32Bytewise(const uint8_t* p, size_t n, uint32_t crc = 0xFFFFFFFFu) {
  for (size_t i = 0; i < n; ++i) crc = CalcNextCRC32(p[i], crc);
  return crc;
}

uint16_t Crc16Bytewise(const uint8_t* p, size_t n, uint16_t crc) {
  for (size_t i = 0; i < n; ++i) crc = CalcNextCRC16(p[i], crc);
  return crc;
}

// A file in /tmp holding the given bytes, removed at the end of the test.
struct TempFile {
  explicit TempFile(const std::string& content) {
    char tmpl[] = "/tmp/kyn-checksums-XXXXXX";
    const int fd = mkstemp(tmpl);
    path = tmpl;
    if (fd >= 0) {
      if (!content.empty() && write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size()))
        path.clear();
      close(fd);
    }
  }
  ~TempFile() { std::remove(path.c_str()); }
  String name() const { return Utf8ToString(path); }
  std::string path;
};

std::string Hex(const TSHACode& d) { return StringToUtf8(SHA1DigestToHex(d)); }

TSHACode Sha1(const std::string& data, bool hardware) {
  TSHA1Context ctx(hardware);
  ctx.Update(data.data(), data.size());
  return ctx.Final();
}

}  // namespace

// ------------------------------------------------------------------ CRC

TEST(Crc, CheckValuesAndCounts) {
  const TBytes digits = Bytes("123456789");
  EXPECT_EQ(CRC16ofBuffer(digits, 9, crcZModem), 0x31C3);
  EXPECT_EQ(CRC16ofBuffer(digits, 9, crcCCITT), 0x29B1);
  EXPECT_EQ(CRC32ofBuffer(digits, 9), 0xCBF43926u);
  for (int32_t count : {0, -1, -2147483647 - 1}) {
    EXPECT_EQ(CRC16ofBuffer(digits, count, crcZModem), 0x0000) << count;
    EXPECT_EQ(CRC16ofBuffer(digits, count, crcCCITT), 0xFFFF) << count;
    EXPECT_EQ(CRC32ofBuffer(digits, count), 0x00000000u) << count;
  }
  // A count beyond the buffer covers the buffer and nothing more.
  for (int32_t count : {10, 4096, 2147483647}) {
    EXPECT_EQ(CRC16ofBuffer(digits, count, crcZModem), 0x31C3) << count;
    EXPECT_EQ(CRC32ofBuffer(digits, count), 0xCBF43926u) << count;
  }
  EXPECT_EQ(CRC32ofBuffer(TBytes{}, 5), 0u);
  // A partial count.
  EXPECT_EQ(CRC32ofBuffer(digits, 3), CRC32ofBuffer(Bytes("123"), 3));
}

TEST(Crc, TablesOfTheOneByteSteps) {
  EXPECT_EQ(CalcNextCRC16(1, 0), 0x1021);
  EXPECT_EQ(CalcNextCRC16(2, 0), 0x2042);
  EXPECT_EQ(CalcNextCRC32(1, 0) , 0x77073096u);
}

// Every fast path equals the one-byte loop, at every length around the block
// sizes and at unaligned starts.
TEST(Crc, FastPathsMatchTheOneByteStep) {
  const TBytes data = RandomBytes(4096 + 64, 7);
  const bool clmul = detail::Crc32HasClmul();
  const bool vpclmul = detail::Crc32HasVpclmul();
  for (size_t off : {0, 1, 3, 7}) {
    for (size_t len = 0; len <= 1200; len += (len < 600 ? 1 : 37)) {
      const uint8_t* p = data.data() + off;
      const uint32_t want32 = Crc32Bytewise(p, len);
      ASSERT_EQ(detail::Crc32Slice8(0xFFFFFFFFu, p, len), want32) << off << ' ' << len;
      if (clmul) { ASSERT_EQ(detail::Crc32Clmul(0xFFFFFFFFu, p, len), want32) << off << ' ' << len; }
      if (vpclmul) { ASSERT_EQ(detail::Crc32Vpclmul(0xFFFFFFFFu, p, len), want32) << off << ' ' << len; }
      ASSERT_EQ(CRC32Update(0xFFFFFFFFu, p, len), want32);
      for (uint16_t start : {uint16_t(0), uint16_t(0xFFFF)})
        ASSERT_EQ(detail::Crc16Slice16(start, p, len), Crc16Bytewise(p, len, start)) << off << ' ' << len;
    }
  }
  if (clmul) {
    const TBytes big = RandomBytes(1 << 20, 11);
    const uint32_t want = Crc32Bytewise(big.data(), big.size(), 0x12345678u);
    EXPECT_EQ(detail::Crc32Clmul(0x12345678u, big.data(), big.size()), want);
    if (vpclmul) {
      EXPECT_EQ(detail::Crc32Vpclmul(0x12345678u, big.data(), big.size()), want);
    } else {
      GTEST_LOG_(INFO) << "no 512-bit carry-less multiplication on this processor";
    }
  } else {
    GTEST_LOG_(INFO) << "no carry-less multiplication on this processor";
  }
}

TEST(Crc, RunningFormsCanBeSplitAnywhere) {
  const TBytes data = RandomBytes(1000, 3);
  const uint32_t whole = CRC32ofBuffer(data, 1000);
  const uint16_t whole16 = CRC16ofBuffer(data, 1000, crcCCITT);
  for (size_t cut : {0, 1, 63, 64, 65, 500, 999, 1000}) {
    const uint32_t c = CRC32Update(CRC32Update(0xFFFFFFFFu, data.data(), cut), data.data() + cut, 1000 - cut);
    EXPECT_EQ(~c, whole) << cut;
    const uint16_t c16 = CRC16Update(CRC16Update(0xFFFF, data.data(), cut), data.data() + cut, 1000 - cut);
    EXPECT_EQ(c16, whole16) << cut;
  }
}

TEST(Crc, Files) {
  EXPECT_EQ(CalcCRC32ofFile(u"/nonexistent/kyn-no-such-file"), 0u);
  TempFile empty("");
  EXPECT_EQ(CalcCRC32ofFile(empty.name()), 0u);
  TempFile digits("123456789");
  EXPECT_EQ(CalcCRC32ofFile(digits.name()), 0xCBF43926u);
  // Larger than one 4096-byte block.
  const TBytes data = RandomBytes(10000, 5);
  TempFile big(std::string(data.begin(), data.end()));
  EXPECT_EQ(CalcCRC32ofFile(big.name()), CRC32ofBuffer(data, 10000));
}

// ----------------------------------------------------------------- SHA-1

TEST(Sha1, StandardVectorsOnEveryPath) {
  struct Case {
    std::string input;
    const char* digest;
  };
  const Case cases[] = {
      {"abc", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
      {"", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983E441C3BD26EBAAE4AA1F95129E5E54670F1"},
      {std::string(1000000, 'a'), "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F"},
      // 55, 56 and 64 bytes: the padding boundaries.
      {std::string(55, 'x'), nullptr}, {std::string(56, 'x'), nullptr}, {std::string(64, 'x'), nullptr},
  };
  for (const Case& c : cases) {
    const std::string portable = Hex(Sha1(c.input, false));
    if (c.digest) { EXPECT_EQ(portable, c.digest) << c.input.size(); }
    EXPECT_EQ(Hex(Sha1(c.input, true)), portable) << c.input.size();
    TStringStream s{std::string_view(c.input)};
    EXPECT_EQ(Hex(SHA1FromStream(s)), portable);
    if (c.input.size() < 100) { EXPECT_EQ(Hex(SHA1FromString(Utf8ToString(c.input))), portable); }
  }
  // Known digests of the padding-boundary lengths pin the portable path too.
  EXPECT_EQ(Hex(Sha1(std::string(64, 'x'), false)), Hex(Sha1(std::string(32, 'x') + std::string(32, 'x'), true)));
}

TEST(Sha1, HardwareBlocksMatchPortable) {
  if (!detail::Sha1HasShaNi()) GTEST_SKIP() << "no SHA instructions on this processor";
  const TBytes data = RandomBytes(64 * 37, 9);
  uint32_t a[5] = {1, 2, 3, 4, 5}, b[5] = {1, 2, 3, 4, 5};
  detail::Sha1BlocksPortable(a, data.data(), 37);
  detail::Sha1BlocksShaNi(b, data.data(), 37);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a[i], b[i]) << i;
}

TEST(Sha1, IncrementalUpdatesInAnyPieces) {
  const TBytes data = RandomBytes(777, 1);
  const std::string whole(data.begin(), data.end());
  const TSHACode want = Sha1(whole, false);
  for (size_t piece : {1, 3, 63, 64, 65, 200}) {
    TSHA1Context ctx;
    for (size_t i = 0; i < data.size(); i += piece) ctx.Update(data.data() + i, std::min(piece, data.size() - i));
    EXPECT_EQ(ctx.Final(), want) << piece;
    // The context starts again after Final.
    ctx.Update("abc", 3);
    EXPECT_EQ(Hex(ctx.Final()), "A9993E364706816ABA3E25717850C26C9CD0D89D");
  }
}

TEST(Sha1, StringsHashTheirUtf8Encoding) {
  // U+00E9 U+20AC U+1F600: two, three and four UTF-8 bytes.
  const String text = u"\u00e9\u20ac\U0001F600";
  EXPECT_EQ(SHA1FromString(text), Sha1(StringToUtf8(text), false));
  EXPECT_NE(SHA1FromString(u"\u00e9"), SHA1FromString(u"\u00c9"));
}

TEST(Sha1, StreamsFromTheirPositionAndFiles) {
  TStringStream s{std::string_view("xxabc")};
  s.SetPosition(2);
  EXPECT_EQ(Hex(SHA1FromStream(s)), "A9993E364706816ABA3E25717850C26C9CD0D89D");
  EXPECT_EQ(s.Position(), 5);
  TempFile f("abc");
  EXPECT_EQ(Hex(SHA1FromFile(f.name())), "A9993E364706816ABA3E25717850C26C9CD0D89D");
  EXPECT_THROW(SHA1FromFile(u"/nonexistent/kyn-no-such-file"), EFOpenError);
}

// ---------------------------------------------------------------- ASCII85

namespace {

std::string Encode(const std::string& in) {
  TStringStream src{std::string_view(in)}, dst;
  EncodeASCII85(src, dst);
  return dst.DataString();
}

std::string Decode(const std::string& in, int32_t* status = nullptr) {
  TStringStream src{std::string_view(in)}, dst;
  const int32_t st = DecodeASCII85(src, dst);
  if (status) *status = st;
  return dst.DataString();
}

}  // namespace

TEST(Ascii85, EncodeExamples) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"Man ", "9jqo^~>"},
      {std::string(4, '\0'), "z~>"},
      {"A", "!b~>"},
      {"", "~>"},
      {std::string(1, '\0'), "!!~>"},
      {std::string(3, '\0'), "!!!!~>"},
      {std::string(8, '\0') + "Man", "zz)6m>~>"},  // 0x4D616E unpadded
      {"\xff\xff\xff\xff", "s8W-!~>"},
  };
  for (const Case& c : cases) EXPECT_EQ(Encode(c.in), c.out) << c.out;
}

TEST(Ascii85, DecodeExamplesAndStatus) {
  struct Case {
    std::string in, out;
    int32_t status;
  };
  const Case cases[] = {
      {"9jqo^\r\n~>", "Man ", 0},
      {"9j\nqo^~>", "Man ", 0},
      {"!b~>", "A", 0},
      {"z~>", std::string(4, '\0'), 0},
      {"!b", "A", 0},    // no end mark: the last short group still counts
      {"", "", 0},
      {"~>", "", 0},
      {"9jqo^~>ignored", "Man ", 0},
      {"9zqo^~>", "", -2},  // z inside a group
      {"9j o^~>", "", -1},  // blank inside a group
      {"9zqo^9j o^~>", "", -1},  // the last offending character decides
      {"9j o^9zqo^~>", "", -2},
      {"!b~x~", "", -1},  // the group ends at the last ~; an earlier ~ is an invalid digit
  };
  for (const Case& c : cases) {
    int32_t st = 99;
    const std::string out = Decode(c.in, &st);
    EXPECT_EQ(st, c.status) << c.in;
    if (c.status == 0) { EXPECT_EQ(out, c.out) << c.in; }
  }
  // Invalid digits still enter the value: "9 " is four bytes, like any group.
  int32_t st = 0;
  EXPECT_EQ(Decode("9j o^", &st).size(), 4u);
  EXPECT_EQ(Decode("!b~x~", &st).size(), 3u);
}

TEST(Ascii85, RoundTripsEveryLengthAndContent) {
  for (size_t n = 0; n < 70; ++n) {
    const TBytes b = RandomBytes(n, static_cast<uint32_t>(n));
    std::string in(b.begin(), b.end());
    if (n > 10) std::fill(in.begin() + 4, in.begin() + 8, '\0');  // a "z" group inside
    const std::string enc = Encode(in);
    int32_t st = 1;
    EXPECT_EQ(Decode(enc, &st), in) << n;
    EXPECT_EQ(st, 0);
    EXPECT_LE(enc.size(), (n + 3) / 4 * 5 + 2);
  }
  // Beyond one 64 KiB block of the coder.
  const TBytes big = RandomBytes(200003, 4);
  const std::string in(big.begin(), big.end());
  EXPECT_EQ(Decode(Encode(in)), in);
}

TEST(Ascii85, DecoderLeavesTheSourceBehindItsLastGroup) {
  TStringStream src{std::string_view("!b~>abcdefgh")}, dst;
  DecodeASCII85(src, dst);
  // The group read was "!b~>a": the decoder read five characters for it.
  EXPECT_EQ(src.Position(), 5);
  TStringStream src2{std::string_view("9jqo^9jqo^~>AB")}, dst2;
  DecodeASCII85(src2, dst2);
  EXPECT_EQ(src2.Position(), 14);
  EXPECT_EQ(dst2.DataString(), "Man Man ");
}

// ---------------------------------------------- combinations, permutations

namespace {

std::string Elements(const TCombination& c) {
  std::string s;
  for (int i = 1; i <= c[0]; ++i) s += std::to_string(c[static_cast<size_t>(i)]);
  return s;
}

}  // namespace

TEST(Combinations, VisitsAllInLexicographicOrder) {
  TCombination c{};
  c[0] = 2, c[1] = 1, c[2] = 2;
  std::string seq = Elements(c);
  while (NextCombination(c, 4)) seq += " " + Elements(c);
  EXPECT_EQ(seq, "12 13 14 23 24 34");
  EXPECT_EQ(Elements(c), "34");  // unchanged after the last
  // C(10, 4) = 210.
  TCombination d{};
  d[0] = 4;
  for (int i = 1; i <= 4; ++i) d[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  int count = 1;
  while (NextCombination(d, 10)) ++count;
  EXPECT_EQ(count, 210);
  // n = 255 reaches the top element without overflow.
  TCombination e{};
  e[0] = 1, e[1] = 254;
  EXPECT_TRUE(NextCombination(e, 255));
  EXPECT_EQ(e[1], 255);
  EXPECT_FALSE(NextCombination(e, 255));
}

TEST(Combinations, ArgumentsOutsideTheContractChangeNothing) {
  TCombination c{};
  c[0] = 3, c[1] = 1, c[2] = 2, c[3] = 3;
  const TCombination before = c;
  for (int32_t n : {2, 0, -5, 256, 1000}) {
    EXPECT_FALSE(NextCombination(c, n)) << n;
    EXPECT_EQ(c, before);
  }
  TCombination empty{};
  EXPECT_FALSE(NextCombination(empty, 5));
}

TEST(Permutations, VisitsAllInTheLibraryOrder) {
  TCombination p{};
  p[0] = 3, p[1] = 1, p[2] = 2, p[3] = 3;
  std::string seq = Elements(p);
  while (NextPermutation(p)) seq += " " + Elements(p);
  EXPECT_EQ(seq, "123 213 231 132 312 321");
  EXPECT_EQ(Elements(p), "321");
  // 6! distinct permutations.
  TCombination q{};
  q[0] = 6;
  for (int i = 1; i <= 6; ++i) q[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  std::set<std::string> seen{Elements(q)};
  while (NextPermutation(q)) seen.insert(Elements(q));
  EXPECT_EQ(seen.size(), 720u);
  EXPECT_EQ(Elements(q), "654321");
}

TEST(Permutations, EdgeArguments) {
  TCombination one{};
  one[0] = 1, one[1] = 1;
  EXPECT_FALSE(NextPermutation(one));
  TCombination zero{};
  EXPECT_FALSE(NextPermutation(zero));
  TCombination bad{};
  bad[0] = 3, bad[1] = 7, bad[2] = 7, bad[3] = 7;  // not a permutation
  const TCombination before = bad;
  EXPECT_FALSE(NextPermutation(bad));
  EXPECT_EQ(bad, before);
  TCombination full{};  // m = 255 works without overrunning the array
  full[0] = 255;
  for (int i = 1; i <= 255; ++i) full[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  EXPECT_TRUE(NextPermutation(full));
  EXPECT_EQ(full[1], 2);
  EXPECT_EQ(full[2], 1);
}

TEST(Nearest, BothOverloads) {
  EXPECT_EQ(IndexOfNearestArrayValue(2.5, TDoubleArray{1, 2, 3, 4}), 1);
  EXPECT_EQ(IndexOfNearestArrayValue(3.9, TDoubleArray{1, 2, 3, 4}), 3);
  EXPECT_EQ(IndexOfNearestArrayValue(0.0, TDoubleArray{}), -1);
  EXPECT_EQ(IndexOfNearestArrayValue(0.0, TDoubleArray{std::nan(""), 5}), 1);
  // A distance not below 1.7e308 is never chosen.
  EXPECT_EQ(IndexOfNearestArrayValue(-1.7e308, TDoubleArray{1.7e308}), -1);
  EXPECT_EQ(IndexOfNearestArrayValue(5, TIntArray{9, 1, 3, 7}), 2);
  EXPECT_EQ(IndexOfNearestArrayValue(5, TIntArray{}), -1);
  // Differences beyond the 32-bit range compare by their true size.
  EXPECT_EQ(IndexOfNearestArrayValue(2000000000, TIntArray{-2000000000, 0}), 1);
  EXPECT_EQ(IndexOfNearestArrayValue(-2147483647 - 1, TIntArray{2147483647, -5}), 1);
}
