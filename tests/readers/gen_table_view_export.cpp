// Exports small table views through the grid export entry points into a
// folder, for the reader tests:
//
//   gen_table_view_export FOLDER
//
// writes, each view to .txt (padded, no separator) and to .xls (native values
// on: "<name>.xls", and off: "<name>-text.xls"):
//   plain        名称 (text), 金额 (currency editor), 日期 (date editor),
//                数量 (spin editor), 比例 (calc editor); three records;
//   grouped      grouped by Region then City, Name and Amount shown; group
//                summaries Sum and Count of Amount aligned with the columns;
//                a footer with Sum, Min and Max of Amount stacked;
//   merged       cell merging on column K (A, A, B);
//   preview      a preview line under each record, with automatic height of
//                at most three lines;
//   masterdetail a master view whose expanded rows show a detail view, also
//                as .html (the HTML writer nests details, the workbook
//                does not).
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "export/GridExport.h"
#include "gridpack/DataController.h"
#include "gridpack/DataSummary.h"
#include "gridpack/Grid.h"
#include "gridpack/TableView.h"
#include "platform/Components.h"
#include "platform/SysUtils.h"

namespace {

using namespace kv;

struct TViewMaker {
  TComponent Form;
  TcxGrid* Grid = new TcxGrid(&Form);
  TcxGridTableView* View = new TcxGridTableView(&Form);
  TViewMaker() { Grid->Levels()->Add()->SetGridView(View); }
  TcxGridDataController* Data() const { return static_cast<TcxGridDataController*>(View->DataController()); }
  TcxGridColumn* Column(const std::string& ACaption, int AWidth = 80) {
    TcxGridColumn* c = View->CreateColumn();
    c->SetCaption(ACaption);
    c->SetWidth(AWidth);
    return c;
  }
  void Row(const std::vector<Variant>& AValues) {
    int r = Data()->AppendRecord();
    for (size_t i = 0; i < AValues.size(); ++i) Data()->SetValue(r, View->Columns(static_cast<int>(i)), AValues[i]);
  }
};

void WriteAll(TViewMaker& AMaker, const std::string& AFolder, const std::string& AName) {
  std::string base = AFolder + "/" + AName;
  SaveGridAsText(base, AMaker.Grid, true, true, "", "", "", "txt");
  SaveGridAsXLS(base, AMaker.Grid, true, true, true, "xls");
  SaveGridAsXLS(base + "-text", AMaker.Grid, true, true, false, "xls");
}

void Plain(const std::string& AFolder) {
  TViewMaker m;
  m.Column("名称");
  m.Column("金额")->SetPropertiesClass<TcxCurrencyEditProperties>();
  m.Column("日期")->SetPropertiesClass<TcxDateEditProperties>();
  m.Column("数量", 50)->SetPropertiesClass<TcxSpinEditProperties>();
  m.Column("比例", 60)->SetPropertiesClass<TcxCalcEditProperties>();
  m.Row({Variant("北京"), Variant::CurrencyFromDouble(1234.5), Variant::DateTime(EncodeDate(2024, 1, 15)), Variant(3),
         Variant(0.25)});
  m.Row({Variant("上海市"), Variant::CurrencyFromDouble(99.99), Variant::DateTime(EncodeDate(2024, 2, 29)), Variant(12),
         Variant(1.5)});
  m.Row({Variant("abc"), Variant::CurrencyFromDouble(-5), Variant::DateTime(EncodeDate(2023, 12, 31)), Variant(0),
         Variant(2.0)});
  WriteAll(m, AFolder, "plain");
}

void Grouped(const std::string& AFolder) {
  TViewMaker m;
  TcxGridColumn* region = m.Column("Region");
  TcxGridColumn* city = m.Column("City");
  m.Column("Name", 200);
  TcxGridColumn* amount = m.Column("Amount", 64);
  amount->SetPropertiesClass<TcxCalcEditProperties>();
  m.Row({Variant("East"), Variant("A"), Variant("n1"), Variant(1.0)});
  m.Row({Variant("East"), Variant("A"), Variant("n2"), Variant(2.0)});
  m.Row({Variant("East"), Variant("B"), Variant("n3"), Variant(3.0)});
  m.Row({Variant("West"), Variant("C"), Variant("n4"), Variant(4.0)});
  region->SetVisible(false);
  city->SetVisible(false);
  region->SetGroupIndex(0);
  city->SetGroupIndex(1);
  m.View->OptionsView.GroupSummaryLayout = gslAlignWithColumns;
  auto& group = m.Data()->Summary().DefaultGroupSummaryItems();
  group.Add(amount, spGroup, skSum);
  group.Add(amount, spGroup, skCount);
  m.View->OptionsView.Footer = true;
  m.View->OptionsView.FooterMultiSummaries = true;
  auto& footer = m.Data()->Summary().FooterSummaryItems();
  footer.Add(amount, spFooter, skSum);
  footer.Add(amount, spFooter, skMin);
  footer.Add(amount, spFooter, skMax);
  WriteAll(m, AFolder, "grouped");
}

void Merged(const std::string& AFolder) {
  TViewMaker m;
  TcxGridColumn* k = m.Column("K", 60);
  m.Column("V", 60);
  k->Options.CellMerging = true;
  m.Row({Variant("A"), Variant("1")});
  m.Row({Variant("A"), Variant("2")});
  m.Row({Variant("B"), Variant("3")});
  WriteAll(m, AFolder, "merged");
}

void Preview(const std::string& AFolder) {
  TViewMaker m;
  m.Column("K", 60);
  m.Column("V", 60);
  TcxGridColumn* notes = m.Column("Notes");
  notes->SetVisible(false);
  m.Row({Variant("a"), Variant("1"), Variant("short note")});
  m.Row({Variant("b"), Variant("2"), Variant("a much longer note that needs more than three lines of the preview")});
  m.View->Preview().Visible = true;
  m.View->Preview().SetColumn(notes);
  m.View->Preview().AutoHeight = true;
  m.View->Preview().MaxLineCount = 3;
  WriteAll(m, AFolder, "preview");
}

void MasterDetail(const std::string& AFolder) {
  TComponent detailOwner;  // freed after the master view
  std::vector<TcxGridTableView*> details;
  {
    TViewMaker m;
    m.Column("Master", 100);
    m.Row({Variant("m1")});
    m.Row({Variant("m2")});
    for (int d = 0; d < 2; ++d) {
      auto* view = new TcxGridTableView(&detailOwner);
      TcxGridColumn* c = view->CreateColumn();
      c->SetCaption("Detail");
      auto* data = static_cast<TcxGridDataController*>(view->DataController());
      for (int r = 0; r < 2; ++r)
        data->SetValue(data->AppendRecord(), c, Variant("d" + std::to_string(d) + std::to_string(r)));
      details.push_back(view);
    }
    m.Grid->Levels()->Items(0)->Add()->OnGetDetailView = [&](TcxGridLevel*, TcxCustomGridView*, int ARecord) {
      return static_cast<TcxCustomGridView*>(details[static_cast<size_t>(ARecord)]);
    };
    WriteAll(m, AFolder, "masterdetail");
    SaveGridAsHTML(AFolder + "/masterdetail", m.Grid, true, true, "html");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_table_view_export FOLDER\n");
    return 2;
  }
  try {
    Plain(argv[1]);
    Grouped(argv[1]);
    Merged(argv[1]);
    Preview(argv[1]);
    MasterDetail(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gen_table_view_export: %s\n", e.what());
    return 1;
  }
  return 0;
}
