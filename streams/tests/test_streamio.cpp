// Line, text and raw value IO on byte streams, and numbers scanned from them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "kyn/streams.h"

using namespace kyn;

namespace {

std::string Bytes(const TMemoryStream& s) { return std::string(s.Bytes().begin(), s.Bytes().end()); }

// The bytes from the stream's position to its end, without the library.
std::string Rest(TStream& s) {
  std::string r;
  char c;
  while (s.Read(&c, 1) == 1) r += c;
  return r;
}

// A memory stream that records the size of each Write and Read call.
class TRecordingStream : public TMemoryStream {
 public:
  int64_t Write(const void* Buffer, int64_t Count) override {
    writes.push_back(Count);
    return TMemoryStream::Write(Buffer, Count);
  }
  int64_t Read(void* Buffer, int64_t Count) override {
    reads.push_back(Count);
    return TMemoryStream::Read(Buffer, Count);
  }
  std::vector<int64_t> writes, reads;
};

// Delivers a few bytes, then fails every read with an exception.
class TFailingStream : public TStringStream {
 public:
  using TStringStream::TStringStream;
  int64_t Read(void* Buffer, int64_t Count) override {
    const int64_t n = TStringStream::Read(Buffer, Count);
    if (n < Count) throw EReadError("device gone");
    return n;
  }
};

}  // namespace

// ------------------------------------------------------------------- writing

TEST(StreamWrite, TextGoesOutOneBytePerCharacterWithCRLF) {
  TMemoryStream s;
  WriteLnStream(s, u"AB");
  WriteLnStream(s, u"\u0141");  // the high byte is dropped
  WriteStringStream(s, u"\u00E4\t");
  EXPECT_EQ(Bytes(s), std::string("AB\r\n\x41\r\n\xE4\t"));
}

TEST(StreamWrite, TextIsWrittenIn4096ByteBlocks) {
  TRecordingStream s;
  WriteStringStream(s, String(10000, u'x'));
  EXPECT_EQ(s.writes, (std::vector<int64_t>{4096, 4096, 1808}));
  EXPECT_EQ(s.Size(), 10000);
  s.writes.clear();
  WriteStringStream(s, u"");
  EXPECT_TRUE(s.writes.empty());
}

TEST(StreamWrite, RawValuesHaveTheirFixedLayouts) {
  TMemoryStream s;
  WriteExtendedToStream(s, 1.0L);
  WriteExtendedToStream(s, -2.5L);
  WriteLongintToStream(s, -2);
  WriteLongintToStream(s, 0x12345678);
  const std::string expected(
      "\x00\x00\x00\x00\x00\x00\x00\x80\xFF\x3F"  // 1.0: significand 8000..., exponent 3FFF
      "\x00\x00\x00\x00\x00\x00\x00\xA0\x00\xC0"  // -2.5: significand A000..., sign + exponent 4000
      "\xFE\xFF\xFF\xFF"
      "\x78\x56\x34\x12",
      28);
  EXPECT_EQ(Bytes(s), expected);
}

// ------------------------------------------------------------ raw value reads

TEST(StreamRead, RawValuesRoundTrip) {
  TMemoryStream s;
  const long double ext = 0xC90FDAA22168C235p-63L;  // pi/2 with all 64 bits used
  WriteExtendedToStream(s, ext);
  WriteLongintToStream(s, INT32_MIN);
  const uint64_t bits = 0x3FF8000000000000ull;  // 1.5
  for (int i = 0; i < 8; ++i) {
    const uint8_t b = static_cast<uint8_t>(bits >> (8 * i));
    s.Write(&b, 1);
  }
  s.SetPosition(0);
  bool err = true;
  EXPECT_EQ(ReadExtendedFromStream(s, err), ext);
  EXPECT_FALSE(err);
  EXPECT_EQ(ReadLongintFromStream(s, err), INT32_MIN);
  EXPECT_FALSE(err);
  EXPECT_EQ(ReadDoubleFromStream(s, err), 1.5);
  EXPECT_FALSE(err);
  EXPECT_EQ(s.Position(), 22);
}

