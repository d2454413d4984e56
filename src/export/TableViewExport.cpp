// TcxGridTableViewExport: the lists of the layout, the header and its cell
// templates, the walk over the records, data rows with their cells, indents
// and expand cells, master rows and previews.  Group rows are in
// TableViewGroupRows.cpp, footers in TableViewFooters.cpp, cell merging and
// the cell pass in TableViewCells.cpp.
#include "export/TableViewExport.h"

#include <algorithm>
#include <climits>

#include "gridpack/Grid.h"
#include "gridpack/GridRecords.h"
#include "gridpack/TableViewInfo.h"
#include "platform/TextMetrics.h"

namespace kv {

TcxExportVisualItem::TExtra& TcxExportVisualItem::Extra() {
  if (!FExtra) FExtra = std::make_unique<TExtra>();
  return *FExtra;
}

const std::string& TcxExportVisualItem::Text() const {
  static const std::string empty;
  return FExtra ? FExtra->Text : empty;
}

void TcxExportVisualItem::SetText(std::string AText) {
  if (AText.empty() && !FExtra) return;
  Extra().Text = std::move(AText);
}

const Variant& TcxExportVisualItem::CellValue() const {
  static const Variant null = Variant::Null();
  return FExtra ? FExtra->CellValue : null;
}

void TcxExportVisualItem::SetCellValue(const Variant& AValue) { Extra().CellValue = AValue; }

TcxExportVisualItem& TcxExportItemList::emplace_back() {
  if (FCount == FBlocks.size() * BlockSize) FBlocks.push_back(std::make_unique<TcxExportVisualItem[]>(BlockSize));
  const size_t index = FCount++;
  return FBlocks[index / BlockSize][index % BlockSize];
}

void TcxExportItemList::clear() {
  FBlocks.clear();
  FCount = 0;
}

TcxGridTableViewExport::~TcxGridTableViewExport() = default;

TcxGridExportClass TcxGridTableViewExport::Class() {
  return GridExportClassOf<TcxGridTableViewExport>("TcxGridTableViewExport");
}

void TcxGridTableViewExport::TBoundaryFilter::Add(TcxExportScale& AScale, int32_t AValue) {
  size_t slot = static_cast<uint32_t>(AValue) * 2654435761u >> 26;
  if (Used[slot] && Recent[slot] == AValue) return;
  Used[slot] = true;
  Recent[slot] = AValue;
  AScale.AddBoundary(AValue);
}

// --- Lists ------------------------------------------------------------------

void TcxGridTableViewExport::BeforeBuild() {
  TcxGridCustomExport::BeforeBuild();
  FLineCount = 1;
  FGroupSummaryCells.clear();
  FGroupSummaryCells.reserve(1024);
  FCellTemplates.clear();
  FExportItems.clear();
  FDataStyles.clear();
  FColumnFilter = TBoundaryFilter();
  FRowFilter = TBoundaryFilter();
  FPreviewRecord = nullptr;
  FRowCellStyles.clear();
  FRowCellTemplates.clear();
  FIsRowCellTemplate.clear();
  FRowCellTemplatesKnown = false;
}

void TcxGridTableViewExport::AfterBuild() {
  TcxGridCustomExport::AfterBuild();
  FGroupSummaryCells.clear();
  FGroupSummaryCells.shrink_to_fit();
  FCellTemplates.clear();
  FExportItems.clear();
  FDataStyles.clear();
  FRowCellStyles.clear();
  FRowCellStyles.shrink_to_fit();
}

void TcxGridTableViewExport::FeedScales(const TRect& ABounds) {
  if (ABounds.IsEmpty()) return;
  FColumnFilter.Add(FColumnScale, ABounds.Left);
  FColumnFilter.Add(FColumnScale, ABounds.Right);
  FRowFilter.Add(FRowScale, ABounds.Top);
  FRowFilter.Add(FRowScale, ABounds.Bottom);
}

TcxExportVisualItem* TcxGridTableViewExport::CreateExportItem(const TRect& ABounds) {
  TcxExportVisualItem& item = FExportItems.emplace_back();
  item.CellBounds = ABounds;
  FeedScales(ABounds);
  return &item;
}

TcxExportVisualItem* TcxGridTableViewExport::AddDataItem(const TRect& ABounds, int AStyleIndex,
                                                         TcxCustomGridRecord* ASource, TcxGridColumn* AValueObject) {
  TcxExportVisualItem* item = CreateExportItem(ABounds);
  item->CellStyleIndex = AStyleIndex;
  item->SetSourceObject(TcxExportObjectRef::Record(ASource));
  item->SetValueObject(TcxExportObjectRef::Column(AValueObject));
  return item;
}

TcxExportVisualItem* TcxGridTableViewExport::AddTextItem(const TRect& ABounds, const std::string& AText, bool AIsFill,
                                                         TColor ABorderColor, TcxBorderSides ABorderSides,
                                                         TAlignment AAlignment, const TcxViewParams& AParams) {
  TcxExportCellStyle style = StyleFromParams(AParams, clDefault, 0, AAlignment);
  if (ABorderColor != clDefault) {
    uint32_t color = ResolveExportColor(ABorderColor);
    for (int side = cxBorderLeft; side <= cxBorderBottom; ++side)
      if (ABorderSides & (1 << side)) style.CellBorders[static_cast<size_t>(side)] = {0, 1, color};
  }
  return AddItem(ABounds, AText, AIsFill, FExportProvider->AddStyle(style));
}

TcxExportVisualItem* TcxGridTableViewExport::AddItem(const TRect& ABounds, const std::string& AText, bool AIsFill,
                                                     int AStyleIndex) {
  TcxExportVisualItem* item = CreateExportItem(ABounds);
  item->SetText(AText);
  item->IsFill = AIsFill;
  item->CellStyleIndex = AStyleIndex;
  return item;
}

TcxExportVisualItem* TcxGridTableViewExport::AddTemplate(const TRect& ABounds, TcxExportObjectRef ASource,
                                                         TcxExportObjectRef AValueObject) {
  TcxExportVisualItem& item = FCellTemplates.emplace_back();
  item.CellBounds = ABounds;
  item.SetSourceObject(ASource);
  item.SetValueObject(AValueObject);
  return &item;
}

TRect TcxGridTableViewExport::TemplateRect(const TcxExportVisualItem& ATemplate, int ATop, int ALeft) {
  TRect r = ATemplate.CellBounds.Offset(0, ATop);
  r.Left = std::max(r.Left, ALeft);
  r.Right = std::max(r.Right, ALeft);
  return r;
}

const TcxExportVisualItem* TcxGridTableViewExport::ColumnTemplate(TcxGridColumn* AColumn) const {
  if (!AColumn) return nullptr;
  for (const TcxExportVisualItem& t : FCellTemplates)
    if (t.SourceObject().AsColumn() == AColumn) return &t;
  return nullptr;
}

// --- View settings ------------------------------------------------------------

TcxGridTableViewInfo* TcxGridTableViewExport::TableViewInfo() {
  return dynamic_cast<TcxGridTableViewInfo*>(LayoutInfo());
}

TColor TcxGridTableViewExport::GridLineColor() const {
  TColor color = TableView()->OptionsView.GridLineColor;
  return color == clDefault ? clBtnShadow : color;
}

TcxBorderSides TcxGridTableViewExport::GridLineSides() const {
  switch (TableView()->OptionsView.GridLines) {
    case glBoth:
      return cxBorderSidesAll;
    case glVertical:
      return cxBorderSideLeft | cxBorderSideRight;
    case glHorizontal:
      return cxBorderSideTop | cxBorderSideBottom;
    default:
      return 0;
  }
}

int TcxGridTableViewExport::HeaderOffset(TcxGridColumn*) {
  const TcxGridTableView* view = TableView();
  int indicator = view->OptionsView.Indicator ? view->OptionsView.IndicatorWidth : 0;
  return view->Controller()->LeftPos() - indicator;
}

bool TcxGridTableViewExport::AlignsGroupSummaries() {
  return TableView()->OptionsView.GroupSummaryLayout != gslStandard;
}

void TcxGridTableViewExport::GetTemplateParams(TcxCustomGridRecord* ARecord, TcxExportVisualItem& ATemplate,
                                               TcxViewParams& AParams) {
  if (TcxGridColumn* column = ATemplate.SourceObject().AsColumn()) {
    TableView()->Styles()->GetContentParams(ARecord, column, AParams);
    return;
  }
  AParams = TcxViewParams();
  AParams.Color = 0;
  AParams.TextColor = 0;
}

bool TcxGridTableViewExport::HasPreview() const {
  const TcxGridPreview& preview = TableView()->Preview();
  return preview.Visible && preview.Column();
}

// --- Layout -------------------------------------------------------------------

void TcxGridTableViewExport::LayOut() {
  int top = 0, left = 0;
  ExportHeader(top, left);
  ExportRecords(top, left);
  left = 0;
  ExportFooter(top, left);
  MergeColumnCells();
}

void TcxGridTableViewExport::ExportHeader(int& ATop, int& /*ALeft*/) {
  TcxGridTableViewInfo* info = TableViewInfo();
  const TcxGridTableView* view = TableView();
  FDataWidth = info->DataWidth();
  const TcxGridHeaderViewInfo& header = info->HeaderViewInfo();
  const bool showHeader = view->OptionsView.Header;
  const bool feedsScales = header.Visible() && showHeader;
  const int dy = ATop - header.Bounds().Top;
  int minTop = INT_MAX;
  for (int i = 0; i < header.Count(); ++i) {
    const TcxGridColumnHeaderViewInfo& cell = header.Items(i);
    TcxGridColumn* column = cell.Column();
    TRect r = cell.Bounds().Offset(HeaderOffset(column), dy);
    minTop = std::min(minTop, r.Top);
    TcxExportVisualItem* item = AddTextItem(feedsScales ? r : TRect(), cell.Text(), false, clBtnShadow,
                                            cxBorderSidesAll, cell.AlignmentHorz(), cell.Params());
    item->CellBounds = r;
    item->IsHidden = !showHeader;
    item->SetSourceObject(TcxExportObjectRef::Column(column));
    ATop = std::max(ATop, r.Bottom);
    AddTemplate(r, TcxExportObjectRef::Column(column), TcxExportObjectRef());
  }
  // Templates become positions inside one record: the record is as high as
  // the header area and its cells sit where the headers sit.  A view without
  // a visible column has no header to measure; its records take the data
  // row height of the layout.
  int recordHeight = 0;
  if (minTop != INT_MAX) {
    recordHeight = ATop - minTop;
    for (TcxExportVisualItem& t : FCellTemplates) {
      t.CellBounds = t.CellBounds.Offset(0, -minTop);
      t.CellBounds.Top = std::max(t.CellBounds.Top, 0);
      t.CellBounds.Bottom = std::min(t.CellBounds.Bottom, recordHeight);
    }
  }
  FDataRowHeight = recordHeight != 0 ? recordHeight : info->DataRowHeight();
  FBaseRowHeight = FDataRowHeight;
  if (!showHeader) ATop = 0;
}

void TcxGridTableViewExport::ExportRecords(int& ATop, int& ALeft) {
  int done = 0;
  for (TcxCustomGridRecord* record : FExportRecords) {
    ReportRecordsLaidOut(done++);
    ALeft = 0;
    if (dynamic_cast<TcxGridGroupRow*>(record))
      ExportGroupRow(ATop, ALeft, record);
    else if (dynamic_cast<TcxGridMasterDataRow*>(record))
      ExportMasterRow(ATop, ALeft, record);
    else if (dynamic_cast<TcxGridDataRow*>(record))
      ExportDataRow(ATop, ALeft, record);
    ExportGroupFooters(ATop, ALeft, record);
  }
}

void TcxGridTableViewExport::ExportDataRow(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord) {
  ALeft = ExportIndent(ATop, FDataRowHeight + PreviewHeight(ARecord), ARecord, ARecord->Expandable(), -1);
  const TcxGridPreview& preview = TableView()->Preview();
  if (preview.Place == ppTop && HasPreview()) ExportPreview(ATop, ALeft, ARecord);
  ExportRowCells(ATop, ALeft, ARecord);
  ATop += FDataRowHeight;
  if (preview.Place == ppBottom && HasPreview()) ExportPreview(ATop, ALeft, ARecord);
}

int TcxGridTableViewExport::DataCellStyle(size_t ATemplateIndex, const TcxViewParams& AParams, TAlignment AAlignment,
                                          bool AIsFill) {
  const TFont& font = AParams.Font ? *AParams.Font : DefaultFont();
  if (FDataStyles.size() <= ATemplateIndex) FDataStyles.resize(ATemplateIndex + 1);
  TDataStyleCache& cache = FDataStyles[ATemplateIndex];
  if (cache.Valid && cache.Color == AParams.Color && cache.TextColor == AParams.TextColor &&
      cache.Bitmap == AParams.Bitmap && cache.Alignment == AAlignment && cache.Font == font)
    return cache.StyleIndex;
  cache.StyleIndex =
      FExportProvider->AddStyle(AIsFill ? StyleFromParams(AParams, clDefault, 0, AAlignment)
                                        : StyleFromParams(AParams, GridLineColor(), GridLineSides(), AAlignment));
  cache.Valid = true;
  cache.Color = AParams.Color;
  cache.TextColor = AParams.TextColor;
  cache.Bitmap = AParams.Bitmap;
  cache.Alignment = AAlignment;
  cache.Font = font;
  return cache.StyleIndex;
}

namespace {

// Whether the column templates cover every pixel of ABounds.
bool CoveredByColumns(const TRect& ABounds, const std::deque<TcxExportVisualItem>& ATemplates) {
  std::vector<TRect> parts;
  std::vector<int32_t> xs{ABounds.Left, ABounds.Right}, ys{ABounds.Top, ABounds.Bottom};
  for (const TcxExportVisualItem& t : ATemplates) {
    if (!t.SourceObject().AsColumn() || t.CellBounds.IsEmpty()) continue;
    const TRect& r = t.CellBounds;
    if (r.Right <= ABounds.Left || r.Left >= ABounds.Right || r.Bottom <= ABounds.Top || r.Top >= ABounds.Bottom)
      continue;
    parts.push_back(r);
    xs.insert(xs.end(), {r.Left, r.Right});
    ys.insert(ys.end(), {r.Top, r.Bottom});
  }
  std::sort(xs.begin(), xs.end());
  std::sort(ys.begin(), ys.end());
  for (size_t i = 0; i + 1 < xs.size(); ++i)
    for (size_t j = 0; j + 1 < ys.size(); ++j) {
      const int32_t x = xs[i], y = ys[j];
      if (x == xs[i + 1] || y == ys[j + 1] || x < ABounds.Left || x >= ABounds.Right || y < ABounds.Top ||
          y >= ABounds.Bottom)
        continue;
      if (std::none_of(parts.begin(), parts.end(),
                       [&](const TRect& r) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }))
        return false;
    }
  return true;
}

}  // namespace

