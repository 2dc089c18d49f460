// TGrep against std::regex (ECMAScript, optimize) on patterns that mean the
// same in both, and TGrep on a pattern that makes plain backtracking take
// exponential time.
//
// The shared patterns run over about 10 MB of generated text split into
// lines, the way a grep uses the matcher: each implementation gets the lines
// ready in its own string type (UTF-16 for TGrep, 8-bit for std::regex),
// prepared outside the timing, and one iteration searches every line once
// (TGrep::MatchString, std::regex_search) and counts the lines that match.
// Both counts must agree. Only whether and where a line matches is compared;
// the two engines do not promise the same match end.
#include <benchmark/benchmark.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "kyn/stringl.h"

namespace {

struct Text {
  std::vector<std::string> lines8;
  std::vector<kyn::String> lines16;
};

// About 10 MB of lines of random lower-case words and digits; some lines
// hold "needle", "abc<digits>x" or start with "key=".
const Text& TenMegabytes() {
  static const Text text = [] {
    Text t;
    std::mt19937 rng(42);
    size_t total = 0;
    const char* words[] = {"alpha", "beta", "abc", "key", "value", "x", "needl", "data", "42", "abc12"};
    while (total < 10u * 1000 * 1000) {
      std::string line;
      const unsigned kind = rng() % 40;
      if (kind == 0) line = "key=";
      while (line.size() < 40 + rng() % 60) {
        line += words[rng() % std::size(words)];
        line += (rng() % 7 == 0) ? "=" : " ";
        if (kind == 1 && line.size() > 30) line += "needle ";
        if (kind == 2 && line.size() > 20) line += "abc" + std::to_string(rng() % 100000) + "x ";
      }
      total += line.size() + 1;
      t.lines16.push_back(kyn::Utf8ToString(line));
      t.lines8.push_back(std::move(line));
    }
    return t;
  }();
  return text;
}

int64_t CountKyn(kyn::TGrep& g) {
  int64_t n = 0;
  for (const kyn::String& line : TenMegabytes().lines16) {
    int32_t pos = 0;
    n += g.MatchString(line, pos);
  }
  return n;
}

int64_t CountStd(const std::regex& re) {
  int64_t n = 0;
  for (const std::string& line : TenMegabytes().lines8) n += std::regex_search(line, re);
  return n;
}

void RunKyn(benchmark::State& state, const std::string& pattern) {
  const std::regex re(pattern, std::regex::ECMAScript | std::regex::optimize);
  const int64_t expected = CountStd(re);
  kyn::TGrep g(nullptr);
  g.SetRegExp(kyn::Utf8ToString(pattern));
  int64_t got = 0;
  for (auto _ : state) {
    got = CountKyn(g);
    benchmark::DoNotOptimize(got);
  }
  if (got != expected) state.SkipWithError("TGrep and std::regex disagree on the matching lines");
  state.counters["lines_matched"] = static_cast<double>(got);
}

void RunStd(benchmark::State& state, const std::string& pattern) {
  TenMegabytes();
  const std::regex re(pattern, std::regex::ECMAScript | std::regex::optimize);
  int64_t got = 0;
  for (auto _ : state) {
    got = CountStd(re);
    benchmark::DoNotOptimize(got);
  }
  state.counters["lines_matched"] = static_cast<double>(got);
}

// Matching line starts must agree too, not only the counts.
bool SameStarts(const std::string& pattern) {
  kyn::TGrep g(nullptr);
  g.SetRegExp(kyn::Utf8ToString(pattern));
  const std::regex re(pattern, std::regex::ECMAScript | std::regex::optimize);
  const Text& t = TenMegabytes();
  for (size_t i = 0; i < t.lines8.size(); i += 97) {
    std::smatch m;
    int32_t pos = 0;
    const bool a = g.MatchString(t.lines16[i], pos);
    const bool b = std::regex_search(t.lines8[i], m, re);
    if (a != b || (a && pos != m.position(0) + 1)) return false;
  }
  return true;
}

void BM_Kyn(benchmark::State& state, const char* pattern) {
  if (!SameStarts(pattern)) state.SkipWithError("match starts differ");
  RunKyn(state, pattern);
}
void BM_Std(benchmark::State& state, const char* pattern) { RunStd(state, pattern); }

BENCHMARK_CAPTURE(BM_Kyn, literal, "needle")->Name("literal/kyn")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Std, literal, "needle")->Name("literal/std_regex")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Kyn, digits, "abc[0-9]+x")->Name("digits/kyn")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Std, digits, "abc[0-9]+x")->Name("digits/std_regex")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Kyn, anchored, "^key=.*")->Name("anchored/kyn")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Std, anchored, "^key=.*")->Name("anchored/std_regex")->Unit(benchmark::kMillisecond);

// a*a*a*a*a*a*a*a*b against n letters a: no match, every start fails. Plain
// backtracking needs time exponential in the number of a*; the table of
// known failures keeps it at about n x tokens.
void BM_Patho(benchmark::State& state) {
  kyn::TGrep g(nullptr);
  g.SetRegExp(u"a*a*a*a*a*a*a*a*b");
  const kyn::String in(static_cast<size_t>(state.range(0)), u'a');
  for (auto _ : state) {
    int32_t pos = 0;
    benchmark::DoNotOptimize(g.MatchString(in, pos));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Patho)
    ->Name("patho/kyn")
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
