// TStringArray: the XML element written to and read from text files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "kyn/dstruct.h"

using kyn::S;
using kyn::String;
using kyn::TStringArray;

namespace {

struct XmlFile : ::testing::Test {
  std::filesystem::path path;
  void SetUp() override {
    path = std::filesystem::temp_directory_path() /
           ("kyn_strarray_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".xml");
  }
  void TearDown() override { std::filesystem::remove(path); }
  String Name() const { return S(path.string()); }
  std::string Bytes() const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  void WriteBytes(const std::string& b) const { std::ofstream(path, std::ios::binary) << b; }
};

void ExpectSame(const TStringArray& x, const TStringArray& y) {
  ASSERT_EQ(x.NrOfColumns(), y.NrOfColumns());
  ASSERT_EQ(x.NrOfRows(), y.NrOfRows());
  for (int r = 1; r <= x.NrOfRows(); ++r) {
    EXPECT_EQ(x.GetRowAttrib(r), y.GetRowAttrib(r)) << r;
    for (int c = 0; c <= x.NrOfColumns(); ++c) EXPECT_EQ(x.GetAnsiString(c, r), y.GetAnsiString(c, r)) << c << "," << r;
  }
  for (int c = 1; c <= x.NrOfColumns(); ++c) EXPECT_EQ(x.GetColAttrib(c), y.GetColAttrib(c)) << c;
}

TEST_F(XmlFile, AwkwardCellsRoundTrip) {
  TStringArray a(nullptr);
  ASSERT_TRUE(a.Resize(4, 12));
  const std::string awkward[] = {
      "a & b", "<tag>", "</cell>", "say \"hi\"", "it's", "&amp; stays literal", "line\r\nbreak", "\ttab\x1a\x01",
      "  padded  ", " ", "caf\xE9 \x80 \x81\x8D\x8F\x90\x9D \xFF", std::string(255, '&'), "&#38;", "]]>", "x=\"1\" />",
  };
  int i = 0;
  for (int r = 1; r <= 12; ++r)
    for (int c = 0; c <= 4; ++c)
      if ((r + c) % 3 != 0) a.SetAnsiString(c, r, awkward[i++ % std::size(awkward)]);
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  a.SetAnsiString(2, 12, all);
  a.SetRowAttrib(3, 255);
  a.SetRowAttrib(12, 1);
  a.SetColAttrib(4, 77);
  a.Sort(1, 0, true);  // the file holds the view

  a.SaveAsXMLFile(Name(), u"Cells & <more>");
  TStringArray b(nullptr);
  int changes = 0;
  b.SetOnChange([&](kyn::TObject*) { ++changes; });
  ASSERT_TRUE(b.LoadFromXMLFile(Name(), u"cells & <MORE>"));
  EXPECT_EQ(changes, 1);
  ExpectSame(a, b);
  EXPECT_EQ(b.GetSortOrder(1), 1);

  // Every line is one element; text characters stand for themselves.
  const std::string bytes = Bytes();
  EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\"?>\r\n\r\n<!-- TStringArray / Kyn Component Suite -->\r\n"
                        "<strarray sig=\"Quarnelix\" vers=\"1.0\" id=\"Cells &amp; &lt;more&gt;\">\r\n"
                        "  <size cols=\"4\" rows=\"12\" />\r\n  <colattr c=\"4\" val=\"77\" />\r\n",
                        0),
            0u)
      << bytes.substr(0, 300);
  EXPECT_NE(bytes.find("&lt;/cell&gt;</cell>"), std::string::npos);
  EXPECT_NE(bytes.find("line&#13;&#10;break"), std::string::npos);
  EXPECT_NE(bytes.find("caf\xE9 \x80 \x81"), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 13), "</strarray>\r\n");
}

