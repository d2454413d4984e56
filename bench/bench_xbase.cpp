// The dBASE table component writing 65,000 rows of 20 fields the way the
// grid-to-DBF export drives it (Append, Last, one SetFieldByName per field,
// Post), and shapelib's DBF writer writing the same table in the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "dbf/XBase.h"
#include "platform/CodePage.h"

#ifdef KV_HAVE_SHAPELIB
#include <shapefil.h>
#endif

namespace {

constexpr int Rows = 65000;
constexpr int Columns = 20;
constexpr int Width = 12;

// Field names F0..F19 and a cycle of 100 rows of values, a quarter of them
// Chinese text.
struct TTableData {
  std::vector<std::string> Names;
  std::vector<std::vector<std::string>> Values;  // [row % 100][column], UTF-8
  TTableData() {
    for (int c = 0; c < Columns; ++c) Names.push_back(std::string("F").append(std::to_string(c)));
    for (int r = 0; r < 100; ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < Columns; ++c)
        row.push_back(c % 4 == 3 ? std::string("名称").append(std::to_string(r)) : std::to_string(r * 1000 + c * 7));
      Values.push_back(row);
    }
  }
};

const TTableData& Data() {
  static TTableData data;
  return data;
}

std::string TargetBase(const char* AName) {
  return (std::string("/tmp/kv_bench_") + AName + "_" + std::to_string(::getpid()));
}

void BM_TXBaseWrite(benchmark::State& state) {
  const TTableData& data = Data();
  std::string path = TargetBase("xbase") + ".dbf";
  std::vector<kv::TDBFFieldStruct> fields;
  for (const std::string& name : data.Names) fields.push_back({name, 'C', Width, 0});
  for (auto _ : state) {
    kv::TXBase table;
    table.CreateTable(path, fields);
    table.SetFilename(path);
    table.SetActive(true);
    for (int r = 0; r < Rows; ++r) {
      table.Append();
      table.Last();
      const std::vector<std::string>& row = data.Values[r % 100];
      for (int c = 0; c < Columns; ++c) table.SetFieldByName(data.Names[c], row[c]);
      table.Post();
    }
    table.SetActive(false);
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * Rows);
}
BENCHMARK(BM_TXBaseWrite)->Unit(benchmark::kMillisecond);

#ifdef KV_HAVE_SHAPELIB
// shapelib takes bytes as they are, so the values are encoded beforehand.
void BM_ShapelibWrite(benchmark::State& state) {
  const TTableData& data = Data();
  std::string base = TargetBase("shapelib");
  std::vector<std::vector<std::string>> encoded;
  for (const auto& row : data.Values) {
    std::vector<std::string> bytes;
    for (const std::string& value : row) bytes.push_back(kv::ToSystemBytes(value));
    encoded.push_back(bytes);
  }
  for (auto _ : state) {
    DBFHandle dbf = DBFCreateEx(base.c_str(), "CP936");
    for (const std::string& name : data.Names) DBFAddField(dbf, name.c_str(), FTString, Width, 0);
    for (int r = 0; r < Rows; ++r) {
      const std::vector<std::string>& row = encoded[r % 100];
      for (int c = 0; c < Columns; ++c) DBFWriteStringAttribute(dbf, r, c, row[c].c_str());
    }
    DBFClose(dbf);
  }
  std::remove((base + ".dbf").c_str());
  std::remove((base + ".cpg").c_str());
  state.SetItemsProcessed(state.iterations() * Rows);
}
BENCHMARK(BM_ShapelibWrite)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
