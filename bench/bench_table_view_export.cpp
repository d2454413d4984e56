// The table view exporter on a big view: 65,000 records x 20 columns
// (integers in spin-edited columns, floats in calc-edited columns, ASCII and
// Chinese texts), exported as the Excel command does it (native values) and
// as the text command does it, without grouping and grouped by one column
// (100 groups); and the same flat view as a banded view (two bands of ten
// columns), whose cost is reported against the table view's.
//
// Each export run is timed by phase: collecting the records, the layout
// pass (with the arranging of the scales), the cell pass (which includes the
// provider's cell operations) and the provider's Finish.  In the same run the
// writer alone gets the same cells (values, a style per column) straight from
// the source values, so that the exporter's cost can be told from the
// writer's.  Before the timings, child processes measure peak memory: one
// that only builds the view, and one per export; the difference, per cell,
// is the export's memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchSource.h"
#include "export/BandedTableViewExport.h"
#include "export/GridExport.h"
#include "export/TableViewExport.h"
#include "gridpack/BandedTableView.h"
#include "gridpack/DataController.h"
#include "gridpack/Grid.h"
#include "gridpack/GridRecords.h"
#include "gridpack/TableView.h"
#include "platform/Components.h"
#include "writers/text/TXTExportProvider.h"

namespace {

using kvbench::kCols;
using kvbench::kRows;
using kvbench::Source;
using kvbench::TSource;
using Clock = std::chrono::steady_clock;

constexpr double kCells = double(kRows) * kCols;

double Seconds(Clock::time_point A, Clock::time_point B) { return std::chrono::duration<double>(B - A).count(); }

std::string Scratch(const std::string& AName) {
  return "/tmp/kv_bench_tve_" + std::to_string(::getpid()) + "_" + AName;
}

// The view: a grid on a form, the source values in the view's controller.
// A banded view puts the first half of the columns in one band, the rest in
// another.
struct TBigView {
  kv::TComponent Form;
  kv::TcxGrid* Grid = new kv::TcxGrid(&Form);
  kv::TcxGridTableView* View;

  explicit TBigView(bool AGrouped, bool ABanded = false) {
    kv::TcxGridBandedTableView* banded = ABanded ? new kv::TcxGridBandedTableView(&Form) : nullptr;
    View = banded ? banded : new kv::TcxGridTableView(&Form);
    Grid->Levels()->Add()->SetGridView(View);
    if (banded) {
      banded->Bands()->Add()->SetCaption("Band 0");
      banded->Bands()->Add()->SetCaption("Band 1");
    }
    for (int c = 0; c < kCols; ++c) {
      kv::TcxGridColumn* column = View->CreateColumn();
      if (banded) banded->Columns(c)->Position().SetBand(banded->Bands()->Items(c < kCols / 2 ? 0 : 1));
      column->SetCaption("Column " + std::to_string(c));
      column->SetWidth(80);
      if (c % 5 == 0) column->SetPropertiesClass<kv::TcxSpinEditProperties>();
      if (c % 5 == 1) column->SetPropertiesClass<kv::TcxCalcEditProperties>();
    }
    auto* data = static_cast<kv::TcxGridDataController*>(View->DataController());
    data->SetRecordCount(kRows);
    const TSource& s = Source();
    size_t ii = 0, di = 0, ti = 0;
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) {
        kv::TcxGridColumn* column = View->Columns(c);
        switch (c % 5) {
          case 0:
            data->SetValue(r, column, kv::Variant(s.Integers[ii++]));
            break;
          case 1:
            data->SetValue(r, column, kv::Variant(s.Doubles[di++]));
            break;
          default:
            data->SetValue(r, column, kv::Variant(s.Texts[ti++]));
            break;
        }
      }
    if (AGrouped) View->Columns(3)->SetGroupIndex(0);
    data->RowCount();  // build the rows before anything is timed
  }
};

struct TPhases {
  double Collect = 0, Layout = 0, Grid = 0, Cells = 0, Finish = 0;
  double Total() const { return Collect + Layout + Grid + Cells + Finish; }
};

// The table (or banded) exporter with clocks around its passes.
template <class TBase>
class TTimedExport : public TBase {
 public:
  using TBase::TBase;
  Clock::time_point Start, LayoutStart, LayoutEnd, CellsStart, CellsEnd, FinishStart;

