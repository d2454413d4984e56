// Data-bound banded table views.
#include "gridpack/DBBandedTableView.h"

namespace kv {

TcxGridDBBandedColumn::TcxGridDBBandedColumn(TcxGridTableView* AGridView) : TcxGridBandedColumn(AGridView) {
  SetDataBinding(std::make_unique<TcxGridItemDBDataBinding>(this));
}

TcxGridItemDBDataBinding* TcxGridDBBandedColumn::DataBinding() const {
  return static_cast<TcxGridItemDBDataBinding*>(TcxGridColumn::DataBinding());
}

std::string TcxGridDBBandedColumn::ValueDisplayText(const Variant& AValue) const {
  return DBItemValueDisplayText(*this, AValue);
}

TcxGridDBBandedTableView::TcxGridDBBandedTableView(TComponent* AOwner)
    : TcxGridBandedTableView(AOwner, std::make_unique<TcxGridDBDataController>()) {}

TcxGridDBDataController* TcxGridDBBandedTableView::DataController() const {
  return static_cast<TcxGridDBDataController*>(TcxGridBandedTableView::DataController());
}

std::unique_ptr<TcxGridColumn> TcxGridDBBandedTableView::NewColumn() {
  return std::unique_ptr<TcxGridColumn>(new TcxGridDBBandedColumn(this));
}

std::unique_ptr<TcxCustomGridView> TcxGridDBBandedTableView::NewInstance() const {
  return std::make_unique<TcxGridDBBandedTableView>();
}

TcxGridDBBandedColumn* TcxGridDBBandedTableView::Columns(int AIndex) const {
  return static_cast<TcxGridDBBandedColumn*>(TcxGridTableView::Columns(AIndex));
}

TcxGridDBBandedColumn* TcxGridDBBandedTableView::CreateColumn() {
  return static_cast<TcxGridDBBandedColumn*>(TcxGridTableView::CreateColumn());
}

TcxGridDBBandedColumn* TcxGridDBBandedTableView::GetColumnByFieldName(const std::string& AFieldName) const {
  int index = IndexOfColumnByFieldName(*this, AFieldName);
  return index < 0 ? nullptr : Columns(index);
}

}  // namespace kv
