// The base of all grid views.
//
// A view is a component owned by the form; a grid level shows it.  It holds
// the data controller that connects it to its data (DataController.h); the
// kind of controller is chosen by the view class (plain or data-bound).
// Table-kind views add items and records (CustomTableView.h); table, banded,
// card and chart views build on these classes.
//
// A detail view of a master row is a copy ("clone") of its detail level's
// view (the pattern), made by the master view's data controller and owned by
// it; a clone belongs to the detail level without being the level's view.
#pragma once

#include <memory>

#include "platform/Components.h"

namespace kv {

class TcxGrid;
class TcxGridLevel;
class TcxCustomDataController;

class TcxCustomGridView : public TComponent {
 public:
  ~TcxCustomGridView() override;

  // The level showing this view (for a clone: its pattern's level), and
  // that level's grid; nullptr when the view is not attached.
  TcxGridLevel* Level() const { return FLevel; }
  TcxGrid* Control() const;

  TcxCustomDataController* DataController() const { return FDataController.get(); }

  // A view is a master when its level has detail levels.
  bool IsMaster() const;

  // Clones: the level's view they were copied from, the master view and
  // record they belong to.  A view that is no clone is its own pattern.
  TcxCustomGridView* PatternGridView() const { return FPattern ? FPattern : const_cast<TcxCustomGridView*>(this); }
  bool IsPattern() const { return FPattern == nullptr; }
  TcxCustomGridView* MasterGridView() const { return FMasterView; }
  int MasterRecordIndex() const { return FMasterRecordIndex; }
  // Whether this view is shown inside a master row (a clone or a view a
  // host gave for a master row).
  bool IsDetail() const { return FMasterView != nullptr; }

  // A new view of the same class as this one, copied from it, not owned by
  // any component and not attached to a level; nullptr for view classes that
  // cannot be copied.
  std::unique_ptr<TcxCustomGridView> CreateClone() const;

 protected:
  TcxCustomGridView(TComponent* AOwner, std::unique_ptr<TcxCustomDataController> ADataController);
  // A new, empty view of this view's class (no owner); nullptr when the class
  // cannot be copied.
  virtual std::unique_ptr<TcxCustomGridView> NewInstance() const { return nullptr; }
  // Copies this view's settings into AClone (made by NewInstance).
  virtual void AssignTo(TcxCustomGridView& AClone) const { (void)AClone; }

 private:
  friend class TcxGridLevel;
  friend class TcxGrid;
  friend class TcxCustomDataController;
  TcxGridLevel* FLevel = nullptr;
  std::unique_ptr<TcxCustomDataController> FDataController;
  TcxCustomGridView* FPattern = nullptr;
  TcxCustomGridView* FMasterView = nullptr;
  int FMasterRecordIndex = -1;
};

}  // namespace kv
