// Data-bound table views and field bindings.
#include "gridpack/DBTableView.h"

#include "platform/Files.h"

namespace kv {

TField* TcxGridItemDBDataBinding::Field() const {
  if (FieldName.empty()) return nullptr;
  TcxGridTableView* view = Item()->GridView();
  auto* controller = view ? dynamic_cast<TcxGridDBDataController*>(view->DataController()) : nullptr;
  TDataSet* dataSet = controller ? controller->DataSet() : nullptr;
  return dataSet ? dataSet->FindField(FieldName) : nullptr;
}

std::string TcxGridItemDBDataBinding::DefaultCaption() const {
  TField* field = Field();
  return field ? field->DisplayName() : FieldName;
}

TcxGridItemDBDataBinding* DBDataBindingOf(const TcxGridColumn* AColumn) {
  return AColumn ? dynamic_cast<TcxGridItemDBDataBinding*>(AColumn->DataBinding()) : nullptr;
}

int IndexOfColumnByFieldName(const TcxGridTableView& AView, const std::string& AFieldName) {
  for (int i = 0; i < AView.ColumnCount(); ++i) {
    TcxGridItemDBDataBinding* binding = DBDataBindingOf(AView.Columns(i));
    if (binding && SameTextAscii(binding->FieldName, AFieldName)) return i;
  }
  return -1;
}

TcxGridDBColumn::TcxGridDBColumn(TcxGridTableView* AGridView) : TcxGridColumn(AGridView) {
  SetDataBinding(std::make_unique<TcxGridItemDBDataBinding>(this));
}

TcxGridItemDBDataBinding* TcxGridDBColumn::DataBinding() const {
  return static_cast<TcxGridItemDBDataBinding*>(TcxGridColumn::DataBinding());
}

TcxGridDBTableView::TcxGridDBTableView(TComponent* AOwner)
    : TcxGridTableView(AOwner, std::make_unique<TcxGridDBDataController>()) {}

TcxGridDBDataController* TcxGridDBTableView::DataController() const {
  return static_cast<TcxGridDBDataController*>(TcxGridTableView::DataController());
}

std::unique_ptr<TcxGridColumn> TcxGridDBTableView::NewColumn() {
  return std::unique_ptr<TcxGridColumn>(new TcxGridDBColumn(this));
}

TcxGridDBColumn* TcxGridDBTableView::Columns(int AIndex) const {
  return static_cast<TcxGridDBColumn*>(TcxGridTableView::Columns(AIndex));
}

TcxGridDBColumn* TcxGridDBTableView::CreateColumn() {
  return static_cast<TcxGridDBColumn*>(TcxGridTableView::CreateColumn());
}

TcxGridDBColumn* TcxGridDBTableView::GetColumnByFieldName(const std::string& AFieldName) const {
  int index = IndexOfColumnByFieldName(*this, AFieldName);
  return index < 0 ? nullptr : Columns(index);
}

}  // namespace kv
