// The cell store shared by the HTML, XML and text writers.
#include "writers/text/HtmlXmlTxtProvider.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include "export/core/ExportEngine.h"
#include "export/core/ExportHelpers.h"
#include "export/core/ExportMessages.h"
#include "export/core/ExportStyleManager.h"
#include "platform/SysUtils.h"
#include "platform/Variant.h"

namespace kv {

// --- cell buffers ---

TcxCellBuffer::TcxCellBuffer(TcxCellBuffer&& AOther) noexcept : FSize(AOther.FSize) {
  std::memcpy(FBytes, AOther.FBytes, sizeof FBytes);
  AOther.FSize = 0;
}

TcxCellBuffer& TcxCellBuffer::operator=(const TcxCellBuffer& AOther) {
  if (this != &AOther) Assign(AOther.View());
  return *this;
}

TcxCellBuffer& TcxCellBuffer::operator=(TcxCellBuffer&& AOther) noexcept {
  if (this != &AOther) {
    Clear();
    FSize = AOther.FSize;
    std::memcpy(FBytes, AOther.FBytes, sizeof FBytes);
    AOther.FSize = 0;
  }
  return *this;
}

char* TcxCellBuffer::HeapBlock() const {
  char* block;
  std::memcpy(&block, FBytes, sizeof block);
  return block;
}

void TcxCellBuffer::SetHeapBlock(char* ABlock) { std::memcpy(FBytes, &ABlock, sizeof ABlock); }

void TcxCellBuffer::Assign(std::string_view ABytes) {
  if (ABytes.size() > UINT32_MAX) throw std::length_error("cell value too long");
  const size_t size = ABytes.size();
  if (size <= kInlineSize) {
    if (FSize > kInlineSize) {
      // ABytes may lie inside the heap block: copy before freeing it.
      char bytes[kInlineSize];
      std::memcpy(bytes, ABytes.data(), size);
      std::free(HeapBlock());
      std::memcpy(FBytes, bytes, size);
    } else {
      std::memmove(FBytes, ABytes.data(), size);
    }
    FSize = static_cast<uint32_t>(size);
    return;
  }
  char* block = FSize > kInlineSize ? HeapBlock() : nullptr;
  if (block && block == ABytes.data() && size == FSize) return;
  char* fresh = static_cast<char*>(std::malloc(size));
  if (!fresh) throw std::bad_alloc();
  std::memcpy(fresh, ABytes.data(), size);
  std::free(block);
  SetHeapBlock(fresh);
  FSize = static_cast<uint32_t>(size);
}

void TcxCellBuffer::Clear() {
  if (FSize > kInlineSize) std::free(HeapBlock());
  FSize = 0;
}

// --- provider ---

TcxCustomHtmlXmlTXTExportProvider::TcxCustomHtmlXmlTXTExportProvider(const std::string& AFileName)
    : TcxCustomExportProvider(AFileName), FProviderStyle(DefaultExportStyle()) {
  FSharedStyles = TcxExportStyleManager::Acquire(AFileName);
  TrackImageProvider(true);
}

TcxCustomHtmlXmlTXTExportProvider::~TcxCustomHtmlXmlTXTExportProvider() {
  TrackImageProvider(false);
  FNestedCaches.clear();
  if (FSharedStyles) FSharedStyles->Release();
}

void TcxCustomHtmlXmlTXTExportProvider::DoBeforeDestroy() {
  FNestedCaches.clear();
  FCellGrid.clear();
  FCellGrid.shrink_to_fit();
  FColumnWidths.clear();
  FRowHeights.clear();
}

// --- checks ---

void TcxCustomHtmlXmlTXTExportProvider::CheckColumn(int ACol) const {
  if (ACol < 0 || ACol >= ColumnCount()) RaiseExportError(scxInvalidColumnIndex, ACol);
}

void TcxCustomHtmlXmlTXTExportProvider::CheckRow(int ARow) const {
  // The row count is that of the first column: none before DefineGrid.
  int rows = FCellGrid.empty() ? 0 : static_cast<int>(FCellGrid.front().size());
  if (ARow < 0 || ARow >= rows) RaiseExportError(scxInvalidRowIndex, ARow);
}

void TcxCustomHtmlXmlTXTExportProvider::CheckStyleNo(int AStyleIndex) const {
  if (AStyleIndex >= FSharedStyles->StyleCount()) RaiseExportError(scxInvalidStyleIndex, AStyleIndex);
}

// --- styles ---

const TcxExportCellStyle& TcxCustomHtmlXmlTXTExportProvider::StyleOf(int AStyleNo) const {
  if (AStyleNo < 0) return FProviderStyle;
  return *FSharedStyles->StyleAt(AStyleNo);
}

const TcxExportCellStyle* TcxCustomHtmlXmlTXTExportProvider::CellStyleAt(int ACol, int ARow) {
  CheckCell(ACol, ARow);
  return &StyleOf(Cell(ACol, ARow).StyleNo);
}

const TcxExportCellStyle* TcxCustomHtmlXmlTXTExportProvider::StyleAt(int AStyleIndex) {
  CheckStyleNo(AStyleIndex);
  return &StyleOf(AStyleIndex);
}

int TcxCustomHtmlXmlTXTExportProvider::AddStyle(const TcxExportCellStyle& AStyle) {
  return FSharedStyles->AddStyle(AStyle);
}

void TcxCustomHtmlXmlTXTExportProvider::ApplyStyleIndex(int ACol, int ARow, int AStyleIndex) {
  CheckCell(ACol, ARow);
  CheckStyleNo(AStyleIndex);
  Cell(ACol, ARow).StyleNo = AStyleIndex;
}

void TcxCustomHtmlXmlTXTExportProvider::CopyCellStyle(int ACol, int ARow, int ASourceCol, int ASourceRow) {
  CheckCell(ACol, ARow);
  CheckCell(ASourceCol, ASourceRow);
  Cell(ACol, ARow).StyleNo = Cell(ASourceCol, ASourceRow).StyleNo;
}

void TcxCustomHtmlXmlTXTExportProvider::ApplyStyle(int ACol, int ARow, const TcxExportCellStyle& AStyle) {
  CheckCell(ACol, ARow);
  Cell(ACol, ARow).StyleNo = AddStyle(AStyle);
}

void TcxCustomHtmlXmlTXTExportProvider::ApplyMergedStyle(int ACol, int ARow, int ARowSpan, int AColSpan,
                                                         int AStyleIndex) {
  ApplyStyleIndex(ACol, ARow, AStyleIndex);
  MergeCells(ACol, ARow, ARowSpan, AColSpan);
}

void TcxCustomHtmlXmlTXTExportProvider::DefineDefaultStyle(const TcxExportCellStyle& AStyle) {
  FProviderStyle = AStyle;
}

void TcxCustomHtmlXmlTXTExportProvider::PrepareEmptyCells() {
  for (int row = 0; row < RowCount(); ++row) {
    for (int col = 0; col < ColumnCount(); ++col) {
      TcxCacheItem& item = Cell(col, row);
      if ((item.ValueKind == vkNone || item.ValueKind == vkText) && item.Buffer.Empty()) {
        TcxExportCellStyle style = StyleOf(item.StyleNo);
        style.FontSize = 1;
        item.StyleNo = AddStyle(style);
      }
    }
  }
}

// --- grid ---

void TcxCustomHtmlXmlTXTExportProvider::DefineGrid(int AColCount, int ARowCount, bool AShowGridLines) {
  if (AColCount < 1 || ARowCount < 1) RaiseExportError(scxInvalidColumnRowCount);
  FNestedCaches.clear();
  FCellGrid.clear();
  FCellGrid.resize(static_cast<size_t>(AColCount));
  for (std::vector<TcxCacheItem>& column : FCellGrid) column.resize(static_cast<size_t>(ARowCount));
  FColumnWidths.assign(static_cast<size_t>(AColCount), 0);
  FRowHeights.assign(static_cast<size_t>(ARowCount), 0);
  for (TcxExportCellBorder& border : FProviderStyle.CellBorders) border.Width = AShowGridLines ? 1 : 0;
}

void TcxCustomHtmlXmlTXTExportProvider::DefineColumnWidth(int ACol, int AWidth) {
  CheckColumn(ACol);
  if (AWidth < 0) RaiseExportError(scxIllegalWidth);
  FColumnWidths[static_cast<size_t>(ACol)] = AWidth;
}

void TcxCustomHtmlXmlTXTExportProvider::DefineRowHeight(int ARow, int AHeight) {
  CheckRow(ARow);
  if (AHeight < 0) RaiseExportError(scxIllegalHeight);
  FRowHeights[static_cast<size_t>(ARow)] = AHeight;
}

void TcxCustomHtmlXmlTXTExportProvider::MergeCells(int ACol, int ARow, int ARowSpan, int AColSpan) {
  CheckCell(ACol, ARow);
  int cols = std::max(1, std::min(AColSpan, ColumnCount() - ACol));
  int rows = std::max(1, std::min(ARowSpan, RowCount() - ARow));
  for (int c = ACol; c < ACol + cols; ++c)
    for (int r = ARow; r < ARow + rows; ++r) Cell(c, r).Covered = true;
  TcxCacheItem& topLeft = Cell(ACol, ARow);
  topLeft.Covered = false;
  topLeft.Merged = true;
  topLeft.MergeColumns = cols;
  topLeft.MergeRows = rows;
}

// --- values ---

void TcxCustomHtmlXmlTXTExportProvider::PutBytes(int ACol, int ARow, TcxValueKind AKind, std::string_view ABytes) {
  CheckCell(ACol, ARow);
  TcxCacheItem& item = Cell(ACol, ARow);
  item.ValueKind = AKind;
  item.Buffer.Assign(ABytes);
}

void TcxCustomHtmlXmlTXTExportProvider::PutDouble(int ACol, int ARow, double AValue) {
  char bytes[sizeof AValue];
  std::memcpy(bytes, &AValue, sizeof AValue);
  PutBytes(ACol, ARow, vkDouble, std::string_view(bytes, sizeof bytes));
}

void TcxCustomHtmlXmlTXTExportProvider::PutInteger(int ACol, int ARow, int32_t AValue) {
  char bytes[sizeof AValue];
  std::memcpy(bytes, &AValue, sizeof AValue);
  PutBytes(ACol, ARow, vkInteger, std::string_view(bytes, sizeof bytes));
}

void TcxCustomHtmlXmlTXTExportProvider::PutText(int ACol, int ARow, const std::string& AText) {
  PutBytes(ACol, ARow, vkText, AText);
}

void TcxCustomHtmlXmlTXTExportProvider::PutWideText(int ACol, int ARow, const std::u16string& AText) {
  PutBytes(ACol, ARow, vkWideText,
           std::string_view(reinterpret_cast<const char*>(AText.data()), AText.size() * sizeof(char16_t)));
}

void TcxCustomHtmlXmlTXTExportProvider::PutValue(int ACol, int ARow, const Variant& AValue) {
  std::string text;
  switch (AValue.VarType()) {
    case varNull:
      break;
    case varCurrency:
      text = FormatFloat(CurrencyExportFormat(), static_cast<double>(AValue.RawInt()) / 10000.0);
      break;
    case varSQLTimeStamp:
      text = DateTimeToStr(AValue.RawDouble());
      break;
    case varFMTBcd:
      if (AValue.BcdFitsCurrency())
        text = FormatFloat(CurrencyExportFormat(), static_cast<double>(AValue.AsCurrency()) / 10000.0);
      else
        text = FloatToStr(AValue.RawDouble());
      break;
    default:
      text = AValue.AsString();
      break;
  }
  PutText(ACol, ARow, text);
}

void TcxCustomHtmlXmlTXTExportProvider::PutGraphic(int ACol, int ARow, TGraphic& AGraphic) {
  CheckCell(ACol, ARow);
  std::string packed;
  PackGraphic(TargetFileName(), AGraphic, packed);
  PutBytes(ACol, ARow, vkGraphic, packed);
}

void TcxCustomHtmlXmlTXTExportProvider::Finish() { DoFinish(); }

// --- reading ---

const TcxCacheItem& TcxCustomHtmlXmlTXTExportProvider::CellItem(int ACol, int ARow) const {
  CheckCell(ACol, ARow);
  return Cell(ACol, ARow);
}

bool TcxCustomHtmlXmlTXTExportProvider::ReadCellValue(int ACol, int ARow, std::string& ATarget) const {
  const TcxCacheItem& item = CellItem(ACol, ARow);
  ATarget.assign(item.Buffer.View());
  return !item.Buffer.Empty();
}

bool TcxCustomHtmlXmlTXTExportProvider::AppendCellValueText(int ACol, int ARow, std::string& AOut) const {
  const TcxCacheItem& item = CellItem(ACol, ARow);
  const std::string_view bytes = item.Buffer.View();
  const size_t start = AOut.size();
  switch (item.ValueKind) {
    case vkText:
      AOut += bytes;
      break;
    case vkWideText: {
      std::u16string wide(bytes.size() / sizeof(char16_t), u'\0');
      std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(char16_t));
      AOut += WideToAnsiText(wide, 0);
      break;
    }
    case vkDouble:
      if (bytes.size() == sizeof(double)) {
        double value;
        std::memcpy(&value, bytes.data(), sizeof value);
        AOut += FloatToStr(value);
      }
      break;
    case vkInteger:
      if (bytes.size() == sizeof(int32_t)) {
        int32_t value;
        std::memcpy(&value, bytes.data(), sizeof value);
        char digits[16];
        AOut.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
      }
      break;
    default:  // no value, a picture
      break;
  }
  return AOut.size() != start;
}

