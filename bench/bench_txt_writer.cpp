// The text writer on a big export: 65,000 rows x 20 columns of integers,
// floats, ASCII and Chinese texts, written padded and with a separator.
//
// Each provider run creates the provider, puts every value, and writes the
// file with Finish, as an export does.  The floor produces the same bytes
// from the same source values with plain code: format every cell, encode it
// into GBK, take the column widths, and write the lines through one buffered
// FILE.  The floor's file is compared with the provider's, so both really
// write the same bytes.
//
// Before the timings, two child processes measure memory: one only builds the
// source values, the other builds them and runs one padded export through the
// provider; their peak resident sizes, and the difference, are printed.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "BenchSource.h"
#include "export/core/Export.h"
#include "platform/CodePage.h"
#include "platform/Streams.h"
#include "platform/SysUtils.h"
#include "writers/text/TXTExportProvider.h"

namespace {

using kvbench::Concat;
using kvbench::kCols;
using kvbench::kRows;
using kvbench::Source;
using kvbench::TSource;

std::string Scratch(const char* AName) { return "/tmp/kv_bench_txt_" + std::to_string(::getpid()) + "_" + AName; }

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

// Through the provider: create, fill, Finish.
void WriteThroughProvider(const std::string& AFile, const char* ASeparator) {
  const TSource& s = Source();
  auto p = kv::TcxCustomExportProvider::Create<kv::TcxTXTExportProvider>(AFile);
  if (*ASeparator) {
    p->PutFormatText(ASeparator);
    p->PutFormatText("");
    p->PutFormatText("");
  }
  p->DefineGrid(kCols, kRows, true);
  size_t ii = 0, di = 0, ti = 0;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) switch (c % 5) {
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
  p->Finish();
}

// The floor: the same bytes with plain code and buffered writes.
void WriteFloor(const std::string& AFile, const char* ASeparator) {
  const TSource& s = Source();
  std::vector<std::string> cells(static_cast<size_t>(kRows) * kCols);
  std::vector<size_t> widths(kCols, 0);
  size_t ii = 0, di = 0, ti = 0;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) {
      std::string& cell = cells[static_cast<size_t>(r) * kCols + c];
      switch (c % 5) {
        case 0: {
          char digits[16];
          auto end = std::to_chars(digits, digits + sizeof digits, s.Integers[ii++]).ptr;
          cell.assign(digits, end);
          break;
        }
        case 1:
          cell = kv::FloatToStr(s.Doubles[di++]);
          break;
        default:
          cell = kv::EncodeText(s.Texts[ti++], 936);
          break;
      }
      widths[static_cast<size_t>(c)] = std::max(widths[static_cast<size_t>(c)], cell.size());
    }
  FILE* f = std::fopen(AFile.c_str(), "wb");
  static char buffer[64 * 1024];
  std::setvbuf(f, buffer, _IOFBF, sizeof buffer);
  const size_t sepLength = std::char_traits<char>::length(ASeparator);
  static const std::string spaces(256, ' ');
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kCols; ++c) {
      const std::string& cell = cells[static_cast<size_t>(r) * kCols + c];
      std::fwrite(cell.data(), 1, cell.size(), f);
      if (c + 1 < kCols) std::fwrite(ASeparator, 1, sepLength, f);
      if (sepLength == 0) std::fwrite(spaces.data(), 1, 2 + widths[static_cast<size_t>(c)] - cell.size(), f);
    }
    std::fwrite("\r\n", 1, 2, f);
  }
  std::fclose(f);
}

void Run(benchmark::State& AState, bool AProvider, const char* ASeparator) {
  const std::string file = Scratch(AProvider ? "provider.txt" : "floor.txt");
  for (auto _ : AState) {
    if (AProvider)
      WriteThroughProvider(file, ASeparator);
    else
      WriteFloor(file, ASeparator);
  }
  const std::string written = kv::ReadFileBytes(file);
  AState.counters["MB_written"] = written.size() / 1e6;
  if (!AProvider) {
    // The provider's file of the same layout must hold the same bytes.
    const std::string other = Scratch("check.txt");
    WriteThroughProvider(other, ASeparator);
    if (kv::ReadFileBytes(other) != written) AState.SkipWithError("provider and floor files differ");
    std::remove(other.c_str());
  }
  std::remove(file.c_str());
}

void BM_ProviderPadded(benchmark::State& AState) { Run(AState, true, ""); }
void BM_ProviderSeparated(benchmark::State& AState) { Run(AState, true, ","); }
void BM_FloorPadded(benchmark::State& AState) { Run(AState, false, ""); }
void BM_FloorSeparated(benchmark::State& AState) { Run(AState, false, ","); }

BENCHMARK(BM_ProviderPadded)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ProviderSeparated)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_FloorPadded)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_FloorSeparated)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  const double base = ChildPeakRssMiB([] { Source(); });
  const double peak = ChildPeakRssMiB([] { WriteThroughProvider(Scratch("memory.txt"), ""); });
  std::remove(Scratch("memory.txt").c_str());
  std::printf(
      "peak resident size: source values only %.1f MiB; with a padded provider export %.1f MiB "
      "(provider: %.1f MiB)\n",
      base, peak, peak - base);
  // One untimed run of each side first, so that every timed run finds the
  // memory allocator in the same settled state (the first big allocations of
  // a process cost more page faults than later ones).
  WriteThroughProvider(Scratch("warm.txt"), "");
  WriteFloor(Scratch("warm.txt"), "");
  std::remove(Scratch("warm.txt").c_str());
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
