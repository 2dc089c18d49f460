// ScanFPNum against strtod and std::from_chars over a fixed mix of typical
// numbers.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdlib>
#include <string>
#include <vector>

#include "kyn/kynbase/numscan.h"

namespace {

const std::vector<std::string>& Mix() {
  static const std::vector<std::string> mix = {
      "3.14", "-12.5e3", "1,5", "0.000123", "12345678901234567", "0.12345678901234567",
      "-9.8765432109876543e-12", "42", "6.02214076e23", "1.7976931348623157"};
  return mix;
}

void ScanFP_kyn(benchmark::State& state) {
  std::vector<kyn::String> texts;
  for (const std::string& s : Mix()) texts.push_back(kyn::Utf8ToString(s));
  for (auto _ : state)
    for (const kyn::String& t : texts) {
      int32_t pos = 1;
      benchmark::DoNotOptimize(kyn::ScanFPNum(t, true, 3, pos));
    }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}

void ScanFP_strtod(benchmark::State& state) {
  for (auto _ : state)
    for (const std::string& t : Mix()) benchmark::DoNotOptimize(std::strtod(t.c_str(), nullptr));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Mix().size()));
}

void ScanFP_from_chars(benchmark::State& state) {
  for (auto _ : state)
    for (const std::string& t : Mix()) {
      double v = 0;
      std::from_chars(t.data(), t.data() + t.size(), v);
      benchmark::DoNotOptimize(v);
    }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Mix().size()));
}

}  // namespace

BENCHMARK(ScanFP_kyn)->Name("ScanFP/kyn");
BENCHMARK(ScanFP_strtod)->Name("ScanFP/strtod");
BENCHMARK(ScanFP_from_chars)->Name("ScanFP/from_chars");
