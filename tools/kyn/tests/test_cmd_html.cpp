// kyn html, url, words and xml.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "kyn_runner.h"

using kyntest::ReadFile;
using kyntest::RunKyn;
using kyntest::TempDir;

namespace {

}  // namespace

TEST(CmdHtml, ReplacesTheNamedTagsAndKeepsTheOthers) {
  TempDir d;
  const std::string t = d.Write("t.html", "<h1><#Title></h1>\n<p><#body x=1> <#other></p>");
  const auto r = RunKyn({"html", t, "--set", "title=Gr\xC3\xBC\xC3\x9F" "e", "--set", "BODY=a=b"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "<h1>Gr\xC3\xBC\xC3\x9F" "e</h1>\r\n<p>a=b <#other></p>\r\n");
}

TEST(CmdHtml, WritesToAFileAndListsTags) {
  TempDir d;
  const std::string t = d.Write("t.html", "<#a>-<#Date  format=long >-<#b");
  const std::string out = d.File("out.html");
  auto r = RunKyn({"html", t, "--set", "a=A", "--out", out});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(ReadFile(out), "A-<#Date  format=long >-<#b\r\n");
  r = RunKyn({"html", t, "--list"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "a\t\ndate\tformat=long\nb\r\t\n");  // the unterminated tag runs to the line's CR
}

TEST(CmdHtml, BadArgumentsAndMissingFiles) {
  TempDir d;
  const std::string t = d.Write("t.html", "x");
  auto r = RunKyn({"html", t, "--set", "novalue"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("NAME=TEXT"), std::string::npos);
  r = RunKyn({"html", d.File("missing.html")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("missing.html"), std::string::npos);
  r = RunKyn({"html"});
  EXPECT_EQ(r.status, 2);
  r = RunKyn({"html", "--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("--set"), std::string::npos);
}

TEST(CmdUrl, EncodesAndDecodes) {
  auto r = RunKyn({"url", "encode", "a b/c?d=\xC3\xA4"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "a%20b%2Fc%3Fd%3D\xC3\xA4\n");
  r = RunKyn({"url", "decode", "%2541%20100%"});
  EXPECT_EQ(r.out, "A 100%\n");
  r = RunKyn({"url", "decode", "%C3%A4"});
  EXPECT_EQ(r.out, "\xC3\x83\xC2\xA4\n");  // two Latin-1 characters
  r = RunKyn({"url", "decode", "--raw", "%C3%A4"});
  EXPECT_EQ(r.out, "\xC3\xA4\n");
  r = RunKyn({"url", "shuffle", "x"});
  EXPECT_EQ(r.status, 2);
  r = RunKyn({"url"});
  EXPECT_EQ(r.status, 2);
}

TEST(CmdWords, CountsFilesAndStandardInput) {
  TempDir d;
  const std::string a = d.Write("a.html", "<p title=\"not\n counted\">Hello world.</p>\n12 apples");
  const std::string b = d.Write("b.txt", "x<y two words");
  auto r = RunKyn({"words", "--html", "--skip-numbers", a, b});
  EXPECT_EQ(r.status, 0) << r.err;
  // a: Hello, world, apples (12 skipped); b: "x<y two words" with --html: the
  // tag opened at "<" never closes, so nothing after it counts.
  EXPECT_EQ(r.out, "3\t" + a + "\n0\t" + b + "\n3\ttotal\n");
  r = RunKyn({"words", b});
  EXPECT_EQ(r.out, "2\t" + b + "\n");  // x and y are single characters
  r = RunKyn({"words"}, "one two\nthree 4x\n");
  EXPECT_EQ(r.out, "4\n");
  r = RunKyn({"words", "--skip-numbers"}, "one two\nthree 4x\n");
  EXPECT_EQ(r.out, "3\n");
  r = RunKyn({"words", d.File("none.txt")});
  EXPECT_EQ(r.status, 1);
}

TEST(CmdXml, WalksTheTags) {
  TempDir d;
  const std::string f = d.Write("f.xml",
                                "<?xml version=\"1\"?>\n<!-- c -->\n<font size=\"3\">Hello\n<b>x</b></FONT>\n<br/>\n<item a=\"1\" />\n"
                                "</x>\n<unknown>u</unknown>\n");
  const auto r = RunKyn({"xml", "tags", f, "--names", "?xml,font,br,item,other"});
  EXPECT_EQ(r.status, 0) << r.err;
  // "<?xml ...?>" has no end tag, so it encloses the whole rest.
  EXPECT_EQ(r.out.substr(0, 2), "0\t");
  const auto r2 = RunKyn({"xml", "tags", f, "--names", "font,br,item,other"});
  EXPECT_EQ(r2.out,
            "3\tversion=\"1\"?\t\\n<!-- c -->\\n<font size=\"3\">Hello\\n<b>x</b></FONT>\\n<br/>\\n<item a=\"1\" />\\n</x>\\n"
            "<unknown>u</unknown>\\n\n");
  const std::string g = d.Write("g.xml", "<font size=\"3\">Hello\r\n<b>x</b></FONT>\n<br/>\n<item a=\"1\" />\n</x>\n");
  const auto r3 = RunKyn({"xml", "tags", g, "--names", "font,br,item,other"});
  EXPECT_EQ(r3.status, 0) << r3.err;
  EXPECT_EQ(r3.out, "0\tsize=\"3\"\tHello\\r\\n<b>x</b>\n1\t\t\n2\ta=\"1\"\t\n3\t\t\n");
  EXPECT_EQ(RunKyn({"xml", "tags", g}).status, 2);
  EXPECT_EQ(RunKyn({"xml", "tags", d.File("none.xml"), "--names", "a"}).status, 1);
}

TEST(CmdHtml, DemoRendersAPage) {
  TempDir d;
  const auto r = RunKyn({"demo", "--dir", d.File("out")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("## Streams, XML and HTML"), std::string::npos);
  EXPECT_NE(r.out.find("<h1>Temperatures &lt;&deg;C&gt;</h1>"), std::string::npos);
  const std::string page = ReadFile(d.File("out/page.html"));
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(page.find("<p>Samples: 042 (digits=3)</p>"), std::string::npos);
}