void TcxGridTableViewExport::FindRowCellTemplates() {
  FRowCellTemplates.clear();
  FIsRowCellTemplate.assign(FCellTemplates.size(), kOwnItem);
  for (size_t i = 0; i < FCellTemplates.size(); ++i) {
    const TcxExportVisualItem& t = FCellTemplates[i];
    TcxGridColumn* column = t.SourceObject().AsColumn();
    if (column && !column->Options.CellMerging) {
      FRowCellTemplates.push_back(i);
      FIsRowCellTemplate[i] = kRowCell;
    } else if (!column && CoveredByColumns(t.CellBounds, FCellTemplates)) {
      // A band's area that its cells cover whole would be written over in
      // every record (the cells come later and take every cell's style):
      // it is left out, which changes nothing written and saves a fill per
      // record and band.
      FIsRowCellTemplate[i] = kCoveredFill;
    }
  }
  if (FDataStyles.size() < FCellTemplates.size()) FDataStyles.resize(FCellTemplates.size());
  FRowCellStyles.reserve(FExportRecords.size() * FRowCellTemplates.size());
  FRowCellTemplatesKnown = true;
}

void TcxGridTableViewExport::ExportRowCells(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord) {
  if (!FRowCellTemplatesKnown) FindRowCellTemplates();
  TcxGridTableViewStyles* styles = TableView()->Styles();
  bool rowCellsAdded = false;
  for (size_t i = 0; i < FCellTemplates.size(); ++i) {
    TcxExportVisualItem& t = FCellTemplates[i];
    TRect r = TemplateRect(t, ATop, ALeft);
    TcxViewParams params;
    if (TcxGridColumn* column = t.SourceObject().AsColumn()) {
      styles->GetContentParams(ARecord, column, params);
      TAlignment alignment = column->GetProperties(ARecord)->Alignment.Horz;
      const int style = DataCellStyle(i, params, alignment);
      if (FIsRowCellTemplate[i] != kRowCell) {
        AddDataItem(r, style, ARecord, column);
        continue;
      }
      if (!rowCellsAdded) {
        // One item for the cells of this record, at the place of the first.
        TcxExportVisualItem& item = FExportItems.emplace_back();
        item.CellBounds = TRect{ALeft, ATop, ALeft, ATop};
        item.CellStyleIndex = style;
        item.SetSourceObject(TcxExportObjectRef::Record(ARecord));
        item.SetValueObject(
            TcxExportObjectRef::Integer(static_cast<intptr_t>(FRowCellStyles.size()), TcxExportObjectRef::okRowCells));
        rowCellsAdded = true;
      }
      FRowCellStyles.push_back(style);
      FeedScales(r);
    } else if (FIsRowCellTemplate[i] != kCoveredFill) {
      // Band areas: a fill without text or sides behind the cells.
      GetTemplateParams(ARecord, t, params);
      AddItem(r, std::string(), true, DataCellStyle(i, params, taLeftJustify, true));
    }
  }
}