 protected:
  void LayOut() override {
    LayoutStart = Clock::now();
    TBase::LayOut();
    LayoutEnd = Clock::now();
  }
  void WriteCells() override {
    CellsStart = Clock::now();
    TBase::WriteCells();
    CellsEnd = Clock::now();
  }
  void BeforeFinish() override { FinishStart = Clock::now(); }
};

template <class TBase>
TPhases ExportOnceWith(TBigView& AView, int AKind, const std::string& AFile);

// One export, as SaveGridAs runs it, with its phases.
TPhases ExportOnce(TBigView& AView, int AKind, const std::string& AFile) {
  if (dynamic_cast<kv::TcxGridBandedTableView*>(AView.View))
    return ExportOnceWith<kv::TcxGridBandedTableViewExport>(AView, AKind, AFile);
  return ExportOnceWith<kv::TcxGridTableViewExport>(AView, AKind, AFile);
}

template <class TBase>
TPhases ExportOnceWith(TBigView& AView, int AKind, const std::string& AFile) {
  TTimedExport<TBase> exporter(AFile, AKind, AView.View, AView.Grid, nullptr);
  exporter.FAllRecords = true;
  exporter.FExpandRecords = true;
  exporter.FNativeValues = AKind == kv::cxExportToExcel;
  if (auto* text = dynamic_cast<kv::IcxTextFormat*>(exporter.ExportProvider().get()))
    for (int i = 0; i < 3; ++i) text->PutFormatText("");
  AView.Grid->BeginUpdate();
  exporter.Start = Clock::now();
  exporter.Execute();
  Clock::time_point end = Clock::now();
  AView.Grid->EndUpdate();
  TPhases p;
  p.Collect = Seconds(exporter.Start, exporter.LayoutStart);
  p.Layout = Seconds(exporter.LayoutStart, exporter.LayoutEnd);
  // Arranging the scales and the provider's DefineGrid.
  p.Grid = Seconds(exporter.LayoutEnd, exporter.CellsStart);
  p.Cells = Seconds(exporter.CellsStart, exporter.CellsEnd);
  p.Finish = Seconds(exporter.FinishStart, end);
  return p;
}

// The writer alone on the same cells: values from the source, one style per
// column, the header; fill and Finish timed apart.
TPhases WriterAlone(int AKind, const std::string& AFile) {
  const TSource& s = Source();
  Clock::time_point start = Clock::now();
  auto created = kv::TcxExport::CreateProvider(AKind, AFile);
  auto p = std::dynamic_pointer_cast<kv::IcxExportProvider>(created);
  if (auto* text = dynamic_cast<kv::IcxTextFormat*>(created.get()))
    for (int i = 0; i < 3; ++i) text->PutFormatText("");
  kv::TcxExportCellStyle base = kv::DefaultExportStyle();
  p->DefineDefaultStyle(base);
  kv::TcxExportCellStyle header = base, number = base, text = base;
  header.BrushBkColor = kv::RGB(0xF0, 0xF0, 0xF0);
  number.AlignText = kv::catRight;
  text.AlignText = kv::catLeft;
  const int headerStyle = p->AddStyle(header), numberStyle = p->AddStyle(number), textStyle = p->AddStyle(text);
  p->DefineGrid(kCols, kRows + 1, false);
  for (int c = 0; c < kCols; ++c) {
    p->DefineColumnWidth(c, 80);
    p->PutValue(c, 0, kv::Variant("Column " + std::to_string(c)));
    p->ApplyStyleIndex(c, 0, headerStyle);
  }
  const bool native = AKind == kv::cxExportToExcel;
  size_t ii = 0, di = 0, ti = 0;
  for (int r = 1; r <= kRows; ++r)
    for (int c = 0; c < kCols; ++c) {
      switch (c % 5) {
        case 0:
          p->PutValue(c, r, native ? kv::Variant(s.Integers[ii]) : kv::Variant(std::to_string(s.Integers[ii])));
          ++ii;
          break;
        case 1:
          p->PutValue(c, r, native ? kv::Variant(s.Doubles[di]) : kv::Variant(kv::FloatToStr(s.Doubles[di])));
          ++di;
          break;
        default:
          p->PutValue(c, r, kv::Variant(s.Texts[ti++]));
          break;
      }
      p->ApplyStyleIndex(c, r, c % 5 < 2 ? numberStyle : textStyle);
    }
  Clock::time_point finish = Clock::now();
  p->Finish();
  Clock::time_point end = Clock::now();
  TPhases phases;
  phases.Cells = Seconds(start, finish);
  phases.Finish = Seconds(finish, end);
  return phases;
}

