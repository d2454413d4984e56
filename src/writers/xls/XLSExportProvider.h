// The Excel workbook provider (export kind 1).
//
// `TcxXLSExportProvider` receives a rectangle of styled cells through
// `IcxExportProvider` and writes it as a workbook: a compound document
// (CompoundDocument.h) holding one BIFF8 stream "Workbook" with the globals
// and a single worksheet.  While the export runs it keeps
//  - the cell table (CellTable.h): every cell's record in final form, the XF
//    field holding the cell's style index until `Finish` resolves it;
//  - the shared strings (SharedStringTable.h) for long and non-ASCII texts;
//  - COLINFO and ROW records, merged ranges;
// and `Finish` turns styles into de-duplicated FONT and XF records (palette
// colours from Palette.h), computes the stream's exact size, writes the
// container header once and then the stream straight behind it.
//
// The format holds 256 columns and 65,536 rows.  A larger grid is cut there;
// `Finish` writes what fits and then raises EcxExportData saying how many
// rows and columns were left out.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "export/core/ExportProvider.h"
#include "export/core/ExportStyleManager.h"
#include "platform/Streams.h"
#include "platform/Variant.h"
#include "writers/xls/BiffRecords.h"
#include "writers/xls/ByteSink.h"
#include "writers/xls/CellTable.h"
#include "writers/xls/CompoundDocument.h"
#include "writers/xls/Palette.h"
#include "writers/xls/SharedStringTable.h"

namespace kv::xls {

// Limits of a worksheet.
constexpr int cxXLSMaxColumns = 256;
constexpr int cxXLSMaxRows = 65536;

class TcxXLSExportProvider : public TcxCustomExportProvider, public IcxExportProvider {
 public:
  static int ExportKind() { return cxExportToExcel; }

  // Deletes a file of that name and creates it for exclusive writing (the
  // stream error passes out when it cannot be created); acquires the style
  // list shared under AFileName.
  explicit TcxXLSExportProvider(const std::string& AFileName);
  // Closes the file if Finish did not (leaving what was written) and
  // releases the style list.
  ~TcxXLSExportProvider() override;

  // IcxExportProvider.  Cell operations before DefineGrid raise EcxExportData
  // (scxInvalidCellDimension); on cells outside the grid they do nothing.
  void Finish() override;
  // The style of the cell; inside a merged area the area's style; nullptr
  // for a cell outside the grid.
  const TcxExportCellStyle* CellStyleAt(int ACol, int ARow) override;
  const TcxExportCellStyle* StyleAt(int AStyleIndex) override;
  int AddStyle(const TcxExportCellStyle& AStyle) override;
  void PutDouble(int ACol, int ARow, double AValue) override;
  void PutInteger(int ACol, int ARow, int32_t AValue) override;
  // 8-bit text (UTF-8 here, counted in bytes of the system code page).
  void PutText(int ACol, int ARow, const std::string& AText) override;
  void PutWideText(int ACol, int ARow, const std::u16string& AText) override;
  void ApplyStyleIndex(int ACol, int ARow, int AStyleIndex) override;
  void CopyCellStyle(int ACol, int ARow, int ASourceCol, int ASourceRow) override;
  void ApplyStyle(int ACol, int ARow, const TcxExportCellStyle& AStyle) override;
  void ApplyMergedStyle(int ACol, int ARow, int ARowSpan, int AColSpan, int AStyleIndex) override;
  void MergeCells(int ACol, int ARow, int ARowSpan, int AColSpan) override;
  void PutValue(int ACol, int ARow, const Variant& AValue) override;
  void DefineColumnWidth(int ACol, int AWidth) override;
  void DefineDefaultStyle(const TcxExportCellStyle& AStyle) override;
  void DefineGrid(int AColCount, int ARowCount, bool AShowGridLines) override;
  void DefineRowHeight(int ARow, int AHeight) override;
  void PutGraphic(int ACol, int ARow, TGraphic& AGraphic) override;
  bool AcceptsGraphics() override { return false; }

  // Values reached through PutValue.
  void PutBoolean(int ACol, int ARow, bool AValue);
  // ATenThousandths: a currency value in 1/10000.
  void PutCurrency(int ACol, int ARow, int64_t ATenThousandths);
  void PutDateTime(int ACol, int ARow, double AValue);

  // The Workbook stream's size as Finish will write it, once every cell's XF
  // is resolved (Finish step 1).
  int64_t WorkbookStreamSize() const;
  // The screen scale used for widths and heights: pixels per inch / 96, at least 1.
  double ScreenScale() const { return FScreenScale; }

 private:
  // One ApplyMergedStyle area and the style it was given.
  struct TAreaStyle {
    TcxXLSMergedRange Range;
    int StyleIndex;
  };

  // Raises scxInvalidCellDimension before DefineGrid; then whether the cell
  // lies in the grid.
  bool IsValidCell(int ACol, int ARow) const;
  TcxXLSCell& Cell(int ACol, int ARow) { return FCellTable.CellAt(ACol, ARow); }
  void PutWideCell(TcxXLSCell& ACell, std::u16string_view AText, size_t AUnits);
  // PutText over a view of the text.
  void PutText8(int ACol, int ARow, std::string_view AText);
  // The style index a cell stands for (the area's for a locked cell).
  int StyleIndexOfCell(int ACol, int ARow);
  // Cuts an area to the format and the grid; false when nothing is left.
  bool CutArea(int ACol, int ARow, int ARowSpan, int AColSpan, TcxXLSMergedRange& ARange) const;

  uint16_t FontIndexOf(const TcxExportCellStyle& AStyle);
  uint16_t XFIndexOf(const TcxExportCellStyle& AStyle, const TcxXLSCell& ACell, bool AMerged);
  // XFIndexOf through a cache per style index, number format and merge flag:
  // the answer for a style never changes once computed.
  uint16_t CachedXFIndexOf(int AStyleIndex, const TcxXLSCell& ACell, bool AMerged);
  void WriteGlobals(TcxXLSByteSink& ASink, int64_t AStreamStart);
  void WriteWorksheet(TcxXLSByteSink& ASink);

  std::u16string FSheetTitle;
  std::unique_ptr<TFileStream> FFile;
  int FColumnTotal = -1;
  int FRowTotal = -1;
  bool FShowGrid = true;
  int64_t FColumnsCut = 0;
  int64_t FRowsCut = 0;
  TcxXLSCellsData FCellTable;
  TcxXLSRecordsList FFontList{cxBiffFONT};
  TcxXLSRecordsList FXFList{cxBiffXF};
  TcxXLSRecordsList FColumnInfos{cxBiffCOLINFO};
  TcxXLSRecordsList FRowInfos{cxBiffROW};
  std::vector<TcxXLSMergedRange> FMergedAreas;
  std::vector<TAreaStyle> FAreaStyles;
  TcxXLSPalette FPalette;
  TcxExportStyleManager* FStyleSource = nullptr;
  TcxXLSSharedStringTable FSharedStrings;
  TcxXLSWorkBookWriter FBookWriter;
  double FScreenScale = 1.0;
  // Per style index: XF index + 1 for each number kind, plain and merged (0: not yet known).
  std::vector<std::array<uint32_t, 10>> FXFCache;
  // Scratch for the UTF-16 form of texts.
  std::u16string FWideText;
};

}  // namespace kv::xls

namespace kv {
// Registers TcxXLSExportProvider with TcxExport (export kind 1); run once by
// the engine's start-up.
void RegisterXLSExportProvider();
}  // namespace kv