TcxExportCellStyle TcxGridTableViewExport::ExpandButtonStyle(TcxBorderSides ASides) const {
  TcxExportCellStyle style = DefaultExportStyle();
  uint32_t color = ResolveExportColor(GridLineColor());
  for (int side = cxBorderLeft; side <= cxBorderBottom; ++side) {
    TcxExportCellBorder& border = style.CellBorders[static_cast<size_t>(side)];
    if (ASides & (1 << side)) {
      border = {0, 1, color};
    } else {
      border.IsDefault = 1;
      border.Width = 0;
    }
  }
  style.BrushBkColor = ResolveExportColor(clBtnFace);
  return style;
}

int TcxGridTableViewExport::ExportIndent(int ATop, int AHeight, TcxCustomGridRecord* ARecord, bool AWithExpandCell,
                                         int ALevel) {
  const int indent = TableViewInfo()->LevelIndent();
  if (ALevel == -1) ALevel = ARecord->Level() - 1 + (AWithExpandCell ? 1 : 0);
  TcxCustomGridRecord* record = ARecord;
  while (ALevel >= 0 && record && record->Level() > ALevel) record = record->ParentRecord();
  TRect r{ALevel * indent, ATop, (ALevel + 1) * indent, ATop + AHeight};
  // The indent column is closed at the bottom only under the view's last
  // row, and not under an expanded row (its children follow below it).
  TcxBorderSides sides = GridLineSides();
  if (!ARecord->IsLast() || (AWithExpandCell && record && record->Expanded()))
    sides &= static_cast<TcxBorderSides>(~cxBorderSideBottom);
  TcxGridTableViewStyles* styles = TableView()->Styles();
  for (int level = ALevel; level >= 0; --level) {
    if (AWithExpandCell && level == ALevel) {
      const char* text = record && record->Expanded() ? "-" : "+";
      int style = FExportProvider->AddStyle(ExpandButtonStyle(sides));
      record = record ? record->ParentRecord() : nullptr;
      AddItem(r, text, false, style);
    } else {
      TcxViewParams params;
      if (dynamic_cast<TcxGridGroupRow*>(record))
        styles->GetGroupParams(record, level, params);
      else
        styles->GetContentParams(record, nullptr, params);
      TcxExportCellStyle style = StyleFromParams(params, GridLineColor(),
                                                 sides & static_cast<TcxBorderSides>(~cxBorderSideTop), taLeftJustify);
      record = record ? record->ParentRecord() : nullptr;
      AddItem(r, std::string(), false, FExportProvider->AddStyle(style));
    }
    r = r.Offset(-indent, 0);
  }
  return (ALevel + 1) * indent;
}

