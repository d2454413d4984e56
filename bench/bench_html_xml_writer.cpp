// The HTML and XML writers on a big export, against the text writer: 65,000
// rows x 20 columns of integers, floats, ASCII and Chinese texts, with a
// style per column kind, column widths and row heights, as a view exporter
// puts them.
//
// Each run creates the provider, puts every value and style, and writes the
// file(s) with Finish, as an export does.  The text writer (padded layout)
// fills the same grid in the same run and is the baseline: the counter
// "ratio_to_txt" of the HTML and XML runs is their time divided by the
// text writer's mean time.
//
// Before the timings, child processes measure memory: one only builds the
// source values, the others build them and run one export each; their peak
// resident sizes are printed with the output sizes.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "BenchSource.h"
#include "export/core/Export.h"
#include "platform/Streams.h"

namespace {

using namespace kv;

using kvbench::Concat;
using kvbench::kCols;
using kvbench::kRows;
using kvbench::Source;
using kvbench::TSource;

std::string Scratch(const std::string& AName) {
  return "/tmp/kv_bench_htmlxml_" + std::to_string(::getpid()) + "_" + AName;
}

// Creates the provider of AKind for AFile, fills the grid, runs Finish.
void Export(int AKind, const std::string& AFile) {
  const TSource& s = Source();
  auto created = TcxExport::CreateProvider(AKind, AFile);
  auto p = std::dynamic_pointer_cast<IcxExportProvider>(created);
  created.reset();
  p->DefineGrid(kCols, kRows, true);
  int styles[5];
  for (int k = 0; k < 5; ++k) {
    TcxExportCellStyle style = DefaultExportStyle();
    style.AlignText = static_cast<uint8_t>(k < 2 ? catRight : catLeft);
    style.FontStyle = static_cast<uint8_t>(k == 3 ? cfsBold : 0);
    style.BrushBkColor = k % 2 ? RGB(255, 255, 255) : RGB(240, 240, 250);
    if (k == 3) style.SetFontName("宋体");
    styles[k] = p->AddStyle(style);
  }
  for (int c = 0; c < kCols; ++c) p->DefineColumnWidth(c, 60 + c);
  size_t ii = 0, di = 0, ti = 0;
  for (int r = 0; r < kRows; ++r) {
    p->DefineRowHeight(r, 18);
    for (int c = 0; c < kCols; ++c) {
      p->ApplyStyleIndex(c, r, styles[c % 5]);
      switch (c % 5) {
        case 0:
          p->PutInteger(c, r, s.Integers[ii++]);
          break;
        case 1:
          p->PutDouble(c, r, s.Doubles[di++]);
          break;
        default:
          p->PutText(c, r, s.Texts[ti++]);
          break;
      }
    }
  }
  p->Finish();
}

const char* Extension(int AKind) { return AKind == cxExportToHtml ? "html" : AKind == cxExportToXml ? "xml" : "txt"; }

// Bytes written by an export of AKind to AFile (the stylesheet included).
int64_t OutputSize(int AKind, const std::string& AFile) {
  int64_t size = static_cast<int64_t>(ReadFileBytes(AFile).size());
  if (AKind == cxExportToXml)
    size += static_cast<int64_t>(ReadFileBytes(AFile.substr(0, AFile.size() - 3) + "xsl").size());
  return size;
}

void RemoveOutput(int AKind, const std::string& AFile) {
  std::remove(AFile.c_str());
  if (AKind == cxExportToXml) std::remove((AFile.substr(0, AFile.size() - 3) + "xsl").c_str());
}

// Peak resident size, in MiB, of a child process that runs AWork.
template <class TWork>
double ChildPeakRssMiB(TWork AWork) {
  pid_t child = ::fork();
  if (child == 0) {
    AWork();
    ::_exit(0);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return -1;
  return usage.ru_maxrss / 1024.0;
}

// Mean seconds of the text writer's runs, filled by BM_Export/4, which runs first.
double gTextSeconds = 0;

void BM_Export(benchmark::State& AState) {
  const int kind = static_cast<int>(AState.range(0));
  const std::string file = Scratch(std::string("out.") + Extension(kind));
  double seconds = 0;
  for (auto _ : AState) {
    auto start = std::chrono::steady_clock::now();
    Export(kind, file);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  seconds /= static_cast<double>(AState.iterations());
  if (kind == cxExportToText) gTextSeconds = seconds;
  AState.counters["MB_written"] = static_cast<double>(OutputSize(kind, file)) / 1e6;
  if (kind != cxExportToText && gTextSeconds > 0) AState.counters["ratio_to_txt"] = seconds / gTextSeconds;
  RemoveOutput(kind, file);
}
BENCHMARK(BM_Export)
    ->Arg(cxExportToText)
    ->Arg(cxExportToHtml)
    ->Arg(cxExportToXml)
    ->ArgName("kind")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  EnsureExportEngine();
  const double base = ChildPeakRssMiB([] { Source(); });
  std::printf("peak resident size of the source values alone: %.1f MiB\n", base);
  for (int kind : {cxExportToText, cxExportToHtml, cxExportToXml}) {
    const std::string file = Scratch(std::string("memory.") + Extension(kind));
    const double peak = ChildPeakRssMiB([&] { Export(kind, file); });
    std::printf("%-4s peak resident size %.1f MiB (export: %.1f MiB), output %.1f MB\n", Extension(kind), peak,
                peak - base, static_cast<double>(OutputSize(kind, file)) / 1e6);
    RemoveOutput(kind, file);
  }
  // One untimed export first, so that every timed run finds the allocator settled.
  Export(cxExportToText, Scratch("warm.txt"));
  std::remove(Scratch("warm.txt").c_str());
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
