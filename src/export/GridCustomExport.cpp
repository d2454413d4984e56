// TcxGridCustomExport: construction, the build pipeline, grid mode, the
// choice of the records to export and the base style.  The area writers and
// the value rules are in GridExportAreas.cpp and GridExportValues.cpp.
#include "export/GridCustomExport.h"

#include "gridpack/CustomTableView.h"
#include "gridpack/DataController.h"
#include "gridpack/Grid.h"
#include "gridpack/GridRecords.h"
#include "gridpack/TableViewInfo.h"

namespace kv {

namespace {

// Holds the grid's update lock for a scope (a grid may be absent).
class TGridUpdateLock {
 public:
  explicit TGridUpdateLock(TcxGrid* AGrid) : FGrid(AGrid) {
    if (FGrid) FGrid->BeginUpdate();
  }
  ~TGridUpdateLock() {
    if (FGrid) FGrid->EndUpdate();
  }
  TGridUpdateLock(const TGridUpdateLock&) = delete;
  TGridUpdateLock& operator=(const TGridUpdateLock&) = delete;

 private:
  TcxGrid* FGrid;
};

TcxExportProgressObserver& ProgressObserver() {
  static TcxExportProgressObserver observer;
  return observer;
}

}  // namespace

TcxExportProgressObserver SetExportProgressObserver(TcxExportProgressObserver AObserver) {
  TcxExportProgressObserver previous = std::move(ProgressObserver());
  ProgressObserver() = std::move(AObserver);
  return previous;
}

void TcxGridCustomExport::ReportProgress(TcxExportPhase APhase, int ACount, int ATotal) const {
  const TcxExportProgressObserver& observer = ProgressObserver();
  if (FReportsProgress && observer) observer(APhase, ACount, ATotal);
}

TcxGridCustomExport::TcxGridCustomExport(const std::string& AFileName, int AExportKind, TcxCustomGridView* AView,
                                         TcxGrid* AGrid, TcxCustomGridTableViewInfo* ALayoutInfo) {
  std::shared_ptr<TcxCustomExportProvider> provider;
  try {
    provider = TcxExport::CreateProvider(AExportKind, AFileName);
  } catch (const EStreamError&) {
    RaiseGridExportError(scxCantCreateExportOutputFile);
  }
  FExportProvider = std::dynamic_pointer_cast<IcxExportProvider>(provider);
  if (!FExportProvider) throw EcxExportData("provider of kind " + std::to_string(AExportKind) + " lacks its interface");
  FCellCache = std::dynamic_pointer_cast<IcxCellInternalCache>(provider);
  FHasCellCache = FCellCache != nullptr;
  FBaseRowHeight = 19;
  FView = AView;
  FGridControl = AGrid;
  FLayoutInfo = ALayoutInfo;
  FTargetFile = AFileName;
  FExportKind = AExportKind;
}

TcxGridCustomExport::TcxGridCustomExport(TcxGridCustomExport& AMaster, TcxCustomGridView* AView,
                                         TcxCustomGridTableViewInfo* ALayoutInfo)
    : TcxGridCustomExport(AMaster.FTargetFile, AMaster.FExportKind, AView, AMaster.FGridControl, ALayoutInfo) {
  FExpandRecords = AMaster.FExpandRecords;
  FAllRecords = AMaster.FAllRecords;
  FReportsProgress = false;
}

TcxGridCustomExport::~TcxGridCustomExport() {
  FCellCache.reset();
  FExportProvider.reset();
}

void TcxGridCustomExport::Execute() {
  Build();
  BeforeFinish();
  ReportProgress(TcxExportPhase::Finish, 0, -1);
  FExportProvider->Finish();
}

void TcxGridCustomExport::Build() {
  FBuiltCells = false;
  FCellsWritten = 0;
  FPropertiesKinds.clear();
  FCurrencyItems.clear();
  try {
    BeforeBuild();
    CollectRecords();
    RegisterBaseStyle();
    LayOut();
    ReportProgress(TcxExportPhase::LayOut, RecordCount(), RecordCount());
    FColumnScale.Arrange();
    FRowScale.Arrange();
    if (FColumnScale.IntervalCount() > 0 && FRowScale.IntervalCount() > 0) {
      FExportProvider->DefineGrid(FColumnScale.IntervalCount(), FRowScale.IntervalCount(), false);
      FBuiltCells = true;
      WriteCells();
      ReportProgress(TcxExportPhase::WriteCells, FCellsWritten, -1);
    }
  } catch (...) {
    AfterBuild();
    throw;
  }
  AfterBuild();
}

std::unique_ptr<TcxCustomGridTableViewInfo> TcxGridCustomExport::CreateDetailViewInfo(TcxCustomGridView* AView,
                                                                                      const TRect& ABounds) {
  auto* view = dynamic_cast<TcxCustomGridTableView*>(AView);
  if (!view) return nullptr;
  std::unique_ptr<TcxCustomGridTableViewInfo> info = view->CreateViewInfo();
  if (info) info->Calculate(0, ABounds);
  return info;
}

void TcxGridCustomExport::BeforeBuild() {
  TcxCustomDataController* controller = DataController();
  FGridModeWasOn = controller && controller->IsGridMode();
  if (FGridModeWasOn) {
    if (auto* db = dynamic_cast<TcxDBDataController*>(controller)) {
      db->SaveDataSetPos();
      db->DataModeController()->SetGridMode(false);
    }
  }
  FColumnScale.AddBoundary(0);
  FRowScale.AddBoundary(0);
}

void TcxGridCustomExport::AfterBuild() {
  if (!FGridModeWasOn) return;
  FGridModeWasOn = false;
  if (auto* db = dynamic_cast<TcxDBDataController*>(DataController())) {
    db->DataModeController()->SetGridMode(true);
    db->RestoreDataSetPos();
  }
}

void TcxGridCustomExport::CollectRecords() {
  auto* view = dynamic_cast<TcxCustomGridTableView*>(FView);
  if (!view) return;
  FAllRecords = FAllRecords || !ViewHasSelection(FView);
  TGridUpdateLock lock(FGridControl);
  TcxGridViewData* data = view->ViewData();
  // Row indexes first: expanding a row inserts rows after it and makes the
  // view data drop its record objects, so the objects are fetched at the end.
  std::vector<int> indexes;
  for (int i = 0; i < data->RecordCount();) {
    TcxCustomGridRecord* record = data->Records(i);
    ++i;
    if (FAllRecords || IsRecordMarked(record)) {
      int index = record->Index();
      if (FExpandRecords) record->SetExpanded(true);
      indexes.push_back(index);
    }
  }
  FExportRecords.clear();
  FExportRecords.reserve(indexes.size());
  for (int index : indexes) FExportRecords.push_back(data->Records(index));
}

bool TcxGridCustomExport::ViewHasSelection(TcxCustomGridView* AView) const {
  auto* view = dynamic_cast<TcxCustomGridTableView*>(AView);
  if (!view) return false;
  if (view->Controller()->SelectedRecordCount() > 0) return true;
  TcxGridViewData* data = view->ViewData();
  for (int i = 0; i < data->RecordCount(); ++i)
    if (IsRecordMarked(data->Records(i))) return true;
  return false;
}

bool TcxGridCustomExport::IsRecordMarked(TcxCustomGridRecord* ARecord) const {
  if (ARecord->Selected()) return true;
  if (!ARecord->Expanded()) return false;
  auto* master = dynamic_cast<TcxGridMasterDataRow*>(ARecord);
  if (!master) return false;
  TcxCustomGridView* detail = master->ActiveDetailGridView();
  return detail && ViewHasSelection(detail);
}

void TcxGridCustomExport::RegisterBaseStyle() {
  auto* view = dynamic_cast<TcxCustomGridTableView*>(FView);
  if (!view) return;
  TcxViewParams params;
  view->Styles()->GetViewParams(TcxCustomGridTableViewStyles::vsBackground, nullptr, nullptr, params);
  FBaseStyle = StyleFromParams(params, clDefault, 0, taLeftJustify);
  FExportProvider->DefineDefaultStyle(FBaseStyle);
  FBaseStyleIndex = FExportProvider->AddStyle(FBaseStyle);
}

void TcxGridCustomExport::WriteCells() {
  for (int i = 0; i < FColumnScale.IntervalCount(); ++i)
    FExportProvider->DefineColumnWidth(i, FColumnScale.IntervalSize(i));
  for (int i = 0; i < FRowScale.IntervalCount(); ++i) {
    int height = FRowScale.IntervalSize(i);
    if (height != FBaseRowHeight) FExportProvider->DefineRowHeight(i, height);
  }
  FillCells({0, 0, FColumnScale.IntervalCount(), FRowScale.IntervalCount()}, FBaseStyleIndex, cxBorderSidesAll,
            clDefault);
}

TcxCustomDataController* TcxGridCustomExport::DataController() const {
  return FView ? FView->DataController() : nullptr;
}

TcxCustomGridTableViewInfo* TcxGridCustomExport::LayoutInfo() {
  if (!FLayoutInfo) {
    if (auto* view = dynamic_cast<TcxCustomGridTableView*>(FView)) FLayoutInfo = view->ViewInfo();
  }
  return FLayoutInfo;
}

}  // namespace kv
