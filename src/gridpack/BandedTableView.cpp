// Banded table views: bands, their positions and styles, banded columns and
// their positions, the view's band options and style slots.
#include "gridpack/BandedTableView.h"

#include <algorithm>
#include <climits>

#include "gridpack/BandedTableViewInfo.h"
#include "gridpack/DataController.h"
#include "platform/Exceptions.h"

namespace kv {

namespace {

template <class T>
void EraseValue(std::vector<T*>& AList, const T* AValue) {
  auto it = std::find(AList.begin(), AList.end(), AValue);
  if (it != AList.end()) AList.erase(it);
}

template <class T>
int IndexIn(const std::vector<T*>& AList, const T* AValue) {
  auto it = std::find(AList.begin(), AList.end(), AValue);
  return it == AList.end() ? -1 : static_cast<int>(it - AList.begin());
}

// Inserts at AIndex, clamped to the list (a value beyond the last: last).
template <class T>
void InsertClamped(std::vector<T*>& AList, T* AValue, int AIndex) {
  size_t at = std::min(static_cast<size_t>(std::max(AIndex, 0)), AList.size());
  AList.insert(AList.begin() + static_cast<std::ptrdiff_t>(at), AValue);
}

}  // namespace

// --- TcxGridBandPosition -------------------------------------------------------------

TcxGridBand* TcxGridBandPosition::Band() const { return FBand->FParent; }

void TcxGridBandPosition::SetBand(TcxGridBand* AParent) {
  if (AParent == FBand->FParent) return;
  if (AParent && (AParent->FView != FBand->FView || FBand->Contains(AParent)))
    throw EInvalidOperation("A band cannot be placed inside itself or in another view");
  EraseValue(FBand->Siblings(), FBand);
  FBand->FParent = AParent;
  FBand->Siblings().push_back(FBand);
  // A band holds child bands or columns: the columns of the new parent move
  // into the band placed in it (or, when that one holds child bands, into
  // its first band at the bottom), row by row after its own.
  if (AParent && !AParent->FRows.empty()) {
    TcxGridBand* target = FBand;
    while (!target->FChildBands.empty()) target = target->FChildBands.front();
    std::vector<std::vector<TcxGridBandedColumn*>> rows = std::move(AParent->FRows);
    AParent->FRows.clear();
    for (auto& row : rows) {
      for (TcxGridBandedColumn* column : row) column->Position().FBand = target;
      target->FRows.push_back(std::move(row));
    }
    target->Renumber();
  }
}

int TcxGridBandPosition::BandIndex() const {
  return FBand->FParent ? FBand->FView->Bands()->IndexOf(FBand->FParent) : -1;
}

void TcxGridBandPosition::SetBandIndex(int AValue) {
  SetBand(AValue < 0 ? nullptr : FBand->FView->Bands()->Items(AValue));
}

int TcxGridBandPosition::ColIndex() const { return IndexIn(FBand->Siblings(), FBand); }

void TcxGridBandPosition::SetColIndex(int AValue) {
  std::vector<TcxGridBand*>& siblings = FBand->Siblings();
  EraseValue(siblings, FBand);
  InsertClamped(siblings, FBand, AValue);
}

// --- TcxGridBand ---------------------------------------------------------------------

TcxGridBand::TcxGridBand(TcxGridBandedTableView* AView)
    : FView(AView), FStyles(std::make_unique<TcxGridBandStyles>(this)) {}

TcxGridBand::~TcxGridBand() = default;

int TcxGridBand::Index() const { return FView->Bands()->IndexOf(this); }

TcxGridBandFixedKind TcxGridBand::FixedKind() const { return RootBand()->FFixedKind; }

TcxGridBand* TcxGridBand::RootBand() const {
  const TcxGridBand* band = this;
  while (band->FParent) band = band->FParent;
  return const_cast<TcxGridBand*>(band);
}

bool TcxGridBand::ActuallyVisible() const {
  for (const TcxGridBand* band = this; band; band = band->FParent)
    if (!band->FVisible) return false;
  return true;
}

bool TcxGridBand::Contains(const TcxGridBand* AOther) const {
  for (const TcxGridBand* band = AOther; band; band = band->FParent)
    if (band == this) return true;
  return false;
}

TcxGridBand* TcxGridBand::ChildBands(int AIndex) const {
  if (AIndex < 0 || AIndex >= ChildBandCount()) RaiseListIndexError(AIndex);
  return FChildBands[static_cast<size_t>(AIndex)];
}

int TcxGridBand::ColumnCount() const {
  size_t count = 0;
  for (const auto& row : FRows) count += row.size();
  return static_cast<int>(count);
}

TcxGridBandedColumn* TcxGridBand::Columns(int AIndex) const {
  if (AIndex >= 0)
    for (const auto& row : FRows) {
      if (static_cast<size_t>(AIndex) < row.size()) return row[static_cast<size_t>(AIndex)];
      AIndex -= static_cast<int>(row.size());
    }
  RaiseListIndexError(AIndex);
}

int TcxGridBand::LineCount() const {
  int lines = 0;
  bool hasChildren = false;
  for (const TcxGridBand* child : FChildBands)
    if (child->FVisible) {
      hasChildren = true;
      lines = std::max(lines, child->LineCount());
    }
  if (!hasChildren)
    for (const auto& row : FRows) {
      int rowLines = 0;
      for (const TcxGridBandedColumn* column : row)
        if (column->Visible()) rowLines = std::max(rowLines, column->Position().LineCount());
      lines += rowLines;
    }
  return std::max(lines, 1);
}

std::vector<TcxGridBand*>& TcxGridBand::Siblings() const {
  return FParent ? FParent->FChildBands : FView->Bands()->FRootBands;
}

void TcxGridBand::RemoveColumn(TcxGridBandedColumn* AColumn) {
  for (size_t r = 0; r < FRows.size(); ++r) {
    auto& row = FRows[r];
    auto it = std::find(row.begin(), row.end(), AColumn);
    if (it == row.end()) continue;
    row.erase(it);
    if (row.empty()) FRows.erase(FRows.begin() + static_cast<std::ptrdiff_t>(r));
    break;
  }
  Renumber();
}

void TcxGridBand::InsertColumn(TcxGridBandedColumn* AColumn, int ARowIndex, int AColIndex) {
  size_t row = std::min(static_cast<size_t>(std::max(ARowIndex, 0)), FRows.size());
  if (row == FRows.size()) FRows.emplace_back();
  InsertClamped(FRows[row], AColumn, AColIndex);
  Renumber();
}

void TcxGridBand::Renumber() {
  for (size_t r = 0; r < FRows.size(); ++r)
    for (size_t c = 0; c < FRows[r].size(); ++c) {
      TcxGridBandedColumnPosition& position = FRows[r][c]->Position();
      position.FRowIndex = static_cast<int>(r);
      position.FColIndex = static_cast<int>(c);
    }
}

// --- TcxGridBands --------------------------------------------------------------------

TcxGridBands::~TcxGridBands() = default;

TcxGridBand* TcxGridBands::Add() {
  FItems.push_back(std::unique_ptr<TcxGridBand>(new TcxGridBand(FView)));
  TcxGridBand* band = FItems.back().get();
  FRootBands.push_back(band);
  return band;
}

int TcxGridBands::IndexOf(const TcxGridBand* ABand) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == ABand) return static_cast<int>(i);
  return -1;
}

