// The grid control and its level tree.
#include "gridpack/Grid.h"

#include <algorithm>

#include "gridpack/DataController.h"
#include "gridpack/GridView.h"
#include "platform/Exceptions.h"

namespace kv {

TcxGridLevel::~TcxGridLevel() {
  // The copies of this level's view that master rows show go with it, and so
  // do the copies of the detail levels below (with the master view's rows).
  if (FParent && FParent->FGridView) FParent->FGridView->DataController()->DropDetails();
  SetGridView(nullptr);
  if (FGrid && FGrid->FActiveLevel == this) FGrid->FActiveLevel = nullptr;
}

TcxGridLevel* TcxGridLevel::Items(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) RaiseListIndexError(AIndex);
  return FItems[static_cast<size_t>(AIndex)].get();
}

TcxGridLevel* TcxGridLevel::Add() {
  FItems.push_back(std::unique_ptr<TcxGridLevel>(new TcxGridLevel(FGrid, this)));
  return FItems.back().get();
}

int TcxGridLevel::Index() const {
  if (!FParent) return -1;
  const auto& siblings = FParent->FItems;
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this) return static_cast<int>(i);
  return -1;
}

void TcxGridLevel::SetGridView(TcxCustomGridView* AView) {
  if (FGridView == AView) return;
  // The master rows above show copies of this level's view: they go.
  if (FParent && FParent->FGridView) FParent->FGridView->DataController()->DropDetails();
  if (FGridView) {
    // The view leaves the grid: its master rows' details and the focus go.
    FGridView->DataController()->DropDetails();
    if (FGrid && FGrid->FFocusedView == FGridView) FGrid->FFocusedView = nullptr;
    FGridView->FLevel = nullptr;
  }
  FGridView = nullptr;
  if (AView) {
    if (AView->FLevel) AView->FLevel->FGridView = nullptr;
    AView->FLevel = this;
    FGridView = AView;
  }
}

TcxGrid::TcxGrid(TComponent* AOwner) : TComponent(AOwner), FRoot(new TcxGridLevel(this, nullptr)) {}

TcxGrid::~TcxGrid() {
  // Levels go before the grid's other members; they detach their views.
  FActiveLevel = nullptr;
  FFocusedView = nullptr;
  FRoot.reset();
}

TcxGridLevel* TcxGrid::ActiveLevel() const {
  if (FActiveLevel) return FActiveLevel;
  return FRoot->Count() > 0 ? FRoot->Items(0) : nullptr;
}

void TcxGrid::SetActiveLevel(TcxGridLevel* ALevel) {
  if (ALevel == nullptr || (ALevel->FGrid == this && ALevel->FParent == FRoot.get())) FActiveLevel = ALevel;
}

TcxCustomGridView* TcxGrid::FocusedView() const {
  if (FFocusedView) return FFocusedView;
  TcxGridLevel* level = ActiveLevel();
  return level ? level->GridView() : nullptr;
}

void TcxGrid::SetFocusedView(TcxCustomGridView* AView) {
  if (AView == nullptr || AView->Control() == this) FFocusedView = AView;
}

void TcxGrid::EndUpdate() {
  if (FLockCount > 0) --FLockCount;
}

}  // namespace kv
