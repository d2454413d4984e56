// The cell store shared by the HTML, XML and text writers.
//
// `TcxCustomHtmlXmlTXTExportProvider` carries out the provider interface by
// keeping the whole cell rectangle in memory: one array of cells per column,
// the column widths, the row heights, the merged areas and each cell's value
// and style number.  Nothing is written until `Finish`, which runs the
// concrete writer's `DoFinish`.  Its subclass
// `TcxCustomExportProviderSupportedCellInternalChache` adds
// `IcxCellInternalCache`, through which a cell holds the whole content of
// another provider (a detail view nested in a master row), and
// `OutputCells`, which first gives empty cells a reduced style.
//
// Values: 8-bit text is kept as its UTF-8 bytes (the writers encode it into
// the system code page when they write), UTF-16 text as its code units,
// numbers as their bytes, pictures as packed by PackGraphic.
//
// Every operation that names a cell checks the column, then the row, and
// raises EcxExportData with the engine's message when one is out of range.
// The number of rows is that of the first column's array, so before
// DefineGrid every row operation fails with the row-index error.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "export/core/ExportCellStyle.h"
#include "export/core/ExportProvider.h"

namespace kv {

class TcxExportStyleManager;

// Kinds of cell value.
enum TcxValueKind : int32_t {
  vkNone = 0,
  vkText = 1,      // 8-bit text (UTF-8 bytes)
  vkWideText = 2,  // UTF-16 code units
  vkDouble = 3,    // 8 bytes
  vkInteger = 4,   // 4 bytes
  vkGraphic = 5,   // packed picture: 32-bit name length, image file name, picture bytes
};

// The owned byte buffer of one cell value, holding exactly the value's bytes:
// up to 16 bytes inside the cell itself, longer values in a heap block of
// their size.  Kept small (20 bytes, 4-byte aligned) because a big export
// holds a million cells and more.
class TcxCellBuffer {
 public:
  TcxCellBuffer() = default;
  TcxCellBuffer(const TcxCellBuffer& AOther) { Assign(AOther.View()); }
  TcxCellBuffer(TcxCellBuffer&& AOther) noexcept;
  TcxCellBuffer& operator=(const TcxCellBuffer& AOther);
  TcxCellBuffer& operator=(TcxCellBuffer&& AOther) noexcept;
  ~TcxCellBuffer() { Clear(); }

  // Replaces the bytes, resizing the buffer to exactly ABytes.size().
  void Assign(std::string_view ABytes);
  // Frees the bytes.
  void Clear();

  const char* Data() const { return FSize > kInlineSize ? HeapBlock() : FBytes; }
  size_t Size() const { return FSize; }
  bool Empty() const { return FSize == 0; }
  std::string_view View() const { return std::string_view(Data(), FSize); }
  operator std::string_view() const { return View(); }

 private:
  static constexpr size_t kInlineSize = 16;
  // The heap block's address, kept in the first bytes of FBytes.
  char* HeapBlock() const;
  void SetHeapBlock(char* ABlock);

  uint32_t FSize = 0;
  char FBytes[kInlineSize] = {};  // the bytes, or the heap block's address when FSize > kInlineSize
};

// One cell of the rectangle.
struct TcxCacheItem {
  TcxCellBuffer Buffer;        // the value's bytes
  int32_t ValueKind = vkNone;  // TcxValueKind
  int32_t StyleNo = -1;        // registered style number; negative: the provider default style
  bool Covered = false;        // inside a merged area, but not its top-left cell
  bool Merged = false;         // top-left cell of a merged area
  int32_t MergeColumns = 1;    // size of the merged area (1 and 1 otherwise)
  int32_t MergeRows = 1;

  int32_t BufferSize() const { return static_cast<int32_t>(Buffer.Size()); }
};

class TcxCustomHtmlXmlTXTExportProvider : public TcxCustomExportProvider, public IcxExportProvider {
 public:
  // Acquires the style manager of AFileName and counts the provider among
  // the picture-writing ones (TrackImageProvider).
  explicit TcxCustomHtmlXmlTXTExportProvider(const std::string& AFileName);
  ~TcxCustomHtmlXmlTXTExportProvider() override;

  // IcxExportProvider.
  void Finish() override;
  const TcxExportCellStyle* CellStyleAt(int ACol, int ARow) override;
  const TcxExportCellStyle* StyleAt(int AStyleIndex) override;
  int AddStyle(const TcxExportCellStyle& AStyle) override;
  void PutDouble(int ACol, int ARow, double AValue) override;
  void PutInteger(int ACol, int ARow, int32_t AValue) override;
  // An empty text leaves a vkText cell without bytes.
  void PutText(int ACol, int ARow, const std::string& AText) override;
  // An empty text leaves a vkWideText cell without bytes.
  void PutWideText(int ACol, int ARow, const std::u16string& AText) override;
  // Style numbers below 0 pass and select the provider default style.
  void ApplyStyleIndex(int ACol, int ARow, int AStyleIndex) override;
  void CopyCellStyle(int ACol, int ARow, int ASourceCol, int ASourceRow) override;
  void ApplyStyle(int ACol, int ARow, const TcxExportCellStyle& AStyle) override;
  // Gives the top-left cell the style, then merges the area.
  void ApplyMergedStyle(int ACol, int ARow, int ARowSpan, int AColSpan, int AStyleIndex) override;
  // Clips the area to the rectangle (at least 1 x 1); every cell of it but
  // the top-left one becomes covered, also where an earlier merge was.
  void MergeCells(int ACol, int ARow, int ARowSpan, int AColSpan) override;
  // Null: empty text; currency (and a packed decimal that fits one):
  // FormatFloat with CurrencyExportFormat; SQL time stamp: DateTimeToStr;
  // other packed decimals: FloatToStr; anything else: the variant's standard
  // text.  The text is then put with PutText.
  void PutValue(int ACol, int ARow, const Variant& AValue) override;
  void DefineColumnWidth(int ACol, int AWidth) override;
  void DefineDefaultStyle(const TcxExportCellStyle& AStyle) override;
  // Raises scxInvalidColumnRowCount unless both counts are at least 1; then
  // every cell, width and height starts afresh (nested contents are dropped)
  // and the default style's borders get width 1 with grid lines, else 0.
  void DefineGrid(int AColCount, int ARowCount, bool AShowGridLines) override;
  void DefineRowHeight(int ARow, int AHeight) override;
  // Packs the picture (PackGraphic) for the 8-bit target name; the HTML and
  // XML writers write its file when they finish.
  void PutGraphic(int ACol, int ARow, TGraphic& AGraphic) override;
  bool AcceptsGraphics() override { return true; }