TcxGridBand* TcxGridBands::Items(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) RaiseListIndexError(AIndex);
  return FItems[static_cast<size_t>(AIndex)].get();
}

void TcxGridBands::Delete(int AIndex) {
  TcxGridBand* band = Items(AIndex);
  // The child bands take the band's place among its siblings.
  std::vector<TcxGridBand*>& siblings = band->Siblings();
  auto at = siblings.begin() + IndexIn(siblings, band);
  at = siblings.erase(at);
  for (TcxGridBand* child : band->FChildBands) child->FParent = band->FParent;
  siblings.insert(at, band->FChildBands.begin(), band->FChildBands.end());
  band->FChildBands.clear();
  // The columns stay out of any band, keeping their row and place numbers.
  for (auto& row : band->FRows)
    for (TcxGridBandedColumn* column : row) column->Position().FBand = nullptr;
  band->FRows.clear();
  FItems.erase(FItems.begin() + AIndex);
}

void TcxGridBands::Clear() {
  while (!FItems.empty()) Delete(Count() - 1);
}

namespace {

// Root bands in display order: left-fixed, scrolling, right-fixed.
std::vector<TcxGridBand*> OrderedRootBands(const std::vector<TcxGridBand*>& ARootBands) {
  std::vector<TcxGridBand*> ordered;
  ordered.reserve(ARootBands.size());
  for (TcxGridBandFixedKind kind : {fkLeft, fkNone, fkRight})
    for (TcxGridBand* band : ARootBands)
      if (band->FixedKind() == kind) ordered.push_back(band);
  return ordered;
}

}  // namespace

