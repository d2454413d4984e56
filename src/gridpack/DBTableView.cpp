// Data-bound table views and field bindings.
#include "gridpack/DBTableView.h"

#include <typeinfo>

#include "platform/DBFields.h"
#include "platform/Files.h"
#include "platform/SysUtils.h"

namespace kv {

TField* TcxGridItemDBDataBinding::Field() const {
  if (FieldName.empty()) return nullptr;
  TcxCustomGridTableView* view = Item()->GridView();
  TcxCustomDataController* data = view ? view->DataController() : nullptr;
  if (data != FCachedController) {
    FCachedController = data;
    FCachedDBController = dynamic_cast<TcxDBDataController*>(data);
  }
  TDataSet* dataSet = FCachedDBController ? FCachedDBController->DataSet() : nullptr;
  if (!dataSet) return nullptr;
  // Every cell of a column asks for its field: remember where it was.
  if (FCachedDataSet == dataSet && FCachedIndex >= 0 && FCachedIndex < dataSet->FieldCount()) {
    TField* field = dataSet->Fields(FCachedIndex);
    if (SameTextAscii(field->FieldName, FieldName)) return field;
  }
  TField* field = dataSet->FindField(FieldName);
  FCachedDataSet = dataSet;
  FCachedIndex = field ? field->Index() : -1;
  return field;
}

std::string TcxGridItemDBDataBinding::DefaultCaption() const {
  TField* field = Field();
  return field ? field->DisplayName() : FieldName;
}

const TcxValueType* TcxGridItemDBDataBinding::ValueTypeClass() const {
  TField* field = Field();
  return field ? ValueTypeOfFieldType(field->DataType()) : TcxGridItemDataBinding::ValueTypeClass();
}

std::unique_ptr<TcxCustomEditProperties> TcxGridItemDBDataBinding::DefaultProperties() const {
  TField* field = Field();
  if (!field) return TcxGridItemDataBinding::DefaultProperties();
  std::unique_ptr<TcxCustomEditProperties> properties;
  bool currency = false;
  if (auto* f = dynamic_cast<TFloatField*>(field)) currency = f->Currency;
  if (auto* f = dynamic_cast<TBCDField*>(field)) currency = f->Currency;
  if (auto* f = dynamic_cast<TFMTBCDField*>(field)) currency = f->Currency;
  switch (field->DataType()) {
    case ftBoolean:
      return std::make_unique<TcxCheckBoxProperties>();
    case ftGraphic:
      return std::make_unique<TcxImageProperties>();
    case ftDate:
      properties = std::make_unique<TcxDateEditProperties>();
      break;
    case ftDateTime:
    case ftTimeStamp: {
      auto date = std::make_unique<TcxDateEditProperties>();
      date->Kind = ckDateTime;
      properties = std::move(date);
      break;
    }
    case ftTime:
      properties = std::make_unique<TcxTimeEditProperties>();
      break;
    default:
      if (currency)
        properties = std::make_unique<TcxCurrencyEditProperties>();
      else
        properties = std::make_unique<TcxTextEditProperties>();
      break;
  }
  properties->Alignment.Horz = field->Alignment;
  return properties;
}

void TcxGridItemDBDataBinding::Assign(const TcxGridItemDataBinding& ASource) {
  TcxGridItemDataBinding::Assign(ASource);
  if (auto* source = dynamic_cast<const TcxGridItemDBDataBinding*>(&ASource)) FieldName = source->FieldName;
}

TcxGridItemDBDataBinding* DBDataBindingOf(const TcxCustomGridTableItem* AColumn) {
  TcxGridItemDataBinding* binding = AColumn ? AColumn->DataBinding() : nullptr;
  if (!binding) return nullptr;
  // Asked for every cell of an export: the exact class is recognised without
  // the cost of a cast; descendants and other bindings take the cast.
  if (typeid(*binding) == typeid(TcxGridItemDBDataBinding)) return static_cast<TcxGridItemDBDataBinding*>(binding);
  return dynamic_cast<TcxGridItemDBDataBinding*>(binding);
}

int IndexOfColumnByFieldName(const TcxGridTableView& AView, const std::string& AFieldName) {
  for (int i = 0; i < AView.ColumnCount(); ++i) {
    TcxGridItemDBDataBinding* binding = DBDataBindingOf(AView.Columns(i));
    if (binding && SameTextAscii(binding->FieldName, AFieldName)) return i;
  }
  return -1;
}

std::string DBItemValueDisplayText(const TcxCustomGridTableItem& AItem, const Variant& AValue) {
  TcxGridItemDBDataBinding* binding = DBDataBindingOf(&AItem);
  TField* field = binding ? binding->Field() : nullptr;
  if (field && !AValue.IsEmptyOrNull()) {
    try {
      if (auto* number = dynamic_cast<TNumericField*>(field); number && !number->DisplayFormat.empty())
        return FormatFloat(number->DisplayFormat, AValue.AsDouble());
      if (auto* date = dynamic_cast<TDateTimeField*>(field); date && !date->DisplayFormat.empty())
        return FormatDateTime(date->DisplayFormat, AValue.AsDateTime());
    } catch (const EVariantError&) {
      // Not a number or date after all: the editor shows it.
    }
  }
  return AItem.GetProperties()->GetDisplayText(AValue);
}

TcxGridDBColumn::TcxGridDBColumn(TcxGridTableView* AGridView) : TcxGridColumn(AGridView) {
  SetDataBinding(std::make_unique<TcxGridItemDBDataBinding>(this));
}

TcxGridItemDBDataBinding* TcxGridDBColumn::DataBinding() const {
  return static_cast<TcxGridItemDBDataBinding*>(TcxGridColumn::DataBinding());
}

std::string TcxGridDBColumn::ValueDisplayText(const Variant& AValue) const {
  return DBItemValueDisplayText(*this, AValue);
}

TcxGridDBTableView::TcxGridDBTableView(TComponent* AOwner)
    : TcxGridTableView(AOwner, std::make_unique<TcxGridDBDataController>()) {}

TcxGridDBDataController* TcxGridDBTableView::DataController() const {
  return static_cast<TcxGridDBDataController*>(TcxGridTableView::DataController());
}

std::unique_ptr<TcxGridColumn> TcxGridDBTableView::NewColumn() {
  return std::unique_ptr<TcxGridColumn>(new TcxGridDBColumn(this));
}

std::unique_ptr<TcxCustomGridView> TcxGridDBTableView::NewInstance() const {
  return std::make_unique<TcxGridDBTableView>();
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
