// Data controllers and the data-bound controller's link to its dataset.
#include "gridpack/DataController.h"

namespace kv {

TcxGridDBDataController::TcxGridDBDataController() : FLink(this) {}

TcxGridDBDataController::~TcxGridDBDataController() = default;

void TcxGridDBDataController::SetDataSource(TDataSource* ADataSource) {
  if (FLink.DataSource() == ADataSource) return;
  FLink.SetDataSource(ADataSource);
  DataChanged();
}

TDataSet* TcxGridDBDataController::DataSet() const {
  TDataSource* source = FLink.DataSource();
  return source ? source->DataSet() : nullptr;
}

int TcxGridDBDataController::RecordCount() const {
  TDataSet* dataSet = DataSet();
  return dataSet && dataSet->Active() ? dataSet->RecordCount() : 0;
}

}  // namespace kv