int TcxGridBands::RootBandCount() const { return static_cast<int>(FRootBands.size()); }

TcxGridBand* TcxGridBands::RootBands(int AIndex) const {
  if (AIndex < 0 || AIndex >= RootBandCount()) RaiseListIndexError(AIndex);
  return OrderedRootBands(FRootBands)[static_cast<size_t>(AIndex)];
}

int TcxGridBands::LineCount() const {
  int lines = 0;
  for (const TcxGridBand* band : FRootBands)
    if (band->Visible()) lines = std::max(lines, band->LineCount());
  return lines;
}

// --- TcxGridBandedColumnPosition -----------------------------------------------------------

TcxGridBand* TcxGridBandedColumnPosition::Band() const { return FBand; }

void TcxGridBandedColumnPosition::SetBand(TcxGridBand* ABand) {
  if (ABand == FBand) return;
  if (ABand && ABand->GridView() != FColumn->GridView())
    throw EInvalidOperation("A column can only be placed in a band of its own view");
  if (ABand && !ABand->FChildBands.empty()) throw EInvalidOperation("A band that holds child bands holds no columns");
  if (FBand) FBand->RemoveColumn(FColumn);
  FBand = ABand;
  if (FBand) FBand->InsertColumn(FColumn, FRowIndex, INT_MAX);
}

int TcxGridBandedColumnPosition::BandIndex() const { return FBand ? FColumn->GridView()->Bands()->IndexOf(FBand) : -1; }

void TcxGridBandedColumnPosition::SetBandIndex(int AValue) {
  SetBand(AValue < 0 ? nullptr : FColumn->GridView()->Bands()->Items(AValue));
}

void TcxGridBandedColumnPosition::SetColIndex(int AValue) {
  if (!FBand) {
    FColIndex = std::max(AValue, 0);
    return;
  }
  int row = FRowIndex;
  auto& cells = FBand->FRows[static_cast<size_t>(row)];
  EraseValue(cells, FColumn);
  InsertClamped(cells, FColumn, AValue);
  FBand->Renumber();
}

void TcxGridBandedColumnPosition::SetRowIndex(int AValue) {
  AValue = std::max(AValue, 0);
  if (!FBand) {
    FRowIndex = AValue;
    return;
  }
  if (AValue == FRowIndex) return;
  FBand->RemoveColumn(FColumn);
  FBand->InsertColumn(FColumn, AValue, INT_MAX);
}

// --- TcxGridBandedColumn ---------------------------------------------------------------------

TcxGridBandedTableView* TcxGridBandedColumn::GridView() const {
  return static_cast<TcxGridBandedTableView*>(TcxGridColumn::GridView());
}

void TcxGridBandedColumn::Assign(const TcxCustomGridTableItem& ASource) {
  TcxGridColumn::Assign(ASource);
  // The band is placed by the view's Assign (bands belong to views); the
  // numbers that do not depend on it are copied here.
  if (auto* source = dynamic_cast<const TcxGridBandedColumn*>(&ASource)) {
    FPosition.FLineCount = source->FPosition.FLineCount;
    if (!FPosition.FBand) {
      FPosition.FRowIndex = source->FPosition.FRowIndex;
      FPosition.FColIndex = source->FPosition.FColIndex;
    }
  }
}

// --- TcxGridBandedTableViewStyles ----------------------------------------------------------------

TcxGridBandedTableViewStyles::TcxGridBandedTableViewStyles(TcxGridBandedTableView* AView)
    : TcxGridTableViewStyles(AView, vsBandedLast + 1) {}

TcxGridBandedTableView* TcxGridBandedTableViewStyles::GridView() const {
  return static_cast<TcxGridBandedTableView*>(TcxGridTableViewStyles::GridView());
}

void TcxGridBandedTableViewStyles::GetDefaultViewParams(int AIndex, TcxViewParams& AParams) const {
  TcxGridTableViewStyles::GetDefaultViewParams(AIndex, AParams);
  if (AIndex == vsBandBackground || AIndex == vsBandHeader) {
    AParams.Color = clBtnFace;
    AParams.TextColor = clBtnText;
  }
}