  // Routines the writers use.
  int ColumnCount() const { return static_cast<int>(FColumnWidths.size()); }
  int RowCount() const { return static_cast<int>(FRowHeights.size()); }
  int ColumnWidth(int ACol) const { return FColumnWidths[static_cast<size_t>(ACol)]; }
  int RowHeight(int ARow) const { return FRowHeights[static_cast<size_t>(ARow)]; }
  // The cell (checked).
  const TcxCacheItem& CellItem(int ACol, int ARow) const;
  // Copies the cell's value bytes into ATarget and answers true, or answers
  // false (ATarget emptied) when the cell has no bytes.
  bool ReadCellValue(int ACol, int ARow, std::string& ATarget) const;
  // The column's width, or for a merged top-left cell the sum of the widths
  // of its MergeColumns columns.
  int SpanWidth(int ACol, int ARow) const;
  // Appends the text of the cell's value as 8-bit (UTF-8) text: a text as it
  // is, a UTF-16 text converted, a float in the general format of FloatToStr,
  // an integer in decimal.  Appends nothing for a cell without a value, with
  // an empty text or a picture; answers whether it appended anything.
  // Nested content is not looked at.
  bool AppendCellValueText(int ACol, int ARow, std::string& AOut) const;
  // Gives every cell without a value or with an empty text a copy of its
  // style whose FontSize is 1.
  void PrepareEmptyCells();
  // The nested content a cell holds, or nullptr.
  std::shared_ptr<IcxCellInternalCache> CellContent(int ACol, int ARow) const;
  // Number of cells that hold nested content.
  int NestedCacheCount() const { return static_cast<int>(FNestedCaches.size()); }
  // The provider default style and the shared style registry.
  const TcxExportCellStyle& ProviderStyle() const { return FProviderStyle; }
  TcxExportStyleManager& SharedStyles() const { return *FSharedStyles; }
  // FTargetName as 8-bit text (the name the output files are created with).
  std::string TargetFileName() const;

  // Checks: EcxExportData with scxInvalidColumnIndex, scxInvalidRowIndex or
  // scxInvalidStyleIndex naming the offending number.
  void CheckColumn(int ACol) const;
  void CheckRow(int ARow) const;
  void CheckStyleNo(int AStyleIndex) const;
  void CheckCell(int ACol, int ARow) const {
    CheckColumn(ACol);
    CheckRow(ARow);
  }

 protected:
  // Writes the output files; each writer overrides it (the base writes nothing).
  virtual void DoFinish() {}
  // Frees the cells and drops the nested contents.
  void DoBeforeDestroy() override;

  // The cell, unchecked: ACol and ARow must be in range.
  TcxCacheItem& Cell(int ACol, int ARow) { return FCellGrid[static_cast<size_t>(ACol)][static_cast<size_t>(ARow)]; }
  const TcxCacheItem& Cell(int ACol, int ARow) const {
    return FCellGrid[static_cast<size_t>(ACol)][static_cast<size_t>(ARow)];
  }
  // The style a cell uses (FProviderStyle for negative style numbers).
  const TcxExportCellStyle& StyleOf(int AStyleNo) const;
  // Stores a value of the given kind, replacing the cell's earlier value.
  void PutBytes(int ACol, int ARow, TcxValueKind AKind, std::string_view ABytes);

  using TcxCellKey = std::pair<int, int>;  // column, row

  std::vector<std::vector<TcxCacheItem>> FCellGrid;  // per column, its cells in row order
  std::vector<int32_t> FColumnWidths;
  TcxExportCellStyle FProviderStyle;
  // The nested contents, each under the cell that holds it: removing one
  // never touches another cell's entry.
  std::map<TcxCellKey, std::shared_ptr<IcxCellInternalCache>> FNestedCaches;
  std::vector<int32_t> FRowHeights;
  TcxExportStyleManager* FSharedStyles = nullptr;
};

// The base of the concrete text-family writers: adds nested cell content and
// the cell and style output that a master writer calls on it.
class TcxCustomExportProviderSupportedCellInternalChache : public TcxCustomHtmlXmlTXTExportProvider,
                                                           public IcxCellInternalCache {
 public:
  using TcxCustomHtmlXmlTXTExportProvider::TcxCustomHtmlXmlTXTExportProvider;

  // IcxCellInternalCache.
  // Writes the cell part of the output; here only PrepareEmptyCells.
  void OutputCells(TStream& AStream) override;
  // Writes the style part of the output; here nothing.
  void OutputStyles(TStream& AStream) override;
  // Drops the nested content of the (checked) cell, if it holds one.
  void RemoveCellCache(int ACol, int ARow) override;
  // Makes the (checked) cell hold AContent in place of any earlier one;
  // nullptr acts as RemoveCellCache.
  void PutCellCache(int ACol, int ARow, std::shared_ptr<IcxCellInternalCache> AContent) override;
};

}  // namespace kv
