// The base of all grid views.
//
// A view is a component owned by the form; a grid level shows it.  It holds
// the data controller that connects it to its data (DataController.h); the
// kind of controller is chosen by the view class (plain or data-bound).
// Table views add columns (TableView.h); banded, card and chart views build
// on this class.
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

  // The level showing this view, and that level's grid; nullptr when the view
  // is not attached.
  TcxGridLevel* Level() const { return FLevel; }
  TcxGrid* Control() const;

  TcxCustomDataController* DataController() const { return FDataController.get(); }

  // A view is a master when its level has detail levels.
  bool IsMaster() const;

 protected:
  TcxCustomGridView(TComponent* AOwner, std::unique_ptr<TcxCustomDataController> ADataController);

 private:
  friend class TcxGridLevel;
  TcxGridLevel* FLevel = nullptr;
  std::unique_ptr<TcxCustomDataController> FDataController;
};

}  // namespace kv
