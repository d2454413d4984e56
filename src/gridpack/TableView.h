// Table views and their columns.
//
// `TcxGridTableView` holds columns in index order (the order of its column
// collection; the order on screen is the order of the visible ones).  A
// column has a caption, a width, a visibility and a data binding that says
// where its values come from; data-bound views give their columns a binding
// to a dataset field (DBTableView.h).  Columns belong to their view and are
// freed with it.  Subclasses choose the column class through `NewColumn`.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gridpack/GridView.h"

namespace kv {

class TcxGridTableView;
class TcxGridColumn;

// Where a column's values come from.  The base binding reads nothing; the
// data-bound binding reads a dataset field.
class TcxGridItemDataBinding {
 public:
  explicit TcxGridItemDataBinding(TcxGridColumn* AItem) : FItem(AItem) {}
  virtual ~TcxGridItemDataBinding() = default;
  TcxGridColumn* Item() const { return FItem; }
  // The caption a column shows when none was set.
  virtual std::string DefaultCaption() const { return std::string(); }

 private:
  TcxGridColumn* FItem;
};

class TcxGridColumn : public TComponent {
 public:
  ~TcxGridColumn() override;

  TcxGridTableView* GridView() const { return FGridView; }
  // Position in the view's column collection, from 0; setting moves the column.
  int Index() const;
  void SetIndex(int AIndex);

  bool Visible() const { return FVisible; }
  void SetVisible(bool AValue) { FVisible = AValue; }
  // The caption set, or the binding's default (a field's display name).
  std::string Caption() const;
  void SetCaption(const std::string& AValue);
  int Width() const { return FWidth; }
  void SetWidth(int AValue) { FWidth = AValue < 0 ? 0 : AValue; }

  TcxGridItemDataBinding* DataBinding() const { return FDataBinding.get(); }

 protected:
  // Columns are made by their view (TcxGridTableView::CreateColumn); the
  // subclass passes its binding.
  explicit TcxGridColumn(TcxGridTableView* AGridView);
  void SetDataBinding(std::unique_ptr<TcxGridItemDataBinding> ABinding) { FDataBinding = std::move(ABinding); }

 private:
  friend class TcxGridTableView;
  TcxGridTableView* FGridView;
  bool FVisible = true;
  bool FCaptionAssigned = false;
  std::string FCaption;
  int FWidth = 64;
  std::unique_ptr<TcxGridItemDataBinding> FDataBinding;
};

class TcxGridTableView : public TcxCustomGridView {
 public:
  explicit TcxGridTableView(TComponent* AOwner = nullptr);
  ~TcxGridTableView() override;

  int ColumnCount() const { return static_cast<int>(FColumns.size()); }
  // The column at an index of the collection (list-index error when out of range).
  TcxGridColumn* Columns(int AIndex) const;
  // Adds a column of the view's column class at the end.
  TcxGridColumn* CreateColumn();
  // Frees the column at AIndex; the following ones move up.
  void DeleteColumn(int AIndex);
  void ClearColumns();

  // The visible columns in the order they are shown.
  int VisibleColumnCount() const;
  TcxGridColumn* VisibleColumns(int AIndex) const;  // list-index error when out of range

 protected:
  TcxGridTableView(TComponent* AOwner, std::unique_ptr<TcxCustomDataController> ADataController);
  // The column class of this view.
  virtual std::unique_ptr<TcxGridColumn> NewColumn();

 private:
  friend class TcxGridColumn;
  std::vector<std::unique_ptr<TcxGridColumn>> FColumns;
};

}  // namespace kv
