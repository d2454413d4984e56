// TcxGridTableViewExport: group rows, as one text across the row or with
// their summaries laid out along the columns.
#include <algorithm>

#include "export/TableViewExport.h"
#include "gridpack/DataSummary.h"
#include "gridpack/GridRecords.h"
#include "gridpack/TableViewInfo.h"
#include "platform/TextMetrics.h"

namespace kv {

namespace {

// Cells without a column first, then by the column's visible index, cells of
// one column by their summary's index.
bool SummaryCellBefore(const std::unique_ptr<TcxExportGroupSummaryItem>& A,
                       const std::unique_ptr<TcxExportGroupSummaryItem>& B) {
  int a = A->SummaryColumn ? A->SummaryColumn->VisibleIndex() : -1;
  int b = B->SummaryColumn ? B->SummaryColumn->VisibleIndex() : -1;
  if (a != b) return a < b;
  return A->SummaryIndex < B->SummaryIndex;
}

// The group row's caption with its grouped column's OnGetDisplayText.
std::string DisplayedCaption(TcxGridGroupRow* ARow, std::string AText) {
  if (TcxGridColumn* column = ARow->GroupedColumn())
    if (column->OnGetDisplayText) column->OnGetDisplayText(column, ARow, AText);
  return AText;
}

}  // namespace

void TcxGridTableViewExport::ExportGroupRow(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord) {
  auto* row = static_cast<TcxGridGroupRow*>(ARecord);
  const int height = TableViewInfo()->GroupRowHeight();
  TRect r{0, ATop, FDataWidth, ATop + height};
  r.Left = ExportIndent(ATop, height, ARecord, true, -1);
  ALeft = r.Left;
  TcxViewParams params;
  TableView()->Styles()->GetGroupParams(ARecord, ARecord->Level(), params);
  AddTextItem(r, std::string(), true, clDefault, 0, taLeftJustify, params);

  const TcxDataGroupSummaryItems* items = nullptr;
  std::vector<Variant> values;
  if (AlignsGroupSummaries() && row->GetGroupSummaryInfo(items, values) && items) {
    FGroupSummaryCells.clear();
    for (int k = 0; k < items->Count(); ++k) AddGroupSummaryCell(row, r, params, *items, values, k);
    ArrangeGroupSummaries(row, r, params, *items);
    const TcxBorderSides sides = GridLineSides() & static_cast<TcxBorderSides>(~(cxBorderSideLeft | cxBorderSideRight));
    for (const auto& cell : FGroupSummaryCells) {
      TcxExportVisualItem* item = AddTextItem(cell->SummaryBounds, cell->SummaryText, false, GridLineColor(), sides,
                                              taLeftJustify, cell->SummaryParams);
      if (FNativeValues && !cell->SummaryValue.IsEmptyOrNull()) {
        item->SetValueObject(TcxExportObjectRef::SummaryItem(cell->SourceItem));
        item->SetCellValue(cell->SummaryValue);
      }
    }
    FGroupSummaryCells.clear();
  } else {
    AddTextItem(r, DisplayedCaption(row, row->DisplayText()), false, GridLineColor(), GridLineSides(), taLeftJustify,
                params);
  }
  ATop += height;
}

TRect TcxGridTableViewExport::ColumnSpan(const TRect& ABounds, TcxGridColumn* AColumn) const {
  TRect r = ABounds;
  if (const TcxExportVisualItem* t = ColumnTemplate(AColumn)) {
    r.Left = std::max(r.Left, t->CellBounds.Left);
    r.Right = std::min(r.Right, t->CellBounds.Right);
  }
  return r;
}

void TcxGridTableViewExport::AddGroupSummaryCell(TcxGridGroupRow* ARow, const TRect& ARowRect,
                                                 const TcxViewParams& ARowParams, const TcxDataSummaryItems& AItems,
                                                 const std::vector<Variant>& AValues, int AIndex) {
  TcxDataSummaryItem* item = AItems.Items(AIndex);
  auto* tableItem = dynamic_cast<TcxGridTableSummaryItem*>(item);
  TcxGridColumn* column = tableItem ? tableItem->Column() : dynamic_cast<TcxGridColumn*>(item->ItemLink());
  if (column && column->VisibleIndex() < 0) return;
  const Variant value =
      static_cast<size_t>(AIndex) < AValues.size() ? AValues[static_cast<size_t>(AIndex)] : Variant::Null();
  std::string text = item->FormatValue(value, false);
  if (item->Position() != spGroup || text.empty()) return;
  auto cell = std::make_unique<TcxExportGroupSummaryItem>();
  cell->SummaryColumn = column && column->VisibleIndex() >= 0 ? column : nullptr;
  if (cell->SummaryColumn) {
    TcxViewParams params;
    TableView()->Styles()->GetGroupSummaryParams(ARow, column, item, params);
    params.Color = ARowParams.Color;
    params.Bitmap = ARowParams.Bitmap;
    cell->SummaryParams = params;
  } else {
    cell->SummaryParams = ARowParams;
  }
  cell->SummaryBounds = ColumnSpan(ARowRect, cell->SummaryColumn);
  cell->SummaryText = std::move(text);
  cell->SourceItem = item;
  cell->SummaryValue = value;
  cell->SummaryIndex = AIndex;
  FGroupSummaryCells.push_back(std::move(cell));
}

void TcxGridTableViewExport::ArrangeGroupSummaries(TcxGridGroupRow* ARow, const TRect& ARowRect,
                                                   const TcxViewParams& ARowParams,
                                                   const TcxDataGroupSummaryItems& AItems) {
  auto& cells = FGroupSummaryCells;
  std::stable_sort(cells.begin(), cells.end(), SummaryCellBefore);
  // Summaries of one column share a cell.
  const TcxDataGroupSummaryItems& items = AItems;
  for (size_t i = 0; i + 1 < cells.size();) {
    if (cells[i]->SummaryColumn == cells[i + 1]->SummaryColumn) {
      cells[i]->SummaryText += items.Separator + " " + cells[i + 1]->SummaryText;
      cells[i]->SummaryValue = Variant::Null();
      cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    } else {
      ++i;
    }
  }
  // The caption: summaries without a column follow it in one cell.
  const std::string caption = ARow->DisplayCaption();
  if (!cells.empty() && !cells[0]->SummaryColumn) {
    cells[0]->SummaryText = caption + items.BeginText + cells[0]->SummaryText + items.EndText;
    cells[0]->SummaryValue = Variant::Null();
  } else {
    auto cell = std::make_unique<TcxExportGroupSummaryItem>();
    cell->SummaryText = cells.empty() ? DisplayedCaption(ARow, caption) : caption;
    cell->SummaryParams = ARowParams;
    cell->SummaryBounds = ARowRect;
    cells.insert(cells.begin(), std::move(cell));
  }
  std::stable_sort(cells.begin(), cells.end(), SummaryCellBefore);
  // Each cell ends where the next begins; the caption cell is as wide as its
  // text, and a summary cell it would cover starts after it.
  for (size_t i = 0; i + 1 < cells.size();) {
    TcxExportGroupSummaryItem& cell = *cells[i];
    TcxExportGroupSummaryItem& next = *cells[i + 1];
    const bool caption0 = i == 0 && !cell.SummaryColumn;
    if (caption0) {
      const TFont& font = cell.SummaryParams.Font ? *cell.SummaryParams.Font : DefaultFont();
      cell.SummaryBounds.Right = cell.SummaryBounds.Left + TextWidth(font, cell.SummaryText) + 6;
    }
    if (caption0 && next.SummaryBounds.Left <= cell.SummaryBounds.Left)
      next.SummaryBounds.Left = cell.SummaryBounds.Right;
    else
      cell.SummaryBounds.Right = std::min(cell.SummaryBounds.Right, next.SummaryBounds.Left);
    if (cell.SummaryBounds.Left >= cell.SummaryBounds.Right)
      cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(i));
    else
      ++i;
  }
}

}  // namespace kv
