// kyn str FUNCTION ...: the string toolbox from the shell. Text is UTF-8 on
// the command line, on standard input and on standard output.
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>

#include "cli.h"
#include "kyn/stringl.h"

namespace {

using kyn::String;
using kyn::cli::U16;
using kyn::cli::U8;
using kyn::cli::UsageError;

// The text argument of a subcommand; standard input (without its final line
// end) when it is not given.
struct TextArg {
  std::string value;
  CLI::Option* opt = nullptr;

  void Add(CLI::App* sub) {
    opt = sub->add_option("TEXT", value, "The text (read from standard input when omitted)");
  }
  String Get() const {
    if (opt->count() > 0) return U16(value);
    std::string in((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    if (!in.empty() && in.back() == '\n') in.pop_back();
    if (!in.empty() && in.back() == '\r') in.pop_back();
    return U16(in);
  }
};

void Print(const String& s) { std::cout << U8(s) << '\n'; }

// A single character option given as UTF-8 text.
char16_t OneChar(const std::string& text, const char* what) {
  const String c = U16(text);
  if (c.size() != 1) throw UsageError(std::string(what) + " must be a single character, got \"" + text + "\"");
  return c[0];
}

// Writes codes below 32, 127..159 and the backslash as escapes that
// ProcessHexChars reads back ("\#hh" and "\\").
String EscapeForShell(const String& s) {
  String r;
  for (char16_t c : s) {
    if (c == u'\\') r += u"\\\\";
    else if (c < 32 || (c >= 127 && c < 160)) r += u"\\#" + kyn::IntToHexStr(c, 2);
    else r += c;
  }
  return r;
}

// Registers a subcommand that maps its text through fn and prints the result.
void AddMapper(CLI::App* str, const char* name, const char* help, String (*fn)(kyn::StringView)) {
  auto* sub = str->add_subcommand(name, help);
  auto text = std::make_shared<TextArg>();
  text->Add(sub);
  sub->callback([text, fn] { Print(fn(text->Get())); });
}

void AddTokenize(CLI::App* str) {
  auto* sub = str->add_subcommand(
      "tokenize", "Split TEXT at a delimiter (Tokenize): one part per line, at most 100 parts");
  auto text = std::make_shared<TextArg>();
  auto delim = std::make_shared<std::string>(",");
  auto escape = std::make_shared<std::string>();
  auto count = std::make_shared<bool>(false);
  text->Add(sub);
  sub->add_option("-d,--delimiter", *delim, "The delimiter text")->capture_default_str();
  auto* escOpt = sub->add_option("-e,--escape", *escape, "Escape character: a delimiter after it does not split");
  sub->add_flag("-c,--count", *count, "Print only the number of parts");
  sub->callback([=] {
    const String s = text->Get();
    kyn::TOpenStringArray parts;
    const int32_t n = escOpt->count() > 0 ? kyn::Tokenize(s, U16(*delim), OneChar(*escape, "--escape"), parts)
                                          : kyn::Tokenize(s, U16(*delim), parts);
    if (*count) {
      std::cout << n << '\n';
      return;
    }
    for (const String& p : parts) Print(p);
  });
}

void AddStrip(CLI::App* str) {
  auto* sub = str->add_subcommand("strip", "Remove leading and trailing blanks (StripLTBlanks and relatives)");
  auto text = std::make_shared<TextArg>();
  auto leading = std::make_shared<bool>(false);
  auto trailing = std::make_shared<bool>(false);
  auto ch = std::make_shared<std::string>();
  text->Add(sub);
  auto* l = sub->add_flag("-l,--leading", *leading, "Only leading (a text of blanks only keeps one)");
  auto* t = sub->add_flag("-t,--trailing", *trailing, "Only trailing (a text of blanks only keeps one)");
  l->excludes(t);
  auto* c = sub->add_option("--char", *ch, "Strip this character instead of the blank (needs -l or -t)");
  sub->callback([=] {
    const String s = text->Get();
    if (c->count() > 0) {
      const char16_t x = OneChar(*ch, "--char");
      if (*leading) return Print(kyn::StripLeadingChars(x, s));
      if (*trailing) return Print(kyn::StripTrailingChars(x, s));
      throw UsageError("--char needs --leading or --trailing");
    }
    if (*leading) return Print(kyn::StripLeadingBlanks(s));
    if (*trailing) return Print(kyn::StripTrailingBlanks(s));
    Print(kyn::StripLTBlanks(s));
  });
}

void AddCenter(CLI::App* str) {
  auto* sub = str->add_subcommand("center", "Center TEXT in WIDTH characters (CenterString); longer text is cut");
  auto text = std::make_shared<std::string>();
  auto width = std::make_shared<int>(0);
  sub->add_option("TEXT", *text, "The text")->required();
  sub->add_option("WIDTH", *width, "The width, 0..255")->required();
  sub->callback([=] {
    if (*width < 0 || *width > 255) throw UsageError("WIDTH must be 0..255, got " + std::to_string(*width));
    Print(kyn::CenterString(U16(*text), static_cast<uint8_t>(*width)));
  });
}

void AddAbbrev(CLI::App* str) {
  auto* sub = str->add_subcommand("abbrev", "Shorten TEXT to MAX characters ending in \"..\" (AbbrevString)");
  auto text = std::make_shared<std::string>();
  auto max = std::make_shared<int32_t>(0);
  sub->add_option("TEXT", *text, "The text")->required();
  sub->add_option("MAX", *max, "The longest result kept unchanged")->required();
  sub->callback([=] { Print(kyn::AbbrevString(U16(*text), *max)); });
}

void AddCountWords(CLI::App* str) {
  auto* sub = str->add_subcommand(
      "countwords", "Count the words of TEXT (CountWords: runs of 2 or more characters ended by a separator)");
  auto text = std::make_shared<TextArg>();
  text->Add(sub);
  sub->callback([text] { std::cout << kyn::CountWords(text->Get()) << '\n'; });
}

void AddScrambler(CLI::App* str, bool forward) {
  auto* sub = str->add_subcommand(forward ? "scramble" : "descramble",
                                  forward ? "Scramble TEXT with the character permutation of a seed"
                                          : "Restore text scrambled with the same seed");
  auto text = std::make_shared<TextArg>();
  auto seed = std::make_shared<int32_t>(5807);
  auto escaped = std::make_shared<bool>(false);
  text->Add(sub);
  sub->add_option("-s,--seed", *seed, "The seed of the permutation")->capture_default_str();
  sub->add_flag(forward ? "-x,--escape" : "-x,--escaped", *escaped,
                forward ? "Write control characters and \\ as \\#hh and \\\\ escapes"
                        : "The text holds \\#hh and \\\\ escapes (as written by scramble --escape)");
  sub->callback([=] {
    String s = text->Get();
    kyn::InitScramble(*seed);
    if (forward) {
      s = kyn::Scramble(s);
      Print(*escaped ? EscapeForShell(s) : s);
    } else {
      Print(kyn::DeScramble(*escaped ? kyn::ProcessHexChars(s) : s));
    }
  });
}

void Demo(kyn::cli::DemoContext& ctx) {
  auto q = [](const String& s) { return "[" + U8(s) + "]"; };
  auto row = [&ctx](const std::string& call, const std::string& result) {
    const size_t width = U16(call).size();
    ctx.out << call << std::string(width < 42 ? 42 - width : 1, ' ') << "-> " << result << '\n';
  };
  kyn::TOpenStringArray parts;
  const int32_t n = kyn::Tokenize(u"a,b,,c", u",", parts);
  std::string joined = std::to_string(n) + " parts:";
  for (const String& p : parts) joined += ' ' + q(p);
  row("Tokenize(\"a,b,,c\", \",\")", joined);
  kyn::Tokenize(u"x\\,y,z", u",", u'\\', parts);
  row("Tokenize(\"x\\,y,z\", \",\", '\\')", q(parts[0]) + ' ' + q(parts[1]));
  row("StripLTBlanks(\"  padded  \")", q(kyn::StripLTBlanks(u"  padded  ")));
  row("CenterString(\"ab\", 6)", q(kyn::CenterString(u"ab", 6)));
  row("AbbrevString(\"abcdefgh\", 5)", q(kyn::AbbrevString(u"abcdefgh", 5)));
  row("CapitalizeString(\"hello world-wide 2nd\")", q(kyn::CapitalizeString(u"hello world-wide 2nd")));
  row("CountWords(\"ab cd.\")", std::to_string(kyn::CountWords(u"ab cd.")));
  row("NumberedPos(\"ab\", \"xabyabab\", 1, 2)", std::to_string(kyn::NumberedPos(u"ab", u"xabyabab", 1, 2, false)));
  row("ExpandDiphthongs(\"Äpfel, Straße\")", q(kyn::ExpandDiphthongs(kyn::S("Äpfel, Straße"))));
  row("ReduceStringToAZ09(\"Grüße aus Köln!\")", q(kyn::ReduceStringToAZ09(kyn::S("Grüße aus Köln!"))));
  row("ChangeCase(\"Ärger\")", q(kyn::ChangeCase(kyn::S("Ärger"))));
  kyn::InitScramble(5807);
  const String sc = kyn::Scramble(u"secret");
  row("Scramble(\"secret\")", q(EscapeForShell(sc)) + "  DeScramble -> " + q(kyn::DeScramble(sc)));
  row("UUEncodeStr(\"Cat\")", q(kyn::UUEncodeStr(u"Cat")));
}

const bool registered = kyn::cli::RegisterFamily("str", [](CLI::App& app) {
  auto* str = app.add_subcommand("str", "String toolbox functions (tokenize, strip, center, ...)");
  str->require_subcommand(1);
  AddTokenize(str);
  AddStrip(str);
  AddCenter(str);
  AddAbbrev(str);
  AddMapper(str, "capitalize", "Upper-case the first letter of every word (CapitalizeString)",
            &kyn::CapitalizeString);
  AddCountWords(str);
  AddMapper(str, "expanddiphthongs", "Spell out German special letters: ä -> ae, ß -> ss (ExpandDiphthongs)",
            &kyn::ExpandDiphthongs);
  AddMapper(str, "urlsafe", "Replace every character outside 0-9, A-Z, a-z by _ (ReduceStringToAZ09)",
            &kyn::ReduceStringToAZ09);
  AddMapper(str, "changecase", "Toggle the case of every character by the locale's rules (ChangeCase)",
            &kyn::ChangeCase);
  AddMapper(str, "hexchars", "Resolve \\#hh and \\\\ escapes (ProcessHexChars)", &kyn::ProcessHexChars);
  AddScrambler(str, true);
  AddScrambler(str, false);
});

const bool demo = kyn::cli::RegisterDemo(30, "String toolbox", Demo);

}  // namespace