// Runs AWork in a child process, which hands back the phases it measured;
// also answers the child's peak resident size in MiB.  Each measured export
// thus starts in a fresh process, as a real one does, with no memory left
// over from an earlier run.
template <class TWork>
TPhases InChild(TWork AWork, double& APeakMiB) {
  std::fflush(nullptr);
  int fds[2];
  if (::pipe(fds) != 0) return {};
  pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    TPhases p = AWork();
    ssize_t written = ::write(fds[1], &p, sizeof p);
    ::_exit(written == sizeof p ? 0 : 1);
  }
  ::close(fds[1]);
  TPhases p;
  ssize_t got = ::read(fds[0], &p, sizeof p);
  ::close(fds[0]);
  int status = 0;
  rusage usage{};
  APeakMiB = -1;
  if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      got != sizeof p)
    return {};
  APeakMiB = usage.ru_maxrss / 1024.0;
  return p;
}

struct TScenario {
  const char* Name;
  int Kind;
  bool Grouped;
  TPhases Best;
  double PeakMiB = -1;
  bool Banded = false;
  // The view kind: 0 flat, 1 grouped, 2 banded (flat).
  int ViewKind() const { return Banded ? 2 : Grouped ? 1 : 0; }
};

TScenario GScenarios[] = {
    {"xls flat", kv::cxExportToExcel, false, {}},
    {"xls grouped", kv::cxExportToExcel, true, {}},
    {"txt flat", kv::cxExportToText, false, {}},
    {"txt grouped", kv::cxExportToText, true, {}},
    {"xls banded", kv::cxExportToExcel, false, {}, -1, true},
    {"txt banded", kv::cxExportToText, false, {}, -1, true},
};
TPhases GWriter[2];  // xls, txt
double GWriterMiB[2] = {-1, -1};
double GBaseMiB[3] = {-1, -1, -1};  // flat, grouped, banded view built
double GSourceMiB = -1;
constexpr int kChildRuns = 3;

TBigView& SharedView(const TScenario& AScenario) {
  static std::unique_ptr<TBigView> views[3];
  auto& v = views[AScenario.ViewKind()];
  if (!v) v = std::make_unique<TBigView>(AScenario.Grouped, AScenario.Banded);
  return *v;
}

void Keep(TPhases& ABest, const TPhases& ARun) {
  if (ABest.Total() == 0 || ARun.Total() < ABest.Total()) ABest = ARun;
}

