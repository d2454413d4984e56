// Data-bound table views: columns bound to dataset fields by name, and the
// view whose data controller reads a dataset through a data source.
#pragma once

#include <string>

#include "gridpack/DataController.h"
#include "gridpack/TableView.h"

namespace kv {

class TField;
class TDataSet;

// Binds an item to the field of the view's dataset named `FieldName`.
class TcxGridItemDBDataBinding : public TcxGridItemDataBinding {
 public:
  using TcxGridItemDataBinding::TcxGridItemDataBinding;
  std::string FieldName;
  // The bound field of the view's current dataset; nullptr when the item
  // names no field, the view has no dataset, or the dataset has no such field.
  TField* Field() const;
  // The field's display name, or the field name when the field is missing.
  std::string DefaultCaption() const override;

  // The value type of the field's type (ValueTypes.h); the one set, or the
  // variant type, without a field.
  const TcxValueType* ValueTypeClass() const override;
  // By the field: Booleans check box; dates and date-times date edit (with
  // the time for date-times); times time edit; currency fields and float and
  // BCD fields marked Currency: currency edit; graphics: image; else a text
  // edit.  The alignment is the field's.
  std::unique_ptr<TcxCustomEditProperties> DefaultProperties() const override;
  void Assign(const TcxGridItemDataBinding& ASource) override;

 private:
  // Where the field was found last time (checked on every use: same dataset,
  // same field at that position, same name).
  mutable const TDataSet* FCachedDataSet = nullptr;
  mutable int FCachedIndex = -1;
  // The view's data controller and what it is as a dataset controller (a
  // view keeps its controller for life: it is looked at once, not per cell).
  mutable const TcxCustomDataController* FCachedController = nullptr;
  mutable TcxDBDataController* FCachedDBController = nullptr;
};

// The data-bound binding of a column of a data-bound view; nullptr for other
// columns.
TcxGridItemDBDataBinding* DBDataBindingOf(const TcxCustomGridTableItem* AColumn);

// The index of the first column of AView bound to the field named AFieldName
// (case of A to Z ignored); -1 when none is.
int IndexOfColumnByFieldName(const TcxGridTableView& AView, const std::string& AFieldName);

// The text a data-bound item shows for a value outside any record: the
// display format of a numeric or date-time field bound to it when it has one,
// else the item's editor text.
std::string DBItemValueDisplayText(const TcxCustomGridTableItem& AItem, const Variant& AValue);

class TcxGridDBColumn : public TcxGridColumn {
 public:
  TcxGridItemDBDataBinding* DataBinding() const;
  std::string ValueDisplayText(const Variant& AValue) const override;

 protected:
  friend class TcxGridDBTableView;
  explicit TcxGridDBColumn(TcxGridTableView* AGridView);
};

class TcxGridDBTableView : public TcxGridTableView {
 public:
  explicit TcxGridDBTableView(TComponent* AOwner = nullptr);

  TcxGridDBDataController* DataController() const;
  TcxGridDBColumn* Columns(int AIndex) const;
  TcxGridDBColumn* CreateColumn();
  // The first column bound to the field named AFieldName; nullptr when none.
  TcxGridDBColumn* GetColumnByFieldName(const std::string& AFieldName) const;

 protected:
  std::unique_ptr<TcxGridColumn> NewColumn() override;
  std::unique_ptr<TcxCustomGridView> NewInstance() const override;
};

}  // namespace kv
