// String array: sorting 1,000,000 rows by one column against std::sort of the
// same widened, lower-cased keys; storing 1,000,000 cells; garbage collection
// after rewriting half of them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "kyn/dstruct.h"

namespace {

constexpr int kRows = 1000000;

// Random cells of 8 to 20 characters: letters of both cases, digits, blanks.
const std::vector<kyn::String>& Cells() {
  static const std::vector<kyn::String> cells = [] {
    std::mt19937 rng(20261211);
    const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ";
    std::uniform_int_distribution<int> len(8, 20), ch(0, static_cast<int>(sizeof alphabet) - 2);
    std::vector<kyn::String> v(kRows);
    for (auto& s : v) {
      s.resize(static_cast<size_t>(len(rng)));
      for (auto& c : s) c = static_cast<char16_t>(alphabet[ch(rng)]);
    }
    return v;
  }();
  return cells;
}

std::u16string Lower(std::u16string k) {
  for (auto& c : k)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return k;
}

void FillArray(kyn::TStringArray& a, int col) {
  const auto& cells = Cells();
  for (int r = 1; r <= kRows; ++r) a.SetString(col, r, cells[static_cast<size_t>(r - 1)]);
}

void BM_SortKyn(benchmark::State& state) {
  kyn::TStringArray a(nullptr);
  a.Resize(1, kRows);
  FillArray(a, 1);
  for (auto _ : state) {
    state.PauseTiming();
    a.UnSort();
    state.ResumeTiming();
    a.Sort(1, 0, true);
  }
  for (int r = 1; r < 100; ++r)
    if (Lower(a.GetString(1, r)) > Lower(a.GetString(1, r + 1))) state.SkipWithError("not sorted");
}
BENCHMARK(BM_SortKyn)->Name("sort/kyn")->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SortStd(benchmark::State& state) {
  std::vector<std::u16string> keys;
  for (const auto& s : Cells()) keys.push_back(Lower(s));
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::u16string> v = keys;
    state.ResumeTiming();
    std::sort(v.begin(), v.end());
    benchmark::DoNotOptimize(v.data());
  }
}
BENCHMARK(BM_SortStd)->Name("sort/std_sort")->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SetString(benchmark::State& state) {
  Cells();
  kyn::TStringArray a(nullptr);
  a.Resize(1, kRows);
  for (auto _ : state) {
    state.PauseTiming();
    a.Clear();
    state.ResumeTiming();
    FillArray(a, 1);
  }
  state.counters["pools"] = a.NumBuffers();
}
BENCHMARK(BM_SetString)->Name("setstring/kyn")->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GarbageCollection(benchmark::State& state) {
  const auto& cells = Cells();
  kyn::TStringArray a(nullptr);
  a.Resize(1, kRows);
  for (auto _ : state) {
    state.PauseTiming();
    a.Clear();
    FillArray(a, 1);
    // Every second cell gets a longer text: its old slot is abandoned.
    for (int r = 1; r <= kRows; r += 2) a.SetString(1, r, cells[static_cast<size_t>(r - 1)] + u"+more");
    state.ResumeTiming();
    a.GarbageCollection();
  }
  state.counters["pools"] = a.NumBuffers();
}
BENCHMARK(BM_GarbageCollection)->Name("gc/kyn")->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
