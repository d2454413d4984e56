// The CSV-to-workbook path of `kvpublic export --csv FILE --format xls` in
// one program with clocks between its steps, for profiling: load the CSV into
// an in-memory dataset, build the form (data source, grid, data-bound banded
// view with a column per field, integers in spin editors and floats in calc
// editors, dates in the date editors their fields give), export the view with
// SaveGridAsXLS as the Excel export function calls it.  Prints the time of
// each step on stderr.
//
//     csv_xls_driver IN.csv OUT.xls
//     csv_xls_driver IN.csv -          (loads and builds the view only)
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "export/GridExport.h"
#include "gridpack/DBBandedTableView.h"
#include "gridpack/EditProperties.h"
#include "gridpack/Grid.h"
#include "platform/Components.h"
#include "platform/CsvLoader.h"
#include "platform/DBFields.h"
#include "platform/MemDataSet.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point A, Clock::time_point B) { return std::chrono::duration<double>(B - A).count(); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: csv_xls_driver IN.csv OUT.xls\n");
    return 2;
  }
  try {
    const Clock::time_point start = Clock::now();
    kv::TComponent form;
    auto* dataSet = new kv::TMemDataSet(&form);
    kv::LoadCsvFile(argv[1], *dataSet);
    const Clock::time_point loaded = Clock::now();
    auto* source = new kv::TDataSource(&form);
    source->SetDataSet(dataSet);
    auto* grid = new kv::TcxGrid(&form);
    auto* view = new kv::TcxGridDBBandedTableView(&form);
    view->DataController()->SetDataSource(source);
    grid->Levels()->Add()->SetGridView(view);
    for (int i = 0; i < dataSet->FieldCount(); ++i) {
      kv::TField* field = dataSet->Fields(i);
      kv::TcxGridDBBandedColumn* column = view->CreateColumn();
      column->DataBinding()->FieldName = field->FieldName;
      if (field->DataType() == kv::ftInteger || field->DataType() == kv::ftLargeint)
        column->SetPropertiesClass<kv::TcxSpinEditProperties>();
      else if (field->DataType() == kv::ftFloat)
        column->SetPropertiesClass<kv::TcxCalcEditProperties>();
    }
    const Clock::time_point built = Clock::now();
    if (std::string(argv[2]) != "-") kv::SaveGridAsXLS(argv[2], grid, true, true, true, "xls");
    const Clock::time_point exported = Clock::now();
    std::fprintf(stderr, "load %.3f s, view %.3f s, export %.3f s, total %.3f s (%d records)\n", Seconds(start, loaded),
                 Seconds(loaded, built), Seconds(built, exported), Seconds(start, exported), dataSet->RecordCount());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "csv_xls_driver: %s\n", e.what());
    return 1;
  }
  return 0;
}
