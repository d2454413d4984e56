// Layout objects of banded table views.
#include "gridpack/BandedTableViewInfo.h"

#include "gridpack/BandedTableView.h"

namespace kv {

TcxGridBandedTableViewInfo::TcxGridBandedTableViewInfo(const TcxGridBandedTableView* AView)
    : TcxGridTableViewInfo(AView) {}

const TcxGridBandedTableView* TcxGridBandedTableViewInfo::GridView() const {
  return static_cast<const TcxGridBandedTableView*>(TcxGridTableViewInfo::GridView());
}

}  // namespace kv
