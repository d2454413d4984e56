// The Excel workbook provider writing 65,000 rows of 20 columns the way a
// view exporter fills it (a style per cell, numbers, dates, currency, short
// ASCII and Chinese texts, Booleans), and, in the same run, the floor: the
// same file bytes written record by record with plain buffered writes.
//
// Besides Google Benchmark's timings the program prints cells per second,
// the ratio of the provider to the floor and the provider's peak memory per
// cell (growth of the peak resident set over the run that writes it first).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "export/core/Export.h"
#include "platform/Streams.h"
#include "platform/Variant.h"

namespace {

constexpr int Rows = 65000;
constexpr int Columns = 20;
constexpr double Cells = double(Rows) * Columns;

std::string Target(const char* AName) {
  return std::string("/tmp/kv_bench_") + AName + "_" + std::to_string(::getpid()) + ".xls";
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double GProviderSeconds = 0, GFloorSeconds = 0;
long GProviderPeakGrowthKb = -1;

// The short ASCII texts of the grid, made before any timing: "beta-17" and so on.
const std::vector<std::string>& AsciiTexts() {
  static const std::vector<std::string> texts = [] {
    static const char* const words[] = {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta"};
    std::vector<std::string> t;
    t.reserve(size_t(Rows) * 7);
    for (int r = 1; r <= Rows; ++r)
      for (int k = 0; k < 7; ++k) t.push_back(std::string(words[k]) + "-" + std::to_string(r));
    return t;
  }();
  return texts;
}

// Fills a provider with the benchmark's grid and finishes it.
void WriteWorkbook(const std::string& APath) {
  static const std::string chinese[] = {"北京市", "上海", "广州市天河区", "深圳", "杭州西湖", "成都"};
  const std::vector<std::string>& ascii = AsciiTexts();
  auto provider =
      std::dynamic_pointer_cast<kv::IcxExportProvider>(kv::TcxExport::CreateProvider(kv::cxExportToExcel, APath));
  kv::TcxExportCellStyle base;
  base.SetFontName("Tahoma");
  base.FontSize = 9;
  provider->DefineDefaultStyle(base);
  kv::TcxExportCellStyle header = base, number = base, text = base;
  header.FontStyle = kv::cfsBold;
  header.BrushStyle = kv::cbsSolid;
  header.BrushBkColor = kv::RGB(0xDD, 0xDD, 0xDD);
  number.AlignText = kv::catRight;
  for (auto& side : number.CellBorders) side = {0, 1, kv::RGB(0xA0, 0xA0, 0xA0)};
  text.FontColor = kv::RGB(0x20, 0x40, 0x80);
  int styles[4] = {provider->AddStyle(base), provider->AddStyle(header), provider->AddStyle(number),
                   provider->AddStyle(text)};
  provider->DefineGrid(Columns, Rows + 1, true);
  for (int c = 0; c < Columns; ++c) {
    provider->DefineColumnWidth(c, 80);
    provider->PutText(c, 0, "Column " + std::to_string(c));
    provider->ApplyStyleIndex(c, 0, styles[1]);
  }
  for (int r = 1; r <= Rows; ++r) {
    provider->PutInteger(0, r, r);
    for (int c = 1; c < 6; ++c) provider->PutDouble(c, r, r * 1.25 + c);
    provider->PutValue(6, r, kv::Variant::DateTime(40000 + r % 5000));
    provider->PutValue(7, r, kv::Variant::DateTime(40000.25 + r % 5000));
    provider->PutValue(8, r, kv::Variant::Currency(int64_t(r) * 12345));
    for (int c = 9; c < 14; ++c) provider->PutText(c, r, ascii[size_t(r - 1) * 7 + size_t((r + c) % 7)]);
    for (int c = 14; c < 17; ++c) provider->PutText(c, r, chinese[(r + c) % 6]);
    provider->PutValue(17, r, kv::Variant(r % 3 == 0));
    provider->PutDouble(18, r, r / 7.0);
    provider->PutInteger(19, r, -r);
    for (int c = 0; c < Columns; ++c) provider->ApplyStyleIndex(c, r, styles[c < 9 || c >= 17 ? 2 : c == 9 ? 0 : 3]);
  }
  provider->Finish();
}

void BM_XLSProvider(benchmark::State& state) {
  std::string path = Target("xls");
  AsciiTexts();
  for (auto _ : state) {
    long before = PeakKilobytes();
    auto start = std::chrono::steady_clock::now();
    WriteWorkbook(path);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (GProviderPeakGrowthKb < 0) GProviderPeakGrowthKb = PeakKilobytes() - before;
    if (GProviderSeconds == 0 || seconds < GProviderSeconds) GProviderSeconds = seconds;
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(int64_t(state.iterations() * Cells));
}
BENCHMARK(BM_XLSProvider)->Unit(benchmark::kMillisecond)->Iterations(5);

// The bytes of a workbook cut where its records are: the header region, then
// one piece per record.
struct TPieces {
  std::string Bytes;
  std::vector<std::pair<size_t, size_t>> Parts;
};

TPieces LoadPieces() {
  std::string path = Target("xls_floor_source");
  WriteWorkbook(path);
  TPieces p;
  p.Bytes = kv::ReadFileBytes(path);
  std::remove(path.c_str());
  uint32_t size;
  std::memcpy(&size, p.Bytes.data() + 1024 + 128 + 120, 4);
  size_t at = p.Bytes.size() - size;
  p.Parts.push_back({0, at});
  while (at + 4 <= p.Bytes.size()) {
    size_t len = uint8_t(p.Bytes[at + 2]) | uint8_t(p.Bytes[at + 3]) << 8;
    p.Parts.push_back({at, 4 + len});
    at += 4 + len;
  }
  return p;
}

void BM_FloorBufferedWrites(benchmark::State& state) {
  static const TPieces pieces = LoadPieces();
  std::string path = Target("floor");
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    for (const auto& [offset, length] : pieces.Parts) std::fwrite(pieces.Bytes.data() + offset, 1, length, f);
    std::fclose(f);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (GFloorSeconds == 0 || seconds < GFloorSeconds) GFloorSeconds = seconds;
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(int64_t(state.iterations() * Cells));
}
BENCHMARK(BM_FloorBufferedWrites)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (GProviderSeconds > 0 && GFloorSeconds > 0) {
    std::printf("provider: %.0f cells/s (best of runs %.3f s); floor: %.0f cells/s (%.3f s); ratio %.2f\n",
                Cells / GProviderSeconds, GProviderSeconds, Cells / GFloorSeconds, GFloorSeconds,
                GProviderSeconds / GFloorSeconds);
  }
  if (GProviderPeakGrowthKb >= 0)
    std::printf("provider peak memory growth: %.1f MB, %.1f bytes per cell\n", GProviderPeakGrowthKb / 1024.0,
                GProviderPeakGrowthKb * 1024.0 / Cells);
  return 0;
}
