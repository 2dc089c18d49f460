// The HTML template producer: tag syntax, callback, streams and files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kyn/htmlsupport.h"
#include "kyn/streams.h"

using namespace kyn;

namespace {

struct SeenTag {
  std::string name, params, text;
  bool operator==(const SeenTag&) const = default;
};

std::ostream& operator<<(std::ostream& os, const SeenTag& t) {
  return os << "{" << t.name << "|" << t.params << "|" << t.text << "}";
}

// A producer whose callback records each tag and replaces it by "[name]"
// (or leaves it alone when Replace is false).
struct Recorder {
  THtmlProducer producer{nullptr};
  std::vector<SeenTag> seen;
  explicit Recorder(bool Replace) {
    producer.SetOnHTMLTag([this, Replace](TObject* Sender, const String& Name, const String& Params, String& Repl) {
      EXPECT_EQ(Sender, &producer);
      seen.push_back({StringToUtf8(Name), StringToUtf8(Params), StringToUtf8(Repl)});
      if (Replace) Repl = u"[" + Name + u"]";
    });
  }
};

std::string TempPath() {
  char name[] = "/tmp/kyn-html-XXXXXX";
  const int fd = mkstemp(name);
  if (fd >= 0) close(fd);
  return name;
}

std::string FileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

}  // namespace

struct ConvertCase {
  const char* tmpl;
  const char* result;  // with the "[name]" callback
  std::vector<SeenTag> tags;
};

TEST(HtmlProducer, ConvertFindsTagsNamesAndParameters) {
  const ConvertCase cases[] = {
      {"", "", {}},
      {"no tags <b>here</b>", "no tags <b>here</b>", {}},
      {"a<b", "a<b", {}},
      {"a<", "a<", {}},
      {"a<#", "a[]", {{"", "", "<#"}}},
      {"x<#name>y", "x[name]y", {{"name", "", "<#name>"}}},
      {"<#Name  a b >", "[name]", {{"name", "a b", "<#Name  a b >"}}},
      {"<p><#Date  format=long ></p>", "<p>[date]</p>", {{"date", "format=long", "<#Date  format=long >"}}},
      {"<#abc", "[ab]", {{"ab", "", "<#abc"}}},
      {"<#ab ", "[ab]", {{"ab", "", "<#ab "}}},
      {"<# x>", "[]", {{"", "x", "<# x>"}}},
      {"<#a <#b>c", "[a]c", {{"a", "<#b", "<#a <#b>"}}},
      {"<#a><#B>", "[a][b]", {{"a", "", "<#a>"}, {"b", "", "<#B>"}}},
      {"1 <#x\tq> 2", "1 [x\tq] 2", {{"x\tq", "", "<#x\tq>"}}},
  };
  for (const auto& c : cases) {
    Recorder r(true);
    r.producer.SetTemplate(S(c.tmpl));
    EXPECT_EQ(StringToUtf8(r.producer.Convert()), c.result) << c.tmpl;
    EXPECT_EQ(StringToUtf8(r.producer.ConvertedHTML()), c.result) << c.tmpl;
    EXPECT_EQ(r.seen, c.tags) << c.tmpl;
    EXPECT_EQ(StringToUtf8(r.producer.Template()), c.tmpl);
  }
}

TEST(HtmlProducer, WithoutCallbackOrUnchangedReplacementTagsStay) {
  THtmlProducer p(nullptr);
  p.SetTemplate(u"x<#name>y<#open");
  EXPECT_EQ(p.Convert(), u"x<#name>y<#open");
  Recorder r(false);
  r.producer.SetTemplate(u"x<#name>y");
  EXPECT_EQ(r.producer.Convert(), u"x<#name>y");
}