void TcxGridTableViewExport::ExportMasterRow(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord) {
  ExportDataRow(ATop, ALeft, ARecord);
  if (!ARecord->Expanded() || !FHasCellCache) return;
  ALeft = ExportIndent(ATop, FBaseRowHeight, ARecord, false, ARecord->Level());
  TcxExportVisualItem* item =
      AddDataItem(TRect{ALeft, ATop, FDataWidth, ATop + FBaseRowHeight}, FBaseStyleIndex, ARecord, nullptr);
  item->IsHidden = true;
  ATop += FBaseRowHeight;
}

void TcxGridTableViewExport::ExportPreview(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord) {
  TcxGridColumn* column = TableView()->Preview().Column();
  TcxViewParams params;
  TableView()->Styles()->GetContentParams(ARecord, column, params);
  TRect r{ALeft, ATop, FDataWidth, ATop + PreviewHeight(ARecord)};
  Variant value;
  TcxCustomEditProperties* properties = nullptr;
  GetCellValue(ARecord, column, value, properties);
  std::string text = value.IsEmptyOrNull() ? std::string() : value.AsString();
  AddTextItem(r, text, false, GridLineColor(), GridLineSides(), properties->Alignment.Horz, params);
  ATop = r.Bottom;
}

int TcxGridTableViewExport::PreviewHeight(TcxCustomGridRecord* ARecord) {
  if (!HasPreview()) return 0;
  if (ARecord == FPreviewRecord) return FPreviewHeight;
  const TcxGridPreview& preview = TableView()->Preview();
  int height = FBaseRowHeight * preview.MaxLineCount;
  if (preview.AutoHeight) {
    TcxGridColumn* column = preview.Column();
    TcxViewParams params;
    TableView()->Styles()->GetContentParams(ARecord, column, params);
    Variant value;
    TcxCustomEditProperties* properties = nullptr;
    GetCellValue(ARecord, column, value, properties);
    std::string text = value.IsEmptyOrNull() ? std::string() : value.AsString();
    int measured = WrappedTextHeight(params.Font ? *params.Font : DefaultFont(), text, FDataWidth) + 6;
    height = preview.MaxLineCount > 0 ? std::min(height, measured) : measured;
  }
  FPreviewRecord = ARecord;
  FPreviewHeight = height;
  return height;
}

}  // namespace kv