void BM_ViewExport(benchmark::State& AState) {
  TScenario& scenario = GScenarios[AState.range(0)];
  TBigView& view = SharedView(scenario);
  const std::string file = Scratch(scenario.Kind == kv::cxExportToExcel ? "out.xls" : "out.txt");
  for (auto _ : AState) ExportOnce(view, scenario.Kind, file);
  std::remove(file.c_str());
  AState.SetLabel(scenario.Name);
  AState.SetItemsProcessed(int64_t(AState.iterations() * kCells));
}
BENCHMARK(BM_ViewExport)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WriterAlone(benchmark::State& AState) {
  const bool xls = AState.range(0) == 0;
  const std::string file = Scratch(xls ? "alone.xls" : "alone.txt");
  Source();
  for (auto _ : AState) WriterAlone(xls ? kv::cxExportToExcel : kv::cxExportToText, file);
  std::remove(file.c_str());
  AState.SetLabel(xls ? "xls" : "txt");
  AState.SetItemsProcessed(int64_t(AState.iterations() * kCells));
}
BENCHMARK(BM_WriterAlone)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Every scenario, and the writer alone, in fresh child processes: the best
// of kChildRuns runs, and the peak memory of the process.
void MeasureInChildren() {
  for (int kind = 0; kind < 3; ++kind)
    InChild(
        [kind] {
          TBigView view(kind == 1, kind == 2);
          return TPhases();
        },
        GBaseMiB[kind]);
  for (TScenario& s : GScenarios) {
    for (int run = 0; run < kChildRuns; ++run) {
      double peak = -1;
      Keep(s.Best, InChild(
                       [&s] {
                         TBigView view(s.Grouped, s.Banded);
                         TPhases phases = ExportOnce(view, s.Kind, Scratch("child"));
                         std::remove(Scratch("child").c_str());
                         return phases;
                       },
                       peak));
      s.PeakMiB = std::max(s.PeakMiB, peak);
    }
  }
  InChild(
      [] {
        Source();
        return TPhases();
      },
      GSourceMiB);
  for (int k = 0; k < 2; ++k) {
    const int kind = k == 0 ? kv::cxExportToExcel : kv::cxExportToText;
    for (int run = 0; run < kChildRuns; ++run) {
      double peak = -1;
      Keep(GWriter[k], InChild(
                           [kind] {
                             Source();
                             TPhases p = WriterAlone(kind, Scratch("alone"));
                             std::remove(Scratch("alone").c_str());
                             return p;
                           },
                           peak));
      GWriterMiB[k] = std::max(GWriterMiB[k], peak);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // KV_BENCH_NO_CHILDREN skips the child processes (for profiling the in-process runs).
  if (!std::getenv("KV_BENCH_NO_CHILDREN")) MeasureInChildren();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  std::printf("\nFresh process per run, best of %d; memory: growth of the peak over the view alone.\n", kChildRuns);
  std::printf("%-12s %8s %8s %8s %8s %8s %8s %10s %10s\n", "export", "wall s", "collect", "layout", "grid", "cells",
              "finish", "peak MiB", "B/cell");
  for (const TScenario& s : GScenarios) {
    const TPhases& p = s.Best;
    const double t = p.Total();
    if (t == 0) continue;
    const double grown = s.PeakMiB - GBaseMiB[s.ViewKind()];
    std::printf("%-12s %8.3f %7.1f%% %7.1f%% %7.1f%% %7.1f%% %7.1f%% %10.1f %10.1f\n", s.Name, t, 100 * p.Collect / t,
                100 * p.Layout / t, 100 * p.Grid / t, 100 * p.Cells / t, 100 * p.Finish / t, s.PeakMiB,
                grown * 1048576.0 / kCells);
  }
  for (int k = 0; k < 2; ++k) {
    const TPhases& w = GWriter[k];
    const TScenario& flat = GScenarios[k == 0 ? 0 : 2];
    if (w.Total() == 0 || flat.Best.Total() == 0) continue;
    // The writer's share of the export: its own cell operations (grid, values
    // and styles, as the writer alone spends them) and the export's Finish.
    const double writer = w.Cells + flat.Best.Finish;
    std::printf(
        "%s writer alone: %.3f s (fill %.3f s, finish %.3f s), peak growth %.1f B/cell; "
        "flat export / writer alone = %.2f; writer share of the flat export about %.0f%%\n",
        k == 0 ? "xls" : "txt", w.Total(), w.Cells, w.Finish, (GWriterMiB[k] - GSourceMiB) * 1048576.0 / kCells,
        flat.Best.Total() / w.Total(), 100 * writer / flat.Best.Total());
  }
  for (int k = 0; k < 2; ++k) {
    const TScenario& flat = GScenarios[k == 0 ? 0 : 2];
    const TScenario& banded = GScenarios[k == 0 ? 4 : 5];
    if (flat.Best.Total() == 0 || banded.Best.Total() == 0) continue;
    std::printf("%s banded / table (flat view, same run) = %.2f (%.3f s / %.3f s); memory growth %.1f / %.1f B/cell\n",
                k == 0 ? "xls" : "txt", banded.Best.Total() / flat.Best.Total(), banded.Best.Total(), flat.Best.Total(),
                (banded.PeakMiB - GBaseMiB[2]) * 1048576.0 / kCells, (flat.PeakMiB - GBaseMiB[0]) * 1048576.0 / kCells);
  }
  return 0;
}
