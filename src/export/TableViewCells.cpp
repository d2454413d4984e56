// TcxGridTableViewExport: merging of equal neighbouring cells, the cell pass
// that writes every export item to the provider, and the export of expanded
// details into a nested provider.
#include "export/GridExport.h"
#include "export/TableViewExport.h"
#include "gridpack/DataSummary.h"
#include "gridpack/GridRecords.h"
#include "gridpack/TableViewInfo.h"

namespace kv {

namespace {

bool RecordExpanded(const TcxExportVisualItem& AItem) {
  TcxCustomGridRecord* record = AItem.SourceObject.AsRecord();
  return record && record->Expanded();
}

}  // namespace

void TcxGridTableViewExport::MergeColumnCells() {
  for (const TcxExportVisualItem& t : FCellTemplates) {
    TcxGridColumn* column = t.SourceObject.AsColumn();
    if (!column || !column->Options.CellMerging) continue;
    std::vector<TcxExportVisualItem*> cells;
    for (TcxExportVisualItem& item : FExportItems)
      if (item.ValueObject.AsColumn() == column) cells.push_back(&item);
    // A run of equal cells grows downwards and ends at the first cell that
    // does not merge, or below an expanded record (its details follow it).
    for (size_t i = 0; i < cells.size();) {
      size_t next = i + 1;
      while (next < cells.size() && !(next > i + 1 && RecordExpanded(*cells[next - 1])) &&
             TryMergeCells(*cells[i], *cells[next]))
        ++next;
      i = next;
    }
  }
}

bool TcxGridTableViewExport::TryMergeCells(TcxExportVisualItem& AFirst, TcxExportVisualItem& ANext) {
  if (&AFirst == &ANext) return false;
  TcxCustomGridRecord* first = AFirst.SourceObject.AsRecord();
  TcxCustomGridRecord* next = ANext.SourceObject.AsRecord();
  TcxGridColumn* column = AFirst.ValueObject.AsColumn();
  if (!first || !next || !column || first->Expanded()) return false;
  if (AFirst.CellBounds.Bottom != ANext.CellBounds.Top || AFirst.CellBounds.Left != ANext.CellBounds.Left ||
      AFirst.CellBounds.Right != ANext.CellBounds.Right)
    return false;
  Variant value1, value2;
  TcxCustomEditProperties* properties1 = nullptr;
  TcxCustomEditProperties* properties2 = nullptr;
  GetCellValue(first, column, value1, properties1);
  GetCellValue(next, column, value2, properties2);
  if (!column->CompareValuesForCellMerging(first, properties1, value1, next, properties2, value2)) return false;
  AFirst.CellBounds.Bottom = ANext.CellBounds.Bottom;
  ANext.IsHidden = true;
  ANext.IsMerged = true;
  return true;
}

void TcxGridTableViewExport::WriteCells() {
  TcxGridCustomExport::WriteCells();
  const TcxCellArea whole = WholeGridRange();
  for (TcxExportVisualItem& item : FExportItems) {
    if (item.CellBounds.IsEmpty() || item.IsMerged) continue;
    if (item.IsHidden) {
      auto* master = dynamic_cast<TcxGridMasterDataRow*>(item.SourceObject.AsRecord());
      if (master && master->Expanded()) ExportDetail(item);
      continue;
    }
    if (item.IsFill) {
      FillBounds(item.CellBounds, item.CellStyleIndex, GridLineSides(), clBtnShadow);
    } else if (TcxGridColumn* column = item.ValueObject.AsColumn()) {
      WriteItemArea(item.CellBounds, whole, column, item.SourceObject.AsRecord(), item.CellStyleIndex);
    } else if (item.ValueObject.AsSummaryItem()) {
      WriteValueArea(item.CellBounds, whole, item.CellValue(), item.CellStyleIndex);
    } else {
      WriteValueArea(item.CellBounds, whole, Variant(item.Text), item.CellStyleIndex);
    }
  }
}

void TcxGridTableViewExport::ExportDetail(TcxExportVisualItem& AItem) {
  auto* master = dynamic_cast<TcxGridMasterDataRow*>(AItem.SourceObject.AsRecord());
  if (!master) return;
  TcxCustomGridView* detailView = master->ActiveDetailGridView();
  if (!detailView) return;
  std::unique_ptr<TcxCustomGridTableViewInfo> layout = CreateDetailViewInfo(detailView, LayoutInfo()->Bounds());
  std::unique_ptr<TcxGridCustomExport> detail =
      ExporterClassFor(detailView)->CreateForDetail(*this, detailView, layout.get());
  detail->Build();
  const TcxCellArea area = CellSpan(AItem.CellBounds);
  TcxViewParams params;
  TableView()->Styles()->GetContentParams(master, nullptr, params);
  const int style = FExportProvider->AddStyle(StyleFromParams(params, GridLineColor(), GridLineSides(), taLeftJustify));
  FExportProvider->ApplyMergedStyle(area.Left, area.Top, area.RowSpan(), area.ColSpan(), style);
  if (detail->BuiltCells() && FCellCache && detail->CellCache())
    FCellCache->PutCellCache(area.Left, area.Top, detail->CellCache());
}

}  // namespace kv
