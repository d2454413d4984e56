// The form the command line builds for an export, as a desktop host holds
// it: the datasets with their data sources, the grid with its level (and a
// detail level), the views with their bands, columns and styles.
#pragma once

#include <string>

#include "app/CommandLine.h"
#include "app/Layout.h"
#include "platform/Components.h"
#include "platform/LoadProgress.h"

namespace kv {
class TMemDataSet;
class TcxGrid;
class TcxGridTableView;
}  // namespace kv

namespace kv::app {

class TExportForm {
 public:
  // Loads the data ARequest names and builds the view from ALayout (read
  // from ARequest.Layout; nullptr: the default view).  A layout's detail
  // level loads its own data: a table or query of the same database, or a
  // CSV file named relative to the layout file.  AProgress is told the
  // records read.  Raises the loaders' errors and Exception for a layout
  // that does not fit the data.
  TExportForm(const TExportRequest& ARequest, const TLayout* ALayout, const TLoadProgress& AProgress);

  TcxGrid* Grid() const { return FGrid; }
  TcxGridTableView* View() const { return FView; }
  TMemDataSet* DataSet() const { return FDataSet; }
  // The detail level's view and data; nullptr without a detail level.
  TcxGridTableView* DetailView() const { return FDetailView; }
  TMemDataSet* DetailDataSet() const { return FDetailDataSet; }

 private:
  void BuildDetail(const TExportRequest& ARequest, const TLayoutDetail& ADetail, const TLoadProgress& AProgress);

  TComponent FForm;
  TcxGrid* FGrid = nullptr;
  TcxGridTableView* FView = nullptr;
  TMemDataSet* FDataSet = nullptr;
  TcxGridTableView* FDetailView = nullptr;
  TMemDataSet* FDetailDataSet = nullptr;
};

// The caption of the data of a request: the table's name, the CSV file's
// name without its extension, or "查询" for a query.
std::string DataCaption(const TExportRequest& ARequest);

}  // namespace kv::app
