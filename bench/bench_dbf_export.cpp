// The grid-to-DBF export of 65,000 rows x 20 columns from an in-memory
// dataset, and shapelib's DBF writer writing the same table (same fields and
// widths, the same GBK texts read from the same dataset) in the same run.
// After the run the two times and their ratio are printed.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "dbf/ViewToDbf.h"
#include "gridpack/DBBandedTableView.h"
#include "gridpack/Grid.h"
#include "platform/CodePage.h"
#include "platform/DBFields.h"
#include "platform/MemDataSet.h"

#ifdef KV_HAVE_SHAPELIB
#include <shapefil.h>
#endif

namespace {

constexpr int Rows = 65000;

using namespace kv;

// The host's form: dataset, data source, grid and view with one column per field.
struct TBenchForm {
  TComponent Form;
  TMemDataSet* DataSet = new TMemDataSet(&Form);
  TDataSource* Source = new TDataSource(&Form);
  TcxGrid* Grid = new TcxGrid(&Form);
  TcxGridDBBandedTableView* View = new TcxGridDBBandedTableView(&Form);

  TBenchForm() {
    const struct {
      const char* Name;
      TFieldType Type;
      int Size;
    } fields[] = {
        {"NO", ftString, 12},        {"CUSTOMER", ftString, 20}, {"CITY", ftString, 10},      {"PRODUCT", ftString, 30},
        {"ID", ftInteger, 0},        {"QTY", ftInteger, 0},      {"PRIORITY", ftSmallint, 0}, {"STORE", ftInteger, 0},
        {"TRACKING", ftLargeint, 0}, {"SERIAL", ftLargeint, 0},  {"PRICE", ftFloat, 0},       {"WEIGHT", ftFloat, 0},
        {"DISCOUNT", ftFloat, 0},    {"AMOUNT", ftCurrency, 0},  {"TAX", ftCurrency, 0},      {"ORDERED", ftDate, 0},
        {"DUE", ftDate, 0},          {"SHIPPED", ftDateTime, 0}, {"CHANGED", ftDateTime, 0},  {"PAID", ftBoolean, 0}};
    for (const auto& f : fields) DataSet->FieldDefs().Add(f.Name, f.Type, f.Size);
    DataSet->CreateDataSet();
    DataSet->Reserve(Rows);
    const char* names[] = {"王伟", "李娜", "张敏", "欧阳建国", "Smith & Co."};
    const char* cities[] = {"北京", "上海", "深圳", "乌鲁木齐"};
    const char* products[] = {"笔记本电脑 14英寸", "无线鼠标", "A4复印纸(5包装)", "USB-C hub"};
    TDateTime day = EncodeDate(2023, 1, 1);
    for (int r = 0; r < Rows; ++r) {
      DataSet->Append();
      int c = 0;
      DataSet->Fields(c++)->SetAsString("SO" + std::to_string(2023000000 + r));
      DataSet->Fields(c++)->SetAsString(names[r % 5]);
      DataSet->Fields(c++)->SetAsString(cities[r % 4]);
      DataSet->Fields(c++)->SetAsString(products[r % 4]);
      DataSet->Fields(c++)->SetAsInteger(r + 1);
      DataSet->Fields(c++)->SetAsInteger(1 + r % 17);
      DataSet->Fields(c++)->SetAsInteger(r % 5);
      DataSet->Fields(c++)->SetAsInteger(100000 + r % 977);
      DataSet->Fields(c++)->SetAsLargeInt(7300000000000LL + r * 7919LL);
      DataSet->Fields(c++)->SetAsLargeInt(-5000000000LL + r);
      DataSet->Fields(c++)->SetAsFloat((r % 10000) / 100.0);
      DataSet->Fields(c++)->SetAsFloat(r * 0.001);
      DataSet->Fields(c++)->SetAsFloat((r % 4) * 0.05);
      DataSet->Fields(c++)->SetAsFloat((r % 100000) * 1.25);
      DataSet->Fields(c++)->SetAsFloat((r % 1000) * 0.13);
      DataSet->Fields(c++)->SetAsDateTime(day + r % 730);
      DataSet->Fields(c++)->SetAsDateTime(day + 30 + r % 730);
      DataSet->Fields(c++)->SetAsDateTime(day + r % 730 + (r % 86400) / 86400.0);
      DataSet->Fields(c++)->SetAsDateTime(day + r % 700 + 0.5);
      DataSet->Fields(c++)->SetAsBoolean(r % 3 != 0);
      DataSet->Post();
    }
    Source->SetDataSet(DataSet);
    View->DataController()->SetDataSource(Source);
    Grid->Levels()->Add()->SetGridView(View);
    TcxGridBand* band = View->Bands()->Add();  // a banded view shows the columns of its bands
    for (int i = 0; i < DataSet->FieldCount(); ++i) {
      TcxGridDBBandedColumn* column = View->CreateColumn();
      column->DataBinding()->FieldName = DataSet->Fields(i)->FieldName;
      column->Position().SetBand(band);
    }
  }
};

TBenchForm& Form() {
  static TBenchForm form;
  return form;
}

std::string Target(const char* AName) {
  return "/tmp/kv_bench_" + std::string(AName) + "_" + std::to_string(::getpid()) + ".dbf";
}

void BM_ExportViewToDBF(benchmark::State& state) {
  TBenchForm& form = Form();
  std::string path = Target("export");
  for (auto _ : state) ExportViewToDBF(path, form.View);
  state.SetItemsProcessed(state.iterations() * Rows);
  std::remove(path.c_str());
}
BENCHMARK(BM_ExportViewToDBF)->Unit(benchmark::kMillisecond)->MinTime(2.0);

#ifdef KV_HAVE_SHAPELIB
// The same table through shapelib: fields with the export's types and widths,
// one string (or logical) attribute per value, the same texts in GBK.
void BM_ShapelibSameTable(benchmark::State& state) {
  TBenchForm& form = Form();
  TDataSet* ds = form.DataSet;
  std::string path = Target("shapelib");
  std::vector<TDBFFieldStruct> fields;
  for (int i = 0; i < ds->FieldCount(); ++i) fields.push_back(FieldToDBFField(ds->Fields(i)));
  for (auto _ : state) {
    DBFHandle h = DBFCreateEx(path.c_str(), "LDID/77");
    for (size_t i = 0; i < fields.size(); ++i) {
      std::string name = std::string(1, 'F').append(std::to_string(i));
      DBFAddField(h, name.c_str(), fields[i].FieldType == 'L' ? FTLogical : FTString, fields[i].FieldLength, 0);
    }
    int row = 0;
    for (ds->First(); !ds->Eof(); ds->Next(), ++row) {
      for (int i = 0; i < ds->FieldCount(); ++i) {
        std::string text = DBFFieldText(*ds->Fields(i));
        if (fields[static_cast<size_t>(i)].FieldType == 'L') {
          DBFWriteLogicalAttribute(h, row, i, text.empty() ? '?' : text[0]);
        } else {
          DBFWriteStringAttribute(h, row, i, ToSystemBytes(text).c_str());
        }
      }
    }
    DBFClose(h);
  }
  state.SetItemsProcessed(state.iterations() * Rows);
  std::remove(path.c_str());
}
BENCHMARK(BM_ShapelibSameTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);
#endif

// Prints the runs as usual, then the ratio of the export's time to shapelib's.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  TRatioReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& AReports) override {
    ConsoleReporter::ReportRuns(AReports);
    for (const Run& r : AReports) Times[r.benchmark_name()] = r.GetAdjustedRealTime();
  }
  std::map<std::string, double> Times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Form();  // build the dataset before timing
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto ours = reporter.Times.find("BM_ExportViewToDBF/min_time:2.000");
  auto peer = reporter.Times.find("BM_ShapelibSameTable/min_time:2.000");
  if (ours != reporter.Times.end() && peer != reporter.Times.end())
    std::printf("ExportViewToDBF %.1f ms, shapelib %.1f ms, ratio %.2f (below 1: faster than shapelib)\n", ours->second,
                peer->second, ours->second / peer->second);
  benchmark::Shutdown();
  return 0;
}
