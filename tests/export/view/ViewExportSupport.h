// Fixture of the view exporter tests: a form holding a grid with one table
// view whose data the test fills, a freshly started export engine with the
// recording providers, and a routine that exports the grid and hands back
// what the provider recorded.
//
// Layout figures with the default font (9 points): header, data rows and
// base rows 19 pixels high, group rows 21, level indent 20, columns 64 wide
// unless set.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../core/EngineFixture.h"
#include "RecordingProvider.h"
#include "export/GridExport.h"
#include "gridpack/DataController.h"
#include "gridpack/DataSummary.h"
#include "gridpack/Grid.h"
#include "gridpack/GridRecords.h"
#include "gridpack/TableView.h"
#include "platform/Components.h"

namespace kv::testing {

class ViewExportTest : public ExportEngineTest {
 protected:
  void SetUp() override {
    ExportEngineTest::SetUp();
    RegisterRecordingProviders();
    Form = std::make_unique<TComponent>();
    Grid = new TcxGrid(Form.get());
    View = new TcxGridTableView(Form.get());
    Grid->Levels()->Add()->SetGridView(View);
  }
  void TearDown() override {
    TRecordingProvider::Kept().clear();
    Form.reset();
    ExportEngineTest::TearDown();
  }

  TcxGridColumn* AddColumn(const std::string& ACaption, int AWidth = 64) {
    TcxGridColumn* column = View->CreateColumn();
    column->SetCaption(ACaption);
    column->SetWidth(AWidth);
    return column;
  }
  TcxGridDataController* Data() const { return static_cast<TcxGridDataController*>(View->DataController()); }
  // Appends a record with one value per column, in column order.
  void AddRow(const std::vector<Variant>& AValues) {
    int record = Data()->AppendRecord();
    for (size_t i = 0; i < AValues.size(); ++i)
      Data()->SetValue(record, View->Columns(static_cast<int>(i)), AValues[i]);
  }
  TcxDataSummaryItem* AddFooterSummary(TcxGridColumn* AColumn, TcxSummaryKind AKind, const std::string& AFormat = "") {
    return Data()->Summary().FooterSummaryItems().Add(AColumn, spFooter, AKind, AFormat);
  }
  TcxDataSummaryItem* AddGroupSummary(TcxGridColumn* AColumn, TcxSummaryKind AKind, const std::string& AFormat = "",
                                      TcxSummaryPosition APosition = spGroup) {
    return Data()->Summary().DefaultGroupSummaryItems().Add(AColumn, APosition, AKind, AFormat);
  }

  // Exports the grid to a recording provider and answers the first provider made.
  TRecordingProvider* Export(bool AExpand = true, bool ASaveAll = true, bool ANative = false,
                             int AKind = kRecordingKind) {
    SaveGridAs("out.rec", AKind, Grid, AExpand, ASaveAll, ANative, "", "", "", "");
    TRecordingProvider* provider = TRecordingProvider::Made(0);
    EXPECT_NE(provider, nullptr);
    return provider;
  }

  // Whether a side of a cell's style has a border.
  static bool HasBorder(TRecordingProvider& AProvider, int ACol, int ARow, int ASide) {
    return AProvider.StyleOf(ACol, ARow).CellBorders[static_cast<size_t>(ASide)].IsDefault == 0;
  }

  std::unique_ptr<TComponent> Form;
  TcxGrid* Grid = nullptr;
  TcxGridTableView* View = nullptr;
};

}  // namespace kv::testing
