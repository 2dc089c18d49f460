// kyn tables: the universal constants and the language tables.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli.h"
#include "kyn/kynbase.h"

namespace {

using kyn::cli::U8;

struct NamedConstant {
  const char* name;
  long double value;
};

const NamedConstant kConstants[] = {
    {"uc_e", kyn::uc_e},
    {"uc_etom1", kyn::uc_etom1},
    {"uc_lg2", kyn::uc_lg2},
    {"uc_lg5", kyn::uc_lg5},
    {"uc_lge", kyn::uc_lge},
    {"uc_lgPi", kyn::uc_lgPi},
    {"uc_ln10", kyn::uc_ln10},
    {"uc_ln2", kyn::uc_ln2},
    {"uc_lnPi", kyn::uc_lnPi},
    {"uc_PiH", kyn::uc_PiH},
    {"uc_PiSqr", kyn::uc_PiSqr},
    {"uc_Pitom1", kyn::uc_Pitom1},
    {"uc_sqrt2", kyn::uc_sqrt2},
    {"uc_sqrt2pi", kyn::uc_sqrt2pi},
    {"uc_sqrt2pitom1", kyn::uc_sqrt2pitom1},
    {"uc_GoldenR", kyn::uc_GoldenR},
    {"uc_MinReal", kyn::uc_MinReal},
    {"uc_MaxReal", kyn::uc_MaxReal},
    {"uc_MinSingle", kyn::uc_MinSingle},
    {"uc_MaxSingle", kyn::uc_MaxSingle},
    {"uc_MinDouble", kyn::uc_MinDouble},
    {"uc_MaxDouble", kyn::uc_MaxDouble},
    {"uc_MinExtended", kyn::uc_MinExtended},
    {"uc_MaxExtended", kyn::uc_MaxExtended},
    {"uc_lnMinDouble", kyn::uc_lnMinDouble},
    {"uc_lnMaxDouble", kyn::uc_lnMaxDouble},
    {"uc_lnMaxExtended", kyn::uc_lnMaxExtended},
    {"uc_lnMinExtended", kyn::uc_lnMinExtended},
    {"uc_lnMinReal", kyn::uc_lnMinReal},
    {"uc_lnMaxReal", kyn::uc_lnMaxReal},
    {"uc_lnMinSingle", kyn::uc_lnMinSingle},
    {"uc_lnMaxSingle", kyn::uc_lnMaxSingle},
};

// name = value to 20 digits, then the stored sign/exponent word and significand.
std::string ConstantLine(const NamedConstant& c) {
  unsigned char raw[sizeof(long double)];
  std::memcpy(raw, &c.value, sizeof raw);
  uint64_t significand;
  uint16_t signExp;
  std::memcpy(&significand, raw, 8);
  std::memcpy(&signExp, raw + 8, 2);
  char buf[128];
  std::snprintf(buf, sizeof buf, "%-17s %.19Le  [%04X %016llX]", c.name, c.value, signExp,
                static_cast<unsigned long long>(significand));
  return buf;
}

void PrintConstants(std::ostream& out) {
  out << "Universal constants (value, stored 80-bit pattern)\n";
  for (const NamedConstant& c : kConstants) out << "  " << ConstantLine(c) << '\n';
  out << "  uc_LnFactorial    1001 entries ln(n!), n = 0..1000 (kyn tables uc_LnFactorial)\n";
}

void PrintLnFactorial(std::ostream& out) {
  out << "uc_LnFactorial: ln(n!) to 15 significant digits\n";
  for (size_t n = 0; n < kyn::uc_LnFactorial.size(); ++n) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "  %4zu  %.15g\n", n, kyn::uc_LnFactorial[n]);
    out << buf;
  }
}

std::string Quoted(kyn::LangEntry e) { return '"' + U8(kyn::String(e)) + '"'; }

template <typename Row>
void PrintRow(std::ostream& out, const std::string& label, const Row& row) {
  out << "  " << label << ':';
  bool first = true;
  for (kyn::LangEntry e : row) {
    out << (first ? " " : ", ") << Quoted(e);
    first = false;
  }
  out << '\n';
}

std::string LanguageName(int lg) { return U8(kyn::String(kyn::xmlLanguage[static_cast<size_t>(lg)])); }

