// Stream readers against plain searches and conversions of the same bytes:
// ReadStreamUntil and the enclosed-text search of ReadNextTagInStream against
// reading everything and searching once (the least any reader must do), and
// ScanStreamFPNum against strtod over the same buffer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "kyn/streams.h"

namespace {

constexpr size_t kSize = 1 << 20;

// 1 MiB of markup-like text ending with the target "</Stop>".
const std::string& Document() {
  static const std::string doc = [] {
    std::string d;
    while (d.size() < kSize) d += "<i>some text</i> <b>more</b>\r\n";
    return d + "</Stop>";
  }();
  return doc;
}

std::string FoldedFind(kyn::TStream& s, const std::string& target) {
  std::string all;
  char buf[256];
  for (int64_t n; (n = s.Read(buf, 256)) > 0;) all.append(buf, static_cast<size_t>(n));
  std::transform(all.begin(), all.end(), all.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
  const size_t p = all.find(target);
  all.resize(p == std::string::npos ? all.size() : p);
  return all;
}

void ReadUntil_kyn(benchmark::State& state) {
  kyn::TStringStream s{std::string_view(Document())};
  int32_t err = 0;
  for (auto _ : state) {
    s.SetPosition(0);
    benchmark::DoNotOptimize(kyn::ReadStreamUntil(s, u"</stop>", err));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Document().size()));
}

void ReadUntil_foldfind(benchmark::State& state) {
  kyn::TStringStream s{std::string_view(Document())};
  for (auto _ : state) {
    s.SetPosition(0);
    benchmark::DoNotOptimize(FoldedFind(s, "</stop>"));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Document().size()));
}

void Element_kyn(benchmark::State& state) {
  const std::string doc = "<stop>" + Document() + ">";
  kyn::TStringStream s{std::string_view(doc)};
  kyn::String attrs, enclosed;
  for (auto _ : state) {
    s.SetPosition(0);
    benchmark::DoNotOptimize(kyn::ReadNextTagInStream(s, {u"stop", u"x"}, attrs, enclosed));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(doc.size()));
}

void Element_foldfind(benchmark::State& state) {
  const std::string doc = "<stop>" + Document() + ">";
  kyn::TStringStream s{std::string_view(doc)};
  for (auto _ : state) {
    s.SetPosition(0);
    benchmark::DoNotOptimize(FoldedFind(s, "</stop>"));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(doc.size()));
}

const std::string& Numbers() {
  static const std::string nums = [] {
    std::string d;
    for (int i = 0; i < 10000; ++i) d += std::to_string(i * 37) + "." + std::to_string(i % 997) + "e-3 ";
    return d;
  }();
  return nums;
}

void ScanNumbers_kyn(benchmark::State& state) {
  kyn::TStringStream s{std::string_view(Numbers())};
  const int64_t size = s.Size();
  for (auto _ : state) {
    s.SetPosition(0);
    double sum = 0;
    while (s.Position() < size) sum += kyn::ScanStreamFPNum(s, true, 1);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}

void ScanNumbers_strtod(benchmark::State& state) {
  const std::string& nums = Numbers();
  for (auto _ : state) {
    double sum = 0;
    const char* p = nums.c_str();
    char* end = nullptr;
    for (;;) {
      const double v = std::strtod(p, &end);
      if (end == p) break;
      sum += v;
      p = end;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}

}  // namespace

BENCHMARK(ReadUntil_kyn)->Name("ReadStreamUntil/kyn");
BENCHMARK(ReadUntil_foldfind)->Name("ReadStreamUntil/foldfind");
BENCHMARK(Element_kyn)->Name("ReadNextTagElement/kyn");
BENCHMARK(Element_foldfind)->Name("ReadNextTagElement/foldfind");
BENCHMARK(ScanNumbers_kyn)->Name("ScanStreamFPNum/kyn");
BENCHMARK(ScanNumbers_strtod)->Name("ScanStreamFPNum/strtod");
