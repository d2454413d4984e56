// Table views, their columns, options, preview and styles.
#include "gridpack/TableView.h"

#include <algorithm>

#include "gridpack/DataController.h"
#include "gridpack/GridRecords.h"
#include "gridpack/TableViewInfo.h"
#include "platform/Exceptions.h"

namespace kv {

// --- Column styles -------------------------------------------------------------------

TcxGridColumnStyles::TcxGridColumnStyles(TcxGridColumn* AColumn)
    : TcxCustomGridTableItemStyles(AColumn, isColumnLast + 1) {}

TcxGridColumn* TcxGridColumnStyles::Column() const { return static_cast<TcxGridColumn*>(Item()); }

// --- TcxGridColumn ---------------------------------------------------------------------

TcxGridColumn::TcxGridColumn(TcxGridTableView* AGridView) : TcxCustomGridTableItem(AGridView) {
  SetStyles(std::make_unique<TcxGridColumnStyles>(this));
}

TcxGridColumn::~TcxGridColumn() = default;

TcxGridTableView* TcxGridColumn::GridView() const {
  return static_cast<TcxGridTableView*>(TcxCustomGridTableItem::GridView());
}

TcxGridColumnStyles* TcxGridColumn::Styles() const {
  return static_cast<TcxGridColumnStyles*>(TcxCustomGridTableItem::Styles());
}

void TcxGridColumn::SetGroupIndex(int AValue) {
  TcxGridTableView* view = GridView();
  std::vector<TcxGridColumn*> grouped;
  for (int i = 0; i < view->GroupedColumnCount(); ++i)
    if (view->GroupedColumns(i) != this) grouped.push_back(view->GroupedColumns(i));
  if (AValue >= 0)
    grouped.insert(grouped.begin() + std::min<size_t>(static_cast<size_t>(AValue), grouped.size()), this);
  FGroupIndex = -1;
  for (size_t i = 0; i < grouped.size(); ++i) grouped[i]->FGroupIndex = static_cast<int>(i);
  view->DataController()->StructureChanged();
}

bool TcxGridColumn::CompareValuesForCellMerging(TcxCustomGridRecord* ARow1, TcxCustomEditProperties* AProperties1,
                                                const Variant& AValue1, TcxCustomGridRecord* ARow2,
                                                TcxCustomEditProperties* AProperties2, const Variant& AValue2) const {
  bool equal = AProperties1 == AProperties2 && AProperties1 && AProperties1->IsValueEqual(AValue1, AValue2);
  auto* self = const_cast<TcxGridColumn*>(this);
  if (OnCompareValuesForCellMerging)
    OnCompareValuesForCellMerging(self, AProperties1, AValue1, AProperties2, AValue2, equal);
  if (OnCompareRowValuesForCellMerging)
    OnCompareRowValuesForCellMerging(self, ARow1, AProperties1, AValue1, ARow2, AProperties2, AValue2, equal);
  return equal;
}

void TcxGridColumn::Assign(const TcxCustomGridTableItem& ASource) {
  TcxCustomGridTableItem::Assign(ASource);
  auto* source = dynamic_cast<const TcxGridColumn*>(&ASource);
  if (!source) return;
  FWidth = source->FWidth;
  FGroupIndex = source->FGroupIndex;
  HeaderAlignmentHorz = source->HeaderAlignmentHorz;
  FooterAlignmentHorz = source->FooterAlignmentHorz;
  Options = source->Options;
  OnCompareValuesForCellMerging = source->OnCompareValuesForCellMerging;
  OnCompareRowValuesForCellMerging = source->OnCompareRowValuesForCellMerging;
  TcxGridColumnStyles* styles = Styles();
  const TcxGridColumnStyles* from = source->Styles();
  styles->OnGetFooterStyle = from->OnGetFooterStyle;
  styles->OnGetGroupSummaryStyle = from->OnGetGroupSummaryStyle;
  styles->OnGetHeaderStyle = from->OnGetHeaderStyle;
}

// --- Preview ---------------------------------------------------------------------------

void TcxGridPreview::SetColumn(TcxGridColumn* AColumn) {
  if (AColumn == nullptr || AColumn->GridView() == FView) FColumn = AColumn;
}

// --- TcxGridTableViewStyles -----------------------------------------------------------------

TcxGridTableViewStyles::TcxGridTableViewStyles(TcxGridTableView* AView, int ASlotCount)
    : TcxCustomGridTableViewStyles(AView, ASlotCount) {}

TcxGridTableView* TcxGridTableViewStyles::GridView() const {
  return static_cast<TcxGridTableView*>(TcxCustomGridTableViewStyles::GridView());
}

void TcxGridTableViewStyles::GetDefaultViewParams(int AIndex, TcxViewParams& AParams) const {
  TcxCustomGridTableViewStyles::GetDefaultViewParams(AIndex, AParams);
  switch (AIndex) {
    case vsFooter:
    case vsGroup:
    case vsGroupFooterSortedSummary:
    case vsGroupSortedSummary:
    case vsGroupSummary:
    case vsHeader:
    case vsIndicator:
      AParams.Color = clBtnFace;
      AParams.TextColor = clBtnText;
      break;
    case vsGroupByBox:
      AParams.Color = clBtnShadow;
      AParams.TextColor = clBtnFace;
      break;
    case vsNewItemRowInfoText:
      AParams.TextColor = clGrayText;
      break;
    case vsPreview:
      AParams.TextColor = clBlue;
      break;
    default:
      break;
  }
}

namespace {

// Resolves a chain over the defaults of a slot.
void ResolveSlot(const TcxGridTableViewStyles& AStyles, int ASlot, const std::vector<const TcxStyle*>& AChain,
                 TcxViewParams& AParams) {
  TcxViewParams defaults;
  AStyles.GetDefaultViewParams(ASlot, defaults);
  ResolveViewParams(AChain, defaults.Color, defaults.TextColor, defaults.Font, AParams);
}

}  // namespace

void TcxGridTableViewStyles::GetViewParams(int AIndex, TcxCustomGridRecord* ARecord, TcxCustomGridTableItem* AItem,
                                           TcxViewParams& AParams) const {
  auto* column = dynamic_cast<TcxGridColumn*>(AItem);
  auto* row = dynamic_cast<TcxCustomGridRow*>(ARecord);
  switch (AIndex) {
    case vsHeader:
      GetHeaderParams(column, AParams);
      return;
    case vsFooter:
      GetFooterParams(row, column, -1, AParams);
      return;
    case vsGroup:
      GetGroupParams(ARecord, ARecord ? ARecord->Level() : 0, AParams);
      return;
    case vsGroupSummary:
      GetGroupSummaryParams(row, column, nullptr, AParams);
      return;
    case vsPreview:
      GetPreviewParams(ARecord, AItem, AParams);
      return;
    default:
      TcxCustomGridTableViewStyles::GetViewParams(AIndex, ARecord, AItem, AParams);
  }
}

void TcxGridTableViewStyles::GetHeaderParams(TcxGridColumn* AColumn, TcxViewParams& AParams) const {
  TcxStyle* columnEvent = nullptr;
  TcxStyle* viewEvent = nullptr;
  if (AColumn && AColumn->Styles()->OnGetHeaderStyle)
    AColumn->Styles()->OnGetHeaderStyle(GridView(), AColumn, columnEvent);
  if (OnGetHeaderStyle) OnGetHeaderStyle(GridView(), AColumn, viewEvent);
  ResolveSlot(*this, vsHeader, {columnEvent, AColumn ? AColumn->Styles()->Header() : nullptr, viewEvent, Header()},
              AParams);
}

void TcxGridTableViewStyles::GetFooterParams(TcxCustomGridRow* ARow, TcxGridColumn* AColumn, int AFooterGroupLevel,
                                             TcxViewParams& AParams) const {
  TcxStyle* columnEvent = nullptr;
  TcxStyle* viewEvent = nullptr;
  if (AColumn && AColumn->Styles()->OnGetFooterStyle)
    AColumn->Styles()->OnGetFooterStyle(GridView(), ARow, AColumn, AFooterGroupLevel, columnEvent);
  if (OnGetFooterStyle) OnGetFooterStyle(GridView(), ARow, AColumn, AFooterGroupLevel, viewEvent);
  ResolveSlot(*this, vsFooter, {columnEvent, AColumn ? AColumn->Styles()->Footer() : nullptr, viewEvent, Footer()},
              AParams);
}

void TcxGridTableViewStyles::GetFooterCellParams(TcxCustomGridRow* ARow, TcxGridColumn* AColumn, int AFooterGroupLevel,
                                                 TcxDataSummaryItem* ASummaryItem, TcxViewParams& AParams) const {
  if (!(ARow && ASummaryItem && ASummaryItem->Sorted)) {
    GetFooterParams(ARow, AColumn, AFooterGroupLevel, AParams);
    return;
  }
  TcxStyle* columnEvent = nullptr;
  TcxStyle* viewEvent = nullptr;
  if (AColumn && AColumn->Styles()->OnGetFooterStyle)
    AColumn->Styles()->OnGetFooterStyle(GridView(), ARow, AColumn, AFooterGroupLevel, columnEvent);
  if (OnGetFooterStyle) OnGetFooterStyle(GridView(), ARow, AColumn, AFooterGroupLevel, viewEvent);
  ResolveSlot(
      *this, vsGroupFooterSortedSummary,
      {GroupFooterSortedSummary(), columnEvent, AColumn ? AColumn->Styles()->Footer() : nullptr, viewEvent, Footer()},
      AParams);
}

void TcxGridTableViewStyles::GetGroupParams(TcxCustomGridRecord* ARecord, int ALevel, TcxViewParams& AParams) const {
  TcxStyle* viewEvent = nullptr;
  if (OnGetGroupStyle) OnGetGroupStyle(GridView(), ARecord, ALevel, viewEvent);
  ResolveSlot(*this, vsGroup, {viewEvent, Group()}, AParams);
}

void TcxGridTableViewStyles::GetGroupSummaryParams(TcxCustomGridRow* ARow, TcxGridColumn* AColumn,
                                                   TcxDataSummaryItem* ASummaryItem, TcxViewParams& AParams) const {
  TcxStyle* columnEvent = nullptr;
  TcxStyle* viewEvent = nullptr;
  TcxStyle* groupEvent = nullptr;
  if (AColumn && AColumn->Styles()->OnGetGroupSummaryStyle)
    AColumn->Styles()->OnGetGroupSummaryStyle(GridView(), ARow, AColumn, ASummaryItem, columnEvent);
  if (OnGetGroupSummaryStyle) OnGetGroupSummaryStyle(GridView(), ARow, AColumn, ASummaryItem, viewEvent);
  if (OnGetGroupStyle) OnGetGroupStyle(GridView(), ARow, ARow ? ARow->Level() : 0, groupEvent);
  bool sorted = ASummaryItem && ASummaryItem->Sorted;
  ResolveSlot(*this, vsGroupSummary,
              {columnEvent, AColumn ? AColumn->Styles()->GroupSummary() : nullptr, viewEvent,
               sorted ? GroupSortedSummary() : nullptr, GroupSummary(), groupEvent, Group()},
              AParams);
}

void TcxGridTableViewStyles::GetPreviewParams(TcxCustomGridRecord* ARecord, TcxCustomGridTableItem* AItem,
                                              TcxViewParams& AParams) const {
  TcxStyle* previewEvent = nullptr;
  if (OnGetPreviewStyle) OnGetPreviewStyle(GridView(), ARecord, AItem, previewEvent);
  TcxStyle* itemEvent = nullptr;
  TcxStyle* itemSlot = nullptr;
  if (AItem && AItem->Styles()) {
    if (AItem->Styles()->OnGetContentStyle) AItem->Styles()->OnGetContentStyle(GridView(), ARecord, AItem, itemEvent);
    itemSlot = AItem->Styles()->Content();
  }
  TcxStyle* contentEvent = nullptr;
  if (OnGetContentStyle) OnGetContentStyle(GridView(), ARecord, AItem, contentEvent);
  TcxStyle* parity = ARecord ? (ARecord->Index() % 2 == 0 ? ContentEven() : ContentOdd()) : nullptr;
  ResolveSlot(*this, vsPreview, {previewEvent, Preview(), itemEvent, itemSlot, contentEvent, parity, Content()},
              AParams);
}

void TcxGridTableViewStyles::Assign(const TcxCustomGridTableViewStyles& ASource) {
  TcxCustomGridTableViewStyles::Assign(ASource);
  auto* source = dynamic_cast<const TcxGridTableViewStyles*>(&ASource);
  if (!source) return;
  OnGetFooterStyle = source->OnGetFooterStyle;
  OnGetGroupStyle = source->OnGetGroupStyle;
  OnGetGroupSummaryStyle = source->OnGetGroupSummaryStyle;
  OnGetHeaderStyle = source->OnGetHeaderStyle;
  OnGetPreviewStyle = source->OnGetPreviewStyle;
}

TcxGridTableViewStyleSheet::TcxGridTableViewStyleSheet(TComponent* AOwner)
    : TcxCustomStyleSheet(AOwner, std::make_unique<TcxGridTableViewStyles>(nullptr)) {}

TcxGridTableViewStyles* TcxGridTableViewStyleSheet::Styles() const {
  return static_cast<TcxGridTableViewStyles*>(TcxCustomStyleSheet::Styles());
}

// --- TcxGridTableView ---------------------------------------------------------------------------

TcxGridTableView::TcxGridTableView(TComponent* AOwner)
    : TcxGridTableView(AOwner, std::make_unique<TcxGridDataController>()) {}

TcxGridTableView::TcxGridTableView(TComponent* AOwner, std::unique_ptr<TcxCustomDataController> ADataController,
                                   std::unique_ptr<TcxGridTableOptionsView> AOptionsView)
    : TcxCustomGridTableView(AOwner, std::move(ADataController)),
      FOptionsView(AOptionsView ? std::move(AOptionsView) : std::make_unique<TcxGridTableOptionsView>()),
      OptionsView(*FOptionsView),
      FStyles(std::make_unique<TcxGridTableViewStyles>(this)) {}

TcxGridTableView::~TcxGridTableView() = default;

std::unique_ptr<TcxGridColumn> TcxGridTableView::NewColumn() {
  return std::unique_ptr<TcxGridColumn>(new TcxGridColumn(this));
}

std::unique_ptr<TcxCustomGridTableItem> TcxGridTableView::NewItem() { return NewColumn(); }

std::unique_ptr<TcxCustomGridView> TcxGridTableView::NewInstance() const {
  return std::make_unique<TcxGridTableView>();
}

TcxGridColumn* TcxGridTableView::Columns(int AIndex) const { return static_cast<TcxGridColumn*>(Items(AIndex)); }

TcxGridColumn* TcxGridTableView::CreateColumn() { return static_cast<TcxGridColumn*>(CreateItem()); }

TcxGridColumn* TcxGridTableView::VisibleColumns(int AIndex) const {
  return static_cast<TcxGridColumn*>(VisibleItems(AIndex));
}

int TcxGridTableView::GroupedColumnCount() const {
  int count = 0;
  for (int i = 0; i < ColumnCount(); ++i)
    if (Columns(i)->GroupIndex() >= 0) ++count;
  return count;
}

TcxGridColumn* TcxGridTableView::GroupedColumns(int AIndex) const {
  for (int i = 0; i < ColumnCount(); ++i)
    if (Columns(i)->GroupIndex() == AIndex) return Columns(i);
  RaiseListIndexError(AIndex);
}

std::vector<TcxCustomGridTableItem*> TcxGridTableView::GetGroupingItems() const {
  std::vector<TcxCustomGridTableItem*> items;
  for (int i = 0; i < GroupedColumnCount(); ++i) items.push_back(GroupedColumns(i));
  return items;
}

void TcxGridTableView::ItemRemoving(TcxCustomGridTableItem* AItem) {
  auto* column = static_cast<TcxGridColumn*>(AItem);
  if (FPreview.FColumn == column) FPreview.FColumn = nullptr;
  if (column->GroupIndex() >= 0) column->SetGroupIndex(-1);
  TcxCustomGridTableView::ItemRemoving(AItem);
}

TcxGridTableViewInfo* TcxGridTableView::ViewInfo() const {
  return static_cast<TcxGridTableViewInfo*>(TcxCustomGridTableView::ViewInfo());
}

std::unique_ptr<TcxCustomGridTableViewInfo> TcxGridTableView::CreateViewInfo() const {
  return std::make_unique<TcxGridTableViewInfo>(this);
}

void TcxGridTableView::Assign(const TcxCustomGridTableView& ASource) {
  if (&ASource == this) return;
  TcxCustomGridTableView::Assign(ASource);
  auto* source = dynamic_cast<const TcxGridTableView*>(&ASource);
  if (!source) return;
  OptionsView = source->OptionsView;
  FPreview.Visible = source->FPreview.Visible;
  FPreview.Place = source->FPreview.Place;
  FPreview.MaxLineCount = source->FPreview.MaxLineCount;
  FPreview.AutoHeight = source->FPreview.AutoHeight;
  FPreview.LeftIndent = source->FPreview.LeftIndent;
  FPreview.FColumn = source->FPreview.FColumn ? Columns(source->FPreview.FColumn->Index()) : nullptr;
  FStyles->Assign(*source->FStyles);
}

}  // namespace kv
