// kyn grep / kyn regex: searching text with the TGrep component.
#include <iostream>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli.h"
#include "kyn/platform/textfile.h"
#include "kyn/stringl.h"

namespace {

using kyn::cli::U16;
using kyn::cli::U8;

struct GrepOptions {
  bool ignoreCase = false;
  int32_t start = 1;
  std::string pattern;
  std::vector<std::string> files;
};

// A grep set up for the pattern; a bad pattern is a usage error carrying the
// library's error text.
std::unique_ptr<kyn::TGrep> Compile(const std::string& pattern, bool ignoreCase) {
  auto g = std::make_unique<kyn::TGrep>(nullptr);
  g->SetStopOnError(false);
  g->SetIgnoreCase(ignoreCase);
  g->SetRegExp(U16(pattern));
  return g;
}

void RequireNoError(const kyn::TGrep& g) {
  if (g.LastError() != 0)
    throw kyn::cli::UsageError("error in regular expression - " + U8(kyn::TGrep::ErrorText(g.LastError())));
}

// Splits text into lines at CR LF, LF or a lone CR, as the text files do.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < text.size()) {
    const size_t end = text.find_first_of("\r\n", i);
    if (end == std::string::npos) {
      lines.push_back(text.substr(i));
      break;
    }
    lines.push_back(text.substr(i, end - i));
    i = end + 1;
    if (text[end] == '\r' && i < text.size() && text[i] == '\n') ++i;
  }
  return lines;
}

// Prints the matching lines of one source; true when one matched.
bool GrepLines(kyn::TGrep& g, const std::vector<kyn::String>& lines, const std::string& prefix,
               std::ostream& out) {
  bool any = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    int32_t pos = 0;
    if (!g.MatchString(lines[i], pos)) continue;
    any = true;
    out << prefix << (i + 1) << ':' << g.MatchStartPos() << ':' << g.MatchEndPos() << ':' << U8(lines[i])
        << '\n';
  }
  return any;
}

std::vector<kyn::String> ReadFileLines(const std::string& name) {
  std::vector<kyn::String> lines;
  try {
    kyn::TTextFile f;
    f.SetEncoding(kyn::TTextEncoding::Utf8);
    f.Reset(U16(name));
    while (!f.Eof()) lines.push_back(f.ReadLn());
  } catch (const kyn::Exception& e) {
    throw kyn::cli::Failure(e.what(), 2);
  }
  return lines;
}

void RunGrep(const GrepOptions& o) {
  auto g = Compile(o.pattern, o.ignoreCase);
  RequireNoError(*g);
  g->SetSearchStartPos(o.start);
  bool any = false;
  if (o.files.empty()) {
    const std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    std::vector<kyn::String> lines;
    for (const std::string& l : SplitLines(text)) lines.push_back(U16(l));
    any = GrepLines(*g, lines, "", std::cout);
  } else {
    for (const std::string& name : o.files) {
      const std::string prefix = o.files.size() > 1 ? name + ":" : "";
      any = GrepLines(*g, ReadFileLines(name), prefix, std::cout) || any;
    }
  }
  if (!any) throw kyn::cli::ExitStatus{1};
}

void RunRegexPrint(const std::string& pattern, bool ignoreCase) {
  auto g = Compile(pattern, ignoreCase);
  for (const kyn::String& line : g->RegExpListing()) std::cout << U8(line) << '\n';
  RequireNoError(*g);
}

const bool registered = kyn::cli::RegisterFamily("grep", [](CLI::App& app) {
  auto o = std::make_shared<GrepOptions>();
  auto* grep = app.add_subcommand(
      "grep",
      "Print the lines that match a regular expression as LINE:START:END:text (positions count UTF-16 "
      "code units from 1; with several files each line starts with FILE:). Exit status 0 when a line "
      "matched, 1 when none did, 2 on a bad pattern or file");
  grep->add_flag("-i,--ignore-case", o->ignoreCase, "Fold A-Z to lower case in pattern and text");
  grep->add_option("--start", o->start, "Position in each line where the search starts")->capture_default_str();
  grep->add_option("PATTERN", o->pattern, "The regular expression")->required();
  grep->add_option("FILE", o->files, "UTF-8 text files (standard input when none)");
  grep->callback([o] { RunGrep(*o); });

  auto pattern = std::make_shared<std::string>();
  auto ignoreCase = std::make_shared<bool>(false);
  auto* regex = app.add_subcommand("regex", "Show how a regular expression compiles");
  auto print = std::make_shared<bool>(false);
  regex->add_flag("--print", *print, "Write the token listing (one line per token, then the error text)")
      ->required();
  regex->add_flag("-i,--ignore-case", *ignoreCase, "Fold A-Z to lower case");
  regex->add_option("PATTERN", *pattern, "The regular expression")->required();
  // The callback owns the option targets, CLI11 writes them while parsing.
  regex->callback([pattern, ignoreCase, print] { RunRegexPrint(*pattern, *ignoreCase); });
});

void Demo(kyn::cli::DemoContext& ctx) {
  struct Example {
    const char* pattern;
    const char* text;
  } examples[] = {
      {"abc", "xxabcxx"},         {"a.*b", "a1b2b"},   {"ab*", "abbbc"},  {"x[0-9]+", "x123y"},
      {"(ab)+", "ababx"},         {"b*$", "a"},        {"^key=.*", "key=value"},
      {"[^a-z ]+", "find 42 here"},
  };
  kyn::TGrep g(nullptr);
  g.SetStopOnError(false);
  ctx.out << "pattern      text           match\n";
  for (const Example& e : examples) {
    g.SetRegExp(U16(e.pattern));
    int32_t pos = 0;
    const kyn::String text = U16(e.text);
    std::string result = "none";
    if (g.MatchString(text, pos)) {
      const int32_t len = g.MatchEndPos() - pos + 1;
      result = std::to_string(pos) + ".." + std::to_string(g.MatchEndPos()) + " \"" +
               U8(text.substr(static_cast<size_t>(pos - 1), static_cast<size_t>(len))) + "\"";
    }
    std::string p = e.pattern, t = e.text;
    p.resize(12, ' ');
    t.resize(14, ' ');
    ctx.out << p << ' ' << t << ' ' << result << '\n';
  }
  g.SetRegExp(u"ab*[0-9]");
  ctx.out << "tokens of ab*[0-9]:\n";
  for (const kyn::String& line : g.RegExpListing()) ctx.out << "  " << U8(line) << '\n';
  g.SetRegExp(u"[]");
  ctx.out << "[] gives error " << g.LastError() << ": " << U8(kyn::TGrep::ErrorText(g.LastError())) << '\n';
}

const bool demo = kyn::cli::RegisterDemo(35, "Regular expressions", Demo);

}  // namespace