template <typename Table>
std::function<void(std::ostream&)> PerLanguage(const char* title, const Table& table) {
  return [title, &table](std::ostream& out) {
    out << title << '\n';
    for (int lg = kyn::lgUnknown; lg <= kyn::lgSpanish; ++lg) PrintRow(out, LanguageName(lg), table[lg]);
  };
}

void PrintHtmlEntities(std::ostream& out) {
  out << "HTMLLat1Entities (character code, character, entity)\n";
  for (int c = 160; c <= 255; ++c)
    out << "  " << c << ' ' << U8(kyn::String(1, static_cast<char16_t>(c))) << ' '
        << U8(kyn::String(kyn::HTMLLat1Entities[c])) << '\n';
}

struct Section {
  std::string name;
  std::function<void(std::ostream&)> print;
  bool inFullListing;
};

const std::vector<Section>& Sections() {
  static const std::vector<Section> sections = {
      {"constants", PrintConstants, true},
      {"uc_LnFactorial", PrintLnFactorial, false},
      {"MonthShort", PerLanguage("MonthShort (months 1..12)", kyn::MonthShort), true},
      {"MonthLong", PerLanguage("MonthLong (months 1..12)", kyn::MonthLong), true},
      {"WeekDayShort", PerLanguage("WeekDayShort (Monday 1 .. Sunday 7)", kyn::WeekDayShort), true},
      {"WeekDayLong", PerLanguage("WeekDayLong (Monday 1 .. Sunday 7)", kyn::WeekDayLong), true},
      {"NumWords", PerLanguage("NumWords (0..12)", kyn::NumWords), true},
      {"LanguageID", PerLanguage("LanguageID (written in, then the languages named)", kyn::LanguageID), true},
      {"ISO639_2Char", [](std::ostream& out) { out << "ISO639_2Char\n"; PrintRow(out, "codes", kyn::ISO639_2Char); }, true},
      {"ISO639_3Char", [](std::ostream& out) { out << "ISO639_3Char\n"; PrintRow(out, "codes", kyn::ISO639_3Char); }, true},
      {"HTMLLat1Entities", PrintHtmlEntities, true},
  };
  return sections;
}

std::string ValidNames() {
  std::string names;
  for (const Section& s : Sections()) names += (names.empty() ? "" : ", ") + s.name;
  return names;
}

const bool registered = kyn::cli::RegisterFamily("tables", [](CLI::App& app) {
  auto name = std::make_shared<std::string>();
  auto* sub = app.add_subcommand("tables", "Print the universal constants and the language tables");
  sub->add_option("NAME", *name, "One table: " + ValidNames() + " (default: all but uc_LnFactorial)");
  sub->callback([name] {
    bool found = false;
    for (const Section& s : Sections()) {
      if (name->empty() ? !s.inFullListing : s.name != *name) continue;
      if (found) std::cout << '\n';
      s.print(std::cout);
      found = true;
    }
    if (!found) throw kyn::cli::UsageError("unknown table \"" + *name + "\"; valid names: " + ValidNames());
  });
});

const bool demo = kyn::cli::RegisterDemo(10, "Constants and language tables", [](kyn::cli::DemoContext& ctx) {
  ctx.out << "  " << ConstantLine(kConstants[6]) << '\n';   // uc_ln10
  ctx.out << "  " << ConstantLine(kConstants[21]) << '\n';  // uc_MaxDouble
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", kyn::uc_LnFactorial[10]);
  ctx.out << "  uc_LnFactorial[10] = " << buf << '\n';
  ctx.out << "  MonthLong[lgGerman][3] = " << Quoted(kyn::MonthLong[kyn::lgGerman][3])
          << ", WeekDayLong[lgSpanish][6] = " << Quoted(kyn::WeekDayLong[kyn::lgSpanish][6])
          << ", NumWords[lgFrench][0] = " << Quoted(kyn::NumWords[kyn::lgFrench][0]) << '\n';
  ctx.out << "  LanguageID[lgFrench][lgGerman] = " << Quoted(kyn::LanguageID[kyn::lgFrench][kyn::lgGerman])
          << ", HTMLLat1Entities[215] = " << Quoted(kyn::HTMLLat1Entities[215]) << '\n';
});

}  // namespace
