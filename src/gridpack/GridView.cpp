// The base of grid views: attachment to a level and the data controller.
#include "gridpack/GridView.h"

#include "gridpack/DataController.h"
#include "gridpack/Grid.h"

namespace kv {

TcxCustomGridView::TcxCustomGridView(TComponent* AOwner, std::unique_ptr<TcxCustomDataController> ADataController)
    : TComponent(AOwner), FDataController(std::move(ADataController)) {
  FDataController->FGridView = this;
}

TcxCustomGridView::~TcxCustomGridView() {
  if (FLevel) FLevel->SetGridView(nullptr);
}

TcxGrid* TcxCustomGridView::Control() const { return FLevel ? FLevel->Control() : nullptr; }

bool TcxCustomGridView::IsMaster() const { return FLevel && FLevel->IsMaster(); }

}  // namespace kv
