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
  FHeaderHeight = options.HeaderHeight;
  if (FHeaderHeight <= 0) {
    FHeaderHeight = 0;
    for (int i = 0; i < columns; ++i) {
      styles->GetHeaderParams(view->VisibleColumns(i), params);
      FHeaderHeight = std::max(FHeaderHeight, TextHeight(*params.Font) + 4);
    }
    if (columns == 0) FHeaderHeight = TextHeight(view->Font()) + 4;
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

  FHeader.FItems.clear();
  FHeader.FVisible = options.Header;
  CalculateHeader(ABounds.Top + FGroupByBoxHeight, ABounds);
}

TcxGridColumnHeaderViewInfo TcxGridTableViewInfo::MakeHeaderCell(TcxGridColumn* AColumn, const TRect& ABounds) const {
  TcxGridColumnHeaderViewInfo cell;
  cell.FColumn = AColumn;
  cell.FBounds = ABounds;
  cell.FText = AColumn->Caption();
  cell.FAlignmentHorz = AColumn->HeaderAlignmentHorz;
  GridView()->Styles()->GetHeaderParams(AColumn, cell.FParams);
  return cell;
}

void TcxGridTableViewInfo::CalculateHeader(int ATop, const TRect& ABounds) {
  // The header cells, left to right, moved by the horizontal scroll position.
  const TcxGridTableView* view = GridView();
  const int columns = view->VisibleColumnCount();
  int x = ABounds.Left + FIndicatorWidth - view->Controller()->LeftPos();
  FDataWidth = 0;
  for (int i = 0; i < columns; ++i) {
    TcxGridColumn* column = view->VisibleColumns(i);
    int width = column->Width() + (i == 0 ? FFirstItemAdditionalWidth : 0);
    FHeader.FItems.push_back(MakeHeaderCell(column, {x, ATop, x + width, ATop + FHeaderHeight}));
    x += width;
    FDataWidth += width;
  }
  FHeader.FBounds = {ABounds.Left + FIndicatorWidth, ATop, std::max(ABounds.Right, x), ATop + FHeaderHeight};
}

}  // namespace kv
