// Layout objects of banded table views (formulas in BandedTableViewInfo.h
// and docs/text-metrics.md).
#include "gridpack/BandedTableViewInfo.h"

#include <algorithm>

#include "gridpack/BandedTableView.h"
#include "platform/Exceptions.h"
#include "platform/TextMetrics.h"

namespace kv {

const TcxGridBandViewInfo& TcxGridBandsViewInfo::Items(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) RaiseListIndexError(AIndex);
  return FItems[static_cast<size_t>(AIndex)];
}

const TcxGridBandViewInfo* TcxGridBandsViewInfo::FindItem(const TcxGridBand* ABand) const {
  for (const TcxGridBandViewInfo& item : FItems)
    if (item.Band() == ABand) return &item;
  return nullptr;
}

TcxGridBandedTableViewInfo::TcxGridBandedTableViewInfo(const TcxGridBandedTableView* AView)
    : TcxGridTableViewInfo(AView) {}

const TcxGridBandedTableView* TcxGridBandedTableViewInfo::GridView() const {
  return static_cast<const TcxGridBandedTableView*>(TcxGridTableViewInfo::GridView());
}

namespace {

std::vector<TcxGridBand*> ShownChildBands(const TcxGridBand* ABand) {
  std::vector<TcxGridBand*> children;
  for (int i = 0; i < ABand->ChildBandCount(); ++i)
    if (ABand->ChildBands(i)->Visible()) children.push_back(ABand->ChildBands(i));
  return children;
}

std::vector<TcxGridBand*> ShownRootBands(const TcxGridBands& ABands) {
  std::vector<TcxGridBand*> roots;
  for (int i = 0; i < ABands.RootBandCount(); ++i)
    if (ABands.RootBands(i)->Visible()) roots.push_back(ABands.RootBands(i));
  return roots;
}

// The visible columns of each row that holds one.
std::vector<std::vector<TcxGridBandedColumn*>> VisibleRows(const TcxGridBand* ABand) {
  std::vector<std::vector<TcxGridBandedColumn*>> rows;
  for (int i = 0; i < ABand->ColumnCount(); ++i) {
    TcxGridBandedColumn* column = ABand->Columns(i);
    if (!column->Visible()) continue;
    const size_t row = static_cast<size_t>(column->Position().RowIndex());
    // Rows are numbered without gaps; rows whose columns are all hidden
    // leave no row behind.
    if (rows.empty() || static_cast<size_t>(rows.back().front()->Position().RowIndex()) != row) rows.emplace_back();
    rows.back().push_back(column);
  }
  return rows;
}

int LevelCount(const TcxGridBand* ABand) {
  int deepest = 0;
  for (const TcxGridBand* child : ShownChildBands(ABand)) deepest = std::max(deepest, LevelCount(child));
  return deepest + 1;
}

}  // namespace

int TcxGridBandedTableViewInfo::BandWidth(const TcxGridBand* ABand, int AExtra) const {
  if (ABand->Width() > 0) return ABand->Width() + AExtra;
  int width = 0;
  std::vector<TcxGridBand*> children = ShownChildBands(ABand);
  if (!children.empty()) {
    for (const TcxGridBand* child : children) width += BandWidth(child, 0);
  } else {
    for (const auto& row : VisibleRows(ABand)) {
      int rowWidth = 0;
      for (const TcxGridBandedColumn* column : row) rowWidth += column->Width();
      width = std::max(width, rowWidth);
    }
  }
  return width + AExtra;
}

void TcxGridBandedTableViewInfo::Calculate(int AFirstRecordIndex, const TRect& ABounds) {
  TcxGridTableViewInfo::Calculate(AFirstRecordIndex, ABounds);
  const int lines = std::max(FLineCount, 1);
  FDataRowHeight *= lines;
  if (!GridView()->IsFooterMultiSummaries()) FFooterHeight = (FFooterHeight - 2 * 2) * lines + 2 * 2;
}

