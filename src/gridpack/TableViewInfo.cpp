// Layout objects of table-kind views (formulas in TableViewInfo.h and
// docs/text-metrics.md).
#include "gridpack/TableViewInfo.h"

#include <algorithm>
#include <map>

#include "gridpack/DataController.h"
#include "gridpack/TableView.h"
#include "platform/Exceptions.h"
#include "platform/TextMetrics.h"

namespace kv {

void TcxCustomGridTableViewInfo::Calculate(int AFirstRecordIndex, const TRect& ABounds) {
  FFirstRecordIndex = AFirstRecordIndex < 0 ? 0 : AFirstRecordIndex;
  FBounds = ABounds;
}

const TcxGridColumnHeaderViewInfo& TcxGridHeaderViewInfo::Items(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) RaiseListIndexError(AIndex);
  return FItems[static_cast<size_t>(AIndex)];
}

TcxGridTableViewInfo::TcxGridTableViewInfo(const TcxGridTableView* AView) : TcxCustomGridTableViewInfo(AView) {}

const TcxGridTableView* TcxGridTableViewInfo::GridView() const {
  return static_cast<const TcxGridTableView*>(TcxCustomGridTableViewInfo::GridView());
}

namespace {

// The most footer-positioned summaries that share one column.
int MaxFooterSummariesPerColumn(const TcxDataSummaryItems& AItems) {
  std::map<const TcxCustomGridTableItem*, int> perColumn;
  int most = 1;
  for (int i = 0; i < AItems.Count(); ++i) {
    const TcxDataSummaryItem* item = AItems.Items(i);
    if (item->ItemLink() && item->Position() == spFooter) most = std::max(most, ++perColumn[item->ItemLink()]);
  }
  return most;
}

}  // namespace

void TcxGridTableViewInfo::Calculate(int AFirstRecordIndex, const TRect& ABounds) {
  TcxCustomGridTableViewInfo::Calculate(AFirstRecordIndex, ABounds);
  const TcxGridTableView* view = GridView();
  const TcxGridTableOptionsView& options = view->OptionsView;
  TcxGridTableViewStyles* styles = view->Styles();
  TcxViewParams params;

  FGroupByBoxHeight = 0;
  if (options.GroupByBox) {
    styles->GetViewParams(TcxGridTableViewStyles::vsGroupByBox, nullptr, nullptr, params);
    FGroupByBoxHeight = TextHeight(*params.Font) + 4 + 2 * 6;
  }
  FIndicatorWidth = options.Indicator ? std::max(0, options.IndicatorWidth) : 0;
  FFirstItemAdditionalWidth = LevelIndent() * (view->GroupedColumnCount() + (view->IsMaster() ? 1 : 0));

  const int columns = view->VisibleColumnCount();
  int headerHeight = options.HeaderHeight;
  if (headerHeight <= 0) {
    headerHeight = 0;
    for (int i = 0; i < columns; ++i) {
      styles->GetHeaderParams(view->VisibleColumns(i), params);
      headerHeight = std::max(headerHeight, TextHeight(*params.Font) + 4);
    }
    if (columns == 0) headerHeight = TextHeight(view->Font()) + 4;
  }
  FDataRowHeight = options.DataRowHeight;
  if (FDataRowHeight <= 0) {
    FDataRowHeight = 0;
    for (int i = 0; i < columns; ++i) {
      styles->GetContentParams(nullptr, view->VisibleColumns(i), params);
      FDataRowHeight = std::max(FDataRowHeight, TextHeight(*params.Font) + 4);
    }
    if (columns == 0) FDataRowHeight = TextHeight(view->Font()) + 4;
  }
  FGroupRowHeight = options.GroupRowHeight;
  if (FGroupRowHeight <= 0) {
    styles->GetGroupParams(nullptr, 0, params);
    FGroupRowHeight = TextHeight(*params.Font) + 6;
  }
  styles->GetFooterParams(nullptr, nullptr, -1, params);
  int lines = view->IsFooterMultiSummaries()
                  ? MaxFooterSummariesPerColumn(view->DataController()->Summary().FooterSummaryItems())
                  : 1;
  FFooterHeight = lines * (TextHeight(*params.Font) + 4) + 2 * 2;

  // The header cells, left to right, moved by the horizontal scroll position.
  FHeader.FItems.clear();
  FHeader.FVisible = options.Header;
  const int top = ABounds.Top + FGroupByBoxHeight;
  int x = ABounds.Left + FIndicatorWidth - view->Controller()->LeftPos();
  FDataWidth = 0;
  for (int i = 0; i < columns; ++i) {
    TcxGridColumn* column = view->VisibleColumns(i);
    int width = column->Width() + (i == 0 ? FFirstItemAdditionalWidth : 0);
    TcxGridColumnHeaderViewInfo cell;
    cell.FColumn = column;
    cell.FBounds = {x, top, x + width, top + headerHeight};
    cell.FText = column->Caption();
    cell.FAlignmentHorz = column->HeaderAlignmentHorz;
    styles->GetHeaderParams(column, cell.FParams);
    FHeader.FItems.push_back(std::move(cell));
    x += width;
    FDataWidth += width;
  }
  FHeader.FBounds = {ABounds.Left + FIndicatorWidth, top, std::max(ABounds.Right, x), top + headerHeight};
}

}  // namespace kv
