// strff in its fixed and scientific forms against snprintf with the
// equivalent format.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "kyn/stringl/numformat.h"

namespace {

constexpr long double kValues[] = {3.14159L, -1234.5678L, 0.000123L, 98765.4321L, 1e10L / 3, -0.5L};

void Fixed_kyn(benchmark::State& state) {
  for (auto _ : state)
    for (long double v : kValues) benchmark::DoNotOptimize(kyn::strff(v, 12, 4));
}

void Fixed_snprintf(benchmark::State& state) {
  char buf[64];
  for (auto _ : state)
    for (long double v : kValues) {
      benchmark::DoNotOptimize(std::snprintf(buf, sizeof buf, "%*.*Lf", 12, 4, v));
      benchmark::ClobberMemory();
    }
}

// strff(v, 12, -2): five digits after the point and a two-digit exponent.
void Sci_kyn(benchmark::State& state) {
  for (auto _ : state)
    for (long double v : kValues) benchmark::DoNotOptimize(kyn::strff(v, 12, -2));
}

void Sci_snprintf(benchmark::State& state) {
  char buf[64];
  for (auto _ : state)
    for (long double v : kValues) {
      benchmark::DoNotOptimize(std::snprintf(buf, sizeof buf, "% .5LE", v));
      benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(Fixed_kyn)->Name("strff_fixed/kyn");
BENCHMARK(Fixed_snprintf)->Name("strff_fixed/snprintf");
BENCHMARK(Sci_kyn)->Name("strff_sci/kyn");
BENCHMARK(Sci_snprintf)->Name("strff_sci/snprintf");
