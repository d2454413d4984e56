// Layout objects of banded table views.
#pragma once

#include "gridpack/TableViewInfo.h"

namespace kv {

class TcxGridBandedTableView;

class TcxGridBandedTableViewInfo : public TcxGridTableViewInfo {
 public:
  explicit TcxGridBandedTableViewInfo(const TcxGridBandedTableView* AView);
  const TcxGridBandedTableView* GridView() const;
};

}  // namespace kv
