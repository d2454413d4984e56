// TcxGridTableViewExport: group footers and the view footer, with their
// summary cells under the columns (several per column, one per line, with
// multi-summaries).
#include <algorithm>
#include <map>

#include "export/TableViewExport.h"
#include "gridpack/DataSummary.h"
#include "gridpack/Grid.h"
#include "gridpack/GridRecords.h"

namespace kv {

void TcxGridTableViewExport::ExportGroupFooters(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord) {
  for (int i = 0; i <= ARecord->Level(); ++i) {
    int level = i;
    if (HasGroupFooter(ARecord, level)) ExportGroupFooter(ATop, ALeft, level, ARecord->Level() - i, ARecord);
  }
}

bool TcxGridTableViewExport::HasGroupFooter(TcxCustomGridRecord* ARecord, int& ALevel) {
  const TcxGridTableView* view = TableView();
  const TcxGridGroupFootersMode mode = view->OptionsView.GroupFooters;
  bool result = false;
  if (mode == gfInvisible) return false;
  if (mode == gfAlwaysVisible) --ALevel;
  const int level = ARecord->Level();
  if (ALevel >= 0 && ALevel < level) {
    bool endsGroup = ARecord->IsLast();
    if (!endsGroup) {
      TcxCustomGridRecord* next = view->ViewData()->Records(ARecord->Index() + 1);
      endsGroup = next->Level() < level - ALevel;
    }
    const int columnIndex = level - 1 - ALevel;
    if (endsGroup && columnIndex < view->GroupedColumnCount())
      result = view->GroupedColumns(columnIndex)->Options.GroupFooters;
  }
  if (!result && mode == gfAlwaysVisible && ALevel == -1) {
    if (auto* row = dynamic_cast<TcxGridGroupRow*>(ARecord)) {
      TcxGridColumn* column = row->GroupedColumn();
      result = !row->Expanded() && column && column->Options.GroupFooters;
    }
  }
  if (result) ALevel = level - ALevel - 1;
  return result;
}

void TcxGridTableViewExport::ExportGroupFooter(int& ATop, int& ALeft, int ALevel, int AIndentCount,
                                               TcxCustomGridRecord* ARecord) {
  ALeft = 0;
  TcxCustomGridRecord* record = ARecord;
  while (record && record->Level() > ALevel) record = record->ParentRecord();
  auto* row = dynamic_cast<TcxGridGroupRow*>(record);
  if (!row) return;
  const TcxDataGroupSummaryItems* items = nullptr;
  std::vector<Variant> values;
  if (row->GetGroupSummaryInfo(items, values) && items)
    ExportSummaryRow(ATop, ALeft, row, AIndentCount, ALevel, items, values, false);
}

void TcxGridTableViewExport::ExportFooter(int& ATop, int& ALeft) {
  if (!TableView()->OptionsView.Footer) return;
  const TcxDataSummaryItems& items = TableView()->DataController()->Summary().FooterSummaryItems();
  ExportSummaryRow(ATop, ALeft, nullptr, 0, -1, &items, {}, true);
}

bool TcxGridTableViewExport::MultiSummaries(bool AIsFooter) const {
  return AIsFooter ? TableView()->IsFooterMultiSummaries() : TableView()->IsGroupFooterMultiSummaries();
}

int TcxGridTableViewExport::FooterSummaryCount(const TcxDataSummaryItems* AItems) {
  if (!AItems) return 0;
  int count = 0;
  for (int k = 0; k < AItems->Count(); ++k)
    if (AItems->Items(k)->Position() == spFooter) ++count;
  return count;
}

int TcxGridTableViewExport::MaxSummariesPerColumn(const TcxDataSummaryItems* AItems) {
  if (!AItems) return 1;
  std::map<const TcxCustomGridTableItem*, int> perColumn;
  int most = 1;
  for (int k = 0; k < AItems->Count(); ++k) {
    TcxDataSummaryItem* item = AItems->Items(k);
    if (item->Position() != spFooter || !item->ItemLink()) continue;
    most = std::max(most, ++perColumn[item->ItemLink()]);
  }
  return most;
}

TRect TcxGridTableViewExport::SummaryCellRect(int ATemplateIndex, int ALine, bool AIsFooter,
                                              const TRect& AFooterRect) const {
  const TRect& t = FCellTemplates[static_cast<size_t>(ATemplateIndex)].CellBounds;
  TRect r;
  r.Left = std::max(t.Left, AFooterRect.Left);
  r.Right = std::min(t.Right, AFooterRect.Right);
  r.Top = (t.Top / FBaseRowHeight + ALine) * FBaseRowHeight + AFooterRect.Top;
  r.Bottom = r.Top + FBaseRowHeight * (MultiSummaries(AIsFooter) ? 1 : std::max(1, t.Height() / FBaseRowHeight));
  return r;
}

void TcxGridTableViewExport::ExportSummaryRow(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord, int AIndentCount,
                                              int ALevel, const TcxDataSummaryItems* ASummaryItems,
                                              const std::vector<Variant>& AValues, bool AIsFooter) {
  TcxGridTableView* view = TableView();
  const bool multi = MultiSummaries(AIsFooter);
  const int lines = multi ? MaxSummariesPerColumn(ASummaryItems) : FLineCount;
  const int bottom = ATop + lines * FBaseRowHeight;
  if (AIndentCount != 0) ALeft = ExportIndent(ATop, bottom - ATop, ARecord, false, AIndentCount - 1);
  const TRect footerRect{ALeft, ATop, FDataWidth, bottom};
  auto* row = dynamic_cast<TcxCustomGridRow*>(ARecord);
  TcxViewParams params;
  view->Styles()->GetFooterParams(row, nullptr, ALevel, params);
  AddTextItem(footerRect, std::string(), true, clDefault, 0, taLeftJustify, params);
  ATop = bottom;

  int remaining = FooterSummaryCount(ASummaryItems);
  const TColor borderColor = FGridControl ? FGridControl->LookAndFeel.FooterBorderColor() : clBtnShadow;
  for (size_t ti = 0; ti < FCellTemplates.size() && remaining > 0; ++ti) {
    TcxGridColumn* column = FCellTemplates[ti].SourceObject().AsColumn();
    if (!column) continue;
    int line = 0;
    for (int k = 0; k < ASummaryItems->Count(); ++k) {
      TcxDataSummaryItem* item = ASummaryItems->Items(k);
      if (item->ItemLink() != column || item->Position() != spFooter) continue;
      TcxViewParams cellParams;
      view->Styles()->GetFooterCellParams(row, column, ALevel, item, cellParams);
      Variant value;
      if (AIsFooter)
        value = view->DataController()->Summary().FooterSummaryValues(k);
      else
        value = static_cast<size_t>(k) < AValues.size() ? AValues[static_cast<size_t>(k)] : Variant::Null();
      TcxExportVisualItem* cell = AddTextItem(SummaryCellRect(static_cast<int>(ti), line, AIsFooter, footerRect),
                                              item->FormatValue(value, true), false, borderColor, cxBorderSidesAll,
                                              column->FooterAlignmentHorz, cellParams);
      if (FNativeValues && VarIsNumeric(value)) {
        cell->SetValueObject(TcxExportObjectRef::SummaryItem(item));
        if (item->Format.empty()) {
          Variant native;
          ConvertNativeValue(column->GetProperties(), column, native, value);
          cell->SetCellValue(native);
        } else {
          cell->SetCellValue(value);
        }
      }
      --remaining;
      ++line;
      if (!multi) break;
    }
  }
}

}  // namespace kv
