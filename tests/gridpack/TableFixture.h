// A host form for the grid pack tests: an in-memory dataset shown by a
// data-bound table view on a grid, with helpers to fill it and to read a
// view's rows as short texts.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "gridpack/DBTableView.h"
#include "gridpack/Grid.h"
#include "gridpack/GridRecords.h"
#include "platform/DBFields.h"
#include "platform/MemDataSet.h"

namespace kv::testing {

struct TTableField {
  std::string Name;
  TFieldType Type;
  int Size = 0;
};

class TTableForm {
 public:
  TTableForm() {
    DataSet = new TMemDataSet(&Form);
    Source = new TDataSource(&Form);
    Source->SetDataSet(DataSet);
    Grid = new TcxGrid(&Form);
    View = new TcxGridDBTableView(&Form);
    View->DataController()->SetDataSource(Source);
    Grid->Levels()->Add()->SetGridView(View);
  }

  // Defines the fields, opens the dataset and binds one column per field.
  void Define(std::initializer_list<TTableField> AFields) {
    for (const TTableField& f : AFields) DataSet->FieldDefs().Add(f.Name, f.Type, f.Size);
    DataSet->CreateDataSet();
    for (int i = 0; i < DataSet->FieldCount(); ++i)
      View->CreateColumn()->DataBinding()->FieldName = DataSet->Fields(i)->FieldName;
  }

  // Appends a record; texts are set with SetAsString, an empty text leaves a null.
  void AddRow(const std::vector<std::string>& AValues) {
    DataSet->Append();
    for (size_t i = 0; i < AValues.size(); ++i)
      if (!AValues[i].empty()) DataSet->Fields(static_cast<int>(i))->SetAsString(AValues[i]);
    DataSet->Post();
  }

  TcxGridDBColumn* Column(const std::string& AFieldName) const { return View->GetColumnByFieldName(AFieldName); }

  TComponent Form;
  TMemDataSet* DataSet;
  TDataSource* Source;
  TcxGrid* Grid;
  TcxGridDBTableView* View;
};

// The rows of a view as texts: a group row "G<level>:<caption text>", a data
// row "R<level>:<display text of item AItem>", with "+" / "-" after the level
// for expandable rows.
inline std::vector<std::string> RowTexts(TcxCustomGridTableView* AView, int AItem) {
  std::vector<std::string> rows;
  TcxGridViewData* data = AView->ViewData();
  for (int i = 0; i < data->RecordCount(); ++i) {
    TcxCustomGridRecord* r = data->Records(i);
    std::string text = r->IsData() ? "R" : "G";
    text += std::to_string(r->Level());
    if (r->Expandable()) text += r->Expanded() ? "-" : "+";
    text += ":";
    if (auto* group = dynamic_cast<TcxGridGroupRow*>(r))
      text += group->DisplayCaption();
    else
      text += r->DisplayTexts(AItem);
    rows.push_back(text);
  }
  return rows;
}

}  // namespace kv::testing
