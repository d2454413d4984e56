// The base of grid views: attachment to a level, the data controller, clones.
#include "gridpack/GridView.h"

#include "gridpack/DataController.h"
#include "gridpack/Grid.h"

namespace kv {

TcxCustomGridView::TcxCustomGridView(TComponent* AOwner, std::unique_ptr<TcxCustomDataController> ADataController)
    : TComponent(AOwner), FDataController(std::move(ADataController)) {
  FDataController->FGridView = this;
}

TcxCustomGridView::~TcxCustomGridView() {
  // Detail copies of this view's master rows go first: they refer to it.
  FDataController->DropDetails();
  if (TcxGrid* grid = Control(); grid && grid->FFocusedView == this) grid->FFocusedView = nullptr;
  if (FLevel && FLevel->GridView() == this) FLevel->SetGridView(nullptr);
}

TcxGrid* TcxCustomGridView::Control() const { return FLevel ? FLevel->Control() : nullptr; }

bool TcxCustomGridView::IsMaster() const { return FLevel && FLevel->IsMaster(); }

std::unique_ptr<TcxCustomGridView> TcxCustomGridView::CreateClone() const {
  std::unique_ptr<TcxCustomGridView> clone = NewInstance();
  if (clone) AssignTo(*clone);
  return clone;
}

}  // namespace kv
