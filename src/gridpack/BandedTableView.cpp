// Banded table views.
#include "gridpack/BandedTableView.h"

#include "gridpack/DataController.h"

namespace kv {

TcxGridBandedTableView* TcxGridBandedColumn::GridView() const {
  return static_cast<TcxGridBandedTableView*>(TcxGridColumn::GridView());
}

TcxGridBandedTableView::TcxGridBandedTableView(TComponent* AOwner)
    : TcxGridTableView(AOwner, std::make_unique<TcxGridDataController>()) {}

TcxGridBandedTableView::TcxGridBandedTableView(TComponent* AOwner,
                                               std::unique_ptr<TcxCustomDataController> ADataController)
    : TcxGridTableView(AOwner, std::move(ADataController)) {}

std::unique_ptr<TcxGridColumn> TcxGridBandedTableView::NewColumn() {
  return std::unique_ptr<TcxGridColumn>(new TcxGridBandedColumn(this));
}

std::unique_ptr<TcxCustomGridView> TcxGridBandedTableView::NewInstance() const {
  return std::make_unique<TcxGridBandedTableView>();
}

TcxGridBandedColumn* TcxGridBandedTableView::Columns(int AIndex) const {
  return static_cast<TcxGridBandedColumn*>(TcxGridTableView::Columns(AIndex));
}

TcxGridBandedColumn* TcxGridBandedTableView::CreateColumn() {
  return static_cast<TcxGridBandedColumn*>(TcxGridTableView::CreateColumn());
}

}  // namespace kv
