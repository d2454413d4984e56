// Test helpers shared by the test programs: a private temporary folder, the
// current directory kept across a test, and a host form holding an in-memory
// dataset shown by a data-bound banded table view on a grid.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "gridpack/DBBandedTableView.h"
#include "gridpack/Grid.h"
#include "platform/DBFields.h"
#include "platform/Files.h"
#include "platform/MemDataSet.h"

namespace kv::testing {

// A folder of its own, removed afterwards.
class TScratchDir {
 public:
  TScratchDir() {
    std::string pattern = ::testing::TempDir() + "kv_test_XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    FPath = std::filesystem::canonical(pattern).string();
  }
  ~TScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
  }
  const std::string& Path() const { return FPath; }
  std::string File(const std::string& AName) const { return FPath + "/" + AName; }
  void Write(const std::string& AName, const std::string& ABytes) const {
    std::ofstream out(File(AName), std::ios::binary | std::ios::trunc);
    out.write(ABytes.data(), static_cast<std::streamsize>(ABytes.size()));
  }

 private:
  std::string FPath;
};

// Restores the current directory when the test ends (save dialogs move it).
class TCurrentDirGuard {
 public:
  TCurrentDirGuard() : FDir(GetCurrentDir()) {}
  ~TCurrentDirGuard() { SetCurrentDir(FDir); }
  const std::string& Dir() const { return FDir; }

 private:
  std::string FDir;
};

struct TFieldSpec {
  std::string Name;
  TFieldType Type;
  int Size = 0;
};

// A form owning a dataset, its data source, a grid and a data-bound banded
// table view on the grid's only level, as a desktop host holds them.
class TViewForm {
 public:
  TViewForm() {
    Form.Name = "TestForm";
    DataSet = new TMemDataSet(&Form);
    Source = new TDataSource(&Form);
    Source->SetDataSet(DataSet);
    Grid = new TcxGrid(&Form);
    View = new TcxGridDBBandedTableView(&Form);
    View->DataController()->SetDataSource(Source);
    Grid->Levels()->Add()->SetGridView(View);
  }

  // Defines the fields and opens the (empty) dataset.
  void Define(std::initializer_list<TFieldSpec> AFields) {
    for (const TFieldSpec& f : AFields) DataSet->FieldDefs().Add(f.Name, f.Type, f.Size);
    DataSet->CreateDataSet();
  }

  // Appends a record; texts are set with SetAsString, an empty text leaves a null.
  void AddRow(const std::vector<std::string>& AValues) {
    DataSet->Append();
    for (size_t i = 0; i < AValues.size(); ++i)
      if (!AValues[i].empty()) DataSet->Fields(static_cast<int>(i))->SetAsString(AValues[i]);
    DataSet->Post();
  }

  // The view's first band, made when there is none: a banded view shows
  // only the columns that lie in a band.
  TcxGridBand* Band() { return View->Bands()->Count() > 0 ? View->Bands()->Items(0) : View->Bands()->Add(); }

  // A new column in the first band, bound to AFieldName ("" binds nothing).
  TcxGridDBBandedColumn* AddColumn(const std::string& AFieldName = std::string()) {
    TcxGridDBBandedColumn* column = View->CreateColumn();
    column->DataBinding()->FieldName = AFieldName;
    column->Position().SetBand(Band());
    return column;
  }

  // One column per field, bound to it, in field order.
  void BindAllFields() {
    for (int i = 0; i < DataSet->FieldCount(); ++i) AddColumn(DataSet->Fields(i)->FieldName);
  }

  TComponent Form;
  TMemDataSet* DataSet;
  TDataSource* Source;
  TcxGrid* Grid;
  TcxGridDBBandedTableView* View;
};

}  // namespace kv::testing