int TcxCustomHtmlXmlTXTExportProvider::SpanWidth(int ACol, int ARow) const {
  const TcxCacheItem& item = CellItem(ACol, ARow);
  if (!item.Merged) return ColumnWidth(ACol);
  int width = 0;
  for (int c = ACol; c < ACol + item.MergeColumns; ++c) width += ColumnWidth(c);
  return width;
}

std::shared_ptr<IcxCellInternalCache> TcxCustomHtmlXmlTXTExportProvider::CellContent(int ACol, int ARow) const {
  if (FNestedCaches.empty()) return nullptr;
  auto it = FNestedCaches.find(TcxCellKey(ACol, ARow));
  return it == FNestedCaches.end() ? nullptr : it->second;
}

std::string TcxCustomHtmlXmlTXTExportProvider::TargetFileName() const { return WideToAnsiText(FTargetName, 0); }

// --- nested contents ---

void TcxCustomExportProviderSupportedCellInternalChache::OutputCells(TStream&) { PrepareEmptyCells(); }

void TcxCustomExportProviderSupportedCellInternalChache::OutputStyles(TStream&) {}

void TcxCustomExportProviderSupportedCellInternalChache::RemoveCellCache(int ACol, int ARow) {
  CheckCell(ACol, ARow);
  FNestedCaches.erase(TcxCellKey(ACol, ARow));
}

void TcxCustomExportProviderSupportedCellInternalChache::PutCellCache(int ACol, int ARow,
                                                                      std::shared_ptr<IcxCellInternalCache> AContent) {
  if (!AContent) {
    RemoveCellCache(ACol, ARow);
    return;
  }
  CheckCell(ACol, ARow);
  FNestedCaches[TcxCellKey(ACol, ARow)] = std::move(AContent);
}

}  // namespace kv