void TcxGridBandedTableViewInfo::CalculateHeader(int ATop, const TRect& ABounds) {
  const TcxGridBandedTableView* view = GridView();
  const TcxGridBandedTableOptionsView& options = view->OptionsView;
  FBands.FItems.clear();
  FLineCount = view->Bands()->LineCount();
  const std::vector<TcxGridBand*> roots = ShownRootBands(*view->Bands());

  FBandLevelCount = 0;
  for (const TcxGridBand* root : roots) FBandLevelCount = std::max(FBandLevelCount, LevelCount(root));
  FBandHeaderHeight = 0;
  if (options.BandHeaders) {
    FBandHeaderHeight = options.BandHeaderHeight;
    if (FBandHeaderHeight <= 0) {
      int textHeight = 0;
      TcxViewParams params;
      for (int i = 0; i < view->Bands()->Count(); ++i) {
        TcxGridBand* band = view->Bands()->Items(i);
        if (!band->ActuallyVisible()) continue;
        view->Styles()->GetBandHeaderParams(band, params);
        textHeight = std::max(textHeight, TextHeight(*params.Font));
      }
      if (textHeight == 0) textHeight = TextHeight(view->Font());
      FBandHeaderHeight = std::max(options.BandHeaderLineCount, 1) * textHeight + 4;
    }
  }
  FHeaderTop = ATop;
  FColumnTop = ATop + FBandLevelCount * FBandHeaderHeight;

  // Root bands: left-fixed, scrolling (moved by the scroll position),
  // right-fixed at the right edge.
  const int start = ABounds.Left + FIndicatorWidth;
  int fixedLeft = 0, fixedRight = 0;
  FDataWidth = 0;
  for (size_t i = 0; i < roots.size(); ++i) {
    const int width = BandWidth(roots[i], i == 0 ? FFirstItemAdditionalWidth : 0);
    FDataWidth += width;
    if (roots[i]->FixedKind() == fkLeft) fixedLeft += width;
    if (roots[i]->FixedKind() == fkRight) fixedRight += width;
  }
  int scrolling = start + fixedLeft - view->Controller()->LeftPos();
  int fixed = start;
  int right = std::max(ABounds.Right - fixedRight, start + fixedLeft);
  int rightmost = start;
  for (size_t i = 0; i < roots.size(); ++i) {
    TcxGridBand* root = roots[i];
    const int extra = i == 0 ? FFirstItemAdditionalWidth : 0;
    const int width = BandWidth(root, extra);
    int& x = root->FixedKind() == fkLeft ? fixed : root->FixedKind() == fkRight ? right : scrolling;
    PlaceBand(root, x, 0, extra, x + width);
    x += width;
    rightmost = std::max(rightmost, x);
  }
  FHeader.FBounds = {start, ATop, std::max(ABounds.Right, rightmost), FColumnTop + FLineCount * FHeaderHeight};
}

void TcxGridBandedTableViewInfo::PlaceBand(TcxGridBand* ABand, int ALeft, int ADepth, int AExtra, int AClip) {
  const TcxGridBandedTableView* view = GridView();
  const int right = std::min(ALeft + BandWidth(ABand, AExtra), AClip);
  const std::vector<TcxGridBand*> children = ShownChildBands(ABand);
  const int top = FHeaderTop + ADepth * FBandHeaderHeight;
  const int headerLevels = children.empty() ? FBandLevelCount - ADepth : 1;

  TcxGridBandViewInfo info;
  info.FBand = ABand;
  info.FDepth = ADepth;
  info.FBounds = {ALeft, top, std::max(ALeft, right), FColumnTop + FLineCount * FHeaderHeight};
  view->Styles()->GetBandBackgroundParams(ABand, info.FParams);
  info.FHeader.FBounds = {ALeft, top, std::max(ALeft, right), top + headerLevels * FBandHeaderHeight};
  info.FHeader.FText = ABand->Caption();
  info.FHeader.FAlignmentHorz = ABand->HeaderAlignmentHorz;
  view->Styles()->GetBandHeaderParams(ABand, info.FHeader.FParams);
  FBands.FItems.push_back(std::move(info));

  if (!children.empty()) {
    int x = ALeft;
    for (size_t i = 0; i < children.size(); ++i) {
      const int extra = i == 0 ? AExtra : 0;
      PlaceBand(children[i], std::min(x, right), ADepth + 1, extra, right);
      x += BandWidth(children[i], extra);
    }
    return;
  }
  int line = 0;
  for (const auto& row : VisibleRows(ABand)) {
    int x = ALeft;
    int rowLines = 0;
    for (size_t i = 0; i < row.size(); ++i) {
      TcxGridBandedColumn* column = row[i];
      const int width = column->Width() + (i == 0 ? AExtra : 0);
      const int lines = column->Position().LineCount();
      const int cellTop = FColumnTop + line * FHeaderHeight;
      const int left = std::min(x, right);
      FHeader.FItems.push_back(
          MakeHeaderCell(column, {left, cellTop, std::min(x + width, right), cellTop + lines * FHeaderHeight}));
      x += width;
      rowLines = std::max(rowLines, lines);
    }
    line += rowLines;
  }
}

}  // namespace kv
