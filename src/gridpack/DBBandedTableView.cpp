// Data-bound banded table views.
#include "gridpack/DBBandedTableView.h"

#include "platform/Files.h"

namespace kv {

TcxGridDBBandedColumn::TcxGridDBBandedColumn(TcxGridTableView* AGridView) : TcxGridBandedColumn(AGridView) {
  SetDataBinding(std::make_unique<TcxGridItemDBDataBinding>(this));
}

TcxGridItemDBDataBinding* TcxGridDBBandedColumn::DataBinding() const {
  return static_cast<TcxGridItemDBDataBinding*>(TcxGridColumn::DataBinding());
}

TcxGridDBBandedTableView::TcxGridDBBandedTableView(TComponent* AOwner)
    : TcxGridBandedTableView(AOwner, std::make_unique<TcxGridDBDataController>()) {}

TcxGridDBDataController* TcxGridDBBandedTableView::DataController() const {
  return static_cast<TcxGridDBDataController*>(TcxGridBandedTableView::DataController());
}

std::unique_ptr<TcxGridColumn> TcxGridDBBandedTableView::NewColumn() {
  return std::unique_ptr<TcxGridColumn>(new TcxGridDBBandedColumn(this));
}

TcxGridDBBandedColumn* TcxGridDBBandedTableView::Columns(int AIndex) const {
  return static_cast<TcxGridDBBandedColumn*>(TcxGridTableView::Columns(AIndex));
}

TcxGridDBBandedColumn* TcxGridDBBandedTableView::CreateColumn() {
  return static_cast<TcxGridDBBandedColumn*>(TcxGridTableView::CreateColumn());
}

TcxGridDBBandedColumn* TcxGridDBBandedTableView::GetColumnByFieldName(const std::string& AFieldName) const {
  for (int i = 0; i < ColumnCount(); ++i)
    if (SameTextAscii(Columns(i)->DataBinding()->FieldName, AFieldName)) return Columns(i);
  return nullptr;
}

}  // namespace kv
