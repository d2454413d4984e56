// Exports a banded table view through the workbook entry point, for the
// reader test test_banded_export.py:
//
//   gen_banded_export FOLDER
//
// writes FOLDER/banded.xls (native values on): two bands, "客户" (180
// pixels wide, in a yellow content style, holding Name and City, 80 + 60
// pixels, and the hidden Region column) and "金额" (Amount, a calc editor);
// grouped by Region (one level); a footer with the sum of Amount.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "export/GridExport.h"
#include "gridpack/BandedTableView.h"
#include "gridpack/DataController.h"
#include "gridpack/DataSummary.h"
#include "gridpack/Grid.h"
#include "platform/Components.h"

namespace {

using namespace kv;

void Write(const std::string& AFolder) {
  TComponent form;
  auto* grid = new TcxGrid(&form);
  auto* view = new TcxGridBandedTableView(&form);
  grid->Levels()->Add()->SetGridView(view);
  auto* data = static_cast<TcxGridDataController*>(view->DataController());

  TcxGridBand* customer = view->Bands()->Add();
  customer->SetCaption("客户");
  customer->SetWidth(180);
  auto* yellow = new TcxStyle(&form);
  yellow->SetColor(clYellow);
  customer->Styles()->SetContent(yellow);
  TcxGridBand* money = view->Bands()->Add();
  money->SetCaption("金额");

  auto column = [&](const std::string& ACaption, TcxGridBand* ABand, int AWidth) {
    TcxGridBandedColumn* c = view->CreateColumn();
    c->SetCaption(ACaption);
    c->SetWidth(AWidth);
    c->Position().SetBand(ABand);
    return c;
  };
  TcxGridBandedColumn* region = column("Region", customer, 60);
  column("Name", customer, 80);
  column("City", customer, 60);
  TcxGridBandedColumn* amount = column("Amount", money, 80);
  amount->SetPropertiesClass<TcxCalcEditProperties>();
  const std::vector<std::vector<Variant>> rows = {
      {Variant("East"), Variant("张三"), Variant("北京"), Variant(10.5)},
      {Variant("East"), Variant("李四"), Variant("上海"), Variant(20.0)},
      {Variant("West"), Variant("王五"), Variant("广州"), Variant(30.25)},
  };
  for (const auto& values : rows) {
    int r = data->AppendRecord();
    for (size_t i = 0; i < values.size(); ++i) data->SetValue(r, view->Columns(static_cast<int>(i)), values[i]);
  }
  region->SetVisible(false);
  region->SetGroupIndex(0);
  view->OptionsView.Footer = true;
  data->Summary().FooterSummaryItems().Add(amount, spFooter, skSum);

  SaveGridAsXLS(AFolder + "/banded", grid, true, true, true, "xls");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_banded_export FOLDER\n");
    return 2;
  }
  try {
    Write(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gen_banded_export: %s\n", e.what());
    return 1;
  }
  return 0;
}
