// Export engine core: style registration and scale arrangement.
//
// BM_AddStyle registers 100,000 styles of which 1,000 are distinct in a fresh
// style manager; the counter "time_per_AddStyle" is the time of one AddStyle.
// BM_AddStyleLinearWalk does the same with a plain walk over the list
// (hash first, then bytes) as the baseline.  BM_ArrangeScale arranges a scale
// of 2,000,000 boundaries (random, with duplicates); BM_SortBaseline sorts
// and de-duplicates the same values with the standard library directly.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "export/core/Export.h"

namespace {

using namespace kv;

constexpr int kStyleCalls = 100000;
constexpr int kDistinctStyles = 1000;
constexpr int kBoundaries = 2000000;

// kStyleCalls styles cycling through kDistinctStyles distinct ones.
const std::vector<TcxExportCellStyle>& StyleStream() {
  static const std::vector<TcxExportCellStyle> styles = [] {
    std::vector<TcxExportCellStyle> distinct;
    TcxExportCellStyle base = DefaultExportStyle();
    for (int i = 0; i < kDistinctStyles; ++i) {
      TcxExportCellStyle s = base;
      s.BrushBkColor = RGB(static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8), 0x80);
      s.FontStyle = static_cast<uint8_t>(i % 4);
      s.AlignText = static_cast<uint8_t>(i % 3);
      distinct.push_back(s);
    }
    std::vector<TcxExportCellStyle> all;
    std::mt19937 random(1);
    for (int i = 0; i < kStyleCalls; ++i) all.push_back(distinct[random() % kDistinctStyles]);
    for (int i = 0; i < kDistinctStyles; ++i) all[i] = distinct[i];  // every distinct style occurs
    return all;
  }();
  return styles;
}

void BM_AddStyle(benchmark::State& AState) {
  std::vector<TcxExportCellStyle> styles = StyleStream();
  for (auto _ : AState) {
    TcxExportStyleManager* manager = TcxExportStyleManager::Acquire("bench.xls");
    for (TcxExportCellStyle& s : styles) benchmark::DoNotOptimize(manager->AddStyle(s));
    if (manager->StyleCount() != kDistinctStyles) AState.SkipWithError("wrong style count");
    manager->Release();
  }
  AState.counters["time_per_AddStyle"] = benchmark::Counter(static_cast<double>(AState.iterations()) * kStyleCalls,
                                                            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AddStyle)->Unit(benchmark::kMillisecond);

void BM_AddStyleLinearWalk(benchmark::State& AState) {
  std::vector<TcxExportCellStyle> styles = StyleStream();
  for (auto _ : AState) {
    std::vector<TcxExportCellStyle> list;
    std::vector<TcxExportCellStyle::TPacked> packed;
    for (TcxExportCellStyle& s : styles) {
      TcxExportCellStyle::TPacked p = s.Packed();
      s.StyleHash = ExportHash(p.data(), p.size());
      int found = -1;
      for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].StyleHash == s.StyleHash && packed[i] == p) {
          found = static_cast<int>(i);
          break;
        }
      }
      if (found < 0) {
        list.push_back(s);
        packed.push_back(p);
      }
      benchmark::DoNotOptimize(found);
    }
    if (list.size() != kDistinctStyles) AState.SkipWithError("wrong style count");
  }
  AState.counters["time_per_AddStyle"] = benchmark::Counter(static_cast<double>(AState.iterations()) * kStyleCalls,
                                                            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AddStyleLinearWalk)->Unit(benchmark::kMillisecond);

std::vector<int32_t> BoundaryValues() {
  std::mt19937 random(2);
  std::vector<int32_t> values(kBoundaries);
  for (int32_t& v : values) v = static_cast<int32_t>(random() % (kBoundaries / 2));  // about 4 in 10 repeat
  return values;
}

void BM_ArrangeScale(benchmark::State& AState) {
  const std::vector<int32_t> values = BoundaryValues();
  for (auto _ : AState) {
    AState.PauseTiming();
    TcxExportScale scale;
    for (size_t i = 0; i + 1 < values.size(); i += 2) scale.AddBoundaries(values[i], values[i + 1]);
    AState.ResumeTiming();
    scale.Arrange();
    benchmark::DoNotOptimize(scale.Count());
  }
}
BENCHMARK(BM_ArrangeScale)->Unit(benchmark::kMillisecond);

void BM_SortBaseline(benchmark::State& AState) {
  const std::vector<int32_t> values = BoundaryValues();
  for (auto _ : AState) {
    AState.PauseTiming();
    std::vector<int32_t> copy = values;
    AState.ResumeTiming();
    std::sort(copy.begin(), copy.end());
    copy.erase(std::unique(copy.begin(), copy.end()), copy.end());
    benchmark::DoNotOptimize(copy.size());
  }
}
BENCHMARK(BM_SortBaseline)->Unit(benchmark::kMillisecond);

void BM_FillScale(benchmark::State& AState) {
  const std::vector<int32_t> values = BoundaryValues();
  for (auto _ : AState) {
    TcxExportScale scale;
    for (size_t i = 0; i + 1 < values.size(); i += 2) scale.AddBoundaries(values[i], values[i + 1]);
    benchmark::DoNotOptimize(scale.Count());
  }
}
BENCHMARK(BM_FillScale)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
