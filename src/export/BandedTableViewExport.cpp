// TcxGridBandedTableViewExport: band headers and band templates above the
// table exporter's column headers, the band offsets of the column headers,
// and the band areas of data rows.
#include "export/BandedTableViewExport.h"

#include <algorithm>

#include "gridpack/BandedTableView.h"
#include "gridpack/BandedTableViewInfo.h"

namespace kv {

TcxGridExportClass TcxGridBandedTableViewExport::Class() {
  return GridExportClassOf<TcxGridBandedTableViewExport>("TcxGridBandedTableViewExport");
}

TcxGridBandedTableView* TcxGridBandedTableViewExport::BandedView() const {
  return static_cast<TcxGridBandedTableView*>(FView);
}

TcxGridBandedTableViewInfo* TcxGridBandedTableViewExport::BandedViewInfo() {
  return dynamic_cast<TcxGridBandedTableViewInfo*>(LayoutInfo());
}

const TcxExportVisualItem* TcxGridBandedTableViewExport::BandTemplate(const TcxGridBand* ABand) const {
  for (const TcxExportVisualItem& t : FCellTemplates)
    if (!t.SourceObject().AsColumn() && t.SourceObject().AsBand() == ABand) return &t;
  return nullptr;
}

int TcxGridBandedTableViewExport::RootBandOffset(const TcxGridBand* ABand) const {
  const TcxExportVisualItem* t = ABand ? BandTemplate(ABand->RootBand()) : nullptr;
  return t ? static_cast<int>(t->ValueObject().AsInteger()) : 0;
}

int TcxGridBandedTableViewExport::HeaderOffset(TcxGridColumn* AColumn) {
  auto* column = dynamic_cast<TcxGridBandedColumn*>(AColumn);
  const TcxExportVisualItem* t = column ? BandTemplate(column->Position().Band()) : nullptr;
  return t ? static_cast<int>(t->ValueObject().AsInteger()) : 0;
}

bool TcxGridBandedTableViewExport::AlignsGroupSummaries() {
  if (!TcxGridTableViewExport::AlignsGroupSummaries()) return false;
  // Summaries laid out along the columns need the columns in one row.
  const std::vector<TcxGridBandedColumn*> columns = BandedView()->GetVisibleColumns();
  return std::all_of(columns.begin(), columns.end(), [&](const TcxGridBandedColumn* AColumn) {
    return AColumn->Position().RowIndex() == columns.front()->Position().RowIndex();
  });
}

void TcxGridBandedTableViewExport::GetTemplateParams(TcxCustomGridRecord* ARecord, TcxExportVisualItem& ATemplate,
                                                     TcxViewParams& AParams) {
  if (!ATemplate.SourceObject().AsColumn() && ATemplate.SourceObject().AsBand()) {
    auto* band = static_cast<TcxGridBand*>(const_cast<void*>(ATemplate.SourceObject().AsBand()));
    BandedView()->Styles()->GetBandContentParams(ARecord, band, AParams);
    return;
  }
  TcxGridTableViewExport::GetTemplateParams(ARecord, ATemplate, AParams);
}

void TcxGridBandedTableViewExport::ExportBands(int& ATop, bool ARootBands) {
  TcxGridBandedTableViewInfo* info = BandedViewInfo();
  const bool showHeaders = BandedView()->OptionsView.BandHeaders;
  const int dy = ATop - info->HeaderViewInfo().Bounds().Top;
  int bottom = 0;
  int x = 0;
  const TcxGridBandsViewInfo& bands = info->BandsViewInfo();
  for (int i = 0; i < bands.Count(); ++i) {
    const TcxGridBandViewInfo& bandInfo = bands.Items(i);
    TcxGridBand* band = bandInfo.Band();
    if (band->IsRoot() != ARootBands) continue;
    const TRect& screen = bandInfo.Bounds();
    if (!ARootBands) x = RootBandOffset(band->ParentBand()) + screen.Left;
    const TRect r{x, screen.Top + dy, x + screen.Width(), screen.Bottom + dy};
    if (!r.IsEmpty()) AddTextItem(r, bandInfo.Text(), true, clDefault, 0, bandInfo.AlignmentHorz(), bandInfo.Params());
    AddTemplate(r, TcxExportObjectRef::Band(band), TcxExportObjectRef::Integer(x - screen.Left));
    const TcxGridBandHeaderViewInfo& header = bandInfo.HeaderViewInfo();
    const TRect h{x, header.Bounds().Top + dy, x + header.Bounds().Width(), header.Bounds().Bottom + dy};
    TcxExportVisualItem* item =
        AddTextItem(h, header.Text(), false, clBtnShadow, cxBorderSidesAll, header.AlignmentHorz(), header.Params());
    item->SetSourceObject(TcxExportObjectRef::Band(band));
    item->IsHidden = !showHeaders;
    if (showHeaders) bottom = std::max(bottom, h.Bottom);
    if (ARootBands) x += screen.Width();
  }
  ATop = bottom;
}

void TcxGridBandedTableViewExport::ExportHeader(int& ATop, int& ALeft) {
  int bottom = 0;
  ExportBands(bottom, true);
  const int rootBottom = bottom;
  bottom = ATop;
  ExportBands(bottom, false);
  const int childBottom = bottom;
  const size_t bandTemplates = FCellTemplates.size();
  const int top = ATop;
  TcxGridTableViewExport::ExportHeader(ATop, ALeft);
  const TcxGridBandedTableView* view = BandedView();
  if (!view->OptionsView.Header && view->Bands()->Count() > 0) ATop = std::max(rootBottom, childBottom);
  // Without a column header the table exporter has nothing to measure the
  // record by: the band templates become the column area of a record as
  // high as the layout's data row.
  if (FCellTemplates.size() == bandTemplates) {
    const TcxGridBandedTableViewInfo* info = BandedViewInfo();
    const int columnTop = top + info->BandLevelCount() * info->BandHeaderHeight();
    for (TcxExportVisualItem& t : FCellTemplates) {
      t.CellBounds = t.CellBounds.Offset(0, -columnTop);
      t.CellBounds.Top = std::max(t.CellBounds.Top, 0);
      t.CellBounds.Bottom = std::min(t.CellBounds.Bottom, FDataRowHeight);
    }
  }
  FLineCount = view->Bands()->LineCount();
  FBaseRowHeight = FLineCount > 0 ? std::max(1, FDataRowHeight / FLineCount) : FDataRowHeight;
}

}  // namespace kv
