// Attribute values and tags read from attribute texts, streams and text files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "kyn/streams.h"

using namespace kyn;

// ---------------------------------------------------------------- attributes

struct AttribCase {
  const char* text;
  const char* name;
  const char* value;
};

TEST(ScanForXMLAttrib, PicksValuesAsTheScannerReadsThem) {
  const AttribCase cases[] = {
      {"name=\"Arial Black\" size=12 bold=\"1\"", "name", "Arial Black"},
      {"name=\"Arial Black\" size=12 bold=\"1\"", "SIZE", "12"},
      {"name=\"Arial Black\" size=12 bold=\"1\"", "Bold", "1"},
      {"name=\"Arial Black\" size=12 bold=\"1\"", "color", ""},
      {"a = \"x y\"", "a", "x y"},
      {"a=\"1=2\"", "a", "1=2"},
      {"a=1=2 b=3", "a", ""},  // code 3 ends the search
      {"a=1=2 b=3", "b", ""},
      {"x=\"1\" a==2", "x", "1"},
      {"x=\"1\" a==2", "a", ""},
      {"a=\"abc", "a", "abc"},  // unterminated quote runs to the end
      {"a=1\nb=2", "a", ""},   // a line end does not separate pairs
      {"a=1\nb=2", "b", ""},
      {"a=x\"b=2", "b", "2"},  // a quote ends an unquoted value
      {"a=1 a=2", "a", "1"},   // the first pair wins
      {"q\"a=1", "a", ""},     // code 1: quote inside a name
      {"a='1 2' b=3", "b", ""},  // single quotes are ordinary: "2' b" is read as one name
      {"a= ", "a", ""},
      {"  a  =  7  ", "a", "7"},
      {"", "a", ""},
      {"a", "a", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StringToUtf8(ScanForXMLAttrib(S(c.text), S(c.name))), c.value) << c.text << " / " << c.name;
}

TEST(ScanXMLAttribPair, ReportsCodesAndAdvances) {
  const String text = u"a=1 b==2";
  int32_t pos = 1;
  String name, value;
  EXPECT_EQ(ScanXMLAttribPair(text, pos, name, value), xacOk);
  EXPECT_EQ(name, u"a");
  EXPECT_EQ(value, u"1");
  EXPECT_EQ(pos, 5);
  EXPECT_EQ(ScanXMLAttribPair(text, pos, name, value), xacDoubleEquals);
  EXPECT_EQ(pos, 8);  // just after the second equals sign
  EXPECT_EQ(ScanXMLAttribPair(text, pos, name, value), xacOk);
  EXPECT_EQ(name, u"2");
  EXPECT_EQ(ScanXMLAttribPair(text, pos, name, value), xacNothingLeft);
  pos = 0;
  EXPECT_EQ(ScanXMLAttribPair(text, pos, name, value), xacNothingLeft);
}

// ---------------------------------------------------------------------- tags

namespace {

struct TagResult {
  int32_t index;
  std::string attributes;
  std::string enclosed;
};

struct TagCase {
  const char* name;
  std::string input;
  std::vector<std::string> tags;
  std::vector<TagResult> results;  // one per call
  std::string rest;                // what is left after the calls
};
// Names the case in test listings instead of dumping its bytes.
inline void PrintTo(const TagCase& c, std::ostream* os) { *os << c.name; }

TStrArray ToList(const std::vector<std::string>& v) {
  TStrArray r;
  for (const auto& s : v) r.push_back(S(s));
  return r;
}

const TagCase kTagCases[] = {
    {"ElementWithNestedMarkup", "<font size=\"3\">Hello <b>x</b></FONT>", {"font", "text", ""},
     {{0, "size=\"3\"", "Hello <b>x</b>"}, {2, "", ""}}, ""},
    {"SelfClosingWithAttributes", "<item a=\"1\" />rest", {"br", "item", "x"}, {{1, "a=\"1\"", ""}}, "rest"},
    {"SelfClosingWithoutBlank", "<br/>rest", {"br", "item", "x"}, {{0, "", ""}}, "rest"},
    {"CommentSkipped", "<!-- x --><Text>t</text>z", {"font", "text", ""}, {{1, "", "t"}}, "z"},
    {"CommentEndsAtFirstGt", "<!-- a > b --><text>t</text>", {"font", "text", ""}, {{1, "", "t"}}, ""},
    {"TagInsideCommentAfterGt", "<!-- a > <b>q</b> -->", {"b", "x"}, {{0, "", "q"}}, " -->"},
    {"XmlDeclarationSwallowsTheRest", "<?xml version=\"1.0\"?>\n<a>b</a>", {"?xml", "a"},
     {{0, "version=\"1.0\"?", "\n<a>b</a>"}}, ""},
    {"ClosingTagGivesFallback", "</font>after", {"font", "text", "other"}, {{2, "", ""}}, "after"},
    {"ClosingTagMatchesItsEntry", "</font>after", {"/font", "x"}, {{0, "", ""}}, "after"},
    {"NameEndsOnlyAtABlank", "<font\nsize=\"3\">x</font\nsize=\"3\">y", {"font", "font\nsize=\"3\"", "z"},
     {{1, "", "x"}}, "y"},
    {"StreamEndsInsideTag", "<font size=\"3\"", {"font", "x"}, {{0, "size=\"3", ""}}, ""},
    {"LastCharacterRemovedWithoutGt", "<abc", {"ab", "x"}, {{0, "", ""}}, ""},
    {"SameNameNestedEndsEarly", "<a>1<a>2</a>3</a>", {"a", "x"}, {{0, "", "1<a>2"}}, "3</a>"},
    {"EndTagWithBlankIsNotAnEndTag", "<a>1</a >2</A>3", {"a", "x"}, {{0, "", "1</a >2"}}, "3"},
    {"MissingEndTagRunsToTheEnd", "<a k=v>text<b>", {"a", "x"}, {{0, "k=v", "text<b>"}}, ""},
    {"BlankBeforeGt", "<a >in</a>", {"a", "x"}, {{0, "", "in"}}, ""},
    {"EndTagCaseIgnoredContentKept", "<Name>Mixed\r\nCase</NAME>", {"name", "x"}, {{0, "", "Mixed\r\nCase"}}, ""},
    {"EmptyInput", "", {"a", "x"}, {{1, "", ""}}, ""},
    {"EmptyTagText", "<>x", {"", "a"}, {{0, "", ""}}, "x"},
    {"SuccessiveElements", "<a>1</a> <b k=\"2\">2</b>", {"a", "b", "end"},
     {{0, "", "1"}, {1, "k=\"2\"", "2"}, {2, "", ""}}, ""},
};

std::string TempFile(const std::string& content) {
  char name[] = "/tmp/kyn-xmltags-XXXXXX";
  const int fd = mkstemp(name);
  if (fd < 0) return {};
  close(fd);
  std::ofstream(name, std::ios::binary) << content;
  return name;
}

// Runs the case's calls through Read and compares each result.
void CheckCalls(const TagCase& c, const std::function<int32_t(const TStrArray&, String&, String&)>& Read) {
  const TStrArray list = ToList(c.tags);
  for (size_t i = 0; i < c.results.size(); ++i) {
    String attrs = u"old", enclosed = u"old";
    EXPECT_EQ(Read(list, attrs, enclosed), c.results[i].index) << "call " << i;
    EXPECT_EQ(StringToUtf8(attrs), c.results[i].attributes) << "call " << i;
    EXPECT_EQ(StringToUtf8(enclosed), c.results[i].enclosed) << "call " << i;
  }
}

}  // namespace

class ReadNextTag : public ::testing::TestWithParam<TagCase> {};

TEST_P(ReadNextTag, InStream) {
  const TagCase& c = GetParam();
  TStringStream s(c.input);
  CheckCalls(c, [&](const TStrArray& list, String& attrs, String& enclosed) {
    return ReadNextTagInStream(s, list, attrs, enclosed);
  });
  EXPECT_EQ(StringToUtf8(StreamAsString(s)), c.rest);
}

TEST_P(ReadNextTag, InTextFile) {
  const TagCase& c = GetParam();
  const std::string path = TempFile(c.input);
  ASSERT_FALSE(path.empty());
  TTextFile f;
  f.Reset(S(path));
  CheckCalls(c, [&](const TStrArray& list, String& attrs, String& enclosed) {
    return ReadNextTagInTextFile(f, list, attrs, enclosed);
  });
  std::string rest;
  while (!f.Eof()) rest += static_cast<char>(f.ReadChar());
  EXPECT_EQ(rest, c.rest);
  f.Close();
  std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadNextTag, ::testing::ValuesIn(kTagCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadNextTagErrors, EmptyTagListIsRejectedBeforeReading) {
  TStringStream s(std::string("<a>x</a>"));
  String attrs, enclosed;
  EXPECT_THROW(ReadNextTagInStream(s, {}, attrs, enclosed), EKYNError);
  EXPECT_EQ(s.Position(), 0);
  try {
    ReadNextTagInStream(s, {}, attrs, enclosed);
  } catch (const EKYNError& e) {
    EXPECT_NE(e.Message().find(u"tag list is empty"), String::npos);
  }
}

TEST(ReadNextTagErrors, TextFileNotOpenForReadingRaisesTheFileError) {
  TTextFile f;
  String attrs, enclosed;
  EXPECT_THROW(ReadNextTagInTextFile(f, {u"a"}, attrs, enclosed), EInOutError);
}

TEST(ReadNextTagLarge, TenMegabyteElementWithMuchMarkup) {
  std::string body;
  body.reserve(10u << 20);
  while (body.size() < (10u << 20)) body += "<i>x</i><data>";
  const std::string doc = "<data k=\"1\">" + body + "</DATA>tail";
  TStringStream s(doc);
  String attrs, enclosed;
  // The nested "<data>" elements open but never close before the outer end tag.
  EXPECT_EQ(ReadNextTagInStream(s, {u"data", u"x"}, attrs, enclosed), 0);
  EXPECT_EQ(attrs, u"k=\"1\"");
  EXPECT_EQ(enclosed.size(), body.size());
  EXPECT_EQ(StringToUtf8(StreamAsString(s)), "tail");
}