void TcxGridBandedTableViewStyles::GetBandHeaderParams(TcxGridBand* ABand, TcxViewParams& AParams) const {
  TcxStyle* bandEvent = nullptr;
  TcxStyle* viewEvent = nullptr;
  if (ABand && ABand->Styles()->OnGetHeaderStyle) ABand->Styles()->OnGetHeaderStyle(GridView(), ABand, bandEvent);
  if (OnGetBandHeaderStyle) OnGetBandHeaderStyle(GridView(), ABand, viewEvent);
  TcxViewParams defaults;
  GetDefaultViewParams(vsBandHeader, defaults);
  ResolveViewParams({bandEvent, ABand ? ABand->Styles()->Header() : nullptr, viewEvent, BandHeader()}, defaults.Color,
                    defaults.TextColor, defaults.Font, AParams);
}

void TcxGridBandedTableViewStyles::GetBandBackgroundParams(TcxGridBand* ABand, TcxViewParams& AParams) const {
  TcxViewParams defaults;
  GetDefaultViewParams(vsBandBackground, defaults);
  ResolveViewParams({ABand ? ABand->Styles()->Background() : nullptr, BandBackground()}, defaults.Color,
                    defaults.TextColor, defaults.Font, AParams);
}

void TcxGridBandedTableViewStyles::GetBandContentParams(TcxCustomGridRecord* ARecord, TcxGridBand* ABand,
                                                        TcxViewParams& AParams) const {
  // The record's content chain outside the items gives what the band's
  // Content style leaves open.
  TcxViewParams content;
  GetContentParams(ARecord, nullptr, content);
  const TcxStyle* own = ABand ? ABand->Styles()->Content() : nullptr;
  ResolveViewParams({own}, content.Color, content.TextColor, content.Font, AParams);
  if (!AParams.Bitmap) AParams.Bitmap = content.Bitmap;
}

void TcxGridBandedTableViewStyles::Assign(const TcxCustomGridTableViewStyles& ASource) {
  TcxGridTableViewStyles::Assign(ASource);
  if (auto* source = dynamic_cast<const TcxGridBandedTableViewStyles*>(&ASource))
    OnGetBandHeaderStyle = source->OnGetBandHeaderStyle;
}

// --- TcxGridBandedTableView ------------------------------------------------------------------------

TcxGridBandedTableView::TcxGridBandedTableView(TComponent* AOwner)
    : TcxGridBandedTableView(AOwner, std::make_unique<TcxGridDataController>()) {}

TcxGridBandedTableView::TcxGridBandedTableView(TComponent* AOwner,
                                               std::unique_ptr<TcxCustomDataController> ADataController)
    : TcxGridTableView(AOwner, std::move(ADataController), std::make_unique<TcxGridBandedTableOptionsView>()),
      OptionsView(static_cast<TcxGridBandedTableOptionsView&>(TcxGridTableView::OptionsView)),
      FBands(std::make_unique<TcxGridBands>(this)) {
  SetStyles(std::make_unique<TcxGridBandedTableViewStyles>(this));
}

TcxGridBandedTableView::~TcxGridBandedTableView() {
  // Records and detail copies refer to the columns; they go before the bands.
  DataController()->DropDetails();
  FBands.reset();
}

std::unique_ptr<TcxGridColumn> TcxGridBandedTableView::NewColumn() {
  return std::unique_ptr<TcxGridColumn>(new TcxGridBandedColumn(this));
}

std::unique_ptr<TcxCustomGridView> TcxGridBandedTableView::NewInstance() const {
  return std::make_unique<TcxGridBandedTableView>();
}

TcxGridBandedColumn* TcxGridBandedTableView::Columns(int AIndex) const {
  return static_cast<TcxGridBandedColumn*>(TcxGridTableView::Columns(AIndex));
}

TcxGridBandedColumn* TcxGridBandedTableView::CreateColumn() {
  return static_cast<TcxGridBandedColumn*>(TcxGridTableView::CreateColumn());
}

TcxGridBandedColumn* TcxGridBandedTableView::VisibleColumns(int AIndex) const {
  return static_cast<TcxGridBandedColumn*>(VisibleItems(AIndex));
}

TcxGridBandedTableViewStyles* TcxGridBandedTableView::Styles() const {
  return static_cast<TcxGridBandedTableViewStyles*>(TcxGridTableView::Styles());
}

namespace {

void CollectVisibleColumns(const TcxGridBand* ABand, std::vector<TcxGridBandedColumn*>& AColumns) {
  if (!ABand->Visible()) return;
  bool hasChildren = false;
  for (int i = 0; i < ABand->ChildBandCount(); ++i) {
    hasChildren = true;
    CollectVisibleColumns(ABand->ChildBands(i), AColumns);
  }
  if (hasChildren) return;
  for (int i = 0; i < ABand->ColumnCount(); ++i)
    if (TcxGridBandedColumn* column = ABand->Columns(i); column->Visible()) AColumns.push_back(column);
}

}  // namespace

