// Word counting, URL paths and percent-coding, character references, the
// page frame and body extraction.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kyn/htmlsupport.h"

using namespace kyn;

namespace {

std::string Show(const String& s) { return StringToUtf8(s); }
std::string Show(const char16_t* s) { return StringToUtf8(s); }
std::string Show(char16_t c) { return std::to_string(int(c)); }

// Checks Fn(input) == expected for each pair of the table.
template <class In, class Out, size_t N, class Fn>
void CheckTable(const std::pair<In, Out> (&Cases)[N], Fn F) {
  for (const auto& [in, out] : Cases) EXPECT_EQ(F(in), out) << Show(in);
}

}  // namespace

// ------------------------------------------------------------ CountWordsHTML

struct WordCase {
  const char* text;
  bool skipNumbers;
  bool insideIn;
  int32_t count;
  bool insideOut;
};

TEST(CountWordsHTML, CountsRunsOutsideTags) {
  const WordCase cases[] = {
      {"<p>Hello world.</p>", false, false, 2, false},
      {"ab<i>cd</i> ", false, false, 2, false},
      {"one two", false, false, 1, false},  // the open run at the end is not counted
      {"one two", false, true, 0, true},
      {"x> one two ", false, true, 2, false},
      {"12 ab ", true, false, 1, false},
      {"12 ab ", false, false, 2, false},
      {"a b c ", false, false, 0, false},  // single characters are no words
      {"tag <open attr=\"x y z\" ", false, false, 1, true},
      {"\u00E4\u00F6 w\u00FCrde,", false, false, 2, false},
      {"", false, false, 0, false},
  };
  for (const auto& c : cases) {
    bool inside = c.insideIn;
    EXPECT_EQ(CountWordsHTML(S(c.text), c.skipNumbers, inside), c.count) << c.text;
    EXPECT_EQ(inside, c.insideOut) << c.text;
  }
}

TEST(CountWordsHTML, PiecesEndingAtSeparatorsAddUp) {
  const std::vector<const char*> pieces = {"<html><body title=\"a\n", "b c\">First line\n",
                                           "second <b>line</b>\n", "3rd 42 end.\n"};
  bool inside = false;
  int32_t total = 0;
  for (const char* p : pieces) total += CountWordsHTML(S(p), true, inside);
  EXPECT_EQ(total, 5);  // First line second line end; "3rd" and "42" are skipped as numbers
  EXPECT_FALSE(inside);
}

// ------------------------------------------------------------------ URLs

TEST(ExtractHTTPPath, KeepsHostAndDirectory) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"HTTP://server/a/b.htm", u"server/a/"},
      {u"http://server/", u"server/"},
      {u"/x", u"/"},
      {u"", u""},
      {u"http://server", u""},  // no "/" after the host: no directory
      {u"noslash", u""},
      {u"see http://h/p/q?x=1", u"h/p/"},
      {u"https://h/p/q", u"https://h/p/"},
  };
  CheckTable(cases, ExtractHTTPPath);
}

TEST(URLCoding, EncodeEscapesExactlyTheReservedCharacters) {
  EXPECT_EQ(URLEncode(u""), u"");
  EXPECT_EQ(URLEncode(u"a b/c"), u"a%20b%2Fc");
  EXPECT_EQ(URLEncode(u"!*();:@&=+$,/?%#[] "),
            u"%21%2A%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D%20");
  EXPECT_EQ(URLEncode(u"a'~-_.\u00E4\t\u20AC"), u"a'~-_.\u00E4\t\u20AC");
}

TEST(URLCoding, DecodeResolvesTwoPasses) {
  const std::pair<String, String> cases[] = {
      {u"%2541", u"A"},       {u"a%20b", u"a b"},      {u"100%", u"100%"},
      {u"%zz", u"%zz"},       {u"%4", u"%4"},          {u"%E4", u"\u00E4"},
      {u"a+b", u"a+b"},       {u"%4a%4A", u"JJ"},      {u"%252541", u"%41"},
      {u"%%41", u"%A"},       {u"%00", String(1, u'\0')},
  };
  CheckTable(cases, URLDecode);
  const String all = u"x!*();:@&=+$,/?%#[] y\u00E4";
  EXPECT_EQ(URLDecode(URLEncode(all)), all);
}

// ------------------------------------------------------------ references

TEST(HTMLEntities, CharacterToReference) {
  const std::pair<char16_t, const char16_t*> cases[] = {
      {u'&', u"&amp;"},     {u'<', u"&lt;"},      {u'>', u"&gt;"},       {u'"', u"&quot;"},
      {u'\'', u"&#39;"},    {u'a', u"a"},         {u'\n', u"\n"},        {160, u"&nbsp;"},
      {173, u"&shy;"},      {215, u"&times;"},    {223, u"&szlig;"},     {247, u"&divide;"},
      {255, u"&yuml;"},     {0x80, u"&#128;"},    {0x20AC, u"&#8364;"},  {0xD800, u"\xD800"},
  };
  CheckTable(cases, AnsiToHTMLEntity);
}

TEST(HTMLEntities, EveryLatin1ReferenceRoundTrips) {
  for (char16_t c = 160; c <= 255; ++c) {
    const String ref = AnsiToHTMLEntity(c);
    ASSERT_GE(ref.size(), 4u);
    EXPECT_LE(ref.size(), 8u);
    EXPECT_EQ(ref.front(), u'&');
    EXPECT_EQ(ref.back(), u';');
    EXPECT_EQ(HTMLEntityToAnsi(ref), c) << int(c);
    EXPECT_EQ(ResolveHTMLEntities(ref), String(1, c)) << int(c);
  }
}

