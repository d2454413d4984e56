// Building the export form: data, grid, levels, views.
#include "app/ExportForm.h"

#include "gridpack/DBBandedTableView.h"
#include "gridpack/DBTableView.h"
#include "gridpack/Grid.h"
#include "platform/CsvLoader.h"
#include "platform/Files.h"
#include "platform/MemDataSet.h"
#include "platform/SqliteLoader.h"

namespace kv::app {

namespace {

std::string BaseName(const std::string& AFileName) {
  std::string name = ExtractFileName(AFileName);
  std::string ext = ExtractFileExt(name);
  return name.substr(0, name.size() - ext.size());
}

// A dataset of the form (in ADataSet) holding the data ARequest names: its
// CSV file, its table or its query; returns the dataset's new data source.
TDataSource* LoadData(TComponent& AForm, const TExportRequest& ARequest, const TLoadProgress& AProgress,
                      TMemDataSet*& ADataSet) {
  ADataSet = new TMemDataSet(&AForm);
  if (!ARequest.Csv.empty())
    LoadCsvFile(ARequest.Csv, *ADataSet, AProgress);
  else if (!ARequest.Table.empty())
    LoadSqliteTable(ARequest.Database, ARequest.Table, *ADataSet, AProgress);
  else
    LoadSqliteQuery(ARequest.Database, ARequest.Query, *ADataSet, AProgress);
  auto* source = new TDataSource(&AForm);
  source->SetDataSet(ADataSet);
  return source;
}

// A data-bound view of the layout's kind, owned by the form, on ASource.
TcxGridTableView* NewView(TComponent& AForm, const TLayout* ALayout, TDataSource* ASource) {
  if (ALayout && ALayout->View == TLayoutViewKind::Table) {
    auto* view = new TcxGridDBTableView(&AForm);
    view->DataController()->SetDataSource(ASource);
    return view;
  }
  auto* view = new TcxGridDBBandedTableView(&AForm);
  view->DataController()->SetDataSource(ASource);
  return view;
}

void BuildView(TcxGridTableView& AView, const TLayout* ALayout, const std::string& ALayoutName,
               const TDataSet& ADataSet, TComponent& AForm, const std::string& ACaption, const std::string& APlace) {
  if (ALayout)
    ApplyLayout(*ALayout, ALayoutName, AView, ADataSet, AForm, ACaption, APlace);
  else
    ApplyDefaultLayout(AView, ADataSet, ACaption);
}

// Every name of a ";"-separated key list must be a field of the data.
void CheckKeyFields(const std::string& AList, const TDataSet& ADataSet, const std::string& AWhere) {
  for (const std::string& name : SplitKeyNames(AList))
    if (!ADataSet.FindField(name)) throw Exception(AWhere + "the data has no field \"" + name + "\"");
}

// A key list with its names trimmed, as the data controller matches them.
std::string KeyList(const std::string& AList) {
  std::string result;
  for (const std::string& name : SplitKeyNames(AList)) result += (result.empty() ? "" : ";") + name;
  return result;
}

}  // namespace

std::string DataCaption(const TExportRequest& ARequest) {
  if (!ARequest.Csv.empty()) return BaseName(ARequest.Csv);
  if (!ARequest.Table.empty()) return ARequest.Table;
  return "查询";
}

TExportForm::TExportForm(const TExportRequest& ARequest, const TLayout* ALayout, const TLoadProgress& AProgress) {
  FForm.Name = "ExportForm";
  TDataSource* source = LoadData(FForm, ARequest, AProgress, FDataSet);
  FGrid = new TcxGrid(&FForm);
  FView = NewView(FForm, ALayout, source);
  FGrid->Levels()->Add()->SetGridView(FView);
  BuildView(*FView, ALayout, ARequest.Layout, *FDataSet, FForm, DataCaption(ARequest), "");
  if (ALayout && ALayout->Detail) BuildDetail(ARequest, *ALayout->Detail, AProgress);
}

void TExportForm::BuildDetail(const TExportRequest& ARequest, const TLayoutDetail& ADetail,
                              const TLoadProgress& AProgress) {
  const std::string where = "layout " + ARequest.Layout + ": detail: ";
  TExportRequest detail;  // the detail data, as a request of its own
  if (!ADetail.Csv.empty()) {
    detail.Csv = ADetail.Csv;
    if (detail.Csv[0] != PathDelim) detail.Csv = ExtractFilePath(ExpandFileName(ARequest.Layout)) + detail.Csv;
  } else {
    if (ARequest.Database.empty())
      throw Exception(where + (ADetail.Table.empty() ? "\"query\"" : "\"table\"") +
                      " reads the --db database; with --csv give the detail data as \"csv\"");
    detail.Database = ARequest.Database;
    detail.Table = ADetail.Table;
    detail.Query = ADetail.Query;
  }
  CheckKeyFields(ADetail.MasterKey, *FDataSet, where + "\"masterKey\": ");
  TDataSource* source = LoadData(FForm, detail, AProgress, FDetailDataSet);
  CheckKeyFields(ADetail.DetailKey, *FDetailDataSet, where + "\"detailKey\": ");
  const TLayout* layout = ADetail.Layout.empty() ? nullptr : &ADetail.Layout.front();
  FDetailView = NewView(FForm, layout, source);
  auto* controller = dynamic_cast<TcxDBDataController*>(FDetailView->DataController());
  controller->DetailKeyFieldNames = KeyList(ADetail.DetailKey);
  controller->MasterKeyFieldNames = KeyList(ADetail.MasterKey);
  TcxGridLevel* level = FGrid->Levels()->Items(0)->Add();
  level->Caption = ADetail.Caption.value_or(DataCaption(detail));
  level->SetGridView(FDetailView);
  BuildView(*FDetailView, layout, ARequest.Layout, *FDetailDataSet, FForm, DataCaption(detail), "detail: layout: ");
}

}  // namespace kv::app
