// TcxGridCustomExport: cell areas of pixel rectangles, cell styles made from
// a view's style parameters, and the writers of filled, outlined, valued and
// merged areas.
#include <algorithm>

#include "export/GridCustomExport.h"
#include "gridpack/CustomTableView.h"
#include "gridpack/EditProperties.h"
#include "gridpack/GridRecords.h"
#include "platform/TextMetrics.h"

namespace kv {

uint8_t ExportAlignment(TAlignment AAlignment) {
  switch (AAlignment) {
    case taRightJustify:
      return catRight;
    case taCenter:
      return catCenter;
    default:
      return catLeft;
  }
}

TcxCellArea TcxGridCustomExport::CellSpan(const TRect& ABounds) const {
  TcxCellArea area;
  FColumnScale.GetSpan(ABounds.Left, ABounds.Right, area.Left, area.Right);
  FRowScale.GetSpan(ABounds.Top, ABounds.Bottom, area.Top, area.Bottom);
  return area;
}

void TcxGridCustomExport::FindSpan(const TcxExportScale& AScale, int32_t AStart, int32_t AFinish, int ALo, int AHi,
                                   TSpanHint& AHint, int& AStartIndex, int& AFinishIndex) {
  // The same answers as GetSpanWithin (boundaries are unique once arranged);
  // a guess is taken only when it lies in the searched range and holds the
  // coordinate.
  const std::vector<int32_t>& values = AScale.Items();
  const int last = static_cast<int>(values.size()) - 1;
  auto holds = [&](int AIndex, int32_t AValue, int ALow) {
    return AIndex >= ALow && AIndex <= AHi && AIndex <= last && values[static_cast<size_t>(AIndex)] == AValue;
  };
  if (holds(AHint.Finish, AStart, ALo))
    AStartIndex = AHint.Finish;
  else if (holds(AHint.Start, AStart, ALo))
    AStartIndex = AHint.Start;
  else
    AStartIndex = AScale.FindBoundary(AStart, ALo, AHi);
  const int span = AHint.Finish - AHint.Start;
  if (holds(AStartIndex + span, AFinish, AStartIndex))
    AFinishIndex = AStartIndex + span;
  else if (holds(AStartIndex + 1, AFinish, AStartIndex))
    AFinishIndex = AStartIndex + 1;
  else
    AFinishIndex = AScale.FindBoundary(AFinish, AStartIndex, AHi);
  AHint.Start = AStartIndex;
  AHint.Finish = AFinishIndex;
}

TcxCellArea TcxGridCustomExport::CellSpanWithin(const TRect& ABounds, const TcxCellArea& AIndexRange) const {
  TcxCellArea area;
  FindSpan(FColumnScale, ABounds.Left, ABounds.Right, AIndexRange.Left, AIndexRange.Right, FColumnHint, area.Left,
           area.Right);
  FindSpan(FRowScale, ABounds.Top, ABounds.Bottom, AIndexRange.Top, AIndexRange.Bottom, FRowHint, area.Top,
           area.Bottom);
  return area;
}

TcxCellArea TcxGridCustomExport::WholeGridRange() const {
  return {0, 0, FColumnScale.Count() - 1, FRowScale.Count() - 1};
}

TcxExportCellStyle TcxGridCustomExport::StyleFromParams(const TcxViewParams& AParams, TColor ABorderColor,
                                                        TcxBorderSides ABorderSides, TAlignment AAlignment) const {
  TcxExportCellStyle style = DefaultExportStyle();
  style.BrushBkColor = ResolveExportColor(AParams.Color);
  style.FontColor = ResolveExportColor(AParams.TextColor);
  const TFont& font = AParams.Font ? *AParams.Font : DefaultFont();
  style.SetFontName(font.Name);
  style.FontStyle = font.Style & (cfsBold | cfsItalic | cfsUnderline | cfsStrikeOut);
  style.FontSize = font.Size;
  style.FontCharset = font.Charset;
  style.AlignText = ExportAlignment(AAlignment);
  for (int side = cxBorderLeft; side <= cxBorderBottom; ++side) {
    TcxExportCellBorder& border = style.CellBorders[static_cast<size_t>(side)];
    border.IsDefault = ABorderColor == clDefault || !(ABorderSides & (1 << side));
    border.Width = border.IsDefault ? 0 : 1;
    if (!border.IsDefault) border.Color = ResolveExportColor(ABorderColor);
  }
  return style;
}

int TcxGridCustomExport::AddParamsStyle(const TcxViewParams& AParams, TAlignment AAlignment) {
  return FExportProvider->AddStyle(StyleFromParams(AParams, clDefault, 0, AAlignment));
}

int TcxGridCustomExport::AddFillStyle(TColor AColor) {
  TcxExportCellStyle style = FBaseStyle;
  style.BrushBkColor = ResolveExportColor(AColor);
  return FExportProvider->AddStyle(style);
}

int TcxGridCustomExport::AddViewFillStyle(int AStyleKind, TcxCustomGridTableItem* AItem) {
  TColor color = clNone;
  if (auto* view = dynamic_cast<TcxCustomGridTableView*>(FView)) {
    TcxViewParams params;
    view->Styles()->GetViewParams(AStyleKind, nullptr, AItem, params);
    color = params.Color;
  }
  return AddFillStyle(color);
}

void TcxGridCustomExport::FillCells(const TcxCellArea& AArea, int AStyleIndex, TcxBorderSides ABorderSides,
                                    TColor ABorderColor) {
  IcxExportProvider& provider = *FExportProvider;
  if (ABorderColor == clDefault || ABorderSides == 0) {
    for (int row = AArea.Top; row < AArea.Bottom; ++row)
      for (int col = AArea.Left; col < AArea.Right; ++col) provider.ApplyStyleIndex(col, row, AStyleIndex);
    return;
  }
  const TcxExportCellStyle plain = *provider.StyleAt(AStyleIndex);
  const uint32_t color = ResolveExportColor(ABorderColor);
  // The cells of one area take at most 16 different outlines; each is
  // registered once.
  int outlined[16];
  std::fill(std::begin(outlined), std::end(outlined), -1);
  for (int row = AArea.Top; row < AArea.Bottom; ++row) {
    for (int col = AArea.Left; col < AArea.Right; ++col) {
      TcxBorderSides edges = 0;
      if (col == AArea.Left) edges |= cxBorderSideLeft;
      if (row == AArea.Top) edges |= cxBorderSideTop;
      if (col == AArea.Right - 1) edges |= cxBorderSideRight;
      if (row == AArea.Bottom - 1) edges |= cxBorderSideBottom;
      edges &= ABorderSides;
      int& index = outlined[edges];
      if (index < 0) {
        TcxExportCellStyle style = plain;
        for (int side = cxBorderLeft; side <= cxBorderBottom; ++side)
          if (edges & (1 << side)) style.CellBorders[static_cast<size_t>(side)] = {0, 1, color};
        index = provider.AddStyle(style);
      }
      provider.ApplyStyleIndex(col, row, index);
    }
  }
}

void TcxGridCustomExport::FillBounds(const TRect& ABounds, int AStyleIndex, TcxBorderSides ABorderSides,
                                     TColor ABorderColor) {
  FillCells(CellSpan(ABounds), AStyleIndex, ABorderSides, ABorderColor);
}

void TcxGridCustomExport::WriteEmptyArea(const TRect& ABounds, const TcxCellArea& AIndexRange, int AStyleIndex) {
  WriteValueArea(ABounds, AIndexRange, Variant::Null(), AStyleIndex);
}

void TcxGridCustomExport::WriteValueArea(const TRect& ABounds, const TcxCellArea& AIndexRange, const Variant& AValue,
                                         int AStyleIndex) {
  TcxCellArea area = CellSpanWithin(ABounds, AIndexRange);
  CountCell();
  if (!AValue.IsNull()) FExportProvider->PutValue(area.Left, area.Top, AValue);
  FExportProvider->ApplyMergedStyle(area.Left, area.Top, area.RowSpan(), area.ColSpan(), AStyleIndex);
}

void TcxGridCustomExport::WriteItemArea(const TRect& ABounds, const TcxCellArea& AIndexRange,
                                        TcxCustomGridTableItem* AItem, TcxCustomGridRecord* ARecord, int AStyleIndex) {
  TcxCellArea area = CellSpanWithin(ABounds, AIndexRange);
  CountCell();
  if (AItem) {
    if (!(FExportProvider->AcceptsGraphics() && WritePicture(area.Left, area.Top, AItem, ARecord))) {
      Variant value;
      TcxCustomEditProperties* properties = nullptr;
      GetCellValue(ARecord, AItem, value, properties);
      FExportProvider->PutValue(area.Left, area.Top, value);
    }
  }
  FExportProvider->ApplyMergedStyle(area.Left, area.Top, area.RowSpan(), area.ColSpan(), AStyleIndex);
}

void TcxGridCustomExport::PutStyledValue(int ACol, int ARow, const TcxExportCellStyle& AStyle, const Variant& AValue) {
  FExportProvider->PutValue(ACol, ARow, AValue);
  FExportProvider->ApplyStyle(ACol, ARow, AStyle);
}

bool TcxGridCustomExport::WritePicture(int ACol, int ARow, TcxCustomGridTableItem* AItem,
                                       TcxCustomGridRecord* ARecord) {
  auto* properties = dynamic_cast<TcxImageProperties*>(AItem->GetProperties(ARecord));
  if (!properties) return false;
  std::unique_ptr<TGraphic> picture = properties->LoadPicture(ARecord->Values(AItem->Index()));
  if (picture && !picture->Empty()) FExportProvider->PutGraphic(ACol, ARow, *picture);
  return true;
}

int TcxGridCustomExport::FontRowHeight(const TFont& AFont) { return TextExtent(AFont, "Wg").cy + 4; }

int TcxGridCustomExport::FontRowHeight(const TcxViewParams& AParams) {
  return FontRowHeight(AParams.Font ? *AParams.Font : DefaultFont());
}

int TcxGridCustomExport::TextWidthPlus(const TFont& AFont, const std::string& AText) {
  return TextWidth(AFont, AText) + 4;
}

int TcxGridCustomExport::TextWidthPlus(const TcxViewParams& AParams, const std::string& AText) {
  return TextWidthPlus(AParams.Font ? *AParams.Font : DefaultFont(), AText);
}

}  // namespace kv