TEST(HtmlProducer, ReplacementIsNotScannedAgainAndConvertRepeats) {
  THtmlProducer p(nullptr);
  p.SetTemplate(u"<#t>!");
  int calls = 0;
  p.SetOnHTMLTag([&](TObject*, const String&, const String&, String& Repl) {
    ++calls;
    Repl = u"<#t>";
  });
  EXPECT_EQ(p.Convert(), u"<#t>!");
  EXPECT_EQ(calls, 1);
  p.SetOnHTMLTag([](TObject*, const String&, const String&, String& Repl) { Repl = u"Z"; });
  EXPECT_EQ(p.Convert(), u"Z!");
}

TEST(HtmlProducer, CallbackExceptionKeepsThePartialResult) {
  THtmlProducer p(nullptr);
  p.SetTemplate(u"A<#ok>B<#bad>C");
  p.SetOnHTMLTag([](TObject*, const String& Name, const String&, String& Repl) {
    if (Name == u"bad") throw EKYNError("no data");
    Repl = u"1";
  });
  EXPECT_THROW(p.Convert(), EKYNError);
  EXPECT_EQ(p.ConvertedHTML(), u"A1B");
}

TEST(HtmlProducer, ConvertedHTMLAsStreamIsOwnedAndReplaced) {
  TComponent owner(nullptr);
  auto* p = new THtmlProducer(&owner);  // the owner deletes it
  p->SetTemplate(u"\u00E4\u20AC<#x>");
  p->Convert();
  TStream* s1 = p->ConvertedHTMLAsStream();
  ASSERT_NE(s1, nullptr);
  EXPECT_EQ(s1->Position(), 0);
  EXPECT_EQ(StringToUtf8(StreamAsString(*s1)), "\xC3\xA4\xC2\x80<#x>");  // bytes E4 80 as Latin-1
  TStream* s2 = p->ConvertedHTMLAsStream(TTextEncoding::Utf8);
  EXPECT_EQ(s2->Size(), 9);  // two bytes for the a-umlaut, three for the euro sign, then <#x>
  char head[5] = {};
  s2->ReadBuffer(head, 5);
  EXPECT_EQ(std::string(head, 5), "\xC3\xA4\xE2\x82\xAC");
}

TEST(HtmlProducer, TemplateFromStreamStartsAtZero) {
  TStringStream s(std::string("<#a>\xE4\r\n"));
  s.SetPosition(3);
  THtmlProducer p(nullptr);
  p.ReadTemplateFromStream(s);
  EXPECT_EQ(p.Template(), u"<#a>\u00E4\r\n");
}

TEST(HtmlProducer, TemplateFilesAndResultFiles) {
  const std::string in = TempPath(), out = TempPath();
  std::ofstream(in, std::ios::binary) << "<p><#a></p>\nline2\r\nlast";
  THtmlProducer p(nullptr);
  p.ReadTemplateFromFile(S(in));
  EXPECT_EQ(p.Template(), u"<p><#a></p>\r\nline2\r\nlast\r\n");
  p.SetOnHTMLTag([](TObject*, const String&, const String&, String& Repl) { Repl = u"\u00FC"; });
  p.Convert();
  p.WriteConvertedHTMLToFile(S(out));
  EXPECT_EQ(FileBytes(out), "<p>\xFC</p>\r\nline2\r\nlast\r\n");
  p.WriteConvertedHTMLToFile(S(out), TTextEncoding::Utf8);
  EXPECT_EQ(FileBytes(out), "<p>\xC3\xBC</p>\r\nline2\r\nlast\r\n");

  // A missing file raises the platform's error and keeps the template.
  const String before = p.Template();
  std::remove(in.c_str());
  try {
    p.ReadTemplateFromFile(S(in));
    ADD_FAILURE() << "no exception";
  } catch (const EKYNError&) {
    ADD_FAILURE() << "library error instead of the platform's";
  } catch (const Exception&) {
  }
  EXPECT_EQ(p.Template(), before);
  std::remove(out.c_str());
}

TEST(HtmlProducer, EmptyFileGivesEmptyTemplate) {
  const std::string in = TempPath();
  THtmlProducer p(nullptr);
  p.SetTemplate(u"old");
  p.ReadTemplateFromFile(S(in));
  EXPECT_TRUE(p.Template().empty());
  std::remove(in.c_str());
}