TEST(HTMLEntities, ReferenceToCharacter) {
  const std::pair<const char16_t*, char16_t> cases[] = {
      {u"&auml;", 228},   {u"auml", 228},   {u"auml;", 228},  {u"&Auml;", 196},  {u"&AUML;", 0},
      {u"#228", 228},     {u"&#xE4;", 228}, {u"&#XE4;", 228}, {u"&#8364;", 0x20AC}, {u"&apos;", u'\''},
      {u"&#39;", u'\''},  {u"&amp;", u'&'}, {u"&#0;", 0},     {u"&#xD800;", 0},  {u"&#x1F600;", 0},
      {u"&#;", 0},        {u"&#x;", 0},     {u"&#12a;", 0},   {u"", 0},          {u"&;", 0},
      {u"&nosuch;", 0},
  };
  CheckTable(cases, HTMLEntityToAnsi);
}

TEST(HTMLEntities, ResolveReplacesKnownReferencesOnce) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"a &lt;b&gt; &amp;amp; &quot;", u"a <b> &amp; \""},
      {u"Gr&uuml;&szlig;e", u"Gr\u00FC\u00DFe"},
      {u"&#228;&#xe4;&#x1F600;", u"\u00E4\u00E4\U0001F600"},
      {u"AT&T; &nosuch; & &amp", u"AT&T; &nosuch; & &amp"},
      {u"&#0; &#xD800; &#x110000; &#99999999999;", u"&#0; &#xD800; &#x110000; &#99999999999;"},
      {u"&&amp;;", u"&&;"},
  };
  CheckTable(cases, ResolveHTMLEntities);
}

TEST(HTMLEntities, CompatibleTextIsAsciiAndResolvesBack) {
  const String text = u"<a href=\"x\">Tom's \u00E4 \u20AC \U0001F600</a>\r\n\tend";
  const String safe = MakeStringHTMLCompatible(text);
  EXPECT_EQ(safe, u"&lt;a href=&quot;x&quot;&gt;Tom&#39;s &auml; &#8364; &#128512;&lt;/a&gt;\r\n\tend");
  EXPECT_EQ(ResolveHTMLEntities(safe), text);
  EXPECT_EQ(MakeStringHTMLCompatible(u"a\xDC00" "b\xD800"), u"a&#65533;b&#65533;");
}

// ------------------------------------------------------------ page frame

TEST(HTMLPage, DefaultHeadAndFootFrameAPage) {
  const String head = DefaultHTMLHead(u"R&D <report>", u"", u"Q1 \"final\"", u"style.css", true);
  EXPECT_EQ(head,
            u"<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
            u"<title>R&amp;D &lt;report&gt;</title>\r\n"
            u"<meta name=\"description\" content=\"Q1 &quot;final&quot;\">\r\n"
            u"<link rel=\"stylesheet\" href=\"style.css\">\r\n</head>\r\n<body>\r\n");
  EXPECT_EQ(DefaultHTMLFoot(true), u"</body>\r\n</html>\r\n");
  EXPECT_EQ(DefaultHTMLFoot(false), u"</html>\r\n");
  EXPECT_EQ(DefaultHTMLHead(u" ", u"windows-1252", u"", u"", false),
            u"<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"windows-1252\">\r\n"
            u"<title>Untitled</title>\r\n</head>\r\n");
  // The frame's own body is empty.
  const String page = DefaultHTMLHead(u"T", u"", u"", u"", true) + u"<p>x</p>" + DefaultHTMLFoot(true);
  EXPECT_EQ(ExtractHTMLBody(page), u"\r\n<p>x</p>");
}

// ------------------------------------------------------------------ body

TEST(HTMLBody, ExtractTakesTheBodyElementContent) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"<html><BODY class=\"a>b\">in<b>x</b></Body></html>", u"in<b>x</b>"},
      {u"<body>open to the end", u"open to the end"},
      {u"<bodyx>no</bodyx>", u"<bodyx>no</bodyx>"},
      {u"fragment only", u"fragment only"},
      {u"<body\n>a</body >", u"a"},
      {u"<body", u""},
  };
  CheckTable(cases, ExtractHTMLBody);
}

TEST(HTMLBody, ConvertToTextDropsMarkupAndBreaksBlocks) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"<html><head><title>T</title></head><body>\n  <h1>Title</h1>\n<p>Some   <b>bold</b>\ttext &amp; more."
       u"</p><p>Two<br>lines</p></body></html>",
       u"Title|Some bold text & more.|Two|lines"},
      {u"<body>a<script>if (a<b) x='</p>';</script>b<style>p{}</style>c<!-- <p> -->d</body>", u"abcd"},
      {u"<table><tr><td>1</td><td>2</td></tr><tr><td>3</td></tr></table>", u"1 2|3"},
      {u"x < y and a<3", u"x < y and a<3"},
      {u"<p>&nbsp;caf&eacute;</p>", u"\u00A0caf\u00E9"},
      {u"<ul><li>a</li><li>b</li></ul>", u"a|b"},
      {u"<a href=\"x>y\">link</a> text", u"link text"},
      {u"", u""},
  };
  CheckTable(cases, [](StringView s) { return ConvertHTMLBodyToText(s, u'|'); });
}
