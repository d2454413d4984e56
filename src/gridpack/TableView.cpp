// Table views and their columns.
#include "gridpack/TableView.h"

#include <algorithm>

#include "gridpack/DataController.h"
#include "platform/Exceptions.h"

namespace kv {

TcxGridColumn::TcxGridColumn(TcxGridTableView* AGridView)
    : FGridView(AGridView), FDataBinding(std::make_unique<TcxGridItemDataBinding>(this)) {}

TcxGridColumn::~TcxGridColumn() = default;

int TcxGridColumn::Index() const {
  const auto& columns = FGridView->FColumns;
  for (size_t i = 0; i < columns.size(); ++i)
    if (columns[i].get() == this) return static_cast<int>(i);
  return -1;
}

void TcxGridColumn::SetIndex(int AIndex) {
  auto& columns = FGridView->FColumns;
  int from = Index();
  int to = std::clamp(AIndex, 0, static_cast<int>(columns.size()) - 1);
  if (from < 0 || from == to) return;
  std::unique_ptr<TcxGridColumn> self = std::move(columns[static_cast<size_t>(from)]);
  columns.erase(columns.begin() + from);
  columns.insert(columns.begin() + to, std::move(self));
}

std::string TcxGridColumn::Caption() const { return FCaptionAssigned ? FCaption : FDataBinding->DefaultCaption(); }

void TcxGridColumn::SetCaption(const std::string& AValue) {
  FCaption = AValue;
  FCaptionAssigned = true;
}

TcxGridTableView::TcxGridTableView(TComponent* AOwner)
    : TcxGridTableView(AOwner, std::make_unique<TcxGridDataController>()) {}

TcxGridTableView::TcxGridTableView(TComponent* AOwner, std::unique_ptr<TcxCustomDataController> ADataController)
    : TcxCustomGridView(AOwner, std::move(ADataController)) {}

TcxGridTableView::~TcxGridTableView() = default;

std::unique_ptr<TcxGridColumn> TcxGridTableView::NewColumn() {
  return std::unique_ptr<TcxGridColumn>(new TcxGridColumn(this));
}

TcxGridColumn* TcxGridTableView::Columns(int AIndex) const {
  if (AIndex < 0 || AIndex >= ColumnCount()) RaiseListIndexError(AIndex);
  return FColumns[static_cast<size_t>(AIndex)].get();
}

TcxGridColumn* TcxGridTableView::CreateColumn() {
  FColumns.push_back(NewColumn());
  return FColumns.back().get();
}

void TcxGridTableView::DeleteColumn(int AIndex) {
  if (AIndex < 0 || AIndex >= ColumnCount()) RaiseListIndexError(AIndex);
  FColumns.erase(FColumns.begin() + AIndex);
}

void TcxGridTableView::ClearColumns() { FColumns.clear(); }

int TcxGridTableView::VisibleColumnCount() const {
  return static_cast<int>(std::count_if(FColumns.begin(), FColumns.end(), [](const auto& c) { return c->Visible(); }));
}

TcxGridColumn* TcxGridTableView::VisibleColumns(int AIndex) const {
  int seen = 0;
  for (const auto& c : FColumns)
    if (c->Visible() && seen++ == AIndex) return c.get();
  RaiseListIndexError(AIndex);
}

}  // namespace kv