TEST(StreamRead, ShortStreamKeepsTheBytesThatArrivedAndSetsTheFlag) {
  TStringStream two(std::string("\x34\x12", 2));
  bool err = false;
  EXPECT_EQ(ReadLongintFromStream(two, err), 0x1234);
  EXPECT_TRUE(err);

  TStringStream empty{std::string()};
  err = false;
  EXPECT_EQ(ReadDoubleFromStream(empty, err), 0.0);
  EXPECT_TRUE(err);
  err = false;
  EXPECT_EQ(ReadExtendedFromStream(empty, err), 0.0L);
  EXPECT_TRUE(err);
}

TEST(StreamRead, ExceptionsOfTheStreamAreAbsorbedByValueReaders) {
  TFailingStream s(std::string("\x01", 1));
  bool err = false;
  EXPECT_EQ(ReadLongintFromStream(s, err), 1);
  EXPECT_TRUE(err);
}

// ------------------------------------------------------------------ lines

struct LineCase {
  const char* name;
  std::string bytes;
  int32_t mode;
  std::vector<std::string> lines;  // each call's result; the last one sets the flag
};
// Names the case in test listings instead of dumping its bytes.
inline void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class ReadLn : public ::testing::TestWithParam<LineCase> {};

TEST_P(ReadLn, SplitsAsTheModeSays) {
  const LineCase& c = GetParam();
  TStringStream s(c.bytes);
  for (size_t i = 0; i < c.lines.size(); ++i) {
    bool eos = true;
    const String line = ReadLnStream(s, eos, c.mode);
    EXPECT_EQ(StringToUtf8(line), c.lines[i]) << "call " << i;
    EXPECT_EQ(eos, i + 1 == c.lines.size()) << "call " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ReadLn,
    ::testing::Values(
        LineCase{"LfDropsCr", "ab\r\ncd", 0, {"ab", "cd"}},
        LineCase{"CrOnly", "ab\r\ncd\r", 1, {"ab", "cd", ""}},
        LineCase{"CrOrLfGivesEmptyLine", "ab\r\n", 2, {"ab", "", ""}},
        LineCase{"LfCrPair", "ab\n\rcd\r\nef", 3, {"ab", "cdef"}},
        LineCase{"CrLfPairLoneLfDropped", "a\nb\r\nc", 4, {"ab", "c"}},
        LineCase{"OtherModeRunsToTheEnd", "a\nb\rc", 7, {"abc"}},
        LineCase{"NegativeModeRunsToTheEnd", "a\r\nb", -1, {"ab"}},
        LineCase{"TabKeptBelDropped", "a\tb\x07" "c\n", 0, {"a\tbc", ""}},
        LineCase{"Latin1Bytes", "\xE4\xFF\n", 0, {"\xC3\xA4\xC3\xBF", ""}},
        LineCase{"EmptyStream", "", 0, {""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadLnCalls, PairSplitAcrossCallsIsNotRecognised) {
  TStringStream s(std::string("ab\r\ncd"));
  bool eos = false;
  EXPECT_EQ(ReadLnStream(s, eos, lemCR), u"ab");
  // The LF now follows a byte read by the previous call: mode 4 drops it.
  EXPECT_EQ(ReadLnStream(s, eos, lemCRLF), u"cd");
  EXPECT_TRUE(eos);
}

// ------------------------------------------------------------ find, count, rest

TEST(StreamSearch, FindInStreamStopsJustAfterTheByte) {
  TStringStream s(std::string("abc"));
  EXPECT_TRUE(FindInStream(s, 'c'));
  EXPECT_EQ(s.Position(), 3);
  s.SetPosition(0);
  EXPECT_TRUE(FindInStream(s, 'b'));
  EXPECT_EQ(Rest(s), "c");
  s.SetPosition(0);
  EXPECT_FALSE(FindInStream(s, 'z'));
  EXPECT_EQ(s.Position(), 3);
}

TEST(StreamSearch, CountLinesCountsLineFeedsToTheEnd) {
  TStringStream s(std::string("x\na\nb"));
  s.SetPosition(1);
  EXPECT_EQ(CountLinesInStream(s), 2);
  EXPECT_EQ(s.Position(), 5);
  TStringStream none(std::string("a\rb"));
  EXPECT_EQ(CountLinesInStream(none), 0);
}

TEST(StreamSearch, StreamAsStringReadsTheRestIn256ByteBlocks) {
  std::string all;
  for (int i = 0; i < 600; ++i) all += static_cast<char>(i & 0xFF);
  TRecordingStream s;
  s.Write(all.data(), static_cast<int64_t>(all.size()));
  s.SetPosition(100);
  const String text = StreamAsString(s);
  ASSERT_EQ(text.size(), 500u);
  EXPECT_EQ(text[0], char16_t{100});
  EXPECT_EQ(text[128], char16_t{228});  // byte 228 is the Latin-1 character 228
  EXPECT_EQ(s.reads, (std::vector<int64_t>{256, 256}));
  EXPECT_EQ(s.Position(), 600);
}

// ---------------------------------------------------------------- ReadStreamUntil

TEST(ReadUntil, StopsJustAfterTheTargetIgnoringCase) {
  TStringStream s(std::string("abc end xyz"));
  int32_t err = 5;
  EXPECT_EQ(ReadStreamUntil(s, u"END", err), u"abc end");
  EXPECT_EQ(err, 0);
  EXPECT_EQ(Rest(s), " xyz");
}

TEST(ReadUntil, FindsTargetsAroundBlockBoundaries) {
  // The target starts at offsets around the 256- and 512-byte boundaries.
  for (int at : {0, 250, 251, 253, 255, 256, 300, 507, 510, 511}) {
    std::string data(static_cast<size_t>(at), 'x');
    data += "MaRkEr";
    data += std::string(300, 'y') + "marker";
    TStringStream s(data);
    s.SetPosition(0);
    int32_t err = -7;
    const String got = ReadStreamUntil(s, u"marker", err);
    EXPECT_EQ(err, 0) << at;
    EXPECT_EQ(got.size(), static_cast<size_t>(at) + 6) << at;
    EXPECT_EQ(StringToUtf8(got.substr(got.size() - 6)), "MaRkEr") << at;
    EXPECT_EQ(s.Position(), at + 6) << at;
  }
}

TEST(ReadUntil, SelfOverlappingTargetIsFoundAtItsFirstOccurrence) {
  TStringStream s(std::string("aaaabaaab!aab"));
  int32_t err = -1;
  EXPECT_EQ(ReadStreamUntil(s, u"aaab", err), u"aaaab");
  EXPECT_EQ(err, 0);
  EXPECT_EQ(ReadStreamUntil(s, u"aab", err), u"aaab");
  EXPECT_EQ(Rest(s), "!aab");
}

TEST(ReadUntil, MissingOrEmptyTargetReturnsTheWholeRest) {
  const std::string data = std::string(700, 'q') + "tail";
  for (const String& target : {String(u"absent"), String()}) {
    TStringStream s(data);
    s.SetPosition(4);
    int32_t err = 0;
    const String got = ReadStreamUntil(s, target, err);
    EXPECT_EQ(err, -1);
    EXPECT_EQ(got.size(), data.size() - 4);
    EXPECT_EQ(s.Position(), static_cast<int64_t>(data.size()));
  }
}

TEST(ReadUntil, TwentyMegabytesWithTheTargetAtTheEnd) {
  std::string data(20u << 20, 'a');
  for (size_t i = 0; i < data.size(); i += 97) data[i] = '<';
  data += "</Stop>";
  data += "after";
  TStringStream s(data);
  int32_t err = -1;
  const String got = ReadStreamUntil(s, u"</stop>", err);
  EXPECT_EQ(err, 0);
  EXPECT_EQ(got.size(), data.size() - 5);
  EXPECT_EQ(Rest(s), "after");
}

// ------------------------------------------------------------ ScanStreamDecimal

struct DecimalCase {
  std::string bytes;
  int32_t value;
  std::string rest;
};

TEST(ScanStreamDecimal, ReadsSignedIntegers) {
  const DecimalCase cases[] = {
      {"  -42;7", -42, "7"},
      {"\r\n 17 x", 17, "x"},
      {"\t5", 0, "5"},  // TAB is not skipped, and is consumed
      {"+", 0, ""},
      {"", 0, ""},
      {"+12", 12, ""},
      {"-x", 0, ""},
      {"4294967297 ", 1, ""},  // wraps modulo 2^32
      {"-2147483648.", INT32_MIN, ""},
  };
  for (const auto& c : cases) {
    TStringStream s(c.bytes);
    EXPECT_EQ(ScanStreamDecimal(s), c.value) << c.bytes;
    EXPECT_EQ(Rest(s), c.rest) << c.bytes;
  }
}

// ------------------------------------------------------------ ScanStreamFPNum

struct FPCase {
  std::string bytes;
  bool exp;
  int32_t mode;
  double value;
  std::string rest;
};

TEST(ScanStreamFPNum, FollowsTheStateMachine) {
  const FPCase cases[] = {
      {"3,25 ", true, 3, 3.25, ""},
      {"3,25 ", true, 1, 3.0, "25 "},
      {"2.5", true, 0, 2.0, "5"},
      {"2,5", true, 2, 2.5, ""},
      {".5;", true, 1, 0.5, ""},
      {"-.5", true, 1, -0.5, ""},
      {"7.", true, 1, 7.0, ""},
      {"1.5e3x!", true, 1, 1500.0, "!"},
      {"1.5e3", false, 1, 1.5, "3"},
      {"1E", true, 1, 0.0, ""},
      {"1E+ 2", true, 1, 0.0, "2"},
      {"--1", true, 1, 0.0, "1"},
      {"+ 1", true, 1, 0.0, "1"},
      {"\r\n\t 12 z", true, 1, 12.0, "z"},
      {"1.2.3", true, 1, 0.0, "3"},  // a second separator is an error
      {"1.2,3", true, 3, 0.0, "3"},
      {"12-3", true, 1, 12.0, "3"},
      {"25e-2\n", true, 1, 0.25, ""},
      {"x1", true, 1, 0.0, "1"},
      {"", true, 1, 0.0, ""},
      {"\xC4" "1", true, 1, 0.0, "1"},
      {"1E400", true, 1, static_cast<double>(uc_MaxDouble), ""},
      {"-1E400", true, 1, -static_cast<double>(uc_MaxDouble), ""},
      {"1E-400", true, 1, 0.0, ""},
      {"1E4201;", true, 1, static_cast<double>(uc_MaxDouble), ""},
      {"1E-4201;", true, 1, 0.0, ""},
      {"1.75E308", true, 1, static_cast<double>(uc_MaxDouble), ""},  // clamped in 80 bits
  };
  for (const auto& c : cases) {
    TStringStream s(c.bytes);
    const double v = ScanStreamFPNum(s, c.exp, c.mode);
    EXPECT_EQ(v, c.value) << c.bytes << " mode " << c.mode;
    EXPECT_EQ(Rest(s), c.rest) << c.bytes << " mode " << c.mode;
  }
}

TEST(ScanStreamFPNum, ExponentDigitsBeyondTheLimitAreConsumedButIgnored) {
  // 1E-42019 is read as 1E-420, which is 0 in double; the exponent limit
  // applies digit by digit, so a long exponent does not change the value.
  TStringStream s(std::string("5E-0000000000000000000000000042019999 next"));
  EXPECT_EQ(ScanStreamFPNum(s, true, 1), 0.0);
  EXPECT_EQ(Rest(s), "next");
  TStringStream t(std::string("5E0000000000000000000000000000000000003;"));
  EXPECT_EQ(ScanStreamFPNum(t, true, 1), 5000.0);
}

TEST(ScanStreamFPNum, ReadsSuccessiveNumbers) {
  TStringStream s(std::string("1.5 -2.25\t3e2\r\n4"));
  EXPECT_EQ(ScanStreamFPNum(s, true, 1), 1.5);
  EXPECT_EQ(ScanStreamFPNum(s, true, 1), -2.25);
  EXPECT_EQ(ScanStreamFPNum(s, true, 1), 300.0);
  EXPECT_EQ(ScanStreamFPNum(s, true, 1), 4.0);
  EXPECT_EQ(s.Position(), s.Size());
}
