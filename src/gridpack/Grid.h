// The grid control and its levels.
//
// A `TcxGrid` is a component (owned by its form) holding a tree of levels.
// The top levels are the grid's tabs; each level can hold detail levels.  A
// level names the view that shows its data; views are components of the form
// (GridView.h), not of the grid, so a level only points at its view and the
// two forget each other when either is freed.  The active level is one of the
// top levels (the first one unless chosen); the focused view is the view the
// user works in: the one chosen (a detail view of a master row, for
// example), else the active level's view.  The grid has a font (the default
// of its views' styles), a look and feel, a client size (what its views are
// laid out in) and an update lock that stops repainting while it is held.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gridpack/LookAndFeel.h"
#include "platform/Components.h"
#include "platform/Fonts.h"

namespace kv {

class TcxGrid;
class TcxCustomGridView;

class TcxGridLevel : public TComponent {
 public:
  ~TcxGridLevel() override;

  TcxGrid* Control() const { return FGrid; }
  // The level this one is a detail of; nullptr for top levels.
  TcxGridLevel* Parent() const { return FParent && FParent->FParent ? FParent : nullptr; }
  // Detail levels, in order.
  int Count() const { return static_cast<int>(FItems.size()); }
  TcxGridLevel* Items(int AIndex) const;  // list-index error when out of range
  // Adds a detail level at the end.
  TcxGridLevel* Add();
  bool IsMaster() const { return !FItems.empty(); }
  // Position among the parent's levels, from 0.
  int Index() const;

  TcxCustomGridView* GridView() const { return FGridView; }
  // Attaches a view (taking it from the level it was on) or, with nullptr,
  // detaches the current one.
  void SetGridView(TcxCustomGridView* AView);

  std::string Caption;
  bool Visible = true;

  // Gives the detail view of a master record (of the master view, by record
  // index) for this detail level: a view the host keeps alive as long as the
  // master view's records.  When unset or when it gives nullptr, the master
  // row shows a copy of this level's view.
  std::function<TcxCustomGridView*(TcxGridLevel* Sender, TcxCustomGridView* AMasterView, int AMasterRecordIndex)>
      OnGetDetailView;

 private:
  friend class TcxGrid;
  friend class TcxCustomGridView;
  TcxGridLevel(TcxGrid* AGrid, TcxGridLevel* AParent) : FGrid(AGrid), FParent(AParent) {}

  TcxGrid* FGrid;
  TcxGridLevel* FParent;  // the grid's hidden root level for top levels
  std::vector<std::unique_ptr<TcxGridLevel>> FItems;
  TcxCustomGridView* FGridView = nullptr;
};

class TcxGrid : public TComponent {
 public:
  explicit TcxGrid(TComponent* AOwner = nullptr);
  ~TcxGrid() override;

  // The top levels: Levels()->Count(), Levels()->Items(i), Levels()->Add().
  TcxGridLevel* Levels() const { return FRoot.get(); }

  // The active top level: the one chosen with SetActiveLevel, else the first;
  // nullptr when the grid has no levels.
  TcxGridLevel* ActiveLevel() const;
  // Only a top level of this grid can be made active (others are ignored).
  void SetActiveLevel(TcxGridLevel* ALevel);
  // The view chosen with SetFocusedView when it is still attached to this
  // grid, else the view of the active level; nullptr when there is none.
  TcxCustomGridView* FocusedView() const;
  // Chooses the focused view (a view of one of this grid's levels, or a
  // detail view of one; others are ignored); nullptr returns to the default.
  void SetFocusedView(TcxCustomGridView* AView);

  // The update lock: nested; EndUpdate without BeginUpdate does nothing.
  void BeginUpdate() { ++FLockCount; }
  void EndUpdate();
  bool IsUpdateLocked() const { return FLockCount > 0; }
  int UpdateLockCount() const { return FLockCount; }

  TFont Font;
  TcxLookAndFeel LookAndFeel;
  // Client size in pixels: the top level's view is laid out in it.
  int Width = 800;
  int Height = 600;

 private:
  friend class TcxGridLevel;
  friend class TcxCustomGridView;
  std::unique_ptr<TcxGridLevel> FRoot;
  TcxGridLevel* FActiveLevel = nullptr;
  TcxCustomGridView* FFocusedView = nullptr;
  int FLockCount = 0;
};

}  // namespace kv
