// TAssocArray: 100,000 Add then 100,000 Resolve, against std::unordered_map
// with the same keys and values.
#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "kyn/dstruct/assocarray.h"

namespace {

constexpr int kKeys = 100000;

const std::vector<kyn::String>& Keys() {
  static const std::vector<kyn::String> keys = [] {
    std::vector<kyn::String> k;
    k.reserve(kKeys);
    for (int i = 0; i < kKeys; ++i) k.push_back(kyn::Utf8ToString("key_" + std::to_string(i * 7919)));
    return k;
  }();
  return keys;
}

void AssocKyn(benchmark::State& st) {
  const auto& keys = Keys();
  for (auto _ : st) {
    kyn::TAssocArray a(nullptr);
    for (int i = 0; i < kKeys; ++i) a.Add(keys[static_cast<size_t>(i)], kyn::Variant(static_cast<int32_t>(i)));
    int64_t sum = 0;
    for (const auto& k : keys) sum += a.Resolve(k).SignedValue();
    benchmark::DoNotOptimize(sum);
  }
  st.SetItemsProcessed(st.iterations() * 2 * kKeys);
}

void AssocUnorderedMap(benchmark::State& st) {
  const auto& keys = Keys();
  for (auto _ : st) {
    std::unordered_map<std::u16string, kyn::Variant> m;
    for (int i = 0; i < kKeys; ++i) m[keys[static_cast<size_t>(i)]] = kyn::Variant(static_cast<int32_t>(i));
    int64_t sum = 0;
    for (const auto& k : keys) {
      const auto it = m.find(k);
      sum += it == m.end() ? 0 : it->second.SignedValue();
    }
    benchmark::DoNotOptimize(sum);
  }
  st.SetItemsProcessed(st.iterations() * 2 * kKeys);
}

BENCHMARK(AssocKyn)->Name("assoc_add_resolve/kyn")->Unit(benchmark::kMillisecond);
BENCHMARK(AssocUnorderedMap)->Name("assoc_add_resolve/unordered_map")->Unit(benchmark::kMillisecond);

}  // namespace
