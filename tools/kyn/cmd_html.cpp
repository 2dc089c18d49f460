// kyn html, kyn url, kyn words and kyn xml: the HTML template producer, URL
// percent-coding, HTML word counting and the XML tag reader; plus the
// "Streams, XML and HTML" section of the demo.
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli.h"
#include "kyn/htmlsupport.h"
#include "kyn/streams.h"
#include "kyn/stringl.h"

namespace {

using kyn::String;
using kyn::cli::Failure;
using kyn::cli::U16;
using kyn::cli::U8;
using kyn::cli::UsageError;

kyn::TTextEncoding Encoding(bool ansi) {
  return ansi ? kyn::TTextEncoding::Windows1252 : kyn::TTextEncoding::Utf8;
}

// Text on one line: backslash, TAB, CR and LF as \\ \t \r \n.
std::string Escaped(const String& s) {
  std::string r;
  for (const char c : U8(s)) {
    switch (c) {
      case '\\': r += "\\\\"; break;
      case '\t': r += "\\t"; break;
      case '\r': r += "\\r"; break;
      case '\n': r += "\\n"; break;
      default: r += c;
    }
  }
  return r;
}

// ------------------------------------------------------------------ html

struct HtmlOptions {
  std::string templ, out;
  std::vector<std::string> sets;
  bool list = false, ansi = false;
};

void RunHtml(const HtmlOptions& o) {
  std::map<String, String> values;
  for (const std::string& s : o.sets) {
    const size_t eq = s.find('=');
    if (eq == std::string::npos || eq == 0) throw UsageError("--set wants NAME=TEXT, got \"" + s + "\"");
    values[kyn::AsciiLowerCase(U16(s.substr(0, eq)))] = U16(s.substr(eq + 1));
  }
  kyn::THtmlProducer producer(nullptr);
  try {
    producer.ReadTemplateFromFile(U16(o.templ), Encoding(o.ansi));
  } catch (const kyn::Exception& e) {
    throw Failure(e.what(), 1);
  }
  if (o.list) {
    producer.SetOnHTMLTag([](kyn::TObject*, const String& Name, const String& Params, String&) {
      std::cout << U8(Name) << '\t' << U8(Params) << '\n';
    });
    producer.Convert();
    return;
  }
  producer.SetOnHTMLTag([&values](kyn::TObject*, const String& Name, const String&, String& Replacement) {
    const auto it = values.find(Name);
    if (it != values.end()) Replacement = it->second;
  });
  producer.Convert();
  if (o.out.empty()) {
    const String& html = producer.ConvertedHTML();
    std::cout << (o.ansi ? kyn::StringToAnsi(html) : U8(html));
    return;
  }
  try {
    producer.WriteConvertedHTMLToFile(U16(o.out), Encoding(o.ansi));
  } catch (const kyn::Exception& e) {
    throw Failure(e.what(), 1);
  }
}

void SetupHtml(CLI::App& app) {
  auto* sub = app.add_subcommand("html", "Fill an HTML template: each <#name params> tag named with --set is replaced");
  auto o = std::make_shared<HtmlOptions>();
  sub->add_option("TEMPLATE", o->templ, "Template file (UTF-8 unless --ansi)")->required();
  sub->add_option("--set", o->sets, "NAME=TEXT: replace the tags named NAME (any case) by TEXT; may be repeated");
  sub->add_option("--out", o->out, "Write the result to this file instead of standard output");
  sub->add_flag("--list", o->list, "Print each tag's name and parameters (TAB between them) instead");
  sub->add_flag("--ansi", o->ansi, "Template and result in Windows-1252 instead of UTF-8");
  sub->footer(
      "The template is read line by line; every line of the result ends with CR LF.\n"
      "Tags whose names were not given stay as they are.");
  sub->callback([o] { RunHtml(*o); });
}

// ------------------------------------------------------------------ url

void SetupUrl(CLI::App& app) {
  auto* url = app.add_subcommand("url", "URL percent-coding");
  url->require_subcommand(1);
  auto text = std::make_shared<std::string>();
  auto* enc = url->add_subcommand("encode", "Escape ! * ( ) ; : @ & = + $ , / ? % # [ ] and blank as %XX");
  enc->add_option("TEXT", *text, "Text to encode")->required();
  enc->callback([text] { std::cout << U8(kyn::URLEncode(U16(*text))) << '\n'; });
  auto raw = std::make_shared<bool>(false);
  auto* dec = url->add_subcommand("decode", "Resolve %XX escapes, in two passes");
  dec->add_option("TEXT", *text, "Text to decode")->required();
  dec->add_flag("--raw", *raw, "Print each decoded character as one byte (so %C3%A4 gives the UTF-8 bytes of an a-umlaut)");
  dec->footer("Each escape becomes the character of that code (0..255); without --raw the result is printed as UTF-8.");
  dec->callback([text, raw] {
    const String s = kyn::URLDecode(U16(*text));
    if (*raw) {
      std::string bytes;
      for (const char16_t c : s) bytes += static_cast<char>(c & 0xFF);
      std::cout << bytes << '\n';
    } else {
      std::cout << U8(s) << '\n';
    }
  });
}

// ------------------------------------------------------------------ words

struct WordsOptions {
  std::vector<std::string> files;
  bool html = false, skipNumbers = false, ansi = false;
};

// Counts one line-wise source; each line is fed with a LF after it.
template <class NextLine>
int64_t CountWords(const WordsOptions& o, NextLine next) {
  int64_t total = 0;
  bool inside = false;
  String line;
  while (next(line)) {
    line += u'\n';
    if (!o.html) {
      // "<" and ">" are word separators anyway; as blanks they open no tag.
      line = kyn::ReplaceCharInString(kyn::ReplaceCharInString(line, u'<', u' '), u'>', u' ');
    }
    total += kyn::CountWordsHTML(line, o.skipNumbers, inside);
  }
  return total;
}

void RunWords(const WordsOptions& o) {
  if (o.files.empty()) {
    std::cout << CountWords(o, [](String& line) {
      std::string l;
      if (!std::getline(std::cin, l)) return false;
      line = U16(l);
      return true;
    }) << '\n';
    return;
  }
  int64_t total = 0;
  for (const std::string& name : o.files) {
    kyn::TTextFile f;
    f.SetEncoding(Encoding(o.ansi));
    int64_t n = 0;
    try {
      f.Reset(U16(name));
      n = CountWords(o, [&f](String& line) {
        if (f.Eof()) return false;
        line = f.ReadLn();
        return true;
      });
    } catch (const kyn::Exception& e) {
      throw Failure(e.what(), 1);
    }
    total += n;
    std::cout << n << '\t' << name << '\n';
  }
  if (o.files.size() > 1) std::cout << total << "\ttotal\n";
}

void SetupWords(CLI::App& app) {
  auto* sub = app.add_subcommand("words", "Count words as the library does: runs of two or more non-separator characters");
  auto o = std::make_shared<WordsOptions>();
  sub->add_option("FILE", o->files, "Files to count (standard input when none)");
  sub->add_flag("--html", o->html, "Skip markup: text between < and > is not counted");
  sub->add_flag("--skip-numbers", o->skipNumbers, "Do not count words that start with a digit");
  sub->add_flag("--ansi", o->ansi, "Files in Windows-1252 instead of UTF-8");
  sub->footer("Input is fed line by line, each line with its line end, so tags may span lines.");
  sub->callback([o] { RunWords(*o); });
}

// ------------------------------------------------------------------ xml

struct XmlOptions {
  std::string file, names;
  bool ansi = false;
};

void RunXmlTags(const XmlOptions& o) {
  kyn::TStrArray names;
  std::string rest = o.names;
  for (size_t comma; (comma = rest.find(',')) != std::string::npos; rest.erase(0, comma + 1))
    names.push_back(U16(rest.substr(0, comma)));
  names.push_back(U16(rest));
  // Two entries of our own behind the caller's: "" matches only an empty tag
  // text (the end of the input), the other one is the fallback for the rest.
  kyn::TStrArray list = names;
  list.push_back(String());
  list.push_back(u"<no tag>");
  const int32_t empty = static_cast<int32_t>(names.size());
  const int32_t fallback = empty - 1;  // what the caller's list alone gives
  kyn::TTextFile f;
  f.SetEncoding(Encoding(o.ansi));
  try {
    f.Reset(U16(o.file));
    while (!f.Eof()) {
      String attrs, enclosed;
      int32_t index = kyn::ReadNextTagInTextFile(f, list, attrs, enclosed);
      if (index == empty && f.Eof()) break;  // only white space or text was left
      if (index > fallback) index = fallback;
      std::cout << index << '\t' << Escaped(attrs) << '\t' << Escaped(enclosed) << '\n';
    }
  } catch (const kyn::Exception& e) {
    throw Failure(e.what(), 1);
  }
}

void SetupXml(CLI::App& app) {
  auto* xml = app.add_subcommand("xml", "Read XML-like files as the library does");
  xml->require_subcommand(1);
  auto o = std::make_shared<XmlOptions>();
  auto* tags = xml->add_subcommand("tags", "Walk FILE tag by tag: print index, attribute text and enclosed text");
  tags->add_option("FILE", o->file, "File to read (UTF-8 unless --ansi)")->required();
  tags->add_option("--names", o->names, "Tag names a,b,c in lower case; a tag's index is its place in this list")
      ->required();
  tags->add_flag("--ansi", o->ansi, "File in Windows-1252 instead of UTF-8");
  tags->footer(
      "One line per tag: index, TAB, attribute text, TAB, enclosed text, with \\ TAB CR LF written as\n"
      "\\\\ \\t \\r \\n. Tags not in the list, closing tags and empty tags give the last index.\n"
      "An element's enclosed text runs to its first </name>; the walk goes on after it.");
  tags->callback([o] { RunXmlTags(*o); });
}

// ------------------------------------------------------------------ demo

const bool registeredHtml = kyn::cli::RegisterFamily("html", SetupHtml);
const bool registeredUrl = kyn::cli::RegisterFamily("url", SetupUrl);
const bool registeredWords = kyn::cli::RegisterFamily("words", SetupWords);
const bool registeredXml = kyn::cli::RegisterFamily("xml", SetupXml);

const bool demo = kyn::cli::RegisterDemo(50, "Streams, XML and HTML", [](kyn::cli::DemoContext& ctx) {
  kyn::THtmlProducer producer(nullptr);
  producer.SetTemplate(kyn::DefaultHTMLHead(u"Measurement report", u"", u"", u"", true) +
                       u"<h1><#title></h1>\r\n<p>Samples: <#count digits=3></p>\r\n<#table rows=3>\r\n" +
                       kyn::DefaultHTMLFoot(true));
  producer.SetOnHTMLTag([](kyn::TObject*, const String& Name, const String& Params, String& Repl) {
    if (Name == u"title") Repl = kyn::MakeStringHTMLCompatible(u"Temperatures <\u00B0C>");
    else if (Name == u"count") Repl = u"042 (" + Params + u")";
    else if (Name == u"table") Repl = u"<table><tr><td>1</td><td>20.5</td></tr></table>";
  });
  producer.Convert();
  ctx.out << "Template tags <#title>, <#count digits=3> and <#table rows=3> filled by a callback:\n";
  const String body = kyn::ExtractHTMLBody(producer.ConvertedHTML());
  ctx.out << U8(kyn::StripLTBlanks(kyn::ReplaceCharInString(body, u'\r', u' '))) << '\n';
  std::error_code ec;
  std::filesystem::create_directories(ctx.dir, ec);
  const std::filesystem::path page = ctx.dir / "page.html";
  producer.WriteConvertedHTMLToFile(U16(page.string()), kyn::TTextEncoding::Utf8);
  ctx.out << "wrote " << page.string() << '\n';
  ctx.out << "as text: " << U8(kyn::ConvertHTMLBodyToText(producer.ConvertedHTML(), u'/')) << '\n';
  bool inside = false;
  ctx.out << "words: " << kyn::CountWordsHTML(producer.ConvertedHTML(), true, inside) << '\n';
  ctx.out << "URLEncode(\"a b/c?\") = " << U8(kyn::URLEncode(u"a b/c?")) << '\n';
  ctx.out << "URLDecode(\"%2541\") = " << U8(kyn::URLDecode(u"%2541")) << '\n';

  kyn::TStringStream xml(std::string("<!-- sample --><font size=\"3\" name=\"Arial\">Hello <b>x</b></font>"));
  String attrs, enclosed;
  const int32_t index = kyn::ReadNextTagInStream(xml, {u"font", u"other"}, attrs, enclosed);
  ctx.out << "ReadNextTagInStream: index " << index << ", attributes " << U8(attrs) << ", enclosed \""
          << U8(enclosed) << "\", name=" << U8(kyn::ScanForXMLAttrib(attrs, u"NAME")) << '\n';
});

}  // namespace
