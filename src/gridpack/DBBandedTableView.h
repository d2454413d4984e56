// Data-bound banded table views: the view kind the host application uses for
// its grids.  Columns are banded columns bound to dataset fields.
#pragma once

#include "gridpack/BandedTableView.h"
#include "gridpack/DBTableView.h"

namespace kv {

class TcxGridDBBandedColumn : public TcxGridBandedColumn {
 public:
  TcxGridItemDBDataBinding* DataBinding() const;
  std::string ValueDisplayText(const Variant& AValue) const override;

 protected:
  friend class TcxGridDBBandedTableView;
  explicit TcxGridDBBandedColumn(TcxGridTableView* AGridView);
};

class TcxGridDBBandedTableView : public TcxGridBandedTableView {
 public:
  explicit TcxGridDBBandedTableView(TComponent* AOwner = nullptr);

  TcxGridDBDataController* DataController() const;
  TcxGridDBBandedColumn* Columns(int AIndex) const;
  TcxGridDBBandedColumn* CreateColumn();
  // The first column bound to the field named AFieldName; nullptr when none.
  TcxGridDBBandedColumn* GetColumnByFieldName(const std::string& AFieldName) const;

 protected:
  std::unique_ptr<TcxGridColumn> NewColumn() override;
  std::unique_ptr<TcxCustomGridView> NewInstance() const override;
};

}  // namespace kv
