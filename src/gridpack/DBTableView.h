// Data-bound table views: columns bound to dataset fields by name, and the
// view whose data controller reads a dataset through a data source.
#pragma once

#include <string>

#include "gridpack/DataController.h"
#include "gridpack/TableView.h"

namespace kv {

class TField;

// Binds a column to the field of the view's dataset named `FieldName`.
class TcxGridItemDBDataBinding : public TcxGridItemDataBinding {
 public:
  using TcxGridItemDataBinding::TcxGridItemDataBinding;
  std::string FieldName;
  // The bound field of the view's current dataset; nullptr when the column
  // names no field, the view has no dataset, or the dataset has no such field.
  TField* Field() const;
  // The field's display name, or the field name when the field is missing.
  std::string DefaultCaption() const override;
};

// The data-bound binding of a column of a data-bound view; nullptr for other
// columns.
TcxGridItemDBDataBinding* DBDataBindingOf(const TcxGridColumn* AColumn);

// The index of the first column of AView bound to the field named AFieldName
// (case of A to Z ignored); -1 when none is.
int IndexOfColumnByFieldName(const TcxGridTableView& AView, const std::string& AFieldName);

class TcxGridDBColumn : public TcxGridColumn {
 public:
  TcxGridItemDBDataBinding* DataBinding() const;

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
};

}  // namespace kv