std::vector<TcxGridBandedColumn*> TcxGridBandedTableView::GetVisibleColumns() const {
  std::vector<TcxGridBandedColumn*> columns;
  if (!FBands) return columns;
  for (TcxGridBand* band : OrderedRootBands(FBands->FRootBands)) CollectVisibleColumns(band, columns);
  return columns;
}

int TcxGridBandedTableView::VisibleItemCount() const { return static_cast<int>(GetVisibleColumns().size()); }

TcxCustomGridTableItem* TcxGridBandedTableView::VisibleItems(int AIndex) const {
  std::vector<TcxGridBandedColumn*> columns = GetVisibleColumns();
  if (AIndex < 0 || static_cast<size_t>(AIndex) >= columns.size()) RaiseListIndexError(AIndex);
  return columns[static_cast<size_t>(AIndex)];
}

int TcxGridBandedTableView::VisibleIndexOf(const TcxCustomGridTableItem* AItem) const {
  auto* column = dynamic_cast<const TcxGridBandedColumn*>(AItem);
  if (!column || !column->Visible() || !column->Position().Band() || !column->Position().Band()->ActuallyVisible())
    return -1;
  std::vector<TcxGridBandedColumn*> columns = GetVisibleColumns();
  return IndexIn(columns, column);
}

void TcxGridBandedTableView::ItemRemoving(TcxCustomGridTableItem* AItem) {
  auto* column = static_cast<TcxGridBandedColumn*>(AItem);
  if (TcxGridBand* band = column->Position().Band()) band->RemoveColumn(column);
  column->Position().FBand = nullptr;
  TcxGridTableView::ItemRemoving(AItem);
}

TcxGridBandedTableViewInfo* TcxGridBandedTableView::ViewInfo() const {
  return static_cast<TcxGridBandedTableViewInfo*>(TcxCustomGridTableView::ViewInfo());
}

std::unique_ptr<TcxCustomGridTableViewInfo> TcxGridBandedTableView::CreateViewInfo() const {
  return std::make_unique<TcxGridBandedTableViewInfo>(this);
}

void TcxGridBandedTableView::Assign(const TcxCustomGridTableView& ASource) {
  if (&ASource == this) return;
  FBands->Clear();
  TcxGridTableView::Assign(ASource);
  auto* source = dynamic_cast<const TcxGridBandedTableView*>(&ASource);
  if (!source) return;
  OptionsView = source->OptionsView;
  // Bands in index order, then their places in the tree, then the columns
  // row by row, so that every order is the source's.
  const TcxGridBands& from = *source->Bands();
  for (int i = 0; i < from.Count(); ++i) {
    const TcxGridBand* band = from.Items(i);
    TcxGridBand* copy = FBands->Add();
    copy->FCaption = band->FCaption;
    copy->HeaderAlignmentHorz = band->HeaderAlignmentHorz;
    copy->FVisible = band->FVisible;
    copy->FFixedKind = band->FFixedKind;
    copy->FWidth = band->FWidth;
    copy->FStyles->AssignSlots(*band->FStyles);
    copy->FStyles->OnGetHeaderStyle = band->FStyles->OnGetHeaderStyle;
  }
  auto map = [&](const TcxGridBand* ABand) { return ABand ? FBands->Items(from.IndexOf(ABand)) : nullptr; };
  FBands->FRootBands.clear();
  for (const TcxGridBand* root : from.FRootBands) FBands->FRootBands.push_back(map(root));
  for (int i = 0; i < from.Count(); ++i) {
    const TcxGridBand* band = from.Items(i);
    TcxGridBand* copy = FBands->Items(i);
    copy->FParent = map(band->FParent);
    for (const TcxGridBand* child : band->FChildBands) copy->FChildBands.push_back(map(child));
    for (const auto& row : band->FRows) {
      std::vector<TcxGridBandedColumn*> cells;
      for (const TcxGridBandedColumn* column : row) {
        TcxGridBandedColumn* target = Columns(column->Index());
        target->FPosition.FBand = copy;
        cells.push_back(target);
      }
      copy->FRows.push_back(std::move(cells));
    }
    copy->Renumber();
  }
}

}  // namespace kv