TEST_F(XmlFile, OneArrayAmongSeveral) {
  TStringArray first(nullptr), second(nullptr), third(nullptr);
  first.SetString(1, 1, u"first");
  ASSERT_TRUE(second.Resize(2, 3));
  second.SetString(2, 3, u"second");
  second.SetString(0, 1, u"zero");
  ASSERT_TRUE(third.Resize(1, 2));
  third.SetString(1, 2, u"third");
  {
    kyn::TTextFile f;
    f.Rewrite(Name());
    f.WriteLn(u"<?xml version=\"1.0\"?>");
    f.WriteLn(u"<project>");
    first.WriteToOpenXMLFile(f, false, u"one");
    second.WriteToOpenXMLFile(f, false, u"Two");
    third.WriteToOpenXMLFile(f, false, u"three");
    f.WriteLn(u"</project>");
    f.Close();
  }
  TStringArray r(nullptr);
  ASSERT_TRUE(r.LoadFromXMLFile(Name(), u" TWO "));
  ExpectSame(r, second);
  ASSERT_TRUE(r.LoadFromXMLFile(Name(), u""));  // the first one
  ExpectSame(r, first);
  // Reading on from where the last read stopped.
  kyn::TTextFile f;
  f.Reset(Name());
  ASSERT_TRUE(r.ReadFromOpenXMLFile(f, u"two"));
  ASSERT_TRUE(r.ReadFromOpenXMLFile(f, u""));
  ExpectSame(r, third);
  EXPECT_FALSE(r.ReadFromOpenXMLFile(f, u"one"));  // already passed
  f.Close();

  // An unknown identifier changes nothing and notifies nobody.
  int changes = 0;
  r.SetOnChange([&](kyn::TObject*) { ++changes; });
  EXPECT_FALSE(r.LoadFromXMLFile(Name(), u"four"));
  EXPECT_EQ(changes, 0);
  ExpectSame(r, third);
}

TEST_F(XmlFile, DamagedFilesLeaveTheArrayUnchanged) {
  TStringArray keep(nullptr);
  ASSERT_TRUE(keep.Resize(2, 2));
  keep.SetString(1, 1, u"kept");
  const std::string head = "<strarray sig=\"Quarnelix\" vers=\"1.0\" id=\"x\">\r\n";
  const std::string cases[] = {
      head + "  <size cols=\"2\" rows=\"2\" />\r\n  <cell c=\"1\" r=\"1\">cut</cell>\r\n",  // no end line
      head + "  <cell c=\"1\" r=\"1\">no size</cell>\r\n</strarray>\r\n",
      head + "  <size cols=\"0\" rows=\"2\" />\r\n</strarray>\r\n",
      head + "  <size cols=\"2\" rows=\"x\" />\r\n</strarray>\r\n",
      "<strarray sig=\"Other\" id=\"x\">\r\n  <size cols=\"1\" rows=\"1\" />\r\n</strarray>\r\n",
      "",
  };
  for (const std::string& text : cases) {
    WriteBytes(text);
    EXPECT_FALSE(keep.LoadFromXMLFile(Name(), u"x")) << text;
    EXPECT_EQ(keep.NrOfRows(), 2);
    EXPECT_EQ(keep.GetString(1, 1), u"kept");
  }
  // Unknown lines, cells outside the size and stray text are skipped;
  // unquoted values and other attribute orders are accepted.
  WriteBytes(head +
             "  <size rows=3 cols=1 />\r\n  <comment>hello</comment>\r\n  <cell r=\"2\" c=\"1\">in</cell>\r\n"
             "  <cell c=\"2\" r=\"1\">outside</cell>\r\n  <cell c=\"1\" r=\"9\">outside</cell>\r\n"
             "  <rowattr r=\"3\" val=\"300\" />\r\n  <rowattr r=\"3\" val=\"5\" />\r\n  stray\r\n"
             "  <cell c=\"0\" r=\"3\">&#x41;&#66;&unknown;&</cell>\r\n</strarray>\r\n");
  ASSERT_TRUE(keep.LoadFromXMLFile(Name(), u"x"));
  EXPECT_EQ(keep.NrOfColumns(), 1);
  EXPECT_EQ(keep.NrOfRows(), 3);
  EXPECT_EQ(keep.GetString(1, 2), u"in");
  EXPECT_EQ(keep.GetString(1, 1), u"");
  EXPECT_EQ(keep.GetRowAttrib(3), 5);
  EXPECT_EQ(keep.GetString(0, 3), u"AB&unknown;&");
  // A missing file is the file layer's error.
  EXPECT_THROW(keep.LoadFromXMLFile(u"/nonexistent/dir/none.xml", u"x"), kyn::Exception);
}

}  // namespace
