// Excel workbook provider: cell values and styles in, workbook file out.
#include "writers/xls/XLSExportProvider.h"

#include <algorithm>
#include <cmath>

#include "export/core/ExportEngine.h"
#include "export/core/ExportHelpers.h"
#include "export/core/ExportRegistry.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Screen.h"
#include "writers/xls/XLSErrors.h"

namespace kv::xls {

namespace {

constexpr uint16_t StreamGlobals = 0x0005;
constexpr uint16_t StreamWorksheet = 0x0010;
// Longest text kept in a LABEL record; longer texts go to the shared strings.
constexpr size_t MaxLabelWide = 127;
constexpr size_t MaxLabel8 = 255;

template <typename C>
std::basic_string<C> WithoutCarriageReturns(std::basic_string_view<C> AText) {
  std::basic_string<C> out;
  out.reserve(AText.size());
  for (C ch : AText)
    if (ch != 13) out.push_back(ch);
  return out;
}
std::string WithoutCarriageReturns(std::string_view AText) { return WithoutCarriageReturns<char>(AText); }
std::u16string WithoutCarriageReturns(std::u16string_view AText) { return WithoutCarriageReturns<char16_t>(AText); }

// The characters of UTF-8 text that decodes without replacements: its bytes
// that start a character.
size_t CharacterCount(std::string_view AText) {
  size_t n = 0;
  for (char c : AText)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

// Code pages in which every character of decodable UTF-8 takes one or two
// bytes (the double-byte Asian code pages and the single-byte ones).
bool AtMostTwoBytesPerCharacter(int ACodePage) {
  return ACodePage == 932 || ACodePage == 936 || ACodePage == 949 || ACodePage == 950 || ACodePage == 874 ||
         (ACodePage >= 1250 && ACodePage <= 1258);
}

uint16_t ClampU16(double AValue) { return static_cast<uint16_t>(std::clamp(AValue, 0.0, 65535.0)); }

size_t NumberKindSlot(const TcxXLSCell& ACell, bool AMerged) {
  return static_cast<size_t>(ACell.NumberKind) * 2 + (AMerged ? 1 : 0);
}

}  // namespace

TcxXLSExportProvider::TcxXLSExportProvider(const std::string& AFileName)
    : TcxCustomExportProvider(AFileName),
      FSheetTitle(WideChangeFileExt(WideExtractFileName(FTargetName), u"")),
      FPalette(DefaultExportStyle().BrushBkColor) {
  if (FileExists(AFileName)) DeleteFile(AFileName);
  FFile = std::make_unique<TFileStream>(AFileName, fmCreate);
  FStyleSource = TcxExportStyleManager::Acquire(AFileName);
  FScreenScale = std::max(1.0, ScreenPixelsPerInch() / 96.0);
}

TcxXLSExportProvider::~TcxXLSExportProvider() {
  FFile.reset();
  if (FStyleSource) FStyleSource->Release();
}

bool TcxXLSExportProvider::IsValidCell(int ACol, int ARow) const {
  if (FColumnTotal < 0) RaiseInvalidCellDimension();
  return ACol >= 0 && ACol < FColumnTotal && ARow >= 0 && ARow < FRowTotal;
}

int TcxXLSExportProvider::StyleIndexOfCell(int ACol, int ARow) {
  TcxXLSCell& cell = Cell(ACol, ARow);
  if (!cell.IsLocked()) return cell.XF();
  for (auto it = FAreaStyles.rbegin(); it != FAreaStyles.rend(); ++it) {
    const TcxXLSMergedRange& r = it->Range;
    if (ACol >= r.FirstCol && ACol <= r.LastCol && ARow >= r.FirstRow && ARow <= r.LastRow) return it->StyleIndex;
  }
  return 0;  // not reached: a locked cell lies in an area
}

const TcxExportCellStyle* TcxXLSExportProvider::CellStyleAt(int ACol, int ARow) {
  if (!IsValidCell(ACol, ARow)) return nullptr;
  return FStyleSource->StyleAt(StyleIndexOfCell(ACol, ARow));
}

const TcxExportCellStyle* TcxXLSExportProvider::StyleAt(int AStyleIndex) { return FStyleSource->StyleAt(AStyleIndex); }

int TcxXLSExportProvider::AddStyle(const TcxExportCellStyle& AStyle) { return FStyleSource->AddStyle(AStyle); }

void TcxXLSExportProvider::DefineDefaultStyle(const TcxExportCellStyle& AStyle) { AddStyle(AStyle); }

void TcxXLSExportProvider::PutDouble(int ACol, int ARow, double AValue) {
  if (IsValidCell(ACol, ARow)) FCellTable.SetNumber(Cell(ACol, ARow), AValue);
}

void TcxXLSExportProvider::PutInteger(int ACol, int ARow, int32_t AValue) {
  if (IsValidCell(ACol, ARow)) FCellTable.SetNumber(Cell(ACol, ARow), static_cast<double>(AValue));
}

void TcxXLSExportProvider::PutBoolean(int ACol, int ARow, bool AValue) {
  if (IsValidCell(ACol, ARow)) FCellTable.SetBoolean(Cell(ACol, ARow), AValue);
}

void TcxXLSExportProvider::PutCurrency(int ACol, int ARow, int64_t ATenThousandths) {
  if (IsValidCell(ACol, ARow))
    FCellTable.SetNumber(Cell(ACol, ARow), static_cast<double>(ATenThousandths) / 10000.0, TcxXLSNumberKind::Currency);
}

void TcxXLSExportProvider::PutDateTime(int ACol, int ARow, double AValue) {
  if (!IsValidCell(ACol, ARow)) return;
  // The workbook counts 1900-02-29 as a day: dates up to 1900-02-28 (day 60
  // here) are one lower there.
  double x = AValue;
  if (std::trunc(x) != 0 && std::floor(x) <= 60) x -= 1;
  double whole = std::trunc(x);
  TcxXLSNumberKind kind = whole == 0       ? TcxXLSNumberKind::TimeOnly
                          : x - whole == 0 ? TcxXLSNumberKind::DateOnly
                                           : TcxXLSNumberKind::DateTime;
  FCellTable.SetNumber(Cell(ACol, ARow), x, kind);
}

void TcxXLSExportProvider::PutWideCell(TcxXLSCell& ACell, std::u16string_view AText, size_t AUnits) {
  if (AUnits <= MaxLabelWide)
    FCellTable.SetLabel16(ACell, AText);
  else
    FCellTable.SetLabelSST(ACell, FSharedStrings.AddString(AText));
}

void TcxXLSExportProvider::PutText(int ACol, int ARow, const std::string& AText) { PutText8(ACol, ARow, AText); }

void TcxXLSExportProvider::PutText8(int ACol, int ARow, std::string_view AText) {
  if (!IsValidCell(ACol, ARow) || AText.empty()) return;
  TcxXLSCell& cell = Cell(ACol, ARow);
  const bool hasReturns = AText.find('\r') != std::string_view::npos;
  if (IsSevenBit(AText)) {
    // 7-bit text is the same in every code page.
    if (AText.size() > MaxLabel8) {
      FCellTable.SetLabelSST(cell, FSharedStrings.AddString(Utf8ToUtf16(WithoutCarriageReturns(AText))));
    } else if (!hasReturns) {
      FCellTable.SetLabel8(cell, AText);
    } else {
      FCellTable.SetLabel8(cell, WithoutCarriageReturns(AText));
    }
    return;
  }
  // Lengths count the bytes of the text in the system code page.  The text
  // is Unicode already, so the cell font's character set does not change
  // its UTF-16 form.  Where the code page takes one or two bytes per
  // character the count of characters mostly decides without encoding.
  const int codePage = SystemCodePage();
  if (!hasReturns && TryUtf8ToUtf16(AText, FWideText)) {
    const size_t characters = CharacterCount(AText);
    size_t bytes;
    if (codePage == CP_UTF8)
      bytes = AText.size();
    else if (AtMostTwoBytesPerCharacter(codePage) && 2 * characters <= MaxLabelWide)
      bytes = 2 * characters;  // at most
    else if (AtMostTwoBytesPerCharacter(codePage) && characters > MaxLabelWide)
      bytes = characters;  // at least
    else
      bytes = EncodedLength(AText, codePage);
    PutWideCell(cell, FWideText, bytes);
    return;
  }
  size_t n = EncodedLength(AText, codePage);
  PutWideCell(cell, AnsiToWideText(WithoutCarriageReturns(AText), 0), n);
}

void TcxXLSExportProvider::PutWideText(int ACol, int ARow, const std::u16string& AText) {
  if (!IsValidCell(ACol, ARow) || AText.empty()) return;
  TcxXLSCell& cell = Cell(ACol, ARow);
  if (AText.find(u'\r') == std::u16string::npos)
    PutWideCell(cell, AText, AText.size());
  else
    PutWideCell(cell, WithoutCarriageReturns(AText), AText.size());
}

void TcxXLSExportProvider::PutValue(int ACol, int ARow, const Variant& AValue) {
  switch (AValue.VarType()) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
      PutInteger(ACol, ARow, static_cast<int>(AValue.RawInt()));
      break;
    case varLongWord:  // above the 32-bit signed range: the value as it is
    case varSingle:
    case varDouble:
    case varInt64:
      PutDouble(ACol, ARow, AValue.AsDouble());
      break;
    case varCurrency:
      PutCurrency(ACol, ARow, AValue.RawInt());
      break;
    case varDate:
    case varSQLTimeStamp:
      PutDateTime(ACol, ARow, AValue.AsDateTime());
      break;
    case varOleStr:
      PutWideText(ACol, ARow, AValue.RawWide());
      break;
    case varBoolean:
      PutBoolean(ACol, ARow, AValue.AsBoolean());
      break;
    case varString:
      if (AValue.RawText().find('\r') == std::string::npos)
        PutText8(ACol, ARow, AValue.RawText());
      else
        PutText8(ACol, ARow, WithoutCarriageReturns(AValue.RawText()));
      break;
    case varFMTBcd:
      if (AValue.BcdFitsCurrency())
        PutValue(ACol, ARow, Variant::Currency(AValue.AsCurrency()));
      else
        PutValue(ACol, ARow, Variant(AValue.AsDouble()));
      break;
    default:
      break;
  }
}

void TcxXLSExportProvider::ApplyStyleIndex(int ACol, int ARow, int AStyleIndex) {
  if (!IsValidCell(ACol, ARow)) return;
  TcxXLSCell& cell = Cell(ACol, ARow);
  if (cell.IsLocked()) return;
  // The cell keeps the index in its 16-bit XF field until Finish.
  if (AStyleIndex < 0 || AStyleIndex > 0xFFFF) RaiseListIndexError(AStyleIndex);
  cell.SetXF(static_cast<uint16_t>(AStyleIndex));
}

void TcxXLSExportProvider::ApplyStyle(int ACol, int ARow, const TcxExportCellStyle& AStyle) {
  if (!IsValidCell(ACol, ARow)) return;
  ApplyStyleIndex(ACol, ARow, AddStyle(AStyle));
}

void TcxXLSExportProvider::CopyCellStyle(int ACol, int ARow, int ASourceCol, int ASourceRow) {
  if (!IsValidCell(ASourceCol, ASourceRow)) return;
  TcxExportCellStyle style = *CellStyleAt(ASourceCol, ASourceRow);  // a copy: the list may grow
  ApplyStyle(ACol, ARow, style);
}

bool TcxXLSExportProvider::CutArea(int ACol, int ARow, int ARowSpan, int AColSpan, TcxXLSMergedRange& ARange) const {
  if (!IsValidCell(ACol, ARow)) return false;
  int64_t cols = std::min<int64_t>({AColSpan, int64_t(cxXLSMaxColumns) - ACol, int64_t(FColumnTotal) - ACol});
  int64_t rows = std::min<int64_t>({ARowSpan, int64_t(cxXLSMaxRows) - ARow, int64_t(FRowTotal) - ARow});
  if (cols < 1 || rows < 1) return false;
  ARange = {static_cast<uint16_t>(ARow), static_cast<uint16_t>(ARow + rows - 1), static_cast<uint16_t>(ACol),
            static_cast<uint16_t>(ACol + cols - 1)};
  return true;
}

void TcxXLSExportProvider::MergeCells(int ACol, int ARow, int ARowSpan, int AColSpan) {
  TcxXLSMergedRange range;
  if (CutArea(ACol, ARow, ARowSpan, AColSpan, range)) FMergedAreas.push_back(range);
}

void TcxXLSExportProvider::ApplyMergedStyle(int ACol, int ARow, int ARowSpan, int AColSpan, int AStyleIndex) {
  if (ARowSpan == 1 && AColSpan == 1) {
    ApplyStyleIndex(ACol, ARow, AStyleIndex);
    return;
  }
  TcxXLSMergedRange range;
  if (!CutArea(ACol, ARow, ARowSpan, AColSpan, range)) return;
  FMergedAreas.push_back(range);
  // The number format comes from the value the top-left cell holds now.
  uint16_t xf = CachedXFIndexOf(AStyleIndex, Cell(ACol, ARow), true);
  FAreaStyles.push_back({range, AStyleIndex});
  for (int c = range.FirstCol; c <= range.LastCol; ++c) {
    for (int r = range.FirstRow; r <= range.LastRow; ++r) {
      TcxXLSCell& cell = Cell(c, r);
      cell.Locked = 1;
      cell.SetXF(xf);
    }
  }
}

void TcxXLSExportProvider::DefineColumnWidth(int ACol, int AWidth) {
  if (ACol < 0 || ACol >= cxXLSMaxColumns) return;
  double width = std::nearbyint(AWidth * 36.6 / FScreenScale);
  FColumnInfos.Add(BuildColInfoRecord(static_cast<uint16_t>(ACol), ClampU16(width)));
}

void TcxXLSExportProvider::DefineRowHeight(int ARow, int AHeight) {
  if (ARow < 0 || ARow >= cxXLSMaxRows) return;
  double height = std::nearbyint(AHeight * 20 / (1.325 * FScreenScale));
  FRowInfos.Add(BuildRowRecord(static_cast<uint16_t>(ARow), ClampU16(height)));
}

void TcxXLSExportProvider::DefineGrid(int AColCount, int ARowCount, bool AShowGridLines) {
  AColCount = std::max(AColCount, 0);
  ARowCount = std::max(ARowCount, 0);
  FColumnsCut = std::max(0, AColCount - cxXLSMaxColumns);
  FRowsCut = std::max(0, ARowCount - cxXLSMaxRows);
  FColumnTotal = std::min(AColCount, cxXLSMaxColumns);
  FRowTotal = std::min(ARowCount, cxXLSMaxRows);
  FShowGrid = AShowGridLines;
  FCellTable.Resize(FColumnTotal, FRowTotal);
}

void TcxXLSExportProvider::PutGraphic(int, int, TGraphic&) {}

uint16_t TcxXLSExportProvider::FontIndexOf(const TcxExportCellStyle& AStyle) {
  TcxXLSFontFields font;
  std::u16string wideName = Utf8ToUtf16(AStyle.FontNameText());
  font.Name = wideName;
  font.Height = static_cast<uint16_t>(AStyle.FontSize * 20);
  font.Bold = AStyle.FontStyle & cfsBold;
  font.Italic = AStyle.FontStyle & cfsItalic;
  font.Underline = AStyle.FontStyle & cfsUnderline;
  font.StrikeOut = AStyle.FontStyle & cfsStrikeOut;
  font.ColorIndex = FPalette.PaletteIndexOf(AStyle.FontColor, TcxXLSColorUse::Font);
  font.Charset = static_cast<uint8_t>(AStyle.FontCharset);
  return static_cast<uint16_t>(FFontList.AddOrFind(BuildFontRecord(font)) + cxFirstUserFont);
}

uint16_t TcxXLSExportProvider::XFIndexOf(const TcxExportCellStyle& AStyle, const TcxXLSCell& ACell, bool AMerged) {
  TcxXLSXFFields xf;
  xf.Font = FontIndexOf(AStyle);
  xf.Format = TcxXLSCellsData::NumberFormatOf(ACell);
  xf.AlignText = static_cast<uint8_t>(AStyle.AlignText & 0x03);
  xf.Merged = AMerged;
  // Sides in the style's order: left, top, right, bottom.
  TcxXLSBorderSide* sides[4] = {&xf.Left, &xf.Top, &xf.Right, &xf.Bottom};
  for (int i = 0; i < 4; ++i) {
    const TcxExportCellBorder& border = AStyle.CellBorders[i];
    if (border.IsDefault == 0 && border.Width > 0) {
      sides[i]->Style = BorderLineStyle(border.Width);
      sides[i]->Color = static_cast<uint8_t>(FPalette.PaletteIndexOf(border.Color, TcxXLSColorUse::Border));
    }
  }
  if (AStyle.BrushStyle != 0) {
    uint16_t c = FPalette.PaletteIndexOf(AStyle.BrushBkColor, TcxXLSColorUse::Fill);
    if (c != TcxXLSPalette::AutoColor) {
      xf.FillPattern = AStyle.BrushStyle;
      xf.FillForeground = static_cast<uint8_t>(c);
    }
  }
  return static_cast<uint16_t>(FXFList.AddOrFind(BuildXFRecord(xf)) + cxFirstUserXF);
}

uint16_t TcxXLSExportProvider::CachedXFIndexOf(int AStyleIndex, const TcxXLSCell& ACell, bool AMerged) {
  if (size_t(AStyleIndex) < FXFCache.size()) {
    uint32_t slot = FXFCache[size_t(AStyleIndex)][NumberKindSlot(ACell, AMerged)];
    if (slot != 0) return static_cast<uint16_t>(slot - 1);
  }
  const TcxExportCellStyle& style = *StyleAt(AStyleIndex);  // raises for an unregistered index
  if (FXFCache.size() <= size_t(AStyleIndex)) FXFCache.resize(size_t(AStyleIndex) + 1, {});
  uint32_t xf = XFIndexOf(style, ACell, AMerged);
  FXFCache[size_t(AStyleIndex)][NumberKindSlot(ACell, AMerged)] = xf + 1;
  return static_cast<uint16_t>(xf);
}

int64_t TcxXLSExportProvider::WorkbookStreamSize() const {
  return cxFixedRecordsSize + FXFList.TotalSize() + FFontList.TotalSize() +
         2 * int64_t(std::min<size_t>(FSheetTitle.size(), 255)) + FSharedStrings.TotalSize() +
         FColumnInfos.TotalSize() + FRowInfos.TotalSize() + FCellTable.TotalSize() +
         MergedCellsSize(FMergedAreas.size());
}

void TcxXLSExportProvider::WriteGlobals(TcxXLSByteSink& ASink, int64_t AStreamStart) {
  WriteBOF(ASink, StreamGlobals);
  WriteGlobalsHead(ASink);
  FFontList.WriteTo(ASink);
  WriteDefaultXFs(ASink);
  FXFList.WriteTo(ASink);
  FPalette.WriteTo(ASink);
  WriteBuiltInStyles(ASink);
  int64_t sheetPositionField = WriteBoundSheet(ASink, FSheetTitle);
  FSharedStrings.WriteTo(ASink, AStreamStart);
  WriteExternals(ASink);
  WriteEOF(ASink);
  // The worksheet's BOF follows: its position within the stream.
  ASink.PatchU32(sheetPositionField, static_cast<uint32_t>(ASink.Position() - AStreamStart));
}

void TcxXLSExportProvider::WriteWorksheet(TcxXLSByteSink& ASink) {
  WriteBOF(ASink, StreamWorksheet);
  WriteDimensions(ASink, static_cast<uint32_t>(std::max(FRowTotal, 0)),
                  static_cast<uint16_t>(std::max(FColumnTotal, 0)));
  WriteWindow2(ASink, FShowGrid);
  FColumnInfos.WriteTo(ASink);
  FRowInfos.WriteTo(ASink);
  FCellTable.WriteTo(ASink);
  WriteMergedCells(ASink, FMergedAreas);
  WriteEOF(ASink);
}

void TcxXLSExportProvider::Finish() {
  if (!FFile) RaiseWorkbookWrite();  // finished already
  // 1. The XF of every unlocked cell, column by column.
  for (int c = 0; c < FColumnTotal; ++c) {
    for (int r = 0; r < FRowTotal; ++r) {
      TcxXLSCell& cell = Cell(c, r);
      if (!cell.IsLocked()) cell.SetXF(CachedXFIndexOf(cell.XF(), cell, false));
    }
  }
  // 2. to 6. The size first, so that the container header is written once.
  const int64_t size = WorkbookStreamSize();
  {
    TcxXLSByteSink sink(*FFile, 1 << 18);
    FBookWriter.WriteContainerHeader(size, &sink);
    const int64_t start = sink.Position();
    WriteGlobals(sink, start);
    WriteWorksheet(sink);
    sink.Flush();
    if (sink.Position() - start != size) RaiseWorkbookWrite();
  }
  // 7. Close the file.
  FFile.reset();
  if (FRowsCut > 0 || FColumnsCut > 0) RaiseGridCut(FRowsCut, FColumnsCut);
}

}  // namespace kv::xls

namespace kv {

void RegisterXLSExportProvider() {
  TcxExport::RegisterProvider(TcxExportProviderClass::Of<xls::TcxXLSExportProvider>("TcxXLSExportProvider"));
}

}  // namespace kv
