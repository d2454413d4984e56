// Banded table views: table views whose columns sit in bands (column groups
// with headers of their own).  Bands and column positions within them build
// on these classes.
#pragma once

#include "gridpack/TableView.h"

namespace kv {

class TcxGridBandedTableView;

class TcxGridBandedColumn : public TcxGridColumn {
 public:
  TcxGridBandedTableView* GridView() const;

 protected:
  friend class TcxGridBandedTableView;
  explicit TcxGridBandedColumn(TcxGridTableView* AGridView) : TcxGridColumn(AGridView) {}
};

class TcxGridBandedTableView : public TcxGridTableView {
 public:
  explicit TcxGridBandedTableView(TComponent* AOwner = nullptr);

  TcxGridBandedColumn* Columns(int AIndex) const;
  TcxGridBandedColumn* CreateColumn();

 protected:
  TcxGridBandedTableView(TComponent* AOwner, std::unique_ptr<TcxCustomDataController> ADataController);
  std::unique_ptr<TcxGridColumn> NewColumn() override;
  std::unique_ptr<TcxCustomGridView> NewInstance() const override;
};

}  // namespace kv
